// What you see is what the player gets: after every menu item, committed
// with and without mouse motion, and after undoing it, the committed mesh is
// bit for bit the mesh a replay of the record (a saved file, an exported
// object) rebuilds.
#include <GL/freeglut.h>
#include <random>

#include "checkpoints.h"
#include "harness.h"

using Wysiwyg = EditorTest;

// Two picked faces extruded: a partial selection, a last pick and geometry
// that every kind of operation changes.
static void buildBaseModel()
{
    runCommand(1);
    clickFace(1);
    clickFace(2);
    runCommand(19);
    ASSERT_EQ(numsteps(), 6);
}

TEST_F(Wysiwyg, AfterEveryMenuItemAndItsUndo)
{
    buildBaseModel();
    runCommand(14, 9); // a different model for Load to read
    Dialogs.answers = {"other.mrl"};
    runCommand(ItemSave);
    // Moved right and back, or committed at once: a move committed without
    // motion passes 0.0 to its operation, but the record holds byte 128.
    for (auto [right, left] : {std::pair{5, 2}, {0, 0}}) {
        for (int item = 0; item < MenuItemCount; item++) {
            if (item == ItemExit)
                continue;
            EditorTest::SetUp();
            buildBaseModel();
            Dialogs.answers = {item == ItemLoad ? "other.mrl" : "saved.mrl"};
            runCommand(item, right, left);
            EXPECT_EQ(Editor.interactionMode, ModePick) << item;
            EXPECT_EQ(committedVersusReplay(), "") << "after item " << item << ", moves " << right << "/" << left;
            runCommand(ItemUndo);
            EXPECT_EQ(committedVersusReplay(), "") << "after undoing item " << item;
        }
    }
}

// Long random records with undo and redo at random points, checkpoints
// taken at almost every command so that undo and redo start from them.
TEST_F(Wysiwyg, UndoAndRedoAtRandomPointsOfLongRecords)
{
    const double spacing = CheckpointSpacing;
    CheckpointSpacing = 1.0;
    std::mt19937 random(12345);
    for (int round = 0; round < 3; round++) {
        EditorTest::SetUp();
        for (int action = 0; action < 400 && numsteps() < 250; action++) {
            int kind = (int)(random() % 20), item = (int)(random() % 35);
            if (kind < 4) {
                for (int n = 1 + (int)(random() % 3); n > 0; n--)
                    runCommand(kind < 2 ? ItemUndo : ItemRedo);
                EXPECT_EQ(committedVersusReplay(), "") << "round " << round << ", action " << action;
            } else if (kind < 7 && committedMesh()->nquads > 0) {
                WindowPoint w = faceCentre((uint32_t)(random() % committedMesh()->nquads));
                if (w.inside)
                    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, w.x, w.y);
            } else if (committedMesh()->nquads < 200 || (item != 8 && item != 9 && item != 23)) {
                runCommand(item, (int)(random() % 5), (int)(random() % 5));
            }
        }
        EXPECT_GT(checkpointCount(), 0);
    }
    CheckpointSpacing = spacing;
}
