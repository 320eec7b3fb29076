// The replay checked against the literal algorithms of tests/lib: linked
// into fuzz_records, whose mutator makes the long records that grow meshes.
#include "oracle.h"
#include "testmesh.h"

static Mesh Literal;

extern "C" bool fuzzAgrees(const mirlObj *r, const Mesh *m)
{
    Literal.nverts = Literal.nquads = 0;
    LastPickedFace = -1; // as replayobj starts
    oracle::replay(r, &Literal);
    return meshDiff(*m, Literal).empty();
}
