// Picking by identifier colours and the frame: what reaches the window and
// the state each frame leaves behind.
#include <GL/freeglut.h>

#include "harness.h"
#include "pick.h"
#include "render.h"

namespace {

class View : public EditorTest {
  protected:
    // Whether quad q of the committed mesh faces the eye in the current view.
    static bool facesEye(uint32_t q)
    {
        const Mesh *m = committedMesh();
        Vec3 c;
        centroi(m, q, &c);
        beginView();
        GLdouble mv[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, mv);
        const Vec3 &n = m->fnormals[q];
        double dot = 0;
        for (int i = 0; i < 3; i++)
            dot += (mv[i] * c.x + mv[4 + i] * c.y + mv[8 + i] * c.z + mv[12 + i]) *
                   (mv[i] * n.x + mv[4 + i] * n.y + mv[8 + i] * n.z);
        return dot < -1e-6;
    }

    // Looking along -z at n quads: all zero-area but the squares added by
    // square(), each of half size s in the plane z = depth.
    static void flatScene(uint32_t n)
    {
        Editor.eyeX = Editor.eyeY = Editor.pitch = Editor.yaw = 0.0f;
        Editor.eyeZ = 8.0f;
        Mesh *m = committedMesh();
        m->nverts = 1;
        m->verts[0] = {0.0f, 0.0f, 0.0f};
        for (uint32_t q = 0; q < n; q++) {
            m->quads[q] = {{0, 0, 0, 0}};
            m->selected[q] = 0;
        }
        m->nquads = n;
    }
    static void square(uint32_t q, float depth, float s)
    {
        Mesh *m = committedMesh();
        uint32_t v = m->nverts;
        m->verts[v] = {-s, -s, depth};
        m->verts[v + 1] = {s, -s, depth};
        m->verts[v + 2] = {s, s, depth};
        m->verts[v + 3] = {-s, s, depth};
        m->quads[q] = {{v, v + 1, v + 2, v + 3}};
        m->nverts = v + 4;
    }
};

TEST_F(View, PickFindsEachCubeFaceFromSeveralAngles)
{
    const float views[][2] = {{45, 45}, {0, 0}, {-30, 120}, {60, -100}, {20, 200}, {-80, 10}, {90, 0}};
    for (auto &v : views) {
        Editor.pitch = v[0];
        Editor.yaw = v[1];
        int visible = 0;
        for (uint32_t q = 0; q < 6; q++) {
            WindowPoint w = faceCentre(q);
            ASSERT_TRUE(w.inside);
            int got = pickFace(committedMesh(), w.x, w.y);
            if (facesEye(q)) {
                visible++;
                EXPECT_EQ(got, (int)q) << "pitch " << v[0] << " yaw " << v[1];
            } else { // hidden behind a nearer face, which wins
                EXPECT_NE(got, (int)q) << "pitch " << v[0] << " yaw " << v[1];
                EXPECT_TRUE(got < 0 || facesEye((uint32_t)got));
            }
        }
        EXPECT_GE(visible, 1);
    }
    for (auto [x, y] : {std::pair{1, 1}, {-3, 300}, {400, 600}, {800, 300}})
        EXPECT_EQ(pickFace(committedMesh(), x, y), -1) << x << "," << y;
}

TEST_F(View, NearerFacesWinToTheWindowEdgesAndLargeIndicesRoundTrip)
{
    for (int nearFirst = 0; nearFirst < 2; nearFirst++) {
        flatScene(2);
        square(nearFirst ? 0 : 1, 0.5f, 1.0f);
        square(nearFirst ? 1 : 0, 0.0f, 1.5f);
        WindowPoint centre = projectToWindow({0.0f, 0.0f, 0.5f});
        EXPECT_EQ(pickFace(committedMesh(), centre.x, centre.y), nearFirst ? 0 : 1);
        WindowPoint rim = projectToWindow({1.25f, 0.0f, 0.0f}); // on the far square only
        EXPECT_EQ(pickFace(committedMesh(), rim.x, rim.y), nearFirst ? 1 : 0);
    }
    flatScene(1);
    square(0, 0.0f, 6.0f); // fills the window: the top and bottom rows are read
    EXPECT_EQ(pickFace(committedMesh(), 400, 0), 0);
    EXPECT_EQ(pickFace(committedMesh(), 0, 599), 0);
    for (uint32_t target : {255u, 65535u, 65791u}) { // each byte of the identifier
        flatScene(65792);
        square(target, 0.0f, 1.0f);
        EXPECT_EQ(pickFace(committedMesh(), 400, 300), (int)target);
    }
}

TEST_F(View, AClickRecordsThePickAndUUndoesIt)
{
    runCommand(1);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 1, 1); // the background changes nothing
    EXPECT_EQ(numsteps(), 2);
    clickFace(1);
    ASSERT_EQ(numsteps(), 3);
    EXPECT_EQ(CommandRecord.ops[2], MIRL_OPPICK);
    EXPECT_EQ(CommandRecord.picks[0], 1u);
    EXPECT_EQ(CommandHistory.items[1], PickItem);
    EXPECT_EQ(committedMesh()->selected[1], 1);
    EXPECT_EQ(LastPickedFace, 1);
    clickFace(1); // again: deselected, and recorded too
    EXPECT_EQ(committedMesh()->selected[1], 0);
    EXPECT_EQ(numpicks(), 2);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 400, 240); // releases and other buttons never pick
    onMouseButton(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 400, 240);
    EXPECT_EQ(numsteps(), 4);

    onKey('u', 0, 0);
    onKey('u', 0, 0);
    EXPECT_EQ(numsteps(), 2);
    EXPECT_EQ(numpicks(), 0);
    EXPECT_EQ(CommandHistory.count, 1);
    EXPECT_EQ(LastPickedFace, -1); // as a player starts: no last pick
    EXPECT_EQ(committedVersusReplay(), "");
}

