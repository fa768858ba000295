// BONE_LIST_DLG: the current bone's number, rest offset, name and parent, the bone list box and
// tree the dialog makes inside itself, and the add, delete and colour buttons. It refills its
// controls at the first 50 ms tick after g_BoneListDirty was set. What the buttons do is in
// edit3d/bone_screen.cpp.
#include "edit3d/win32/bone_dialogs.h"

#include <commctrl.h>

#include <cstdlib>

#include "edit3d/bone_screen.h"
#include "edit3d/model3d_hooks.h"
#include "frame/text.h"
#include "shell/current.h"
#include "shell/hierarchy.h"
#include "shell/mode_hooks.h"

namespace {

const UINT_PTR kTimer = 1;
const int kTreeId = 2;
int s_Left, s_Top;               // the dialog's last position on screen
COLORREF s_CustomColours[16];    // the colour chooser's custom colours, kept for the program's life

bool Clicked(WPARAM wParam) { return HIWORD(wParam) == BN_CLICKED; }

bool HasBone()
{
    return g_CurModel3 && g_CurBone >= 0 && g_CurBone < g_CurModel3->boneCount && g_CurBone < QVL::kModel3Bones;
}

void MakeListControls(HWND wnd)
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (!GetDlgItem(wnd, kTreeId))
        CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                        WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                            TVS_SHOWSELALWAYS,
                        0, 49, 168, 360, wnd, (HMENU)(INT_PTR)kTreeId, inst, nullptr);
    if (!GetDlgItem(wnd, 1))
        CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_EXTENDEDSEL | LBS_NOTIFY |
                            LBS_NOINTEGRALHEIGHT,
                        169, 49, 180, 360, wnd, (HMENU)(INT_PTR)1, inst, nullptr);
    // The dialog's own font, as its template's controls have.
    const WPARAM font = (WPARAM)SendMessageA(wnd, WM_GETFONT, 0, 0);
    for (int id : {kTreeId, 1})
        if (HWND c = GetDlgItem(wnd, id)) SendMessageA(c, WM_SETFONT, font, FALSE);
    g_BoneTreeCtl = GetDlgItem(wnd, kTreeId);
    List_FillBoneTree3D();
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

void Refresh(HWND wnd)
{
    char text[300];
    Bone3D_NumberText(text, sizeof text);
    SetDlgItemTextA(wnd, 1097, text);
    if (!HasBone()) return;
    const QVL::BONE3& b = g_CurModel3->bones[g_CurBone];
    SelectOnly(wnd, g_CurBone);
    CheckDlgButton(wnd, 76, g_BoneChildrenFollow ? BST_CHECKED : BST_UNCHECKED);
    for (int k = 0; k < 3; ++k) {
        Str_Format(text, sizeof text, "%3.3f", (double)b.rest.translation[k]);
        SetDlgItemTextA(wnd, 1108 + k, text);
    }
    SetDlgItemTextA(wnd, 1140, b.name);
    SendDlgItemMessageA(wnd, 1439, CB_SETCURSEL, (WPARAM)b.parent, 0);
}

float EditNumber(HWND wnd, int id)
{
    char text[64] = {0};
    GetDlgItemTextA(wnd, id, text, sizeof text);
    return (float)std::atof(text);
}

void Apply(HWND wnd)
{
    char name[256] = {0};
    GetDlgItemTextA(wnd, 1140, name, sizeof name);
    HWND combo = GetDlgItem(wnd, 1439);
    // CB_ERR (no selection) stays -1: the parent is then left as it is.
    const int32_t row = combo ? (int32_t)SendMessageA(combo, CB_GETCURSEL, 0, 0) : -1;
    Bone3D_Apply(EditNumber(wnd, 1108), EditNumber(wnd, 1109), EditNumber(wnd, 1110), name, combo != nullptr,
                 row < 0 ? -1 : row);
}

void ChooseTint(HWND wnd)
{
    if (!g_CurModel3) return;
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = wnd;
    cc.lpCustColors = s_CustomColours;
    cc.Flags = CC_FULLOPEN;
    if (!ChooseColorA(&cc)) return;
    g_CurModel3->tint[0] = (float)GetRValue(cc.rgbResult);
    g_CurModel3->tint[1] = (float)GetGValue(cc.rgbResult);
    g_CurModel3->tint[2] = (float)GetBValue(cc.rgbResult);
}

void TreeSelection(HWND wnd, const NMTREEVIEWA* tv)
{
    char text[256] = {0};
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = tv->itemNew.hItem;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!item.hItem || !SendMessageA(tv->hdr.hwndFrom, TVM_GETITEMA, 0, (LPARAM)&item)) return;
    SelectOnly(wnd, -1);
    Bone3D_SelectByTreeText(text);
}

} // namespace

INT_PTR CALLBACK Bone3D_ListDlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    RECT r;
    if (GetWindowRect(wnd, &r)) s_Left = r.left, s_Top = r.top;
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        MakeListControls(wnd);
        g_BoneListDirty = 1;
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        // The caret row of the list becomes the current bone on a click of the list or a button;
        // LB_ERR (no list, no rows) changes nothing. The edits' change notifications, sent while
        // the refresh writes them, take nothing.
        const bool fromList = id == 1 && HIWORD(wParam) == LBN_SELCHANGE;
        if (fromList || Clicked(wParam)) {
            HWND list = GetDlgItem(wnd, 1);
            const LRESULT caret = list ? SendMessageA(list, LB_GETCARETINDEX, 0, 0) : LB_ERR;
            if (caret >= 0 && caret < SendMessageA(list, LB_GETCOUNT, 0, 0)) Bone3D_TakeListRow((int32_t)caret);
        }
        if (!Clicked(wParam) || fromList) return TRUE;
        switch (id) {
        case 76: g_BoneChildrenFollow = g_BoneChildrenFollow != 1 ? 1 : 0; break;
        case 1117: Apply(wnd); g_BoneListDirty = 1; break;
        case 1135: ChooseTint(wnd); g_BoneListDirty = 1; break;
        case 40030: Bone3D_AddBone(); break;
        case 40031:
            if (Bone3D_DeleteCurrent()) g_BoneListDirty = 1;
            break;
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
        return FALSE;
    default:
        if (g_BoneListDirty == 1) {
            g_BoneListDirty = 0;
            Refresh(wnd);
        }
        return FALSE;
    }
}
