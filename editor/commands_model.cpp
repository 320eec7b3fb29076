// Modelling commands (SELECT, OBJECT, FACES): one-shot and composite ones on
// the committed mesh, parametric ones on the preview.
#include <GL/freeglut.h>

#include "commands.h"
#include "editor_state.h"
#include "platform.h"

float paramConstant(int byte)
{
    return decpar((uint8_t)byte);
}

static float quantised(double value)
{
    if (value < -8.0)
        value = -8.0;
    if (value > 8.0)
        value = 8.0;
    return decpar(encpar((float)value));
}

float offsetValue()
{
    return quantised((double)Editor.paramOffset);
}

float scaleValue()
{
    return quantised((double)Editor.paramOffset + (double)paramConstant(144));
}

static void oneShot(mirlOp operation)
{
    operation(committedMesh(), 0.0f);
    Editor.interactionMode = ModePick;
}

static void withOffset(mirlOp operation)
{
    operation(previewMesh(), offsetValue());
}

static void withScale(mirlOp operation)
{
    operation(previewMesh(), scaleValue());
}

void commandSelectAll() { oneShot(select1); }
void commandSelectNone() { oneShot(select2); }
void commandInvertSelection() { oneShot(select3); }
void commandGrowSelection() { oneShot(select4); }
void commandSelectAdjacent() { oneShot(select5); }
void commandSelectSimilarX() { oneShot(select6); }
void commandSelectSimilarY() { oneShot(select7); }
void commandSelectSimilarZ() { oneShot(select8); }

void commandSmooth()
{
    platform().setCursor(GLUT_CURSOR_WAIT);
    oneShot(smoooth);
}

void commandSubdivide()
{
    platform().setCursor(GLUT_CURSOR_WAIT);
    oneShot(subd);
}

void commandAddCube() { oneShot(addcube); }

void commandObjectMoveX() { withOffset(trans1); }
void commandObjectMoveY() { withOffset(trans2b); }
void commandObjectMoveZ() { withOffset(trans3); }
void commandObjectScaleUniform() { withScale(scale4); }
void commandObjectScaleX() { withScale(scale1); }
void commandObjectScaleY() { withScale(scale2); }
void commandObjectScaleZ() { withScale(scale3); }

void commandInsetFaces()
{
    Mesh *m = committedMesh();
    addquad(m, 0.0f);
    scalece(m, paramConstant(136));
    Editor.interactionMode = ModePick;
}

void commandExtrudeNormal()
{
    Mesh *m = committedMesh();
    addquad(m, 0.0f);
    setnorm(m); // trans2 moves along the stored face normals
    trans2(m, paramConstant(132));
    Editor.interactionMode = ModePick;
}

void commandTaperNormal()
{
    Mesh *m = committedMesh();
    addquad(m, 0.0f);
    scalece(m, paramConstant(136));
    setnorm(m);
    trans2(m, paramConstant(160));
    Editor.interactionMode = ModePick;
}

void commandDeleteFaces() { oneShot(delQuad); }

void commandCage()
{
    Mesh *m = committedMesh();
    addquad(m, 0.0f);
    scalece(m, paramConstant(142));
    delQuad(m, 0.0f);
    Editor.interactionMode = ModePick;
}

void commandHoles()
{
    commandCage();
    commandSubdivide();
    commandSmooth();
}

void commandFacesMoveNormal() { withOffset(trans2); }
void commandFacesMoveX() { withOffset(trans4); }
void commandFacesMoveY() { withOffset(trans5); }
void commandFacesMoveZ() { withOffset(trans6); }
void commandFacesScaleUniform() { withScale(scalece); }
void commandFacesScaleX() { withScale(scale5); }
void commandFacesScaleY() { withScale(scale6); }
void commandFacesScaleZ() { withScale(scale7); }
void commandRotateX() { withOffset(rotate1); }
void commandRotateY() { withOffset(rotate2); }
void commandRotateZ() { withOffset(rotate3); }
