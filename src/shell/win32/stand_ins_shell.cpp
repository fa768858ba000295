// Stand-ins for the frame while it is built beside the shell; removed when it lands.
#include <windows.h>

#include <cstring>

#include "frame/lib.h"
#include "frame/text.h"
#include "shell/shell_needs.h"
#include "shell/views.h"
#include "shell/win32/shell_win32.h"

static int s_Active = 1;

// stand-in: the frame's window procedure hands every message to the shell first.
static LRESULT CALLBACK StandInWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Main_MessageHook(wnd, msg, wParam, lParam);
    switch (msg) {
    case WM_LBUTTONDOWN: g_Lib.mouse.held[0] = 1; break;
    case WM_LBUTTONUP: g_Lib.mouse.held[0] = 0; break;
    case WM_MBUTTONDOWN: g_Lib.mouse.held[1] = 1; break;
    case WM_MBUTTONUP: g_Lib.mouse.held[1] = 0; break;
    case WM_RBUTTONDOWN: g_Lib.mouse.held[2] = 1; break;
    case WM_RBUTTONUP: g_Lib.mouse.held[2] = 0; break;
    case WM_KEYDOWN: g_Lib.keys[wParam & 0xFF] = 1; break;
    case WM_KEYUP: g_Lib.keys[wParam & 0xFF] = 0; break;
    case WM_CLOSE: DestroyWindow(wnd); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

bool LibInit(HINSTANCE instance)  // stand-in: the frame's start-up
{
    g_Lib.instance = instance;
    g_Lib.monitorWidth = GetSystemMetrics(SM_CXSCREEN);
    g_Lib.monitorHeight = GetSystemMetrics(SM_CYSCREEN);
    g_Lib.windowWidth = g_Lib.monitorWidth;
    g_Lib.windowHeight = g_Lib.monitorHeight;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = StandInWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "D3D Window";
    RegisterClassA(&wc);
    g_MainWnd = CreateWindowA("D3D Window", kProductCaption, WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                              nullptr, instance, nullptr);
    if (!g_MainWnd) return false;
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    exe[n < MAX_PATH ? n : MAX_PATH - 1] = 0;
    if (char* slash = std::strrchr(exe, '\\')) *slash = 0;
    Str_Copy(g_Lib.exeFolder, sizeof g_Lib.exeFolder, exe);
    Str_Format(g_Lib.dataFolder, sizeof g_Lib.dataFolder, "%s\\Data", exe);
    SetCurrentDirectoryA(g_Lib.dataFolder);
    g_FadeStep = 0.03f;
    g_ScreenGroup = 4;
    g_Lib.ready = 1;
    return true;
}

int App_IsActive() { return s_Active; }  // stand-in: the frame's active flag

void App_RenderFrame()  // stand-in: the frame tick clears the picked view's window with the clear colour
{
    HWND target = g_MainWnd;
    if (void* w = View_PickedWindow()) target = (HWND)w;
    HDC dc = GetDC(target);
    RECT rc;
    GetClientRect(target, &rc);
    HBRUSH b = CreateSolidBrush(RGB(g_Lib.clearColor[0], g_Lib.clearColor[1], g_Lib.clearColor[2]));
    FillRect(dc, &rc, b);
    DeleteObject(b);
    ReleaseDC(target, dc);
}

void App_ResetDevice() {}  // stand-in: the frame's device reset

bool File_OpenDialog(HWND, char*, size_t, const char*, const char*) { return false; }  // stand-in: file dialogs
