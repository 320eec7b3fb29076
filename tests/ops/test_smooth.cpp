// Subdivide and smooth: the cube, the lone quad, children order and flags,
// shared points, unused vertices, and every float rounding of the sums.
#include <gtest/gtest.h>

#include <cmath>

#include "oracle.h"
#include "opsutil.h"

namespace {

void expectVec(const Vec3 &v, float x, float y, float z, const char *what)
{
    EXPECT_EQ(bitsOf(v.x), bitsOf(x)) << what << " x " << v.x << " vs " << x;
    EXPECT_EQ(bitsOf(v.y), bitsOf(y)) << what << " y " << v.y << " vs " << y;
    EXPECT_EQ(bitsOf(v.z), bitsOf(z)) << what << " z " << v.z << " vs " << z;
}

void expectQuad(const Mesh &m, uint32_t q, uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    EXPECT_EQ(m.quads[q].v[0], a) << "face " << q;
    EXPECT_EQ(m.quads[q].v[1], b) << "face " << q;
    EXPECT_EQ(m.quads[q].v[2], c) << "face " << q;
    EXPECT_EQ(m.quads[q].v[3], d) << "face " << q;
}

// Distance in units in the last place between two finite floats of one sign.
int64_t ulps(float a, float b)
{
    return std::llabs((int64_t)bitsOf(a) - (int64_t)bitsOf(b));
}

} // namespace

TEST(Smooth, CubeGivesTheCatmullClarkPointsAndChildren)
{
    auto m = cubeMesh();
    smoooth(m.get(), 0.0f);
    ASSERT_EQ(m->nverts, 26u);
    ASSERT_EQ(m->nquads, 24u);
    // A corner: three faces, sums of three centres and three edge sums
    // (exact: -5 per axis), times 1/3 as a float, times 0 + that, times 1/3.
    const float third = f32(1.0 / 3.0);
    const float corner = f32((double)f32(5.0 * third) * third);
    EXPECT_LE(ulps(corner, f32(5.0 / 9.0)), 1);
    for (uint32_t v = 0; v < 8; v++) {
        const float sx = v == 1 || v == 2 || v == 5 || v == 6 ? 1.0f : -1.0f;
        const float sy = v == 2 || v == 3 || v == 6 || v == 7 ? 1.0f : -1.0f;
        const float sz = v >= 4 ? 1.0f : -1.0f;
        expectVec(m->verts[v], sx * corner, sy * corner, sz * corner, "corner");
    }
    expectVec(m->verts[8], 0.0f, 0.0f, -1.0f, "centre of face 0");
    expectVec(m->verts[9], 0.0f, -0.75f, -0.75f, "first edge point");
    expectQuad(*m, 0, 0, 9, 8, 12);
    expectQuad(*m, 1, 1, 10, 8, 9);
    expectQuad(*m, 2, 2, 11, 8, 10);
    expectQuad(*m, 3, 3, 12, 8, 11);
    // Face 1 (3 2 6 7) shares edge 3-2 with face 0: its point is 11.
    expectQuad(*m, 4, 3, 11, 13, 16);
    EXPECT_EQ(countsel(m.get()), 24);
}

TEST(Smooth, SubdividingTheCubeKeepsCornersAndTakesMidpoints)
{
    auto m = cubeMesh();
    subd(m.get(), 0.0f);
    ASSERT_EQ(m->nverts, 26u);
    ASSERT_EQ(m->nquads, 24u);
    expectVec(m->verts[0], -1.0f, -1.0f, -1.0f, "corner");
    expectVec(m->verts[6], 1.0f, 1.0f, 1.0f, "corner");
    expectVec(m->verts[8], 0.0f, 0.0f, -1.0f, "centre");
    expectVec(m->verts[9], 0.0f, -1.0f, -1.0f, "midpoint");
    expectQuad(*m, 0, 0, 9, 8, 12);
    expectQuad(*m, 3, 3, 12, 8, 11);
}

