// Mesh record, vector routines, mesh routines, normals and the cube.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>

#include "notices.h"
#include "testmesh.h"

TEST(Layout, MeshAndRecordHaveTheFileAndExportLayouts)
{
    EXPECT_EQ(sizeof(Mesh), 14000008u);
    EXPECT_EQ(offsetof(Mesh, quads), 8u);
    EXPECT_EQ(offsetof(Mesh, verts), 8u + 4000000u);
    EXPECT_EQ(offsetof(Mesh, vnormals), 8u + 7000000u);
    EXPECT_EQ(offsetof(Mesh, fnormals), 8u + 10000000u);
    EXPECT_EQ(offsetof(Mesh, selected), 8u + 13000000u);
    EXPECT_EQ(sizeof(mirlObj), 1537u);
    EXPECT_EQ(offsetof(mirlObj, ops), 1u);
    EXPECT_EQ(offsetof(mirlObj, params), 257u);
    EXPECT_EQ(offsetof(mirlObj, picks), 513u);
}

TEST(Maths, ComponentwiseRoutinesRoundEachComponentToFloat)
{
    Vec3 a = {1.0f, 2.0f, 3.0f}, b = {0.1f, -4.0f, 0.5f}, out;
    maths1(&a, &b, &out);
    EXPECT_EQ(out.x, (float)(1.0 + (double)0.1f));
    EXPECT_EQ(out.y, -2.0f);
    maths2(&a, &b, &out);
    EXPECT_EQ(out.x, (float)(1.0 - (double)0.1f));
    EXPECT_EQ(out.z, 2.5f);
    maths3(&a, &b, &out);
    EXPECT_EQ(out.x, 0.1f);
    EXPECT_EQ(out.y, -8.0f);
    maths4(&a, 0.1f, &b, &out);
    EXPECT_EQ(out.y, (float)(2.0 * (double)0.1f - 4.0));
    // The output may be an input: x is stored before y is read.
    Vec3 c = a;
    maths1(&c, &c, &c);
    EXPECT_EQ(c.x, 2.0f);
    EXPECT_EQ(c.z, 6.0f);
    maths9(&c, 0.5f);
    EXPECT_EQ(c.y, 2.0f);
    maths7(&b, &c);
    EXPECT_EQ(std::memcmp(&b, &c, sizeof c), 0);
}

TEST(Maths, InterpolationFormsOneMinusTFirst)
{
    Vec3 a = {1.0f, 0.0f, -3.0f}, b = {3.0f, 2.0f, 5.0f}, out;
    maths8(&a, &b, 0.5f, &out);
    EXPECT_EQ(out.x, 2.0f);
    EXPECT_EQ(out.y, 1.0f);
    EXPECT_EQ(out.z, 1.0f);
    float t = 0.3f;
    maths8(&a, &b, t, &out);
    EXPECT_EQ(out.x, (float)(1.0 * (1.0 - (double)t) + 3.0 * (double)t));
}

TEST(Maths, DotProductSumsZThenYThenX)
{
    // z*z + y*y cancel exactly first; summing x*x + y*y first would lose the 1.
    float big = 1073741824.0f; // 2^30
    Vec3 a = {1.0f, big, big}, b = {1.0f, big, -big};
    EXPECT_EQ(maths10(&a, &b), 1.0f);
}

TEST(Maths, CrossProductIsAddedToTheOutput)
{
    Vec3 x = {1, 0, 0}, y = {0, 1, 0}, out = {1, 2, 3};
    maths11(&x, &y, &out);
    EXPECT_EQ(out.x, 1.0f);
    EXPECT_EQ(out.y, 2.0f);
    EXPECT_EQ(out.z, 4.0f);
    maths11(&y, &x, &out);
    EXPECT_EQ(out.z, 3.0f);
}

TEST(Maths, LengthsAndNormalisation)
{
    Vec3 v = {3.0f, 4.0f, 12.0f};
    EXPECT_EQ(maths12(&v), 169.0f);
    EXPECT_EQ(maths13(&v), 13.0f);
    maths14(&v);
    float inv = (float)(1.0 / 13.0);
    EXPECT_EQ(v.x, (float)(3.0 * (double)inv));
    EXPECT_EQ(v.z, (float)(12.0 * (double)inv));
    Vec3 zero = {0, 0, 0};
    maths14(&zero);
    EXPECT_TRUE(std::isnan(zero.x) && std::isnan(zero.y) && std::isnan(zero.z));
}

