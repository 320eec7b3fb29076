// Undo by replay, and the record's limits: history, record and mesh stay
// aligned whatever the user does.
#include <GL/freeglut.h>

#include "commands.h"
#include "editor.h"
#include "harness.h"
#include "history.h"
#include "pick.h"
#include "testmesh.h"

class History : public ::testing::Test {
  protected:
    void SetUp() override { resetEditor(); }

    // Window position of the centre of a committed face (the default view
    // shows faces 1 (top), 2 (front) and 5 (right) of the cube).
    static WindowPoint faceCentre(uint32_t q)
    {
        Vec3 c;
        centroi(committedMesh(), q, &c);
        return projectToWindow(c);
    }

    static void clickFace(uint32_t q)
    {
        WindowPoint w = faceCentre(q);
        ASSERT_TRUE(w.inside);
        onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, w.x, w.y);
    }

    static void previewAndCommit(int item, int moves)
    {
        onPassiveMotion(300, 300);
        dispatchCommand(item);
        for (int i = 1; i <= moves; i++)
            onPassiveMotion(300 + i, 300);
        onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 300 + moves, 300);
    }

    // Fills the record with Select All steps up to n steps in all.
    static void fillRecordTo(int n)
    {
        while (numsteps() < n)
            CommandRecord.ops[CommandRecord.count++] = 19;
        rebuildCommittedMesh();
        setnorm(committedMesh());
    }
};

TEST_F(History, UndoRightAfterStartChangesNothing)
{
    EXPECT_EQ(runCommand(ItemUndo), " .o0 Working ... done 0o.\n");
    EXPECT_EQ(numsteps(), 1);
    EXPECT_EQ(committedMesh()->nquads, 6u);
    EXPECT_EQ(Editor.interactionMode, ModePick);
}

TEST_F(History, UndoOfHolesDropsItsFiveSteps)
{
    testing::internal::CaptureStdout();
    dispatchCommand(1); // select none
    clickFace(1);
    dispatchCommand(23); // Holes
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(numsteps(), 8);
    EXPECT_EQ(CommandHistory.count, 3);
    EXPECT_EQ(CommandHistory.items[2], 23);
    const int opsHoles[5] = {29, 8, 30, 27, 28};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(CommandRecord.ops[3 + i], opsHoles[i]);
    EXPECT_EQ(CommandRecord.params[4], 142);

    runCommand(ItemUndo);
    EXPECT_EQ(numsteps(), 3);
    EXPECT_EQ(CommandHistory.count, 2);
    EXPECT_EQ(CommandHistory.items[2], HistoryEmpty);
    EXPECT_EQ(numpicks(), 1);
    EXPECT_EQ(committedMesh()->nquads, 6u);
    EXPECT_EQ(countsel(committedMesh()), 1);
    EXPECT_EQ(committedVersusReplay(), "");
}

TEST_F(History, UndoOfCompositesDropsTheirSteps)
{
    const int composite[][2] = {{18, 2}, {19, 2}, {20, 3}, {22, 3}};
    for (auto &c : composite) {
        int before = numsteps();
        runCommand(c[0]);
        EXPECT_EQ(numsteps(), before + c[1]) << c[0];
        runCommand(ItemUndo);
        EXPECT_EQ(numsteps(), before) << c[0];
    }
    EXPECT_EQ(committedVersusReplay(), "");
}

