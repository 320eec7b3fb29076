#include "commands.h"

const CommandHandler CommandHandlers[MenuItemCount] = {
    // SELECT
    commandSelectAll, commandSelectNone, commandInvertSelection, commandGrowSelection,
    commandSelectAdjacent, commandSelectSimilarX, commandSelectSimilarY, commandSelectSimilarZ,
    // OBJECT
    commandSmooth, commandSubdivide, commandAddCube,
    // OBJECT Move
    commandObjectMoveX, commandObjectMoveY, commandObjectMoveZ,
    // OBJECT Scale
    commandObjectScaleUniform, commandObjectScaleX, commandObjectScaleY, commandObjectScaleZ,
    // FACES
    commandInsetFaces, commandExtrudeNormal, commandTaperNormal, commandDeleteFaces, commandCage,
    commandHoles,
    // FACES Move
    commandFacesMoveNormal, commandFacesMoveX, commandFacesMoveY, commandFacesMoveZ,
    // FACES Scale
    commandFacesScaleUniform, commandFacesScaleX, commandFacesScaleY, commandFacesScaleZ,
    // FACES Rotate
    commandRotateX, commandRotateY, commandRotateZ,
    // FILE
    commandUndo, loadObjectCommand, saveObjectCommand, commandObjectInfo, exportCommand,
    commandRestart, commandAbout, commandSeparator, commandExit,
    // MIRL SETTINGS
    commandToggleVertices, commandToggleEdges, commandToggleGrid, commandToggleAxes,
    commandToggleVertexNormals, commandToggleFaceNormals,
    // LIGHTING
    commandToggleLight, commandFaceLighting, commandVertexLighting, commandAAO,
    // VIEW
    commandViewReset, commandViewAlongX, commandViewAlongY, commandViewAlongZ,
};
