#include "render.h"

#include <GL/freeglut.h>
#include <cfloat>

#include "editor.h"
#include "editor_state.h"
#include "meter.h"
#include "platform.h"
#include "step_list.h"

const float DefaultColour[3] = {0.7f, 0.7f, 0.85f};
const float QuadColour[3] = {0.25f, 0.25f, 0.5f};
const float SelectedColour[3] = {0.9f, 0.35f, 0.25f};
const float OutlineColour[3] = {0.75f, 0.75f, 0.65f};
const float VertexColour[3] = {0.55f, 0.85f, 0.4f};
const float NormalColour[3] = {0.65f, 0.85f, 0.4f};
const float ClearGrey = 0.1f;

static const float NormalLength = 0.35f;

void initGraphics()
{
    static const GLfloat ambient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    static const GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    static const GLfloat specular[4] = {0.5f, 1.0f, 1.0f, 1.0f};
    static const GLfloat position[4] = {-1.0f, 1.0f, 1.0f, 0.0f}; // directional
    static const GLfloat materialSpecular[4] = {1.0f, 1.0f, 1.0f, 0.3f};

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    // Given while the modelview is the identity: fixed in eye space, so the
    // light keeps coming from the viewer's upper left as the model turns.
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glMaterialfv(GL_FRONT, GL_SPECULAR, materialSpecular);
    glMateriali(GL_FRONT, GL_SHININESS, 16);
    glClearColor(ClearGrey, ClearGrey, ClearGrey, 1.0f);
    setProjection(Editor.windowWidth, Editor.windowHeight);
}

void display()
{
    beginView();
    drawGridAxes();
    const Mesh *m = Editor.interactionMode == ModePreview ? previewMesh() : committedMesh();
    drawMesh(m, GL_QUADS);
    if (Editor.edgesShown)
        drawMesh(m, GL_LINE_LOOP);
    drawVertices(m);
    drawNormals(m);
    drawBadge();
    drawMeter(m);
    drawStepList();
    platform().swapBuffers();
}

void drawGridAxes()
{
    glColor3fv(DefaultColour);
    glBegin(GL_LINES);
    if (Editor.gridShown) {
        for (int i = -5; i <= 5; i++) {
            glVertex3f((float)i, 0.0f, -5.0f);
            glVertex3f((float)i, 0.0f, 5.0f);
        }
        for (int i = -5; i <= 5; i++) {
            glVertex3f(-5.0f, 0.0f, (float)i);
            glVertex3f(5.0f, 0.0f, (float)i);
        }
    }
    if (Editor.axesShown) {
        glColor3f(1.0f, 0.0f, 0.0f);
        glVertex3f(0.0f, 0.1f, 0.0f);
        glVertex3f(5.0f, 0.1f, 0.0f);
        glColor3f(0.0f, 1.0f, 0.0f);
        glVertex3f(0.0f, 0.1f, 0.0f);
        glVertex3f(0.0f, 5.1f, 0.0f);
        glColor3f(0.0f, 0.0f, 1.0f);
        glVertex3f(0.0f, 0.1f, 0.0f);
        glVertex3f(0.0f, 0.1f, 5.0f);
    }
    glEnd();
    glColor3fv(DefaultColour);
}

void drawMesh(const Mesh *m, GLenum primitive)
{
    const int edgesPass = primitive == GL_LINE_LOOP;
    if (Editor.lightingOn)
        glEnable(GL_LIGHTING);
    glLineWidth(4.0f);
    for (uint32_t q = 0; q < m->nquads; q++) {
        if (edgesPass)
            glColor3fv(OutlineColour);
        else if (quadsel(m, q))
            glColor3fv(SelectedColour);
        else
            glColor3fv(QuadColour);
        glBegin(primitive);
        if (Editor.faceLighting)
            glNormal3fv(&m->fnormals[q].x);
        for (int k = 0; k < 4; k++) {
            uint32_t v = m->quads[q].v[k];
            if (Editor.aaoShadingOn)
                glColor3fv(&AAOColours[v].x);
            if (Editor.vertexLighting)
                glNormal3fv(&m->vnormals[v].x);
            glVertex3fv(&m->verts[v].x);
        }
        glEnd();
    }
    glDisable(GL_LIGHTING);
    glLineWidth(1.0f);
    glColor3fv(DefaultColour);
}

void drawVertices(const Mesh *m)
{
    if (!Editor.verticesShown)
        return;
    glColor3fv(VertexColour);
    glPointSize(6.0f);
    glBegin(GL_POINTS);
    for (uint32_t v = 0; v < m->nverts; v++)
        glVertex3fv(&m->verts[v].x);
    glEnd();
    glPointSize(1.0f);
    glColor3fv(DefaultColour);
}

// One whisker from `from` along the direction of `normal`. A normal of zero
// (or not finite) length has no direction and draws nothing.
static void whisker(const Vec3 *from, const Vec3 *normal)
{
    float lengthSquared = maths12(normal);
    if (!(lengthSquared > 0.0f) || lengthSquared > FLT_MAX)
        return;
    Vec3 n, tip;
    maths7(normal, &n);
    maths14(&n);
    maths9(&n, NormalLength);
    maths1(from, &n, &tip);
    glVertex3fv(&from->x);
    glVertex3fv(&tip.x);
}

void drawNormals(const Mesh *m)
{
    glLineWidth(2.0f);
    glColor3fv(NormalColour);
    glBegin(GL_LINES);
    if (Editor.faceNormalsShown) {
        for (uint32_t q = 0; q < m->nquads; q++) {
            Vec3 c;
            centroi(m, q, &c);
            whisker(&c, &m->fnormals[q]);
        }
    }
    if (Editor.vertexNormalsShown) {
        for (uint32_t v = 0; v < m->nverts; v++)
            whisker(&m->verts[v], &m->vnormals[v]);
    }
    glEnd();
    glLineWidth(1.0f);
    glColor3fv(DefaultColour);
}

void beginPanel(int left, int bottom, int right, int top)
{
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, Editor.windowWidth, 0.0, Editor.windowHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3fv(QuadColour);
    glRecti(left, bottom, right, top);
}
