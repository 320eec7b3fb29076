// The editor's commands: one handler per menu item, called by the command
// cycle with the Recorder on, the preview freshly copied from the committed
// mesh and the mode at ModePreview. A handler that finishes its command sets
// ModePick; a parametric handler leaves the mode and edits the preview.
#pragma once

typedef void (*CommandHandler)(void);

enum CommandKind {
    EditorCommand, // no step, no history (FILE, settings, lighting, view)
    OneShot,       // edits the committed mesh and ends at once
    Parametric,    // edits the preview while the mouse moves; a click commits
};

enum { NoSubmenu = -1 }; // an entry no menu shows

// One editor command. Menus, dispatch, the record's room check and undo all
// read the one table below; adding a command means adding its row and its
// handler.
struct CommandEntry {
    int item;          // its number: the menu entry's value and its index here
    int submenu;       // 0-11 (see SubmenuTitles) or NoSubmenu
    const char *label; // the menu entry's text
    CommandHandler handler;
    CommandKind kind;
    int steps; // record steps a modelling command adds; 0 for editor commands
};

enum {
    SubmenuCount = 12,
    MenuItemCount = 58, // items 0-57 are the menu's entries
    // Items the program names. The table checks at compile time that each
    // sits on its own row.
    ItemUndo = 35,
    ItemLoad = 36,
    ItemSave = 37,
    ItemObjectInfo = 38,
    ItemExport = 39,
    ItemRestart = 40,
    ItemExit = 43,
    ItemAAO = 53,
    PickItem = 58, // a face pick: no menu entry, but a history item
    ItemRedo = 59, // keys only: the menu tree stays as it always was
    // The step list's: a click on a row, the Delete key; history items.
    ItemEditStep = 60,
    ItemDeleteStep = 61,
    CommandCount = 62,
};

extern const CommandEntry Commands[CommandCount];
extern const char *const SubmenuTitles[SubmenuCount];

inline bool isModellingCommand(int item)
{
    return Commands[item].steps > 0;
}

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

// FILE (items 35-43), redo, and the step list's edit and deletion
void commandUndo();
void commandRedo();
void commandEditStep();
void commandDeleteStep();
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
