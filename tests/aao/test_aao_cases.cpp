// The documented cases of the occlusion shading, each also checked against
// the literal double loop byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "aao.h"
#include "aao_literal.h"
#include "aao_pairs.h"
#include "aao_testmesh.h"
#include "testmesh.h"

namespace {

const float Threshold = 0.05f;
const Vec3 Up = {0, 0, 8}; // normalises to (0, 0, 1) exactly

float squaredDistance(Vec3 a, Vec3 b)
{
    Vec3 d;
    maths2(&a, &b, &d);
    return maths12(&d);
}

// maths10 of i's normalised normal with the normalised difference i - j.
float facing(Vec3 normal, Vec3 i, Vec3 j)
{
    Vec3 d;
    maths14(&normal);
    maths2(&i, &j, &d);
    maths14(&d);
    return maths10(&normal, &d);
}

TEST(AaoCases, EmptyMeshLeavesTheColoursUntouched)
{
    auto m = newMesh();
    Colours out = newColours();
    std::memset(out.data(), 0x55, out.size() * sizeof(Vec3));
    Colours before = out;
    computeAAO(m.get(), Threshold, out.data());
    EXPECT_EQ(std::memcmp(out.data(), before.data(), out.size() * sizeof(Vec3)), 0);
}

TEST(AaoCases, IsolatedAndDistantVerticesStayWhite)
{
    auto one = pointMesh({{0.3f, -2, 5}}, {Up});
    EXPECT_EQ(bitsOf(shadeOf(*one, Threshold, 0)), bitsOf(1.0f));
    EXPECT_EQ(shadingDiff(*one, Threshold), "");

    // 0.25 apart (squared 0.0625), each normal pointing at its neighbour.
    std::vector<Vec3> positions, normals;
    for (int k = 0; k < 6; k++) {
        positions.push_back({0.25f * k, 0, 0});
        normals.push_back({k % 2 ? -1.0f : 1.0f, 0, 0});
    }
    auto row = pointMesh(positions, normals);
    for (uint32_t i = 0; i < row->nverts; i++)
        EXPECT_EQ(bitsOf(shadeOf(*row, Threshold, i)), bitsOf(1.0f)) << i;
    EXPECT_EQ(shadingDiff(*row, Threshold), "");
}

TEST(AaoCases, TwoVerticesOnTheNormalDarkenOnlyTheLowerOne)
{
    const Vec3 normal = {0, 0, 0.01f};
    auto m = pointMesh({{0, 0, 0}, {0, 0, 0.1f}}, {normal, normal});
    float d2 = (float)((double)0.1f * (double)0.1f);
    float length = (float)std::sqrt((double)(float)((double)0.01f * (double)0.01f));
    double area = (double)length / (4.0 * 2);
    double darkening = std::sqrt(area / (3.14159265 * ((double)Threshold * (double)Threshold + (double)d2)));
    float expected = (float)(1.0 - darkening);
    EXPECT_NEAR(darkening, std::sqrt(0.01 / (4 * 2 * M_PI * (0.0025 + 0.01))), 1e-6);
    EXPECT_EQ(bitsOf(shadeOf(*m, Threshold, 0)), bitsOf(expected));
    EXPECT_EQ(bitsOf(shadeOf(*m, Threshold, 1)), bitsOf(1.0f)); // i is behind j's tangent plane
    EXPECT_EQ(shadingDiff(*m, Threshold), "");
}

TEST(AaoCases, APairExactlyAtTheThresholdDoesNotInteract)
{
    // Found by search: the float squared distance is exactly (float)0.05.
    const Vec3 i = {0, 0, 0}, atThreshold = {0x1p-10f, 0x1.c9f13ep-3f, 0};
    const Vec3 justInside = {atThreshold.x, std::nextafter(atThreshold.y, 0.0f), 0};
    ASSERT_EQ(squaredDistance(i, atThreshold), Threshold);
    ASSERT_LT(squaredDistance(i, justInside), Threshold);
    const Vec3 towards = {atThreshold.x * 8, atThreshold.y * 8, 0};

    auto at = pointMesh({i, atThreshold}, {towards, Up});
    EXPECT_EQ(bitsOf(shadeOf(*at, Threshold, 0)), bitsOf(1.0f));
    EXPECT_EQ(shadingDiff(*at, Threshold), "");
    auto inside = pointMesh({i, justInside}, {towards, Up});
    EXPECT_LT(shadeOf(*inside, Threshold, 0), 1.0f);
    EXPECT_EQ(shadingDiff(*inside, Threshold), "");
}

TEST(AaoCases, APairExactlyAtTheFacingLimitOrInTheTangentPlaneDoesNotInteract)
{
    // Found by search: maths10 of the normalised vectors is exactly -0.01f.
    const Vec3 i = {0, 0, 0}, atLimit = {0x1.99999ap-5f, 0, 0x1.062838p-11f};
    const Vec3 beyond = {atLimit.x, 0, std::nextafter(atLimit.z, 1.0f)};
    const Vec3 inPlane = {0.1f, 0.05f, 0};
    ASSERT_EQ(facing(Up, i, atLimit), -0.01f);
    ASSERT_LT(facing(Up, i, beyond), -0.01f);
    ASSERT_EQ(facing(Up, i, inPlane), 0.0f);

    for (Vec3 j : {atLimit, inPlane}) {
        auto m = pointMesh({i, j}, {Up, Up});
        EXPECT_EQ(bitsOf(shadeOf(*m, Threshold, 0)), bitsOf(1.0f));
        EXPECT_EQ(shadingDiff(*m, Threshold), "");
    }
    auto m = pointMesh({i, beyond}, {Up, Up});
    EXPECT_LT(shadeOf(*m, Threshold, 0), 1.0f);
    EXPECT_EQ(shadingDiff(*m, Threshold), "");
}

TEST(AaoCases, TheStartingCubeIsAllWhite)
{
    auto m = newMesh();
    addcube(m.get(), 0);
    setnorm(m.get());
    for (uint32_t i = 0; i < 8; i++)
        EXPECT_EQ(bitsOf(shadeOf(*m, Threshold, i)), bitsOf(1.0f)) << i;
    EXPECT_EQ(shadingDiff(*m, Threshold), "");
}

TEST(AaoCases, ManyCloseOccludersDriveTheShadeBelowZero)
{
    std::vector<Vec3> positions = {{0, 0, 0}}, normals = {Up};
    for (int k = 0; k < 60; k++) {
        float angle = 0.1f * k;
        positions.push_back({0.1f * std::cos(angle), 0.1f * std::sin(angle), 0.05f + 0.001f * k});
        normals.push_back({0, 0, 4});
    }
    auto m = pointMesh(positions, normals);
    float shade = shadeOf(*m, Threshold, 0);
    EXPECT_LT(shade, -1.0f); // stored as it is, not clamped
    EXPECT_EQ(shadingDiff(*m, Threshold), "");
}

TEST(AaoCases, ZeroNormalsNeitherGetNorGiveShade)
{
    const Vec3 zero = {0, 0, 0};
    // Vertex 0 has no direction; vertex 2 has no size.
    auto m = pointMesh({{0, 0, 0}, {0, 0, 0.1f}, {1, 0, 0}, {1, 0, 0.1f}}, {zero, Up, Up, zero});
    EXPECT_EQ(bitsOf(shadeOf(*m, Threshold, 0)), bitsOf(1.0f));
    EXPECT_EQ(bitsOf(shadeOf(*m, Threshold, 2)), bitsOf(1.0f));
    EXPECT_EQ(shadingDiff(*m, Threshold), "");

    // A normal too small to normalise (its squared length is 0 as a float).
    auto tiny = pointMesh({{0, 0, 0}, {0, 0, 0.1f}}, {{0, 0, 1e-30f}, Up});
    EXPECT_EQ(bitsOf(shadeOf(*tiny, Threshold, 0)), bitsOf(1.0f));
    EXPECT_EQ(shadingDiff(*tiny, Threshold), "");
}

TEST(AaoCases, CoincidentVerticesDoNotOccludeEachOther)
{
    // 40 copies of one point with the occluder in the middle of them.
    std::vector<Vec3> positions(41, Vec3{0.5f, 0.5f, 0.5f}), normals(41, Up);
    positions[20] = {0.5f, 0.55f, 0.6f};
    auto m = pointMesh(positions, normals);
    float copy = shadeOf(*m, Threshold, 0);
    EXPECT_LT(copy, 1.0f);
    for (uint32_t i = 0; i < 41; i++) {
        if (i == 20)
            continue;
        EXPECT_EQ(bitsOf(shadeOf(*m, Threshold, i)), bitsOf(copy)) << i;
    }
    EXPECT_EQ(bitsOf(shadeOf(*m, Threshold, 20)), bitsOf(1.0f));
    EXPECT_EQ(shadingDiff(*m, Threshold), "");
}

TEST(AaoCases, HugeCoordinatesInteractOnlyWhenEqualAlongTheHugeAxis)
{
    const float big = 1e30f, next = std::nextafter(big, INFINITY);
    const Vec3 side = {0, 8, 0};
    auto equal = pointMesh({{big, 0, 0}, {big, 0.1f, 0}}, {side, side});
    EXPECT_LT(shadeOf(*equal, Threshold, 0), 1.0f);
    EXPECT_EQ(shadingDiff(*equal, Threshold), "");
    auto apart = pointMesh({{big, 0, 0}, {next, 0.1f, 0}}, {side, side});
    EXPECT_EQ(bitsOf(shadeOf(*apart, Threshold, 0)), bitsOf(1.0f));
    EXPECT_EQ(shadingDiff(*apart, Threshold), "");

    // Either side of the magnitude where neighbouring floats become farther
    // apart than the threshold allows (2^23 for 0.05), and at the top.
    for (float x : {0x1p22f, 0x1.fffffep22f, 0x1p23f, -0x1p23f, 3.4e38f, -3.4e38f}) {
        auto m = pointMesh({{x, 0, 0}, {x, 0.1f, 0}, {std::nextafter(x, 0.0f), 0.15f, 0}, {x, 0.3f, 0.1f}},
                           {side, side, side, side});
        EXPECT_LT(shadeOf(*m, Threshold, 0), 1.0f) << x;
        EXPECT_EQ(shadingDiff(*m, Threshold), "") << x;
    }
}

TEST(AaoCases, InfiniteAndNotANumberPositionsNeverInteract)
{
    const float specials[] = {INFINITY, -INFINITY, NAN, 3.4e38f, -3.4e38f, 0.0f, 1.0f};
    // No squared distance involving a non-finite coordinate is below any
    // threshold, an infinite one included.
    for (float a : specials)
        for (float b : specials) {
            if (std::isfinite(a) && std::isfinite(b))
                continue;
            float d2 = squaredDistance({a, 0, 0}, {b, 0, 0});
            EXPECT_FALSE(d2 < INFINITY) << a << " " << b;
            EXPECT_FALSE(squaredDistance({0, a, 1}, {0, b, 1}) < INFINITY) << a << " " << b;
        }

    std::vector<Vec3> positions = {{0, 0, 0}, {INFINITY, 0, 0.1f}, {0, NAN, 0.1f}, {0, 0, -INFINITY},
                                   {INFINITY, INFINITY, INFINITY}, {0, 0, 0.1f}};
    auto m = pointMesh(positions, std::vector<Vec3>(positions.size(), Up));
    for (uint32_t i = 1; i < 5; i++)
        EXPECT_EQ(bitsOf(shadeOf(*m, Threshold, i)), bitsOf(1.0f)) << i;
    EXPECT_LT(shadeOf(*m, Threshold, 0), 1.0f); // darkened by vertex 5 alone
    for (float t : {Threshold, INFINITY})
        EXPECT_EQ(shadingDiff(*m, t), "") << t;
}

TEST(AaoCases, ThresholdsThatAdmitNothingOrEverything)
{
    Rng rng(7);
    auto m = randomCloud(rng, 300, 0.5f);
    for (float t : {0.0f, -0.0f, -1.0f, NAN, -INFINITY}) {
        EXPECT_EQ(shadingDiff(*m, t), "") << t;
        for (uint32_t i = 0; i < m->nverts; i += 37)
            EXPECT_EQ(bitsOf(shadeOf(*m, t, i)), bitsOf(1.0f)) << t;
    }
    for (float t : {INFINITY, 3.4e38f, 1e30f, 1e-45f, 1e-20f, 2.0f})
        EXPECT_EQ(shadingDiff(*m, t), "") << t;
}

TEST(AaoCases, TheInlinedVectorStepsMatchTheRuntimeRoutines)
{
    Rng rng(11);
    const float specials[] = {0.0f, -0.0f, 1e-40f, 0.1f, -3.0f, 3.4e38f, INFINITY, NAN};
    for (int k = 0; k < 20000; k++) {
        auto pick = [&]() {
            return rng.below(8) == 0 ? specials[rng.below(8)] : uniform(rng, -2, 2) * std::ldexp(1.0f, (int)rng.below(40) - 20);
        };
        Vec3 a = {pick(), pick(), pick()}, b = {pick(), pick(), pick()};
        float s = pick();
        Vec3 expected, got = exactDifference(a, b);
        maths2(&a, &b, &expected);
        ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0);
        expected = a;
        maths9(&expected, s);
        got = exactScaled(a, s);
        ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0);
        ASSERT_EQ(bitsOf(exactDot(a, b)), bitsOf(maths10(&a, &b)));
    }
}

TEST(AaoCases, BatchedScalesEqualTheDoubleRoutineForEveryMantissa)
{
    RecordProperty("batches", pairBatchName());
    // The square root and the reciprocal scale by exact powers of two
    // between binades (two binades at a time for the root), so every
    // mantissa in the subnormals, at 1 to 4 and at both ends of the range
    // covers all behaviours; plus zeros, infinity and not-a-number.
    std::vector<float> squared, scales;
    const uint32_t exponents[] = {0, 1, 2, 127, 128, 253, 254};
    for (uint32_t exponent : exponents) {
        squared.resize(1u << 23);
        for (uint32_t mantissa = 0; mantissa < (1u << 23); mantissa++) {
            uint32_t bits = exponent << 23 | mantissa;
            std::memcpy(&squared[mantissa], &bits, 4);
        }
        if (exponent == 0)
            squared.insert(squared.end(), {-0.0f, INFINITY, NAN});
        scales.resize(squared.size());
        normalisingScales(squared.data(), (uint32_t)squared.size(), scales.data());
        for (size_t k = 0; k < squared.size(); k++)
            ASSERT_EQ(bitsOf(scales[k]), bitsOf(exactScale(squared[k]))) << squared[k];
    }
}

} // namespace
