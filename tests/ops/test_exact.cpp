// Exact numbers of the operations on the cube and on a lone quad.
#include <cmath>

#include "opsutil.h"

TEST(Exact, RotationAboutZFallsShortOfAQuarterAndAHalfTurn)
{
    // The degree factor is just below pi/180: a quarter turn leaves x > 0.
    const double degree = (double)(float)0.01745328;
    const double near[2][2] = {{0.0000011856, 1.0}, {-1.0, 0.0000023713}};
    for (int k = 0; k < 2; k++) {
        auto m = cubeMesh();
        m->verts[0] = {1, 0, 0};
        rotate3(m.get(), 4.0f * (k + 1));
        const double t = 4.0 * (k + 1) * 22.5 * degree;
        expectVec(m->verts[0], f32(std::cos(t)), f32(std::sin(t)), 0.0f, "rotated");
        EXPECT_NEAR(m->verts[0].x, near[k][0], 1e-10);
        EXPECT_NEAR(m->verts[0].y, near[k][1], 1e-10);
    }
}

TEST(Exact, Trans2AndScalecePerFace)
{
    auto m = cubeMesh("100000");
    trans2(m.get(), 0.25f); // along the stored normal (0, 0, -8)
    for (int v = 0; v < 8; v++)
        EXPECT_EQ(m->verts[v].z, v < 4 ? -3.0f : 1.0f) << v;
    EXPECT_EQ(m->fnormals[0].z, -8.0f); // left for the caller to recompute

    // Face 0 about (0, 0, -1) first; then face 3 (1 0 4 5) about its centre
    // from the moved corners: (0.5-0.5-1+1, -0.5-0.5-1-1, -1-1+1+1)/4.
    m = cubeMesh("100100");
    scalece(m.get(), 0.5f);
    expectVec(m->verts[2], 0.5f, 0.5f, -1.0f, "face 0 only");
    expectVec(m->verts[1], 0.25f, -0.625f, -0.5f, "shared 1");
    expectVec(m->verts[0], -0.25f, -0.625f, -0.5f, "shared 0");
    expectVec(m->verts[4], -0.5f, -0.875f, 0.5f, "face 3 only");
    expectVec(m->verts[6], 1.0f, 1.0f, 1.0f, "untouched");
}

TEST(Exact, UnusedVerticesMoveWithTheWholeObjectOnly)
{
    auto m = cubeMesh("011011");
    delQuad(m.get(), 0); // faces 0 (0 1 2 3) and 3 (1 0 4 5) stay: 6 and 7 unused
    select1(m.get(), 0);
    trans4(m.get(), 1.0f);
    scale6(m.get(), 2.0f);
    rotate2(m.get(), 8.0f);
    EXPECT_TRUE(m->verts[0].x != -1.0f && m->verts[5].y != -1.0f);
    expectVec(m->verts[6], 1, 1, 1, "selection scope 6");
    expectVec(m->verts[7], -1, 1, 1, "selection scope 7");
    trans1(m.get(), 1.0f);
    scale2(m.get(), 3.0f);
    expectVec(m->verts[6], 2, 3, 1, "whole object 6");
    expectVec(m->verts[7], 0, 3, 1, "whole object 7");
    smoooth(m.get(), 0); // and smooth leaves them
    expectVec(m->verts[6], 2, 3, 1, "smoothed 6");
    EXPECT_FALSE(std::isnan(m->verts[0].x));
}

TEST(Exact, ExtrudeOneFaceThenAllSix)
{
    auto m = cubeMesh("100000");
    addquad(m.get(), 0);
    ASSERT_TRUE(m->nverts == 12 && m->nquads == 10);
    // The old faces 1..5 in order, then the cap on the old face, the sides.
    const Quad want[10] = {{{3, 2, 6, 7}},   {{7, 6, 5, 4}}, {{1, 0, 4, 5}},  {{0, 3, 7, 4}},   {{2, 1, 5, 6}},
                           {{8, 9, 10, 11}}, {{8, 0, 1, 9}}, {{9, 1, 2, 10}}, {{10, 2, 3, 11}}, {{11, 3, 0, 8}}};
    for (uint32_t q = 0; q < 10; q++) {
        expectQuad(*m, q, want[q]);
        EXPECT_EQ(m->selected[q], q == 5 ? 1 : 0);
    }
    EXPECT_EQ(std::memcmp(&m->verts[8], &m->verts[0], 4 * sizeof(Vec3)), 0);
    setnorm(m.get());
    trans2(m.get(), 0.25f);
    setnorm(m.get());
    EXPECT_TRUE(m->verts[8].z == -3.0f && m->verts[11].z == -3.0f && m->verts[0].z == -1.0f);
    expectVec(m->fnormals[5], 0, 0, -8, "cap");
    const float side[4][3] = {{0, -8, 0}, {8, 0, 0}, {0, 8, 0}, {-8, 0, 0}};
    for (int s = 0; s < 4; s++)
        expectVec(m->fnormals[6 + s], side[s][0], side[s][1], side[s][2], "side");

    m = cubeMesh();
    addquad(m.get(), 0);
    ASSERT_TRUE(m->nverts == 32 && m->nquads == 30);
    EXPECT_EQ(countsel(m.get()), 6);
    for (uint32_t f = 0; f < 6; f++)
        expectQuad(*m, 5 * f, {{8 + 4 * f, 9 + 4 * f, 10 + 4 * f, 11 + 4 * f}});
}

