#include "step_list.h"

#include <GL/freeglut.h>
#include <cstdio>

#include "commands.h"
#include "editor.h"
#include "editor_state.h"
#include "opnames.h"
#include "platform.h"
#include "render.h"

int StepListShown;

// The row colours: the pointer's row lighter than the backing, the selected
// row in a dark shade of the selection colour.
static const float HoverRowColour[3] = {0.35f, 0.35f, 0.7f};
static const float SelectedRowColour[3] = {0.55f, 0.2f, 0.15f};

// Like the meter: the 8x13 font, rows 15 pixels apart, 6 pixels of padding;
// 40 columns hold the longest row. The badge below keeps its corner.
enum { Pitch = 15, Pad = 6, Columns = 40, Margin = 4, BadgeSpace = 50 };

static int FirstShown;         // first step shown while scrolled
static bool FollowsEnd = true; // shows the last step, whatever it is
static int Selected = -1;

void toggleStepList()
{
    StepListShown = !StepListShown;
    Selected = -1;
    platform().postRedisplay();
}

static int rowsThatFit()
{
    const int rows = (Editor.windowHeight - Margin - BadgeSpace - 2 * Pad) / Pitch;
    return rows > 1 ? rows : 1;
}

StepListView stepListView()
{
    StepListView v = {Margin, Margin, Margin + Columns * 8 + 2 * Pad, Margin, 0, 0, Margin + Pad, Pitch};
    const int steps = numsteps();
    if (!StepListShown || steps == 0)
        return v;
    v.rows = steps < rowsThatFit() ? steps : rowsThatFit();
    const int last = steps - v.rows;
    v.first = FollowsEnd || FirstShown > last ? last : FirstShown < 0 ? 0 : FirstShown;
    v.bottom = v.top + v.rows * Pitch + 2 * Pad;
    return v;
}

bool stepListContains(int x, int y)
{
    const StepListView v = stepListView();
    return v.rows > 0 && x >= v.left && x < v.right && y >= v.top && y < v.bottom;
}

int stepListRowAt(int x, int y)
{
    const StepListView v = stepListView();
    if (!stepListContains(x, y) || y < v.rowsTop || y >= v.bottom - Pad)
        return -1;
    return v.first + (y - v.rowsTop) / Pitch;
}

void scrollStepList(int rows)
{
    const StepListView v = stepListView();
    if (v.rows == 0)
        return;
    const int last = numsteps() - v.rows;
    int first = v.first + rows;
    first = first > last ? last : first < 0 ? 0 : first;
    FirstShown = first;
    FollowsEnd = first == last;
    platform().postRedisplay();
}

int stepListPage()
{
    const int rows = rowsThatFit();
    return rows > 1 ? rows - 1 : 1;
}

int selectedStep()
{
    return Selected < numsteps() ? Selected : -1;
}

void selectStep(int step)
{
    Selected = step;
    platform().postRedisplay();
}

void clickStepList(int x, int y)
{
    const int step = stepListRowAt(x, y);
    if (step < 0)
        return;
    selectStep(step);
    if (haspar(CommandRecord.ops[step]))
        dispatchCommand(ItemEditStep);
}

void formatStepRow(int step, char *text, size_t size)
{
    const mirlObj &r = CommandRecord;
    const uint8_t op = r.ops[step];
    const char *name = operationName(op);
    int n = std::snprintf(text, size, "%c%3d %-7s %+.7f", step == r.count - 1 ? '>' : ' ', step, name ? name : "-",
                          (double)decpar(r.params[step]));
    if (op == MIRL_OPPICK && n > 0 && (size_t)n < size)
        std::snprintf(text + n, size - (size_t)n, " face %u", (unsigned)r.picks[pickidx(&r, (uint32_t)step)]);
}

// A band across the list behind row i of the view, in GL's bottom-up pixels.
static void rowBand(const StepListView &v, int i, const float colour[3])
{
    const int h = Editor.windowHeight, top = v.rowsTop + i * Pitch;
    glColor3fv(colour);
    glRecti(v.left, h - top - Pitch, v.right, h - top);
}

void drawStepList()
{
    const StepListView v = stepListView();
    if (v.rows == 0)
        return;
    const int h = Editor.windowHeight;
    beginPanel(v.left, h - v.bottom, v.right, h - v.top);
    const int selected = selectedStep();
    // The pointer's row only while it can be clicked; an open edit keeps its
    // own row marked as the selected one.
    const int hovered = Editor.interactionMode == ModePick ? stepListRowAt(LastMouseX, LastMouseY) : -1;
    for (int i = 0; i < v.rows; i++) {
        const int step = v.first + i;
        if (step == selected)
            rowBand(v, i, SelectedRowColour);
        else if (step == hovered)
            rowBand(v, i, HoverRowColour);
    }
    // Where the rows shown lie in the record, when they are not all of it.
    const int steps = numsteps();
    if (v.rows < steps) {
        const int span = v.rows * Pitch;
        const int y0 = v.rowsTop + span * v.first / steps, y1 = v.rowsTop + span * (v.first + v.rows) / steps;
        glColor3fv(DefaultColour);
        glRecti(v.right - 4, h - y1, v.right - 2, h - y0);
    }
    glColor3fv(DefaultColour);
    char text[64];
    for (int i = 0; i < v.rows; i++) {
        formatStepRow(v.first + i, text, sizeof text);
        glRasterPos2i(v.left + Pad, h - (v.rowsTop + i * Pitch + 11));
        glutBitmapString(GLUT_BITMAP_8_BY_13, reinterpret_cast<const unsigned char *>(text));
    }
    glEnable(GL_DEPTH_TEST);
}
