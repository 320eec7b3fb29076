// The one-pass operations against the literal algorithms: whole random
// records mixing every opcode and picks, and each operation on its own on
// random meshes full of coincidences.
#include <gtest/gtest.h>

#include "oracle.h"
#include "opsutil.h"

TEST(OpsDiff, RandomRecordsReplayLikeTheLiteralAlgorithms)
{
    DiffStats st;
    RecOptions o;
    o.maxSteps = 70;
    o.faceBudget = 1200;
    std::string fail = diffRecords(1, 500, o, &st);
    ASSERT_EQ(fail, "");
    // The run must have exercised everything it claims to cover.
    for (int op = 0; op < MIRL_NUMOPS; op++)
        EXPECT_GT(st.opcodes[op], 0) << "opcode " << op << " never ran";
    EXPECT_GT(st.opcodes[MIRL_OPPICK], 0);
    EXPECT_GT(st.steps, 10000);
    EXPECT_GT(st.maxFaces, 1000u);
}

TEST(OpsDiff, EachOperationMatchesOnRandomMeshes)
{
    std::string fail = diffMeshes(1, 300, 60, 80);
    ASSERT_EQ(fail, "");
}
