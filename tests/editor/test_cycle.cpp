// The command cycle, undo, the record's limits and the FILE commands, on the
// real window.
#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <fstream>

#include "harness.h"
#include "meter.h"
#include "player_sizes.h"
#include "render.h"
#include "testmesh.h"

using Cycle = EditorTest;

TEST_F(Cycle, OneShotAndPreviewCommandsRunTheWholeCycle)
{
    runCommand(1); // Select None
    EXPECT_EQ(numsteps(), 2);
    EXPECT_EQ(CommandRecord.ops[1], MIRL_OP_SELECT2);
    EXPECT_EQ(CommandHistory.count, 1);
    for (int item : {38, 41, 42, 44, 50, 54}) // editor commands: no history, no step
        runCommand(item);
    EXPECT_EQ(CommandHistory.count, 1);
    EXPECT_EQ(numsteps(), 2);

    // A preview replaces its own step at every horizontal motion.
    onPassiveMotion(400, 300);
    dispatchCommand(11); // OBJECT Move X
    EXPECT_EQ(Editor.interactionMode, ModePreview);
    EXPECT_EQ(Observed.menuAttached, 0);
    int previous = 128;
    for (int i = 0; i <= 6; i++) {
        if (i > 0)
            onPassiveMotion(400 + i, 300);
        ASSERT_EQ(numsteps(), 3);
        EXPECT_EQ(CommandRecord.ops[2], MIRL_OP_TRANS1);
        EXPECT_EQ(Editor.paramOffset, (float)(i * parameterStep())) << i;
        EXPECT_TRUE(i == 0 ? CommandRecord.params[2] == 128 : CommandRecord.params[2] > previous) << i;
        previous = CommandRecord.params[2];
    }
    onPassiveMotion(406, 250); // vertical motion changes nothing
    EXPECT_EQ(CommandRecord.params[2], previous);
    onPassiveMotion(405, 250);
    EXPECT_LT(CommandRecord.params[2], previous);
    // Keys, menu items and other buttons are ignored; arrows still turn.
    for (unsigned char k : {'u', 'i', ' '})
        onKey(k, 0, 0);
    dispatchCommand(1);
    onMouseButton(GLUT_RIGHT_BUTTON, GLUT_DOWN, 10, 10);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 10, 10);
    onSpecialKey(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_EQ(Editor.yaw, 50.0f);
    EXPECT_EQ(Editor.interactionMode, ModePreview);
    EXPECT_EQ(numsteps(), 3);

    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 405, 250);
    EXPECT_EQ(Editor.interactionMode, ModePick);
    EXPECT_EQ(numsteps(), 3);
    EXPECT_EQ(CommandHistory.count, 2);
    EXPECT_EQ(Editor.paramOffset, 0.0f);
    EXPECT_EQ(RecorderOn, 0);
    EXPECT_EQ(Observed.menuAttached, 1);
}

TEST_F(Cycle, ClampHoldsUntilTheOffsetComesBackInside)
{
    onPassiveMotion(100, 100);
    dispatchCommand(24); // FACES Move Normal
    moveMouse(100, 0);
    EXPECT_EQ(CommandRecord.params[1], 255);
    // Back: the byte stays 255 until the offset is below the value that
    // rounds to 254.5, (p + 8) * 15.9375.
    while (CommandRecord.params[1] == 255 && LastMouseX > 100)
        moveMouse(0, 1);
    EXPECT_LT(((double)Editor.paramOffset + 8.0) * 15.9375, 254.5);
    EXPECT_GE(((double)Editor.paramOffset + parameterStep() + 8.0) * 15.9375, 254.5);
    EXPECT_GE(CommandRecord.params[1], 253);
    moveMouse(0, 300); // and the lower limit: -8 is byte 0
    EXPECT_EQ(CommandRecord.params[1], 0);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, LastMouseX, 100);
}

