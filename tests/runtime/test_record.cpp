// ParamByte quantisation, the full pick list and the replay. The Recorder's
// steps, droplast and limits are checked on every record fuzz_decode loads.
#include <gtest/gtest.h>

#include <cmath>

#include "notices.h"
#include "testmesh.h"

TEST(ParamByte, RoundTripEndsAndTiesToEven)
{
    const double step = (float)(1.0 / 15.9375);
    for (int b = 0; b < 256; b++) {
        EXPECT_EQ(bitsOf(decpar((uint8_t)b)), bitsOf((float)(b * step - 8.0))) << b;
        EXPECT_EQ(encpar(decpar((uint8_t)b)), b) << b;
    }
    // In: value, byte (127.5 and -127.5 are ties to even; low 8 bits kept).
    const std::pair<float, int> cases[] = {{-8.0f, 0},    {8.0f, 255}, {0.0f, 128}, {-0.0f, 128},   {16.0f, 126},
                                           {-16.0f, 128}, {9.0f, 15},  {NAN, 128},  {INFINITY, 128}};
    for (auto c : cases)
        EXPECT_EQ(encpar(c.first), c.second) << c.first;
}

class Recorder : public ::testing::Test {
  protected:
    std::unique_ptr<Mesh> m = newMesh();
    NoticeCapture notes;
    void SetUp() override
    {
        recordoff();
        resetrecord();
    }
    void TearDown() override { recordoff(); }
    std::string noted() const // "title/text;" for each notice
    {
        std::string s;
        for (const Notice &n : notes.all())
            s += n.title + "/" + n.text + ";";
        return s;
    }
};

TEST_F(Recorder, AFullPickListRefusesThePickWithItsNotice)
{
    recordon();
    addcube(m.get(), 0);
    PickCount = MIRL_MAXPICKS;
    select9(m.get(), 0);
    EXPECT_TRUE(numpicks() == 256 && numsteps() == 1);
    EXPECT_EQ(noted(), "Too Many Picks=model will not save properly/ERROR;");
}

TEST_F(Recorder, ReplayBuildsTheCubeSelectsAllAndTogglesThePick)
{
    PickCount = 7;
    mirlObj r = makeRecord({{MIRL_OP_ADDCUBE, 128}, {MIRL_OP_SELECT1, 128}, {MIRL_OPPICK, 128}}, {3});
    replayobj(&r, m.get());
    ASSERT_EQ(m->nquads, 6u);
    for (int q = 0; q < 6; q++)
        EXPECT_EQ(m->selected[q], q == 3 ? 0 : 1);
    EXPECT_TRUE(numpicks() == 1 && LastPickedFace == -1 && numsteps() == 0);
    EXPECT_EQ(m->fnormals[2].z, 8.0f); // normals computed after the cube
}

TEST_F(Recorder, ReplayStartsWithoutALastPickAndSetsNormalsAfterGeometryOnly)
{
    // A fresh player has no last pick for a select similar before the
    // record's first pick, and neither may an undo after an undone pick.
    addcube(m.get(), 0);
    for (uint32_t q = 0; q < 6; q++)
        m->fnormals[q] = {1, 2, 3};
    LastPickedFace = 2;
    mirlObj similar = makeRecord({{MIRL_OP_SELECT1, 128}, {MIRL_OP_SELECT4, 128}, {MIRL_OP_SELECT5, 128},
                                  {MIRL_OP_SELECT6, 128}, {MIRL_OP_SELECT7, 128}, {MIRL_OP_SELECT8, 128}});
    replayobj(&similar, m.get());
    EXPECT_TRUE(countsel(m.get()) == 0 && LastPickedFace == -1);
    mirlObj invertNone = makeRecord({{MIRL_OP_SELECT3, 128}, {MIRL_OP_SELECT2, 128}});
    replayobj(&invertNone, m.get());
    EXPECT_EQ(m->fnormals[0].x, 1.0f);    // no setnorm after selection steps
    mirlObj geo = makeRecord({{MIRL_OP_SCALE5, 128}}); // nothing selected: moves nothing
    replayobj(&geo, m.get());
    EXPECT_EQ(m->fnormals[0].z, -8.0f);
}
