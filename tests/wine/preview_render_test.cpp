// The preview mode's rendering: mode 0 entered, a model loaded through the shell's load command,
// the rendering dialog opened from the menu command and the view saved as "<name>.BMP" beside
// the program.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "convert/lwo_file.h"
#include "convert/preview_hooks.h"
#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "model/model3.h"
#include "model/gpu_update.h"
#include "model/model3.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "render/camera.h"
#include "render/frame_render.h"
#include "shell/current.h"
#include "shell/file_commands.h"
#include "shell/mode_hooks.h"
#include "wine/support/wine_frame.h"

using namespace QVL;

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The open rendering dialogs of this process.
std::vector<HWND> RenderDialogs()
{
    std::vector<HWND> found;
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, L"#32770", L"レンダリング")) != nullptr)
        if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) found.push_back(w);
    return found;
}

std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return bytes;
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return (uint32_t)b[at] | (uint32_t)b[at + 1] << 8 | (uint32_t)b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
}

// A white square of side 2s around the origin, written as an LWO file.
bool WriteSquareLwo(const std::string& path, float s)
{
    MODEL3* m = Model3_Alloc();
    const float p[4][2] = {{-s, -s}, {s, -s}, {s, s}, {-s, s}};
    FACE3 f = {};
    f.cornerCount = 4;
    for (int i = 0; i < 4; ++i) {
        m->positions.push_back(XYZ{p[i][0], p[i][1], 0});
        f.corners[i][CORNER_POS] = f.corners[i][CORNER_COLOR] = f.corners[i][CORNER_UV] = i;
        m->colors.push_back(RGBA{250, 250, 250, 255});
        m->uvs.push_back(UV2{0, 0});
    }
    m->normals.push_back(XYZ{0, 0, -1});
    m->positionCount = m->colorCount = m->uvCount = 4;
    m->normalCount = 1;
    m->faces.assign(1, f);
    m->faceCount = 1;
    Model3_FitArrays(m);
    std::vector<uint8_t> bytes;
    const bool ok = Lwo_Write(m, bytes);
    Model3_Free(m);
    FILE* out = ok ? std::fopen(path.c_str(), "wb") : nullptr;
    if (!out) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

// Texts of the dialog's controls that do not fit their controls in the dialog's font (the drive
// test of dialogs cannot reach this one: the program never enters the preview).
BOOL CALLBACK AddClipped(HWND child, LPARAM out)
{
    wchar_t text[128];
    if (GetWindowTextW(child, text, 128) <= 0) return TRUE;
    wchar_t cls[32];
    GetClassNameW(child, cls, 32);
    if (_wcsicmp(cls, L"Edit") == 0) return TRUE;
    HDC dc = GetDC(child);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageW(child, WM_GETFONT, 0, 0));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, (int)wcslen(text), &size);
    SelectObject(dc, old);
    ReleaseDC(child, dc);
    RECT rc;
    GetClientRect(child, &rc);
    // Buttons keep a few pixels of frame on each side.
    const int room = rc.right - (_wcsicmp(cls, L"Button") == 0 ? 6 : 0);
    if (size.cx > room || size.cy > rc.bottom) ((std::vector<int>*)out)->push_back(GetDlgCtrlID(child));
    return TRUE;
}