TEST_F(View, ColoursReachTheWindow)
{
    runCommand(47); // axes off
    runCommand(46); // grid off
    Rgb bg = framePixel(5, 5);
    EXPECT_TRUE(bg == (Rgb{25, 25, 25}) || bg == (Rgb{26, 26, 26})) << testing::PrintToString(bg);
    EXPECT_EQ(pixelAt({0.0f, 1.0f, 0.0f}), (Rgb{230, 89, 64})); // top face, selected
    runCommand(1);
    EXPECT_EQ(pixelAt({0.0f, 1.0f, 0.0f}), (Rgb{64, 64, 128}));
    // Occlusion shading: corners far apart are white; it lasts through a
    // camera move, and the next command clears it.
    runCommand(45); // edges off, so the face centre is face colour
    runCommand(ItemAAO);
    EXPECT_EQ(pixelAt({0.0f, 1.0f, 0.0f}), (Rgb{255, 255, 255}));
    for (uint32_t v = 0; v < 8; v++)
        AAOColours[v] = {0.5f, 0.5f, 0.5f};
    onSpecialKey(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ(pixelAt({0.0f, 1.0f, 0.0f}), (Rgb{128, 128, 128}));
    EXPECT_EQ(numsteps(), 2);
    runCommand(38); // Object Info
    EXPECT_EQ(Editor.aaoShadingOn, 0);
    EXPECT_EQ(pixelAt({0.0f, 1.0f, 0.0f}), (Rgb{64, 64, 128}));
}

TEST_F(View, EveryFrameAndPickLeavesTheSameState)
{
    for (int item : {48, 49, 50, 51}) // normals, lighting: everything on
        runCommand(item);
    for (int pass = 0; pass < 3; pass++) {
        if (pass == 1) {
            runCommand(ItemAAO);
            dispatchCommand(14); // a preview is drawn from the preview slot
        }
        if (pass < 2)
            display();
        else
            EXPECT_EQ(pickFace(committedMesh(), faceCentre(1).x, faceCentre(1).y), 1);
        // line width, point size, clear colour, current colour (after a frame)
        GLfloat f[10];
        const GLfloat want[9] = {1.0f, 1.0f, 0.1f, 0.1f, 0.1f, 1.0f, 0.7f, 0.7f, 0.85f};
        GLint mode;
        glGetFloatv(GL_LINE_WIDTH, f);
        glGetFloatv(GL_POINT_SIZE, f + 1);
        glGetFloatv(GL_COLOR_CLEAR_VALUE, f + 2);
        glGetFloatv(GL_CURRENT_COLOR, f + 6);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        const int n = pass < 2 ? 9 : 6;
        EXPECT_EQ(std::vector<float>(f, f + n), std::vector<float>(want, want + n)) << pass;
        EXPECT_EQ((std::array<int, 3>{glIsEnabled(GL_LIGHTING), glIsEnabled(GL_DEPTH_TEST), mode}),
                  (std::array<int, 3>{GL_FALSE, GL_TRUE, GL_MODELVIEW})) << pass;
    }
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
}

} // namespace
