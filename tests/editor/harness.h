// In-process GUI tests: the real editor window under a private Xvfb, the
// callbacks driven directly, the window-system calls and dialogs observed
// through the editor's backend seams.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs.h"
#include "editor_state.h"
#include "mirl.h"

// What the editor asked of the window system.
struct ObservedPlatform {
    int cursor = -1;      // last shape set
    int menuAttached = 0; // 1 while the root is attached to the right button
    int attachCalls = 0;
    int detachCalls = 0;
    int redisplays = 0;
    int modifiers = 0; // what glutGetModifiers answers
    std::vector<int> cursors; // every shape set, in order
    int swaps = 0;
    bool holdFrames = false; // keep the frame in the back buffer to read it
};
extern ObservedPlatform Observed;

// The observations of the start-up, before any test ran.
extern ObservedPlatform AtStartup;
extern std::string StartupOutput;

struct ScriptedNotice {
    std::string title, text;
};

// Answers for the file chooser, in order; "" means Cancel. An empty queue
// cancels too.
struct ScriptedDialogs {
    std::deque<std::string> answers;
    std::vector<FileChoice> asked;
    std::vector<ScriptedNotice> notices;
    // The editor's state when the chooser opened.
    std::vector<int> recorderAtChooser, modeAtChooser;
};
extern ScriptedDialogs Dialogs;

// Puts the editor back to a first start (defaults, cube, empty history) on
// the existing window and clears the observations.
void resetEditor();

// Lets GLUT handle pending window events.
void pumpEvents();

// Runs a command through the menu callback and returns what it printed.
std::string runCommand(int item);

// Window position (top-left origin, pixels) of a model point in the current
// view, and whether it lies inside the window.
struct WindowPoint {
    int x, y;
    bool inside;
};
WindowPoint projectToWindow(const Vec3 &p);

// Draws a frame and reads one pixel of it (top-left origin) as RGB bytes
// from the back buffer, before it is swapped.
struct Rgb {
    int r, g, b;
};
Rgb framePixel(int x, int y);

// A record replayed into a fresh mesh, starting like a player: the mesh the
// saved file would give.
void replayIntoFresh(Mesh *fresh);

// The committed mesh versus a fresh replay of the record ("" when equal):
// what the user sees must be what a player gets. Also compares the last
// picked face, which later similar-selections read.
std::string committedVersusReplay();

// A second 14 MB mesh for the tests' own use.
Mesh *scratchMesh();
