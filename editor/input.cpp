// Mouse and keyboard: what they do depends on the interaction mode.
#include <GL/freeglut.h>

#include "checkpoints.h"
#include "commands.h"
#include "editor.h"
#include "editor_state.h"
#include "history.h"
#include "meter.h"
#include "pick.h"
#include "platform.h"
#include "step_list.h"

// What GLUT passes for Ctrl+Y, Ctrl+Z (with or without Shift), Escape and
// Delete; the wheel comes as presses of buttons 3 (up) and 4 (down).
enum { CtrlY = 25, CtrlZ = 26, EscapeKey = 27, DeleteKey = 127 };
enum { WheelUp = 3, WheelDown = 4, WheelRows = 3 };

static int sign(int d)
{
    return (d > 0) - (d < 0);
}

void trackMouse(int x, int y)
{
    Editor.horizontalDirection = sign(x - LastMouseX);
    Editor.verticalDirection = sign(y - LastMouseY);
    LastMouseX = x;
    LastMouseY = y;
}

void onPassiveMotion(int x, int y)
{
    trackMouse(x, y);
    switch (Editor.interactionMode) {
    case ModePreview:
        if (Editor.horizontalDirection != 0)
            previewStep(Editor.horizontalDirection);
        break;
    case ModeOrbit:
        Editor.yaw = (float)((double)Editor.yaw + 5.0 * Editor.horizontalDirection);
        Editor.pitch = (float)((double)Editor.pitch + 5.0 * Editor.verticalDirection);
        break;
    case ModeZoom:
        Editor.eyeZ = (float)((double)Editor.eyeZ + 0.2 * Editor.verticalDirection);
        break;
    default:
        break;
    }
    platform().postRedisplay();
}

static void pickAt(int x, int y)
{
    Mesh *m = committedMesh();
    int face = pickFace(m, x, y);
    if (face < 0 || !recordHasRoomFor(PickItem))
        return;
    const int start = numsteps();
    recordon();
    select9(m, (uint32_t)face);
    recordoff();
    pushHistory(PickItem, start);
    noteCommittedState(m);
}

void onMouseButton(int button, int state, int x, int y)
{
    if ((button == WheelUp || button == WheelDown) && state == GLUT_DOWN && stepListContains(x, y))
        scrollStepList(button == WheelUp ? -WheelRows : WheelRows);
    // Releases (also the unmatched one after a menu choice) and other buttons.
    if (button != GLUT_LEFT_BUTTON || state != GLUT_DOWN)
        return;
    switch (Editor.interactionMode) {
    case ModePreview:
        commitPreview();
        break;
    case ModePick:
        // The list lies over the model: a click on it picks no face.
        if (stepListContains(x, y))
            clickStepList(x, y);
        else
            pickAt(x, y);
        break;
    case ModeZoom:
        Editor.interactionMode = ModeOrbit;
        break;
    case ModeOrbit:
        Editor.interactionMode = ModeZoom;
        break;
    default:
        break;
    }
    platform().postRedisplay();
}

void onSpecialKey(int key, int x, int y)
{
    (void)x;
    (void)y;
    int shift = platform().modifiers() == GLUT_ACTIVE_SHIFT;
    switch (key) {
    case GLUT_KEY_LEFT:
        Editor.yaw = (float)((double)Editor.yaw - 5.0);
        break;
    case GLUT_KEY_RIGHT:
        Editor.yaw = (float)((double)Editor.yaw + 5.0);
        break;
    case GLUT_KEY_UP:
        if (shift)
            Editor.eyeZ = (float)((double)Editor.eyeZ - 0.2);
        else
            Editor.pitch = (float)((double)Editor.pitch + 5.0);
        break;
    case GLUT_KEY_DOWN:
        if (shift)
            Editor.eyeZ = (float)((double)Editor.eyeZ + 0.2);
        else
            Editor.pitch = (float)((double)Editor.pitch - 5.0);
        break;
    case GLUT_KEY_PAGE_UP:
        scrollStepList(-stepListPage());
        break;
    case GLUT_KEY_PAGE_DOWN:
        scrollStepList(stepListPage());
        break;
    default:
        break;
    }
    platform().postRedisplay();
}

void onKey(unsigned char key, int x, int y)
{
    (void)x;
    (void)y;
    if (Editor.interactionMode == ModePreview) {
        if (key == EscapeKey)
            cancelPreview();
        return;
    }
    switch (key) {
    case 'u':
        dispatchCommand(ItemUndo);
        break;
    case CtrlZ: // Ctrl+Shift+Z redoes, as in most editors
        dispatchCommand((platform().modifiers() & GLUT_ACTIVE_SHIFT) ? ItemRedo : ItemUndo);
        break;
    case 'r':
    case CtrlY:
        dispatchCommand(ItemRedo);
        break;
    case 'i':
        dispatchCommand(ItemObjectInfo);
        break;
    case 'h':
        toggleMeter();
        break;
    case 'l':
        toggleStepList();
        break;
    case DeleteKey:
        if (StepListShown) // only what the user sees selected
            dispatchCommand(ItemDeleteStep);
        break;
    case ' ':
        Editor.interactionMode = Editor.interactionMode == ModePick ? ModeOrbit : ModePick;
        break;
    default:
        break;
    }
}
