// The occlusion shading as the plain double loop over all ordered vertex
// pairs: the reference the grid search must match bit for bit. V^2 tests.
#pragma once

#include <stdint.h>

#include "mirl.h"

// The same contract as computeAAO.
void literalAAO(const Mesh *m, float threshold, Vec3 *out);

// Only vertices first..end-1 are shaded (against all vertices); the rest of
// out is left alone. For measuring the literal loop on a slice.
void literalAAORange(const Mesh *m, float threshold, Vec3 *out, uint32_t first, uint32_t end);