TEST(Exact, SmoothAndSubdivideTheCube)
{
    auto m = cubeMesh();
    smoooth(m.get(), 0);
    ASSERT_TRUE(m->nverts == 26 && m->nquads == 24);
    // A corner: three centres and three edge sums (exactly -5 per axis),
    // times 1/3 as a float, times 1/3 again: 5/9 within one ulp.
    const float third = f32(1.0 / 3.0), c = f32((double)f32(5.0 * third) * third);
    EXPECT_LE(std::abs((int64_t)bitsOf(c) - (int64_t)bitsOf(f32(5.0 / 9.0))), 1);
    for (uint32_t v = 0; v < 8; v++)
        expectVec(m->verts[v], (v + 1) % 4 < 2 ? -c : c, v % 4 < 2 ? -c : c, v < 4 ? -c : c, "corner");
    expectVec(m->verts[8], 0, 0, -1, "centre of face 0");
    expectVec(m->verts[9], 0, -0.75f, -0.75f, "first edge point");
    const Quad want[5] = {{{0, 9, 8, 12}}, {{1, 10, 8, 9}}, {{2, 11, 8, 10}}, {{3, 12, 8, 11}}, {{3, 11, 13, 16}}};
    for (uint32_t q = 0; q < 5; q++) // face 1 (3 2 6 7) reuses face 0's point 11
        expectQuad(*m, q, want[q]);
    EXPECT_EQ(countsel(m.get()), 24);

    m = cubeMesh("001000"); // children keep their parent's flag
    subd(m.get(), 0);
    ASSERT_TRUE(m->nverts == 26 && m->nquads == 24);
    expectVec(m->verts[6], 1, 1, 1, "corner");
    expectVec(m->verts[8], 0, 0, -1, "centre");
    expectVec(m->verts[9], 0, -1, -1, "midpoint");
    for (uint32_t q = 0; q < 4; q++)
        expectQuad(*m, q, want[q]);
    for (uint32_t q = 0; q < 24; q++)
        EXPECT_EQ(m->selected[q], q / 4 == 2 ? 1 : 0) << q;
}

TEST(Exact, SmoothTheLoneQuad)
{
    auto m = newMesh();
    m->nverts = 4;
    m->verts[1] = {1, 0, 0};
    m->verts[2] = {1, 1, 0};
    m->verts[3] = {0, 1, 0};
    addQ(m.get(), 0, 1, 2, 3, 0);
    smoooth(m.get(), 0);
    ASSERT_TRUE(m->nverts == 9 && m->nquads == 4);
    // A corner goes to the centre plus the next corner minus itself.
    expectVec(m->verts[0], 1.5f, 0.5f, 0, "corner 0");
    expectVec(m->verts[1], 0.5f, 1.5f, 0, "corner 1");
    expectVec(m->verts[2], -0.5f, 0.5f, 0, "corner 2");
    expectVec(m->verts[3], 0.5f, -0.5f, 0, "corner 3");
    expectVec(m->verts[4], 0.5f, 0.5f, 0, "centre");
    // Edge 0-1: (sum (1, 0, 0) + centre) / 3, the third as a float.
    const float third = f32(1.0 / 3.0);
    expectVec(m->verts[5], f32(1.5 * third), f32(0.5 * third), 0, "edge point");
    EXPECT_EQ(m->verts[5].x, 0.5f);
    EXPECT_NEAR(m->verts[5].y, 0.1666667f, 1e-7);
    for (uint32_t q = 0; q < 4; q++)
        expectQuad(*m, q, {{q, 5 + q, 4, 5 + (q + 3) % 4}});
}
