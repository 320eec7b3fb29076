// What you see is what the player gets: after every menu item, committed
// with and without mouse motion, and after undoing it, the committed mesh is
// bit for bit the mesh a replay of the record (a saved file, an exported
// object) rebuilds.
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
