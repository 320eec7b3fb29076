#include "harness.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "platform.h"
#include "render.h"
#include "step_list.h"
#include "testmesh.h"
// after the types
#include "meshdigest.h"

ObservedPlatform Observed;
ScriptedDialogs Dialogs;

static const PlatformBackend ObservingPlatform = {
    [](int shape) { glutSetCursor(shape); },
    [](int menu, int button) { Observed.menuAttached = 1, GlutPlatform.attachMenu(menu, button); },
    [](int button) { Observed.menuAttached = 0, GlutPlatform.detachMenu(button); },
    [] { glutPostRedisplay(); },
    [] { return 0; }, // no modifier key held
    [] { Observed.holdFrames ? (void)0 : glutSwapBuffers(); },
};

static const DialogBackend ScriptedBackend = {
    [](FileChoice, char *name, size_t size) -> int {
        std::string answer = Dialogs.answers.empty() ? "" : Dialogs.answers.front();
        if (!Dialogs.answers.empty())
            Dialogs.answers.pop_front();
        return !answer.empty() && answer.size() < size && std::strcpy(name, answer.c_str());
    },
    [](const char *title, const char *text) { Dialogs.notices.push_back(std::string(title) + ": " + text); },
};

// The editor window (on the display the test runs under) and a private
// working folder, once for the whole program.
class EditorEnvironment : public ::testing::Environment {
    std::filesystem::path home, folder;

  public:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under xvfb-run";
        char pattern[] = "/tmp/mirl-editor-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        home = std::filesystem::current_path();
        folder = pattern;
        std::filesystem::current_path(folder);
        setPlatformBackend(&ObservingPlatform);
        setDialogBackend(&ScriptedBackend);
        static char name[] = "mirl-editor-tests";
        static char *argv[] = {name, nullptr};
        int argc = 1;
        testing::internal::CaptureStdout();
        startEditor(&argc, argv);
        testing::internal::GetCapturedStdout();
        // Polls until the window is mapped.
        Display *dpy = glXGetCurrentDisplay();
        Window win = glXGetCurrentDrawable();
        XWindowAttributes a;
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        do
            glutMainLoopEvent();
        while (!(XGetWindowAttributes(dpy, win, &a) && a.map_state == IsViewable) &&
               std::chrono::steady_clock::now() < end);
        for (int i = 0; i < 20; i++)
            glutMainLoopEvent();
    }

    void TearDown() override
    {
        glutExit();
        std::filesystem::current_path(home);
        std::filesystem::remove_all(folder);
    }
};

void EditorTest::SetUp()
{
    recordoff();
    FirstRun = 1;
    restartScene(committedMesh());
    resetHistory();
    Editor.currentCommand = 0;
    LastMouseX = LastMouseY = 0;
    setnote(showNotice);
    glMatrixMode(GL_PROJECTION);
    setProjection(800, 600);
    glMatrixMode(GL_MODELVIEW);
    Observed = ObservedPlatform();
    Dialogs = ScriptedDialogs();
    if (StepListShown)
        toggleStepList();
}

std::string runCommand(int item, int right, int left)
{
    testing::internal::CaptureStdout();
    onPassiveMotion(400, 300);
    dispatchCommand(item);
    if (Editor.interactionMode == ModePreview) {
        moveMouse(right, left);
        onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, LastMouseX, 300);
    }
    return testing::internal::GetCapturedStdout();
}

void moveMouse(int right, int left)
{
    int x = LastMouseX;
    for (int i = 0; i < right; i++)
        onPassiveMotion(++x, LastMouseY);
    for (int i = 0; i < left; i++)
        onPassiveMotion(--x, LastMouseY);
}

WindowPoint projectToWindow(const Vec3 &p)
{
    beginView();
    GLdouble model[16], proj[16], wx, wy, wz;
    GLint view[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    gluProject(p.x, p.y, p.z, model, proj, view, &wx, &wy, &wz);
    return {(int)wx, Editor.windowHeight - 1 - (int)wy,
            wx >= 0 && wy >= 0 && wx < Editor.windowWidth && wy < Editor.windowHeight && wz > 0 && wz < 1};
}

WindowPoint faceCentre(uint32_t q)
{
    Vec3 c;
    centroi(committedMesh(), q, &c);
    return projectToWindow(c);
}

void clickFace(uint32_t q)
{
    WindowPoint w = faceCentre(q);
    ASSERT_TRUE(w.inside) << "face " << q;
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, w.x, w.y);
}

Rgb framePixel(int x, int y)
{
    Observed.holdFrames = true;
    display();
    Observed.holdFrames = false;
    GLubyte px[3] = {0, 0, 0};
    glReadPixels(x, Editor.windowHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
    return {px[0], px[1], px[2]};
}

Rgb pixelAt(const Vec3 &p)
{
    WindowPoint w = projectToWindow(p);
    EXPECT_TRUE(w.inside);
    return framePixel(w.x, w.y);
}

std::string stateNow()
{
    return usedText(CommandRecord) + " picks " + std::to_string(numpicks()) + " # " +
           std::to_string(meshDigestOf(committedMesh())) + " last " + std::to_string(LastPickedFace);
}

std::string committedVersusReplay()
{
    return replayDiff(CommandRecord, *committedMesh(), LastPickedFace);
}

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new EditorEnvironment);
    return RUN_ALL_TESTS();
}
