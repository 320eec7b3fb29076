// Extrude and delete: face order, new vertices, selection and normals.
#include <gtest/gtest.h>

#include "oracle.h"
#include "opsutil.h"

namespace {

void expectQuad(const Mesh &m, uint32_t q, uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    EXPECT_EQ(m.quads[q].v[0], a) << "face " << q;
    EXPECT_EQ(m.quads[q].v[1], b) << "face " << q;
    EXPECT_EQ(m.quads[q].v[2], c) << "face " << q;
    EXPECT_EQ(m.quads[q].v[3], d) << "face " << q;
}

} // namespace

TEST(Extrude, OneCubeFaceGivesCapAndFourSides)
{
    auto m = cubeMesh();
    selectOnly(m.get(), {0});
    addquad(m.get(), 0.0f);
    ASSERT_EQ(m->nverts, 12u);
    ASSERT_EQ(m->nquads, 10u);
    // The old faces 1..5 first, in order, still unselected.
    static const uint32_t old[5][4] = {{3, 2, 6, 7}, {7, 6, 5, 4}, {1, 0, 4, 5}, {0, 3, 7, 4}, {2, 1, 5, 6}};
    for (uint32_t q = 0; q < 5; q++) {
        expectQuad(*m, q, old[q][0], old[q][1], old[q][2], old[q][3]);
        EXPECT_EQ(m->selected[q], 0);
    }
    expectQuad(*m, 5, 8, 9, 10, 11);
    EXPECT_EQ(m->selected[5], 1);
    expectQuad(*m, 6, 8, 0, 1, 9);
    expectQuad(*m, 7, 9, 1, 2, 10);
    expectQuad(*m, 8, 10, 2, 3, 11);
    expectQuad(*m, 9, 11, 3, 0, 8);
    for (uint32_t q = 6; q < 10; q++)
        EXPECT_EQ(m->selected[q], 0);
    // The cap lies on the old face.
    for (uint32_t k = 0; k < 4; k++)
        EXPECT_EQ(std::memcmp(&m->verts[8 + k], &m->verts[k], sizeof(Vec3)), 0);

    setnorm(m.get());
    trans2(m.get(), 0.25f);
    for (uint32_t v = 8; v < 12; v++)
        EXPECT_EQ(m->verts[v].z, -3.0f);
    for (uint32_t v = 0; v < 4; v++)
        EXPECT_EQ(m->verts[v].z, -1.0f);
    setnorm(m.get());
    static const float side[4][3] = {{0, -8, 0}, {8, 0, 0}, {0, 8, 0}, {-8, 0, 0}};
    for (int s = 0; s < 4; s++) {
        EXPECT_EQ(m->fnormals[6 + s].x, side[s][0]) << s;
        EXPECT_EQ(m->fnormals[6 + s].y, side[s][1]) << s;
        EXPECT_EQ(m->fnormals[6 + s].z, side[s][2]) << s;
    }
    EXPECT_EQ(m->fnormals[5].z, -8.0f);
}

TEST(Extrude, AllSixFacesGetCapsOfTheirOwn)
{
    auto m = cubeMesh();
    addquad(m.get(), 0.0f);
    ASSERT_EQ(m->nverts, 32u);
    ASSERT_EQ(m->nquads, 30u);
    EXPECT_EQ(countsel(m.get()), 6);
    for (uint32_t f = 0; f < 6; f++) {
        EXPECT_EQ(m->selected[5 * f], 1);
        for (uint32_t k = 0; k < 4; k++)
            EXPECT_EQ(m->quads[5 * f].v[k], 8 + 4 * f + k);
    }
    // Moved along their normals the caps separate: no two share a vertex.
    setnorm(m.get());
    trans2(m.get(), 0.25f);
    for (uint32_t a = 0; a < 6; a++)
        for (uint32_t b = a + 1; b < 6; b++)
            EXPECT_EQ(adjquad(m.get(), 5 * a, 5 * b), 0);
    EXPECT_EQ(m->verts[8].z, -3.0f);
}

TEST(Extrude, NothingSelectedChangesNothingButRecords)
{
    auto m = cubeMesh();
    selectOnly(m.get(), {});
    auto before = newMesh();
    std::memcpy(before.get(), m.get(), sizeof(Mesh));
    resetrecord();
    recordon();
    addquad(m.get(), 3.0f);
    delQuad(m.get(), 3.0f);
    recordoff();
    EXPECT_EQ(std::memcmp(m.get(), before.get(), sizeof(Mesh)), 0);
    ASSERT_EQ(numsteps(), 2);
    EXPECT_EQ(CommandRecord.ops[0], 29);
    EXPECT_EQ(CommandRecord.ops[1], 30);
    EXPECT_EQ(CommandRecord.params[0], 128);
    EXPECT_EQ(CommandRecord.params[1], 128);
}

TEST(Delete, KeepsOrderAndVerticesAndLeavesNothingSelected)
{
    auto m = cubeMesh();
    selectOnly(m.get(), {0, 2, 3});
    LastPickedFace = 4;
    delQuad(m.get(), 0.0f);
    ASSERT_EQ(m->nquads, 3u);
    EXPECT_EQ(m->nverts, 8u);
    expectQuad(*m, 0, 3, 2, 6, 7);
    expectQuad(*m, 1, 0, 3, 7, 4);
    expectQuad(*m, 2, 2, 1, 5, 6);
    EXPECT_EQ(countsel(m.get()), 0);
    EXPECT_EQ(LastPickedFace, 4); // renumbered faces, but the pick is left alone
    select1(m.get(), 0.0f);
    delQuad(m.get(), 0.0f);
    EXPECT_EQ(m->nquads, 0u);
    EXPECT_EQ(m->nverts, 8u);
}

TEST(Delete, AfterExtrudeLeavesOpenRingsOfSides)
{
    auto m = cubeMesh();
    selectOnly(m.get(), {1, 4});
    addquad(m.get(), 0.0f);
    delQuad(m.get(), 0.0f); // the caps are the selection
    ASSERT_EQ(m->nquads, 4u + 8u);
    EXPECT_EQ(m->nverts, 16u);
    // Each ring: four sides, each sharing an edge with the next.
    for (uint32_t r = 0; r < 2; r++) {
        uint32_t first = 4 + 4 * r;
        for (uint32_t s = 0; s < 4; s++)
            EXPECT_EQ(adjquad(m.get(), first + s, first + (s + 1) % 4), 2);
    }
}

TEST(Extrude, MatchesTheOneFaceAtATimeAlgorithmWithSharedCorners)
{
    // Selected faces sharing corners, repeated corners and a NaN corner: each
    // extruded face still copies its own four.
    auto a = newMesh(), b = newMesh();
    for (uint64_t seed = 1; seed <= 200; seed++) {
        Rng r(seed);
        randomOpsMesh(r, a.get(), 60, 80);
        ASSERT_EQ(runBoth(a.get(), b.get(), addquad, oracle::addquad, 0.0f), "") << "seed " << seed;
        ASSERT_EQ(runBoth(a.get(), b.get(), delQuad, oracle::delQuad, 0.0f), "") << "seed " << seed;
    }
}
