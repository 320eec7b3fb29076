// ParamByte quantisation, the full pick list and the replay. The Recorder's
// steps, droplast and limits are checked on every record fuzz_decode loads.
#include <gtest/gtest.h>

#include <cmath>

#include "notices.h"
#include "samplerecs.h"
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
};

TEST_F(Recorder, AFullPickListRefusesThePickWithItsNotice)
{
    recordon();
    addcube(m.get(), 0);
    PickCount = MIRL_MAXPICKS;
    select9(m.get(), 0);
    EXPECT_TRUE(numpicks() == 256 && numsteps() == 1);
    EXPECT_EQ(notes.joined(), "Too Many Picks=model will not save properly/ERROR;");
}

TEST_F(Recorder, ReplayStartsWithoutALastPickAndSetsNormalsAfterGeometryOnly)
{
    // A fresh player has no last pick for a select similar before the
    // record's first pick, and neither may an undo after an undone pick.
    addcube(m.get(), 0);
    for (uint32_t q = 0; q < 6; q++)
        m->fnormals[q] = {1, 2, 3};
    LastPickedFace = 2;
    mirlObj similar = makeRecord({{MIRL_OP_SELECT1}, {MIRL_OP_SELECT4}, {MIRL_OP_SELECT5}, {MIRL_OP_SELECT6},
                                  {MIRL_OP_SELECT7}, {MIRL_OP_SELECT8}});
    replayobj(&similar, m.get());
    EXPECT_TRUE(countsel(m.get()) == 0 && LastPickedFace == -1);
    mirlObj invertNone = makeRecord({{MIRL_OP_SELECT3}, {MIRL_OP_SELECT2}});
    replayobj(&invertNone, m.get());
    EXPECT_EQ(m->fnormals[0].x, 1.0f);              // no setnorm after selection steps
    mirlObj geo = makeRecord({{MIRL_OP_SCALE5}}); // nothing selected: moves nothing
    replayobj(&geo, m.get());
    EXPECT_EQ(m->fnormals[0].z, -8.0f);
}

// The record module keeps the pick list in step with the pick steps: the
// n-th pick step's face is picks[n], PickCount the number of pick steps.
class RecordEdits : public Recorder {
  protected:
    // Cube, select none, picks of faces 3, 5 and 1 around an extrude, a move
    // along the normals: each pick's face matters for what follows.
    const mirlObj base = makeRecord({{MIRL_OP_ADDCUBE}, {MIRL_OP_SELECT2}, {MIRL_OPPICK, 128, 2}, {MIRL_OP_ADDQUAD},
                                     {MIRL_OPPICK}, {MIRL_OP_TRANS2, 140}, {MIRL_OP_SELECT6}},
                                    {3, 5, 1});
};

// The record without step i, built here step by step: a pick's face leaves
// the pick list, the later picks keep theirs.
mirlObj withoutStep(const mirlObj &r, int i)
{
    mirlObj out;
    std::memset(&out, 0, sizeof out);
    for (int k = 0, pick = 0, kept = 0; k < r.count; k++) {
        const bool isPick = r.ops[k] == MIRL_OPPICK;
        if (k != i) {
            out.ops[out.count] = r.ops[k];
            out.params[out.count++] = r.params[k];
            if (isPick)
                out.picks[kept++] = r.picks[pick];
        }
        pick += isPick;
    }
    return out;
}

