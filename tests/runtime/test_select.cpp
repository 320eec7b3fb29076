// Selection operations and the pick on the cube.
#include <gtest/gtest.h>

#include "testmesh.h"

class Selection : public ::testing::Test {
  protected:
    std::unique_ptr<Mesh> m = newMesh();
    void SetUp() override
    {
        recordoff();
        resetrecord();
        addcube(m.get(), 0);
        setnorm(m.get());
    }
    // The flags as a string, "100111" for face 0 and faces 3 to 5.
    std::string flags() const
    {
        std::string s;
        for (uint32_t q = 0; q < m->nquads; q++)
            s += (char)('0' + m->selected[q]);
        return s;
    }
    void run(std::initializer_list<mirlOp> ops)
    {
        for (mirlOp op : ops)
            op(m.get(), 0);
    }
};

TEST_F(Selection, AllNoneInvertGrowAndAdjacent)
{
    run({select2, select3}); // none, then invert
    EXPECT_EQ(flags(), "111111");
    m->selected[1] = 0;
    select3(m.get(), 0);
    EXPECT_EQ(flags(), "010000");
    run({select2});
    m->selected[0] = 1;
    select4(m.get(), 0); // grow by one ring
    EXPECT_EQ(flags(), "110111");
    select4(m.get(), 0);
    EXPECT_EQ(flags(), "111111");
    run({select2});
    m->selected[0] = 1;
    select5(m.get(), 0); // the ring alone
    EXPECT_EQ(flags(), "010111");
    run({select1, select5});
    EXPECT_EQ(flags(), "000000");
    // By vertex index, not position: a second cube on the same spot stays.
    addcube(m.get(), 0);
    run({select2});
    m->selected[0] = 1;
    select4(m.get(), 0);
    EXPECT_EQ(flags(), "110111000000");
}

TEST_F(Selection, PickTogglesAndTracksTheLastPickedFace)
{
    select2(m.get(), 0);
    recordon();
    select9(m.get(), 1);
    recordoff();
    EXPECT_EQ(flags(), "010000");
    EXPECT_EQ(LastPickedFace, 1);
    EXPECT_TRUE(numpicks() == 1 && CommandRecord.picks[0] == 1 && LastPick == 1);
    select1(m.get(), 0); // all: the last pick stays
    EXPECT_EQ(LastPickedFace, 1);
    select9(m.get(), 1); // deselected: none
    EXPECT_EQ(LastPickedFace, -1);
    EXPECT_EQ(numpicks(), 2); // counted with the Recorder off as well
    select9(m.get(), 1);
    select9(m.get(), 2); // a selected face that is not the last pick
    EXPECT_EQ(flags(), "110111");
    EXPECT_EQ(LastPickedFace, -1);
    select9(m.get(), 2);
    select3(m.get(), 0); // invert forgets it
    EXPECT_EQ(LastPickedFace, -1);
    select9(m.get(), 4);
    select2(m.get(), 0); // and so does none
    EXPECT_EQ(LastPickedFace, -1);
    // A face the mesh lacks toggles nothing but stays in step.
    recordon();
    select9(m.get(), 6);
    recordoff();
    EXPECT_EQ(flags(), "000000");
    EXPECT_TRUE(numpicks() == 7 && numsteps() == 2 && LastPick == 6 && LastPickedFace == -1);
}

TEST_F(Selection, SimilarSelectsCentresWithinTheLastPickedFacesRange)
{
    select2(m.get(), 0);
    select9(m.get(), 1);
    select7(m.get(), 0); // y from 1 to 1: face 1 alone
    EXPECT_EQ(flags(), "010000");
    select6(m.get(), 0); // x from -1 to 1: every centre
    EXPECT_EQ(flags(), "111111");
    run({select2});
    select9(m.get(), 2);
    select5(m.get(), 0); // grow keeps the last pick though face 2 is dropped
    EXPECT_EQ(LastPickedFace, 2);
    select8(m.get(), 0);
    EXPECT_EQ(flags(), "011111");
    // A face far out along X: low saturates at 1,000,000, face 5 alone.
    for (uint32_t v : {5u, 6u, 1u, 2u})
        m->verts[v].x = 2000000.0f;
    run({select2});
    select9(m.get(), 5);
    select6(m.get(), 0);
    EXPECT_EQ(flags(), "000001");
    // After a delete the last pick may name no face: nothing happens.
    m->nquads = 5;
    select6(m.get(), 0);
    EXPECT_EQ(flags(), "00000");
}