TEST_F(Cycle, CameraKeysARestartThatKeepsTheSwitchesAndAFlatWindow)
{
    onPassiveMotion(100, 100);
    onKey(' ', 0, 0); // orbit
    onPassiveMotion(150, 90);
    EXPECT_EQ((std::array<float, 2>{Editor.yaw, Editor.pitch}), (std::array<float, 2>{50.0f, 40.0f}));
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 150, 90); // zoom
    onPassiveMotion(140, 95);
    EXPECT_EQ(Editor.eyeZ, (float)(8.0 + 0.2));
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 140, 95); // orbit
    onKey(' ', 0, 0);
    EXPECT_EQ(Editor.interactionMode, ModePick);
    EXPECT_EQ(numsteps(), 1); // clicks in orbit and zoom never pick
    onSpecialKey(GLUT_KEY_UP, 0, 0);

    for (int item : {46, 49, 51, 50}) // grid off, face normals, face lighting, light
        runCommand(item);
    Editor.exportCounter = 3;
    runCommand(1);
    runCommand(25, 3);
    runCommand(ItemRestart);
    EXPECT_EQ(numsteps(), 1);
    EXPECT_EQ((std::array<int, 5>{Editor.gridShown, Editor.faceNormalsShown, Editor.faceLighting, Editor.lightingOn,
                                  Editor.exportCounter}),
              (std::array<int, 5>{0, 1, 1, 1, 3}));
    EXPECT_EQ(Editor.pitch, 45.0f); // the view starts again
    glMatrixMode(GL_PROJECTION);     // a window of zero height counts as one
    setProjection(800, 0);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_TRUE(Editor.windowHeight == 1 && std::all_of(m, m + 16, [](double v) { return std::isfinite(v); }));
    setProjection(800, 600);
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(Cycle, UndoTakesBackOneCommandAtATime)
{
    runCommand(ItemUndo); // nothing to undo
    EXPECT_EQ(numsteps(), 1);
    // Select None, a move, a pick, then composites: Holes, Inset, Taper, Cage.
    runCommand(1);
    runCommand(12, 3);
    clickFace(1);
    for (int item : {23, 18, 20, 22})
        runCommand(item);
    const mirlObj full = CommandRecord;
    // The meter: each operation's code once, however often it runs.
    MeterReading meter = readMeter(committedMesh());
    EXPECT_EQ((std::array<int, 4>{meter.steps, meter.picks, meter.faces, meter.vertices}),
              (std::array<int, 4>{17, 1, (int)committedMesh()->nquads, (int)committedMesh()->nverts}));
    int player = PlayerFixedBytes;
    for (int op : {31, 20, 10, 50, 29, 8, 30, 27, 28, 15})
        player += PlayerOperationBytes[op];
    EXPECT_EQ(meter.playerBytes, player);
    for (int n : {14, 11, 9, 4, 3, 2, 1, 1}) {
        runCommand(ItemUndo);
        EXPECT_EQ(numsteps(), n);
        EXPECT_EQ(readMeter(committedMesh()).steps, n);
        EXPECT_EQ(std::memcmp(CommandRecord.params, full.params, n), 0);
        EXPECT_EQ(committedVersusReplay(), "") << n << " steps";
    }
    // Redo re-applies each item (a pick, a move, Holes...) as if done again.
    for (int n : {2, 3, 4, 9, 11, 14, 17, 17}) {
        runCommand(ItemRedo);
        EXPECT_EQ(numsteps(), n);
        EXPECT_EQ(committedVersusReplay(), "") << n << " steps";
    }
    EXPECT_EQ(usedText(CommandRecord), usedText(full));
    EXPECT_EQ(CommandHistory.count, 7);
    // A new command forgets what could be redone.
    runCommand(ItemUndo);
    runCommand(0);
    runCommand(ItemRedo);
    EXPECT_EQ(numsteps(), 15);
}

TEST_F(Cycle, EscapeCancelsEveryKindOfPreview)
{
    runCommand(1);
    clickFace(2);
    runCommand(19);
    runCommand(ItemUndo); // something to redo, which a cancel keeps
    const std::string before = stateNow();
    const CommandHistoryList history = CommandHistory;
    for (int item : {11, 15, 24, 29, 33}) { // object move, scale; faces move, scale, rotate
        onPassiveMotion(300, 300);
        dispatchCommand(item);
        moveMouse(4, 0);
        onKey(27, 0, 0);
        EXPECT_EQ(Editor.interactionMode, ModePick) << item;
        EXPECT_EQ(stateNow(), before) << item;
        EXPECT_EQ(std::memcmp(&CommandHistory, &history, sizeof history), 0) << item;
    }
    runCommand(ItemRedo);
    EXPECT_EQ(numsteps(), 5);
}

TEST_F(Cycle, CommandsAndPicksTheRecordCannotHoldChangeNothing)
{
    while (numsteps() < 251) // Select All steps
        insstep((uint32_t)numsteps(), MIRL_OP_SELECT1, 128, 0);
    rebuildMesh(committedMesh());
    runCommand(2);  // Invert: 252 steps, nothing selected
    runCommand(18); // Inset: 254
    const std::string before = stateNow();
    const CommandHistoryList history = CommandHistory;
    for (int item : {23, 20, 18}) // Holes, Taper, Inset need 5, 3, 2 steps
        runCommand(item);
    EXPECT_EQ(std::memcmp(&CommandHistory, &history, sizeof history), 0);
    EXPECT_EQ(stateNow(), before);
    clickFace(1); // one step still fits
    EXPECT_EQ(numsteps(), 255);
    clickFace(2);
    runCommand(0);
    runCommand(11, 3); // a parametric command never starts its preview
    EXPECT_EQ(RecorderOn, 0);
    EXPECT_EQ(Dialogs.notices, std::vector<std::string>(6, "Exceeded max number of modelling commands: ERROR"));
    EXPECT_EQ(CommandRecord.ops[254], MIRL_OPPICK);
    EXPECT_EQ(committedVersusReplay(), "");
    runCommand(ItemUndo); // takes back exactly the pick
    EXPECT_EQ(stateNow(), before);
}

// What each modelling item records, "opcode:ParamByte" per step, as the menu
// lists it (golden/item_steps.txt); a parametric command is committed
// without motion.
TEST_F(Cycle, EveryModellingItemRecordsItsOwnSteps)
{
    std::string steps;
    for (int item = 0; item < 35; item++) {
        const int before = numsteps();
        runCommand(item);
        steps += std::to_string(item);
        for (int i = before; i < numsteps(); i++)
            steps += " " + std::to_string(CommandRecord.ops[i]) + ":" + std::to_string(CommandRecord.params[i]);
        steps += "\n";
    }
    std::ifstream golden(MIRL_EDITOR_GOLDEN "/item_steps.txt");
    EXPECT_EQ(steps, std::string(std::istreambuf_iterator<char>(golden), {}));
}
