#include "menus.h"

#include <GL/freeglut.h>

#include "commands.h"
#include "editor.h"
#include "editor_state.h"
#include "platform.h"

// One tree for the whole run: re-attaching it costs nothing and leaks nothing.
static int MenusBuilt;

static void createMenuTree()
{
    for (int s = 0; s < SubmenuCount; s++) {
        Editor.menuIds[s] = glutCreateMenu(dispatchCommand);
        for (const CommandEntry &c : Commands)
            if (c.submenu == s)
                glutAddMenuEntry(c.label, c.item);
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
