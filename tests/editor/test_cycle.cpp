// The command cycle, the interaction modes and the keys, on the real window.
#include <GL/freeglut.h>
#include <cmath>

#include "commands.h"
#include "editor.h"
#include "render.h"
#include "harness.h"
#include "history.h"
#include "menus.h"

class Cycle : public ::testing::Test {
  protected:
    void SetUp() override { resetEditor(); }
};

TEST(Startup, StartsWithTheCubeCrosshairMenuAndAbout)
{
    EXPECT_EQ(AtStartup.cursor, GLUT_CURSOR_CROSSHAIR);
    EXPECT_EQ(AtStartup.menuAttached, 1);
    EXPECT_EQ(StartupOutput.rfind("\n\n M I R L  Modeller (Release 1.0.2)\n" + std::string(35, '-') + "\n"
                                  "  This is mirl, a simple 3d modeller for demoscene intros.\n",
                                  0),
              0u);
    EXPECT_EQ(StartupOutput.substr(StartupOutput.size() - 3), "\n\n\n");
    EXPECT_NE(StartupOutput.find("Beta Test Credits: "), std::string::npos);
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 800);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 600);
    EXPECT_EQ(glutGet(GLUT_WINDOW_DOUBLEBUFFER), 1);
    EXPECT_GE(glutGet(GLUT_WINDOW_DEPTH_SIZE), 16);
    EXPECT_GE(glutGet(GLUT_WINDOW_RED_SIZE), 8);
}

TEST_F(Cycle, FirstStateMatchesAFreshStart)
{
    EXPECT_EQ(numsteps(), 1);
    EXPECT_EQ(CommandRecord.ops[0], 31);
    EXPECT_EQ(CommandRecord.params[0], 128);
    EXPECT_EQ(CommandHistory.count, 0);
    EXPECT_EQ(CommandHistory.items[0], HistoryEmpty);
    EXPECT_EQ(Editor.interactionMode, ModePick);
    EXPECT_EQ(Editor.eyeZ, 8.0f);
    EXPECT_EQ(Editor.pitch, 45.0f);
    EXPECT_EQ(Editor.yaw, 45.0f);
    EXPECT_EQ(RecorderOn, 0);
    EXPECT_EQ(committedMesh()->nverts, 8u);
    EXPECT_EQ(committedMesh()->nquads, 6u);
}

TEST_F(Cycle, ParameterStepIsTheDecodedByte129)
{
    EXPECT_EQ(parameterStep(), 0.09411812573671341);
    EXPECT_EQ(paramConstant(132), decpar(132));
    EXPECT_NE(paramConstant(132), 0.2823534f); // the printed decimal is one ulp off
    EXPECT_EQ(std::nextafter(paramConstant(132), 0.0f) == 0.2823534f ||
                  std::nextafter(paramConstant(132), 1.0f) == 0.2823534f,
              true);
    for (int b : {132, 136, 142, 144, 160})
        EXPECT_EQ(encpar(paramConstant(b)), b);
}

TEST_F(Cycle, OneShotCommandRunsWholeCycleAtOnce)
{
    std::string out = runCommand(1); // Select None
    EXPECT_EQ(out, " .o0 Working ... done 0o.\n");
    EXPECT_EQ(numsteps(), 2);
    EXPECT_EQ(CommandRecord.ops[1], 20);
    EXPECT_EQ(CommandRecord.params[1], 128);
    EXPECT_EQ(countsel(committedMesh()), 0);
    EXPECT_EQ(CommandHistory.count, 1);
    EXPECT_EQ(CommandHistory.items[0], 1);
    EXPECT_EQ(Editor.interactionMode, ModePick);
    EXPECT_EQ(RecorderOn, 0);
    EXPECT_EQ(Editor.currentCommand, 0);
    EXPECT_EQ(Observed.detachCalls, 1);
    EXPECT_EQ(Observed.attachCalls, 1);
    EXPECT_EQ(Observed.menuAttached, 1);
    ASSERT_EQ(Observed.cursors.size(), 2u);
    EXPECT_EQ(Observed.cursors[0], GLUT_CURSOR_TEXT);
    EXPECT_EQ(Observed.cursors[1], GLUT_CURSOR_CROSSHAIR);
    EXPECT_GE(Observed.redisplays, 1);
}

