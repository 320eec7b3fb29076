// The editor's commands in menu order: item number, submenu, label, handler,
// kind and the record steps each adds.
#include "commands.h"

enum Submenu {
    Select, Object, ObjectMove, ObjectScale, Faces, FacesMove, FacesScale, FacesRotate,
    File, Settings, Lighting, View,
};

// The seven leading blanks indent the sub-groups under "OBJECT " and "FACES".
const char *const SubmenuTitles[SubmenuCount] = {
    "SELECT",        "OBJECT ",       "       Move", "       Scale",
    "FACES",         "       Move",   "       Scale", "       Rotate",
    "FILE",          "MIRL SETTINGS", "LIGHTING",    "VIEW",
};

constexpr CommandEntry Commands[CommandCount] = {
    {0, Select, "Select All", commandSelectAll, OneShot, 1},
    {1, Select, "Select None", commandSelectNone, OneShot, 1},
    {2, Select, "Invert Selection", commandInvertSelection, OneShot, 1},
    {3, Select, "Grow Selection", commandGrowSelection, OneShot, 1},
    {4, Select, "Select Adjacent", commandSelectAdjacent, OneShot, 1},
    {5, Select, "Select Similar X", commandSelectSimilarX, OneShot, 1},
    {6, Select, "Select Similar Y", commandSelectSimilarY, OneShot, 1},
    {7, Select, "Select Similar Z", commandSelectSimilarZ, OneShot, 1},
    {8, Object, "Smooth", commandSmooth, OneShot, 1},
    {9, Object, "Subdivide", commandSubdivide, OneShot, 1},
    {10, Object, "Add Cube", commandAddCube, OneShot, 1},
    {11, ObjectMove, "Move X", commandObjectMoveX, Parametric, 1},
    {12, ObjectMove, "Move Y", commandObjectMoveY, Parametric, 1},
    {13, ObjectMove, "Move Z", commandObjectMoveZ, Parametric, 1},
    {14, ObjectScale, "Scale Uniform", commandObjectScaleUniform, Parametric, 1},
    {15, ObjectScale, "Scale X", commandObjectScaleX, Parametric, 1},
    {16, ObjectScale, "Scale Y", commandObjectScaleY, Parametric, 1},
    {17, ObjectScale, "Scale Z", commandObjectScaleZ, Parametric, 1},
    {18, Faces, "Inset Faces", commandInsetFaces, OneShot, 2},
    {19, Faces, "Extrude Normal", commandExtrudeNormal, OneShot, 2},
    {20, Faces, "Taper Normal", commandTaperNormal, OneShot, 3},
    {21, Faces, "Delete", commandDeleteFaces, OneShot, 1},
    {22, Faces, "Cage", commandCage, OneShot, 3},
    {23, Faces, "Holes", commandHoles, OneShot, 5},
    {24, FacesMove, "Move Normal", commandFacesMoveNormal, Parametric, 1},
    {25, FacesMove, "Move X", commandFacesMoveX, Parametric, 1},
    {26, FacesMove, "Move Y", commandFacesMoveY, Parametric, 1},
    {27, FacesMove, "Move Z", commandFacesMoveZ, Parametric, 1},
    {28, FacesScale, "Scale Uniform", commandFacesScaleUniform, Parametric, 1},
    {29, FacesScale, "Scale X", commandFacesScaleX, Parametric, 1},
    {30, FacesScale, "Scale Y", commandFacesScaleY, Parametric, 1},
    {31, FacesScale, "Scale Z", commandFacesScaleZ, Parametric, 1},
    {32, FacesRotate, "Rot X", commandRotateX, Parametric, 1},
    {33, FacesRotate, "Rot Y", commandRotateY, Parametric, 1},
    {34, FacesRotate, "Rot Z", commandRotateZ, Parametric, 1},
    {35, File, "Undo (u)", commandUndo, EditorCommand, 0},
    {36, File, "Load", loadObjectCommand, EditorCommand, 0},
    {37, File, "Save", saveObjectCommand, EditorCommand, 0},
    {38, File, "Object Info (i)", commandObjectInfo, EditorCommand, 0},
    {39, File, "Export as C", exportCommand, EditorCommand, 0},
    {40, File, "Restart", commandRestart, EditorCommand, 0},
    {41, File, "About", commandAbout, EditorCommand, 0},
    {42, File, "-----------", commandSeparator, EditorCommand, 0},
    {43, File, "* Exit *", commandExit, EditorCommand, 0},
    {44, Settings, "Vertices on/off", commandToggleVertices, EditorCommand, 0},
    {45, Settings, "Edges on/off", commandToggleEdges, EditorCommand, 0},
    {46, Settings, "Grid on/off", commandToggleGrid, EditorCommand, 0},
    {47, Settings, "Axes on/off", commandToggleAxes, EditorCommand, 0},
    {48, Settings, "Vertex Normals on/off", commandToggleVertexNormals, EditorCommand, 0},
    {49, Settings, "Face Normals on/off", commandToggleFaceNormals, EditorCommand, 0},
    {50, Lighting, "Light On/Off", commandToggleLight, EditorCommand, 0},
    {51, Lighting, "Face Lighting", commandFaceLighting, EditorCommand, 0},
    {52, Lighting, "Vertex Lighting", commandVertexLighting, EditorCommand, 0},
    {53, Lighting, "AAO (Aprox AO)", commandAAO, EditorCommand, 0},
    {54, View, "Reset", commandViewReset, EditorCommand, 0},
    {55, View, "Along X", commandViewAlongX, EditorCommand, 0},
    {56, View, "Along Y", commandViewAlongY, EditorCommand, 0},
    {57, View, "Along Z", commandViewAlongZ, EditorCommand, 0},
    // Not in the menu: a pick is run by the mouse, redo by its keys, an edit
    // of a step by a click on the step list and a deletion by Delete.
    {58, NoSubmenu, "pick", nullptr, OneShot, 1},
    {59, NoSubmenu, "redo", commandRedo, EditorCommand, 0},
    {60, NoSubmenu, "edit step", commandEditStep, Parametric, 0},
    {61, NoSubmenu, "delete step", commandDeleteStep, EditorCommand, 0},
};

static constexpr bool rowsInItemOrder()
{
    int menuEntries = 0;
    for (int i = 0; i < CommandCount; i++) {
        if (Commands[i].item != i)
            return false;
        // The menu builder numbers the entries in order, submenu by submenu.
        if (Commands[i].submenu != NoSubmenu && (i != menuEntries++ || (i > 0 && Commands[i].submenu < Commands[i - 1].submenu)))
            return false;
    }
    return menuEntries == MenuItemCount;
}
static_assert(rowsInItemOrder(), "rows out of order");
static_assert(Commands[ItemUndo].handler == commandUndo && Commands[ItemLoad].handler == loadObjectCommand &&
                  Commands[ItemSave].handler == saveObjectCommand &&
                  Commands[ItemObjectInfo].handler == commandObjectInfo &&
                  Commands[ItemExport].handler == exportCommand && Commands[ItemRestart].handler == commandRestart &&
                  Commands[ItemExit].handler == commandExit && Commands[ItemAAO].handler == commandAAO &&
                  Commands[PickItem].handler == nullptr && Commands[ItemRedo].handler == commandRedo &&
                  Commands[ItemEditStep].handler == commandEditStep &&
                  Commands[ItemDeleteStep].handler == commandDeleteStep,
              "a named item is not on its row");
