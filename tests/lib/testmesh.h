// Helpers shared by the tests: meshes on the heap, byte-exact comparison,
// and a few ready-made records.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "mirl.h"

// A zeroed Mesh on the heap (14 MB: too large for a test's stack).
inline std::unique_ptr<Mesh> newMesh()
{
    return std::make_unique<Mesh>();
}

// Empties the mesh the way a caller of a replay must.
inline void emptyMesh(Mesh *m)
{
    m->nverts = 0;
    m->nquads = 0;
}

// Empties m and replays r into it.
inline void replayInto(const mirlObj &r, Mesh *m)
{
    emptyMesh(m);
    replayobj(&r, m);
}

// Compares the used part of two meshes bit for bit (counts, quads, flags,
// positions and both normal arrays). Returns "" when equal, otherwise a
// description of the first difference.
std::string meshDiff(const Mesh &a, const Mesh &b);

// m and lastPicked against a fresh replay of r (Recorder off): "" when the
// meshes agree bit for bit, the last picked faces agree and the replay left
// the pick count alone. The Recorder, LastPickedFace and PickCount are left
// as they were.
std::string replayDiff(const mirlObj &r, const Mesh &m, int32_t lastPicked);

// Bit pattern of a float, for exact comparisons that also tell -0 from +0.
inline uint32_t bitsOf(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

// A record from a list of steps and a pick list. A step: its opcode, its
// ParamByte (128, the byte of 0.0, when not given) and how many times in a
// row it stands.
struct Step {
    int op, param = 128, times = 1;
};
mirlObj makeRecord(std::initializer_list<Step> steps, std::initializer_list<uint32_t> picks = {});
void addSteps(mirlObj &r, std::initializer_list<Step> steps); // appended

// The record's used part, "count: op/param ... | picks in use", to compare
// records by.
std::string usedText(const mirlObj &r);