TEST_F(Cycle, EditorCommandsStayOutOfHistoryAndRecord)
{
    for (int item : {38, 41, 42, 44, 45, 50, 54, 55})
        runCommand(item);
    EXPECT_EQ(CommandHistory.count, 0);
    EXPECT_EQ(numsteps(), 1);
}

TEST_F(Cycle, SeparatorOnlyStartsAndEnds)
{
    Editor.aaoShadingOn = 1;
    EXPECT_EQ(runCommand(ItemSeparator), " .o0 Working ... done 0o.\n");
    EXPECT_EQ(Editor.aaoShadingOn, 0);
    EXPECT_EQ(numsteps(), 1);
}

TEST_F(Cycle, PreviewReplacesItsOwnStepAtEveryHorizontalMotion)
{
    onPassiveMotion(400, 300);
    std::string out = runCommand(11); // OBJECT Move X
    EXPECT_EQ(out, " .o0 Working ...");
    EXPECT_EQ(Editor.interactionMode, ModePreview);
    EXPECT_EQ(Observed.cursor, GLUT_CURSOR_TEXT);
    EXPECT_EQ(Observed.menuAttached, 0);
    EXPECT_EQ(RecorderOn, 1);
    EXPECT_EQ(Editor.currentCommand, 11);
    ASSERT_EQ(numsteps(), 2);
    EXPECT_EQ(CommandRecord.ops[1], 9);
    EXPECT_EQ(CommandRecord.params[1], 128);

    int previous = 128;
    for (int i = 1; i <= 6; i++) {
        onPassiveMotion(400 + i, 300);
        EXPECT_EQ(numsteps(), 2);
        EXPECT_EQ(CommandRecord.ops[1], 9);
        EXPECT_GT(CommandRecord.params[1], previous);
        previous = CommandRecord.params[1];
        EXPECT_EQ(Editor.paramOffset, (float)(i * parameterStep())) << i;
    }
    // Vertical motion changes neither parameter nor record.
    onPassiveMotion(406, 250);
    onPassiveMotion(406, 350);
    EXPECT_EQ(CommandRecord.params[1], previous);
    EXPECT_EQ(numsteps(), 2);
    // Left again: the parameter goes down.
    onPassiveMotion(405, 350);
    EXPECT_LT(CommandRecord.params[1], previous);

    testing::internal::CaptureStdout();
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 405, 350);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " done 0o.\n");
    EXPECT_EQ(Editor.interactionMode, ModePick);
    EXPECT_EQ(numsteps(), 2);
    EXPECT_EQ(CommandHistory.count, 1);
    EXPECT_EQ(CommandHistory.items[0], 11);
    EXPECT_EQ(Editor.paramOffset, 0.0f);
    EXPECT_EQ(RecorderOn, 0);
    EXPECT_EQ(Observed.menuAttached, 1);
    EXPECT_EQ(Observed.cursor, GLUT_CURSOR_CROSSHAIR);
}

TEST_F(Cycle, ClampHoldsUntilTheOffsetComesBackInside)
{
    onPassiveMotion(100, 100);
    runCommand(24); // FACES Move Normal: offset value
    int x = 100;
    for (int i = 0; i < 100; i++)
        onPassiveMotion(++x, 100);
    EXPECT_GT(Editor.paramOffset, 9.0f);
    EXPECT_EQ(CommandRecord.params[1], 255);
    // Moving back: the byte stays 255 until the offset is below the value
    // that rounds to 254.5 (p + 8) * 15.9375.
    int events = 0;
    while (CommandRecord.params[1] == 255) {
        onPassiveMotion(--x, 100);
        events++;
        ASSERT_LT(events, 100);
    }
    EXPECT_LT(((double)Editor.paramOffset + 8.0) * 15.9375, 254.5);
    EXPECT_GE(((double)Editor.paramOffset + parameterStep() + 8.0) * 15.9375, 254.5);
    EXPECT_GE(CommandRecord.params[1], 253);
    // And the lower limit: -8 is byte 0.
    for (int i = 0; i < 300; i++)
        onPassiveMotion(--x, 100);
    EXPECT_EQ(CommandRecord.params[1], 0);
    EXPECT_EQ(numsteps(), 2);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, x, 100);
}

