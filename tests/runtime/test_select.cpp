// Selection operations and the pick, on the cube and on empty meshes.
#include <gtest/gtest.h>

#include "testmesh.h"

class Selection : public ::testing::Test {
  protected:
    std::unique_ptr<Mesh> m = newMesh();
    void SetUp() override
    {
        recordoff();
        resetrecord();
        addcube(m.get(), 0.0f);
        setnorm(m.get());
    }
    void only(std::initializer_list<int> faces)
    {
        selrang(m.get(), 0, m->nquads, 0);
        for (int f : faces)
            m->selected[f] = 1;
    }
    std::vector<int> flags() const { return std::vector<int>(m->selected, m->selected + m->nquads); }
};

TEST_F(Selection, EmptyMeshChangesNothingButEveryStepIsRecorded)
{
    emptyMesh(m.get());
    m->selected[0] = 7;
    recordon();
    for (mirlOp op : {select1, select2, select3, select4, select5, select6, select7, select8})
        op(m.get(), 0.0f);
    recordoff();
    EXPECT_EQ(m->selected[0], 7);
    ASSERT_EQ(numsteps(), 8);
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(CommandRecord.ops[i], 19 + i);
        EXPECT_EQ(CommandRecord.params[i], 128);
    }
}

TEST_F(Selection, AllNoneInvert)
{
    select9(m.get(), 2); // deselects 2
    select9(m.get(), 2); // selects it again, LastPickedFace = 2
    EXPECT_EQ(LastPickedFace, 2);
    select1(m.get(), 0.0f);
    EXPECT_EQ(LastPickedFace, 2);
    select3(m.get(), 0.0f);
    EXPECT_EQ(flags(), std::vector<int>(6, 0));
    EXPECT_EQ(LastPickedFace, -1);
    only({1, 4});
    select3(m.get(), 0.0f);
    select3(m.get(), 0.0f);
    EXPECT_EQ(flags(), (std::vector<int>{0, 1, 0, 0, 1, 0}));
    select9(m.get(), 0);
    select2(m.get(), 0.0f);
    EXPECT_EQ(flags(), std::vector<int>(6, 0));
    EXPECT_EQ(LastPickedFace, -1);
}

TEST_F(Selection, GrowAndAdjacentByOneRing)
{
    only({0});
    select4(m.get(), 0.0f);
    EXPECT_EQ(flags(), (std::vector<int>{1, 1, 0, 1, 1, 1}));
    select4(m.get(), 0.0f);
    EXPECT_EQ(flags(), std::vector<int>(6, 1));
    select4(m.get(), 0.0f);
    EXPECT_EQ(flags(), std::vector<int>(6, 1));
    only({0});
    select5(m.get(), 0.0f);
    EXPECT_EQ(flags(), (std::vector<int>{0, 1, 0, 1, 1, 1}));
    select1(m.get(), 0.0f);
    select5(m.get(), 0.0f);
    EXPECT_EQ(flags(), std::vector<int>(6, 0));
    select4(m.get(), 0.0f);
    select5(m.get(), 0.0f);
    EXPECT_EQ(flags(), std::vector<int>(6, 0));
}

TEST_F(Selection, GrowIsByVertexIndexNotPosition)
{
    // A second cube at the same place shares positions but no indices.
    addcube(m.get(), 0.0f);
    selrang(m.get(), 0, m->nquads, 0);
    m->selected[0] = 1;
    select4(m.get(), 0.0f);
    EXPECT_EQ(countsel(m.get()), 5);
    for (int q = 6; q < 12; q++)
        EXPECT_EQ(m->selected[q], 0);
}

TEST_F(Selection, PickTogglesAndTracksTheLastPickedFace)
{
    select2(m.get(), 0.0f);
    recordon();
    select9(m.get(), 1);
    recordoff();
    EXPECT_EQ(m->selected[1], 1);
    EXPECT_EQ(LastPickedFace, 1);
    EXPECT_EQ(LastPick, 1u);
    EXPECT_EQ(numpicks(), 1);
    EXPECT_EQ(CommandRecord.picks[0], 1u);
    select7(m.get(), 0.0f); // y from 1 to 1: only face 1's centre
    EXPECT_EQ(flags(), (std::vector<int>{0, 1, 0, 0, 0, 0}));
    select6(m.get(), 0.0f); // x from -1 to 1: every centre
    EXPECT_EQ(flags(), std::vector<int>(6, 1));
    select9(m.get(), 1); // deselect
    EXPECT_EQ(LastPickedFace, -1);
    EXPECT_EQ(numpicks(), 2); // counted with the Recorder off as well
    select2(m.get(), 0.0f);
    select9(m.get(), 3);
    select9(m.get(), 3); // the same face twice: unselected, no last pick
    EXPECT_EQ(m->selected[3], 0);
    EXPECT_EQ(LastPickedFace, -1);
    select1(m.get(), 0.0f);
    select9(m.get(), 4);
    select9(m.get(), 4);
    EXPECT_EQ(m->selected[4], 1);
    EXPECT_EQ(LastPickedFace, 4);
    select9(m.get(), 2); // a selected face that was not the last pick
    EXPECT_EQ(m->selected[2], 0);
    EXPECT_EQ(LastPickedFace, -1);
}

TEST_F(Selection, SimilarWorksAfterGrowButNotAfterNoneOrInvert)
{
    select2(m.get(), 0.0f);
    select9(m.get(), 2); // z = +1 face
    select8(m.get(), 0.0f);
    EXPECT_EQ(flags(), (std::vector<int>{0, 0, 1, 0, 0, 0}));
    select5(m.get(), 0.0f); // the ring only: face 2 is dropped
    EXPECT_EQ(m->selected[2], 0);
    EXPECT_EQ(LastPickedFace, 2);
    select8(m.get(), 0.0f);
    EXPECT_EQ(m->selected[2], 1);
    select3(m.get(), 0.0f);
    std::vector<int> before = flags();
    select6(m.get(), 0.0f);
    EXPECT_EQ(flags(), before);
}

TEST_F(Selection, SimilarRangeBoundsAndStaleFaceIndex)
{
    // A face far out along X: low saturates at 1,000,000.
    for (uint32_t v : {5u, 6u, 1u, 2u})
        m->verts[v].x = 2000000.0f;
    select2(m.get(), 0.0f);
    select9(m.get(), 5); // corners 2 1 5 6
    select6(m.get(), 0.0f);
    // Face 5's centre is 2e6 > high... high is 2e6, low is 1e6: face 5 only.
    EXPECT_EQ(flags(), (std::vector<int>{0, 0, 0, 0, 0, 1}));
    // After a delete the last pick can name no face: nothing happens.
    m->nquads = 5;
    select6(m.get(), 0.0f);
    EXPECT_EQ(flags(), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(LastPickedFace, 5);
}

TEST_F(Selection, PickOfAMissingFaceTogglesNothingButStaysInStep)
{
    recordon();
    std::vector<int> before = flags();
    select9(m.get(), 6);
    recordoff();
    EXPECT_EQ(flags(), before);
    EXPECT_EQ(numpicks(), 1);
    EXPECT_EQ(numsteps(), 1);
    EXPECT_EQ(LastPick, 6u);
    EXPECT_EQ(LastPickedFace, -1);
}
