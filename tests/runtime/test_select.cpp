// Selection operations and the pick on the cube.
#include <gtest/gtest.h>

#include "opsdiff.h"

class Selection : public ::testing::Test {
  protected:
    std::unique_ptr<Mesh> m = cubeMesh(); // Recorder off, record empty
    // Flags from and to strings: "100111" is face 0 and faces 3 to 5.
    void set(const char *flags) { setFlags(m.get(), flags); }
    std::string after(std::initializer_list<mirlOp> ops)
    {
        for (mirlOp op : ops)
            op(m.get(), 0);
        std::string s;
        for (uint32_t q = 0; q < m->nquads; q++)
            s += (char)('0' + m->selected[q]);
        return s;
    }
    std::string pick(uint32_t face)
    {
        select9(m.get(), face);
        return after({});
    }
};

TEST_F(Selection, AllNoneInvertGrowAndAdjacent)
{
    EXPECT_EQ(after({select2, select3}), "111111"); // none, then invert
    set("101111");
    EXPECT_EQ(after({select3}), "010000");
    set("100000");
    EXPECT_EQ(after({select4}), "110111"); // grow by one ring
    EXPECT_EQ(after({select4}), "111111");
    set("100000");
    EXPECT_EQ(after({select5}), "010111"); // the ring alone
    EXPECT_EQ(after({select1, select5}), "000000");
    // By vertex index, not position: a second cube on the same spot stays.
    addcube(m.get(), 0);
    set("100000000000");
    EXPECT_EQ(after({select4}), "110111000000");
}

TEST_F(Selection, PickTogglesAndTracksTheLastPickedFace)
{
    select2(m.get(), 0);
    recordon();
    EXPECT_EQ(pick(1), "010000");
    recordoff();
    EXPECT_EQ(LastPickedFace, 1);
    EXPECT_TRUE(numpicks() == 1 && CommandRecord.picks[0] == 1 && LastPick == 1);
    select1(m.get(), 0); // all: the last pick stays
    EXPECT_EQ(LastPickedFace, 1);
    EXPECT_EQ(pick(1), "101111"); // deselected: no last pick
    EXPECT_EQ(LastPickedFace, -1);
    EXPECT_EQ(numpicks(), 1); // a pick the Recorder does not keep is no pick of the record
    pick(1);
    EXPECT_EQ(pick(2), "110111"); // a selected face that is not the last pick
    EXPECT_EQ(LastPickedFace, -1);
    pick(2);
    select3(m.get(), 0); // invert forgets it
    EXPECT_EQ(LastPickedFace, -1);
    pick(4);
    select2(m.get(), 0); // and so does none
    EXPECT_EQ(LastPickedFace, -1);
    recordon();
    EXPECT_EQ(pick(6), "000000"); // a face the mesh lacks: nothing, but in step
    recordoff();
    EXPECT_TRUE(numpicks() == 2 && numsteps() == 2 && CommandRecord.picks[1] == 6 && LastPick == 6 &&
                LastPickedFace == -1);
}

TEST_F(Selection, SimilarSelectsCentresWithinTheLastPickedFacesRange)
{
    select2(m.get(), 0);
    pick(1);
    EXPECT_EQ(after({select7}), "010000"); // y from 1 to 1: face 1 alone
    EXPECT_EQ(after({select6}), "111111"); // x from -1 to 1: every centre
    select2(m.get(), 0);
    pick(2);
    select5(m.get(), 0); // the ring: the last pick stays though face 2 is dropped
    EXPECT_EQ(LastPickedFace, 2);
    EXPECT_EQ(after({select8}), "011111");
    // A face far out along X: low saturates at 1,000,000, face 5 alone.
    for (uint32_t v : {5u, 6u, 1u, 2u})
        m->verts[v].x = 2000000.0f;
    select2(m.get(), 0);
    pick(5);
    EXPECT_EQ(after({select6}), "000001");
    m->nquads = 5; // after a delete the last pick may name no face
    EXPECT_EQ(after({select6}), "00000");
    EXPECT_EQ(after({select7}), "00000"); // its stale corners would span every face
}
