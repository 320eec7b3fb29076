// The editor's global state: the two mesh slots, the scene and view flags,
// the camera and the interaction mode. Everything is static; nothing is
// allocated while the program runs.
#pragma once

#include "mirl.h"

enum InteractionMode {
    ModePreview = 0, // a parametric command follows the mouse
    ModePick = 1,    // at rest: a left click toggles the face under the pointer
    ModeZoom = 2,    // vertical motion moves the eye along z
    ModeOrbit = 4,   // motion turns the scene
};

// Number of menu identifiers: twelve submenus, then the root.
enum { MenuIdCount = 13 };

struct EditorState {
    int gridShown;
    int axesShown;
    int faceNormalsShown;
    int vertexNormalsShown;
    int verticesShown;
    int edgesShown;
    int lightingOn;
    int faceLighting;
    int vertexLighting;
    int aaoShadingOn;
    int interactionMode;
    int exportCounter;
    float eyeX, eyeY, eyeZ;
    float pitch; // degrees about X
    float yaw;   // degrees about Y, applied to the model first
    float paramOffset;
    int windowWidth, windowHeight;
    int horizontalDirection, verticalDirection;
    int currentCommand;
    int menuIds[MenuIdCount];
};

extern EditorState Editor;

// Last pointer position seen by trackMouse (window pixels, y downwards).
extern int LastMouseX, LastMouseY;

// Non-zero until restartScene has applied the first-run defaults.
extern int FirstRun;

enum { CommittedSlot = 0, PreviewSlot = 1 };
extern Mesh MeshSlots[2];

inline Mesh *committedMesh()
{
    return &MeshSlots[CommittedSlot];
}

inline Mesh *previewMesh()
{
    return &MeshSlots[PreviewSlot];
}

// Occlusion greys of the committed mesh, one per vertex, shown while
// aaoShadingOn is set.
extern Vec3 AAOColours[MIRL_MAXVERTS];

// Copies the whole record, capacity included.
void copyMesh(Mesh *destination, const Mesh *source);

// Copies the counts and the used part of every array: all that a replay,
// the display or an operation ever reads.
void copyUsedMesh(Mesh *destination, const Mesh *source);

// Copies the counts and the used positions: all that a parametric command
// (a move, scale or rotation) changes.
void copyUsedPositions(Mesh *destination, const Mesh *source);

// Empties the mesh and the record, records the starting cube and resets the
// camera; applies the first-run defaults once. The history is the caller's.
void restartScene(Mesh *m);
