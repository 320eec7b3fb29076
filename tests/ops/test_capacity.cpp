// Operations whose result would not fit the mesh: refused whole, recorded
// anyway, announced only while recording, refused alike by the literal
// algorithms and silently with the Recorder off, as in a replay.
#include <gtest/gtest.h>

#include "notices.h"
#include "opsdiff.h"
#include "oracle.h"

namespace {

const uint32_t MaxV = MIRL_MAXVERTS, MaxQ = MIRL_MAXQUADS;
const int Smooth = MIRL_OP_SMOOOTH, Subd = MIRL_OP_SUBD, Extrude = MIRL_OP_ADDQUAD, Cube = MIRL_OP_ADDCUBE;

TEST(Capacity, RefusedOneShortOfTheRoomNeededAcceptedAtIt)
{
    // Cubes on one spot, then unused vertices and copies of face 0 (which
    // share its points) up to the free room given. Smoothing a cube makes 6
    // centres and 12 edge points, two cubes on one spot 12 + 12 (not 12 +
    // 24), and 4 children a face; extruding six faces 24 vertices and faces;
    // a cube 8 vertices and 6 faces.
    const struct {
        int cubes;
        uint32_t freeVerts, freeQuads;
        int opcode;
        bool refused;
    } cases[] = {{1, 17, MaxQ, Smooth, true}, {1, 17, MaxQ, Subd, true}, {1, 18, MaxQ, Smooth, false},
                 {2, 23, MaxQ, Smooth, true}, {2, 24, MaxQ, Subd, false},
                 {1, MaxV, MaxQ - MaxQ / 4 - 1, Smooth, true}, {1, MaxV, MaxQ - MaxQ / 4 - 1, Subd, true},
                 {1, MaxV, MaxQ - MaxQ / 4, Smooth, false},
                 {1, 23, MaxQ, Extrude, true}, {1, 24, MaxQ, Extrude, false}, {1, MaxV, 23, Extrude, true},
                 {1, MaxV, 24, Extrude, false}, {1, 7, MaxQ, Cube, true}, {1, 8, MaxQ, Cube, false},
                 {1, MaxV, 5, Cube, true}, {1, MaxV, 6, Cube, false}};
    NoticeCapture notes;
    static auto before = newMesh(), slow = newMesh();
    for (const auto &c : cases) {
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
        OperationTable[c.opcode](m.get(), 0);
        recordoff();
        oracle::Table[c.opcode](slow.get(), 0);
        EXPECT_EQ(meshDiff(*m, *slow), "");
        EXPECT_TRUE(numsteps() == 1 && CommandRecord.ops[0] == c.opcode); // recorded either way
        if (!c.refused) {
            EXPECT_TRUE(notes.all().empty());
            EXPECT_TRUE(m->nverts == MaxV || m->nquads == MaxQ);
            continue;
        }
        ASSERT_EQ(notes.all().size(), 1u);
        EXPECT_EQ(notes.all()[0].title + "/" + notes.all()[0].text, "Exceeded mesh capacity/ERROR");
        OperationTable[c.opcode](m.get(), 0); // Recorder off, as in a replay: silently
        EXPECT_EQ(notes.all().size(), 1u);
        EXPECT_EQ(std::memcmp(before.get(), m.get(), sizeof(Mesh)), 0) << meshDiff(*before, *m);
    }
}

} // namespace
