/* Replays the objects of a generated player (player.c, included after
   mirl.h as a demo that exports from the editor would) and writes one line
   per object, the digest of its mesh, to the file named by argv[1]. The
   objects are listed in objects.h as X(name) lines. */
#include <inttypes.h>
#include <stdio.h>

#include "mirl.h"

#include "player.c"

#include "meshdigest.h"

#define X(name) &name,
static const mirlObj *const Objects[] = {
#include "objects.h"
};

static Mesh mesh;

int main(int argc, char **argv)
{
    FILE *out = argc > 1 ? fopen(argv[1], "wb") : NULL;
    size_t i;
    if (!out)
        return 2;
    for (i = 0; i < sizeof Objects / sizeof Objects[0]; i++) {
        mesh.nverts = mesh.nquads = 0;
        replayobj(Objects[i], &mesh);
        fprintf(out, "%016" PRIx64 "\n", meshDigestOf(&mesh));
    }
    return fclose(out) == 0 ? 0 : 1;
}