TEST_F(Cycle, ScaleStartsAtItsBaseValue)
{
    runCommand(14); // Scale Uniform
    EXPECT_EQ(CommandRecord.ops[1], 3);
    EXPECT_EQ(CommandRecord.params[1], 144);
    EXPECT_EQ(scaleValue(), decpar(144));
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    EXPECT_EQ(numsteps(), 2);
}

TEST_F(Cycle, PreviewIgnoresKeysMenusAndOtherButtons)
{
    runCommand(32); // Rot X
    int redisplays = Observed.redisplays;
    for (unsigned char k : {'u', 'i', ' ', 'x'})
        onKey(k, 0, 0);
    dispatchCommand(1); // a stray menu item
    onMouseButton(GLUT_RIGHT_BUTTON, GLUT_DOWN, 10, 10);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 10, 10);
    EXPECT_EQ(Editor.interactionMode, ModePreview);
    EXPECT_EQ(numsteps(), 2);
    EXPECT_EQ(CommandHistory.count, 1);
    EXPECT_EQ(Observed.redisplays, redisplays);
    // The arrows still turn the camera.
    onSpecialKey(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_EQ(Editor.yaw, 50.0f);
    EXPECT_EQ(Observed.redisplays, redisplays + 1);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 10, 10);
    EXPECT_EQ(Editor.interactionMode, ModePick);
}

TEST_F(Cycle, SpaceAndClicksCycleOrbitAndZoom)
{
    onKey(' ', 0, 0);
    EXPECT_EQ(Editor.interactionMode, ModeOrbit);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 5);
    EXPECT_EQ(Editor.interactionMode, ModeZoom);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 5);
    EXPECT_EQ(Editor.interactionMode, ModeOrbit);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 5);
    onKey(' ', 0, 0);
    EXPECT_EQ(Editor.interactionMode, ModePick);
    onKey(' ', 0, 0);
    onKey(' ', 0, 0);
    EXPECT_EQ(Editor.interactionMode, ModePick);
    EXPECT_EQ(numsteps(), 1); // clicks in orbit and zoom never pick
    // Mode changes keep the crosshair.
    EXPECT_TRUE(Observed.cursors.empty());
}

TEST_F(Cycle, OrbitAndZoomFollowTheMotionDirections)
{
    onPassiveMotion(100, 100);
    onKey(' ', 0, 0); // orbit
    onPassiveMotion(150, 90);
    EXPECT_EQ(Editor.yaw, 50.0f);
    EXPECT_EQ(Editor.pitch, 40.0f);
    onPassiveMotion(150, 90);
    EXPECT_EQ(Editor.yaw, 50.0f);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 150, 90); // zoom
    onPassiveMotion(140, 95);
    EXPECT_EQ(Editor.eyeZ, (float)(8.0 + 0.2));
    EXPECT_EQ(Editor.yaw, 50.0f);
    onPassiveMotion(140, 80);
    onPassiveMotion(140, 70);
    EXPECT_EQ(Editor.eyeZ, (float)((double)(float)((double)(float)(8.0 + 0.2) - 0.2) - 0.2));
    onKey(' ', 0, 0);
    onPassiveMotion(0, 0);
    EXPECT_EQ(Editor.yaw, 50.0f); // pick mode: motion moves nothing
}

