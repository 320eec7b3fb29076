// The grid search against the literal double loop on many meshes: every
// output byte of every vertex must be the same.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "aao.h"
#include "aao_literal.h"
#include "aao_testmesh.h"
#include "randrec.h"
#include "testmesh.h"

namespace {

const float Threshold = 0.05f;

TEST(AaoDiff, RandomCloudsOfEveryDensity)
{
    // Sides chosen so that a vertex has from a few hundred neighbours within
    // sqrt(0.05) down to almost none.
    const float sides[] = {0.4f, 1.0f, 2.5f, 6.0f, 40.0f};
    const uint32_t counts[] = {1, 2, 700, 2500};
    uint64_t seed = 1;
    for (float side : sides)
        for (uint32_t count : counts) {
            Rng rng(seed++);
            auto m = randomCloud(rng, count, side);
            ASSERT_EQ(shadingDiff(*m, Threshold), "") << side << " " << count;
        }
}

TEST(AaoDiff, ClustersOfCloseAndCoincidentVertices)
{
    for (uint64_t seed = 1; seed <= 12; seed++) {
        Rng rng(seed);
        auto m = randomCloud(rng, 1500, 3.0f);
        // A few centres, each copied exactly or moved by a few ulps.
        for (uint32_t i = 0; i < m->nverts; i++) {
            uint32_t centre = rng.below(6);
            Vec3 p = m->verts[centre];
            switch (rng.below(3)) {
            case 0:
                break;
            case 1:
                p.x = std::nextafter(p.x, 10.0f);
                p.z = std::nextafter(std::nextafter(p.z, -10.0f), -10.0f);
                break;
            default:
                p.y += uniform(rng, -0.2f, 0.2f);
            }
            if (rng.below(4))
                m->verts[i] = p;
        }
        ASSERT_EQ(shadingDiff(*m, Threshold), "") << seed;
    }
}

TEST(AaoDiff, LatticesWithNeighboursExactlyAtTheThreshold)
{
    // Spacing 0.25: axis neighbours are exactly 0.0625 apart squared and
    // diagonal ones 0.125, both exact in float.
    std::vector<Vec3> positions, normals;
    Rng rng(3);
    for (int x = -4; x < 5; x++)
        for (int y = -4; y < 5; y++)
            for (int z = -4; z < 5; z++) {
                positions.push_back({0.25f * x, 0.25f * y, 0.25f * z});
                normals.push_back({uniform(rng, -1, 1), uniform(rng, -1, 1), uniform(rng, -1, 1)});
            }
    auto m = pointMesh(positions, normals);
    const float thresholds[] = {0.0625f, std::nextafter(0.0625f, 1.0f), 0.125f, std::nextafter(0.125f, 1.0f),
                                0.1875f, Threshold};
    for (float t : thresholds)
        ASSERT_EQ(shadingDiff(*m, t), "") << t;

    Colours out = newColours();
    computeAAO(m.get(), 0.0625f, out.data());
    for (uint32_t i = 0; i < m->nverts; i++)
        ASSERT_EQ(bitsOf(out[i].x), bitsOf(1.0f)) << i; // every pair sits on the threshold

    // Pairs exactly at (float)0.05, spread over many cell positions.
    std::vector<Vec3> pairs, pairNormals;
    const Vec3 step = {0x1p-10f, 0x1.c9f13ep-3f, 0};
    for (int k = 0; k < 200; k++) {
        Vec3 base = {0.125f * (k % 13) - 0.75f, 0, 0.0625f * (k / 13)};
        Vec3 other = {base.x + step.x, base.y + step.y, base.z};
        pairs.push_back(base);
        pairs.push_back(other);
        pairNormals.push_back({step.x, step.y, 0});
        pairNormals.push_back({-step.x, -step.y, 0});
    }
    auto onThreshold = pointMesh(pairs, pairNormals);
    ASSERT_EQ(shadingDiff(*onThreshold, Threshold), "");
}

TEST(AaoDiff, DecisionsWithinAFewUlpsOfBothLimits)
{
    // Pairs one unit apart from each other, stepping ulp by ulp across the
    // threshold and across the facing limit, so that any rounding done
    // differently flips some decision.
    const Vec3 up = {0, 0, 8};
    const Vec3 atThreshold = {0x1p-10f, 0x1.c9f13ep-3f, 0}, atLimit = {0x1.99999ap-5f, 0, 0x1.062838p-11f};
    std::vector<Vec3> positions, normals;
    float y = atThreshold.y, z = atLimit.z;
    for (int k = 0; k < 300; k++) {
        y = std::nextafter(y, 0.0f);
        z = std::nextafter(z, 0.0f);
    }
    for (int k = 0; k < 600; k++) {
        positions.push_back({0, 0, (float)(k + 1)});
        positions.push_back({atThreshold.x, y, (float)(k + 1)});
        normals.push_back({atThreshold.x, y, 0});
        normals.push_back(up);
        positions.push_back({0, (float)(k + 1), 0});
        positions.push_back({atLimit.x, (float)(k + 1), z});
        normals.push_back(up);
        normals.push_back(up);
        y = std::nextafter(y, 1.0f);
        z = std::nextafter(z, 1.0f);
    }
    auto m = pointMesh(positions, normals);
    ASSERT_EQ(shadingDiff(*m, Threshold), "");
    Colours out = newColours();
    computeAAO(m.get(), Threshold, out.data());
    uint32_t darkened[2] = {0, 0};
    for (uint32_t i = 0; i < m->nverts; i += 2)
        darkened[i / 2 % 2] += out[i].x < 1.0f;
    EXPECT_GT(darkened[0], 250u); // both limits were crossed
    EXPECT_LT(darkened[0], 350u);
    EXPECT_GT(darkened[1], 250u);
    EXPECT_LT(darkened[1], 350u);
}

TEST(AaoDiff, RandomPairsOnTheFacingLimit)
{
    // Isolated pairs in random directions whose normal makes the facing
    // dot product land within a few ulps of -0.01: every rounding step of
    // the normalisation and the dot product decides some of them.
    Rng rng(21);
    std::vector<Vec3> positions, normals;
    for (int k = 0; k < 3000; k++) {
        Vec3 i = {(float)(k % 60), (float)(k / 60), 0};
        Vec3 offset = {uniform(rng, -0.15f, 0.15f), uniform(rng, -0.15f, 0.15f), uniform(rng, -0.15f, 0.15f)};
        Vec3 j = {i.x + offset.x, i.y + offset.y, i.z + offset.z};
        double length = std::sqrt((double)offset.x * offset.x + (double)offset.y * offset.y + (double)offset.z * offset.z);
        double u[3] = {offset.x / length, offset.y / length, offset.z / length};
        // A unit vector across the direction, and the normal that has the
        // exact dot product 0.01 with the direction towards j.
        double a[3] = {u[1], -u[0], 0};
        if (std::fabs(u[2]) > 0.9) {
            a[0] = 0;
            a[1] = u[2];
            a[2] = -u[1];
        }
        double an = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
        double across = std::sqrt(1 - 0.0001), scale = uniform(rng, 0.5f, 20.0f);
        Vec3 n = {(float)((0.01 * u[0] + across * a[0] / an) * scale), (float)((0.01 * u[1] + across * a[1] / an) * scale),
                  (float)((0.01 * u[2] + across * a[2] / an) * scale)};
        positions.push_back(i);
        positions.push_back(j);
        normals.push_back(n);
        normals.push_back({0, 0, 1});
    }
    auto m = pointMesh(positions, normals);
    ASSERT_EQ(shadingDiff(*m, Threshold), "");
    Colours out = newColours();
    computeAAO(m.get(), Threshold, out.data());
    uint32_t darkened = 0;
    for (uint32_t i = 0; i < m->nverts; i += 2)
        darkened += out[i].x < 1.0f;
    EXPECT_GT(darkened, 300u); // the limit is crossed both ways
    EXPECT_LT(darkened, 2700u);
}

TEST(AaoDiff, OccluderOrderInASparseIndexRange)
{
    // Clusters of 14 vertices whose indices lie far apart among 60,000
    // lone vertices: each vertex subtracts its occluders' shares in index
    // order, which a wrong order would round differently.
    Rng rng(9);
    const uint32_t count = 60000, clusters = 12, size = 14;
    auto m = randomCloud(rng, count, 400.0f);
    std::vector<uint32_t> members;
    for (uint32_t c = 0; c < clusters; c++) {
        Vec3 centre = {3.0f * c, -50, 0};
        for (uint32_t k = 0; k < size; k++) {
            uint32_t i = (uint32_t)(((uint64_t)(c * size + k) * 7919 + 13) % count);
            m->verts[i] = {centre.x + uniform(rng, -0.08f, 0.08f), centre.y + uniform(rng, -0.08f, 0.08f),
                           centre.z + uniform(rng, -0.08f, 0.08f)};
            // Large normals: shares of very different sizes, so that the
            // roundings depend on the order.
            float length = uniform(rng, 1, 2000);
            m->vnormals[i] = {uniform(rng, -1, 1) * length, uniform(rng, -1, 1) * length, uniform(rng, -1, 1) * length};
            members.push_back(i);
        }
    }
    Colours fast = newColours(), literal = newColours();
    computeAAO(m.get(), Threshold, fast.data());
    uint32_t darkened = 0;
    for (uint32_t i : members) {
        literalAAORange(m.get(), Threshold, literal.data(), i, i + 1);
        ASSERT_EQ(std::memcmp(&fast[i], &literal[i], sizeof(Vec3)), 0) << i;
        darkened += fast[i].x < 1.0f;
    }
    EXPECT_GT(darkened, clusters * size / 3);
}

TEST(AaoDiff, MeshesBuiltByReplayingRecords)
{
    auto scratch = newMesh();
    auto m = newMesh();
    RecOptions options;
    options.faceBudget = 1200;
    for (uint64_t seed = 1; seed <= 40; seed++) {
        mirlObj record = randomRecord(seed, options, scratch.get());
        emptyMesh(m.get());
        replayobj(&record, m.get());
        ASSERT_EQ(shadingDiff(*m, Threshold), "") << "record seed " << seed;
    }
    // Smoothed, extruded, then scaled by 8 (parameter byte 255) step after
    // step, through and past the float range.
    mirlObj growing = makeRecord({{31, 128}, {28, 128}, {28, 128}, {29, 128}, {15, 140}, {28, 128}});
    for (int scalings = 0; scalings < 60; scalings += 6) {
        mirlObj record = growing;
        for (int k = 0; k < scalings; k++) {
            record.ops[record.count] = 3;
            record.params[record.count++] = 255;
        }
        emptyMesh(m.get());
        replayobj(&record, m.get());
        ASSERT_EQ(shadingDiff(*m, Threshold), "") << scalings << " scalings";
    }
}

TEST(AaoDiff, SmoothedAndScaledCubes)
{
    // The cube smoothed four times, then at sizes from tiny to overflowing:
    // scaling by 8 again and again ends in infinities and not-a-number.
    auto m = newMesh();
    mirlObj record = makeRecord({{31, 128}, {28, 128}, {28, 128}, {28, 128}, {28, 128}});
    replayobj(&record, m.get());
    for (int scaling = -12; scaling <= 48; scaling += 3) {
        auto scaled = std::make_unique<Mesh>(*m);
        float factor = scaling < 0 ? 0.125f : 8.0f;
        for (int k = 0; k < std::abs(scaling); k++)
            for (uint32_t i = 0; i < scaled->nverts; i++)
                maths9(&scaled->verts[i], factor);
        setnorm(scaled.get());
        ASSERT_EQ(shadingDiff(*scaled, Threshold), "") << "scaled by 8^" << scaling;
    }
}

TEST(AaoDiff, HugeInfiniteAndNotANumberCoordinates)
{
    const float odd[] = {1e30f, -1e30f, 0x1p23f, 0x1.fffffep22f, 3.4e38f, INFINITY, -INFINITY, NAN};
    for (uint64_t seed = 1; seed <= 10; seed++) {
        Rng rng(seed);
        auto m = randomCloud(rng, 1200, 1.0f);
        for (uint32_t i = 0; i < m->nverts; i++) {
            float *coordinate = &m->verts[i].x + rng.below(3);
            if (rng.below(3) == 0)
                *coordinate = odd[rng.below(8)];
            if (rng.below(10) == 0)
                m->vnormals[i].y = odd[rng.below(8)];
        }
        ASSERT_EQ(shadingDiff(*m, Threshold), "") << seed;
    }
}

TEST(AaoDiff, AFullCapacityCloudMatchesOnASlice)
{
    // 250,000 vertices: all of them through the grid, a slice of them
    // through the double loop.
    Rng rng(5);
    auto m = randomCloud(rng, MIRL_MAXVERTS, 14.0f);
    for (uint32_t i = 0; i < 5000; i++)
        m->verts[MIRL_MAXVERTS - 1 - i] = m->verts[i * 7]; // coincident copies
    Colours fast = newColours(), literal = newColours();
    computeAAO(m.get(), Threshold, fast.data());
    const uint32_t slices[][2] = {{0, 60}, {120000, 120060}, {MIRL_MAXVERTS - 60, MIRL_MAXVERTS}};
    uint32_t darkened = 0;
    for (auto &slice : slices) {
        literalAAORange(m.get(), Threshold, literal.data(), slice[0], slice[1]);
        for (uint32_t i = slice[0]; i < slice[1]; i++) {
            ASSERT_EQ(std::memcmp(&fast[i], &literal[i], sizeof(Vec3)), 0) << i;
            darkened += fast[i].x < 1.0f;
        }
    }
    EXPECT_GT(darkened, 0u);
}

} // namespace
