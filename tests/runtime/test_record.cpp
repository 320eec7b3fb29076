// ParamByte quantisation, the Recorder and its limits, droplast, reset and
// the replay.
#include <gtest/gtest.h>

#include <cmath>

#include "notices.h"
#include "testmesh.h"

static const float Step = (float)(1.0 / 15.9375);

TEST(ParamByte, EveryByteReadsBackAndStoresAgainAsItself)
{
    for (int b = 0; b < 256; b++) {
        float v = decpar((uint8_t)b);
        EXPECT_EQ(bitsOf(v), bitsOf((float)((double)b * (double)Step - 8.0))) << b;
        EXPECT_EQ(encpar(v), b) << b;
    }
}

TEST(ParamByte, EndsMiddleAndTiesToEven)
{
    EXPECT_EQ(encpar(-8.0f), 0);
    EXPECT_EQ(encpar(8.0f), 255);
    EXPECT_EQ(encpar(0.0f), 128); // 127.5: the tie goes to the even 128
    EXPECT_EQ(encpar(-0.0f), 128);
    EXPECT_EQ(encpar(16.0f), 126);  // 382.5 -> 382, low 8 bits
    EXPECT_EQ(encpar(-16.0f), 128); // -127.5 -> -128, low 8 bits
    EXPECT_EQ(encpar(9.0f), 15);    // 270.9375 -> 271, low 8 bits
    EXPECT_EQ(encpar(NAN), 128);
    EXPECT_EQ(encpar(INFINITY), 128);
    // 128 reads back as the small positive step half, 255 as one ulp above 8.
    EXPECT_EQ(decpar(128), (float)(128.0 * (double)Step - 8.0));
    EXPECT_GT(decpar(128), 0.03137f);
    EXPECT_LT(decpar(128), 0.03138f);
    EXPECT_EQ(decpar(255), std::nextafter(8.0f, 9.0f));
    EXPECT_EQ(decpar(0), -8.0f);
}

class Recorder : public ::testing::Test {
  protected:
    std::unique_ptr<Mesh> m = newMesh();
    NoticeCapture notes;
    void SetUp() override
    {
        recordoff();
        resetrecord();
        emptyMesh(m.get());
    }
    void TearDown() override { recordoff(); }
};

TEST_F(Recorder, OffRecordsNothingButOperationsStillWork)
{
    addcube(m.get(), 0.0f);
    select2(m.get(), 0.0f);
    EXPECT_EQ(numsteps(), 0);
    EXPECT_EQ(m->nquads, 6u);
    EXPECT_EQ(countsel(m.get()), 0);
    EXPECT_TRUE(notes.all().empty());
}

TEST_F(Recorder, StepsCarryOpcodeAndQuantisedParameter)
{
    recordon();
    addcube(m.get(), 3.0f); // the cube records 0.0 whatever it is given
    recordstep(3, 1.0352947f);
    recordstep(0x100 + 7, -8.0f); // only the low 8 bits of the opcode
    EXPECT_EQ(numsteps(), 3);
    EXPECT_EQ(CommandRecord.ops[0], 31);
    EXPECT_EQ(CommandRecord.params[0], 128);
    EXPECT_EQ(CommandRecord.ops[1], 3);
    EXPECT_EQ(CommandRecord.params[1], 144);
    EXPECT_EQ(CommandRecord.ops[2], 7);
    EXPECT_EQ(CommandRecord.params[2], 0);
}

TEST_F(Recorder, DroplastNeverRemovesTheFirstStepAndUncountsPicks)
{
    droplast();
    EXPECT_EQ(numsteps(), 0);
    recordon();
    addcube(m.get(), 0.0f);
    droplast();
    EXPECT_EQ(numsteps(), 1);
    select9(m.get(), 2);
    EXPECT_EQ(numsteps(), 2);
    EXPECT_EQ(numpicks(), 1);
    EXPECT_EQ(CommandRecord.picks[0], 2u);
    droplast();
    EXPECT_EQ(numsteps(), 1);
    EXPECT_EQ(numpicks(), 0);
    EXPECT_EQ(CommandRecord.ops[1], 50); // bytes stay beyond the count
}

TEST_F(Recorder, ResetEmptiesCountsOnly)
{
    recordon();
    addcube(m.get(), 0.0f);
    select9(m.get(), 4);
    resetrecord();
    EXPECT_EQ(numsteps(), 0);
    EXPECT_EQ(numpicks(), 0);
    EXPECT_EQ(LastPickedFace, -1);
    EXPECT_EQ(RecorderOn, 1);
    EXPECT_EQ(LastPick, 4u);
    EXPECT_EQ(CommandRecord.ops[0], 31);
}

