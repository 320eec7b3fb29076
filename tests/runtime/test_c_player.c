/* The public header as strict C99, linked by the C compiler driver alone:
   a player needs neither C++ nor its standard library. */
#include <stdio.h>

#include "mirl.h"

static Mesh mesh;

int main(void)
{
    static const mirlObj rec = {3, {31, 19, MIRL_OPPICK}, {128, 128, 128}, {3}};
    replayobj(&rec, &mesh);
    if (mesh.nverts != 8 || mesh.nquads != 6 || countsel(&mesh) != 5 || mesh.selected[3] != 0 ||
        mesh.fnormals[0].z != -8.0f || numpicks() != 1) {
        fprintf(stderr, "unexpected mesh: %u verts %u quads %d selected\n", (unsigned)mesh.nverts,
                (unsigned)mesh.nquads, (int)countsel(&mesh));
        return 1;
    }
    return 0;
}