class CubeMesh : public ::testing::Test {
  protected:
    std::unique_ptr<Mesh> m = newMesh();
    void SetUp() override
    {
        recordoff();
        resetrecord();
        addcube(m.get(), 0.0f);
    }
};

TEST_F(CubeMesh, AddCubeCopiesTheTemplateAndSelectsItsFaces)
{
    static const float corner[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                       {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    static const uint32_t faces[6][4] = {{0, 1, 2, 3}, {3, 2, 6, 7}, {7, 6, 5, 4},
                                         {1, 0, 4, 5}, {0, 3, 7, 4}, {2, 1, 5, 6}};
    ASSERT_EQ(m->nverts, 8u);
    ASSERT_EQ(m->nquads, 6u);
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(m->verts[i].x, corner[i][0]);
        EXPECT_EQ(m->verts[i].y, corner[i][1]);
        EXPECT_EQ(m->verts[i].z, corner[i][2]);
    }
    for (int q = 0; q < 6; q++) {
        for (int k = 0; k < 4; k++)
            EXPECT_EQ(m->quads[q].v[k], faces[q][k]);
        EXPECT_EQ(m->selected[q], 1);
    }
}

TEST_F(CubeMesh, SecondCubeIsAppendedAndOldFlagsStay)
{
    m->selected[2] = 0;
    addcube(m.get(), 5.0f);
    ASSERT_EQ(m->nverts, 16u);
    ASSERT_EQ(m->nquads, 12u);
    EXPECT_EQ(m->selected[2], 0);
    EXPECT_EQ(m->selected[1], 1);
    for (int q = 6; q < 12; q++) {
        EXPECT_EQ(m->selected[q], 1);
        for (int k = 0; k < 4; k++) {
            EXPECT_EQ(m->quads[q].v[k], m->quads[q - 6].v[k] + 8);
        }
    }
    EXPECT_EQ(m->verts[15].x, -1.0f);
    EXPECT_EQ(m->verts[15].z, 1.0f);
}

TEST_F(CubeMesh, NormalsPointOutwardsWithLengthEight)
{
    setnorm(m.get());
    static const float fn[6][3] = {{0, 0, -8}, {0, 8, 0}, {0, 0, 8}, {0, -8, 0}, {-8, 0, 0}, {8, 0, 0}};
    for (int q = 0; q < 6; q++) {
        EXPECT_EQ(bitsOf(m->fnormals[q].x), bitsOf(fn[q][0])) << q;
        EXPECT_EQ(bitsOf(m->fnormals[q].y), bitsOf(fn[q][1])) << q;
        EXPECT_EQ(bitsOf(m->fnormals[q].z), bitsOf(fn[q][2])) << q;
    }
    for (int v = 0; v < 8; v++) {
        EXPECT_EQ(m->vnormals[v].x, 8.0f * m->verts[v].x);
        EXPECT_EQ(m->vnormals[v].y, 8.0f * m->verts[v].y);
        EXPECT_EQ(m->vnormals[v].z, 8.0f * m->verts[v].z);
    }
}

TEST(SetNorm, EmptyMeshChangesNothingAndUnusedVertexKeepsZero)
{
    auto m = newMesh();
    m->vnormals[0] = {1, 2, 3};
    setnorm(m.get());
    EXPECT_EQ(m->vnormals[0].x, 1.0f);
    m->nverts = 9;
    m->verts[8] = {5, 5, 5};
    m->vnormals[8] = {1, 1, 1};
    setnorm(m.get());
    EXPECT_EQ(m->vnormals[8].x, 0.0f);
    EXPECT_EQ(m->vnormals[8].z, 0.0f);
}

TEST(SetNorm, RepeatedCornerCountsTwiceAndAccumulatesInFloat)
{
    auto m = newMesh();
    m->nverts = 3;
    m->verts[0] = {0, 0, 0};
    m->verts[1] = {0.1f, 0, 0};
    m->verts[2] = {0, 0.3f, 0.7f};
    addQ(m.get(), 0, 1, 2, 2, 0);
    setnorm(m.get());
    // Expected by hand: the four cross products added to a float one by one.
    const Vec3 *p = m->verts;
    const uint32_t c[4] = {0, 1, 2, 2};
    float n[3] = {0, 0, 0};
    for (int j = 0; j < 4; j++) {
        const Vec3 &a = p[c[(j + 1) & 3]], &b = p[c[j]];
        n[0] = (float)((double)n[0] + ((double)a.y * b.z - (double)a.z * b.y));
        n[1] = (float)((double)n[1] + ((double)a.z * b.x - (double)a.x * b.z));
        n[2] = (float)((double)n[2] + ((double)a.x * b.y - (double)a.y * b.x));
    }
    EXPECT_EQ(bitsOf(m->fnormals[0].x), bitsOf(n[0]));
    EXPECT_EQ(bitsOf(m->fnormals[0].y), bitsOf(n[1]));
    EXPECT_EQ(bitsOf(m->fnormals[0].z), bitsOf(n[2]));
    EXPECT_EQ(m->vnormals[2].y, (float)((double)n[1] + (double)n[1]));
}

TEST_F(CubeMesh, CentreAdjacencyAndSelectionQueries)
{
    Vec3 c;
    centroi(m.get(), 0, &c);
    EXPECT_EQ(c.x, 0.0f);
    EXPECT_EQ(c.y, 0.0f);
    EXPECT_EQ(c.z, -1.0f);
    EXPECT_EQ(adjquad(m.get(), 0, 1), 2); // share an edge
    EXPECT_EQ(adjquad(m.get(), 0, 2), 0); // opposite
    EXPECT_EQ(adjquad(m.get(), 3, 3), 4);
    EXPECT_EQ(vinq(6, &m->quads[1]), 1);
    EXPECT_EQ(vinq(0, &m->quads[1]), 0);
    EXPECT_EQ(countsel(m.get()), 6);
    EXPECT_EQ(quadsel(m.get(), 4), 1);
    selrang(m.get(), 0, 6, 0);
    m->selected[2] = 1;
    EXPECT_EQ(vselect(m.get(), 4), 1);
    EXPECT_EQ(vselect(m.get(), 0), 0);
    m->nquads = 0;
    EXPECT_EQ(countsel(m.get()), 0);
}

TEST(MeshRoutines, DelquadKeepsOrderAndFlags)
{
    auto m = newMesh();
    m->nverts = 20;
    for (uint32_t i = 0; i < 5; i++)
        addQ(m.get(), i, i + 1, i + 2, i + 3, (int32_t)(i % 2));
    delquad(m.get(), 2, 1);
    ASSERT_EQ(m->nquads, 4u);
    const uint32_t first[4] = {0, 1, 3, 4};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(m->quads[i].v[0], first[i]);
        EXPECT_EQ(m->selected[i], (int32_t)(first[i] % 2));
    }
    delquad(m.get(), 1, 0);
    EXPECT_EQ(m->nquads, 4u);
    delquad(m.get(), 3, 2); // runs past the end: ignored
    EXPECT_EQ(m->nquads, 4u);
    delquad(m.get(), 0, m->nquads);
    EXPECT_EQ(m->nquads, 0u);
}

