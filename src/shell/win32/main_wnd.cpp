// The main window's handler: the window rectangle, keys, mouse, menu commands, dropped files and the
// settings write when the window goes.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "edit3d/model3d_hooks.h"
#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "shell/app_state.h"
#include "shell/file_commands.h"
#include "shell/mode_hooks.h"
#include "shell/mode_input.h"
#include "shell/settings.h"
#include "shell/views.h"
#include "shell/win32/shell_win32.h"

int Main_MessageHook(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return Main_WndProc(wnd, msg, wParam, lParam);
}

// Every dropped file goes to the generic loader, which says what it cannot open.
static void OpenDroppedFiles(HDROP drop)
{
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Its length first: a path cut to a fixed buffer would name another file, or none.
        UINT len = DragQueryFileA(drop, i, nullptr, 0);
        if (len == 0) continue;
        std::vector<char> path(len + 1);
        if (DragQueryFileA(drop, i, path.data(), len + 1) != len) continue;
        FileCmd_OpenPath(path.data());
    }
    DragFinish(drop);
    Lib_ResetFrameTimer();
}

int Main_WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    RECT r;
    if (g_MainWnd && GetWindowRect(g_MainWnd, &r) && r.left > -3200) {
        g_WindowRect[0] = r.left;
        g_WindowRect[1] = r.top;
        g_WindowRect[2] = r.right - r.left;
        g_WindowRect[3] = r.bottom - r.top;
    }
    View_UpdateCurrent();
    int32_t lp = (int32_t)lParam;
    switch (msg) {
    case WM_DESTROY: Settings_Save(); break;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE: View_RequestRedraw(); break;
    case WM_KEYDOWN: Main_KeyDown((int)wParam); break;
    case WM_KEYUP: Main_KeyUp((int)wParam); break;
    case WM_COMMAND: Main_Command((int)wParam); break;
    case WM_MOUSEMOVE: Mode_MouseMove(lp); break;
    case WM_LBUTTONDOWN: Mode_LButtonDown(lp); break;
    case WM_LBUTTONUP: Mode_LButtonUp(lp); break;
    case WM_LBUTTONDBLCLK:
        if (g_Screen == SCREEN_3D_MOTION) {
            Motion3D_CreateKey();
            Motion3D_Refresh();
        }
        break;
    case WM_RBUTTONDOWN: Mode_RButtonDown(lp); break;
    case WM_RBUTTONUP: Mode_RButtonUp(lp); break;
    case WM_MBUTTONDOWN: Mode_MButtonDown(lp); break;
    case WM_MBUTTONUP: Mode_MButtonUp(lp); break;
    case WM_DROPFILES: OpenDroppedFiles((HDROP)wParam); break;
    default: break;
    }
    (void)wnd;
    return 0;
}

void Main_ConfirmExit()
{
    if (MessageBoxA(g_MainWnd, "終了しても、よろしいですか？", kProductCaption, MB_ICONQUESTION | MB_YESNO) == IDYES)
        SendMessageA(g_MainWnd, WM_CLOSE, 0, 0);
    Lib_ResetFrameTimer();
}

void MainWnd_ApplyRect()
{
    if (!g_MainWnd) return;
    // A rectangle never stored (a first start) leaves the window where the frame put it.
    if (g_WindowRect[2] > 0 && g_WindowRect[3] > 0)
        MoveWindow(g_MainWnd, g_WindowRect[0], g_WindowRect[1], g_WindowRect[2], g_WindowRect[3], TRUE);
    App_ResetDevice();
}