TEST(Smooth, LoneQuadCornersGoToCentrePlusNextCornerMinusItself)
{
    auto m = loneQuad();
    smoooth(m.get(), 0.0f);
    ASSERT_EQ(m->nverts, 9u);
    ASSERT_EQ(m->nquads, 4u);
    expectVec(m->verts[0], 1.5f, 0.5f, 0.0f, "corner 0");
    expectVec(m->verts[1], 0.5f, 1.5f, 0.0f, "corner 1");
    expectVec(m->verts[2], -0.5f, 0.5f, 0.0f, "corner 2");
    expectVec(m->verts[3], 0.5f, -0.5f, 0.0f, "corner 3");
    expectVec(m->verts[4], 0.5f, 0.5f, 0.0f, "centre");
    // Edge 0-1: (sum (1, 0, 0) + centre) / 3, the third as a float.
    const float third = f32(1.0 / 3.0);
    expectVec(m->verts[5], f32(1.5 * third), f32(0.5 * third), 0.0f, "edge point");
    EXPECT_EQ(m->verts[5].x, 0.5f);
    EXPECT_NEAR(m->verts[5].y, 0.1666667f, 1e-7);
    expectQuad(*m, 0, 0, 5, 4, 8);
    expectQuad(*m, 1, 1, 6, 4, 5);
    expectQuad(*m, 2, 2, 7, 4, 6);
    expectQuad(*m, 3, 3, 8, 4, 7);
}

TEST(Smooth, ChildrenKeepTheirParentsFlag)
{
    auto m = cubeMesh();
    selectOnly(m.get(), {2});
    m->selected[4] = 7; // any nonzero value passes on as it is
    smoooth(m.get(), 0.0f);
    for (uint32_t q = 0; q < 24; q++) {
        int32_t want = q / 4 == 2 ? 1 : q / 4 == 4 ? 7 : 0;
        EXPECT_EQ(m->selected[q], want) << q;
    }
}

TEST(Smooth, UnusedOldVertexStaysWhereItIs)
{
    auto m = cubeMesh();
    selectOnly(m.get(), {1, 2, 4, 5});
    delQuad(m.get(), 0.0f); // vertices 6 and 7 are used by no face
    const Vec3 six = m->verts[6], seven = m->verts[7];
    smoooth(m.get(), 0.0f);
    expectVec(m->verts[6], six.x, six.y, six.z, "unused 6");
    expectVec(m->verts[7], seven.x, seven.y, seven.z, "unused 7");
    EXPECT_FALSE(std::isnan(m->verts[0].x));
    // No faces at all: nothing changes, not even the leftover vertices.
    selectOnly(m.get(), {});
    select1(m.get(), 0.0f);
    delQuad(m.get(), 0.0f);
    auto before = newMesh();
    std::memcpy(before.get(), m.get(), sizeof(Mesh));
    smoooth(m.get(), 0.0f);
    subd(m.get(), 0.0f);
    EXPECT_EQ(meshDiff(*m, *before), "");
}

TEST(Smooth, EqualSumsOfDistinctEdgesAreOnePoint)
{
    // Two cubes on the same spot: the second cube's edge sums equal the
    // first's, so it makes only its six centres.
    auto m = cubeMesh();
    addcube(m.get(), 0.0f);
    auto slow = newMesh();
    std::memcpy(slow.get(), m.get(), sizeof(Mesh));
    smoooth(m.get(), 0.0f);
    EXPECT_EQ(m->nverts, 16u + 12u + 12u);
    EXPECT_EQ(m->nquads, 48u);
    // Cube two's first child (8, e, c, e') uses cube one's edge points.
    EXPECT_EQ(m->quads[24].v[0], 8u);
    EXPECT_EQ(m->quads[24].v[1], 17u);
    EXPECT_EQ(m->quads[24].v[2], 34u);
    oracle::smoooth(slow.get(), 0.0f);
    EXPECT_EQ(meshDiff(*m, *slow), "");
}

