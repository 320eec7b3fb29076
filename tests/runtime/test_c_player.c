/* The public header as strict C99, linked by the C compiler driver alone:
   a player needs neither C++ nor its standard library. */
#include <stdio.h>
#include <string.h>

#include "mirl.h"

static Mesh mesh;

int main(void)
{
    mirlObj rec;
    memset(&rec, 0, sizeof rec);
    rec.count = 3;
    rec.ops[0] = 31;
    rec.ops[1] = 19;
    rec.ops[2] = MIRL_OPPICK;
    rec.params[0] = rec.params[1] = rec.params[2] = 128;
    rec.picks[0] = 3;
    replayobj(&rec, &mesh);
    if (mesh.nverts != 8 || mesh.nquads != 6 || countsel(&mesh) != 5 || mesh.selected[3] != 0) {
        fprintf(stderr, "unexpected mesh: %u verts %u quads %d selected\n", (unsigned)mesh.nverts,
                (unsigned)mesh.nquads, (int)countsel(&mesh));
        return 1;
    }
    if (mesh.fnormals[0].z != -8.0f || numpicks() != 1) {
        fprintf(stderr, "unexpected normals or picks\n");
        return 1;
    }
    printf("C player: %u vertices, %u faces\n", (unsigned)mesh.nverts, (unsigned)mesh.nquads);
    return 0;
}
