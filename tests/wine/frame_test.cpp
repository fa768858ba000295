// The real frame under Wine: LibInit, the window and its HAL device, a presented frame read back
// from the screen, the aspect rule on resize, the device dialog and the fatal-error path.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstring>

#include "frame/d3d_values.h"
#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "render/camera.h"
#include "wine/support/modal_guard.h"
#include "wine/support/wine_frame.h"

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Renders and presents one frame in the clear colour (the timer must have moved on).
void PresentFrame(int r, int g, int b)
{
    // A new frame starts faded out (the studio fades in): show the clear colour as it is.
    Render_SetFade(1.0f);
    Lib_SetClearColor(r, g, b);
    Sleep(20);
    App_RenderFrame();
}

// The screen's pixel at the centre of the main window's client area, 0xRRGGBB. (Read through GDI:
// the back buffer is multisampled once anti-aliasing is on, and Wine's front-buffer copy lags.)
DWORD ScreenPixelAtClientCentre()
{
    RECT rc;
    GetClientRect(g_MainWnd, &rc);
    POINT p = {(rc.right - rc.left) / 2, (rc.bottom - rc.top) / 2};
    ClientToScreen(g_MainWnd, &p);
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(nullptr, dc);
    return (DWORD)(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
}

// Presents frames in a colour until the screen shows it (Wine presents on its own thread, a frame
// or so behind); the colour the screen shows at the end.
DWORD PresentUntilShown(int r, int g, int b)
{
    DWORD want = (DWORD)(r << 16 | g << 8 | b), seen = 0xFFFFFFFF;
    for (int i = 0; i < 40 && seen != want; ++i) {
        PresentFrame(r, g, b);
        Pump();
        Sleep(25);
        seen = ScreenPixelAtClientCentre();
    }
    return seen;
}

} // namespace

TEST(Frame, LibInitOpensTheWindowWithAHalDeviceAndPresents)
{
    ASSERT_TRUE(WineFrame_Ensure());
    HWND found = FindWindowA("D3D Window", "QV Viduza Rozar 2009.09");
    EXPECT_EQ(g_MainWnd, found);
    char cls[64];
    GetClassNameA(g_MainWnd, cls, sizeof cls);
    EXPECT_STREQ("D3D Window", cls);
    EXPECT_EQ(1, Lib_IsReady());
    EXPECT_EQ(1, App_IsActive());

    D3DDEVICE_CREATION_PARAMETERS cp;
    ASSERT_EQ(D3D_OK, g_Device->GetCreationParameters(&cp));
    EXPECT_EQ(D3DDEVTYPE_HAL, cp.DeviceType);
    EXPECT_TRUE(cp.BehaviorFlags & D3DCREATE_MULTITHREADED);
    EXPECT_EQ(0, std::strncmp("HAL", g_Frame.deviceStats, 3)) << g_Frame.deviceStats;
    EXPECT_TRUE(g_Frame.windowed);
    EXPECT_EQ(4, g_ScreenGroup);
    EXPECT_GE(g_Lib.cpu.coreCount, 1);
    EXPECT_GE(g_Lib.cpu.physicalCount, 1);
    // Chip class and anti-aliasing follow the HAL device's capabilities.
    D3DCAPS9 caps;
    ASSERT_EQ(D3D_OK, g_D3D->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps));
    bool aaRequest = false;
    EXPECT_EQ(QVL::Lib_ChipClass(caps.MaxVertexBlendMatrices, caps.VertexShaderVersion, false, &aaRequest), g_Lib.chipClass);
    EXPECT_EQ(aaRequest && g_Lib.antiAlias4Supported, g_Lib.antiAlias != 0);
    EXPECT_EQ(g_Lib.antiAlias ? D3DMULTISAMPLE_4_SAMPLES : D3DMULTISAMPLE_NONE, g_PresentParams.MultiSampleType);
    EXPECT_FLOAT_EQ(0.03f, g_FadeStep);
    EXPECT_EQ(65000, g_PolyLimit);
    EXPECT_EQ(260000, g_VertexLimit);
    // The back buffer is the window's client area and the configured size.
    RECT rc;
    GetClientRect(g_MainWnd, &rc);
    EXPECT_EQ(rc.right, Lib_GetWindowWidth());
    EXPECT_EQ(rc.bottom, Lib_GetWindowHeight());
    // The data folder beside the executable.
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    *std::strrchr(exe, '\\') = 0;
    EXPECT_STREQ(exe, g_Lib.exeFolder);
    EXPECT_EQ(std::string(exe) + "\\Data", g_Lib.dataFolder);

    // A coloured frame, then the black one, as seen on the screen.
    EXPECT_EQ(0x204080u, PresentUntilShown(32, 64, 128));
    EXPECT_EQ(0x000000u, PresentUntilShown(0, 0, 0));
}