TEST_F(Cycle, ArrowsWithShiftAloneZoom)
{
    Observed.modifiers = 0;
    onSpecialKey(GLUT_KEY_UP, 0, 0);
    EXPECT_EQ(Editor.pitch, 50.0f);
    onSpecialKey(GLUT_KEY_DOWN, 0, 0);
    onSpecialKey(GLUT_KEY_DOWN, 0, 0);
    EXPECT_EQ(Editor.pitch, 40.0f);
    onSpecialKey(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ(Editor.yaw, 40.0f);

    Observed.modifiers = GLUT_ACTIVE_SHIFT;
    onSpecialKey(GLUT_KEY_UP, 0, 0);
    EXPECT_EQ(Editor.eyeZ, (float)(8.0 - 0.2));
    EXPECT_EQ(Editor.pitch, 40.0f);
    onSpecialKey(GLUT_KEY_DOWN, 0, 0);
    onSpecialKey(GLUT_KEY_DOWN, 0, 0);
    EXPECT_GT(Editor.eyeZ, 8.0f);
    onSpecialKey(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_EQ(Editor.yaw, 45.0f);

    Observed.modifiers = GLUT_ACTIVE_SHIFT | GLUT_ACTIVE_CTRL;
    float z = Editor.eyeZ;
    onSpecialKey(GLUT_KEY_UP, 0, 0);
    EXPECT_EQ(Editor.pitch, 45.0f);
    EXPECT_EQ(Editor.eyeZ, z);

    int redisplays = Observed.redisplays;
    onSpecialKey(GLUT_KEY_F1, 0, 0);
    EXPECT_EQ(Observed.redisplays, redisplays + 1);
    EXPECT_EQ(Editor.pitch, 45.0f);
}

TEST_F(Cycle, OnlyLowerCaseShortcutsRunCommands)
{
    testing::internal::CaptureStdout();
    onKey('U', 0, 0);
    onKey('I', 0, 0);
    onKey('q', 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(Observed.redisplays, 0);

    testing::internal::CaptureStdout();
    onKey('i', 0, 0);
    std::string info = testing::internal::GetCapturedStdout();
    EXPECT_EQ(info.rfind(" .o0 Working ...\n\nModel Info:\n", 0), 0u);
    testing::internal::CaptureStdout();
    onKey('u', 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " .o0 Working ... done 0o.\n");
}

TEST_F(Cycle, ObjectInfoOnTheStartingCube)
{
    EXPECT_EQ(runCommand(ItemObjectInfo), " .o0 Working ...\n\nModel Info:\n"
                                          "Vertices (8, max 250000)  Faces (6, max 250000)\n"
                                          "Number of Modelling commands: (0)\n"
                                          "Number of Mirl Commands: (1, max 256)\n"
                                          "Number of Picks: (0, max 256)\n"
                                          "Number of Selected Faces: (6)\n\n"
                                          " done 0o.\n");
}

TEST_F(Cycle, RestartKeepsSwitchesAndResetsTheScene)
{
    runCommand(46);           // grid off
    runCommand(49);           // face normals on
    runCommand(51);           // face lighting
    runCommand(50);           // light on
    Editor.exportCounter = 3; // as after three exports
    setProjection(640, 480);
    runCommand(1);
    onPassiveMotion(10, 10);
    runCommand(25);
    onPassiveMotion(20, 10);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 20, 10);
    onSpecialKey(GLUT_KEY_UP, 0, 0);

    runCommand(ItemRestart);
    EXPECT_EQ(Editor.gridShown, 0);
    EXPECT_EQ(Editor.faceNormalsShown, 1);
    EXPECT_EQ(Editor.faceLighting, 1);
    EXPECT_EQ(Editor.vertexLighting, 0);
    EXPECT_EQ(Editor.lightingOn, 1);
    EXPECT_EQ(Editor.exportCounter, 3);
    EXPECT_EQ(Editor.windowWidth, 640);
    EXPECT_EQ(Editor.windowHeight, 480);
    EXPECT_EQ(Editor.pitch, 45.0f);
    EXPECT_EQ(Editor.yaw, 45.0f);
    EXPECT_EQ(Editor.eyeZ, 8.0f);
    EXPECT_EQ(numsteps(), 1);
    EXPECT_EQ(CommandHistory.count, 0);
    EXPECT_EQ(countsel(committedMesh()), 6);
    EXPECT_EQ(committedMesh()->nquads, 6u);
}

TEST_F(Cycle, ReshapeToZeroHeightUsesOne)
{
    glMatrixMode(GL_PROJECTION);
    setProjection(800, 0);
    EXPECT_EQ(Editor.windowHeight, 1);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    for (double v : m)
        EXPECT_TRUE(std::isfinite(v));
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    EXPECT_EQ(view[3], 1);
    setProjection(-5, 0);
    EXPECT_EQ(Editor.windowWidth, 1);
    display(); // draws without trouble
    setProjection(800, 600);
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(Cycle, ViewPresets)
{
    runCommand(55);
    EXPECT_EQ(Editor.eyeX, 8.0f);
    EXPECT_EQ(Editor.eyeZ, 0.0f);
    EXPECT_EQ(Editor.pitch, 0.0f);
    runCommand(56);
    EXPECT_EQ(Editor.eyeY, 8.0f);
    EXPECT_EQ(Editor.eyeZ, 0.1f);
    runCommand(57);
    EXPECT_EQ(Editor.eyeY, 0.0f);
    EXPECT_EQ(Editor.eyeZ, 8.0f);
    EXPECT_EQ(Editor.yaw, 0.0f);
    runCommand(54);
    EXPECT_EQ(Editor.pitch, 45.0f);
    EXPECT_EQ(Editor.yaw, 45.0f);
}

TEST_F(Cycle, TogglesAndLightingSwitches)
{
    struct {
        int item;
        int *flag;
    } toggles[] = {{44, &Editor.verticesShown},      {45, &Editor.edgesShown},
                   {46, &Editor.gridShown},          {47, &Editor.axesShown},
                   {48, &Editor.vertexNormalsShown}, {49, &Editor.faceNormalsShown},
                   {50, &Editor.lightingOn}};
    for (auto &t : toggles) {
        int before = *t.flag;
        runCommand(t.item);
        EXPECT_EQ(*t.flag, 1 - before) << t.item;
        runCommand(t.item);
        EXPECT_EQ(*t.flag, before) << t.item;
    }
    runCommand(51);
    EXPECT_EQ(Editor.faceLighting + 2 * Editor.vertexLighting, 1);
    runCommand(52);
    EXPECT_EQ(Editor.faceLighting + 2 * Editor.vertexLighting, 2);
    EXPECT_EQ(Editor.lightingOn, 0);
}

TEST_F(Cycle, AAOShadingLastsUntilTheNextCommand)
{
    Observed.cursors.clear();
    runCommand(ItemAAO);
    EXPECT_EQ(Editor.aaoShadingOn, 1);
    ASSERT_EQ(Observed.cursors.size(), 3u);
    EXPECT_EQ(Observed.cursors[1], GLUT_CURSOR_WAIT);
    EXPECT_EQ(Observed.cursors[2], GLUT_CURSOR_CROSSHAIR);
    for (uint32_t v = 0; v < 8; v++) // cube corners are far apart: white
        EXPECT_EQ(AAOColours[v].x, 1.0f);
    EXPECT_EQ(CommandHistory.count, 0);
    EXPECT_EQ(numsteps(), 1);
    // A pick or a camera move keeps it; any command clears it.
    onSpecialKey(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ(Editor.aaoShadingOn, 1);
    runCommand(46);
    EXPECT_EQ(Editor.aaoShadingOn, 0);
    runCommand(ItemAAO);
    runCommand(38); // 'i' too
    EXPECT_EQ(Editor.aaoShadingOn, 0);
}

TEST_F(Cycle, MenuTreeIsBuiltOnceAndReattached)
{
    int ids[MenuIdCount];
    std::copy(Editor.menuIds, Editor.menuIds + MenuIdCount, ids);
    for (int i = 0; i < 5; i++)
        runCommand(42);
    EXPECT_EQ(Observed.attachCalls, 5);
    for (int i = 0; i < MenuIdCount; i++)
        EXPECT_EQ(Editor.menuIds[i], ids[i]);
    int current = glutGetMenu();
    glutSetMenu(Editor.menuIds[SubmenuCount]);
    EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), SubmenuCount);
    int total = 0;
    for (int s = 0; s < SubmenuCount; s++) {
        glutSetMenu(Editor.menuIds[s]);
        EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), SubmenuEntries[s]) << s;
        total += glutGet(GLUT_MENU_NUM_ITEMS);
    }
    EXPECT_EQ(total, MenuItemCount);
    glutSetMenu(current);
    EXPECT_STREQ(SubmenuTitles[1], "OBJECT ");
    for (int s : {2, 3, 5, 6, 7})
        EXPECT_EQ(std::string(SubmenuTitles[s]).find_first_not_of(' '), 7u) << s;
    EXPECT_STREQ(ItemLabels[42], "-----------");
    EXPECT_STREQ(ItemLabels[43], "* Exit *");
    EXPECT_STREQ(ItemLabels[53], "AAO (Aprox AO)");
}
