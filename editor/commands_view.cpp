// MIRL SETTINGS, LIGHTING and VIEW: display toggles, lighting switches,
// occlusion shading and camera presets. None of them touches the record.
#include <GL/freeglut.h>

#include "aao.h"
#include "commands.h"
#include "editor_state.h"
#include "platform.h"

static void toggle(int *flag)
{
    *flag = *flag == 0 ? 1 : 0;
    Editor.interactionMode = ModePick;
}

void commandToggleVertices() { toggle(&Editor.verticesShown); }
void commandToggleEdges() { toggle(&Editor.edgesShown); }
void commandToggleGrid() { toggle(&Editor.gridShown); }
void commandToggleAxes() { toggle(&Editor.axesShown); }
void commandToggleVertexNormals() { toggle(&Editor.vertexNormalsShown); }
void commandToggleFaceNormals() { toggle(&Editor.faceNormalsShown); }
void commandToggleLight() { toggle(&Editor.lightingOn); }

void commandFaceLighting()
{
    Editor.faceLighting = 1;
    Editor.vertexLighting = 0;
    Editor.interactionMode = ModePick;
}

void commandVertexLighting()
{
    Editor.vertexLighting = 1;
    Editor.faceLighting = 0;
    Editor.interactionMode = ModePick;
}

void commandAAO()
{
    platform().setCursor(GLUT_CURSOR_WAIT);
    computeAAO(committedMesh(), 0.05f, AAOColours);
    Editor.aaoShadingOn = 1;
    Editor.interactionMode = ModePick;
}

static void viewPreset(float x, float y, float z, float pitch, float yaw)
{
    Editor.eyeX = x;
    Editor.eyeY = y;
    Editor.eyeZ = z;
    Editor.pitch = pitch;
    Editor.yaw = yaw;
    Editor.interactionMode = ModePick;
}

void commandViewReset() { viewPreset(0.0f, 0.0f, 8.0f, 45.0f, 45.0f); }
void commandViewAlongX() { viewPreset(8.0f, 0.0f, 0.0f, 0.0f, 0.0f); }
void commandViewAlongY() { viewPreset(0.0f, 8.0f, 0.1f, 0.0f, 0.0f); }
void commandViewAlongZ() { viewPreset(0.0f, 0.0f, 8.0f, 0.0f, 0.0f); }
