// The linear-time grow/adjacent against the literal pairwise algorithm, on
// random meshes and selections, and whole kernel records replayed both ways.
#include <gtest/gtest.h>

#include "internal.h"
#include "oracle.h"
#include "randrec.h"
#include "testmesh.h"

// Random quads over a small vertex pool (so faces share corners, and some
// repeat a corner), random 0/1 flags.
static void randomMesh(Rng &r, Mesh *m)
{
    m->nverts = 1 + r.below(300);
    m->nquads = r.below(400);
    for (uint32_t v = 0; v < m->nverts; v++)
        m->verts[v] = {(float)r.below(5), (float)r.below(5), (float)r.below(5)};
    int percent = (int)r.below(101);
    for (uint32_t q = 0; q < m->nquads; q++) {
        for (int k = 0; k < 4; k++)
            m->quads[q].v[k] = r.below(m->nverts);
        m->selected[q] = (int)r.below(100) < percent;
    }
}

TEST(SelectDiff, GrowAndAdjacentMatchThePairwiseAlgorithm)
{
    auto fast = newMesh(), slow = newMesh();
    for (uint64_t seed = 1; seed <= 2000; seed++) {
        Rng r(seed);
        randomMesh(r, fast.get());
        int32_t keep = (int32_t)(seed & 1);
        std::memcpy(slow.get(), fast.get(), sizeof(Mesh));
        expands(fast.get(), keep);
        oracle::expands(slow.get(), keep);
        ASSERT_EQ(meshDiff(*fast, *slow), "") << "seed " << seed;
        // Twice in a row: the second call starts from the first's result.
        expands(fast.get(), keep);
        oracle::expands(slow.get(), keep);
        ASSERT_EQ(meshDiff(*fast, *slow), "") << "seed " << seed << " second";
    }
}

TEST(SelectDiff, SelectionMarksAnswerLikeVselect)
{
    auto m = newMesh();
    for (uint64_t seed = 1; seed <= 300; seed++) {
        Rng r(seed);
        randomMesh(r, m.get());
        selmark(m.get());
        for (uint32_t v = 0; v < m->nverts; v++)
            ASSERT_EQ(SelMark[v], vselect(m.get(), v)) << "seed " << seed << " vertex " << v;
    }
}

TEST(SelectDiff, KernelRecordsReplayIdentically)
{
    auto fast = newMesh(), slow = newMesh(), scratch = newMesh();
    RecOptions o;
    o.onlyKernelOps = true;
    o.maxSteps = 120;
    o.faceBudget = 2000;
    for (uint64_t seed = 1; seed <= 300; seed++) {
        mirlObj rec = randomRecord(seed, o, scratch.get());
        emptyMesh(fast.get());
        emptyMesh(slow.get());
        replayobj(&rec, fast.get());
        int32_t lastFast = LastPickedFace;
        uint32_t picksFast = PickCount;
        oracle::replay(&rec, slow.get());
        ASSERT_EQ(meshDiff(*fast, *slow), "") << "seed " << seed;
        ASSERT_EQ(lastFast, LastPickedFace) << "seed " << seed;
        ASSERT_EQ(picksFast, PickCount) << "seed " << seed;
    }
}
