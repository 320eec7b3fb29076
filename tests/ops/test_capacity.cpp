// Operations whose result would not fit the mesh: refused whole, recorded
// anyway, announced only while recording, and refused alike by the literal
// algorithms and by a replay.
#include <gtest/gtest.h>

#include <vector>

#include "notices.h"
#include "oracle.h"
#include "opsutil.h"

namespace {

const uint32_t MaxV = MIRL_MAXVERTS, MaxQ = MIRL_MAXQUADS;

class Capacity : public ::testing::Test {
  protected:
    NoticeCapture notes;
    std::unique_ptr<Mesh> before = newMesh();
    void SetUp() override
    {
        recordoff();
        resetrecord();
    }
    void TearDown() override { recordoff(); }

    // Runs op on m with the Recorder on and checks that it was refused: the
    // whole mesh untouched, one notice, the step recorded all the same.
    void expectRefused(Mesh *m, mirlOp op, int opcode)
    {
        std::memcpy(before.get(), m, sizeof(Mesh));
        notes.clear();
        resetrecord();
        recordon();
        op(m, 0.0f);
        recordoff();
        EXPECT_EQ(std::memcmp(before.get(), m, sizeof(Mesh)), 0) << meshDiff(*before, *m);
        ASSERT_EQ(notes.all().size(), 1u);
        EXPECT_EQ(notes.all()[0].title, "Exceeded mesh capacity");
        EXPECT_EQ(notes.all()[0].text, "ERROR");
        ASSERT_EQ(numsteps(), 1);
        EXPECT_EQ(CommandRecord.ops[0], opcode);
        // A replay (Recorder off) refuses it silently.
        notes.clear();
        op(m, 0.0f);
        EXPECT_EQ(std::memcmp(before.get(), m, sizeof(Mesh)), 0);
        EXPECT_TRUE(notes.all().empty());
    }

    // The literal algorithm refuses the same step: counts and used part as
    // they were (it may leave leftovers beyond the counts).
    void expectOracleRefuses(Mesh *m, mirlOp op)
    {
        std::memcpy(before.get(), m, sizeof(Mesh));
        op(m, 0.0f);
        EXPECT_EQ(meshDiff(*before, *m), "");
    }

    // Accepted by both; returns the runtime's result in m.
    void expectBothAccept(Mesh *m, mirlOp op, mirlOp oracle)
    {
        auto slow = newMesh();
        std::memcpy(slow.get(), m, sizeof(Mesh));
        notes.clear();
        op(m, 0.0f);
        oracle(slow.get(), 0.0f);
        EXPECT_TRUE(notes.all().empty());
        EXPECT_EQ(meshDiff(*m, *slow), "");
    }
};

// The cube followed by unused vertices up to nverts = total.
std::unique_ptr<Mesh> paddedCube(uint32_t total, int cubes = 1)
{
    auto m = cubeMesh();
    for (int c = 1; c < cubes; c++)
        addcube(m.get(), 0.0f);
    m->nverts = total;
    return m;
}

} // namespace

TEST_F(Capacity, SmoothingTheCubeStopsWhereTheFacesWouldNotFit)
{
    auto m = newMesh();
    recordon();
    addcube(m.get(), 0.0f);
    setnorm(m.get());
    for (int level = 1; level <= 8; level++) {
        smoooth(m.get(), 0.0f);
        setnorm(m.get());
    }
    recordoff();
    // Seven levels fit (6 * 4^7 = 98304 faces); the eighth would need 393216.
    EXPECT_EQ(m->nquads, 98304u);
    EXPECT_EQ(m->nverts, 98306u);
    ASSERT_EQ(notes.all().size(), 1u);
    EXPECT_EQ(notes.all()[0].title, "Exceeded mesh capacity");
    ASSERT_EQ(numsteps(), 9);
    EXPECT_EQ(CommandRecord.ops[8], 28);

    // Replaying the record refuses the same step, silently, to the same mesh.
    notes.clear();
    auto again = newMesh();
    replayrec(again.get());
    EXPECT_TRUE(notes.all().empty());
    EXPECT_EQ(meshDiff(*m, *again), "");
}

