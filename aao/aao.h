// Approximate ambient occlusion: a grey level per vertex that darkens with
// the number, size and nearness of the vertices in front of its surface.
#pragma once

#include "mirl.h"

// Writes out[0..nverts) for the mesh's current positions and vertex normals
// (red = green = blue); nothing for an empty mesh. Vertices count as
// occluders when their squared distance is below threshold. The colours are
// bit for bit those of the plain double loop over all pairs, found through a
// spatial grid instead. Uses static scratch: one call at a time.
void computeAAO(const Mesh *m, float threshold, Vec3 *out);

// Which pair batches this build and processor use: "AVX-512", "SSE2" or
// "scalar" (for reports).
const char *aaoBatchName();
