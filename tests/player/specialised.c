/* Replays each object with the player named beside it in list.h, lines
   X(object, replay routine), where each player was compiled with its
   replayobj renamed to that routine, and writes one line per object, the
   digest of its mesh, to the file named by argv[1], in the list's order. */
#include <inttypes.h>
#include <stdio.h>

#include "mirl.h"

#include "meshdigest.h"

#define X(object, replay) extern const mirlObj object; void replay(const mirlObj *r, Mesh *m);
#include "list.h"
#undef X

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
