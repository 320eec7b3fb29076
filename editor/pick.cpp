#include "pick.h"

#include <GL/gl.h>

#include "editor.h"
#include "editor_state.h"
#include "render.h"

void drawPickIds(const Mesh *m)
{
    for (uint32_t q = 0; q < m->nquads; q++) {
        uint32_t id = q + 1;
        glColor3ub((GLubyte)(id & 255), (GLubyte)((id >> 8) & 255), (GLubyte)((id >> 16) & 255));
        glBegin(GL_QUADS);
        for (int k = 0; k < 4; k++)
            glVertex3fv(&m->verts[m->quads[q].v[k]].x);
        glEnd();
    }
}

int pickFace(const Mesh *m, int x, int y)
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    beginView();
    drawPickIds(m);
    GLubyte pixel[4] = {0, 0, 0, 0};
    const int w = Editor.windowWidth, h = Editor.windowHeight;
    // Outside the window there is no pixel to read: the background.
    if (x >= 0 && y >= 0 && x < w && y < h)
        glReadPixels(x, h - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    glClearColor(ClearGrey, ClearGrey, ClearGrey, 1.0f);
    int face = pixel[2] * 65536 + pixel[1] * 256 + pixel[0] - 1;
    // Only a colour buffer of fewer than 8 bits per channel could decode to
    // a face that does not exist; treat it as the background.
    if (face >= (int)m->nquads)
        return -1;
    return face;
}
