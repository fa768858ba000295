// The renderer on the real device under Wine: each test draws into a render target of its own (the
// back buffer may be multisampled) and reads the pixels back.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "frame/lib.h"
#include "frame/scene.h"
#include "frame/win32/app_frame.h"
#include "render/camera.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "render/sprite.h"
#include "render/tex_slots.h"
#include "render/text_queue.h"
#include "wine/support/plain2d.h"
#include "wine/support/wine_frame.h"

namespace {

const UINT kSize = 256;

// A 256 x 256 target bound as render target 0 for the test's lifetime (the device's own depth
// surface is larger, so it serves).
class RenderTarget {
public:
    RenderTarget()
    {
        if (FAILED(g_Device->GetRenderTarget(0, &old_))) old_ = nullptr;
        if (FAILED(g_Device->CreateRenderTarget(kSize, kSize, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &rt_,
                                                nullptr)))
            rt_ = nullptr;
        if (rt_) g_Device->SetRenderTarget(0, rt_);
    }
    ~RenderTarget()
    {
        if (old_) {
            g_Device->SetRenderTarget(0, old_);
            old_->Release();
        }
        if (rt_) rt_->Release();
    }
    bool Ok() const { return rt_ != nullptr; }
    // The target's pixels as 0xRRGGBB, row by row.
    std::vector<DWORD> Read()
    {
        std::vector<DWORD> px;
        IDirect3DSurface9* sys = nullptr;
        if (FAILED(g_Device->CreateOffscreenPlainSurface(kSize, kSize, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &sys,
                                                         nullptr)))
            return px;
        D3DLOCKED_RECT lr;
        if (SUCCEEDED(g_Device->GetRenderTargetData(rt_, sys)) && SUCCEEDED(sys->LockRect(&lr, nullptr, D3DLOCK_READONLY))) {
            px.resize(kSize * kSize);
            for (UINT y = 0; y < kSize; ++y) {
                const DWORD* row = (const DWORD*)((const BYTE*)lr.pBits + y * lr.Pitch);
                for (UINT x = 0; x < kSize; ++x) px[y * kSize + x] = row[x] & 0xFFFFFF;
            }
            sys->UnlockRect();
        }
        sys->Release();
        return px;
    }

private:
    IDirect3DSurface9* old_ = nullptr;
    IDirect3DSurface9* rt_ = nullptr;
};

DWORD At(const std::vector<DWORD>& px, int x, int y) { return px[(size_t)y * kSize + (size_t)x]; }
int R(DWORD c) { return (int)(c >> 16 & 255); }
int G(DWORD c) { return (int)(c >> 8 & 255); }
int B(DWORD c) { return (int)(c & 255); }

void Quad(int x, int y, int w, int h, int r, int g, int b, int a)
{
    Draw_Quad2D(x, y, r, g, b, a, 0, 0, x + w, y, r, g, b, a, 1, 0, x + w, y + h, r, g, b, a, 1, 1, x, y + h, r, g, b, a,
                0, 1);
}

TEST(RenderWine, EachBlendModeMixesItsQuadAndTheNextQuadIsAlphaAgain)
{
    ASSERT_TRUE(WineFrame_Ensure());
    RenderTarget rt;
    ASSERT_TRUE(rt.Ok());
    Plain2D plain;
    ASSERT_EQ(D3D_OK, g_Device->BeginScene());
    Render_SetDefaultStates();
    g_Device->SetRenderState(D3DRS_ZENABLE, FALSE);
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(100, 100, 100), 1.0f, 0);
    Tex_Set(-1);
    // Row y = 0..31: one quad per mode over grey; row y = 64..95: the quad right after it, no mode set.
    for (int mode = 0; mode < 4; ++mode) {
        Draw_SetBlendMode(mode);
        Quad(mode * 64, 0, 32, 32, 200, 50, 0, 128);
        Quad(mode * 64, 64, 32, 32, 200, 50, 0, 128);
    }
    g_Device->EndScene();
    std::vector<DWORD> px = rt.Read();
    ASSERT_EQ(kSize * kSize, px.size());

