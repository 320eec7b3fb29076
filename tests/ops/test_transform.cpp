// Scale, move and rotate: exact numbers, scopes and recorded steps.
#include <gtest/gtest.h>

#include <cmath>

#include "opsutil.h"

namespace {

// The float nearest 0.01745328 as the rotation uses it, and an angle's
// cosine/sine as they end up in a float coordinate.
const double Degree = (double)(float)0.01745328;

void expectVec(const Vec3 &v, float x, float y, float z, const char *what)
{
    EXPECT_EQ(bitsOf(v.x), bitsOf(x)) << what << " x " << v.x << " vs " << x;
    EXPECT_EQ(bitsOf(v.y), bitsOf(y)) << what << " y " << v.y << " vs " << y;
    EXPECT_EQ(bitsOf(v.z), bitsOf(z)) << what << " z " << v.z << " vs " << z;
}

// One selected quad with its corner 0 at (1, 0, 0) in the XY plane.
std::unique_ptr<Mesh> unitCornerQuad()
{
    auto m = newMesh();
    m->nverts = 4;
    m->verts[0] = {1, 0, 0};
    m->verts[1] = {2, 0, 0};
    m->verts[2] = {2, 1, 0};
    m->verts[3] = {1, 1, 0};
    addQ(m.get(), 0, 1, 2, 3, 1);
    return m;
}

} // namespace

TEST(Rotate, QuarterAndHalfTurnAboutZFallShortOfExact)
{
    // The degree factor is just below pi/180, so 4 x 22.5 "degrees" stops a
    // little short of a quarter turn and leaves x slightly positive.
    auto m = unitCornerQuad();
    rotate3(m.get(), 4.0f);
    double quarter = 4.0 * 22.5 * Degree;
    expectVec(m->verts[0], f32(std::cos(quarter)), f32(std::sin(quarter)), 0.0f, "p=4");
    EXPECT_EQ(m->verts[0].y, 1.0f);
    EXPECT_NEAR(m->verts[0].x, 0.0000011856, 1e-10);

    m = unitCornerQuad();
    rotate3(m.get(), 8.0f);
    double half = 8.0 * 22.5 * Degree;
    expectVec(m->verts[0], f32(std::cos(half)), f32(std::sin(half)), 0.0f, "p=8");
    EXPECT_EQ(m->verts[0].x, -1.0f);
    EXPECT_NEAR(m->verts[0].y, 0.0000023713, 1e-10);
}

TEST(Rotate, EachAxisIsRightHandedAndUsesTheOldCoordinates)
{
    const double t = 1.5 * 22.5 * Degree, c = std::cos(t), s = std::sin(t);
    const Vec3 p0 = {0.3f, -0.7f, 1.9f};
    void (*rot[3])(Mesh *, float) = {rotate1, rotate2, rotate3};
    for (int axis = 0; axis < 3; axis++) {
        auto m = unitCornerQuad();
        m->verts[0] = p0;
        rot[axis](m.get(), 1.5f);
        const double x = p0.x, y = p0.y, z = p0.z;
        if (axis == 0)
            expectVec(m->verts[0], p0.x, f32(y * c - z * s), f32(y * s + z * c), "about X");
        else if (axis == 1)
            expectVec(m->verts[0], f32(x * c + z * s), p0.y, f32(z * c - x * s), "about Y");
        else
            expectVec(m->verts[0], f32(x * c - y * s), f32(x * s + y * c), p0.z, "about Z");
    }
    // A quarter turn about X takes +Y towards +Z.
    auto m = unitCornerQuad();
    m->verts[0] = {0, 1, 0};
    rotate1(m.get(), 4.0f);
    EXPECT_NEAR(m->verts[0].z, 1.0f, 1e-6);
}

TEST(Trans2, MovesTheSelectedFaceAlongItsStoredNormal)
{
    auto m = cubeMesh();
    selectOnly(m.get(), {0});
    trans2(m.get(), 0.25f);
    for (int v = 0; v < 4; v++) {
        EXPECT_EQ(m->verts[v].z, -3.0f) << v;
        EXPECT_EQ(std::fabs(m->verts[v].x), 1.0f);
        EXPECT_EQ(std::fabs(m->verts[v].y), 1.0f);
    }
    for (int v = 4; v < 8; v++)
        EXPECT_EQ(m->verts[v].z, 1.0f) << v;
    // The normals are left as they were: the caller recomputes them.
    EXPECT_EQ(m->fnormals[0].z, -8.0f);
}

