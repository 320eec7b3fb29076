// The step list and the changes of an earlier step: the list on the real
// window (its pixels), live edits of a step's parameter, deletions, and
// their undo and redo, always checked against a fresh replay of the record.
#include <GL/freeglut.h>
#include <algorithm>
#include <random>

#include "checkpoints.h"
#include "harness.h"
#include "mirlfile.h"
#include "randrec.h"
#include "step_edit.h"
#include "step_list.h"
#include "testmesh.h"

namespace {

using Steps = EditorTest;

// The middle of step's row in the window, the list scrolled as it is.
int rowY(int step)
{
    const StepListView v = stepListView();
    EXPECT_TRUE(step >= v.first && step < v.first + v.rows) << "step " << step << " not shown";
    return v.rowsTop + (step - v.first) * v.pitch + v.pitch / 2;
}

std::string rowText(int step)
{
    char text[64];
    formatStepRow(step, text, sizeof text);
    return text;
}

// Within one unit of each byte: the rasteriser interpolates even a constant
// colour.
bool near(const Rgb &a, const Rgb &b)
{
    return std::abs(a[0] - b[0]) <= 1 && std::abs(a[1] - b[1]) <= 1 && std::abs(a[2] - b[2]) <= 1;
}

Rgb bytesOf(float r, float g, float b)
{
    return {(int)(r * 255.0f + 0.5f), (int)(g * 255.0f + 0.5f), (int)(b * 255.0f + 0.5f)};
}

const Rgb Backing = bytesOf(0.25f, 0.25f, 0.5f), Hover = bytesOf(0.35f, 0.35f, 0.7f),
          SelectedRow = bytesOf(0.55f, 0.2f, 0.15f);
const int FreeX = 320; // right of every row's text, inside the box

void clickRow(int step)
{
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, FreeX, rowY(step));
}

// Select None, three picks (faces 1, 2, 3), Extrude Normal, a Move Normal
// to the right, Smooth, Select All: 10 steps.
void buildModel()
{
    runCommand(1);
    for (uint32_t f : {1u, 2u, 3u})
        clickFace(f);
    runCommand(19);
    runCommand(24, 4);
    runCommand(8);
    runCommand(0);
    ASSERT_EQ(numsteps(), 10);
    ASSERT_EQ(CommandRecord.ops[7], MIRL_OP_TRANS2);
}

TEST_F(Steps, LShowsTheListWhoseRowsFollowTheRecord)
{
    EXPECT_EQ(stepListView().rows, 0);
    EXPECT_FALSE(near(framePixel(FreeX, 14), Backing));
    onKey('l', 0, 0);
    ASSERT_EQ(stepListView().rows, 1);
    EXPECT_TRUE(near(framePixel(FreeX, rowY(0)), Backing));
    EXPECT_EQ(rowText(0), ">  0 addcube +0.0313730");
    runCommand(1);
    clickFace(1);
    runCommand(24, 3);
    ASSERT_EQ(stepListView().rows, 4);
    EXPECT_EQ(rowText(0), "   0 addcube +0.0313730");
    EXPECT_EQ(rowText(2), "   2 select9 +0.0313730 face 1");
    char want[64];
    std::snprintf(want, sizeof want, ">  3 trans2  %+.7f", (double)decpar(CommandRecord.params[3]));
    EXPECT_EQ(rowText(3), want);

    // The pointer's row lighter; a click selects a row without picking the
    // face behind the list, and a row without a parameter starts no edit.
    onPassiveMotion(FreeX, rowY(1));
    EXPECT_TRUE(near(framePixel(FreeX, rowY(1)), Hover));
    EXPECT_TRUE(near(framePixel(FreeX, rowY(2)), Backing));
    clickRow(1);
    EXPECT_EQ(selectedStep(), 1);
    EXPECT_EQ(Editor.interactionMode, ModePick);
    EXPECT_TRUE(numsteps() == 4 && numpicks() == 1);
    onPassiveMotion(FreeX, rowY(2));
    EXPECT_TRUE(near(framePixel(FreeX, rowY(1)), SelectedRow));
    EXPECT_TRUE(near(framePixel(FreeX, rowY(2)), Hover));
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, FreeX, stepListView().bottom - 2); // the padding: nothing
    EXPECT_TRUE(selectedStep() == 1 && numsteps() == 4);

    onKey('l', 0, 0); // hidden again, the selection forgotten
    EXPECT_TRUE(stepListView().rows == 0 && selectedStep() == -1);
    EXPECT_FALSE(near(framePixel(FreeX, 14), Backing));
}

