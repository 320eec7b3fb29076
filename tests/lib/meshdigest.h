/* Include after the mesh types (mirl.h or a generated player).

   FNV-1a over the used part of a mesh (counts, quads, flags, positions and
   both normal arrays): the fingerprint by which builds of the runtime and
   players in C, C++ and for other platforms are compared. Plain C99. */
#ifndef MIRL_MESHDIGEST_H
#define MIRL_MESHDIGEST_H

#include <stddef.h>
#include <stdint.h>

static uint64_t digestBytes(uint64_t h, const void *p, size_t n)
{
    const unsigned char *b = (const unsigned char *)p;
    size_t i;
    for (i = 0; i < n; i++)
        h = (h ^ b[i]) * 1099511628211ull;
    return h;
}

static uint64_t meshDigestOf(const Mesh *m)
{
    uint64_t h = digestBytes(14695981039346656037ull, &m->nverts, 8);
    h = digestBytes(h, m->quads, m->nquads * sizeof(Quad));
    h = digestBytes(h, m->selected, m->nquads * sizeof(int32_t));
    h = digestBytes(h, m->verts, m->nverts * sizeof(Vec3));
    h = digestBytes(h, m->vnormals, m->nverts * sizeof(Vec3));
    return digestBytes(h, m->fnormals, m->nquads * sizeof(Vec3));
}

#endif
