// The corner badge: "mirl" in block letters on a dark backing, drawn in
// normalised device coordinates so it stays in the lower-left corner.
#include <GL/gl.h>

#include "render.h"

// Units of 1/170 of the half-window. The letters share strokes: one bar is
// the arch of the "m" and the arm of the "r"; the accent-coloured "i" stands
// as the m's right leg, rises above it and leans on the r's stem.
const BadgeRect BadgeRects[7] = {
    {-17, -5, 17, 5},  // 0 backing
    {-15, 1, 4, 3},    // 1 bar: the m's arch, the r's arm
    {-15, -4, -13, 3}, // 2 m, left leg
    {-10, -4, -8, 3},  // 3 m, middle leg
    {-5, -4, -3, 7},   // 4 i, in the accent colour
    {-3, -4, -1, 3},   // 5 r, stem
    {6, -4, 8, 8},     // 6 l
};

void drawBadge()
{
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-0.85f, -0.9f, 0.0f);
    glScalef(1.0f / 170.0f, 1.0f / 170.0f, 1.0f);
    for (int i = 0; i < 7; i++) {
        if (i == 0)
            glColor3fv(QuadColour);
        else if (i == 4)
            glColor3fv(SelectedColour);
        else
            glColor3fv(DefaultColour);
        glRecti(BadgeRects[i].x1, BadgeRects[i].y1, BadgeRects[i].x2, BadgeRects[i].y2);
    }
    glEnable(GL_DEPTH_TEST);
    glColor3fv(DefaultColour);
}
