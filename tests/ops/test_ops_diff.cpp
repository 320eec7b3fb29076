// The one-pass operations against the literal algorithms: whole random
// records mixing every opcode and picks, and the operations on their own on
// random meshes full of coincidences.
#include <gtest/gtest.h>

#include "opsdiff.h"
#include "oracle.h"

TEST(OpsDiff, RandomRecordsReplayLikeTheLiteralAlgorithms)
{
    long opcodes[256] = {};
    RecOptions o;
    o.maxSteps = 70;
    o.faceBudget = 1200;
    ASSERT_EQ(diffRecords(1, 500, o, opcodes), "");
    // The run must have exercised everything it claims to cover.
    for (int op = 0; op <= MIRL_OPPICK; op++)
        EXPECT_TRUE((op >= MIRL_NUMOPS && op < MIRL_OPPICK) || opcodes[op] > 0) << "opcode " << op;
}

TEST(OpsDiff, OperationsMatchOnRandomMeshes)
{
    ASSERT_EQ(diffMeshes(1, 300, 60, 80), "");
    // Extrude/delete and subdivide/smooth again and again: their points of
    // equal sums, signed zeros, NaN and repeated corners must match the scan.
    auto a = newMesh(), b = newMesh();
    const mirlOp ops[][2] = {{addquad, oracle::addquad},
                             {delQuad, oracle::delQuad},
                             {subd, oracle::subd},
                             {smoooth, oracle::smoooth},
                             {smoooth, oracle::smoooth}};
    for (uint64_t seed = 1; seed <= 400; seed++) {
        Rng r(seed * 7919);
        randomOpsMesh(r, a.get(), 40, 60);
        for (auto &op : ops)
            ASSERT_EQ(runBoth(a.get(), b.get(), op[0], op[1], 0), "") << "seed " << seed;
    }
}
