// A QVB model in the 2D layer of a whole frame under Wine: its triangles cover the pixels its
// placement says, in its group's colour.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <vector>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "model/model2.h"
#include "render/camera.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "wine/support/render_target.h"
#include "wine/support/wine_frame.h"

using namespace QVL;

namespace {

TEST(Model2DrawWine, AQvbCoversThePixelsOfItsPlacement)
{
    ASSERT_TRUE(WineFrame_Ensure());
    Target t;
    ASSERT_TRUE(t.Ok());
    const float scale[2] = {g_WindowScale[0], g_WindowScale[1]};
    const int32_t toWindow = g_ScaleToWindow, studio = g_StudioFlag, screen = g_Screen;
    g_WindowScale[0] = g_WindowScale[1] = 1.0f;
    g_ScaleToWindow = 0;
    g_StudioFlag = 0;
    g_Screen = SCREEN_START;
    Lib_SetClearColor(0, 0, 0);
    Render_SetFade(1.0f);

    g_Lib.allocArrays = 1;
    MODEL2* m = Model2_Create(0);
    g_Model2InUse[0] = 1;
    m->vertexCount = 4;
    m->vertices = {{0, 0}, {60, 0}, {60, 40}, {0, 40}};
    m->bindings.assign(4, WEIGHT2{0, 0, 1.0f, 1});
    m->uvCount = 4;
    m->uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    m->polygonCount = 1;
    m->polygons = {FACE2{1, 4, {{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {3, 0, 3}}, 0}};
    m->groups[0].r = 255;
    m->groups[0].g = 0;
    m->groups[0].b = 0;
    m->groups[0].a = 255;
    Model2_SetPosition(m, 100, 120);
    Model2_SkinModels();
    Render_Frame();
    EXPECT_EQ(0xFF0000u, t.At(130, 140));
    EXPECT_EQ(0xFF0000u, t.At(102, 158));
    EXPECT_EQ(0u, t.At(170, 140)) << "right of the model";
    EXPECT_EQ(0u, t.At(130, 110)) << "above the model";

    // Moved, it draws at its new place; not in use, it draws nowhere.
    Model2_SetPosition(m, 10, 10);
    Render_Frame();
    t.Invalidate();
    EXPECT_EQ(0xFF0000u, t.At(40, 30));
    EXPECT_EQ(0u, t.At(130, 140));
    g_Model2InUse[0] = 0;
    Render_Frame();
    t.Invalidate();
    EXPECT_EQ(0u, t.At(40, 30));

    Model2_FreeSlot(0);
    g_WindowScale[0] = scale[0];
    g_WindowScale[1] = scale[1];
    g_ScaleToWindow = toWindow;
    g_StudioFlag = studio;
    g_Screen = screen;
}

} // namespace
