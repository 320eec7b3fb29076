// An exported header used from C++: it compiles with -Wall -Wextra -Werror
// -pedantic next to mirl.h, and replayobj takes each object directly.
#include <cstdio>

#include "Mirljects.h"

static Mesh mesh;

int main()
{
    replayobj(&mrlj0, &mesh); // the starting cube
    if (mesh.nquads != 6 || countsel(&mesh) != 6)
        return 1;
    mesh.nverts = mesh.nquads = 0;
    replayobj(&mrlj1, &mesh); // cube, select none, picks of faces 3 and 5
    if (mesh.nquads != 6 || countsel(&mesh) != 2 || !mesh.selected[3] || !mesh.selected[5] || numpicks() != 2)
        return 1;
    std::printf("C++ player: objects replay\n");
    return 0;
}
