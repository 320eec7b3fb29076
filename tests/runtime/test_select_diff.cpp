// The one-pass grow/adjacent and the selection marks against the literal
// pairwise algorithm and vselect, on random meshes and selections.
#include <gtest/gtest.h>

#include "internal.h"
#include "oracle.h"
#include "randrec.h"
#include "testmesh.h"

TEST(SelectDiff, GrowAdjacentAndMarksMatchTheLiteralAlgorithms)
{
    auto fast = newMesh(), slow = newMesh();
    for (uint64_t seed = 1; seed <= 2000; seed++) {
        // Quads over a small vertex pool: shared and repeated corners.
        Rng r(seed);
        Mesh *m = fast.get();
        m->nverts = 1 + r.below(300);
        m->nquads = r.below(400);
        for (uint32_t v = 0; v < m->nverts; v++)
            m->verts[v] = {(float)r.below(5), (float)r.below(5), (float)r.below(5)};
        uint32_t percent = r.below(101);
        for (uint32_t q = 0; q < m->nquads; q++) {
            for (int k = 0; k < 4; k++)
                m->quads[q].v[k] = r.below(m->nverts);
            m->selected[q] = r.below(100) < percent;
        }
        if (seed <= 300) {
            selmark(m);
            for (uint32_t v = 0; v < m->nverts; v++)
                ASSERT_EQ(SelMark[v], vselect(m, v)) << "seed " << seed << " vertex " << v;
        }
        std::memcpy(slow.get(), m, sizeof(Mesh));
        for (int twice = 0; twice < 2; twice++) { // the second from the first's result
            expands(fast.get(), seed & 1);
            oracle::expands(slow.get(), seed & 1);
            ASSERT_EQ(meshDiff(*fast, *slow), "") << "seed " << seed;
        }
    }
}
