// Movies on the real device in mode 23: a movie with a picture track and a camera track plays
// through the shell's movie step; the picture is drawn where its keys put it at each frame, and a
// message track's subtitle is drawn where the movie's text pass places it.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame/lib.h"
#include "frame/mode_ids.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "model/gpu_services.h"
#include "render/camera.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "render/text_queue.h"
#include "scene/movie.h"
#include "shell/current.h"
#include "shell/frame_update.h"
#include "shell/playback.h"
#include "shell/views.h"
#include "frame/win32/avi_writer.h"
#include "scene/movie_edit.h"
#include "scene/win32/movie_edit_dlg.h"
#include "wine/support/modal_guard.h"
#include "wine/support/wine_frame.h"

using namespace QVL;

namespace {

// A 64 x 64 24-bit bitmap of one colour.
bool WriteSolidBmp(const std::string& path, unsigned char r, unsigned char g, unsigned char b)
{
    const int w = 64, h = 64, stride = w * 3;
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
    for (int i = 0; i < w * h; ++i) {
        f[54 + i * 3] = b;
        f[54 + i * 3 + 1] = g;
        f[54 + i * 3 + 2] = r;
    }
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp) return false;
    const bool ok = std::fwrite(f.data(), 1, f.size(), fp) == f.size();
    std::fclose(fp);
    return ok;
}

// The 2D layer of one frame into a target of the back buffer's size, read back as 0xRRGGBB.
struct Shot {
    UINT w = 0, h = 0;
    std::vector<DWORD> px;
    DWORD At(int x, int y) const { return px[(size_t)y * w + (size_t)x]; }
    // Pixels of the rectangle that are not black.
    int Lit(int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (At(x, y) != 0) ++n;
        return n;
    }
};

