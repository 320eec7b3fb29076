// Helpers of the operation tests: exact float steps, small meshes and the
// random meshes of the differential checks.
#pragma once

#include <cstdint>
#include <memory>

#include "randrec.h"
#include "testmesh.h"

// The float a double rounds to; volatile, so the rounding is kept at any
// optimisation level (expected values must not inherit the fault they test).
inline float f32(double d)
{
    volatile float f = static_cast<float>(d);
    return f;
}

// Cube on an empty mesh, Recorder off, empty record, normals computed.
std::unique_ptr<Mesh> cubeMesh();

// Only the listed faces selected.
void selectOnly(Mesh *m, std::initializer_list<uint32_t> faces);

// A lone quad (0,0,0) (1,0,0) (1,1,0) (0,1,0), unselected.
std::unique_ptr<Mesh> loneQuad();

// Random quads over a small pool of vertices whose coordinates come from a
// handful of values (+0, -0, halves, small integers, sometimes NaN or
// infinity), so that equal sums, equal centres and signed zeros are common;
// some vertices unused, some corners repeated, random 0/1 flags, random
// normals. Counts stay below the given limits.
void randomOpsMesh(Rng &r, Mesh *m, uint32_t maxVerts, uint32_t maxQuads);

// Copies a's used part to b, runs op on a and oracle on b, recomputes both
// meshes' normals and returns meshDiff of the results.
std::string runBoth(Mesh *a, Mesh *b, mirlOp op, mirlOp oracle, float p);

// Counts of what a differential run covered.
struct DiffStats {
    long records = 0, steps = 0;
    long opcodes[256] = {};
    uint32_t maxFaces = 0, maxVerts = 0;
};

// Replays random records of seeds first..first+count-1 through the runtime
// and through oracle::replay; "" when every mesh, LastPickedFace and
// PickCount agree, else the first difference.
std::string diffRecords(uint64_t first, uint64_t count, const RecOptions &o, DiffStats *st);

// Each operation of opcodes 0-18 and 27-30, runtime against oracle, on random
// meshes of seeds first..first+count-1 (randomOpsMesh with the limits given).
std::string diffMeshes(uint64_t first, uint64_t count, uint32_t maxVerts, uint32_t maxQuads);
