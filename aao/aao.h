// Approximate ambient occlusion: a grey level per vertex that darkens with
// the number, size and nearness of the vertices in front of its surface.
#pragma once

#include "mirl.h"

// Writes out[0..nverts) for the mesh's current positions and vertex normals
// (red = green = blue); nothing for an empty mesh. Vertices count as
// occluders when their squared distance is below threshold. The colours are
// bit for bit those of the plain double loop over all pairs, found through a
// spatial grid instead, by as many threads as the processor runs at once.
// One call at a time: the threads share static arrays.
void computeAAO(const Mesh *m, float threshold, Vec3 *out);

// The same colours, by at most threadCount threads (the calling thread and
// up to threadCount - 1 more; 0 counts as 1).
void computeAAOThreads(const Mesh *m, float threshold, Vec3 *out, unsigned threadCount);

// Which pair batches this build and processor use: "AVX-512", "SSE2" or
// "scalar" (for reports).
const char *aaoBatchName();