TEST(Frame, ResizeKeepsTheAspectAndResizesTheBackBuffer)
{
    ASSERT_TRUE(WineFrame_Ensure());
    int os = App_GetOsClass();
    RECT r;
    GetWindowRect(g_MainWnd, &r);
    struct Case { int layout, width; };
    const Case cases[] = {{0, 800}, {1, 900}, {0, 1000}};
    for (const Case& c : cases) {
        g_Lib.layoutFlag = c.layout;
        MoveWindow(g_MainWnd, r.left, r.top, c.width, 300, TRUE);
        Pump();
        RECT now;
        GetWindowRect(g_MainWnd, &now);
        EXPECT_EQ(c.width, now.right - now.left);
        EXPECT_EQ(QVL::Frame_AspectHeight(c.width, c.layout, os), now.bottom - now.top) << "layout " << c.layout;
        RECT client;
        GetClientRect(g_MainWnd, &client);
        EXPECT_EQ(client.right, Lib_GetWindowWidth());
        EXPECT_EQ(client.bottom, Lib_GetWindowHeight());
        EXPECT_EQ((UINT)client.bottom, g_PresentParams.BackBufferHeight);
    }
    g_Lib.layoutFlag = 0;
    // The V-sync switch resets the device with the other interval; frames keep coming.
    V_SyncSet(0);
    EXPECT_EQ((UINT)D3DPRESENT_INTERVAL_IMMEDIATE, g_PresentParams.PresentationInterval);
    EXPECT_EQ(0, V_SyncGet());
    V_SyncSet(1);
    EXPECT_EQ((UINT)D3DPRESENT_INTERVAL_ONE, g_PresentParams.PresentationInterval);
    EXPECT_EQ(0x008000u, PresentUntilShown(0, 128, 0));
}

TEST(Frame, DeviceDialogIsAnsweredAndOkRecreatesTheDevice)
{
    ASSERT_TRUE(WineFrame_Ensure());
    ModalGuard::Clear();
    ModalGuard::Answer(IDCANCEL);
    IDirect3DDevice9* before = g_Device;
    SendMessageA(g_MainWnd, WM_COMMAND, IDM_CHANGEDEVICE, 0);
    ASSERT_EQ(1u, ModalGuard::Seen().size());
    EXPECT_EQ("Direct3D Settings", ModalGuard::Seen()[0].caption);
    EXPECT_EQ(before, g_Device);  // cancelled: nothing changes

    // OK takes the dialog's settings: the chain of selections has kept the current device.
    ModalGuard::Answer(IDOK);
    SendMessageA(g_MainWnd, WM_COMMAND, IDM_CHANGEDEVICE, 0);
    ASSERT_EQ(2u, ModalGuard::Seen().size());
    ASSERT_NE(nullptr, g_Device);
    EXPECT_TRUE(g_Frame.windowed);
    EXPECT_EQ(QVL::DEVTYPE_HAL, g_DeviceSettings.windowedSide.deviceInfo->devType);
    EXPECT_EQ(g_DeviceSettings.windowedSide.displayMode.format, g_DeviceSettings.windowedSide.deviceCombo->adapterFormat);
    EXPECT_EQ(1, App_IsActive());
    ModalGuard::Clear();
    EXPECT_EQ(0x000060u, PresentUntilShown(0, 0, 96));
}

namespace {
IDirect3D9* g_watched = nullptr;
IDirect3D9* WINAPI WatchedCreate(UINT sdk)
{
    g_watched = Direct3DCreate9(sdk);
    if (g_watched) g_watched->AddRef();  // the test's own reference
    return g_watched;
}
} // namespace

TEST(Frame, FatalErrorThenCloseReleasesDirect3DOnce)
{
    ASSERT_TRUE(WineFrame_Ensure());
    HWND window = g_MainWnd;
    App_Cleanup();
    App_ReleaseDirect3D();
    // No device can satisfy both: App_Create fails after making its Direct3D object.
    g_Enumeration.requiresWindowed = true;
    g_Enumeration.requiresFullscreen = true;
    g_Direct3DCreate = WatchedCreate;
    ModalGuard::Clear();
    ModalGuard::Answer(IDOK);
    HRESULT hr = App_Create(GetModuleHandleA(nullptr));
    g_Direct3DCreate = Direct3DCreate9;
    g_Enumeration.requiresWindowed = false;
    g_Enumeration.requiresFullscreen = false;

    EXPECT_EQ(QVL::APPERR_NOCOMPATIBLEDEVICES, hr);
    ASSERT_EQ(1u, ModalGuard::Seen().size());
    EXPECT_EQ("QV Viduza Rozar 2009.09", ModalGuard::Seen()[0].caption);
    EXPECT_NE(std::string::npos, ModalGuard::Seen()[0].text.find("DirectX 9"));
    // The fatal message closed the window.
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, g_MainWnd);
    EXPECT_EQ(nullptr, g_D3D);
    // Only the test's reference is left.
    ASSERT_NE(nullptr, g_watched);
    EXPECT_EQ(0u, g_watched->Release());
    ModalGuard::Clear();
    // WM_CLOSE posted the quit message; the next test brings the frame up again.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}
