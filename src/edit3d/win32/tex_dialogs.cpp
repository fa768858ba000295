// The texture screen's windows: they hand their commands, clicks and drags to edit3d/tex_screen.cpp
// and show its state on their 50 ms timers.
#include "edit3d/win32/tex_dialogs.h"

#include <cstdio>

#include "edit3d/tex_screen.h"
#include "model/uv_map.h"
#include "shell/current.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"

namespace {

const UINT_PTR kTimer = 1;

const struct {
    int id, mapping;
} kMappingButtons[] = {{1045, UVMAP_FRONT}, {1043, UVMAP_TOP},       {1042, UVMAP_SIDE}, {1047, UVMAP_CYLINDER},
                       {1056, UVMAP_SPHERE}, {1057, UVMAP_EACH_FACE}, {1046, UVMAP_FREE}};
const struct {
    int id, tool;
} kToolButtons[] = {{1055, UV_TOOL_SELECT}, {1052, UV_TOOL_MOVE}, {1053, UV_TOOL_ROTATE}, {1054, UV_TOOL_SCALE}};

void SetTextF(HWND wnd, int id, const char* format, double v)
{
    char text[64];
    std::snprintf(text, sizeof text, format, v);
    SetDlgItemTextA(wnd, id, text);
}

void RefreshDialog(HWND wnd)
{
    View_RequestRedraw();
    Mode_UpdateCurrent();
    const QVL::MODEL3* m = g_CurModel3;
    const QVL::GROUP3* g = m && g_CurGroup >= 0 && (size_t)g_CurGroup < m->groups.size() ? &m->groups[(size_t)g_CurGroup] : nullptr;
    for (const auto& b : kMappingButtons)
        CheckDlgButton(wnd, b.id, g && g->uvMapping == b.mapping ? BST_CHECKED : BST_UNCHECKED);
    for (const auto& b : kToolButtons) CheckDlgButton(wnd, b.id, g_UvTool == b.tool ? BST_CHECKED : BST_UNCHECKED);
    SetTextF(wnd, 1044, "X : %3.3f", g ? g->uvOffset[0] : 0.0);
    SetTextF(wnd, 1049, "Y : %3.3f", g ? g->uvOffset[1] : 0.0);
    SetTextF(wnd, 1050, "X : %3.3f", g ? g->uvScale[0] : 0.0);
    SetTextF(wnd, 1051, "Y : %3.3f", g ? g->uvScale[1] : 0.0);
    CheckDlgButton(wnd, 1059, g_Tex3D.snap ? BST_CHECKED : BST_UNCHECKED);
    char step[16];
    std::snprintf(step, sizeof step, "%d", g_Tex3D.gridStep);
    char shown[16] = "";
    GetDlgItemTextA(wnd, 1380, shown, sizeof shown);
    if (lstrcmpA(step, shown) != 0) SetDlgItemTextA(wnd, 1380, step);
}

} // namespace

INT_PTR CALLBACK Tex3D_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    RECT r;
    if (GetWindowRect(wnd, &r)) {
        g_Tex3D.dlgRect[0] = r.left;
        g_Tex3D.dlgRect[1] = r.top;
        g_Tex3D.dlgRect[2] = r.right - r.left;
        g_Tex3D.dlgRect[3] = r.bottom - r.top;
    }
    switch (msg) {
    case WM_INITDIALOG:
        // One row is picked at a time: the list's caret is the current texture.
        CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 35, 200,
                        290, wnd, (HMENU)(INT_PTR)1, GetModuleHandleA(nullptr), nullptr);
        SendDlgItemMessageA(wnd, 1, WM_SETFONT, SendMessageA(wnd, WM_GETFONT, 0, 0), 0);
        SetTimer(wnd, kTimer, 50, nullptr);
        g_Tex3D.dirty = 1;
        return TRUE;
    case WM_COMMAND: {
        const int caret = (int)SendDlgItemMessageA(wnd, 1, LB_GETCARETINDEX, 0, 0);
        char grid[32] = "";
        const bool gridOn = IsWindowEnabled(GetDlgItem(wnd, 1380)) != FALSE;
        if (gridOn) GetDlgItemTextA(wnd, 1380, grid, sizeof grid);
        Tex3D_DialogCommand(LOWORD(wParam), caret == LB_ERR ? -1 : caret, gridOn ? grid : nullptr);
        return TRUE;
    }
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    case WM_TIMER:
        if (g_Tex3D.dirty) {
            g_Tex3D.dirty = 0;
            RefreshDialog(wnd);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK Tex3D_ImageDlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        g_PanelDirtyTexture = 1;
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetCapture(wnd);
        Tex3D_ImageButton(msg == WM_LBUTTONDOWN ? TEX_BUTTON_LEFT : msg == WM_RBUTTONDOWN ? TEX_BUTTON_RIGHT : TEX_BUTTON_MIDDLE,
                          true, x, y);
        return TRUE;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        ReleaseCapture();
        Tex3D_ImageButton(msg == WM_LBUTTONUP ? TEX_BUTTON_LEFT : msg == WM_RBUTTONUP ? TEX_BUTTON_RIGHT : TEX_BUTTON_MIDDLE,
                          false, x, y);
        return TRUE;
    case WM_MOUSEMOVE:
        Tex3D_ImageMouseMove(x, y);
        return TRUE;
    case WM_KEYUP:
        Tex3D_KeyUp((int)wParam);
        return TRUE;
    case WM_PAINT:
        // The repaint pass copies the picture in; an uncovered window asks for it again.
        g_PanelDirtyTexture = 1;
        return FALSE;
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    default:
        return FALSE;
    }
}
