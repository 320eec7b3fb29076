// Wavefront OBJ output of a mesh, so a model opens in any 3D package.
#pragma once

#include <cstdio>

#include "mirl.h"

// Writes the used part of m: a comment with the counts, one "v" line per
// vertex ("%.9g", enough to read back the exact float), then the faces as
// 1-based "f" lines, unselected faces first and the selected ones in a
// group "selected" of their own. Corners are written in reverse so that
// they run counter-clockwise seen from the side the face normal points to,
// as OBJ readers expect. Returns false if a write failed.
bool writeWavefront(std::FILE *out, const Mesh &m);

// Number of vertex coordinates that are NaN or infinite (a record can scale
// a model out of the float range); OBJ readers reject such files.
unsigned countNonFinite(const Mesh &m);
