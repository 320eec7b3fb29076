// The one-pass operations against the literal algorithms: whole random
// records mixing every opcode and picks, and the operations on their own on
// random meshes full of coincidences.
#include <gtest/gtest.h>

#include "opsdiff.h"

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
    ASSERT_EQ(diffMeshes(1, 600, 60, 80), "");
}
