// The polygon screen's modelling dialog and POLY_NUM_DLG. The dialog reflects the editor at the
// first 50 ms tick after g_Poly3DDirty was set; what its buttons do is in edit3d/poly_dialogs.cpp.
#include "edit3d/win32/poly_dialogs.h"

#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_create_cmds.h"
#include "edit3d/poly_dialogs.h"
#include "edit3d/poly_screen.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/file_dialog.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/views.h"

namespace {

const UINT_PTR kTimer = 1;
HWND s_Dlg;

const int kPushLike[] = {1155, 1186, 1141, 1140, 1145, 1148, 1146, 1143, 1184, 81,   1152,
                         1142, 1153, 1173, 1174, 1165, 1168, 1169, 1170, 1171, 1172, 1177};
const int kChecked[] = {1141, 1142, 1140, 1145, 1148, 1153, 1440, 1441, 1442};

bool Clicked(WPARAM wParam) { return HIWORD(wParam) == BN_CLICKED; }

void Check(HWND wnd, int id, bool on) { CheckDlgButton(wnd, id, on ? BST_CHECKED : BST_UNCHECKED); }

void SetCountText(const char* text)
{
    if (s_Dlg) SetDlgItemTextA(s_Dlg, 1156, text);
}

void ActivateMain() { SetActiveWindow(g_MainWnd); }

void Record(const char* caption)
{
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, caption, sizeof g_UndoCaption);
    if (g_CurLayer >= 0 && g_CurLayer < kLayerCount) Undo_Record(&g_UndoHistories[g_CurLayer]);
}

void ColourFields(HWND wnd)
{
    for (int i = 0; i < 4; ++i) SetDlgItemInt(wnd, 1161 + i, (UINT)g_PolyColour[i], TRUE);
}

// The vertex colour with the four edits' texts.
void ApplyColourEdits(HWND wnd)
{
    char text[4][32];
    const char* fields[4];
    for (int i = 0; i < 4; ++i) {
        GetDlgItemTextA(wnd, 1161 + i, text[i], sizeof text[i]);
        fields[i] = text[i];
    }
    Poly3D_ApplyVertexColorText(fields);
}

void Refresh(HWND wnd)
{
    g_Poly3DDirty = 0;
    Panel_FlagAllDirty();
    Group3D_FillList();
    for (int id : kPushLike) Check(wnd, id, false);
    for (int id : kChecked) Check(wnd, id, Poly3D_ButtonChecked(id));
    ColourFields(wnd);
    Check(wnd, 1349, g_AutoSelect == 1);
    Check(wnd, 1350, g_App.showNormals == 1);
    Check(wnd, 1351, g_CurModel3->autoNormals == 1);
    Check(wnd, 1187, g_CurModel3->vertexColorMode == 1);
    Check(wnd, 1181, g_CurModel3->light == 1);
    Check(wnd, 1188, g_CurModel3->edge == 1);
    char counters[4][64];
    Poly3D_CounterTexts(counters);
    const int ids[4] = {1160, 1178, 1179, 1180};
    for (int i = 0; i < 4; ++i) SetDlgItemTextA(wnd, ids[i], counters[i]);
    Poly3D_ShowCounts();
}

void ChooseColour(HWND wnd)
{
    static COLORREF custom[16];
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = g_MainWnd;
    cc.lpCustColors = custom;
    cc.rgbResult = RGB(0, 0, 0);
    cc.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!ChooseColorA(&cc)) return;
    g_PolyColour[0] = GetRValue(cc.rgbResult);
    g_PolyColour[1] = GetGValue(cc.rgbResult);
    g_PolyColour[2] = GetBValue(cc.rgbResult);
    ColourFields(wnd);
    ApplyColourEdits(wnd);
    Record("カラー ( モデリング )");
}

void AddFile()
{
    const char* name = File_OpenDialog(g_MainWnd, "QVP", "読み込む QVP ファイルを選択して下さい", "");
    if (!name || !*name) return;
    char file[256];
    Str_CopyN(file, sizeof file, name, sizeof file);
    Poly3D_AddModelFile(file);
    char caption[300];
    Str_Format(caption, sizeof caption, "%s ( モデリング )", file);
    Record(caption);
}

void Command(HWND wnd, int id)
{
    if (Poly3D_Loading()) return;
    switch (id) {
    case 1155: SendMessageA(g_MainWnd, WM_COMMAND, 40023, 0); return;
    case 1186:
        SendMessageA(g_MainWnd, WM_COMMAND, 40024, 0);
        g_Poly3DDirty = 1;
        return;
    case 1152: ChooseColour(wnd); return;
    case 1159:
        ApplyColourEdits(wnd);
        Record("決定ボタン ( モデリング )");
        View_RequestRedraw();
        return;
    case 1154: AddFile(); return;
    case 1165:
    case 1168:
    case 1169:
    case 1170:
    case 1171:
    case 1172: {
        char label[64];
        if (GetDlgItemTextA(wnd, id, label, sizeof label) > 0) Poly3D_AddPrimitive(label);
        return;
    }
    default: Poly3D_DialogCommand(id); return;
    }
}

} // namespace

INT_PTR CALLBACK Poly3D_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_INITDIALOG:
        s_Dlg = wnd;
        g_Poly3DUi.setCountText = SetCountText;
        g_Poly3DUi.activateMain = ActivateMain;
        SetTimer(wnd, kTimer, 50, nullptr);
        g_Poly3DDirty = 1;
        return TRUE;
    case WM_COMMAND:
        if (Clicked(wParam)) Command(wnd, LOWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        if (s_Dlg == wnd) {
            s_Dlg = nullptr;
            g_Poly3DUi.setCountText = nullptr;
            g_Poly3DUi.activateMain = nullptr;
        }
        return FALSE;
    default:
        if (g_Poly3DDirty == 1 && g_CurModel3) Refresh(wnd);
        return FALSE;
    }
}

INT_PTR CALLBACK Poly3D_NumDlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == 1378 && Clicked(wParam) && !Poly3D_Loading()) {
            char text[3][64];
            const char* fields[3];
            for (int i = 0; i < 3; ++i) {
                GetDlgItemTextA(wnd, 1375 + i, text[i], sizeof text[i]);
                fields[i] = text[i];
            }
            Poly3D_ApplyNumbers(fields);
        }
        return TRUE;
    default: return FALSE;
    }
}
