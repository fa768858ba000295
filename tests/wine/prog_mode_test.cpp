// The program mode on the real device: a script loads a picture and draws it every frame; the
// picture appears at its coordinates, and after Stop nothing more is drawn. The mode is entered
// through its hooks, as the shell's mode table would.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "frame/lib.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "render/text_queue.h"
#include "script/prog.h"
#include "script/prog_hooks.h"
#include "script/win32/prog_dialog.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "wine/support/wine_frame.h"

namespace {

// The mode sets the studio-wide screen group; later tests in this process expect the one they found.
struct ScreenGroupKept {
    decltype(g_ScreenGroup) group = g_ScreenGroup;
    ~ScreenGroupKept() { g_ScreenGroup = group; }
};

const UINT kSize = 256;

// A 16 x 8 24-bit bitmap: the left half red, the right half green.
bool WriteRedGreenBmp(const std::string& path)
{
    const int w = 16, h = 8, stride = w * 3;
    std::vector<unsigned char> f(54 + stride * h, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) f[at + i] = (unsigned char)(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, (uint32_t)f.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    f[26] = 1;
    f[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &f[54 + y * stride + x * 3];   // blue, green, red
            p[1] = x < 8 ? 0 : 255;
            p[2] = x < 8 ? 255 : 0;
        }
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp) return false;
    const bool ok = std::fwrite(f.data(), 1, f.size(), fp) == f.size();
    std::fclose(fp);
    return ok;
}

// One frame of the mode into a 256 x 256 target, read back as 0xRRGGBB.
std::vector<DWORD> RunFrame()
{
    std::vector<DWORD> px;
    IDirect3DSurface9 *old = nullptr, *rt = nullptr, *sys = nullptr;
    g_Device->GetRenderTarget(0, &old);
    if (FAILED(g_Device->CreateRenderTarget(kSize, kSize, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &rt, nullptr)))
        return px;
    g_Device->SetRenderTarget(0, rt);
    Prog_Frame();
    if (SUCCEEDED(g_Device->BeginScene())) {
        Render_SetDefaultStates();
        g_Device->SetRenderState(D3DRS_ZENABLE, FALSE);
        g_Device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        g_Device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
        g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        Prog_Draw();
        g_Device->EndScene();
    }
    g_TextQueue.clear();
    if (SUCCEEDED(g_Device->CreateOffscreenPlainSurface(kSize, kSize, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &sys, nullptr))) {
        D3DLOCKED_RECT lr;
        if (SUCCEEDED(g_Device->GetRenderTargetData(rt, sys)) && SUCCEEDED(sys->LockRect(&lr, nullptr, D3DLOCK_READONLY))) {
            px.resize(kSize * kSize);
            for (UINT y = 0; y < kSize; ++y) {
                const DWORD* row = (const DWORD*)((const BYTE*)lr.pBits + y * lr.Pitch);
                for (UINT x = 0; x < kSize; ++x) px[y * kSize + x] = row[x] & 0xFFFFFF;
            }
            sys->UnlockRect();
        }
        sys->Release();
    }
    if (old) {
        g_Device->SetRenderTarget(0, old);
        old->Release();
    }
    rt->Release();
    return px;
}

DWORD At(const std::vector<DWORD>& px, int x, int y) { return px[(size_t)y * kSize + (size_t)x]; }

TEST(ProgModeWine, AScriptDrawsItsPictureEveryFrameUntilStopped)
{
    ASSERT_TRUE(WineFrame_Ensure());
    ScreenGroupKept kept;
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string folder = std::string(cwd) + "\\prog_wine";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(WriteRedGreenBmp(folder + "\\pic.bmp"));

    float scale[2] = {g_WindowScale[0], g_WindowScale[1]};
    const int32_t toWindow = g_ScaleToWindow, studio = g_StudioFlag;
    g_WindowScale[0] = g_WindowScale[1] = 1.0f;
    g_ScaleToWindow = 0;
    g_StudioFlag = 0;

    Str_CopyN(g_ProgMode.sourceFolder, sizeof g_ProgMode.sourceFolder, folder.c_str());
    Str_CopyN(g_ProgMode.sourceFile, sizeof g_ProgMode.sourceFile, "pic.txt");
    Prog_Enter();
    // The run goes back to the data folder; the script names its own.
    const std::string src = "Folder " + folder + "\r\nImgLoad 3 pic.bmp\r\n*top\r\nImgDraw 3 40 30\r\nScreenDraw\r\nGo *top\r\n";
    ASSERT_TRUE(Prog_Run(src.data(), src.size()));
    for (int frame = 0; frame < 3; ++frame) {
        std::vector<DWORD> px = RunFrame();
        ASSERT_EQ(kSize * kSize, px.size());
        EXPECT_EQ(0xFF0000u, At(px, 42, 34)) << frame;
        EXPECT_EQ(0x00FF00u, At(px, 53, 34)) << frame;
        EXPECT_EQ(0u, At(px, 57, 34)) << frame;
        EXPECT_EQ(0u, At(px, 42, 39)) << frame;
    }
    EXPECT_EQ(1, g_Vm->programRunning);

    Prog_OnKey(117);   // F6
    EXPECT_EQ(0, g_Vm->programRunning);
    std::vector<DWORD> px = RunFrame();
    ASSERT_EQ(kSize * kSize, px.size());
    EXPECT_EQ(0u, At(px, 42, 34));

    Prog_Exit();
    if (g_ModeMenu) DestroyMenu((HMENU)g_ModeMenu);
    g_ModeMenu = nullptr;
    Vm_Free();
    SetCurrentDirectoryA(cwd);
    g_WindowScale[0] = scale[0];
    g_WindowScale[1] = scale[1];
    g_ScaleToWindow = toWindow;
    g_StudioFlag = studio;
}

// A source beyond the edit box's default 32K loads whole, and F5 writes all of it back.
TEST(ProgModeWine, ALongSourceSurvivesTheEditBox)
{
    ASSERT_TRUE(WineFrame_Ensure());
    ScreenGroupKept kept;
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string folder = std::string(cwd) + "\\prog_wine";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string src;
    while (src.size() < 50000) src += "Font 1 1 0123456789012345678901234567890123456789\r\n";
    src += "ScreenDraw\r\n";
    const std::string path = folder + "\\long.txt";
    FILE* fp = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(fp);
    std::fwrite(src.data(), 1, src.size(), fp);
    std::fclose(fp);

    Str_CopyN(g_ProgMode.sourceFolder, sizeof g_ProgMode.sourceFolder, folder.c_str());
    Str_CopyN(g_ProgMode.sourceFile, sizeof g_ProgMode.sourceFile, "long.txt");
    Prog_Enter();
    HWND dialog = Prog_DialogWindow();
    ASSERT_TRUE(IsWindow(dialog));
    Prog_OnKey(116);   // F5: the edit box's text over the file, then the run
    EXPECT_EQ(1, g_Vm->programRunning);
    Prog_Stop();
    // The dialog's 50 ms timer runs while it is open (KillTimer fails for a timer that does not).
    EXPECT_TRUE(KillTimer(dialog, 1));
    Prog_Exit();
    EXPECT_EQ(nullptr, Prog_DialogWindow());
    EXPECT_FALSE(IsWindow(dialog));
    if (g_ModeMenu) DestroyMenu((HMENU)g_ModeMenu);
    g_ModeMenu = nullptr;
    Vm_Free();
    SetCurrentDirectoryA(cwd);

    fp = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(fp);
    std::string back(src.size() + 16, '\0');
    back.resize(std::fread(&back[0], 1, back.size(), fp));
    std::fclose(fp);
    EXPECT_EQ(src.size(), back.size());
    EXPECT_TRUE(back == src);
}

} // namespace
