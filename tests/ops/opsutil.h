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

// The cube with normals and the given flags ("100100": faces 0 and 3),
// Recorder off, record empty.
std::unique_ptr<Mesh> cubeMesh(const char *flags = "111111");

// Random quads over a small vertex pool whose coordinates come from a few
// values (+0, -0, halves, small integers, sometimes NaN or infinity), so
// equal sums, equal centres and signed zeros are common; some vertices
// unused, some corners repeated, random 0/1 flags and face normals.
void randomOpsMesh(Rng &r, Mesh *m, uint32_t maxVerts, uint32_t maxQuads);

// op on a, oracle on a copy b of a's used part, fresh normals on both:
// meshDiff of the results.
std::string runBoth(Mesh *a, Mesh *b, mirlOp op, mirlOp oracle, float p);

struct DiffStats {
    long records = 0, steps = 0, opcodes[256] = {};
    uint32_t maxFaces = 0;
};

// Random records of the seeds [first, first + count) replayed by the runtime
// and by oracle::replay: "" when every mesh, LastPickedFace and PickCount
// agree. And six random operations of opcodes 0-18, 27-30 in a row on
// random meshes, runtime against oracle.
std::string diffRecords(uint64_t first, uint64_t count, const RecOptions &o, DiffStats *st);
std::string diffMeshes(uint64_t first, uint64_t count, uint32_t maxVerts, uint32_t maxQuads);
