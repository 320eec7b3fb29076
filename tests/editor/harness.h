// In-process GUI tests: the real editor window under a private Xvfb, its
// callbacks driven directly, the window-system calls and dialogs observed
// through the editor's backend seams. The tests run in a private folder.
#pragma once

#include <array>
#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "commands.h"
#include "dialogs.h"
#include "editor.h"
#include "editor_state.h"
#include "history.h"
#include "mirl.h"

// What the editor asked of the window system.
struct ObservedPlatform {
    int menuAttached = 1;
    bool holdFrames = false; // keep the frame in the back buffer to read it
};
extern ObservedPlatform Observed;

// File chooser answers in order ("" or none left: Cancel), and what the
// editor told.
struct ScriptedDialogs {
    std::deque<std::string> answers;
    std::vector<std::string> notices; // "title: text"
};
extern ScriptedDialogs Dialogs;

// Every test starts as the editor does (defaults, cube, empty history, no
// step list) on the same window, with fresh observations.
class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override;
};

// Runs a menu item and returns what it printed. A parametric command
// follows `right` then `left` motion events and is committed by a click.
std::string runCommand(int item, int right = 0, int left = 0);
// Motion events from where the pointer is: `right` to the right, then
// `left` back.
void moveMouse(int right, int left);

// Window position (top-left origin) of a model point in the current view.
struct WindowPoint {
    int x, y;
    bool inside;
};
WindowPoint projectToWindow(const Vec3 &p);
WindowPoint faceCentre(uint32_t q); // of the committed mesh
void clickFace(uint32_t q);

// Draws a frame and reads one pixel (top-left origin) before the swap.
using Rgb = std::array<int, 3>;
Rgb framePixel(int x, int y);
Rgb pixelAt(const Vec3 &p);

// The record's used part, the pick count, the committed mesh's digest and
// the last pick: what undo and redo give back exactly, and what a refused
// or cancelled command leaves alone.
std::string stateNow();

// The committed mesh against a fresh replay of the record ("" when equal),
// last picked face and pick count included: what the user sees must be
// what a player gets.
std::string committedVersusReplay();
