// The 2D editor hub's modeless dialogs: the screen switcher and the 2D bone list. Both run on 50 ms
// timers and refill at the first tick after their flag was set. What their controls do is in
// edit2d/model2d_hooks.cpp and edit2d/bone2d.cpp.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "edit2d/bone2d.h"
#include "edit2d/model2d_dialogs.h"
#include "edit2d/win32/group2d_dialog.h"
#include "edit2d/model2d_hooks.h"
#include "edit3d/bone_screen.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "shell/current.h"
#include "shell/hierarchy.h"
#include "shell/mode_hooks.h"

namespace {

const UINT_PTR kTimer = 1;
const int kTreeId = 2;
int32_t s_ScreensDirty;         // MODEL_2D_DLG checks the current screen's button
int s_ScreensLeft, s_ScreensTop;
int s_BonesLeft, s_BonesTop;
COLORREF s_CustomColours[16];   // the colour chooser's custom colours, kept for the program's life

bool Clicked(WPARAM wParam) { return HIWORD(wParam) == BN_CLICKED; }

void KeepPosition(HWND wnd, int* left, int* top)
{
    RECT r;
    if (GetWindowRect(wnd, &r)) *left = r.left, *top = r.top;
}

INT_PTR CALLBACK ScreensProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    KeepPosition(wnd, &s_ScreensLeft, &s_ScreensTop);
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        s_ScreensDirty = 1;
        return TRUE;
    case WM_COMMAND: {
        const int screen = Model2D_ScreenOfButton(LOWORD(wParam));
        // The switch ends this dialog and makes a new one; the flag reaches the new one.
        if (screen >= 0 && Clicked(wParam)) {
            s_ScreensDirty = 1;
            Model2D_SwitchScreen(screen);
        }
        return TRUE;
    }
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    case WM_TIMER:
        if (s_ScreensDirty) {
            s_ScreensDirty = 0;
            for (int id = 1478; id <= 1484; ++id)
                CheckDlgButton(wnd, id, Model2D_ScreenOfButton(id) == g_Screen ? BST_CHECKED : BST_UNCHECKED);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

bool HasBone()
{
    return g_CurModel2 && g_CurBone >= 0 && g_CurBone < g_CurModel2->boneCount && g_CurBone < QVL::kModel2Bones;
}

void SelectOnly(HWND wnd, int row)
{
    HWND list = GetDlgItem(wnd, 1);
    if (!list) return;
    SendMessageA(list, LB_SETSEL, FALSE, (LPARAM)-1);
    if (row < 0) return;
    SendMessageA(list, LB_SETSEL, TRUE, (LPARAM)row);
    // The commands take the caret row as the current bone: it must follow the selection.
    SendMessageA(list, LB_SETCARETINDEX, (WPARAM)row, FALSE);
}

// The drag moves the bones selected in the list: row i is bone i.
void CopySelection(HWND wnd)
{
    HWND list = GetDlgItem(wnd, 1);
    const LRESULT rows = list ? SendMessageA(list, LB_GETCOUNT, 0, 0) : 0;
    for (int i = 0; i < QVL::kModel2Bones; ++i)
        g_BoneSel2D[i] = i < rows && SendMessageA(list, LB_GETSEL, (WPARAM)i, 0) > 0 ? 1 : 0;
}

void Refresh(HWND wnd)
{
    char text[300];
    Str_Format(text, sizeof text, "ボーンNo.%d", g_CurBone);
    SetDlgItemTextA(wnd, 1097, text);
    if (!HasBone()) return;
    const QVL::BONE2& b = g_CurModel2->bones[g_CurBone];
    SelectOnly(wnd, g_CurBone);
    Str_Format(text, sizeof text, "%3.3f", (double)b.restX);
    SetDlgItemTextA(wnd, 1108, text);
    Str_Format(text, sizeof text, "%3.3f", (double)b.restY);
    SetDlgItemTextA(wnd, 1109, text);
    SetDlgItemTextA(wnd, 1140, b.name);
}

void Apply(HWND wnd)
{
    char name[256] = {0};
    GetDlgItemTextA(wnd, 1140, name, sizeof name);
    HWND combo = GetDlgItem(wnd, 1439);
    const int32_t row = combo ? (int32_t)SendMessageA(combo, CB_GETCURSEL, 0, 0) : -1;
    Bone2D_ApplyDialog(name, row);
}

void ChooseTint(HWND wnd)
{
    if (!g_CurModel2) return;
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = wnd;
    cc.lpCustColors = s_CustomColours;
    cc.Flags = CC_FULLOPEN;
    if (ChooseColorA(&cc)) Bone2D_SetTint(GetRValue(cc.rgbResult), GetGValue(cc.rgbResult), GetBValue(cc.rgbResult));
}

void TreeSelection(HWND wnd, const NMTREEVIEWA* tv)
{
    char text[41] = {0};
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = tv->itemNew.hItem;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!item.hItem || !SendMessageA(tv->hdr.hwndFrom, TVM_GETITEMA, 0, (LPARAM)&item)) return;
    SelectOnly(wnd, -1);
    Bone2D_TakeTreeLabel(text);
}

INT_PTR CALLBACK BoneListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    KeepPosition(wnd, &s_BonesLeft, &s_BonesTop);
    Mode_UpdateCurrent();
    CopySelection(wnd);
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        g_BoneListDirty = 1;
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        // The edits' change notifications, sent while the refresh writes them, take nothing.
        const bool fromList = id == 1 && HIWORD(wParam) == LBN_SELCHANGE;
        if (fromList || Clicked(wParam)) {
            HWND list = GetDlgItem(wnd, 1);
            const LRESULT caret = list ? SendMessageA(list, LB_GETCARETINDEX, 0, 0) : LB_ERR;
            Bone2D_TakeListRow((int32_t)caret);
        }
        if (!Clicked(wParam) || fromList) return TRUE;
        switch (id) {
        case 1117: Apply(wnd); break;
        case 1135: ChooseTint(wnd); g_BoneListDirty = 1; break;
        case 40030: Bone2D_AddBone(); break;
        default: break;
        }
        return TRUE;
    }
    case WM_NOTIFY: {
        const NMHDR* h = (const NMHDR*)lParam;
        if (h && h->idFrom == (UINT_PTR)kTreeId && h->code == TVN_SELCHANGEDA)
            TreeSelection(wnd, (const NMTREEVIEWA*)lParam);
        return TRUE;
    }
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        if (g_BoneTreeCtl == GetDlgItem(wnd, kTreeId)) g_BoneTreeCtl = nullptr;
        if (g_BoneListCtl2D == GetDlgItem(wnd, 1)) g_BoneListCtl2D = nullptr;
        return FALSE;
    case WM_TIMER:
        if (g_BoneListDirty == 1) {
            g_BoneListDirty = 0;
            Refresh(wnd);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void* Model2DDlg_Create(int which)
{
    const char* name = nullptr;
    DLGPROC proc = nullptr;
    switch (which) {
    case MODEL2D_DLG_SCREENS: name = "MODEL_2D_DLG"; proc = ScreensProc; break;
    case MODEL2D_DLG_BONE_LIST: name = "BONE_LIST_DLG"; proc = BoneListProc; break;
    case MODEL2D_DLG_GROUP: name = "2D_GROUP_DLG"; proc = Group2D_DlgProc; break;
    default: return nullptr;
    }
    return CreateDialogParamA(GetModuleHandleA(nullptr), name, g_MainWnd, proc, 0);
}

void Model2DDlg_MakeBoneControls(void* dialog)
{
    HWND wnd = (HWND)dialog;
    if (!wnd) return;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (!GetDlgItem(wnd, 1))
        CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_EXTENDEDSEL | LBS_NOTIFY |
                            LBS_NOINTEGRALHEIGHT,
                        0, 49, 211, 360, wnd, (HMENU)(INT_PTR)1, inst, nullptr);
    if (!GetDlgItem(wnd, kTreeId))
        CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                        WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                            TVS_SHOWSELALWAYS,
                        211, 49, 138, 360, wnd, (HMENU)(INT_PTR)kTreeId, inst, nullptr);
    const WPARAM font = (WPARAM)SendMessageA(wnd, WM_GETFONT, 0, 0);
    for (int id : {kTreeId, 1})
        if (HWND c = GetDlgItem(wnd, id)) SendMessageA(c, WM_SETFONT, font, FALSE);
    g_BoneListCtl2D = GetDlgItem(wnd, 1);
    g_BoneTreeCtl = GetDlgItem(wnd, kTreeId);
}

void* Model2DDlg_MakeGroupList(void* dialog)
{
    HWND wnd = (HWND)dialog;
    if (!wnd) return nullptr;
    if (!GetDlgItem(wnd, 1))
        CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_NOTIFY,
                        54, 0, 200, 272, wnd, (HMENU)(INT_PTR)1, GetModuleHandleA(nullptr), nullptr);
    return GetDlgItem(wnd, 1);
}
