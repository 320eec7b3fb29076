// Picking by identifier colours, and the colours a frame puts in the window.
#include <GL/freeglut.h>

#include "harness.h"
#include "pick.h"
#include "render.h"

namespace {

class View : public EditorTest {
  protected:
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

} // namespace
