/* Replays each object listed in list.h, lines X(object, replay routine),
   and writes one line per object, the digest of its mesh, to the file named
   by argv[1], in the list's order. With PLAYER_INCLUDED the one player
   (player.c) is included here, after mirl.h as a demo that exports from the
   editor would, and every line names its replayobj; otherwise each player
   was compiled on its own with its replayobj renamed to its line's routine. */
#include <inttypes.h>
#include <stdio.h>

#include "mirl.h"

#ifdef PLAYER_INCLUDED
#include "player.c"
#else
#define X(object, replay) extern const mirlObj object; void replay(const mirlObj *r, Mesh *m);
#include "list.h"
#undef X
#endif

#include "meshdigest.h"

struct Run {
    const mirlObj *object;
    void (*replay)(const mirlObj *r, Mesh *m);
};

#define X(object, replay) {&object, replay},
static const struct Run Runs[] = {
#include "list.h"
};

static Mesh mesh;

int main(int argc, char **argv)
{
    FILE *out = argc > 1 ? fopen(argv[1], "wb") : NULL;
    size_t i;
    if (!out)
        return 2;
    for (i = 0; i < sizeof Runs / sizeof Runs[0]; i++) {
        mesh.nverts = mesh.nquads = 0;
        Runs[i].replay(Runs[i].object, &mesh);
        fprintf(out, "%016" PRIx64 "\n", meshDigestOf(&mesh));
    }
    return fclose(out) == 0 ? 0 : 1;
}
