// View records: adding, opening and closing view windows, the fit, the wheel and the mappings.
#include <cmath>
#include <string>

#include "shell_fixture.h"

namespace {

using Views = ShellTest;

TEST_F(Views, AddedViewInAFreshSlotCanZoom)
{
    View_Add(1, 10, 20, 300, 200);  // views 1-3 exist: slot 4
    VIEW_REC& v = g_Views[0][4];
    EXPECT_EQ(v.exists, 1);
    EXPECT_EQ(g_ViewCount[0], 5);
    EXPECT_EQ(v.type, VIEW_FRONT);
    EXPECT_GT(v.zoom, 0.0f);
    EXPECT_TRUE(UiRec().Has("Place 2 10 20 300 200"));
    EXPECT_TRUE(UiRec().Has("Text 2 Front"));
    for (int i = 0; i < 5; ++i) View_Add(1, 0, 0, 200, 200);
    EXPECT_EQ(g_ViewCount[0], 8);
    UiRec().Clear();
    View_Add(1, 0, 0, 200, 200);  // all seven window slots taken
    EXPECT_TRUE(UiRec().calls.empty());
    EXPECT_EQ(g_ViewCount[0], 8);
}

TEST_F(Views, ClosingKeepsExistsAndReopensAtTheNextEntry)
{
    g_Views[0][2].shown = 0;
    View_CreateAll();
    EXPECT_NE(g_Views[0][1].window, nullptr);
    EXPECT_EQ(g_Views[0][2].window, nullptr);
    EXPECT_TRUE(UiRec().Has("Text 2 Front"));
    View_CloseAll();
    EXPECT_EQ(g_Views[0][1].window, nullptr);
    EXPECT_EQ(g_Views[0][1].exists, 1);
    EXPECT_EQ(UiRec().active, UiRec_MainWindow());
}

TEST_F(Views, CurrentViewFollowsTheActiveWindowWhileNoButtonIsHeld)
{
    g_Views[0][3].window = (void*)0x300;
    UiRec().active = (void*)0x300;
    View_UpdateCurrent();
    EXPECT_EQ(g_CurViewIndex, 3);
    EXPECT_EQ(g_CurView, &g_Views[0][3]);
    UiRec().active = nullptr;
    g_Lib.mouse.held[1] = 1;
    View_UpdateCurrent();
    EXPECT_EQ(g_CurViewIndex, 3);
    g_Lib.mouse.held[1] = 0;
    View_UpdateCurrent();
    EXPECT_EQ(g_CurViewIndex, 0);
}

TEST(ViewFit, SingleVertexShowsTwoUnitsAcrossTheWidthLessTheMargin)
{
    float cu, cv, z;
    ASSERT_TRUE(View_FitOrtho(3.0f, 3.0f, -1.0f, -1.0f, 256, 400, 48, 96, 0.25f, &cu, &cv, &z));
    EXPECT_FLOAT_EQ(cu, 3.0f);
    EXPECT_FLOAT_EQ(cv, -1.0f);
    // Two units across 208 pixels: 40 x zoom x 2 = 208.
    EXPECT_NEAR(z * 80.0f, 208.0f, 0.5f);
}

TEST(ViewFit, Guards)
{
    struct Case { const char* name; float lu, hu, lv, hv; int w, h; float zoom; bool fits; };
    const Case cases[] = {
        {"extents truncate to no pixel", 0.0f, 0.001f, 0.0f, 0.001f, 256, 256, 0.25f, true},
        {"zoom 0 view", -2.0f, 2.0f, -1.0f, 1.0f, 256, 256, 0.0f, true},
        {"view smaller than its margins", -2.0f, 2.0f, -1.0f, 1.0f, 40, 256, 0.25f, false},
        {"empty box", 1.0f, -1.0f, 0.0f, 1.0f, 256, 256, 0.25f, false},
    };
    for (const Case& c : cases) {
        float cu = 0, cv = 0, z = -1;
        bool ok = View_FitOrtho(c.lu, c.hu, c.lv, c.hv, c.w, c.h, 48, 96, c.zoom, &cu, &cv, &z);
        EXPECT_EQ(ok, c.fits) << c.name;
        if (ok) {
            EXPECT_TRUE(std::isfinite(z) && z > 0.0f) << c.name;
        } else {
            EXPECT_EQ(z, -1.0f) << c.name;
        }
    }
    // A tiny box fits to (nearly) the same zoom as the exact arithmetic would give.
    float cu, cv, z;
    ASSERT_TRUE(View_FitOrtho(0.0f, 0.001f, 0.0f, 0.0005f, 256, 256, 24, 24, 0.25f, &cu, &cv, &z));
    EXPECT_NEAR(0.001f * 40.0f * z, 232.0f, 1.0f);
}

TEST_F(Views, WheelZoomFactorsByModeAndReverseOption)
{
    struct Case { int mode, screen, type, reverse; bool forward; float factor; };
    const Case cases[] = {
        {0, 0, VIEW_MAIN, 0, true, 0.8f},   {0, 0, VIEW_MAIN, 1, true, 1.2f},
        {22, 0, VIEW_FRONT, 0, false, 1.2f}, {11, 14, VIEW_MAIN, 0, true, 0.8f},
        {11, 14, VIEW_TOP, 0, true, 1.2f},  {11, 15, VIEW_MAIN, 1, true, 1.2f},
        {11, 17, VIEW_SIDE, 0, false, 0.8f}, {3, 6, VIEW_MAIN, 1, true, 1.2f},
        {3, 9, VIEW_FRONT, 0, false, 1.2f}, {21, 0, VIEW_MAIN, 0, true, 1.0f},
    };
    for (const Case& c : cases) {
        g_Mode = c.mode;
        g_Screen = c.screen;
        g_App.reverseWheel = (uint8_t)c.reverse;
        g_CurViewIndex = 1;
        VIEW_REC& v = g_Views[c.screen][1];
        v.type = c.type;
        v.zoom = 2.0f;
        if (c.forward) View_WheelForward();
        else View_WheelBack();
        EXPECT_FLOAT_EQ(v.zoom, 2.0f * c.factor) << c.mode << "/" << c.screen << "/" << c.type;
    }
}

TEST(ViewMapping, OrthographicViews)
{
    VIEW_REC v = {};
    v.centreX = 100;
    v.centreY = 50;
    v.zoom = 0.5f;  // 20 pixels per unit
    v.pan[0] = 1.0f;
    v.pan[1] = 2.0f;
    v.pan[2] = 3.0f;
    const float p[3] = {2.0f, 4.0f, -1.0f};
    struct Case { int type; float x, y; };
    const Case cases[] = {{VIEW_FRONT, 120, 10}, {VIEW_TOP, 120, 10}, {VIEW_SIDE, 140, 10}};
    for (const Case& c : cases) {
        v.type = c.type;
        float sx, sy;
        View_WorldToScreen(v, p, &sx, &sy);
        EXPECT_FLOAT_EQ(sx, c.x) << c.type;
        EXPECT_FLOAT_EQ(sy, c.y) << c.type;
    }
}

TEST(ViewMapping, MainEyeSitsBehindTheTarget)
{
    const float t[3] = {1.0f, 8.0f, 0.0f};
    float eye[3];
    View_MainEye(t, 2.0f, 0.0f, 0.0f, eye);
    EXPECT_NEAR(eye[0], 1.0f, 1e-5);
    EXPECT_NEAR(eye[1], 8.0f, 1e-5);
    EXPECT_NEAR(eye[2], -30.0f, 1e-4);
}

} // namespace
