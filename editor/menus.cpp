#include "menus.h"

#include <GL/freeglut.h>

#include "commands.h"
#include "editor.h"
#include "editor_state.h"
#include "platform.h"

const int SubmenuEntries[SubmenuCount] = {8, 3, 3, 4, 6, 4, 4, 3, 9, 6, 4, 4};

// The seven leading blanks indent the sub-groups under "OBJECT " and "FACES".
const char *const SubmenuTitles[SubmenuCount] = {
    "SELECT",        "OBJECT ",       "       Move", "       Scale",
    "FACES",         "       Move",   "       Scale", "       Rotate",
    "FILE",          "MIRL SETTINGS", "LIGHTING",    "VIEW",
};

const char *const ItemLabels[MenuItemCount] = {
    // SELECT
    "Select All", "Select None", "Invert Selection", "Grow Selection", "Select Adjacent",
    "Select Similar X", "Select Similar Y", "Select Similar Z",
    // OBJECT
    "Smooth", "Subdivide", "Add Cube",
    // OBJECT Move
    "Move X", "Move Y", "Move Z",
    // OBJECT Scale
    "Scale Uniform", "Scale X", "Scale Y", "Scale Z",
    // FACES
    "Inset Faces", "Extrude Normal", "Taper Normal", "Delete", "Cage", "Holes",
    // FACES Move
    "Move Normal", "Move X", "Move Y", "Move Z",
    // FACES Scale
    "Scale Uniform", "Scale X", "Scale Y", "Scale Z",
    // FACES Rotate
    "Rot X", "Rot Y", "Rot Z",
    // FILE
    "Undo (u)", "Load", "Save", "Object Info (i)", "Export as C", "Restart", "About",
    "-----------", "* Exit *",
    // MIRL SETTINGS
    "Vertices on/off", "Edges on/off", "Grid on/off", "Axes on/off", "Vertex Normals on/off",
    "Face Normals on/off",
    // LIGHTING
    "Light On/Off", "Face Lighting", "Vertex Lighting", "AAO (Aprox AO)",
    // VIEW
    "Reset", "Along X", "Along Y", "Along Z",
};

// One tree for the whole run: re-attaching it costs nothing and leaks nothing.
static int MenusBuilt;

static void createMenuTree()
{
    int item = 0;
    for (int s = 0; s < SubmenuCount; s++) {
        Editor.menuIds[s] = glutCreateMenu(dispatchCommand);
        for (int e = 0; e < SubmenuEntries[s]; e++, item++)
            glutAddMenuEntry(ItemLabels[item], item);
    }
    Editor.menuIds[SubmenuCount] = glutCreateMenu(dispatchCommand);
    for (int s = 0; s < SubmenuCount; s++)
        glutAddSubMenu(SubmenuTitles[s], Editor.menuIds[s]);
}

void buildMenus()
{
    if (!MenusBuilt) {
        createMenuTree();
        MenusBuilt = 1;
    }
    platform().attachMenu(Editor.menuIds[SubmenuCount], GLUT_RIGHT_BUTTON);
}
