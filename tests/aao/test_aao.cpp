// Occlusion shading: the documented cases, and the grid search against the
// literal double loop on many meshes, every output byte of every vertex.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "aao.h"
#include "aao_literal.h"
#include "randrec.h"
#include "testmesh.h"

namespace {

const float Threshold = 0.05f;
std::vector<Vec3> Fast(MIRL_MAXVERTS), Literal(MIRL_MAXVERTS), Split(MIRL_MAXVERTS);

// Loose vertices: only positions and vertex normals matter to the shading.
std::unique_ptr<Mesh> pointMesh(const std::vector<Vec3> &positions, const std::vector<Vec3> &normals)
{
    auto m = newMesh();
    m->nverts = (uint32_t)positions.size();
    std::copy(positions.begin(), positions.end(), m->verts);
    std::copy(normals.begin(), normals.end(), m->vnormals);
    return m;
}

// Both shadings into arrays that start with the same junk; "" when every
// byte agrees. Fast holds the grid's colours afterwards; the grid by one
// thread and by more threads than cores must give them too.
std::string shadingDiff(const Mesh &m, float threshold)
{
    std::memset(Fast.data(), 0x7f, Fast.size() * sizeof(Vec3));
    std::memset(Literal.data(), 0x7f, Literal.size() * sizeof(Vec3));
    computeAAO(&m, threshold, Fast.data());
    literalAAO(&m, threshold, Literal.data());
    for (unsigned threads : {1u, 7u}) {
        std::memset(Split.data(), 0x7f, Split.size() * sizeof(Vec3));
        computeAAOThreads(&m, threshold, Split.data(), threads);
        if (std::memcmp(Split.data(), Fast.data(), Fast.size() * sizeof(Vec3)) != 0)
            return std::to_string(threads) + " threads differ";
    }
    size_t i = 0;
    while (i < Fast.size() && std::memcmp(&Fast[i], &Literal[i], sizeof(Vec3)) == 0)
        i++;
    if (i == Fast.size())
        return "";
    char text[120];
    std::snprintf(text, sizeof text, "vertex %zu of %u: grid %a, literal %a", i, m.nverts, Fast[i].x, Literal[i].x);
    return text;
}

// The grey of vertex i (after checking the mesh against the double loop).
float shade(const Mesh &m, uint32_t i, float threshold = Threshold)
{
    EXPECT_EQ(shadingDiff(m, threshold), "");
    EXPECT_TRUE(bitsOf(Fast[i].x) == bitsOf(Fast[i].y) && bitsOf(Fast[i].x) == bitsOf(Fast[i].z));
    return Fast[i].x;
}

float uniform(Rng &rng, float lo, float hi)
{
    return (float)(lo + (hi - lo) * ((double)(rng.next() >> 11) / 9007199254740992.0));
}

// Random positions in a cube of the given side; random normals of random
// length, every tenth one zero.
std::unique_ptr<Mesh> randomCloud(Rng &rng, uint32_t count, float side)
{
    std::vector<Vec3> p(count), n(count);
    for (uint32_t i = 0; i < count; i++) {
        p[i] = {uniform(rng, 0, side), uniform(rng, 0, side), uniform(rng, 0, side)};
        float length = i % 10 == 9 ? 0.0f : uniform(rng, 0.001f, 3.0f);
        n[i] = {uniform(rng, -1, 1) * length, uniform(rng, -1, 1) * length, uniform(rng, -1, 1) * length};
    }
    return pointMesh(p, n);
}

TEST(AaoCases, TwoVerticesOnTheNormalDarkenOnlyTheLowerOne)
{
    const Vec3 normal = {0, 0, 0.01f};
    auto m = pointMesh({{0, 0, 0}, {0, 0, 0.1f}}, {normal, normal});
    float d2 = (float)((double)0.1f * (double)0.1f);
    float length = (float)std::sqrt((double)(float)((double)0.01f * (double)0.01f));
    double darkening = std::sqrt((double)length / 8 / (3.14159265 * ((double)Threshold * Threshold + d2)));
    EXPECT_NEAR(darkening, std::sqrt(0.01 / (4 * 2 * M_PI * (0.0025 + 0.01))), 1e-6);
    EXPECT_EQ(bitsOf(shade(*m, 0)), bitsOf((float)(1.0 - darkening)));
    EXPECT_EQ(bitsOf(shade(*m, 1)), bitsOf(1.0f)); // behind the other's tangent plane
}

TEST(AaoCases, EmptyMeshAndThresholdsThatAdmitNothingOrEverything)
{
    Fast[0].x = 5.0f;
    computeAAO(newMesh().get(), Threshold, Fast.data());
    EXPECT_EQ(Fast[0].x, 5.0f); // untouched
    Rng rng(7);
    auto m = randomCloud(rng, 300, 0.5f);
    for (float t : {0.0f, -0.0f, -1.0f, NAN, -INFINITY, INFINITY, 3.4e38f, 1e-45f, 2.0f})
        EXPECT_TRUE(shade(*m, 299, t) == 1.0f || t > 0) << t; // shade() also compares with the double loop
}

TEST(AaoDiff, RandomCloudsOfEveryDensityWithClustersAndOddCoordinates)
{
    // From a few hundred neighbours within sqrt(0.05) down to almost none.
    uint64_t seed = 1;
    for (float side : {0.4f, 1.0f, 2.5f, 6.0f, 40.0f})
        for (uint32_t count : {1, 2, 700, 2500}) {
            Rng rng(seed++);
            ASSERT_EQ(shadingDiff(*randomCloud(rng, count, side), Threshold), "") << side << " " << count;
        }
    // Clusters of exact copies and of points a few ulps apart; huge, infinite
    // and not-a-number coordinates and normals.
    const float odd[] = {1e30f, -1e30f, 0x1p23f, 0x1.fffffep22f, 3.4e38f, INFINITY, -INFINITY, NAN};
    for (seed = 1; seed <= 20; seed++) {
        Rng rng(seed);
        auto m = randomCloud(rng, 1500, seed <= 10 ? 3.0f : 1.0f);
        for (uint32_t i = 0; i < m->nverts; i++) {
            Vec3 p = m->verts[rng.below(6)];
            uint32_t how = rng.below(4);
            p.x = how == 1 ? std::nextafter(p.x, 10.0f) : p.x;
            p.y += how == 2 ? uniform(rng, -0.2f, 0.2f) : 0.0f;
            if (seed <= 10 && how != 3)
                m->verts[i] = p;
            if (seed > 10 && rng.below(3) == 0)
                (&m->verts[i].x)[rng.below(3)] = odd[rng.below(8)];
            if (seed > 10 && rng.below(10) == 0)
                m->vnormals[i].y = odd[rng.below(8)];
        }
        ASSERT_EQ(shadingDiff(*m, Threshold), "") << seed;
    }
}

TEST(AaoDiff, LatticesWithNeighboursExactlyAtTheThreshold)
{
    // Spacing 0.25: axis neighbours exactly 0.0625 apart squared, diagonal
    // ones 0.125.
    std::vector<Vec3> p, n;
    Rng rng(3);
    for (int k = 0; k < 729; k++) {
        p.push_back({0.25f * (k % 9 - 4), 0.25f * (k / 9 % 9 - 4), 0.25f * (k / 81 - 4)});
        n.push_back({uniform(rng, -1, 1), uniform(rng, -1, 1), uniform(rng, -1, 1)});
    }
    auto m = pointMesh(p, n);
    for (float t : {0.0625f, std::nextafter(0.0625f, 1.0f), 0.125f, std::nextafter(0.125f, 1.0f), 0.1875f, Threshold})
        ASSERT_EQ(shadingDiff(*m, t), "") << t;
    shade(*m, 0, 0.0625f);
    for (uint32_t i = 0; i < m->nverts; i++)
        ASSERT_EQ(Fast[i].x, 1.0f) << i; // every pair sits on the threshold
}

TEST(AaoDiff, OccludersTurnedToWhereTheyStopCounting)
{
    // Vertex 1 at -(e + s n) from vertex 0, whose normal is n: s is halved
    // down to the float where the double loop's decision flips (facing or
    // reach), where the order and rounding of every step matter.
    static auto m = newMesh();
    m->nverts = 2;
    Rng rng(11);
    for (int k = 0; k < 300; k++) {
        const Vec3 n = {uniform(rng, -1, 1), uniform(rng, -1, 1), uniform(rng, -1, 1)};
        const Vec3 e = {uniform(rng, -0.1f, 0.1f), uniform(rng, -0.1f, 0.1f), uniform(rng, -0.1f, 0.1f)};
        auto dark = [&](float s) {
            m->verts[1] = {-(e.x + s * n.x), -(e.y + s * n.y), -(e.z + s * n.z)};
            m->vnormals[0] = m->vnormals[1] = n;
            literalAAO(m.get(), Threshold, Literal.data());
            return Literal[0].x < 1.0f;
        };
        float lo = -0.2f, hi = 0.2f;
        if (dark(lo) == dark(hi))
            continue;
        for (int i = 0; i < 40; i++)
            (dark(lo + (hi - lo) / 2) == dark(lo) ? lo : hi) = lo + (hi - lo) / 2;
        for (float s : {lo, hi}) {
            dark(s);
            ASSERT_EQ(shadingDiff(*m, Threshold), "") << k;
        }
    }
}

TEST(AaoDiff, MeshesOfRandomRecords)
{
    auto scratch = newMesh(), m = newMesh();
    RecOptions options;
    options.faceBudget = 1200;
    for (uint64_t seed = 1; seed <= 40; seed++) {
        mirlObj record = randomRecord(seed, options, scratch.get());
        replayInto(record, m.get());
        ASSERT_EQ(shadingDiff(*m, Threshold), "") << "record seed " << seed;
    }
}

} // namespace
