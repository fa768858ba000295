// The 2D polygon screen's modelling dialog. It reflects the editor at the first 50 ms tick after
// g_Poly2DRefresh was set; what its buttons do is in edit2d/poly2d_screen.cpp.
#include "edit2d/win32/poly2d_dialog.h"

#include <cstdlib>

#include "edit2d/poly2d_screen.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_screen.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/file_dialog.h"
#include "shell/app_state.h"
#include "shell/mode_hooks.h"
#include "shell/views.h"

namespace {

const UINT_PTR kTimer = 1;
HWND s_Dlg;
RECT s_Place;   // the dialog's last left and top
const int kTools[] = {1141, 1142, 1140, 1145, 1148, 1151, 1153};

void Check(HWND wnd, int id, bool on) { CheckDlgButton(wnd, id, on ? BST_CHECKED : BST_UNCHECKED); }

void SetCountText(const char* text)
{
    if (s_Dlg) SetDlgItemTextA(s_Dlg, 1156, text);
}

bool ReadColour(int32_t rgba[4])
{
    if (!s_Dlg) return false;
    for (int i = 0; i < 4; ++i) {
        char text[32];
        GetDlgItemTextA(s_Dlg, 1161 + i, text, sizeof text);
        char* end = nullptr;
        const long v = std::strtol(text, &end, 10);
        if (end == text || *end) return false;
        rgba[i] = (int32_t)(v < -1000000 ? -1000000 : v > 1000000 ? 1000000 : v);
    }
    return true;
}

bool AskFile(char* out, int cap)
{
    const char* name = File_OpenDialog(g_MainWnd, "QVP", "読み込む QVP ファイルを選択して下さい", "");
    if (!name || !*name) return false;
    Str_CopyN(out, (size_t)cap, name, (size_t)cap);
    return true;
}

void ActivateMain() { SetActiveWindow(g_MainWnd); }

void OpenDialog()
{
    if (s_Dlg) return;
    HWND wnd = CreateDialogParamA(GetModuleHandleA(nullptr), "2D_POLY_DLG", g_MainWnd, Poly2D_DlgProc, 0);
    if (!wnd) return;
    SetWindowPos(wnd, nullptr, 0, GetSystemMetrics(SM_CYSCREEN) - 210, 740, 180, SWP_NOZORDER);
    ShowWindow(wnd, SW_SHOW);
}

void CloseDialog()
{
    if (s_Dlg) DestroyWindow(s_Dlg);
}

void ColourFields(HWND wnd)
{
    for (int i = 0; i < 4; ++i) SetDlgItemInt(wnd, 1161 + i, (UINT)g_PolyColour[i], TRUE);
}

void Refresh(HWND wnd)
{
    g_Poly2DRefresh = 0;
    View_RequestRedraw();
    for (int id : kTools) Check(wnd, id, false);
    Check(wnd, g_PolyEditState.selectionMode ? 1142 : 1141, true);
    switch (g_PolyEditState.tool) {
    case 1: Check(wnd, 1140, true); break;
    case 2: Check(wnd, 1145, true); break;
    case 3: Check(wnd, 1148, true); break;
    case 6: Check(wnd, 1153, true); break;
    case 10: Check(wnd, 1151, true); break;
    default: break;
    }
    ColourFields(wnd);
    Check(wnd, 1349, g_AutoSelect == 1);
    Check(wnd, 1350, g_App.showNormals == 1);
    const QVL::MODEL2* m = Poly2D_Model();
    if (!m) return;
    Check(wnd, 1187, m->vertexColorFlag == 1);
    Check(wnd, 1181, m->light == 1);
    char text[64];
    Str_Format(text, sizeof text, "頂点数  %5d", m->vertexCount);
    SetDlgItemTextA(wnd, 1160, text);
    Str_Format(text, sizeof text, " 色数   %5d", m->colorCount);
    SetDlgItemTextA(wnd, 1179, text);
    Str_Format(text, sizeof text, "ＵＶ数  %5d", m->uvCount);
    SetDlgItemTextA(wnd, 1180, text);
    Poly2D_ShowCounts();
}

void ChooseColour(HWND wnd)
{
    static COLORREF custom[16];
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = g_MainWnd;
    cc.lpCustColors = custom;
    cc.Flags = CC_FULLOPEN;
    if (!ChooseColorA(&cc)) return;
    g_PolyColour[0] = GetRValue(cc.rgbResult);
    g_PolyColour[1] = GetGValue(cc.rgbResult);
    g_PolyColour[2] = GetBValue(cc.rgbResult);
    ColourFields(wnd);
    Poly2D_ApplyColour();
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, "カラー ( モデリング )", sizeof g_UndoCaption);
}

void Command(HWND wnd, int id)
{
    switch (id) {
    case 1155: SendMessageA(g_MainWnd, WM_COMMAND, 40023, 0); return;
    case 1186: SendMessageA(g_MainWnd, WM_COMMAND, 40024, 0); return;
    case 1152:
        if (Poly2D_Model()) ChooseColour(wnd);
        return;
    default: Poly2D_Command(id); return;
    }
}

} // namespace

INT_PTR CALLBACK Poly2D_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    GetWindowRect(wnd, &s_Place);
    switch (msg) {
    case WM_INITDIALOG:
        s_Dlg = wnd;
        SetTimer(wnd, kTimer, 50, nullptr);
        g_Poly2DRefresh = 1;
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) Command(wnd, LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        if (g_Poly2DRefresh) Refresh(wnd);
        return TRUE;
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        if (s_Dlg == wnd) s_Dlg = nullptr;
        return FALSE;
    default: return FALSE;
    }
}

void Poly2D_InstallDialog()
{
    g_Poly2DUi = POLY2D_UI{SetCountText, ReadColour, AskFile, ActivateMain, OpenDialog, CloseDialog};
}

namespace {
// The screen's side of the dialog, set before any screen is entered.
struct Wiring {
    Wiring() { Poly2D_InstallDialog(); }
} s_Wiring;
} // namespace
