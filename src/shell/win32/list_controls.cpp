// The list, combo and tree controls of shell/list_controls.h on the real windows.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "shell/list_controls.h"

namespace {

bool IsCombo(HWND w)
{
    char cls[32] = {0};
    GetClassNameA(w, cls, sizeof cls);
    return lstrcmpiA(cls, "ComboBox") == 0;
}

} // namespace

void ListCtl_Reset(void* ctl)
{
    HWND w = (HWND)ctl;
    if (!w) return;
    SendMessageA(w, IsCombo(w) ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
}

void ListCtl_Add(void* ctl, const char* text)
{
    HWND w = (HWND)ctl;
    if (!w) return;
    SendMessageA(w, IsCombo(w) ? CB_ADDSTRING : LB_ADDSTRING, 0, (LPARAM)text);
}

void ListCtl_Select(void* ctl, int32_t row)
{
    HWND w = (HWND)ctl;
    if (!w) return;
    SendMessageA(w, IsCombo(w) ? CB_SETCURSEL : LB_SETCURSEL, (WPARAM)row, 0);
}

void ListCtl_SetSel(void* ctl, int32_t row)
{
    HWND w = (HWND)ctl;
    if (w && row >= 0) SendMessageA(w, LB_SETSEL, TRUE, (LPARAM)row);
}

int32_t ListCtl_CurSel(void* ctl)
{
    HWND w = (HWND)ctl;
    if (!w) return -1;
    // The answer stays a full int: LB_ERR and CB_ERR are -1, not row 65535.
    LRESULT r = SendMessageA(w, IsCombo(w) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    return r < 0 ? -1 : (int32_t)r;
}

void TreeCtl_Clear(void* tree)
{
    if (tree) SendMessageA((HWND)tree, TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT);
}

void* TreeCtl_Insert(void* tree, void* parentItem, const char* text)
{
    if (!tree) return nullptr;
    TVINSERTSTRUCTA ins;
    std::memset(&ins, 0, sizeof ins);
    ins.hParent = parentItem ? (HTREEITEM)parentItem : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    ins.item.pszText = (LPSTR)text;
    ins.item.iImage = 0;
    ins.item.iSelectedImage = 0;
    ins.item.lParam = 0;
    return (void*)SendMessageA((HWND)tree, TVM_INSERTITEMA, 0, (LPARAM)&ins);
}

void TreeCtl_Expand(void* tree, void* item)
{
    if (tree && item) SendMessageA((HWND)tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)item);
}

void TreeCtl_Select(void* tree, void* item)
{
    if (!tree || !item) return;
    SendMessageA((HWND)tree, TVM_ENSUREVISIBLE, 0, (LPARAM)item);
    SendMessageA((HWND)tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item);
}
