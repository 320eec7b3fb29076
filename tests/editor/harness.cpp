#include "harness.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "editor.h"
#include "render.h"
#include "history.h"
#include "platform.h"
#include "testmesh.h"
#include "xvfb.h"

ObservedPlatform Observed;
ObservedPlatform AtStartup;
std::string StartupOutput;
ScriptedDialogs Dialogs;

static void observeCursor(int shape)
{
    Observed.cursor = shape;
    Observed.cursors.push_back(shape);
    glutSetCursor(shape);
}

static void observeAttach(int menu, int button)
{
    Observed.attachCalls++;
    Observed.menuAttached = 1;
    GlutPlatform.attachMenu(menu, button);
}

static void observeDetach(int button)
{
    Observed.detachCalls++;
    Observed.menuAttached = 0;
    GlutPlatform.detachMenu(button);
}

static void observeRedisplay()
{
    Observed.redisplays++;
    glutPostRedisplay();
}

static int scriptedModifiers()
{
    return Observed.modifiers;
}

static void observeSwap()
{
    Observed.swaps++;
    if (!Observed.holdFrames)
        glutSwapBuffers();
}

static const PlatformBackend ObservingPlatform = {
    observeCursor, observeAttach, observeDetach, observeRedisplay, scriptedModifiers, observeSwap,
};

static int scriptedChooseFile(FileChoice purpose, char *name, size_t size)
{
    Dialogs.asked.push_back(purpose);
    Dialogs.recorderAtChooser.push_back(RecorderOn);
    Dialogs.modeAtChooser.push_back(Editor.interactionMode);
    if (Dialogs.answers.empty())
        return 0;
    std::string answer = Dialogs.answers.front();
    Dialogs.answers.pop_front();
    if (answer.empty() || answer.size() >= size)
        return 0;
    std::strcpy(name, answer.c_str());
    return 1;
}

static void scriptedNotice(const char *title, const char *text)
{
    Dialogs.notices.push_back({title, text});
}

static const DialogBackend ScriptedBackend = {scriptedChooseFile, scriptedNotice};

void pumpEvents()
{
    for (int i = 0; i < 20; i++)
        glutMainLoopEvent();
}

// Starts the X server and the editor once for the whole test program.
class EditorEnvironment : public ::testing::Environment {
  public:
    void SetUp() override
    {
        server = startXvfb();
        ASSERT_FALSE(server.display.empty()) << "Xvfb did not start";
        setenv("DISPLAY", server.display.c_str(), 1);
        setPlatformBackend(&ObservingPlatform);
        setDialogBackend(&ScriptedBackend);
        static char name[] = "mirl-editor-tests";
        static char *argv[] = {name, nullptr};
        int argc = 1;
        testing::internal::CaptureStdout();
        startEditor(&argc, argv);
        StartupOutput = testing::internal::GetCapturedStdout();
        AtStartup = Observed;
        waitUntilViewable();
    }

    void TearDown() override
    {
        if (server.pid > 0) {
            glutExit();
            stopXvfb(server);
        }
    }

  private:
    static void waitUntilViewable()
    {
        Display *dpy = glXGetCurrentDisplay();
        Window win = glXGetCurrentDrawable();
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < end) {
            glutMainLoopEvent();
            XWindowAttributes a;
            if (XGetWindowAttributes(dpy, win, &a) && a.map_state == IsViewable)
                break;
        }
        pumpEvents();
    }

    XvfbServer server;
};

void resetEditor()
{
    recordoff();
    FirstRun = 1;
    restartScene(committedMesh());
    Editor.currentCommand = 0;
    LastMouseX = 0;
    LastMouseY = 0;
    setnote(showNotice);
    setDialogBackend(&ScriptedBackend);
    setPlatformBackend(&ObservingPlatform);
    glMatrixMode(GL_PROJECTION);
    setProjection(800, 600);
    glMatrixMode(GL_MODELVIEW);
    Observed = ObservedPlatform();
    Observed.menuAttached = 1;
    Dialogs = ScriptedDialogs();
}

std::string runCommand(int item)
{
    testing::internal::CaptureStdout();
    dispatchCommand(item);
    return testing::internal::GetCapturedStdout();
}

WindowPoint projectToWindow(const Vec3 &p)
{
    glMatrixMode(GL_PROJECTION);
    setProjection(Editor.windowWidth, Editor.windowHeight);
    glMatrixMode(GL_MODELVIEW);
    setCamera();
    applyViewRotation();
    GLdouble model[16], proj[16];
    GLint view[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    GLdouble wx, wy, wz;
    gluProject(p.x, p.y, p.z, model, proj, view, &wx, &wy, &wz);
    WindowPoint w;
    w.x = (int)wx;
    w.y = Editor.windowHeight - 1 - (int)wy;
    w.inside = wx >= 0 && wy >= 0 && wx < Editor.windowWidth && wy < Editor.windowHeight && wz > 0 && wz < 1;
    return w;
}

Rgb framePixel(int x, int y)
{
    Observed.holdFrames = true;
    display();
    Observed.holdFrames = false;
    GLubyte px[4] = {0, 0, 0, 0};
    glReadPixels(x, Editor.windowHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
    return {px[0], px[1], px[2]};
}

Mesh *scratchMesh()
{
    static std::unique_ptr<Mesh> mesh = newMesh();
    return mesh.get();
}

std::string committedVersusReplay()
{
    const int lastPicked = LastPickedFace;
    const uint32_t picks = PickCount;
    const int recorder = RecorderOn;
    Mesh *fresh = scratchMesh();
    emptyMesh(fresh);
    recordoff();
    replayrec(fresh);
    const int replayedLastPicked = LastPickedFace;
    const uint32_t replayedPicks = PickCount;
    LastPickedFace = lastPicked;
    PickCount = picks;
    RecorderOn = recorder;
    std::string d = meshDiff(*committedMesh(), *fresh);
    if (!d.empty())
        return d;
    if (replayedPicks != picks)
        return "pick count differs from the replay's";
    if (replayedLastPicked != lastPicked)
        return "last picked face differs from the replay's: " + std::to_string(lastPicked) + " vs " +
               std::to_string(replayedLastPicked);
    return "";
}

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new EditorEnvironment);
    return RUN_ALL_TESTS();
}
