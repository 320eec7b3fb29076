// Layouts, vector and mesh routines, the cube and its normals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>

#include "randrec.h"
#include "testmesh.h"

// The layout the object files and the exports rely on.
static_assert(offsetof(mirlObj, ops) == 1 && offsetof(mirlObj, params) == 257 && offsetof(mirlObj, picks) == 513,
              "mirlObj layout");

TEST(Kernel, DotProductSumsZThenYThenXAndAZeroVectorNormalisesToNaN)
{
    // z*z + y*y cancel exactly first; x*x + y*y first would lose the 1.
    Vec3 big = {1, 0x1p30f, 0x1p30f}, neg = {1, 0x1p30f, -0x1p30f}, zero = {0, 0, 0};
    EXPECT_EQ(maths10(&big, &neg), 1.0f);
    maths14(&zero);
    EXPECT_TRUE(std::isnan(zero.x) && std::isnan(zero.y) && std::isnan(zero.z));
}

TEST(Kernel, CubeTemplateFlagsAndNormalsOfLengthEight)
{
    static const float corner[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                       {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    static const uint32_t faces[6][4] = {{0, 1, 2, 3}, {3, 2, 6, 7}, {7, 6, 5, 4},
                                         {1, 0, 4, 5}, {0, 3, 7, 4}, {2, 1, 5, 6}};
    auto m = newMesh();
    addcube(m.get(), 0);
    m->selected[2] = 0;
    addcube(m.get(), 5); // appended; old flags stay
    m->nverts = 17;      // and an unused vertex, whose normal becomes 0
    m->vnormals[16] = {1, 1, 1};
    setnorm(m.get());
    EXPECT_EQ(m->vnormals[16].y, 0.0f);
    ASSERT_EQ(m->nquads, 12u);
    for (int v = 0; v < 16; v++)
        for (int a = 0; a < 3; a++) {
            EXPECT_EQ(bitsOf((&m->verts[v].x)[a]), bitsOf(corner[v % 8][a])) << v;
            EXPECT_EQ(bitsOf((&m->vnormals[v].x)[a]), bitsOf(8 * corner[v % 8][a])) << v;
        }
    for (int q = 0; q < 12; q++) {
        EXPECT_EQ(m->selected[q], q == 2 ? 0 : 1);
        for (int k = 0; k < 4; k++)
            EXPECT_EQ(m->quads[q].v[k], faces[q % 6][k] + 8 * (q / 6));
        // Each face normal: the corners' sum, times 2.
        const Vec3 &n = m->fnormals[q];
        const float *c0 = corner[faces[q % 6][0]], *c2 = corner[faces[q % 6][2]];
        EXPECT_TRUE(n.x == 4 * (c0[0] + c2[0]) && n.y == 4 * (c0[1] + c2[1]) && n.z == 4 * (c0[2] + c2[2])) << q;
    }
}

// A face normal by hand: the four cross products added to a float one by
// one (volatile, so that no optimiser keeps the sum in double).
static void faceNormal(const Mesh &m, uint32_t q, uint32_t out[3])
{
    volatile float n[3] = {0, 0, 0};
    for (int j = 0; j < 4; j++) {
        const Vec3 &a = m.verts[m.quads[q].v[(j + 1) & 3]], &b = m.verts[m.quads[q].v[j]];
        n[0] = (float)((double)n[0] + ((double)a.y * b.z - (double)a.z * b.y));
        n[1] = (float)((double)n[1] + ((double)a.z * b.x - (double)a.x * b.z));
        n[2] = (float)((double)n[2] + ((double)a.x * b.y - (double)a.y * b.x));
    }
    for (int a = 0; a < 3; a++)
        out[a] = bitsOf(n[a]);
}

TEST(Kernel, SetnormRoundsToFloatBetweenCrossProductsOnScaledCubes)
{
    auto m = newMesh();
    Rng r(12345);
    int inexact = 0;
    for (int t = 0; t < 500; t++) {
        emptyMesh(m.get());
        addcube(m.get(), 0);
        for (uint32_t v = 0; v < 8; v++) {
            float f = 1.0f + (float)r.below(1000) / 997.0f;
            m->verts[v] = {m->verts[v].x * f, m->verts[v].y * f * 0.7f, m->verts[v].z * 1.3f / f};
        }
        setnorm(m.get());
        for (uint32_t q = 0; q < 6; q++) {
            uint32_t e[3];
            faceNormal(*m, q, e);
            for (int a = 0; a < 3; a++)
                ASSERT_EQ(bitsOf((&m->fnormals[q].x)[a]), e[a]) << "cube " << t << " face " << q;
            // A sum in double gives exact zeros where float leaves a residue.
            inexact += e[0] != 0 && e[0] != 0x80000000u && std::fabs(m->fnormals[q].x) < 1e-3f;
        }
    }
    EXPECT_GT(inexact, 0);
}
