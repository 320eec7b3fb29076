#include <GL/freeglut.h>

#include "dialogs.h"
#include "editor.h"
#include "editor_state.h"
#include "history.h"
#include "menus.h"
#include "platform.h"
#include "render.h"

void startEditor(int *argc, char **argv)
{
    restartScene(committedMesh());
    resetHistory();
    installNoticeHook();
    glutInit(argc, argv);
    glutInitWindowPosition(400, 200);
    glutInitWindowSize(Editor.windowWidth, Editor.windowHeight);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("  Mirl 1.0.2   by Orne|Wexal");
    glutDisplayFunc(display);
    glutReshapeFunc(setProjection);
    glutSpecialFunc(onSpecialKey);
    glutKeyboardFunc(onKey);
    glutMouseFunc(onMouseButton);
    glutPassiveMotionFunc(onPassiveMotion);
    platform().setCursor(GLUT_CURSOR_CROSSHAIR);
    initGraphics();
    buildMenus();
    printAbout();
}
