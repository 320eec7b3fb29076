// The frame: colours that reach the window and the state each frame leaves.
#include <GL/freeglut.h>

#include "commands.h"
#include "editor.h"
#include "harness.h"
#include "render.h"

class Render : public ::testing::Test {
  protected:
    void SetUp() override { resetEditor(); }

    static Rgb at(const Vec3 &p)
    {
        WindowPoint w = projectToWindow(p);
        EXPECT_TRUE(w.inside);
        return framePixel(w.x, w.y);
    }

    // Window pixel of a badge point given in badge units.
    static Rgb badgeAt(double bx, double by)
    {
        double ndcX = -0.85 + bx / 170.0, ndcY = -0.9 + by / 170.0;
        int x = (int)((ndcX + 1.0) / 2.0 * Editor.windowWidth);
        int y = Editor.windowHeight - 1 - (int)((ndcY + 1.0) / 2.0 * Editor.windowHeight);
        return framePixel(x, y);
    }
};

static void expectRgb(Rgb got, int r, int g, int b)
{
    EXPECT_EQ(got.r, r);
    EXPECT_EQ(got.g, g);
    EXPECT_EQ(got.b, b);
}

TEST_F(Render, ClearColourSelectedAndPlainQuads)
{
    runCommand(47); // axes off
    runCommand(46); // grid off
    Rgb bg = framePixel(5, 5);
    EXPECT_TRUE(bg.r == 25 || bg.r == 26);
    EXPECT_EQ(bg.r, bg.g);
    EXPECT_EQ(bg.r, bg.b);
    expectRgb(at({0.0f, 1.0f, 0.0f}), 230, 89, 64); // top face, selected
    runCommand(1);
    expectRgb(at({0.0f, 1.0f, 0.0f}), 64, 64, 128);
}

TEST_F(Render, BadgeBackingAndAccent)
{
    expectRgb(badgeAt(16.0, 0.0), 64, 64, 128); // backing, right of the mark
    for (int i = 1; i < 7; i++) {
        const BadgeRect &r = BadgeRects[i];
        EXPECT_GE(r.x1, -15);
        EXPECT_LE(r.x2, 15);
        EXPECT_GE(r.y1, -9);
        EXPECT_LE(r.y2, 9);
    }
    const BadgeRect &accent = BadgeRects[4];
    expectRgb(badgeAt((accent.x1 + accent.x2) / 2.0, accent.y2 - 0.5), 230, 89, 64);
    const BadgeRect &l = BadgeRects[6];
    expectRgb(badgeAt((l.x1 + l.x2) / 2.0, l.y1 + 0.5), 178, 178, 217);
}

TEST_F(Render, EmptyMeshShowsOnlyGridAxesAndBadge)
{
    committedMesh()->nquads = 0;
    committedMesh()->nverts = 0;
    runCommand(46);
    Rgb bg = framePixel(400, 300); // where the cube was
    EXPECT_LE(bg.r, 26);
    expectRgb(badgeAt(16.0, 0.0), 64, 64, 128);
}

TEST_F(Render, AAOShadingColoursEveryCornerUntilTheNextCommand)
{
    runCommand(45); // edges off, so the centre pixel is a face
    runCommand(ItemAAO);
    expectRgb(at({0.0f, 1.0f, 0.0f}), 255, 255, 255); // corners white
    for (uint32_t v = 0; v < 8; v++)
        AAOColours[v] = {0.5f, 0.5f, 0.5f};
    expectRgb(at({0.0f, 1.0f, 0.0f}), 128, 128, 128);
    runCommand(1);
    expectRgb(at({0.0f, 1.0f, 0.0f}), 64, 64, 128);
}

TEST_F(Render, LightingChangesTheShadeOnlyWhileOn)
{
    runCommand(1);
    Rgb flat = at({0.0f, 1.0f, 0.0f});
    runCommand(50);
    Rgb lit = at({0.0f, 1.0f, 0.0f});
    EXPECT_FALSE(lit.r == flat.r && lit.g == flat.g && lit.b == flat.b);
    runCommand(50);
    Rgb again = at({0.0f, 1.0f, 0.0f});
    expectRgb(again, flat.r, flat.g, flat.b);
}

TEST_F(Render, EveryFrameLeavesTheSameState)
{
    // Everything on, in the preview mode as well.
    for (int item : {48, 49, 50, 51})
        runCommand(item);
    for (int pass = 0; pass < 2; pass++) {
        if (pass == 1) {
            runCommand(ItemAAO);
            dispatchCommand(14); // a preview is drawn from the preview slot
        }
        display();
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        GLfloat width, size, colour[4], clear[4];
        glGetFloatv(GL_LINE_WIDTH, &width);
        glGetFloatv(GL_POINT_SIZE, &size);
        glGetFloatv(GL_CURRENT_COLOR, colour);
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
        EXPECT_EQ(width, 1.0f);
        EXPECT_EQ(size, 1.0f);
        EXPECT_EQ(colour[0], 0.7f);
        EXPECT_EQ(colour[1], 0.7f);
        EXPECT_EQ(colour[2], 0.85f);
        EXPECT_EQ(clear[0], 0.1f);
        EXPECT_EQ(clear[1], 0.1f);
        EXPECT_EQ(clear[2], 0.1f);
        GLint mode;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
}

TEST_F(Render, PreviewSlotIsDrawnDuringAPreview)
{
    runCommand(47);
    runCommand(46);
    onPassiveMotion(100, 100);
    dispatchCommand(14); // scale uniform
    for (int i = 0; i < 11; i++)
        onPassiveMotion(100 - i - 1, 100); // 1.035 - 11 steps: about 0.03
    Rgb centreTop = at({0.0f, 1.0f, 0.0f});
    EXPECT_LE(centreTop.r, 26); // the committed cube's top is not drawn
    EXPECT_LT(scaleValue(), 0.1f);
    onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    EXPECT_LE(at({0.0f, 1.0f, 0.0f}).r, 26); // committed: still tiny
}
