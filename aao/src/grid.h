// Spatial grid for the occlusion search: finds, for a vertex, every vertex
// that can lie within the threshold, in increasing index order.
#pragma once

#include <stdint.h>

#include "mirl.h"

// Bins positions[0..count) into cells sized from the threshold (which must
// be above 0) so that every pair whose float squared distance, computed as
// maths2 then maths12, is below the threshold lies in cells that
// neighbourhoodOf joins. Vertices with an infinite or not-a-number
// coordinate are left out: their squared distance to any vertex, themselves
// included, is infinite or not-a-number and never below a threshold.
void buildOcclusionGrid(const Vec3 *positions, uint32_t count, float threshold);

// Number of occupied cells.
uint32_t occlusionCellCount();

// The vertices binned in a cell, in increasing index order.
const uint32_t *occlusionCellMembers(uint32_t cell, uint32_t *memberCount);

// What neighbourhoodOf needs of its own: one per thread that calls it, all
// zero before the first call (the calls leave it so).
struct NeighbourhoodScratch {
    uint32_t cells[343]; // (2 * 3 + 1)^3 neighbour cells at most
    uint64_t indexBits[(MIRL_MAXVERTS + 63) / 64];
};

// Writes the vertices of the cell and of every cell near enough to hold an
// occluder of its members to out, in increasing index order, and returns
// their number (at most the count binned, which out must hold). Reads the
// grid only, so threads may call it at once, each with its own scratch.
uint32_t neighbourhoodOf(uint32_t cell, uint32_t *out, NeighbourhoodScratch &scratch);
