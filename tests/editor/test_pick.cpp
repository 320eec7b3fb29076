// Picking on the real window: identifier colours, depth, the background and
// the record of a pick.
#include <GL/freeglut.h>
#include <cmath>

#include "commands.h"
#include "editor.h"
#include "harness.h"
#include "history.h"
#include "pick.h"
#include "render.h"

class Pick : public ::testing::Test {
  protected:
    void SetUp() override { resetEditor(); }

    // Whether quad q of the committed mesh faces the eye in the current view.
    static bool facesEye(uint32_t q)
    {
        const Mesh *m = committedMesh();
        Vec3 c;
        centroi(m, q, &c);
        glMatrixMode(GL_MODELVIEW);
        setCamera();
        applyViewRotation();
        GLdouble mv[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, mv);
        const Vec3 &n = m->fnormals[q];
        double ex = mv[0] * c.x + mv[4] * c.y + mv[8] * c.z + mv[12];
        double ey = mv[1] * c.x + mv[5] * c.y + mv[9] * c.z + mv[13];
        double ez = mv[2] * c.x + mv[6] * c.y + mv[10] * c.z + mv[14];
        double nx = mv[0] * n.x + mv[4] * n.y + mv[8] * n.z;
        double ny = mv[1] * n.x + mv[5] * n.y + mv[9] * n.z;
        double nz = mv[2] * n.x + mv[6] * n.y + mv[10] * n.z;
        return -(ex * nx + ey * ny + ez * nz) > 1e-6;
    }

