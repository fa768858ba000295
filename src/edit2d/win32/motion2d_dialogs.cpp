// The 2D motion screen's dialogs: key values and commands (2D_MOTION_DLG), the painted key panel
// (MOTION_KEY_DLG) and the motion list (2D_MOTION_LIST_DLG). They run on 50 ms timers and refill
// their controls at the first tick after their refresh flag was set.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "edit2d/model2d_hooks.h"
#include "edit2d/motion2d.h"
#include "edit2d/motion2d_dialogs.h"
#include "edit2d/motion2d_panel.h"
#include "edit3d/motion_screen.h"
#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/input_state.h"
#include "shell/list_controls.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/win32/panel_host.h"

namespace {

const UINT_PTR kTimer = 1;

// ---- 2D_MOTION_DLG -----------------------------------------------------------------------------

QVL::KEY2* CurrentKey()
{
    Motion2D_SyncCurrentKey();
    if (!g_CurKeyList2D || g_CurKeyList2D->empty()) return nullptr;
    const int32_t i = g_CurKeyIndex < 0 || (size_t)g_CurKeyIndex >= g_CurKeyList2D->size() ? 0 : g_CurKeyIndex;
    return &(*g_CurKeyList2D)[(size_t)i];
}

float ReadFloat(HWND wnd, int id)
{
    char text[64];
    GetDlgItemTextA(wnd, id, text, sizeof text);
    return (float)strtod(text, nullptr);
}

void RefreshKeysDlg(HWND wnd)
{
    CheckDlgButton(wnd, 1122, g_DragTool == 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(wnd, 1123, g_DragTool == 1 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(wnd, 1012, g_DragTool == 2 ? BST_CHECKED : BST_UNCHECKED);
    const QVL::KEY2* k = CurrentKey();
    if (!k) return;
    const int ids[5] = {1290, 1299, 1295, 1296, 1297};
    const float v[5] = {k->x, k->y, k->rotation, k->scaleX, k->scaleY};
    char text[64];
    for (int i = 0; i < 5; ++i) {
        snprintf(text, sizeof text, "%3.3f", v[i]);
        SetDlgItemTextA(wnd, ids[i], text);
    }
}

void KeysCommand(HWND wnd, int id)
{
    switch (id) {
    case 1122: case 1123: case 1012:
        g_DragTool = id == 1122 ? 0 : id == 1123 ? 1 : 2;
        g_Motion2DDlgDirty = 1;
        View_RequestRedraw();
        break;
    case 1238: Motion2D_InsertKey(); Motion2D_Refresh(); break;
    case 1239: Motion2D_CopyKey(); break;
    case 1240: Motion2D_CutKey(); Motion2D_Refresh(); break;
    case 1241: Motion2D_PasteKey(); Motion2D_Refresh(); break;
    case 1242: Motion2D_DeleteKey(); Motion2D_Refresh(); break;
    case 1255: Motion2D_Play(); break;
    case 1256: Motion2D_Stop(); break;
    case 1289:
        if (QVL::KEY2* k = CurrentKey()) {
            k->x = ReadFloat(wnd, 1290);
            k->y = ReadFloat(wnd, 1299);
            k->rotation = ReadFloat(wnd, 1295);
            k->scaleX = ReadFloat(wnd, 1296);
            k->scaleY = ReadFloat(wnd, 1297);
        }
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK KeysProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        g_Motion2DDlgDirty = 1;
        return TRUE;
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) KeysCommand(wnd, LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        if (g_Motion2DDlgDirty) {
            g_Motion2DDlgDirty = 0;
            RefreshKeysDlg(wnd);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

// ---- MOTION_KEY_DLG ----------------------------------------------------------------------------

DLG_SLOT s_KeyHost;

void StoreKeyRect(HWND wnd) { PanelHost_Store(wnd, &s_KeyHost, PANEL_HOST_MOTION2_KEYS); }

INT_PTR CALLBACK PanelProc(HWND wnd, UINT msg, WPARAM, LPARAM lParam)
{
    StoreKeyRect(wnd);
    Mode_UpdateCurrent();
    MOTION2D_PANEL& p = g_Motion2DPanel;
    switch (msg) {
    case WM_GETMINMAXINFO: {
        MINMAXINFO* mm = (MINMAXINFO*)lParam;
        mm->ptMinTrackSize.x = mm->ptMinTrackSize.y = 100;
        mm->ptMaxTrackSize.x = g_Lib.monitorWidth > 0 ? g_Lib.monitorWidth : 1600;
        mm->ptMaxTrackSize.y = g_Lib.monitorHeight > 0 ? g_Lib.monitorHeight : 1024;
        return TRUE;
    }
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        g_Motion2DKeyDlgDirty = 1;
        return TRUE;
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        if (g_PanelHosts[PANEL_HOST_MOTION2_KEYS] == &s_KeyHost) g_PanelHosts[PANEL_HOST_MOTION2_KEYS] = nullptr;
        s_KeyHost.window = nullptr;
        return FALSE;
    case WM_MOUSEMOVE:
        Motion2D_PanelMouseMove(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_LBUTTONDOWN:
        SetCapture(wnd);
        Motion2D_PanelLButtonDown(LOWORD(lParam));
        return TRUE;
    case WM_LBUTTONUP:
        ReleaseCapture();
        Motion2D_PanelLButtonUp();
        return TRUE;
    case WM_LBUTTONDBLCLK:
        Motion2D_PanelDoubleClick();
        return TRUE;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP:
        p.middle = msg == WM_MBUTTONDOWN;
        View_RequestRedraw();
        return TRUE;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP:
        p.right = msg == WM_RBUTTONDOWN;
        View_RequestRedraw();
        return TRUE;
    default:
        if (g_Motion2DKeyDlgDirty) {
            g_Motion2DKeyDlgDirty = 0;
            g_PanelDirtyMotion2Keys = 1;
        }
        return FALSE;
    }
}

// ---- 2D_MOTION_LIST_DLG ------------------------------------------------------------------------

void ListCommand(HWND wnd, int id)
{
    HWND list = (HWND)g_Motion2DWindows.list;
    // LB_ERR (-1) is not a motion.
    if (list) Motion2D_ListTakeRow((int32_t)SendMessageA(list, LB_GETCARETINDEX, 0, 0));
    char name[256], length[32];
    GetDlgItemTextA(wnd, 1010, name, sizeof name);
    GetDlgItemTextA(wnd, 1048, length, sizeof length);
    if (id == 1054) Motion2D_ListApply(name, length);
    if (id == 1056) Motion2D_ListAdd(name, length);
}

INT_PTR CALLBACK ListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        g_Motion2DListDirty = 1;
        return TRUE;
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    case WM_COMMAND:
        ListCommand(wnd, LOWORD(wParam));
        return TRUE;
    case WM_TIMER: {
        QVL::MODEL2* m = Model2_Get(g_CurModel2Id);
        if (!g_Motion2DListDirty || !m || m->currentMotion < 0 || m->currentMotion >= QVL::kModel2Motions) return TRUE;
        g_Motion2DListDirty = 0;
        char text[300];
        snprintf(text, sizeof text, "No.%3d", (int)m->currentMotion);
        SetDlgItemTextA(wnd, 1055, text);
        snprintf(text, sizeof text, "%.255s", m->motions[m->currentMotion].name);
        SetDlgItemTextA(wnd, 1010, text);
        snprintf(text, sizeof text, "%d", (int)m->motions[m->currentMotion].length);
        SetDlgItemTextA(wnd, 1048, text);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace

void* Motion2DDlg_Create(int which, int left, int top, int width, int height)
{
    const char* name = nullptr;
    DLGPROC proc = nullptr;
    switch (which) {
    case MOTION2D_DLG_KEYS: name = "2D_MOTION_DLG"; proc = KeysProc; break;
    case MOTION2D_DLG_PANEL: name = "MOTION_KEY_DLG"; proc = PanelProc; break;
    case MOTION2D_DLG_LIST: name = "2D_MOTION_LIST_DLG"; proc = ListProc; break;
    default: return nullptr;
    }
    HWND wnd = CreateDialogParamA(GetModuleHandleA(nullptr), name, g_MainWnd, proc, 0);
    if (wnd) {
        SetWindowPos(wnd, nullptr, left, top, width, height, SWP_NOZORDER);
        ShowWindow(wnd, SW_SHOW);
    }
    return wnd;
}

void* Motion2DDlg_CreateList(void* listDialog)
{
    return CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 0, 105, 222,
                           265, (HWND)listDialog, (HMENU)1, GetModuleHandleA(nullptr), nullptr);
}
