// Rotations by any float: a parameter beyond half a turn turns by the same
// angle as the parameter less whole turns (16 steps of 22.5 degrees), bit
// for bit, and both as a long double evaluation says.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "testmesh.h"

namespace {

// What a rotation by p turns by: p itself within 8.125 (a little over half
// a turn, where the runtime's cosine and sine are exact), else p less the
// nearest whole turns, in long double (exact: p is a float).
long double turn(float p)
{
    if (std::fabs(p) <= 8.125f)
        return p;
    return (long double)p - 16.0L * std::nearbyint((long double)p / 16.0L);
}

float reduced(float p)
{
    return (float)turn(p);
}

void turnedCube(Mesh *m, void (*rotate)(Mesh *, float), float p)
{
    emptyMesh(m);
    addcube(m, 0.0f); // every face selected
    rotate(m, p);
}

// The corners a rotation by p ought to give, from the same degree factor in
// long double: within an ulp of what is stored.
void expectNearLongDouble(const Mesh &m, float p, int axis)
{
    const long double t = turn(p) * 22.5L * (long double)(float)0.01745328, c = std::cos(t), s = std::sin(t);
    for (uint32_t v = 0; v < 8; v++) {
        const float in[3] = {(v & 3) == 1 || (v & 3) == 2 ? 1.0f : -1.0f, v & 2 ? 1.0f : -1.0f,
                             v & 4 ? 1.0f : -1.0f}; // the cube's corners
        const int i = axis == 0 ? 1 : axis == 1 ? 2 : 0, j = (i + 1) % 3; // the turning pair: j = i*s + j*c
        long double want[3] = {in[0], in[1], in[2]};
        want[i] = in[i] * c - in[j] * s;
        want[j] = in[i] * s + in[j] * c;
        const float got[3] = {m.verts[v].x, m.verts[v].y, m.verts[v].z};
        for (int k = 0; k < 3; k++)
            EXPECT_LE(std::fabs((long double)got[k] - want[k]), 1.2e-7L)
                << "p " << p << " axis " << axis << " vertex " << v << " component " << k;
    }
}

} // namespace

TEST(Rotate, AnyFloatTurnsAsItsReductionAndAsLongDoubleSays)
{
    void (*const rotations[3])(Mesh *, float) = {rotate1, rotate2, rotate3};
    auto a = newMesh(), b = newMesh();
    std::mt19937 random(19);
    std::uniform_real_distribution<float> wide(-1e6f, 1e6f), near(-40.0f, 40.0f);
    std::uniform_int_distribution<int> exponent(-20, 19);
    // 70.72 turned vertex 0 of the starting cube to (-5.9e7, -1, -1.7e7)
    // before the angle was reduced.
    std::vector<float> ps = {70.72f, -70.72f, 40.0f, 8.2f, -8.2f, 24.0f, -24.0f, 1e6f, -1e6f, 3e38f};
    for (int n = 0; n < 600; n++) {
        ps.push_back(wide(random));
        ps.push_back(near(random));
        ps.push_back(std::ldexp(near(random), exponent(random)));
    }
    for (float p : ps)
        for (int axis = 0; axis < 3; axis++) {
            turnedCube(a.get(), rotations[axis], p);
            turnedCube(b.get(), rotations[axis], reduced(p));
            ASSERT_EQ(meshDiff(*a, *b), "") << "p " << p << " (reduced " << reduced(p) << ") axis " << axis;
            expectNearLongDouble(*a, p, axis);
        }
}