TEST(PreviewRender, TheDialogSavesTheViewAsABitmap)
{
    ASSERT_TRUE(WineFrame_Ensure());
    if (g_DefaultObjectId < 0) g_DefaultObjectId = ObjectCreate();
    if (g_DefaultModelId < 0) g_DefaultModelId = Model3_Create();
    const int32_t savedMode = g_Mode, savedScreen = g_Screen;
    // The mode sets the studio-wide screen group; later tests in this process expect the one they found.
    struct GroupKept {
        decltype(g_ScreenGroup) group = g_ScreenGroup;
        ~GroupKept() { g_ScreenGroup = group; }
    } groupKept;
    g_Mode = MODE_PREVIEW;
    g_Screen = SCREEN_START;
    Mode_Enter();
    OBJECT* o = Object_GetById(g_DefaultObjectId);
    ASSERT_NE(nullptr, o);
    EXPECT_EQ(1, o->visible);

    char cur[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cur);
    const std::string model = std::string(cur) + "\\preview_square.lwo";
    ASSERT_TRUE(WriteSquareLwo(model, 5.0f));
    const int32_t before = g_DefaultModelId;
    // The open dialog hands over a name in the current folder.
    FileCmd_LoadModelFile("preview_square.lwo");
    ASSERT_NE(before, g_DefaultModelId) << "the load did not replace the preview model";
    o = Object_GetById(g_DefaultObjectId);
    ASSERT_EQ(g_DefaultModelId, o->modelId);
    MODEL3* m = Model3_GetById(g_DefaultModelId);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(1, m->faceCount);
    for (GROUP3& g : m->groups) g.doubleSided = 1;   // either winding faces the camera
    Model3_SetRenderKind(m, 0);
    o->cullTest = 0;
    Object_SetPosition(o, 0, 0, 0);

    Render_SetCameraEye(0, 0, -15);
    Render_SetCameraTarget(0, 0, 0);
    // The scene drawn into the back buffer, which the button saves as it stands (a presented
    // buffer's content is undefined).
    const int32_t studio = g_StudioFlag;
    g_StudioFlag = 0;
    g_LightOption = 0;
    Render_SetFade(1.0f);
    Preview_Frame();
    Anim_UpdateModels();
    Render_Frame();

    // The command opens the dialog once, however often it comes.
    Preview_OnCommand(40061);
    Preview_OnCommand(40061);
    Pump();
    std::vector<HWND> dialogs = RenderDialogs();
    ASSERT_EQ(1u, dialogs.size());
    HWND dlg = dialogs[0];
    // The default name arrives with the first timer tick.
    char name[256] = {};
    for (int i = 0; i < 40 && !name[0]; ++i) {
        Sleep(25);
        Pump();
        GetDlgItemTextA(dlg, 1320, name, sizeof name);
    }
    EXPECT_STREQ(g_MovieRenderSettings.outputName, name);
    std::vector<int> clipped;
    EnumChildWindows(dlg, AddClipped, (LPARAM)&clipped);
    EXPECT_TRUE(clipped.empty()) << "clipped text in control " << clipped[0];

    SetDlgItemTextA(dlg, 1320, "preview_shot");
    const std::string shot = std::string(g_Lib.exeFolder) + "\\preview_shot.BMP";
    DeleteFileA(shot.c_str());
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(1318, BN_CLICKED), (LPARAM)GetDlgItem(dlg, 1318));
    const std::vector<uint8_t> bmp = ReadAll(shot);
    ASSERT_GE(bmp.size(), 54u) << shot;
    EXPECT_EQ('B', bmp[0]);
    EXPECT_EQ('M', bmp[1]);
    EXPECT_EQ(bmp.size(), U32(bmp, 2));
    const uint32_t offset = U32(bmp, 10);
    const int32_t width = (int32_t)U32(bmp, 18), height = (int32_t)U32(bmp, 22);
    const uint16_t bits = (uint16_t)(bmp[28] | bmp[29] << 8);
    EXPECT_EQ((int32_t)g_BackBufferDesc.Width, width);
    EXPECT_EQ((int32_t)g_BackBufferDesc.Height, height < 0 ? -height : height);
    ASSERT_TRUE(bits == 24 || bits == 32) << bits;
    const size_t stride = ((size_t)width * bits / 8 + 3) & ~(size_t)3;
    const size_t rows = (size_t)(height < 0 ? -height : height);
    ASSERT_EQ(bmp.size(), offset + stride * rows);
    // The grey background and the white square: not one colour.
    const size_t px = bits / 8;
    const uint8_t* first = &bmp[offset];
    bool varied = false;
    for (size_t y = 0; y < rows && !varied; ++y)
        for (size_t x = 0; x < (size_t)width && !varied; ++x)
            varied = std::memcmp(first, &bmp[offset + y * stride + x * px], 3) != 0;
    EXPECT_TRUE(varied) << "the saved view is one colour: " << (int)first[2] << "," << (int)first[1] << "," << (int)first[0];
    g_StudioFlag = studio;
    g_LightOption = 1;

    // "閉じる" closes it, and the command opens it again.
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(1319, BN_CLICKED), (LPARAM)GetDlgItem(dlg, 1319));
    Pump();
    EXPECT_FALSE(IsWindow(dlg));
    Preview_OnCommand(40061);
    Pump();
    dialogs = RenderDialogs();
    ASSERT_EQ(1u, dialogs.size());
    SendMessageA(dialogs[0], WM_COMMAND, MAKEWPARAM(1319, BN_CLICKED), (LPARAM)GetDlgItem(dialogs[0], 1319));
    Pump();

    Mode_Exit();
    g_Mode = savedMode;
    g_Screen = savedScreen;
    DeleteFileA(shot.c_str());
    DeleteFileA(model.c_str());
}

} // namespace
