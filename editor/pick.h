// Face picking by colour identifiers: every quad drawn in a flat colour that
// encodes index + 1, and one pixel read back under the pointer.
#pragma once

#include "mirl.h"

// Index of the quad under window position (x, y) (pixels from the top-left
// corner, as GLUT reports them), or -1 for none.
int pickFace(const Mesh *m, int x, int y);

// Draws the identifier image of the mesh's quads.
void drawPickIds(const Mesh *m);
