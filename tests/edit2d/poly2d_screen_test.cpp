// The 2D polygon screen: the rectangle test, the drag steps, the live free-creation point and the
// dialog's commands on the model in slot 0.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "edit2d/poly2d_screen.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_screen.h"
#include "frame/lib.h"
#include "shell/picking.h"

namespace {

TEST(Poly2DScreen, InsideIsStrict)
{
    const struct { int x, y; bool in; } cases[] = {
        {5, 5, true}, {0, 5, false}, {10, 5, false}, {5, 0, false}, {5, 10, false}, {1, 9, true}, {-1, 5, false},
    };
    for (const auto& c : cases) EXPECT_EQ(Poly2D_InRect(c.x, c.y, 0, 0, 10, 10), c.in) << c.x << "," << c.y;
}

TEST(Poly2DScreen, DragSteps)
{
    // Rotating by dx = 2, dy = 0 turns by -1 degree about the pivot.
    float x = 10, y = 0;
    Poly2D_DragPoint(2, 2, 0, 0, 0, 0, 0, &x, &y);
    const double a = -3.14159265358979323846 / 180.0;
    EXPECT_NEAR(x, 10 * std::cos(a), 1e-4);
    EXPECT_NEAR(y, -10 * std::sin(a), 1e-4);
    x = 1, y = 2;
    Poly2D_DragPoint(1, 3, -4, 0, 0, 0, 0, &x, &y);
    EXPECT_EQ(x, 4);
    EXPECT_EQ(y, -2);
    x = 10, y = 10;
    Poly2D_DragPoint(3, 100, 100, 0, 0, 0, 0, &x, &y);   // x += 10 * 100 * 0.005; y -= 100 * 10 * 0.005
    EXPECT_FLOAT_EQ(x, 15);
    EXPECT_FLOAT_EQ(y, 5);
    x = 1, y = 1;
    Poly2D_DragPoint(10, 5, 5, 0, 0, 0, 0, &x, &y);
    EXPECT_EQ(x, 1);
}

TEST(Poly2DScreen, LivePointGuardsAZeroZoomAndTheOrigin)
{
    float p[3] = {7, 7, 7};
    EXPECT_FALSE(Poly2D_LivePoint(80, 40, 0.0f, p));
    EXPECT_FALSE(Poly2D_LivePoint(0, 0, 1.0f, p));
    EXPECT_EQ(p[0], 7);
    ASSERT_TRUE(Poly2D_LivePoint(80, 40, 2.0f, p));
    EXPECT_EQ(p[0], 1);
    EXPECT_EQ(p[1], -0.5f);
}

struct Poly2DScreenCmd : ::testing::Test {
    QVL::MODEL2* m = nullptr;
    void SetUp() override
    {
        Sel_AllocBuffers();
        Sel_ClearAll();
        Model2_FreeSlot(0);
        Model2_FreeSlot(27);
        m = Model2_Create(0);
        ASSERT_NE(m, nullptr);
        g_PolyEditState.selectionMode = 0;
        g_PolyEditState.tool = 0;
        std::memset(g_Lib.mouse.held, 0, sizeof g_Lib.mouse.held);
    }
    void TearDown() override
    {
        std::memset(g_Lib.mouse.held, 0, sizeof g_Lib.mouse.held);
        Poly2D_VertexMode();
        Sel_ClearAll();
        Model2_FreeSlot(0);
        Model2_FreeSlot(27);
    }
};

TEST_F(Poly2DScreenCmd, FaceModeSelectsByCentreAndRightButtonDeselects)
{
    Poly2D_AddQuad();
    Poly2D_FaceMode();
    ASSERT_EQ(g_FaceSel[0], 0);
    g_FaceCentres[0][0] = 50, g_FaceCentres[0][1] = 50;
    g_Lib.mouse.held[0] = 1;
    Poly2D_RectSelect(0, 0, 0, 0, 40, 40, 60, 60);   // corner outside, centre inside
    EXPECT_EQ(g_FaceSel[0], 1);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(g_VertexSel[m->polygons[0].corners[k][0]], 1);
    g_Lib.mouse.held[0] = 0, g_Lib.mouse.held[2] = 1;
    Poly2D_RectSelect(0, 0, 0, 0, 40, 40, 60, 60);
    EXPECT_EQ(g_FaceSel[0], 0);
}

TEST_F(Poly2DScreenCmd, MiddleReleaseAfterChoosingFreeCreationMakesAOneCornerPolygon)
{
    Poly2D_Command(1153);
    g_FreeCreatePoints[0][0] = 3, g_FreeCreatePoints[0][1] = 4;
    Poly2D_FreeCreate();
    ASSERT_EQ(m->polygonCount, 1);
    EXPECT_EQ(m->polygons[0].cornerCount, 1);
    EXPECT_EQ(m->vertexCount, 1);
    EXPECT_STREQ(g_UndoCaption, "自由作成:1 ( モデリング )");
    EXPECT_EQ(g_FreeCreateCount, 0);
}

TEST_F(Poly2DScreenCmd, CopyAndSplitOutsideFaceModeChangeNothing)
{
    Poly2D_AddQuad();
    Poly2D_Command(1147);
    EXPECT_EQ(Model2_Get(27), nullptr);
    EXPECT_STREQ(g_UndoCaption, "コピー ( モデリング )");
    Poly2D_Command(1143);
    EXPECT_EQ(m->polygonCount, 1);
    Poly2D_FaceMode();
    Poly2D_SelectAll();
    Poly2D_Command(1143);
    EXPECT_EQ(m->polygonCount, 5);
    EXPECT_EQ(m->vertexCount, 20);
}

TEST_F(Poly2DScreenCmd, CountTextsByMode)
{
    Poly2D_AddTriangle();   // selects its vertices and the polygon
    char text[64];
    Poly2D_CountText(m, Poly2D_Selection(), text, sizeof text);
    EXPECT_STREQ(text, "頂点     3 /    3");
    g_PolyEditState.selectionMode = 1;
    Poly2D_CountText(m, Poly2D_Selection(), text, sizeof text);
    EXPECT_STREQ(text, "面     1 /    1");
}

} // namespace
