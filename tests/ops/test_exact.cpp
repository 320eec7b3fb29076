// Exact numbers of the operations on the cube: the per-face moves, which
// the literal algorithms take from the runtime, and smoothing.
#include <gtest/gtest.h>

#include <cmath>

#include "opsdiff.h"

// The float a double rounds to, kept at any optimisation level (volatile):
// expected values must not inherit the fault they test.
static float f32(double d)
{
    volatile float f = static_cast<float>(d);
    return f;
}

static void expectVec(const Vec3 &v, float x, float y, float z, const char *what)
{
    EXPECT_TRUE(bitsOf(v.x) == bitsOf(x) && bitsOf(v.y) == bitsOf(y) && bitsOf(v.z) == bitsOf(z))
        << what << ": " << v.x << " " << v.y << " " << v.z << " vs " << x << " " << y << " " << z;
}

static void expectQuad(const Mesh &m, uint32_t q, Quad want)
{
    EXPECT_EQ(std::memcmp(&m.quads[q], &want, sizeof want), 0) << "face " << q;
}

TEST(Exact, RotatedInfinitiesGiveTheOnePositiveQuietNaN)
{
    auto m = cubeMesh(); // inf - inf: whatever the processor makes of it
    m->verts[0] = {INFINITY, INFINITY, 0};
    rotate3(m.get(), 1.0f);
    EXPECT_EQ(bitsOf(m->verts[0].x), 0x7FC00000u);
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
