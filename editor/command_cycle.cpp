// Every command runs through one cycle: start, an optional live preview
// driven by the mouse, commit, end.
#include <GL/freeglut.h>
#include <cstdio>

#include "checkpoints.h"
#include "commands.h"
#include "editor.h"
#include "editor_state.h"
#include "history.h"
#include "menus.h"
#include "platform.h"
#include "step_edit.h"

double parameterStep()
{
    static const double step = (double)decpar(129);
    return step;
}

// Record steps before the open preview's own step, which enters the
// history only when the preview is committed.
static int PreviewStart;

// Whether a pop-up menu is open: a command that starts while one is (a key
// pressed with a menu showing) would detach the menu in use, which freeglut
// answers by ending the program.
static int MenuInUse;

void onMenuStatus(int status, int x, int y)
{
    (void)x;
    (void)y;
    MenuInUse = status == GLUT_MENU_IN_USE;
}

void dispatchCommand(int item)
{
    // Menus are detached and keys ignored during a preview; a stray item
    // arriving then would break the preview's hold on its own step. A key
    // pressed while a menu is open does nothing.
    if (item < 0 || item >= CommandCount || !Commands[item].handler || Editor.interactionMode == ModePreview ||
        MenuInUse)
        return;
    const CommandEntry &command = Commands[item];
    platform().detachMenu(GLUT_RIGHT_BUTTON);
    std::printf(" .o0 Working ...");
    std::fflush(stdout);
    if (isModellingCommand(item)) {
        // A command the record cannot hold in full changes nothing, so the
        // model on screen never differs from what saves.
        if (!recordHasRoomFor(item)) {
            finishCommand();
            return;
        }
        Editor.currentCommand = item;
        if (command.kind == Parametric)
            PreviewStart = numsteps();
        else
            pushHistory(item, numsteps());
    }
    Editor.interactionMode = ModePreview;
    // Only a preview (or an edit of a step) reads the preview slot, and its
    // operation only moves vertices: the used part is all it needs.
    if (command.kind == Parametric)
        copyUsedMesh(previewMesh(), committedMesh());
    Editor.aaoShadingOn = 0;
    platform().setCursor(GLUT_CURSOR_TEXT);
    recordon();
    command.handler();
    if (Editor.interactionMode == ModePick)
        finishCommand();
}

void previewStep(int direction)
{
    if (stepEditOpen())
        return followStepEdit(direction);
    dropto((uint32_t)PreviewStart); // the step of the previous run
    Editor.paramOffset = (float)((double)Editor.paramOffset + direction * parameterStep());
    copyUsedPositions(previewMesh(), committedMesh());
    Commands[Editor.currentCommand].handler();
}

void commitPreview()
{
    if (stepEditOpen())
        return commitStepEdit();
    copyUsedPositions(committedMesh(), previewMesh());
    pushHistory(Editor.currentCommand, PreviewStart);
    finishCommand();
}

void cancelPreview()
{
    if (stepEditOpen())
        return cancelStepEdit();
    dropto((uint32_t)PreviewStart);
    std::printf(" cancelled");
    finishCommand();
}

void finishCommand()
{
    recordoff();
    Editor.paramOffset = 0.0f;
    Editor.currentCommand = 0;
    Editor.interactionMode = ModePick;
    setnorm(committedMesh());
    noteCommittedState(committedMesh());
    platform().setCursor(GLUT_CURSOR_CROSSHAIR);
    buildMenus();
    std::printf(" done 0o.\n");
    std::fflush(stdout);
    platform().postRedisplay();
}
