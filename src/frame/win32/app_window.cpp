// The frame's window procedure: every main-window message goes to the shell first, then here.
#include <windows.h>
#include <vfw.h>

#include "frame/d3d_values.h"
#include "frame/lib.h"
#include "frame/timer.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/frame_hooks.h"
#include "frame/win32/media.h"

using namespace QVL;

LRESULT CALLBACK App_WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (g_FrameHooks.messageHook) g_FrameHooks.messageHook(wnd, msg, wp, lp);
    return App_MsgProc(wnd, msg, wp, lp);
}

static void StoreMouse(LPARAM lp, int32_t* x, int32_t* y)
{
    *x = Frame_MouseCoord((uint32_t)LOWORD(lp));
    *y = Frame_MouseCoord((uint32_t)HIWORD(lp));
}

static void FrameCommand(HWND wnd, WORD id)
{
    switch (id) {
    case IDM_CHANGEDEVICE:
        App_Pause(true);
        App_UserSelectNewDevice();
        App_Pause(false);
        break;
    case IDM_TOGGLEFULLSCREEN:
        App_Pause(true);
        if (FAILED(App_ToggleFullscreen())) App_DisplayErrorMsg(APPERR_RESETFAILED, 1);
        App_Pause(false);
        break;
    case IDM_TOGGLESTART:
        g_Frame.frameMoving = !g_Frame.frameMoving;
        App_Timer(g_Frame.frameMoving ? TIMER_START : TIMER_STOP);
        break;
    case IDM_SINGLESTEP:
        App_Timer(g_Frame.frameMoving ? TIMER_STOP : TIMER_ADVANCE);
        g_Frame.frameMoving = false;
        g_Frame.singleStep = true;
        break;
    case IDM_EXIT:
        SendMessageA(wnd, WM_CLOSE, 0, 0);
        break;
    }
}

LRESULT App_MsgProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SIZE: {
        RECT r;
        GetWindowRect(wnd, &r);
        int w = r.right - r.left;
        int h = Frame_AspectHeight(w, g_Lib.layoutFlag, App_GetOsClass());
        g_WindowBounds.left = r.left;
        g_WindowBounds.top = r.top;
        g_WindowBounds.right = r.left + w;
        g_WindowBounds.bottom = r.top + h;
        MoveWindow(wnd, r.left, r.top, w, h, TRUE);
        if (wp != SIZE_MINIMIZED) {
            App_ResetDevice();
            WindowSize();
        }
        break;
    }
    case WM_ACTIVATE:
        Lib_ResetFrameTimer();
        break;
    case WM_PAINT:
        if (g_Device && !g_Frame.active && g_Frame.windowed && g_Frame.objectsInitialised && g_Frame.objectsRestored)
            App_PaintFrame();
        break;
    case WM_CLOSE: {
        App_Cleanup();
        App_ReleaseDirect3D();
        Lib_ReleaseFrameFont();
        HMENU menu = GetMenu(wnd);
        if (menu) DestroyMenu(menu);
        DestroyWindow(wnd);
        PostQuitMessage(0);
        g_MainWnd = nullptr;
        return 0;
    }
    case WM_SETCURSOR:
        if (g_Frame.active && !g_Frame.windowed) {
            SetCursor(nullptr);
            return TRUE;
        }
        break;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize.x = 100;
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize.y = 100;
        break;
    case WM_NCHITTEST:
        if (!g_Frame.windowed) return HTCLIENT;
        break;
    case WM_KEYDOWN:
        g_Lib.keys[wp & 0xFF] = 1;
        break;
    case WM_KEYUP:
        g_Lib.keys[wp & 0xFF] = 0;
        break;
    case WM_COMMAND:
        FrameCommand(wnd, LOWORD(wp));
        break;
    case WM_SYSCOMMAND:
        if (!g_Frame.windowed) {
            switch (wp & 0xFFF0) {
            case SC_SIZE: case SC_MOVE: case SC_MAXIMIZE: case SC_KEYMENU: case SC_MONITORPOWER:
                return 1;
            }
        }
        break;
    case WM_MOUSEMOVE:
        StoreMouse(lp, &g_Lib.mouse.x, &g_Lib.mouse.y);
        if (g_Frame.active && g_Device) {
            POINT p;
            GetCursorPos(&p);
            if (!g_Frame.windowed) ScreenToClient(wnd, &p);
            g_Device->SetCursorPosition(p.x, p.y, 0);
        }
        break;
    case WM_LBUTTONDOWN:
        g_Lib.mouse.held[0] = 1;
        SetCapture(wnd);
        StoreMouse(lp, &g_Lib.mouse.leftDownX, &g_Lib.mouse.leftDownY);
        break;
    case WM_MBUTTONDOWN:
        g_Lib.mouse.held[1] = 1;
        SetCapture(wnd);
        StoreMouse(lp, &g_Lib.mouse.middleDownX, &g_Lib.mouse.middleDownY);
        break;
    case WM_RBUTTONDOWN:
        g_Lib.mouse.held[2] = 1;
        SetCapture(wnd);
        StoreMouse(lp, &g_Lib.mouse.rightDownX, &g_Lib.mouse.rightDownY);
        break;
    case WM_LBUTTONUP:
        g_Lib.mouse.held[0] = 0;
        ReleaseCapture();
        StoreMouse(lp, &g_Lib.mouse.leftUpX, &g_Lib.mouse.leftUpY);
        break;
    case WM_MBUTTONUP:
        g_Lib.mouse.held[1] = 0;
        ReleaseCapture();
        StoreMouse(lp, &g_Lib.mouse.middleUpX, &g_Lib.mouse.middleUpY);
        break;
    case WM_RBUTTONUP:
        g_Lib.mouse.held[2] = 0;
        ReleaseCapture();
        StoreMouse(lp, &g_Lib.mouse.rightUpX, &g_Lib.mouse.rightUpY);
        break;
    case WM_ENTERMENULOOP:
        App_Pause(true);
        break;
    case WM_EXITMENULOOP:
        App_Pause(false);
        break;
    case WM_POWERBROADCAST:
        if (wp == PBT_APMQUERYSUSPEND || wp == PBT_APMRESUMESUSPEND) return TRUE;
        break;
    case MCIWNDM_NOTIFYMODE:
        if ((HWND)wp == Media_GetWindow() && Media_GetWindow() && lp == MCI_MODE_STOP) Media_OnStopped();
        break;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}
