// What a player's objects need of it, found by replaying them with the
// runtime: the sizes they reach and the guards they reach. The generator
// leaves out what none of them needs.
#pragma once

#include <cstdint>

#include "mirl.h"

struct ObjectNeeds {
    uint32_t mostVerts = 0, mostFaces = 0; // largest counts after any step
    uint32_t smoothFaces = 0;              // largest face count before a smooth or subdivide
    uint64_t smoothWork = 0;               // sum over them of that count squared
    uint64_t extrudeWork = 0;              // sum over extrudes of selected faces times faces
    bool refusedCube = false;              // an add cube refused for capacity
    bool refusedExtrude = false;           // an extrude refused for capacity
    bool refusedSmooth = false;            // a smooth or subdivide refused for capacity
    bool pickOutside = false;              // a pick at or beyond the face count
    bool similarUsed = false;              // select similar (any axis) used
    bool similarFirst = false;             // a select similar before the object's first pick
    bool similarNoFace = false;            // a select similar while the last pick names no face
    bool skippedSteps = false;             // an opcode with no operation (skipped)
};

// Replays r into m (emptied first) with the runtime, step by step, and
// notes what it needs. m ends holding r's mesh.
ObjectNeeds measureObject(const mirlObj &r, Mesh *m);

// What a player of several objects needs: the largest of each.
void addNeeds(ObjectNeeds *all, const ObjectNeeds &one);