Shot Draw2DLayer()
{
    Shot s;
    s.w = g_BackBufferDesc.Width;
    s.h = g_BackBufferDesc.Height;
    IDirect3DSurface9 *old = nullptr, *rt = nullptr, *sys = nullptr;
    g_Device->GetRenderTarget(0, &old);
    if (FAILED(g_Device->CreateRenderTarget(s.w, s.h, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &rt, nullptr))) {
        if (old) old->Release();
        return s;
    }
    g_Device->SetRenderTarget(0, rt);
    if (SUCCEEDED(g_Device->BeginScene())) {
        Render_SetDefaultStates();
        g_Device->SetRenderState(D3DRS_ZENABLE, FALSE);
        g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        Render_Draw2DLayer();
        g_Device->EndScene();
    }
    if (SUCCEEDED(g_Device->CreateOffscreenPlainSurface(s.w, s.h, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &sys, nullptr))) {
        D3DLOCKED_RECT lr;
        if (SUCCEEDED(g_Device->GetRenderTargetData(rt, sys)) && SUCCEEDED(sys->LockRect(&lr, nullptr, D3DLOCK_READONLY))) {
            s.px.resize((size_t)s.w * s.h);
            for (UINT y = 0; y < s.h; ++y) {
                const DWORD* row = (const DWORD*)((const BYTE*)lr.pBits + y * lr.Pitch);
                for (UINT x = 0; x < s.w; ++x) s.px[(size_t)y * s.w + x] = row[x] & 0xFFFFFF;
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
    return s;
}

// What the test changes of the studio's state, put back when it ends.
struct Kept {
    int32_t mode = g_Mode, studio = g_StudioFlag, toWindow = g_ScaleToWindow, group = g_ScreenGroup;
    int32_t tex2 = g_TexTable[2];
    int32_t screen = g_Screen, picked = g_PickedView, viewType = g_Views[SCREEN_MOVIE][0].type;
    float step = g_FrameStep;
    ~Kept()
    {
        g_MoviePlayState = 0;
        Movie_ClearTracks();
        g_Mode = mode;
        g_StudioFlag = studio;
        g_ScaleToWindow = toWindow;
        g_ScreenGroup = group;
        g_TexTable[2] = tex2;
        g_Views[SCREEN_MOVIE][0].type = viewType;
        g_Screen = screen;
        g_PickedView = picked;
        g_FrameStep = step;
    }
};

TEST(MovieWine, APictureMovesAsTheMoviePlaysAndASubtitleSitsBelowTheCentre)
{
    WINE_SCENE scene;
    ASSERT_TRUE(WineScene_Begin(scene, 0, 0, -10));
    Kept kept;
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string pic = std::string(cwd) + "\\movie_red.bmp";
    ASSERT_TRUE(WriteSolidBmp(pic, 255, 0, 0));

    g_Mode = MODE_MOVIE;
    g_Screen = SCREEN_MOVIE;
    g_PickedView = 0;
    g_Views[SCREEN_MOVIE][0].type = 0;   // the main view
    g_StudioFlag = 1;
    g_ScaleToWindow = 0;
    g_ScreenGroup = 7;
    g_MovieData.followNext = 0;
    Movie_New();   // scene track 0, camera track 1
    MOVIE_PLAY& m = g_MovieData;
    MOVIE_TRACK* t = Movie_CreatePlainTrack(2);
    ASSERT_NE(t, nullptr);
    t->kind = MOVIE_PICTURE;
    Movie_ResetKeys(t);
    t->keyCount = 2;
    t->keys[1] = t->keys[0];
    t->keys[0].position[0] = 300.0f;
    t->keys[0].position[1] = 300.0f;
    t->keys[1].frame = 60;
    t->keys[1].position[0] = 900.0f;
    t->keys[1].position[1] = 300.0f;
    Str_CopyN(t->file, sizeof t->file, "movie_red.bmp");
    ASSERT_GE(Tex_LoadFile(&g_TexTable[2], pic.c_str()), 0);
    MOVIE_TRACK* text = Movie_CreatePlainTrack(3);
    text->kind = MOVIE_MESSAGE;
    Movie_ResetKeys(text);
    text->keyCount = 2;
    text->keys[1] = text->keys[0];
    text->keys[0].resource = 0;   // the empty message
    text->keys[1].frame = 60;
    text->keys[1].resource = 1;
    m.messageCount = 2;
    Str_CopyN(m.messages[1], 256, "ABCDEFGHIJ");
    m.trackCount = 4;
    m.tracks[1]->keys[0].position[2] = -77.0f;
    m.loaded = 1;

    const int ox = ((int)g_BackBufferDesc.Width - 1280) / 2, oy = ((int)g_BackBufferDesc.Height - 720) / 2;
    ASSERT_GE(ox + 940, 0);

    // Frame 0, stopped: the picture at (300, 300), no subtitle.
    m.frame = 0;
    Movie_ApplyFrame();
    const Shot first = Draw2DLayer();
    ASSERT_FALSE(first.px.empty());

    // Playing: the shell's movie step advances 60 frames at once.
    m.loopStart = 0;
    m.endFrame = 120;
    g_MoviePlayState = 1;
    g_FrameStep = 60.0f;
    Play_TickMovie();
    EXPECT_EQ(m.frame, 60);
    float eye[3], target[3];
    Movie_GetCamera(eye, target);
    EXPECT_FLOAT_EQ(eye[2], -77.0f);
    const Shot second = Draw2DLayer();
    ASSERT_FALSE(second.px.empty());

    EXPECT_EQ(first.At(ox + 300, oy + 300), 0xFF0000u);
    EXPECT_EQ(second.At(ox + 300, oy + 300), 0u);
    EXPECT_EQ(first.At(ox + 900, oy + 300), 0u);
    EXPECT_EQ(second.At(ox + 900, oy + 300), 0xFF0000u);

    // The subtitle of 10 bytes starts at x = 640 - 80 and y = 640 of the 1280 x 720 screen.
    const int sx = ox + 560, sy = oy + 640;
    EXPECT_EQ(first.Lit(sx - 4, sy - 4, sx + 200, sy + 40), 0);
    EXPECT_GT(second.Lit(sx, sy, sx + 200, sy + 40), 20);
    EXPECT_EQ(second.Lit(sx - 40, sy, sx - 4, sy + 40), 0);
    EXPECT_EQ(second.Lit(sx, sy - 40, sx + 200, sy - 4), 0);
    WineScene_End(scene);
}

// A movie of `length` frames: the new movie's scene and camera tracks and one picture.
void SmallMovie(int32_t length, const std::string& pic)
{
    g_MovieData.followNext = 0;
    Movie_New();
    MOVIE_PLAY& m = g_MovieData;
    m.length = length;
    m.endFrame = length;
    m.loopStart = 0;
    MOVIE_TRACK* t = Movie_CreatePlainTrack(2);
    t->kind = MOVIE_PICTURE;
    Movie_ResetKeys(t);
    t->keys[0].position[0] = 640.0f;
    t->keys[0].position[1] = 360.0f;
    Str_CopyN(t->file, sizeof t->file, "movie_red.bmp");
    Tex_LoadFile(&g_TexTable[2], pic.c_str());
    m.trackCount = 3;
    m.loaded = 1;
}

std::string Beside(const std::string& name) { return std::string(g_Lib.exeFolder) + "\\" + name; }

// Width and height of a BMP file, or 0 and 0.
void BmpSize(const std::string& path, int32_t* w, int32_t* h)
{
    *w = *h = 0;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return;
    unsigned char head[26] = {};
    if (std::fread(head, 1, sizeof head, f) == sizeof head && head[0] == 'B' && head[1] == 'M') {
        *w = (int32_t)(head[18] | head[19] << 8 | head[20] << 16 | (uint32_t)head[21] << 24);
        *h = (int32_t)(head[22] | head[23] << 8 | head[24] << 16 | (uint32_t)head[25] << 24);
    }
    std::fclose(f);
}

TEST(MovieWine, ATenFrameMovieRendersToTenNumberedPicturesOfTheScreensSize)
{
    ASSERT_TRUE(WineFrame_Ensure());
    Kept kept;
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string pic = std::string(cwd) + "\\movie_red.bmp";
    ASSERT_TRUE(WriteSolidBmp(pic, 255, 0, 0));
    g_Mode = MODE_MOVIE;
    g_StudioFlag = 1;
    SmallMovie(10, pic);
    for (int i = 0; i <= 10; ++i) {
        char name[64];
        Str_Format(name, sizeof name, "movie_pic%04d.BMP", i);
        DeleteFileA(Beside(name).c_str());
    }
    EXPECT_EQ(MovieEdit_RenderPictures("movie_pic", 1), 10);
    SetCurrentDirectoryA(cwd);
    for (int i = 0; i < 10; ++i) {
        char name[64];
        Str_Format(name, sizeof name, "movie_pic%04d.BMP", i);
        int32_t w = 0, h = 0;
        BmpSize(Beside(name), &w, &h);
        EXPECT_EQ(w, 1280) << name;
        EXPECT_EQ(std::abs(h), 720) << name;
    }
    EXPECT_EQ(GetFileAttributesA(Beside("movie_pic0010.BMP").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(MovieWine, RecordingAMovieGivesAnAviOfEveryRecordedFrame)
{
    ASSERT_TRUE(WineFrame_Ensure());
    Kept kept;
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string pic = std::string(cwd) + "\\movie_red.bmp";
    ASSERT_TRUE(WriteSolidBmp(pic, 255, 0, 0));
    g_Mode = MODE_MOVIE;
    g_StudioFlag = 1;
    // 20 frames at an interval of 2: 10 recorded frames at 30 per second.
    SmallMovie(20, pic);
    ModalGuard::Clear();
    ModalGuard::Answer(IDOK);
    MovieEdit_RecordAvi("movie_take", 2);
    ASSERT_NE(g_AviWriter, nullptr);
    EXPECT_EQ(g_ScreenGroup, 9);
    EXPECT_EQ(g_MoviePlayState, 1);
    int passes = 0;
    while (g_MoviePlayState == 1 && passes < 100) {
        Render_SetFade(1.0f);
        App_RenderFrame();
        Play_TickMovie();
        ++passes;
    }
    EXPECT_EQ(passes, 10);
    EXPECT_EQ(g_AviWriter, nullptr);
    EXPECT_EQ(g_ScreenGroup, 7);
    SetCurrentDirectoryA(cwd);
    FILE* f = std::fopen(Beside("movie_take.avi").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char riff[12] = {};
    EXPECT_EQ(std::fread(riff, 1, 12, f), 12u);
    std::fclose(f);
    EXPECT_EQ(std::string(riff + 8, 4), "AVI ");
}

} // namespace