TEST(MeshRoutines, DupvertAndAddvertMatchExactlyFromTheStart)
{
    auto m = newMesh();
    Vec3 a = {1, 2, 3}, b = {0.0f, 5, 6}, negz = {-0.0f, 5, 6};
    EXPECT_EQ(addvert(m.get(), &a, 0), 0u);
    EXPECT_EQ(addvert(m.get(), &b, 0), 1u);
    EXPECT_EQ(addvert(m.get(), &a, 0), 0u); // reused
    EXPECT_EQ(m->nverts, 2u);
    EXPECT_EQ(dupvert(m.get(), &a, 1), 2u);  // search starts after it
    EXPECT_EQ(dupvert(m.get(), &a, 7), 2u);  // start beyond nverts
    EXPECT_EQ(addvert(m.get(), &a, 2), 2u);  // start = nverts appends
    EXPECT_EQ(m->nverts, 3u);
    // -0 equals +0: the vertex is reused and takes the given signs.
    EXPECT_EQ(addvert(m.get(), &negz, 0), 1u);
    EXPECT_TRUE(std::signbit(m->verts[1].x));
    Vec3 nan = {NAN, 0, 0};
    EXPECT_EQ(addvert(m.get(), &nan, 0), 3u);
    EXPECT_EQ(addvert(m.get(), &nan, 0), 4u); // NaN never matches
}