    // src × 128/255 combined with the grey 100 as each mode says (results clamp to 0..255).
    struct Want {
        int r, g, b;
    };
    const Want want[4] = {{150, 75, 50}, {200, 125, 100}, {0, 75, 100}, {255, 150, 100}};
    for (int mode = 0; mode < 4; ++mode) {
        DWORD c = At(px, mode * 64 + 16, 16);
        EXPECT_NEAR(want[mode].r, R(c), 3) << "mode " << mode;
        EXPECT_NEAR(want[mode].g, G(c), 3) << "mode " << mode;
        EXPECT_NEAR(want[mode].b, B(c), 3) << "mode " << mode;
        DWORD next = At(px, mode * 64 + 16, 80);
        EXPECT_NEAR(150, R(next), 3) << "quad after mode " << mode;
        EXPECT_NEAR(75, G(next), 3) << "quad after mode " << mode;
        EXPECT_NEAR(50, B(next), 3) << "quad after mode " << mode;
        EXPECT_EQ(0x646464u, At(px, mode * 64 + 48, 16)) << "outside the quad";
    }
}

TEST(RenderWine, JapaneseTextThroughTheQueueCoversPixels)
{
    ASSERT_TRUE(WineFrame_Ensure());
    RenderTarget rt;
    ASSERT_TRUE(rt.Ok());
    Plain2D plain;
    Lib_SetClearColor(0, 0, 255);
    Render_SetFade(1.0f);
    g_TextQueue.clear();
    Draw_SetTextColor(255, 255, 255, 255);
    ASSERT_EQ(1, Draw_Text(8, 8, "日本語の%s", "テキスト"));
    // Seven other characters below: missing glyphs would draw the same boxes for both lines.
    ASSERT_EQ(1, Draw_Text(8, 48, "口口口口口口口"));
    Render_Frame();
    EXPECT_TRUE(g_TextQueue.empty()) << "the frame empties the queue";
    std::vector<DWORD> px = rt.Read();
    ASSERT_EQ(kSize * kSize, px.size());
    // 7 characters of a 21-pixel font from (8, 8) and (8, 48): lit pixels in their boxes, none outside.
    auto lit = [&](int x, int y) {
        DWORD c = At(px, x, y);
        return R(c) > 128 && G(c) > 128;
    };
    int inFirst = 0, outside = 0, differ = 0;
    for (int y = 0; y < (int)kSize; ++y)
        for (int x = 0; x < (int)kSize; ++x) {
            bool inX = x >= 8 && x < 8 + 7 * 24;
            bool first = inX && y >= 8 && y < 8 + 28, second = inX && y >= 48 && y < 48 + 28;
            if (first && lit(x, y)) ++inFirst;
            if (!first && !second && lit(x, y)) ++outside;
            if (first && lit(x, y) != lit(x, y + 40)) ++differ;
        }
    EXPECT_GT(inFirst, 100);
    EXPECT_EQ(0, outside);
    EXPECT_GT(differ, 100) << "the two lines show different glyphs";
    EXPECT_EQ(0x0000FFu, At(px, 200, 200)) << "the frame cleared to the clear colour";
    Lib_SetClearColor(0, 0, 0);
}

TEST(RenderWine, FadeLevelZeroCoversTheFrameInBlack)
{
    ASSERT_TRUE(WineFrame_Ensure());
    RenderTarget rt;
    ASSERT_TRUE(rt.Ok());
    Plain2D plain;
    Lib_SetClearColor(255, 255, 255);
    Render_SetFade(0.0f);
    Render_Frame();
    std::vector<DWORD> px = rt.Read();
    ASSERT_EQ(kSize * kSize, px.size());
    EXPECT_EQ(0u, At(px, 128, 128));
    Render_SetFade(1.0f);
    Render_Frame();
    px = rt.Read();
    EXPECT_EQ(0xFFFFFFu, At(px, 128, 128));
    Lib_SetClearColor(0, 0, 0);
}

