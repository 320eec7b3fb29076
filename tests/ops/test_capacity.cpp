// Operations whose result would not fit the mesh: refused whole, recorded
// anyway, announced only while recording, refused alike by the literal
// algorithms and by a replay.
#include "notices.h"
#include "opsutil.h"
#include "oracle.h"

namespace {

const uint32_t MaxV = MIRL_MAXVERTS, MaxQ = MIRL_MAXQUADS;

TEST(Capacity, SmoothingTheCubeStopsWhereTheFacesWouldNotFitAndReplaysAlike)
{
    NoticeCapture notes;
    auto m = newMesh(), again = newMesh();
    resetrecord();
    recordon();
    addcube(m.get(), 0);
    for (int level = 1; level <= 8; level++)
        smoooth(m.get(), 0);
    recordoff();
    setnorm(m.get());
    // Seven levels fit (6 * 4^7 = 98304 faces); the eighth would need 393216.
    EXPECT_TRUE(m->nquads == 98304 && m->nverts == 98306);
    ASSERT_EQ(notes.all().size(), 1u);
    EXPECT_EQ(notes.all()[0].title, "Exceeded mesh capacity");
    ASSERT_EQ(numsteps(), 9);
    EXPECT_EQ(CommandRecord.ops[8], 28);
    // The replay refuses the same step, silently; so does it after undo.
    for (int undo = 0; undo < 2; undo++) {
        emptyMesh(again.get());
        replayrec(again.get());
        EXPECT_EQ(meshDiff(*m, *again), "");
        droplast();
    }
    EXPECT_EQ(notes.all().size(), 1u);
}

TEST(Capacity, RefusedOneShortOfTheRoomNeededAcceptedAtIt)
{
    // Padded with unused vertices and copies of face 0 (which share its
    // points) up to the free room given.
    struct Case {
        int cubes;
        uint32_t freeVerts, freeQuads;
        mirlOp op, literal;
        int opcode;
        bool refused;
    };
    const Case cases[] = {
        // One cube smoothed: 6 centres and 12 edge points.
        {1, 17, MaxQ, smoooth, oracle::smoooth, 28, true},
        {1, 17, MaxQ, subd, oracle::subd, 27, true},
        {1, 18, MaxQ, smoooth, oracle::smoooth, 28, false},
        // Two cubes on one spot share edge points: 12 + 12, not 12 + 24.
        {2, 23, MaxQ, smoooth, oracle::smoooth, 28, true},
        {2, 24, MaxQ, subd, oracle::subd, 27, false},
        // Four children a face: at most a quarter of the face capacity.
        {1, MaxV, MaxQ - MaxQ / 4 - 1, smoooth, oracle::smoooth, 28, true},
        {1, MaxV, MaxQ - MaxQ / 4 - 1, subd, oracle::subd, 27, true},
        {1, MaxV, MaxQ - MaxQ / 4, smoooth, oracle::smoooth, 28, false},
        // Extruding the six faces: 24 more vertices and 24 more faces.
        {1, 23, MaxQ, addquad, oracle::addquad, 29, true},
        {1, 24, MaxQ, addquad, oracle::addquad, 29, false},
        {1, MaxV, 23, addquad, oracle::addquad, 29, true},
        {1, MaxV, 24, addquad, oracle::addquad, 29, false},
    };
    NoticeCapture notes;
    static auto before = newMesh(), slow = newMesh();
    for (const Case &c : cases) {
        SCOPED_TRACE("opcode " + std::to_string(c.opcode) + " free " + std::to_string(c.freeVerts) + "/" +
                     std::to_string(c.freeQuads));
        auto m = cubeMesh();
        for (int k = 1; k < c.cubes; k++)
            addcube(m.get(), 0);
        m->nverts = std::max(m->nverts, MaxV - c.freeVerts);
        while (m->nquads < MaxQ - c.freeQuads)
            addQ(m.get(), 0, 1, 2, 3, 0);
        std::memcpy(before.get(), m.get(), sizeof(Mesh));
        std::memcpy(slow.get(), m.get(), sizeof(Mesh));
        notes.clear();
        recordon();
        c.op(m.get(), 0);
        recordoff();
        c.literal(slow.get(), 0);
        EXPECT_EQ(meshDiff(*m, *slow), "");
        ASSERT_EQ(numsteps(), 1); // recorded either way
        EXPECT_EQ(CommandRecord.ops[0], c.opcode);
        if (!c.refused) {
            EXPECT_TRUE(notes.all().empty());
            EXPECT_TRUE(m->nverts == MaxV || m->nquads == MaxQ);
            continue;
        }
        ASSERT_EQ(notes.all().size(), 1u);
        EXPECT_EQ(notes.all()[0].title + "/" + notes.all()[0].text, "Exceeded mesh capacity/ERROR");
        c.op(m.get(), 0); // Recorder off, as in a replay: silently
        EXPECT_EQ(notes.all().size(), 1u);
        EXPECT_EQ(std::memcmp(before.get(), m.get(), sizeof(Mesh)), 0) << meshDiff(*before, *m);
    }
}

} // namespace