TEST(Trans2, SharedVertexTakesEveryDisplacementInTurn)
{
    auto m = cubeMesh();
    selectOnly(m.get(), {0, 3}); // share the edge 0-1
    trans2(m.get(), 0.25f);
    // Vertex 0: -2 along z for face 0, then -2 along y for face 3.
    expectVec(m->verts[0], -1.0f, -3.0f, -3.0f, "shared");
    expectVec(m->verts[4], -1.0f, -3.0f, 1.0f, "face 3 only");
    expectVec(m->verts[3], -1.0f, 1.0f, -3.0f, "face 0 only");
}

TEST(ScaleCentre, SharedVerticesArePulledTwiceTowardsRecomputedCentres)
{
    auto m = cubeMesh();
    selectOnly(m.get(), {0, 3});
    scalece(m.get(), 0.5f);
    // Face 0 about (0, 0, -1) first; then face 3 (1 0 4 5) about its centre
    // from the moved corners: (0.5-0.5-1+1, -0.5-0.5-1-1, -1-1+1+1)/4.
    expectVec(m->verts[2], 0.5f, 0.5f, -1.0f, "face 0 only");
    expectVec(m->verts[1], 0.25f, -0.625f, -0.5f, "shared 1");
    expectVec(m->verts[0], -0.25f, -0.625f, -0.5f, "shared 0");
    expectVec(m->verts[4], -0.5f, -0.875f, 0.5f, "face 3 only");
    expectVec(m->verts[6], 1.0f, 1.0f, 1.0f, "untouched");
}

TEST(ScaleCentre, OneKeepsZeroCollapsesMinusOneMirrors)
{
    auto m = cubeMesh();
    selectOnly(m.get(), {2});
    auto before = newMesh();
    std::memcpy(before.get(), m.get(), sizeof(Mesh));
    scalece(m.get(), 1.0f);
    EXPECT_EQ(meshDiff(*m, *before), "");
    scalece(m.get(), -1.0f); // through the centre (0, 0, 1)
    expectVec(m->verts[7], 1.0f, -1.0f, 1.0f, "mirrored");
    scalece(m.get(), 0.0f);
    for (uint32_t v : {4u, 5u, 6u, 7u})
        expectVec(m->verts[v], 0.0f, 0.0f, 1.0f, "collapsed");
}

TEST(Scopes, SelectionLeavesUnusedVerticesWholeObjectMovesThem)
{
    auto m = cubeMesh();
    selectOnly(m.get(), {1, 2, 4, 5});
    delQuad(m.get(), 0.0f); // faces 0 (0 1 2 3) and 3 (1 0 4 5) stay
    ASSERT_EQ(m->nquads, 2u);
    select1(m.get(), 0.0f);
    // Vertices 6 and 7 are used by no face now.
    trans4(m.get(), 1.0f);
    scale6(m.get(), 2.0f);
    rotate2(m.get(), 8.0f);
    EXPECT_NE(m->verts[0].x, -1.0f);
    EXPECT_NE(m->verts[5].y, -1.0f);
    expectVec(m->verts[6], 1.0f, 1.0f, 1.0f, "unused 6");
    expectVec(m->verts[7], -1.0f, 1.0f, 1.0f, "unused 7");
    trans1(m.get(), 1.0f);
    scale2(m.get(), 3.0f);
    expectVec(m->verts[6], 2.0f, 3.0f, 1.0f, "whole object 6");
    expectVec(m->verts[7], 0.0f, 3.0f, 1.0f, "whole object 7");
}

