// The polygon screen's Front-view drawing on the real device under Wine: the wire frame's pixels, the
// same pixels batched as with one call per edge, and the fill of a selected face.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_draw.h"
#include "edit3d/poly_screen.h"
#include "frame/lib.h"
#include "frame/scene.h"
#include "frame/win32/app_frame.h"
#include "render/immediate.h"
#include "render/tex_slots.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/picking.h"
#include "shell/views.h"
#include "wine/support/plain2d.h"
#include "wine/support/render_target.h"
#include "wine/support/wine_frame.h"

namespace {

struct ModelDeleter {
    void operator()(QVL::MODEL3* m) const { Model3_Free(m); }
};

// A quad from (-1, -1) to (1, 1) at z = 0 and a triangle beside it, with a point face: in a Front view
// centred at (128, 128) at zoom 1 the quad's corners land at 88 and 168.
std::unique_ptr<QVL::MODEL3, ModelDeleter> Scene()
{
    std::unique_ptr<QVL::MODEL3, ModelDeleter> m(Model3_Alloc());
    const float p[8][3] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0},
                           {1.5f, -1, 0}, {2.9f, 0.3f, 0}, {1.7f, 1.1f, 0}, {-2.5f, -2.5f, 0}};
    for (const auto& q : p) m->positions.push_back(QVL::XYZ{q[0], q[1], q[2]});
    m->positionCount = 8;
    QVL::FACE3 quad{}, tri{}, point{};
    quad.cornerCount = 4;
    for (int k = 0; k < 4; ++k) quad.corners[k][0] = k;
    tri.cornerCount = 3;
    for (int k = 0; k < 3; ++k) tri.corners[k][0] = 4 + k;
    point.cornerCount = 1;
    point.corners[0][0] = 7;
    m->faces = {quad, tri, point};
    m->faceCount = 3;
    Model3_FitArrays(m.get());
    return m;
}

// The screen's state for drawing the Front view of screen 14 under the mouse.
void FrontView(QVL::MODEL3* m, int32_t faceMode)
{
    Sel_AllocBuffers();
    std::fill(g_VertexSel, g_VertexSel + 4 * g_Lib.maxPolygons, 0);
    std::fill(g_FaceSel, g_FaceSel + g_Lib.maxPolygons, 0);
    g_Screen = SCREEN_3D_POLYGON;
    VIEW_REC& v = g_Views[SCREEN_3D_POLYGON][1];
    v.type = 1;
    v.centreX = v.centreY = 128;
    v.pan[0] = v.pan[1] = v.pan[2] = 0;
    v.zoom = 1.0f;
    g_CurView = &v;
    g_CurViewIndex = g_PickedView = 1;
    g_PolyEditState.selectionMode = faceMode;
    g_PolyEditState.tool = 1;
    g_App.showNormals = 0;
    g_CurModel3 = m;
}

std::vector<DWORD> Render(Target& rt, void (*draw)())
{
    rt.Invalidate();
    Plain2D plain;
    EXPECT_EQ(D3D_OK, g_Device->BeginScene());
    Render_SetDefaultStates();
    g_Device->SetRenderState(D3DRS_ZENABLE, FALSE);
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    Tex_Set(-1);
    draw();
    g_Device->EndScene();
    std::vector<DWORD> px(kTargetSize * kTargetSize);
    for (int y = 0; y < (int)kTargetSize; ++y)
        for (int x = 0; x < (int)kTargetSize; ++x) px[(size_t)y * kTargetSize + (size_t)x] = rt.At(x, y);
    return px;
}

