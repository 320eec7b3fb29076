// The step list: the record's steps down the window's left side, one row
// each, drawn like the byte meter. `l` shows and hides it; the mouse wheel
// over it and PageUp/PageDown scroll it; the row under the pointer is
// highlighted. A click selects a row and, on a scaling, move or rotation,
// starts a live edit of its parameter; Delete removes the selected step.
#pragma once

#include <cstddef>

extern int StepListShown; // hidden at start; Restart keeps it

void toggleStepList(); // the `l` key; hiding it forgets the selection

// The list's box in window pixels (top-left origin, like the mouse), the
// rows it shows and the first step shown; row i spans rowsTop + i * pitch
// to the next. Nothing when it is hidden or the record is empty (rows 0).
struct StepListView {
    int left, top, right, bottom;
    int rows, first;
    int rowsTop, pitch;
};
StepListView stepListView();

// The step of the row at the window point, or -1.
int stepListRowAt(int x, int y);
bool stepListContains(int x, int y);

// Moves the rows shown by `rows` (positive: towards the last step); the
// list keeps to the end of the record while it shows the last step.
void scrollStepList(int rows);
int stepListPage(); // rows a PageUp or PageDown moves

// The step that an edit or a deletion acts on, -1 for none.
int selectedStep();
void selectStep(int step);

// A left click at the window point in ModePick: selects the row under it
// and, when its parameter changes the model, starts the edit.
void clickStepList(int x, int y);

// "> 12 trans1   +0.5960789": a mark on the last step, the step number,
// the operation as `mirl-tool dump` names it, the parameter's value and,
// for a pick, its face.
void formatStepRow(int step, char *text, size_t size);

void drawStepList(); // after the meter