TEST_F(Recorder, FullRecordRefusesStepsAndPicksWithOneNoticeEach)
{
    recordon();
    addcube(m.get(), 0.0f);
    for (int i = 1; i < MIRL_MAXSTEPS; i++)
        select1(m.get(), 0.0f);
    ASSERT_EQ(numsteps(), 255);
    EXPECT_TRUE(notes.all().empty());
    select2(m.get(), 0.0f);
    EXPECT_EQ(numsteps(), 255);
    EXPECT_EQ(countsel(m.get()), 0); // the operation itself still ran
    ASSERT_EQ(notes.all().size(), 1u);
    EXPECT_EQ(notes.all()[0].title, "Exceeded max number of modelling commands");
    EXPECT_EQ(notes.all()[0].text, "ERROR");
    select9(m.get(), 1);
    EXPECT_EQ(numpicks(), 0);
    EXPECT_EQ(numsteps(), 255);
    EXPECT_EQ(m->selected[1], 1);
    EXPECT_EQ(notes.all().size(), 2u);
}

TEST_F(Recorder, FullPickListRefusesThePick)
{
    recordon();
    addcube(m.get(), 0.0f);
    PickCount = MIRL_MAXPICKS;
    select9(m.get(), 0);
    EXPECT_EQ(numpicks(), 256);
    EXPECT_EQ(numsteps(), 1);
    ASSERT_EQ(notes.all().size(), 1u);
    EXPECT_EQ(notes.all()[0].title, "Too Many Picks=model will not save properly");
    EXPECT_EQ(notes.all()[0].text, "ERROR");
}

TEST_F(Recorder, ReplayOfAnEmptyRecordOnlyResetsThePickCount)
{
    PickCount = 7;
    mirlObj r = makeRecord({});
    replayobj(&r, m.get());
    EXPECT_EQ(numpicks(), 0);
    EXPECT_EQ(m->nquads, 0u);
}

TEST_F(Recorder, ReplayBuildsCubeSelectsAllAndTogglesThePickedFace)
{
    mirlObj r = makeRecord({{31, 128}, {19, 128}, {50, 128}}, {3});
    replayobj(&r, m.get());
    ASSERT_EQ(m->nquads, 6u);
    for (int q = 0; q < 6; q++)
        EXPECT_EQ(m->selected[q], q == 3 ? 0 : 1);
    EXPECT_EQ(numpicks(), 1);
    EXPECT_EQ(LastPickedFace, -1);
    EXPECT_EQ(m->fnormals[2].z, 8.0f); // normals computed after the cube
    EXPECT_EQ(numsteps(), 0);         // the Recorder was off
}

TEST_F(Recorder, ReplaySkipsUnknownOpcodesAndOutOfRangePicks)
{
    auto ref = newMesh();
    mirlObj plain = makeRecord({{31, 128}, {20, 128}});
    replayobj(&plain, ref.get());
    mirlObj odd = makeRecord({{31, 128}, {40, 7}, {50, 128}, {20, 128}, {255, 0}, {50, 128}, {32, 1}},
                             {6, 0xFFFFFFFFu});
    replayobj(&odd, m.get());
    EXPECT_EQ(meshDiff(*m, *ref), "");
    EXPECT_EQ(numpicks(), 2);
    EXPECT_EQ(LastPickedFace, -1);
}

static int ScrambleCalls;
static void scrambleNormals(Mesh *m, float)
{
    ScrambleCalls++;
    for (uint32_t q = 0; q < m->nquads; q++)
        m->fnormals[q] = {1, 2, 3};
}

TEST_F(Recorder, ReplayRunsSetnormAfterGeometryOpcodesOnly)
{
    mirlOp saved19 = OperationTable[19], saved0 = OperationTable[0];
    OperationTable[19] = scrambleNormals;
    OperationTable[0] = scrambleNormals;
    ScrambleCalls = 0;
    mirlObj sel = makeRecord({{31, 128}, {19, 128}});
    replayobj(&sel, m.get());
    EXPECT_EQ(m->fnormals[0].x, 1.0f); // no setnorm after a selection step
    emptyMesh(m.get());
    mirlObj geo = makeRecord({{31, 128}, {0, 128}});
    replayobj(&geo, m.get());
    EXPECT_EQ(m->fnormals[0].z, -8.0f); // setnorm after opcode 0
    OperationTable[19] = saved19;
    OperationTable[0] = saved0;
    EXPECT_EQ(ScrambleCalls, 2);
}

TEST_F(Recorder, ReplayrecReplaysTheCommandRecord)
{
    recordon();
    addcube(m.get(), 0.0f);
    select3(m.get(), 0.0f);
    select9(m.get(), 5);
    recordoff();
    setnorm(m.get());
    auto again = newMesh();
    replayrec(again.get());
    EXPECT_EQ(meshDiff(*m, *again), "");
    EXPECT_EQ(numpicks(), 1);
    EXPECT_EQ(numsteps(), 3);
}

TEST_F(Recorder, ReplayDependsOnTheRecordAloneNotOnAnEarlierPick)
{
    // Select similar before any pick of the record: a fresh player has no
    // last pick, and neither may an undo that follows an undone pick.
    mirlObj r = makeRecord({{31, 128}, {23, 128}, {24, 128}}); // adjacent of all: none
    auto fresh = newMesh();
    replayobj(&r, fresh.get());
    EXPECT_EQ(countsel(fresh.get()), 0);
    LastPickedFace = 2;
    replayobj(&r, m.get());
    EXPECT_EQ(meshDiff(*m, *fresh), "");
    EXPECT_EQ(LastPickedFace, -1);
}