TEST_F(Capacity, SmoothingIsRefusedAboveAQuarterOfTheFaceCapacity)
{
    // Many copies of one quad over four vertices: the points are few, only
    // the face count decides.
    auto m = newMesh();
    m->nverts = 4;
    m->verts[1] = {1, 0, 0};
    m->verts[2] = {1, 1, 0};
    m->verts[3] = {0, 1, 0};
    for (uint32_t q = 0; q < MaxQ / 4; q++)
        addQ(m.get(), 0, 1, 2, 3, q & 1);
    auto fits = newMesh();
    std::memcpy(fits.get(), m.get(), sizeof(Mesh));

    addQ(m.get(), 0, 1, 2, 3, 0);
    expectRefused(m.get(), smoooth, 28);
    expectRefused(m.get(), subd, 27);
    expectOracleRefuses(m.get(), oracle::smoooth);

    expectBothAccept(fits.get(), smoooth, oracle::smoooth);
    EXPECT_EQ(fits->nquads, MaxQ);
    EXPECT_EQ(fits->nverts, 4u + MaxQ / 4 + 4u);
}

TEST_F(Capacity, SmoothingCountsItsNewPointsExactly)
{
    // The cube makes 6 centres and 12 edge points: 18 more fit, 17 do not.
    auto m = paddedCube(MaxV - 17);
    expectRefused(m.get(), smoooth, 28);
    expectRefused(m.get(), subd, 27);
    expectOracleRefuses(m.get(), oracle::smoooth);
    expectOracleRefuses(m.get(), oracle::subd);
    m = paddedCube(MaxV - 18);
    expectBothAccept(m.get(), smoooth, oracle::smoooth);
    EXPECT_EQ(m->nverts, MaxV);

    // Two cubes on one spot share their edge points: 12 centres and 12 edge
    // points, not the 12 + 24 of a bound that ignores the sharing.
    m = paddedCube(MaxV - 23, 2);
    expectRefused(m.get(), smoooth, 28);
    expectOracleRefuses(m.get(), oracle::smoooth);
    m = paddedCube(MaxV - 24, 2);
    expectBothAccept(m.get(), subd, oracle::subd);
    EXPECT_EQ(m->nverts, MaxV);
    EXPECT_EQ(m->nquads, 48u);
}

TEST_F(Capacity, ExtrudeNeedsFourVerticesAndFourFacesPerSelectedFace)
{
    // All six cube faces selected: 24 more vertices and 24 more faces.
    auto m = paddedCube(MaxV - 23);
    expectRefused(m.get(), addquad, 29);
    expectOracleRefuses(m.get(), oracle::addquad);
    m = paddedCube(MaxV - 24);
    expectBothAccept(m.get(), addquad, oracle::addquad);
    EXPECT_EQ(m->nverts, MaxV);

    // Faces: unselected copies of face 0 after the cube.
    m = paddedCube(8);
    while (m->nquads < MaxQ - 23)
        addQ(m.get(), 0, 1, 2, 3, 0);
    expectRefused(m.get(), addquad, 29);
    expectOracleRefuses(m.get(), oracle::addquad);
    m->nquads = MaxQ - 24;
    expectBothAccept(m.get(), addquad, oracle::addquad);
    EXPECT_EQ(m->nquads, MaxQ);
    EXPECT_EQ(countsel(m.get()), 6);
    // Delete never grows: it works at the full capacity.
    delQuad(m.get(), 0.0f);
    EXPECT_EQ(m->nquads, MaxQ - 6);
}

TEST_F(Capacity, ARefusedStepKeepsTheRecordAndUndoAligned)
{
    // cube, smooth x8 (the last refused), then a move: the replay of every
    // prefix matches the live mesh after the same steps.
    auto live = newMesh();
    std::vector<uint64_t> digests;
    recordon();
    addcube(live.get(), 0.0f);
    setnorm(live.get());
    digests.push_back(meshDigest(*live));
    for (int i = 0; i < 8; i++) {
        smoooth(live.get(), 0.0f);
        setnorm(live.get());
        digests.push_back(meshDigest(*live));
    }
    trans1(live.get(), decpar(140));
    setnorm(live.get());
    digests.push_back(meshDigest(*live));
    recordoff();
    ASSERT_EQ(numsteps(), 10);
    EXPECT_EQ(digests[8], digests[7]);
    // Undo the move and the refused smooth: the mesh of level 7 again.
    droplast();
    droplast();
    auto undone = newMesh();
    replayrec(undone.get());
    EXPECT_EQ(meshDigest(*undone), digests[7]);
}
