#include "editor_state.h"

#include <cstring>

EditorState Editor;
int LastMouseX, LastMouseY;
int FirstRun = 1;
Mesh MeshSlots[2];
Vec3 AAOColours[MIRL_MAXVERTS];

void copyMesh(Mesh *destination, const Mesh *source)
{
    std::memcpy(destination, source, sizeof(Mesh));
}

void copyUsedMesh(Mesh *destination, const Mesh *source)
{
    const uint32_t nq = source->nquads, nv = source->nverts;
    destination->nquads = nq;
    destination->nverts = nv;
    std::memcpy(destination->quads, source->quads, nq * sizeof(Quad));
    std::memcpy(destination->fnormals, source->fnormals, nq * sizeof(Vec3));
    std::memcpy(destination->selected, source->selected, nq * sizeof(int32_t));
    std::memcpy(destination->verts, source->verts, nv * sizeof(Vec3));
    std::memcpy(destination->vnormals, source->vnormals, nv * sizeof(Vec3));
}

void copyUsedPositions(Mesh *destination, const Mesh *source)
{
    destination->nquads = source->nquads;
    destination->nverts = source->nverts;
    std::memcpy(destination->verts, source->verts, source->nverts * sizeof(Vec3));
}

void restartScene(Mesh *m)
{
    m->nverts = 0;
    m->nquads = 0;
    resetrecord();
    recordon();
    addcube(m, 0.0f);
    recordoff();
    setnorm(m);

    Editor.eyeX = 0.0f;
    Editor.eyeY = 0.0f;
    Editor.eyeZ = 8.0f;
    Editor.pitch = 45.0f;
    Editor.yaw = 45.0f;
    Editor.paramOffset = 0.0f;

    if (FirstRun) {
        Editor.gridShown = 1;
        Editor.axesShown = 1;
        Editor.verticesShown = 1;
        Editor.edgesShown = 1;
        Editor.vertexLighting = 1;
        Editor.interactionMode = ModePick;
        Editor.aaoShadingOn = 0;
        Editor.faceLighting = 0;
        Editor.lightingOn = 0;
        Editor.vertexNormalsShown = 0;
        Editor.faceNormalsShown = 0;
        Editor.horizontalDirection = 0;
        Editor.verticalDirection = 0;
        Editor.windowWidth = 800;
        Editor.windowHeight = 600;
        Editor.exportCounter = 0;
        FirstRun = 0;
    }
}
