// The bone and motion screens' Front-view drawing on the real device under Wine: the grey wire frame
// and the current bone's yellow cross, and on the motion screen the edges coloured by the current
// bone's weight.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <memory>

#include "edit3d/bone_screen.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/motion_pose.h"
#include "frame/lib.h"
#include "frame/scene.h"
#include "frame/win32/app_frame.h"
#include "render/immediate.h"
#include "render/tex_slots.h"
#include "shell/current.h"
#include "shell/playback.h"
#include "shell/views.h"
#include "wine/support/plain2d.h"
#include "wine/support/render_target.h"
#include "wine/support/wine_frame.h"

namespace {

struct ModelDeleter {
    void operator()(QVL::MODEL3* m) const { Model3_Free(m); }
};

// A quad from (-1, -1) to (1, 1): in a Front view centred at (128, 128) at zoom 1 its corners land
// at 88 and 168. No render data: every joint sits at the origin, the view's centre.
std::unique_ptr<QVL::MODEL3, ModelDeleter> Quad(int32_t bones)
{
    std::unique_ptr<QVL::MODEL3, ModelDeleter> m(Model3_Alloc());
    const float p[4][3] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    for (const auto& q : p) m->positions.push_back(QVL::XYZ{q[0], q[1], q[2]});
    m->positionCount = 4;
    QVL::FACE3 quad{};
    quad.cornerCount = 4;
    for (int k = 0; k < 4; ++k) quad.corners[k][0] = k;
    m->faces = {quad};
    m->faceCount = 1;
    Model3_FitArrays(m.get());
    m->boneCount = bones;
    m->id = -1;
    return m;
}

void FrontView(int screen, QVL::MODEL3* m)
{
    g_Screen = screen;
    VIEW_REC& v = g_Views[screen][1];
    v.type = VIEW_FRONT;
    v.centreX = v.centreY = 128;
    v.pan[0] = v.pan[1] = v.pan[2] = 0;
    v.zoom = 1.0f;
    g_CurView = &v;
    g_CurViewIndex = g_PickedView = 1;
    g_CurModel3 = m;
    g_PlayFlag = 0;
    for (int i = 0; i < 3; ++i) g_Lib.mouse.held[i] = 0;
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

// Whether the colour is at (x, y) or a neighbour (a line on a pixel boundary may land either side).
bool Near(const std::vector<DWORD>& px, int x, int y, DWORD colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (px[(size_t)(y + dy) * kTargetSize + (size_t)(x + dx)] == colour) return true;
    return false;
}

} // namespace

TEST(BoneDrawWine, BoneScreenDrawsTheGreyWireAndTheCurrentBonesYellowCross)
{
    ASSERT_TRUE(WineFrame_Ensure());
    Target rt;
    ASSERT_TRUE(rt.Ok());
    auto m = Quad(1);
    FrontView(SCREEN_3D_BONE, m.get());
    g_CurBone = 0;
    const std::vector<DWORD> px = Render(rt, Bone3D_Draw);
    g_CurModel3 = nullptr;
    EXPECT_TRUE(Near(px, 128, 168, 0xA0A0A0u));
    EXPECT_TRUE(Near(px, 88, 128, 0xA0A0A0u));
    EXPECT_TRUE(Near(px, 131, 131, 0xFFFF00u));
    EXPECT_TRUE(Near(px, 125, 131, 0xFFFF00u));
}

TEST(BoneDrawWine, MotionScreenColoursTheEdgesOfTheCurrentBonesVertices)
{
    ASSERT_TRUE(WineFrame_Ensure());
    Target rt;
    ASSERT_TRUE(rt.Ok());
    auto m = Quad(2);
    m->weights[0].boneA = 1, m->weights[0].boneB = 0, m->weights[0].weightA = 1.0f;
    for (int i = 1; i < 4; ++i) m->weights[(size_t)i].boneA = m->weights[(size_t)i].boneB = 0;
    FrontView(SCREEN_3D_MOTION, m.get());
    g_CurBone = 1;
    const std::vector<DWORD> px = Render(rt, Motion3D_Draw);
    g_CurModel3 = nullptr;
    g_CurBone = 0;
    // The edge from vertex 0 (bone 1 at weight 1) is red; the others keep the grey.
    EXPECT_TRUE(Near(px, 128, 168, 0xE00000u));
    EXPECT_TRUE(Near(px, 168, 128, 0x929292u));
    EXPECT_TRUE(Near(px, 131, 131, 0xFFFF00u));
}
