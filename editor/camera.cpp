#include <GL/freeglut.h>

#include "editor.h"
#include "editor_state.h"

void setProjection(int width, int height)
{
    if (width < 1)
        width = 1;
    if (height < 1)
        height = 1;
    Editor.windowWidth = width;
    Editor.windowHeight = height;
    glLoadIdentity();
    glViewport(0, 0, width, height);
    gluPerspective(45.0, (double)width / (double)height, (double)0.1f, 100.0);
}

void setCamera()
{
    glLoadIdentity();
    gluLookAt(Editor.eyeX, Editor.eyeY, Editor.eyeZ, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}

void beginView()
{
    glMatrixMode(GL_PROJECTION);
    setProjection(Editor.windowWidth, Editor.windowHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    setCamera();
    glRotatef(Editor.pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(Editor.yaw, 0.0f, 1.0f, 0.0f);
}