TEST_F(Steps, WheelAndPageKeysScrollAndTheEndStaysInView)
{
    onKey('l', 0, 0);
    for (int i = 0; i < 60; i++)
        runCommand(0);
    StepListView v = stepListView();
    ASSERT_EQ(v.rows, (600 - 4 - 50 - 12) / 15);
    EXPECT_EQ(v.first, 61 - v.rows); // the last step in view
    const int x = FreeX, y = v.rowsTop + 20;
    onMouseButton(3, GLUT_DOWN, x, y);
    onMouseButton(3, GLUT_UP, x, y);
    EXPECT_EQ(stepListView().first, 61 - v.rows - 3);
    onMouseButton(3, GLUT_DOWN, 700, y); // not over the list
    EXPECT_EQ(stepListView().first, 61 - v.rows - 3);
    runCommand(0); // scrolled up, the rows stay
    EXPECT_EQ(stepListView().first, 61 - v.rows - 3);
    onSpecialKey(GLUT_KEY_PAGE_UP, 0, 0);
    EXPECT_EQ(stepListView().first, 0);
    onMouseButton(4, GLUT_DOWN, x, y);
    EXPECT_EQ(stepListView().first, 3);
    onSpecialKey(GLUT_KEY_PAGE_DOWN, 0, 0);
    onSpecialKey(GLUT_KEY_PAGE_DOWN, 0, 0);
    EXPECT_EQ(stepListView().first, 62 - v.rows);
    runCommand(0); // at the end, it follows the end
    EXPECT_EQ(stepListView().first, 63 - v.rows);
    EXPECT_EQ(rowText(62).substr(0, 4), "> 62");
}

// Its undo and redo, and those of deletions, are checked in the random test.
TEST_F(Steps, ALiveEditOfAnEarlierStep)
{
    buildModel();
    const std::string before = stateNow();
    const int historyBefore = CommandHistory.count, moved = CommandRecord.params[7];
    onKey('l', 0, 0);
    testing::internal::CaptureStdout();
    clickRow(7);
    EXPECT_EQ(Editor.interactionMode, ModePreview);
    EXPECT_EQ(Observed.menuAttached, 0);
    // Keys, menu items and other clicks do nothing meanwhile.
    for (int k : {(int)'u', (int)'r', (int)'l', (int)'i', 127})
        onKey((unsigned char)k, 0, 0);
    dispatchCommand(1);
    EXPECT_TRUE(StepListShown && numsteps() == 10 && CommandHistory.count == historyBefore);
    moveMouse(6, 0);
    const int edited = CommandRecord.params[7];
    EXPECT_GT(edited, moved);
    EXPECT_NE(meshDiff(*previewMesh(), *committedMesh()), ""); // the model follows
    EXPECT_EQ(stateNow().substr(stateNow().find(" #")), before.substr(before.find(" #"))); // not yet committed
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 406, 300);
    char line[128];
    std::snprintf(line, sizeof line, " .o0 Working ... step 7 trans2 %d -> %d (%+.7f -> %+.7f) done 0o.\n", moved,
                  edited, (double)decpar((uint8_t)moved), (double)decpar((uint8_t)edited));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), line);
    EXPECT_EQ(Editor.interactionMode, ModePick);
    EXPECT_EQ(CommandRecord.params[7], edited);
    EXPECT_EQ(CommandHistory.count, historyBefore + 1);
    EXPECT_EQ(CommandHistory.items[historyBefore], ItemEditStep);
    EXPECT_EQ(committedVersusReplay(), "");
    const std::string after = stateNow();
    EXPECT_NE(after, before);

    // Escape: the old byte and the old model, nothing in the history.
    clickRow(7);
    moveMouse(0, 9);
    testing::internal::CaptureStdout();
    onKey(27, 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " cancelled done 0o.\n");
    EXPECT_EQ(stateNow(), after);
    EXPECT_EQ(CommandHistory.count, historyBefore + 1);
    // Moved and back: nothing changed, nothing to undo.
    clickRow(7);
    moveMouse(4, 4);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 400, 300);
    EXPECT_EQ(stateNow(), after);
    EXPECT_EQ(CommandHistory.count, historyBefore + 1);
    // Rows whose parameter changes nothing start no edit.
    for (int step : {0, 1, 2, 5, 8, 9}) {
        clickRow(step);
        EXPECT_EQ(Editor.interactionMode, ModePick) << step;
        EXPECT_EQ(selectedStep(), step);
    }
    EXPECT_EQ(stateNow(), after);
}

TEST_F(Steps, DeleteTakesTheSelectedStepAndKeepsTheOtherPicks)
{
    buildModel();
    const std::string before = stateNow();
    const uint32_t *picks = CommandRecord.picks;
    ASSERT_EQ(numpicks(), 3);
    const std::vector<uint32_t> others = {picks[0], picks[2]};
    onKey('l', 0, 0);
    clickRow(3); // the second pick
    testing::internal::CaptureStdout();
    onKey(127, 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " .o0 Working ... deleted step 3 select9 (face " + std::to_string(picks[1]) + ") done 0o.\n");
    EXPECT_EQ(numsteps(), 9);
    EXPECT_EQ(std::vector<uint32_t>(picks, picks + numpicks()), others);
    EXPECT_EQ(committedVersusReplay(), "");
    EXPECT_EQ(selectedStep(), -1); // a second Delete takes nothing unseen
    const std::string after = stateNow();

    // Nothing selected, the first step, a hidden list: nothing goes.
    testing::internal::CaptureStdout();
    onKey(127, 0, 0);
    clickRow(0);
    onKey(127, 0, 0);
    clickRow(4); // the extrude, which starts no edit
    onKey('l', 0, 0);
    onKey(127, 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " .o0 Working ... No step selected. done 0o.\n"
                                                      " .o0 Working ... The first step stays. done 0o.\n");
    EXPECT_EQ(stateNow(), after);
}