TEST(Scopes, EachVertexOfTheSelectionIsMovedOnce)
{
    auto m = cubeMesh();
    selectOnly(m.get(), {0, 3, 4}); // vertex 0 is in all three
    trans5(m.get(), 0.5f);
    scale7(m.get(), 3.0f);
    expectVec(m->verts[0], -1.0f, -0.5f, -3.0f, "in three faces");
    expectVec(m->verts[6], 1.0f, 1.0f, 1.0f, "in none");
    trans6(m.get(), 1.0f);
    EXPECT_EQ(m->verts[0].z, -2.0f);
    scale5(m.get(), -1.0f);
    EXPECT_EQ(m->verts[0].x, 1.0f);
    scale8(m.get(), 0.5f);
    expectVec(m->verts[0], 0.5f, -0.25f, -1.0f, "uniform");
}

TEST(Scopes, WholeObjectFlattensMirrorsAndAddsEveryComponent)
{
    auto m = cubeMesh();
    scale3(m.get(), 0.0f);
    for (uint32_t v = 0; v < 8; v++)
        EXPECT_EQ(m->verts[v].z, 0.0f);
    scale1(m.get(), -1.0f);
    EXPECT_EQ(m->verts[0].x, 1.0f);
    scale4(m.get(), 0.0f);
    for (uint32_t v = 0; v < 8; v++)
        EXPECT_EQ(m->verts[v].x, 0.0f);
    // -0 stays -0 under a factor 1 but adding the untouched +0 makes it +0.
    m = cubeMesh();
    m->verts[3] = {-0.0f, -0.0f, -0.0f};
    scale2(m.get(), 2.0f);
    EXPECT_TRUE(std::signbit(m->verts[3].x));
    trans2b(m.get(), 1.0f);
    EXPECT_FALSE(std::signbit(m->verts[3].x));
    EXPECT_FALSE(std::signbit(m->verts[3].z));
    EXPECT_EQ(m->verts[3].y, 1.0f);
    trans3(m.get(), -0.25f);
    EXPECT_EQ(m->verts[3].z, -0.25f);
}

TEST(Scopes, NothingSelectedOrEmptyChangesNothingButRecords)
{
    static void (*const ops[])(Mesh *, float) = {scale5, scale6, scale7, scale8, scalece, trans4,
                                                 trans5, trans6, trans2, rotate1, rotate2, rotate3};
    auto m = cubeMesh();
    selectOnly(m.get(), {});
    auto before = newMesh();
    std::memcpy(before.get(), m.get(), sizeof(Mesh));
    resetrecord();
    recordon();
    for (auto op : ops)
        op(m.get(), 1.5f);
    auto empty = newMesh();
    scale4(empty.get(), 2.0f);
    trans1(empty.get(), 2.0f);
    recordoff();
    EXPECT_EQ(std::memcmp(m.get(), before.get(), sizeof(Mesh)), 0);
    EXPECT_EQ(numsteps(), 14);
    EXPECT_EQ(empty->nverts, 0u);
}

TEST(Recording, EachTransformRecordsItsOpcodeAndParameter)
{
    static void (*const ops[19])(Mesh *, float) = {
        scale1, scale2, scale3, scale4, scale5, scale6, scale7, scale8, scalece, trans1,
        trans2b, trans3, trans4, trans5, trans6, trans2, rotate1, rotate2, rotate3};
    auto m = cubeMesh();
    resetrecord();
    recordon();
    for (int op = 0; op < 19; op++)
        ops[op](m.get(), decpar((uint8_t)(100 + op)));
    recordoff();
    ASSERT_EQ(numsteps(), 19);
    for (int op = 0; op < 19; op++) {
        EXPECT_EQ(CommandRecord.ops[op], op);
        EXPECT_EQ(CommandRecord.params[op], 100 + op);
        EXPECT_EQ(OperationTable[op], ops[op]);
    }
}

TEST(Recording, ATransformedCubeReplaysToTheSameMesh)
{
    auto m = cubeMesh();
    mirlObj rec = recordOf(m.get(), [](Mesh *m) {
        emptyMesh(m);
        addcube(m, 0);
        select2(m, 0);
        select9(m, 2);
        setnorm(m);
        trans2(m, decpar(140));
        scalece(m, decpar(120));
        setnorm(m);
        rotate2(m, decpar(151));
        scale4(m, decpar(133));
        setnorm(m);
    });
    auto again = newMesh();
    replayobj(&rec, again.get());
    EXPECT_EQ(meshDiff(*m, *again), "");
}
