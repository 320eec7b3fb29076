// The editor's commands: one handler per menu item, called by the command
// cycle with the Recorder on, the preview freshly copied from the committed
// mesh and the mode at ModePreview. A handler that finishes its command sets
// ModePick; a parametric handler leaves the mode and edits the preview.
#pragma once

enum {
    MenuItemCount = 58,
    FirstEditorItem = 35, // items below are modelling commands (history, record)
    ItemUndo = 35,
    ItemLoad = 36,
    ItemSave = 37,
    ItemObjectInfo = 38,
    ItemExport = 39,
    ItemRestart = 40,
    ItemAbout = 41,
    ItemSeparator = 42,
    ItemExit = 43,
    ItemAAO = 53,
};

typedef void (*CommandHandler)(void);
extern const CommandHandler CommandHandlers[MenuItemCount];

// The value a parametric command hands its operation: the live parameter
// (plus the scale base) clamped to [-8, 8] and read back through its
// ParamByte, so the mesh on screen is exactly what a replay rebuilds.
float offsetValue();
float scaleValue();

// Decoded ParamBytes used as command constants.
float paramConstant(int byte);

// SELECT, OBJECT and FACES (items 0-34)
void commandSelectAll();
void commandSelectNone();
void commandInvertSelection();
void commandGrowSelection();
void commandSelectAdjacent();
void commandSelectSimilarX();
void commandSelectSimilarY();
void commandSelectSimilarZ();
void commandSmooth();
void commandSubdivide();
void commandAddCube();
void commandObjectMoveX();
void commandObjectMoveY();
void commandObjectMoveZ();
void commandObjectScaleUniform();
void commandObjectScaleX();
void commandObjectScaleY();
void commandObjectScaleZ();
void commandInsetFaces();
void commandExtrudeNormal();
void commandTaperNormal();
void commandDeleteFaces();
void commandCage();
void commandHoles();
void commandFacesMoveNormal();
void commandFacesMoveX();
void commandFacesMoveY();
void commandFacesMoveZ();
void commandFacesScaleUniform();
void commandFacesScaleX();
void commandFacesScaleY();
void commandFacesScaleZ();
void commandRotateX();
void commandRotateY();
void commandRotateZ();

// FILE (items 35-43)
void commandUndo();
void loadObjectCommand();
void saveObjectCommand();
void commandObjectInfo();
void exportCommand();
void commandRestart();
void commandAbout();
void commandSeparator();
void commandExit();

// MIRL SETTINGS, LIGHTING, VIEW (items 44-57)
void commandToggleVertices();
void commandToggleEdges();
void commandToggleGrid();
void commandToggleAxes();
void commandToggleVertexNormals();
void commandToggleFaceNormals();
void commandToggleLight();
void commandFaceLighting();
void commandVertexLighting();
void commandAAO();
void commandViewReset();
void commandViewAlongX();
void commandViewAlongY();
void commandViewAlongZ();
