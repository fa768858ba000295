// 2D_GROUP_DLG: the controls of the 2D group dialog over the commands of edit2d/group2d.h.
#include "edit2d/win32/group2d_dialog.h"

#include <commdlg.h>

#include <cstdio>

#include "edit2d/group2d.h"
#include "edit2d/model2d_hooks.h"
#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "shell/current.h"
#include "shell/list_controls.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"

namespace {

const UINT_PTR kTimer = 1;
COLORREF s_CustomColours[16];

QVL::GROUP2* Current()
{
    QVL::MODEL2* m = Model2_Get(g_CurModel2Id);
    if (!m || g_CurGroup < 0 || g_CurGroup >= QVL::kModel2Groups) return nullptr;
    return &m->groups[g_CurGroup];
}

void SetInt(HWND wnd, int id, int v)
{
    char text[32];
    snprintf(text, sizeof text, "%d", v);
    SetDlgItemTextA(wnd, id, text);
}

void ShowColour(HWND wnd, const QVL::GROUP2& g)
{
    SetInt(wnd, 1382, (int)g.r);
    SetInt(wnd, 1383, (int)g.g);
    SetInt(wnd, 1384, (int)g.b);
    SetInt(wnd, 1385, (int)g.a);
}

void Refresh(HWND wnd)
{
    QVL::GROUP2* g = Current();
    if (!g) return;
    g_PanelDirtyGroups = 1;
    if (g_Group2DDlg.textureCombo) ListCtl_Select(g_Group2DDlg.textureCombo, g->texture);
    if (g_Group2DDlg.shadingCombo) ListCtl_Select(g_Group2DDlg.shadingCombo, g->shading);
    char name[256];
    snprintf(name, sizeof name, "%.255s", g->name);
    SetDlgItemTextA(wnd, 1067, name);
    ShowColour(wnd, *g);
}

void ChooseColour(HWND wnd)
{
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = g_MainWnd;
    cc.rgbResult = RGB(0, 0, 0);
    cc.lpCustColors = s_CustomColours;
    cc.Flags = CC_FULLOPEN;
    const BOOL ok = ChooseColorA(&cc);
    Lib_ResetFrameTimer();
    if (!ok) return;
    Group2D_SetChosenColour(cc.rgbResult);
    if (QVL::GROUP2* g = Current()) ShowColour(wnd, *g);
}

void Command(HWND wnd, int id)
{
    if (g_Group2DDlg.list) Group2D_TakeListRow(ListCtl_CurSel(g_Group2DDlg.list));
    switch (id) {
    case 1065: {
        char name[256], colour[4][32];
        GetDlgItemTextA(wnd, 1067, name, sizeof name);
        for (int i = 0; i < 4; ++i) GetDlgItemTextA(wnd, 1382 + i, colour[i], sizeof colour[i]);
        const char* const texts[4] = {colour[0], colour[1], colour[2], colour[3]};
        const int32_t tex = g_Group2DDlg.textureCombo ? ListCtl_CurSel(g_Group2DDlg.textureCombo) : -1;
        const int32_t shading = g_Group2DDlg.shadingCombo ? ListCtl_CurSel(g_Group2DDlg.shadingCombo) : -1;
        Group2D_Apply(name, tex, shading, texts);
        break;
    }
    case 1066:
        if (g_Group2DDlg.list) DestroyWindow((HWND)g_Group2DDlg.list);
        g_Group2DDlg.list = g_Group2DDlg.textureCombo = g_Group2DDlg.shadingCombo = nullptr;
        g_Group2DDlg.dialog = nullptr;
        DestroyWindow(wnd);
        break;
    case 1381: ChooseColour(wnd); break;
    case 1392: Group2D_AddCommand(); break;
    case 1068: Group2D_MirrorCommand(); break;
    default: break;
    }
}

} // namespace

INT_PTR CALLBACK Group2D_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    RECT r;
    if (GetWindowRect(wnd, &r)) {
        g_Group2DDlg.left = r.left;
        g_Group2DDlg.top = r.top;
    }
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        g_Group2DDlg.dirty = 1;
        return TRUE;
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    case WM_COMMAND:
        Command(wnd, LOWORD(wParam));
        return TRUE;
    default:
        if (g_Group2DDlg.dirty) {
            g_Group2DDlg.dirty = 0;
            Refresh(wnd);
        }
        return FALSE;
    }
}