    // A mesh of n zero-area quads (all corners on one vertex) but for the
    // listed ones, each a square in the plane z = depth of half size s.
    static void degenerateMesh(uint32_t n)
    {
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

    static void lookAlongZ()
    {
        Editor.eyeX = 0.0f;
        Editor.eyeY = 0.0f;
        Editor.eyeZ = 8.0f;
        Editor.pitch = 0.0f;
        Editor.yaw = 0.0f;
    }
};

TEST_F(Pick, EachVisibleCubeFaceFromSeveralAngles)
{
    const float views[][2] = {{45, 45}, {0, 0}, {-30, 120}, {60, -100}, {20, 200}, {-80, 10}, {90, 0}};
    for (auto &v : views) {
        Editor.pitch = v[0];
        Editor.yaw = v[1];
        int visible = 0;
        for (uint32_t q = 0; q < 6; q++) {
            Vec3 c;
            centroi(committedMesh(), q, &c);
            WindowPoint w = projectToWindow(c);
            ASSERT_TRUE(w.inside);
            int got = pickFace(committedMesh(), w.x, w.y);
            if (facesEye(q)) {
                visible++;
                EXPECT_EQ(got, (int)q) << "pitch " << v[0] << " yaw " << v[1];
            } else {
                // Hidden behind a nearer face, which wins.
                EXPECT_NE(got, (int)q) << "pitch " << v[0] << " yaw " << v[1];
                if (got >= 0) {
                    EXPECT_TRUE(facesEye((uint32_t)got));
                }
            }
        }
        EXPECT_GE(visible, 1);
    }
}

TEST_F(Pick, NearerOfTwoOverlappingFacesWins)
{
    lookAlongZ();
    for (int nearFirst = 0; nearFirst < 2; nearFirst++) {
        degenerateMesh(2);
        square(nearFirst ? 0 : 1, 0.5f, 1.0f);
        square(nearFirst ? 1 : 0, 0.0f, 1.5f);
        WindowPoint centre = projectToWindow({0.0f, 0.0f, 0.5f});
        EXPECT_EQ(pickFace(committedMesh(), centre.x, centre.y), nearFirst ? 0 : 1);
        // Outside the near square but on the far one.
        WindowPoint rim = projectToWindow({1.25f, 0.0f, 0.0f});
        EXPECT_EQ(pickFace(committedMesh(), rim.x, rim.y), nearFirst ? 1 : 0);
    }
}

TEST_F(Pick, BackgroundAndOutsideTheWindowAreNoFace)
{
    EXPECT_EQ(pickFace(committedMesh(), 1, 1), -1);
    EXPECT_EQ(pickFace(committedMesh(), -3, 300), -1);
    EXPECT_EQ(pickFace(committedMesh(), 400, 600), -1);
    EXPECT_EQ(pickFace(committedMesh(), 800, 300), -1);
}

TEST_F(Pick, TopRowOfTheWindowIsRead)
{
    lookAlongZ();
    degenerateMesh(1);
    square(0, 0.0f, 6.0f); // fills the window
    EXPECT_EQ(pickFace(committedMesh(), 400, 0), 0);
    EXPECT_EQ(pickFace(committedMesh(), 0, 599), 0);
    committedMesh()->nquads = 0;
    EXPECT_EQ(pickFace(committedMesh(), 400, 0), -1);
}

TEST_F(Pick, IdentifiersOfLargeIndicesRoundTrip)
{
    lookAlongZ();
    for (uint32_t target : {255u, 65535u, 65791u}) {
        degenerateMesh(65792);
        square(target, 0.0f, 1.0f);
        WindowPoint w = projectToWindow({0.0f, 0.0f, 0.0f});
        EXPECT_EQ(pickFace(committedMesh(), w.x, w.y), (int)target);

        // The identifier bytes themselves: red, green, blue of index + 1.
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawPickIds(committedMesh());
        GLubyte px[4] = {9, 9, 9, 9};
        glReadPixels(w.x, Editor.windowHeight - 1 - w.y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, px);
        glClearColor(ClearGrey, ClearGrey, ClearGrey, 1.0f);
        uint32_t id = target + 1;
        EXPECT_EQ(px[0], id & 255);
        EXPECT_EQ(px[1], (id >> 8) & 255);
        EXPECT_EQ(px[2], id >> 16);
    }
}

TEST_F(Pick, LeavesTheFrameStateAsTheDisplayDoes)
{
    Editor.lightingOn = 1;
    display();
    WindowPoint w = projectToWindow({0.0f, 1.0f, 0.0f});
    EXPECT_EQ(pickFace(committedMesh(), w.x, w.y), 1); // top face, unlit ids
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 0.1f);
    EXPECT_EQ(clear[3], 1.0f);
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(Pick, AClickRecordsThePickAndUUndoesIt)
{
    runCommand(1);
    WindowPoint w = projectToWindow({0.0f, 1.0f, 0.0f});
    int redisplays = Observed.redisplays;
    testing::internal::CaptureStdout();
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, w.x, w.y);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), ""); // no console line
    EXPECT_EQ(Observed.redisplays, redisplays + 1);
    ASSERT_EQ(numsteps(), 3);
    EXPECT_EQ(CommandRecord.ops[2], 50);
    EXPECT_EQ(CommandRecord.picks[0], 1u);
    EXPECT_EQ(CommandHistory.items[1], PickItem);
    EXPECT_EQ(committedMesh()->selected[1], 1);
    EXPECT_EQ(RecorderOn, 0);
    EXPECT_EQ(Observed.menuAttached, 1);

    // Picking it again deselects it and is recorded too.
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, w.x, w.y);
    EXPECT_EQ(committedMesh()->selected[1], 0);
    EXPECT_EQ(numpicks(), 2);

    testing::internal::CaptureStdout();
    onKey('u', 0, 0);
    onKey('u', 0, 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(numsteps(), 2);
    EXPECT_EQ(numpicks(), 0);
    EXPECT_EQ(committedMesh()->selected[1], 0);
    EXPECT_EQ(CommandHistory.count, 1);

    // Releases and other buttons never pick.
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, w.x, w.y);
    onMouseButton(GLUT_MIDDLE_BUTTON, GLUT_DOWN, w.x, w.y);
    EXPECT_EQ(numsteps(), 2);
}