TEST(AddCube, RefusedNearCapacityButStillRecorded)
{
    auto m = newMesh();
    NoticeCapture notes;
    resetrecord();
    m->nverts = MIRL_MAXVERTS - 7; // 8 more would not fit
    m->nquads = 10;
    recordon();
    addcube(m.get(), 0.0f);
    recordoff();
    EXPECT_EQ(m->nverts, (uint32_t)MIRL_MAXVERTS - 7);
    EXPECT_EQ(m->nquads, 10u);
    ASSERT_EQ(numsteps(), 1);
    EXPECT_EQ(CommandRecord.ops[0], 31);
    ASSERT_EQ(notes.all().size(), 1u);
    EXPECT_EQ(notes.all()[0].title, "Exceeded mesh capacity");
    EXPECT_EQ(notes.all()[0].text, "ERROR");
    // Exactly at the limit it fits.
    m->nverts = MIRL_MAXVERTS - 8;
    m->nquads = MIRL_MAXQUADS - 6;
    addcube(m.get(), 0.0f);
    EXPECT_EQ(m->nverts, (uint32_t)MIRL_MAXVERTS);
    EXPECT_EQ(m->nquads, (uint32_t)MIRL_MAXQUADS);
    // With the Recorder off (a replay) the refusal is silent.
    addcube(m.get(), 0.0f);
    EXPECT_EQ(notes.all().size(), 1u);
    EXPECT_EQ(m->nquads, (uint32_t)MIRL_MAXQUADS);
}

// The expected normal, accumulated through volatile floats so that no
// optimiser can keep the sum in double between the four cross products.
static Vec3 expectedFaceNormal(const Mesh &m, uint32_t q)
{
    volatile float n[3] = {0, 0, 0};
    for (int j = 0; j < 4; j++) {
        const Vec3 &a = m.verts[m.quads[q].v[(j + 1) & 3]], &b = m.verts[m.quads[q].v[j]];
        n[0] = (float)((double)n[0] + ((double)a.y * b.z - (double)a.z * b.y));
        n[1] = (float)((double)n[1] + ((double)a.z * b.x - (double)a.x * b.z));
        n[2] = (float)((double)n[2] + ((double)a.x * b.y - (double)a.y * b.x));
    }
    return {n[0], n[1], n[2]};
}

TEST(SetNorm, ScaledCubesKeepTheFloatRoundingBetweenCrossProducts)
{
    auto m = newMesh();
    uint64_t s = 12345;
    int inexact = 0;
    for (int t = 0; t < 500; t++) {
        emptyMesh(m.get());
        addcube(m.get(), 0.0f);
        for (uint32_t v = 0; v < m->nverts; v++) {
            s = s * 6364136223846793005ull + 1442695040888963407ull;
            float f = 1.0f + (float)((s >> 40) % 1000) / 997.0f;
            m->verts[v].x *= f;
            m->verts[v].y *= f * 0.7f;
            m->verts[v].z *= 1.3f / f;
        }
        setnorm(m.get());
        for (uint32_t q = 0; q < 6; q++) {
            Vec3 e = expectedFaceNormal(*m, q);
            ASSERT_EQ(bitsOf(m->fnormals[q].x), bitsOf(e.x)) << "cube " << t << " face " << q;
            ASSERT_EQ(bitsOf(m->fnormals[q].y), bitsOf(e.y)) << "cube " << t << " face " << q;
            ASSERT_EQ(bitsOf(m->fnormals[q].z), bitsOf(e.z)) << "cube " << t << " face " << q;
            // Sums in double would give exact zeros where float rounding
            // leaves a residue: make sure such cases are among those checked.
            inexact += e.x != 0.0f && std::fabs(e.x) < 1e-3f;
        }
    }
    EXPECT_GT(inexact, 0);
}
