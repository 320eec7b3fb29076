// Helpers of the operation tests: exact expectations, the cube, and the
// random meshes and records of the differential checks.
#pragma once

#include <gtest/gtest.h>

#include "randrec.h"
#include "testmesh.h"

// The float a double rounds to, kept at any optimisation level (volatile):
// expected values must not inherit the fault they test.
inline float f32(double d)
{
    volatile float f = static_cast<float>(d);
    return f;
}

inline void expectVec(const Vec3 &v, float x, float y, float z, const char *what)
{
    EXPECT_TRUE(bitsOf(v.x) == bitsOf(x) && bitsOf(v.y) == bitsOf(y) && bitsOf(v.z) == bitsOf(z))
        << what << ": " << v.x << " " << v.y << " " << v.z << " vs " << x << " " << y << " " << z;
}

inline void expectQuad(const Mesh &m, uint32_t q, Quad want)
{
    EXPECT_EQ(std::memcmp(&m.quads[q], &want, sizeof want), 0) << "face " << q;
}

// Cube on an empty mesh, normals computed, Recorder off and record empty;
// with a face list, only those faces selected.
std::unique_ptr<Mesh> cubeMesh(std::initializer_list<int> only = {-1});

// Random quads over a small vertex pool whose coordinates come from a few
// values (+0, -0, halves, small integers, sometimes NaN or infinity), so
// equal sums, equal centres and signed zeros are common; some vertices
// unused, some corners repeated, random 0/1 flags and normals.
void randomOpsMesh(Rng &r, Mesh *m, uint32_t maxVerts, uint32_t maxQuads);

// Copies a's used part to b, runs op on a and oracle on b, recomputes both
// normals and returns meshDiff of the results.
std::string runBoth(Mesh *a, Mesh *b, mirlOp op, mirlOp oracle, float p);

struct DiffStats {
    long records = 0, steps = 0, opcodes[256] = {};
    uint32_t maxFaces = 0;
};

// Random records of seeds first..first+count-1 replayed through the runtime
// and oracle::replay: "" when every mesh, LastPickedFace and PickCount agree.
std::string diffRecords(uint64_t first, uint64_t count, const RecOptions &o, DiffStats *st);

// Six random operations of opcodes 0-18 and 27-30 in a row on each random
// mesh of seeds first..first+count-1, runtime against oracle.
std::string diffMeshes(uint64_t first, uint64_t count, uint32_t maxVerts, uint32_t maxQuads);
