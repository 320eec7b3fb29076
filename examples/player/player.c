/* player.c - the smallest mirl player: replays the object mrlj0 of a
   generated single-file player and writes its mesh as Wavefront OBJ (to the
   file named on the command line, or to standard output). A demo would hand
   mesh.verts and mesh.quads to its renderer instead.

   Build (plain C99, no C++, no runtime library):
       mirl-tool player -o objects.c mrlj0=model.mrl
       cc -std=c99 -Os -ffp-contract=off player.c -o player
   (-msse2 -mfpmath=sse too for 32-bit x86.) */
#include <stdio.h>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "objects.c" /* the generated player: mrlj0, replayobj and its operations */

static Mesh mesh; /* 14 MB of static storage, zero: an empty mesh */

/* The faces whose selection flag is (or is not) set, 1-based, corners in
   reverse so they run counter-clockwise seen from outside, as OBJ wants. */
static int writeFaces(FILE *out, int selected)
{
    int ok = 1;
    uint32_t i;
    for (i = 0; i < mesh.nquads; i++) {
        const uint32_t *v = mesh.quads[i].v;
        if ((mesh.selected[i] != 0) != selected)
            continue;
        ok = fprintf(out, "f %lu %lu %lu %lu\n", v[0] + 1ul, v[3] + 1ul, v[2] + 1ul, v[1] + 1ul) > 0 && ok;
    }
    return ok;
}

static int writeObj(FILE *out)
{
    uint32_t i, selected = 0;
    int ok;
    for (i = 0; i < mesh.nquads; i++)
        selected += mesh.selected[i] != 0;
    ok = fprintf(out, "# mirl object: %u vertices, %u faces, %u selected\n", (unsigned)mesh.nverts,
                 (unsigned)mesh.nquads, (unsigned)selected) > 0;
    for (i = 0; i < mesh.nverts; i++) /* %.9g reads back as the same float */
        ok = fprintf(out, "v %.9g %.9g %.9g\n", (double)mesh.verts[i].x, (double)mesh.verts[i].y,
                     (double)mesh.verts[i].z) > 0 && ok;
    if (selected < mesh.nquads)
        ok = fputs("g unselected\n", out) >= 0 && writeFaces(out, 0) && ok;
    if (selected > 0)
        ok = fputs("g selected\n", out) >= 0 && writeFaces(out, 1) && ok;
    return ok;
}

int main(int argc, char **argv)
{
    FILE *out = stdout;
    int ok;
    replayobj(&mrlj0, &mesh);
    /* Binary, also on Windows: the same OBJ bytes on every platform. */
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc > 1 && !(out = fopen(argv[1], "wb"))) {
        perror(argv[1]);
        return 1;
    }
    ok = writeObj(out);
    ok = (out == stdout ? fflush(out) : fclose(out)) == 0 && ok;
    if (!ok) {
        fprintf(stderr, "player: cannot write the mesh\n");
        return 1;
    }
    return 0;
}