TEST(RenderWine, TheCameraAndProjectionPutAWorldPointWhereTheyPromise)
{
    ASSERT_TRUE(WineFrame_Ensure());
    RenderTarget rt;
    ASSERT_TRUE(rt.Ok());
    Render_SetCameraEye(4.0f, 3.0f, -12.0f);
    Render_SetCameraTarget(1.0f, 0.5f, 0.0f);
    const float P[3] = {2.0f, 1.5f, 0.5f};
    QVL::VEC3 s;
    Render_ProjectToScreen(&s, P[0], P[1], P[2]);
    ASSERT_GT(s.z, 0.0f);
    const int sx = (int)s.x, sy = (int)s.y;
    ASSERT_TRUE(sx > 20 && sx < (int)kSize - 20 && sy > 20 && sy < (int)kSize - 20) << sx << "," << sy;

    ASSERT_EQ(D3D_OK, g_Device->BeginScene());
    Render_SetDefaultStates();
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    Tex_Set(-1);
    Light_Enable(0);
    g_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    // A small red square around the point, facing the eye roughly, in world space.
    const float h = 0.1f;
    Draw_Quad3D(P[0] - h, P[1] - h, P[2], 0, 0, -1, 255, 0, 0, 255, 0, 0, P[0] + h, P[1] - h, P[2], 0, 0, -1, 255, 0, 0,
                255, 0, 0, P[0] + h, P[1] + h, P[2], 0, 0, -1, 255, 0, 0, 255, 0, 0, P[0] - h, P[1] + h, P[2], 0, 0, -1,
                255, 0, 0, 255, 0, 0);
    Light_Enable(1);
    g_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    g_Device->EndScene();
    std::vector<DWORD> px = rt.Read();
    ASSERT_EQ(kSize * kSize, px.size());
    EXPECT_EQ(0xFF0000u, At(px, sx, sy)) << "at the projected point " << sx << "," << sy;
    // The square is a few pixels wide: 15 pixels off in every direction is background.
    EXPECT_EQ(0u, At(px, sx - 15, sy));
    EXPECT_EQ(0u, At(px, sx + 15, sy));
    EXPECT_EQ(0u, At(px, sx, sy - 15));
    EXPECT_EQ(0u, At(px, sx, sy + 15));
    Render_SetCameraEye(0.0f, 0.0f, -15.0f);
    Render_SetCameraTarget(0.0f, 0.0f, 0.0f);
}

} // namespace

namespace {

// A 16 x 8 picture in a slot of its own: the left half red, the right half green.
int32_t RedGreenSlot()
{
    IDirect3DTexture9* tex = nullptr;
    if (FAILED(g_Device->CreateTexture(16, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex, nullptr))) return -1;
    D3DLOCKED_RECT lr;
    if (FAILED(tex->LockRect(0, &lr, nullptr, 0))) {
        tex->Release();
        return -1;
    }
    for (int y = 0; y < 8; ++y) {
        DWORD* row = (DWORD*)((BYTE*)lr.pBits + y * lr.Pitch);
        for (int x = 0; x < 16; ++x) row[x] = x < 8 ? 0xFFFF0000u : 0xFF00FF00u;
    }
    tex->UnlockRect(0);
    int32_t h = Tex_AllocSlot();
    g_TexSlots[(size_t)h].texture = tex;
    g_TexSlots[(size_t)h].info.width = 16;
    g_TexSlots[(size_t)h].info.height = 8;
    return h;
}

TEST(RenderWine, SpritesDrawTheSlotsPictureAndRefuseNoTexture)
{
    ASSERT_TRUE(WineFrame_Ensure());
    RenderTarget rt;
    ASSERT_TRUE(rt.Ok());
    Plain2D plain;
    const int32_t h = RedGreenSlot();
    ASSERT_GE(h, 0);
    ASSERT_EQ(D3D_OK, g_Device->BeginScene());
    Render_SetDefaultStates();
    g_Device->SetRenderState(D3DRS_ZENABLE, FALSE);
    g_Device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    g_Device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    EXPECT_TRUE(Tex_Draw(h, 10, 10));
    // Turned 90 degrees clockwise and doubled about (100, 100): the left (red) half on top.
    EXPECT_TRUE(Tex_DrawRotated(h, 100, 100, 90, 2, 2, 255, 255, 255, 255));
    EXPECT_FALSE(Tex_Draw(-1, 200, 200));
    EXPECT_FALSE(Tex_DrawColor((int32_t)g_TexSlots.size(), 200, 200, 255, 255, 255, 255));
    g_Device->EndScene();
    std::vector<DWORD> px = rt.Read();
    ASSERT_EQ(kSize * kSize, px.size());
    EXPECT_EQ(0xFF0000u, At(px, 12, 14));
    EXPECT_EQ(0x00FF00u, At(px, 23, 14));
    EXPECT_EQ(0u, At(px, 28, 14)) << "natural size: 16 pixels wide";
    EXPECT_EQ(0xFF0000u, At(px, 100, 90));
    EXPECT_EQ(0x00FF00u, At(px, 100, 110));
    EXPECT_EQ(0u, At(px, 84, 100)) << "the turned picture is 16 pixels wide";
    EXPECT_EQ(0u, At(px, 200 + 8, 200 + 4)) << "nothing drawn for a handle without a slot";
}

} // namespace
