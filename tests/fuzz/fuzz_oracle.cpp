// The replay checked against the literal algorithms of tests/lib: linked
// into fuzz_records, whose mutator makes the long records that grow meshes.
#include <cstring>

#include "mirl.h"
#include "oracle.h"

static Mesh Literal;

template <class T> static bool same(const T *a, const T *b, uint32_t n)
{
    return std::memcmp(a, b, n * sizeof(T)) == 0;
}

extern "C" bool fuzzAgrees(const mirlObj *r, const Mesh *m)
{
    Literal.nverts = Literal.nquads = 0;
    LastPickedFace = -1; // as replayobj starts
    oracle::replay(r, &Literal);
    const uint32_t v = m->nverts, q = m->nquads;
    return Literal.nverts == v && Literal.nquads == q && same(Literal.quads, m->quads, q) &&
           same(Literal.selected, m->selected, q) && same(Literal.verts, m->verts, v) &&
           same(Literal.vnormals, m->vnormals, v) && same(Literal.fnormals, m->fnormals, q);
}