// The wire frame as it was drawn before batching: one call per edge, a point where an edge has no length.
void DrawPerEdge()
{
    const QVL::MODEL3* m = g_CurModel3;
    const POLY_VIEW view{1, 128, 128, {0, 0, 0}, 1.0f};
    for (int32_t f = 0; f < m->faceCount; ++f) {
        const QVL::FACE3& face = m->faces[(size_t)f];
        int32_t x[4], y[4];
        for (int k = 0; k < face.cornerCount; ++k)
            PolyDraw_MapPoint(view, m->positions[(size_t)face.corners[k][0]], &x[k], &y[k]);
        for (int k = 0; k < face.cornerCount; ++k) {
            const int q = (k + 1) % face.cornerCount;
            if (x[k] == x[q] && y[k] == y[q]) Draw_Point2DSimple(x[k], y[k], 196, 196, 196, 255);
            else Draw_Line2DSimple(x[k], y[k], x[q], y[q], 196, 196, 196, 255);
        }
    }
}

// Whether the colour is at (x, y) or a neighbour (a line on a pixel boundary may land either side).
bool Near(const std::vector<DWORD>& px, int x, int y, DWORD colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (px[(size_t)(y + dy) * kTargetSize + (size_t)(x + dx)] == colour) return true;
    return false;
}

} // namespace

TEST(PolyDrawWine, FrontViewEdgesAreGreyWhereTheMappingPutsThemAndBatchingKeepsThePixels)
{
    ASSERT_TRUE(WineFrame_Ensure());
    Target rt;
    ASSERT_TRUE(rt.Ok());
    auto m = Scene();
    FrontView(m.get(), 0);
    const std::vector<DWORD> batched = Render(rt, Poly3D_Draw);
    const std::vector<DWORD> perEdge = Render(rt, DrawPerEdge);
    g_CurModel3 = nullptr;
    auto at = [&](int x, int y) { return batched[(size_t)y * kTargetSize + (size_t)x]; };
    // The quad's four sides, at their middles; inside and outside stay clear.
    EXPECT_TRUE(Near(batched, 128, 168, 0xC4C4C4u));
    EXPECT_TRUE(Near(batched, 168, 128, 0xC4C4C4u));
    EXPECT_TRUE(Near(batched, 128, 88, 0xC4C4C4u));
    EXPECT_TRUE(Near(batched, 88, 128, 0xC4C4C4u));
    EXPECT_EQ(0u, at(128, 128));
    EXPECT_EQ(0u, at(128, 200));
    // The point face: one pixel at (28, 228).
    EXPECT_TRUE(Near(batched, 28, 228, 0xC4C4C4u));
    size_t differ = 0;
    for (size_t i = 0; i < batched.size(); ++i) differ += batched[i] != perEdge[i];
    EXPECT_EQ(0u, differ) << "pixels that differ between the batched and the per-edge wire frame";
}

TEST(PolyDrawWine, ASelectedFaceInFaceModeIsFilledCyanAtAlpha96)
{
    ASSERT_TRUE(WineFrame_Ensure());
    Target rt;
    ASSERT_TRUE(rt.Ok());
    for (int winding = 0; winding < 2; ++winding) {
        auto m = Scene();
        // Seen from the front and from behind: both are filled.
        if (winding) std::swap(m->faces[0].corners[1][0], m->faces[0].corners[3][0]);
        FrontView(m.get(), 1);
        g_FaceSel[0] = 1;
        const std::vector<DWORD> px = Render(rt, Poly3D_Draw);
        g_CurModel3 = nullptr;
        auto at = [&](int x, int y) { return px[(size_t)y * kTargetSize + (size_t)x]; };
        SCOPED_TRACE(winding);
        // Cyan at 96/255 over black, within rounding.
        const DWORD inside = at(128, 128);
        EXPECT_EQ(0, (int)(inside >> 16 & 255));
        EXPECT_NEAR(96, (int)(inside >> 8 & 255), 2);
        EXPECT_NEAR(96, (int)(inside & 255), 2);
        // Its edges are light cyan, not grey; the unselected triangle keeps grey edges.
        EXPECT_TRUE(Near(px, 128, 168, 0x80FFFFu));
        EXPECT_FALSE(Near(px, 128, 168, 0xC4C4C4u));
        EXPECT_EQ(0u, at(128, 200));
    }
}