TEST(Smooth, APointMatchesTheEarliestEqualCentreAndTakesTheLatestZeroSigns)
{
    // Face A has all four corners at (-0, 1, 0): its centre is (+0, 1, 0),
    // summed onto +0, and its edge midpoints (-0, 1, 0) compare equal to it,
    // so every edge point of A is A's centre, which takes the -0. Face C
    // has a NaN corner.
    auto m = newMesh();
    m->nverts = 6;
    m->verts[0] = {-0.0f, 1.0f, 0.0f};
    m->verts[1] = {-0.0f, 0.5f, 0.0f};
    m->verts[2] = {3.0f, 0.5f, 0.0f};
    m->verts[3] = {3.0f, 4.0f, 0.0f};
    m->verts[4] = {NAN, 0.0f, 0.0f};
    m->verts[5] = {-0.0f, 0.0f, 0.0f};
    addQ(m.get(), 0, 0, 0, 0, 0);
    addQ(m.get(), 1, 1, 2, 3, 0);
    addQ(m.get(), 4, 4, 5, 5, 1);
    auto slow = newMesh();
    std::memcpy(slow.get(), m.get(), sizeof(Mesh));
    subd(m.get(), 0.0f);
    // A: centre 6 = (+0, 1, 0); its four edge midpoints are (-0, 1, 0): the
    // centre again. B: centre 7, first edge (1, 1) midpoint (-0, 0.5, 0) new.
    EXPECT_EQ(m->quads[0].v[1], 6u);
    EXPECT_TRUE(std::signbit(m->verts[6].x));
    EXPECT_EQ(m->quads[4].v[2], 7u);
    // C: edges through the NaN corner never match, not even each other.
    uint32_t c0 = m->quads[8].v[1], c1 = m->quads[9].v[1];
    EXPECT_NE(c0, c1);
    EXPECT_TRUE(std::isnan(m->verts[c0].x));
    oracle::subd(slow.get(), 0.0f);
    EXPECT_EQ(meshDiff(*m, *slow), "");
}

TEST(Smooth, EveryAccumulationStepIsRoundedToFloat)
{
    // Coordinates whose sums are inexact in float: summing in double and
    // rounding only at the end gives other bits, which this test must see.
    auto m = newMesh();
    m->nverts = 4;
    m->verts[0] = {0.1f, 0.7f, 3.1f};
    m->verts[1] = {1.3f, 0.3f, 1.0f / 3.0f};
    m->verts[2] = {7.7f, 5.9f, -0.7f};
    m->verts[3] = {-2.9f, 0.9f, 1.7f};
    addQ(m.get(), 0, 1, 2, 3, 0);
    Vec3 p[4];
    for (int k = 0; k < 4; k++)
        p[k] = m->verts[k];
    smoooth(m.get(), 0.0f);

    // Corner 0 by hand, float by float: centre, edge sum, accumulator.
    float exact[3], loose[3];
    for (int a = 0; a < 3; a++) {
        auto c = [&](int k) { return (double)(&p[k].x)[a]; };
        float ctr = 0.0f;
        for (int k = 0; k < 4; k++)
            ctr = f32(c(k) + (double)ctr);
        ctr = f32((double)ctr * 0.25);
        float sum = f32(c(0) + c(1));
        float acc = f32(0.0 + (double)ctr);
        acc = f32((double)acc + (double)sum);
        acc = f32((double)acc * 1.0);                   // times 1/n, n = 1
        float pos = f32(c(0) * -2.0 + (double)acc);     // times n - 3
        exact[a] = f32((double)pos * 1.0);
        // The same with the sums carried in double, rounded only at the end.
        double ctrd = (c(0) + c(1) + c(2) + c(3)) * 0.25;
        double accd = ctrd + (c(0) + c(1));
        loose[a] = f32(c(0) * -2.0 + accd);
    }
    expectVec(m->verts[0], exact[0], exact[1], exact[2], "corner 0");
    EXPECT_TRUE(bitsOf(exact[0]) != bitsOf(loose[0]) || bitsOf(exact[1]) != bitsOf(loose[1]) ||
                bitsOf(exact[2]) != bitsOf(loose[2]))
        << "the data no longer tells a lost rounding apart";
}

TEST(Smooth, MatchesTheLiteralAlgorithmOnRandomMeshes)
{
    // Equal sums, equal centres, signed zeros, NaN and infinities, repeated
    // corners, unused vertices: the hash must find exactly what the scan finds.
    auto a = newMesh(), b = newMesh();
    for (uint64_t seed = 1; seed <= 400; seed++) {
        Rng r(seed * 7919);
        randomOpsMesh(r, a.get(), 40, 60);
        ASSERT_EQ(runBoth(a.get(), b.get(), subd, oracle::subd, 0.0f), "") << "seed " << seed;
        // Again on the result: points of the first level coincide often.
        ASSERT_EQ(runBoth(a.get(), b.get(), smoooth, oracle::smoooth, 0.0f), "") << "seed " << seed;
        ASSERT_EQ(runBoth(a.get(), b.get(), smoooth, oracle::smoooth, 0.0f), "") << "seed " << seed;
    }
}
