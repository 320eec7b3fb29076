// The viewport: fixed-function OpenGL in immediate mode.
#pragma once

#include <GL/gl.h>

#include "mirl.h"

// Depth test, light, material and clear colour; once, after the window.
void initGraphics();

// The display callback: grid and axes, the mesh of the current mode (faces,
// outlines, vertices, normals), the badge, the byte meter and the step list. Every frame leaves lighting
// off, line width and point size 1, depth test on, the default colour, the
// modelview matrix selected and the viewport's clear colour.
void display();

void drawGridAxes();
void drawMesh(const Mesh *m, GLenum primitive); // GL_QUADS or GL_LINE_LOOP
void drawVertices(const Mesh *m);
void drawNormals(const Mesh *m);
void drawBadge();

// For the panels drawn over the scene (byte meter, step list): depth test
// off, both matrices set to window pixels with the origin at the bottom left,
// and the panel's backing drawn from (left, bottom) to (right, top). The
// panel turns the depth test back on when it is done.
void beginPanel(int left, int bottom, int right, int top);

// Rectangles of the badge: 0 the backing, 1-6 the mark.
struct BadgeRect {
    int x1, y1, x2, y2;
};
extern const BadgeRect BadgeRects[7];

// Colours of the viewport (RGB floats).
extern const float DefaultColour[3];
extern const float QuadColour[3];
extern const float SelectedColour[3];
extern const float OutlineColour[3];
extern const float VertexColour[3];
extern const float NormalColour[3];
extern const float ClearGrey;