// Every step of the sample records (odd steps, picks beyond the faces, a
// full record of picks, random records) deleted and put back: the record
// without it, then the record again; its parameter set only if it has one.
TEST_F(RecordEdits, AnyStepDeletedAndPutBackOnEverySampleRecord)
{
    for (const SampleRecord &s : sampleRecords())
        for (int i = 1; i < s.record.count; i++) {
            const mirlObj &r = s.record, less = withoutStep(r, i);
            const std::string what = s.name + " step " + std::to_string(i);
            const uint32_t face = r.ops[i] == MIRL_OPPICK ? r.picks[pickidx(&r, i)] : 0;
            setrec(&r);
            ASSERT_EQ(delstep(i), 1) << what;
            EXPECT_EQ(usedText(CommandRecord), usedText(less)) << what;
            EXPECT_EQ((uint32_t)numpicks(), pickidx(&less, 256)) << what;
            ASSERT_EQ(insstep(i, r.ops[i], r.params[i], face), 1) << what;
            EXPECT_EQ(usedText(CommandRecord), usedText(r)) << what;
            EXPECT_EQ((uint32_t)numpicks(), pickidx(&r, 256)) << what;
            mirlObj set = r;
            set.params[i] += haspar(r.ops[i]);
            EXPECT_EQ(setpar(i, (uint8_t)(r.params[i] + 1)), haspar(r.ops[i])) << what;
            EXPECT_EQ(usedText(CommandRecord), usedText(set)) << what;
        }
}

TEST_F(RecordEdits, RefusalsChangeNothing)
{
    setrec(&base);
    const std::string before = usedText(CommandRecord);
    EXPECT_EQ(delstep(0), 0); // the first step stays
    EXPECT_EQ(delstep(8), 0);
    EXPECT_EQ(setpar(8, 1), 0);
    EXPECT_EQ(setpar(0, 200), 0); // the cube has no parameter (the other steps: below)
    EXPECT_EQ(insstep(9, MIRL_OP_SUBD, 128, 0), 0);
    EXPECT_EQ(usedText(CommandRecord), before);
    EXPECT_EQ(numpicks(), 3);
    mirlObj full = base;
    full.count = MIRL_MAXSTEPS;
    setrec(&full);
    EXPECT_EQ(insstep(1, MIRL_OP_SUBD, 128, 0), 0);
    EXPECT_EQ(numsteps(), MIRL_MAXSTEPS);
}

TEST_F(RecordEdits, CuttingBackUncountsThePicksDropped)
{
    setrec(&base);
    dropto(4);
    EXPECT_TRUE(numsteps() == 4 && numpicks() == 2);
    dropto(9); // nothing to cut
    EXPECT_TRUE(numsteps() == 4 && numpicks() == 2);
    dropto(0); // the first step too, unlike droplast
    EXPECT_TRUE(numsteps() == 0 && numpicks() == 0);
    mirlObj leftovers = base;
    leftovers.params[200] = 7;
    setrec(&leftovers);
    EXPECT_EQ(std::memcmp(&CommandRecord, &leftovers, sizeof leftovers), 0);
}

// Going on from the replay of any first steps gives the whole replay: the
// first pick from there takes the face of its own place in the list.
TEST_F(RecordEdits, ReplayGoesOnFromAnyStepWithThatStepsPick)
{
    for (uint32_t first = 0; first <= base.count; first++) {
        mirlObj head = base;
        head.count = (uint8_t)first;
        replayInto(head, m.get());
        replayfrom(&base, m.get(), first);
        EXPECT_EQ(replayDiff(base, *m, LastPickedFace), "") << "from step " << first;
        EXPECT_EQ(pickidx(&base, first), first <= 2 ? 0u : first <= 3 ? 1u : first <= 5 ? 2u : 3u);
    }
}

TEST_F(Recorder, AFullRecordRefusesAPickWithoutCountingIt)
{
    mirlObj full = makeRecord({{MIRL_OP_ADDCUBE}, {MIRL_OPPICK}, {MIRL_OP_SELECT1, 0, MIRL_MAXSTEPS - 2}}, {2});
    setrec(&full);
    recordon();
    select9(m.get(), 0);
    EXPECT_TRUE(numsteps() == MIRL_MAXSTEPS && numpicks() == 1);
    EXPECT_EQ(notes.joined(), "Exceeded max number of modelling commands/ERROR;");
}