TEST_F(History, UndoOfAPickDropsThePick)
{
    runCommand(1);
    clickFace(2);
    ASSERT_EQ(numsteps(), 3);
    EXPECT_EQ(CommandRecord.ops[2], 50);
    EXPECT_EQ(CommandRecord.picks[0], 2u);
    EXPECT_EQ(numpicks(), 1);
    EXPECT_EQ(LastPickedFace, 2);
    EXPECT_EQ(CommandHistory.items[1], PickItem);
    EXPECT_EQ(committedMesh()->selected[2], 1);

    testing::internal::CaptureStdout();
    onKey('u', 0, 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(numsteps(), 2);
    EXPECT_EQ(numpicks(), 0);
    EXPECT_EQ(committedMesh()->selected[2], 0);
    // A player would start with no last pick: so does the rebuilt editor.
    EXPECT_EQ(LastPickedFace, -1);
    runCommand(5); // similar X: nothing to be similar to
    EXPECT_EQ(countsel(committedMesh()), 0);
    EXPECT_EQ(committedVersusReplay(), "");
}

TEST_F(History, UndoNeverRemovesAnotherCommandsSteps)
{
    runCommand(1);
    previewAndCommit(12, 3);
    clickFace(1);
    runCommand(19);
    previewAndCommit(28, 2);
    ASSERT_EQ(numsteps(), 1 + 1 + 1 + 1 + 2 + 1);
    const mirlObj before = CommandRecord;
    const int expectAfter[] = {6, 4, 3, 2, 1, 1};
    for (int n : expectAfter) {
        runCommand(ItemUndo);
        EXPECT_EQ(numsteps(), n);
        EXPECT_EQ(std::memcmp(CommandRecord.ops, before.ops, n), 0);
        EXPECT_EQ(std::memcmp(CommandRecord.params, before.params, n), 0);
        EXPECT_EQ(committedVersusReplay(), "");
    }
}

TEST_F(History, CommandTheRecordCannotHoldChangesNothing)
{
    fillRecordTo(251);
    runCommand(2);      // invert: 252
    runCommand(18);     // inset: 254
    ASSERT_EQ(numsteps(), 254);
    Mesh *saved = scratchMesh();
    copyMesh(saved, committedMesh());
    const mirlObj record = CommandRecord;
    const CommandHistoryList history = CommandHistory;

    // Holes needs five steps, Taper three, Inset two: all refused.
    for (int item : {23, 20, 18, 22}) {
        Dialogs.notices.clear();
        EXPECT_EQ(runCommand(item), " .o0 Working ... done 0o.\n") << item;
        ASSERT_EQ(Dialogs.notices.size(), 1u) << item;
        EXPECT_EQ(Dialogs.notices[0].title, "Exceeded max number of modelling commands");
        EXPECT_EQ(Dialogs.notices[0].text, "ERROR");
        EXPECT_EQ(std::memcmp(&CommandRecord, &record, sizeof record), 0) << item;
        EXPECT_EQ(std::memcmp(&CommandHistory, &history, sizeof history), 0) << item;
        EXPECT_EQ(meshDiff(*committedMesh(), *saved), "") << item;
        EXPECT_EQ(Editor.interactionMode, ModePick);
        EXPECT_EQ(Observed.menuAttached, 1);
    }
    // One step still fits: a pick, then nothing more.
    Dialogs.notices.clear();
    clickFace(1);
    EXPECT_EQ(numsteps(), 255);
    EXPECT_TRUE(Dialogs.notices.empty());
    copyMesh(saved, committedMesh());
    const mirlObj full = CommandRecord;
    clickFace(2);
    runCommand(0);
    runCommand(11); // a parametric command never starts its preview
    EXPECT_EQ(Editor.interactionMode, ModePick);
    EXPECT_EQ(RecorderOn, 0);
    ASSERT_EQ(Dialogs.notices.size(), 3u);
    for (auto &n : Dialogs.notices)
        EXPECT_EQ(n.title, "Exceeded max number of modelling commands");
    EXPECT_EQ(std::memcmp(&CommandRecord, &full, sizeof full), 0);
    EXPECT_EQ(meshDiff(*committedMesh(), *saved), "");
    EXPECT_EQ(committedVersusReplay(), "");
    // Undo still takes back exactly the last pick.
    runCommand(ItemUndo);
    EXPECT_EQ(numsteps(), 254);
    EXPECT_EQ(std::memcmp(CommandRecord.ops, full.ops, 254), 0);
    EXPECT_EQ(committedVersusReplay(), "");
}

TEST_F(History, PickTheListCannotHoldChangesNothing)
{
    // A consistent record never reaches 256 picks (it holds at most 255
    // steps); a pick count left at the limit must still refuse cleanly.
    PickCount = MIRL_MAXPICKS;
    const mirlObj record = CommandRecord;
    int selected = countsel(committedMesh());
    clickFace(1);
    ASSERT_EQ(Dialogs.notices.size(), 1u);
    EXPECT_EQ(Dialogs.notices[0].title, "Too Many Picks=model will not save properly");
    EXPECT_EQ(Dialogs.notices[0].text, "ERROR");
    EXPECT_EQ(PickCount, (uint32_t)MIRL_MAXPICKS);
    EXPECT_EQ(std::memcmp(&CommandRecord, &record, sizeof record), 0);
    EXPECT_EQ(countsel(committedMesh()), selected);
    EXPECT_EQ(CommandHistory.count, 0);
    PickCount = 0;
}

TEST_F(History, FullHistoryIsUnreachableWithARecordOf255Steps)
{
    // Every item adds at least one step after the cube, so the record fills
    // first and no push is ever ignored.
    for (int i = 0; i < 300; i++)
        runCommand(0);
    EXPECT_EQ(numsteps(), 255);
    EXPECT_EQ(CommandHistory.count, 254);
    for (int i = 0; i < 254; i++)
        runCommand(ItemUndo);
    EXPECT_EQ(numsteps(), 1);
    EXPECT_EQ(CommandHistory.count, 0);
}

TEST_F(History, ARecordLoadedEmptyStillUndoesAndPreviewsExactly)
{
    CommandRecord.count = 0;
    PickCount = 0;
    rebuildCommittedMesh();
    resetHistory();
    ASSERT_EQ(committedMesh()->nquads, 0u);

    runCommand(10); // Add Cube becomes the first step
    EXPECT_EQ(numsteps(), 1);
    runCommand(ItemUndo);
    EXPECT_EQ(numsteps(), 0);
    EXPECT_EQ(committedMesh()->nquads, 0u);

    previewAndCommit(11, 5); // each motion replaces the one step
    EXPECT_EQ(numsteps(), 1);
    EXPECT_EQ(CommandRecord.ops[0], 9);
    runCommand(ItemUndo);
    EXPECT_EQ(numsteps(), 0);
    EXPECT_EQ(committedVersusReplay(), "");
}

TEST_F(History, PickOnTheBackgroundChangesNothing)
{
    runCommand(57); // along Z: the window corner is background
    int redisplays = Observed.redisplays;
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 2, 2);
    EXPECT_EQ(numsteps(), 1);
    EXPECT_EQ(CommandHistory.count, 0);
    EXPECT_EQ(countsel(committedMesh()), 6);
    EXPECT_EQ(Observed.redisplays, redisplays + 1);
}