// Random commands, picks, live edits and deletions of earlier steps,
// cancels, undos and redos, from the cube and on random records of about
// 200 steps, loaded: after each, the committed mesh is a fresh replay of the
// record, and undo and redo give back exactly the records and meshes of
// before. Checkpoints are taken at almost every change, so stale ones are
// around to be misused.
TEST_F(Steps, WysiwygUnderRandomChangesOfLongRecords)
{
    const double spacing = CheckpointSpacing;
    CheckpointSpacing = 1.0;
    std::unique_ptr<Mesh> scratch = newMesh();
    std::mt19937 random(2024);
    int rounds = 0, commands = 0, picks = 0, edits = 0, deletions = 0, undos = 0, redos = 0;
    for (uint64_t seed = 1; rounds < 6; seed++) {
        RecOptions o;
        o.maxSteps = 255;
        const mirlObj rec = randomRecord(seed, o, scratch.get());
        if (rounds >= 3 && rec.count < 170)
            continue;
        EditorTest::SetUp();
        if (rounds++ >= 3) {
            setrec(&rec);
            ASSERT_TRUE(saveobj("random.mrl"));
            Dialogs.answers = {"random.mrl"};
            runCommand(ItemLoad);
            ASSERT_EQ(numsteps(), rec.count);
        }
        onKey('l', 0, 0);
        std::vector<std::string> states = {stateNow()};
        size_t at = 0;
        for (int action = 0; action < (rounds <= 3 ? 300 : 80); action++) {
            const std::string where = "round " + std::to_string(rounds) + ", action " + std::to_string(action);
            const int kind = (int)(random() % 20), historyBefore = CommandHistory.count;
            const int step = (int)(random() % (uint32_t)numsteps()), item = (int)(random() % 35);
            const uint32_t face = (uint32_t)random() % std::max(committedMesh()->nquads, 1u);
            if (kind < 6) {
                if (committedMesh()->nquads < 200 || (item != 8 && item != 9 && item != 23)) // no growth
                    runCommand(item, (int)(random() % 5), (int)(random() % 5));
                commands += CommandHistory.count > historyBefore;
            } else if (kind < 13) {
                // A pick where the face shows, or an edit of the next step at
                // or after `step` that has a parameter.
                int k = step;
                while (k < numsteps() && !haspar(CommandRecord.ops[k]))
                    k++;
                testing::internal::CaptureStdout();
                if (kind < 9 && faceCentre(face).inside && committedMesh()->nquads > 0) {
                    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, faceCentre(face).x, faceCentre(face).y);
                    picks++;
                } else if (kind >= 9 && k < numsteps()) {
                    selectStep(k);
                    dispatchCommand(ItemEditStep);
                    ASSERT_TRUE(stepEditOpen()) << where;
                    moveMouse((int)(random() % 12), (int)(random() % 12));
                    edits++;
                }
                if (stepEditOpen() && random() % 4 == 0) // a click on the list may start one too
                    onKey(27, 0, 0);
                else if (stepEditOpen())
                    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 400, 300);
                testing::internal::GetCapturedStdout();
            } else if (kind < 16) {
                selectStep(step);
                testing::internal::CaptureStdout();
                onKey(127, 0, 0);
                testing::internal::GetCapturedStdout();
                deletions += CommandHistory.count > historyBefore;
            } else {
                runCommand(kind < 18 ? ItemUndo : ItemRedo);
                (kind < 18 ? undos : redos)++;
            }
            ASSERT_EQ(committedVersusReplay(), "") << where;
            const std::string now = stateNow();
            if (kind >= 16 && kind < 18 && historyBefore > 0) {
                ASSERT_EQ(now, states[--at]) << where << ": undo";
            } else if (kind >= 18 && CommandHistory.count > historyBefore) {
                ASSERT_LT(at + 1, states.size()) << where;
                ASSERT_EQ(now, states[++at]) << where << ": redo";
            } else if (kind < 16 && CommandHistory.count > historyBefore) {
                states.resize(++at);
                states.push_back(now);
            } else {
                ASSERT_EQ(now, states[at]) << where << ": nothing should have changed";
            }
        }
    }
    EXPECT_TRUE(commands > 250 && picks > 80 && edits > 150 && deletions > 100 && undos > 80 && redos > 80)
        << commands << " " << picks << " " << edits << " " << deletions << " " << undos << " " << redos;
    EXPECT_GT(checkpointCount(), 3);
    CheckpointSpacing = spacing;
}

} // namespace
