// The view windows ("View", menu MENU_WIN) and the underlay dialog SKETCH_DLG.
#include <windows.h>

#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/file_dialog.h"
#include "shell/dlg_slot.h"
#include "shell/mode_hooks.h"
#include "shell/mode_input.h"
#include "model/gpu_services.h"
#include "shell/views.h"
#include "shell/win32/shell_win32.h"

// Timer 1 (50 ms) only makes the view current. Timer 2 renders the view again once a second: under
// Wine a presented picture is lost when the window manager maps the window after the present, or
// when another window uncovers it, and no WM_PAINT says so (Front, Top or Side stayed blank until
// clicked).
static const UINT_PTR kRepresentTimer = 2;

static void StartTimers(HWND wnd)
{
    SetTimer(wnd, 1, 50, nullptr);
    SetTimer(wnd, kRepresentTimer, 1000, nullptr);
}

INT_PTR CALLBACK View_WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    VIEW_REC* row = View_Row();
    VIEW_REC* v = nullptr;
    for (int i = 0; i < kViewsPerScreen; ++i)
        if (row[i].exists == 1 && row[i].window == wnd) {
            g_CurViewIndex = i;
            g_CurView = v = &row[i];
        }
    if (!v) {
        // The window is made before its record holds it: start its timers all the same.
        if (msg == WM_INITDIALOG) StartTimers(wnd);
        return FALSE;
    }
    g_LastViewZoom = v->zoom;
    RECT r, c;
    GetWindowRect(wnd, &r);
    GetClientRect(wnd, &c);
    v->left = r.left;
    v->top = r.top;
    v->width = r.right - r.left;
    v->height = r.bottom - r.top;
    v->clientWidth = c.right;
    v->clientHeight = c.bottom;
    int32_t lp = (int32_t)lParam;
    switch (msg) {
    case WM_INITDIALOG: StartTimers(wnd); return TRUE;
    case WM_TIMER:
        if (wParam == kRepresentTimer) v->redraw = 1;
        return TRUE;
    case WM_PAINT: {
        // The picture is only what the device presents: when the system asks for it again (the
        // window was uncovered), render the view once more instead of erasing it.
        PAINTSTRUCT ps;
        BeginPaint(wnd, &ps);
        EndPaint(wnd, &ps);
        v->redraw = 1;
        return TRUE;
    }
    case WM_ERASEBKGND:
        // The next present covers the whole client area; an erase would only blank the last one.
        SetWindowLongPtrA(wnd, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_EXITMENULOOP: View_RequestRedraw(); return TRUE;
    case WM_CLOSE:
        DestroyWindow(wnd);
        v->window = nullptr;
        v->exists = 0;
        return TRUE;
    case WM_GETMINMAXINFO:
        if (g_Lib.monitorWidth > 0) {
            MINMAXINFO* mm = (MINMAXINFO*)lParam;
            mm->ptMinTrackSize.x = 100;
            mm->ptMinTrackSize.y = 100;
            mm->ptMaxTrackSize.x = g_Lib.monitorWidth;
            mm->ptMaxTrackSize.y = g_Lib.monitorHeight;
        }
        return TRUE;
    case WM_KEYDOWN: g_Lib.keys[wParam & 0xFF] = 1; Main_KeyDown((int)wParam); return TRUE;
    case WM_KEYUP: g_Lib.keys[wParam & 0xFF] = 0; Main_KeyUp((int)wParam); return TRUE;
    case WM_MOUSEMOVE: Mode_MouseMove(lp); return TRUE;
    case WM_LBUTTONDOWN: g_Lib.mouse.held[0] = 1; SetCapture(wnd); Mode_LButtonDown(lp); return TRUE;
    case WM_LBUTTONUP: g_Lib.mouse.held[0] = 0; ReleaseCapture(); Mode_LButtonUp(lp); return TRUE;
    case WM_MBUTTONDOWN: g_Lib.mouse.held[1] = 1; SetCapture(wnd); Mode_MButtonDown(lp); return TRUE;
    case WM_MBUTTONUP: g_Lib.mouse.held[1] = 0; ReleaseCapture(); Mode_MButtonUp(lp); return TRUE;
    case WM_RBUTTONDOWN: g_Lib.mouse.held[2] = 1; SetCapture(wnd); Mode_RButtonDown(lp); return TRUE;
    case WM_RBUTTONUP: g_Lib.mouse.held[2] = 0; ReleaseCapture(); Mode_RButtonUp(lp); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 40077: View_SetType(v, VIEW_FRONT); return TRUE;
        case 40078: View_SetType(v, VIEW_TOP); return TRUE;
        case 40079: View_SetType(v, VIEW_SIDE); return TRUE;
        case 40081:
            if (!g_SketchSlot.window)
                g_SketchSlot.window = CreateDialogParamA(GetModuleHandleA(nullptr), "SKETCH_DLG", wnd, Sketch_DlgProc, 0);
            ShowWindow((HWND)g_SketchSlot.window, SW_SHOWNORMAL);
            SetActiveWindow((HWND)g_SketchSlot.window);
            return TRUE;
        case 40100: View_Fit(); return TRUE;
        default: return FALSE;
        }
    default: return FALSE;
    }
}

static const int kSketchButtons[3] = {1390, 1393, 1394};
static const int kSketchEdits[3] = {1012, 1013, 1014};

INT_PTR CALLBACK Sketch_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, 1, 50, nullptr);
        g_SketchSlot.dirty = 1;
        return TRUE;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_EXITMENULOOP: View_RequestRedraw(); break;
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        for (int k = 0; k < 3; ++k)
            if (id == kSketchButtons[k]) {
                // The dialog resets the frame timer and leaves the current directory at the file.
                const char* name = File_OpenDialog(g_MainWnd, "*", "下絵用のファイルを、選択して下さい。", g_SketchPaths[k]);
                if (name[0]) {
                    Str_CopyN(g_SketchPaths[k], sizeof g_SketchPaths[k], name);
                    Tex_LoadFile(&g_TexTable[k + 1], name);
                    g_SketchShow = 1;
                    g_SketchSlot.dirty = 1;
                }
                return TRUE;
            }
        if (id == 1391) {
            g_SketchShow = !g_SketchShow;
            View_RequestRedraw();
            return TRUE;
        }
        if (id == 1392 || id == IDCANCEL) {
            DestroyWindow(wnd);
            g_SketchSlot.window = nullptr;
            return TRUE;
        }
        return FALSE;
    }
    default: break;
    }
    if (g_SketchSlot.dirty && g_SketchSlot.window == wnd) {
        g_SketchSlot.dirty = 0;
        CheckDlgButton(wnd, 1391, g_SketchShow ? BST_CHECKED : BST_UNCHECKED);
        for (int k = 0; k < 3; ++k) SetDlgItemTextA(wnd, kSketchEdits[k], g_SketchPaths[k]);
    }
    return FALSE;
}
