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
#include "wine/support/wine_frame.h"

using namespace QVL;

namespace {

const UINT kSize = 256;

// Render target 0 of the frame for the test's lifetime, with the pixels read back.
class Target {
public:
    Target()
    {
        g_Device->GetRenderTarget(0, &old_);
        if (FAILED(g_Device->CreateRenderTarget(kSize, kSize, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &rt_,
                                                nullptr)))
            rt_ = nullptr;
        if (rt_) g_Device->SetRenderTarget(0, rt_);
    }
    ~Target()
    {
        if (old_) {
            g_Device->SetRenderTarget(0, old_);
            old_->Release();
        }
        if (rt_) rt_->Release();
    }
    bool Ok() const { return rt_ != nullptr; }
    DWORD At(int x, int y)
    {
        if (px_.empty()) Read();
        if (px_.empty() || x < 0 || y < 0 || x >= (int)kSize || y >= (int)kSize) return 0xDEADBEEF;
        return px_[(size_t)y * kSize + (size_t)x];
    }
    void Invalidate() { px_.clear(); }

private:
    void Read()
    {
        IDirect3DSurface9* sys = nullptr;
        if (FAILED(g_Device->CreateOffscreenPlainSurface(kSize, kSize, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &sys,
                                                         nullptr)))
            return;
        D3DLOCKED_RECT lr;
        if (SUCCEEDED(g_Device->GetRenderTargetData(rt_, sys)) && SUCCEEDED(sys->LockRect(&lr, nullptr, D3DLOCK_READONLY))) {
            px_.resize(kSize * kSize);
            for (UINT y = 0; y < kSize; ++y)
                for (UINT x = 0; x < kSize; ++x)
                    px_[y * kSize + x] = ((const DWORD*)((const BYTE*)lr.pBits + y * lr.Pitch))[x] & 0xFFFFFF;
            sys->UnlockRect();
        }
        sys->Release();
    }
    IDirect3DSurface9* old_ = nullptr;
    IDirect3DSurface9* rt_ = nullptr;
    std::vector<DWORD> px_;
};

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
    g_Screen = 0;
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
