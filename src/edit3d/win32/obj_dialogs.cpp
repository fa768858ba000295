// The object screen's tool windows: the part list (OBJ_LIST_DLG) with its tree and list, the key
// dialog (3D_OBJ_DLG), the painted key panel (OBJ_KEY_DLG), the sound list (OBJ_WAVE_DLG) and the
// shell's motion list (OBJ_MOTION_LIST_DLG). What their controls do is in edit3d/obj_dialogs.cpp.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "edit3d/obj_dialogs.h"
#include "edit3d/obj_screen.h"
#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/file_dialog.h"
#include "model/obj3.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/hierarchy.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/win32/list_fill.h"

namespace {

const UINT_PTR kTimer = 1;
const int kTreeId = 1500, kPartListId = 1501, kMotionListId = 1502, kSoundListId = 1503;

DLG_SLOT s_ListSlot, s_KeysSlot, s_PanelSlot, s_WaveSlot;

bool Clicked(WPARAM wParam) { return HIWORD(wParam) == BN_CLICKED; }

void StorePlace(HWND wnd, DLG_SLOT& slot)
{
    RECT r;
    if (GetWindowRect(wnd, &r)) {
        slot.left = r.left;
        slot.top = r.top;
    }
}

// The rectangle in pixels, never smaller than the template with this machine's fonts.
void Place(HWND wnd, int left, int top, int width, int height)
{
    RECT r;
    if (GetWindowRect(wnd, &r)) {
        if (width < r.right - r.left) width = r.right - r.left;
        if (height < r.bottom - r.top) height = r.bottom - r.top;
    }
    MoveWindow(wnd, left, top, width, height, TRUE);
    ShowWindow(wnd, SW_SHOWNORMAL);
}

HWND Child(HWND parent, const char* cls, DWORD style, int x, int y, int w, int h, int id)
{
    return CreateWindowExA(WS_EX_CLIENTEDGE, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           (HMENU)(INT_PTR)id, GetModuleHandleA(nullptr), nullptr);
}

const char* AskQvp()
{
    const char* name = File_OpenDialog(g_MainWnd, "QVP", "QVPファイルを、選択して下さい", "");
    Lib_ResetFrameTimer();
    return name;
}

// ---- OBJ_LIST_DLG ----

INT_PTR CALLBACK ListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    StorePlace(wnd, s_ListSlot);
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        g_Obj3DState.listDirty = 1;
        return TRUE;
    case WM_COMMAND: {
        // The caret row as the list reports it; no row (LB_ERR) leaves the current part.
        if (g_Obj3DUi.partList) {
            const LRESULT caret = SendMessageA((HWND)g_Obj3DUi.partList, LB_GETCARETINDEX, 0, 0);
            Obj3DList_TakeRow(caret == LB_ERR ? -1 : (int32_t)(caret & 0xFFFF));
        }
        const int id = LOWORD(wParam);
        if (!Clicked(wParam)) return TRUE;
        switch (id) {
        case 1289: {
            const LRESULT row = SendDlgItemMessageA(wnd, 1475, CB_GETCURSEL, 0, 0);
            Obj3DList_ApplyParent(row == CB_ERR ? -1 : (int32_t)(row & 0xFFFF));
            break;
        }
        case 1431: Obj3DList_PivotTool(); break;
        case 1486: {
            // The 33rd part is refused before the file is asked for.
            if (!Obj3DList_RoomForPart()) break;
            const char* name = AskQvp();
            if (name && name[0]) Obj3DList_AddPart(name);
            break;
        }
        case 1487:
            if (g_CurPart == 0) Obj3DList_ReplacePart(nullptr);
            else if (const char* name = AskQvp(); name && name[0]) Obj3DList_ReplacePart(name);
            break;
        case 1488: Obj3DList_DeletePart(); break;
        default: break;
        }
        return TRUE;
    }
    case WM_NOTIFY: {
        const NMHDR* h = (const NMHDR*)lParam;
        if (h && h->idFrom == (UINT_PTR)kTreeId && h->code == TVN_SELCHANGEDA) {
            const NMTREEVIEWA* tv = (const NMTREEVIEWA*)lParam;
            char text[256] = {0};
            TVITEMA item = {};
            item.mask = TVIF_TEXT;
            item.hItem = tv->itemNew.hItem;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            if (!item.hItem || !SendMessageA(h->hwndFrom, TVM_GETITEMA, 0, (LPARAM)&item)) return TRUE;
            HWND list = (HWND)g_Obj3DUi.partList;
            if (list) SendMessageA(list, LB_SETSEL, FALSE, -1);
            const int32_t part = Obj3DList_SelectByTreeText(text);
            if (list && part >= 0) SendMessageA(list, LB_SETSEL, TRUE, part);
        }
        return TRUE;
    }
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    default:
        if (g_Obj3DState.listDirty) {
            g_Obj3DState.listDirty = 0;
            CheckDlgButton(wnd, 1431, g_Obj3DState.tool == OBJ3D_TOOL_PIVOT ? BST_CHECKED : BST_UNCHECKED);
            Obj3D_FillParentCombo();
        }
        return FALSE;
    }
}

// ---- 3D_OBJ_DLG ----

INT_PTR CALLBACK KeysProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        g_Obj3DState.keyDlgDirty = 1;
        return TRUE;
    case WM_COMMAND:
        if (Clicked(wParam)) Obj3DKeys_Command(LOWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    default:
        if (g_Obj3DState.keyDlgDirty) {
            g_Obj3DState.keyDlgDirty = 0;
            for (int id = 1451; id <= 1453; ++id)
                CheckDlgButton(wnd, id, g_Obj3DState.tool == id - 1451 ? BST_CHECKED : BST_UNCHECKED);
        }
        return FALSE;
    }
}

// ---- OBJ_KEY_DLG ----

int32_t PanelRefresh = 0;

INT_PTR CALLBACK PanelProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    StorePlace(wnd, s_PanelSlot);
    Mode_UpdateCurrent();
    OBJ3D_KEY_PANEL& k = g_Obj3DKeyPanel;
    switch (msg) {
    case WM_INITDIALOG: {
        PanelRefresh = 1;
        SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
        si.nMax = 600;
        SetScrollInfo(wnd, SB_HORZ, &si, TRUE);
        k.scrollMax = 600;
        return TRUE;
    }
    case WM_GETMINMAXINFO: {
        MINMAXINFO* mm = (MINMAXINFO*)lParam;
        mm->ptMinTrackSize.x = mm->ptMinTrackSize.y = 100;
        mm->ptMaxTrackSize.x = GetSystemMetrics(SM_CXSCREEN);
        mm->ptMaxTrackSize.y = GetSystemMetrics(SM_CYSCREEN);
        return TRUE;
    }
    case WM_HSCROLL: {
        int kind = -1;
        switch (LOWORD(wParam)) {
        case SB_LINELEFT: kind = OBJ3D_SCROLL_LINE_LEFT; break;
        case SB_LINERIGHT: kind = OBJ3D_SCROLL_LINE_RIGHT; break;
        case SB_PAGELEFT: kind = OBJ3D_SCROLL_PAGE_LEFT; break;
        case SB_PAGERIGHT: kind = OBJ3D_SCROLL_PAGE_RIGHT; break;
        case SB_THUMBPOSITION: kind = OBJ3D_SCROLL_THUMB; break;
        default: break;
        }
        if (kind >= 0) {
            Obj3DPanel_HScroll(kind, (int16_t)HIWORD(wParam));
            SetScrollPos(wnd, SB_HORZ, k.scrollPos, TRUE);
        }
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        k.cursorX = (int16_t)LOWORD(lParam), k.cursorY = (int16_t)HIWORD(lParam);
        Obj3DPanel_LButtonDown();
        return TRUE;
    case WM_LBUTTONUP:
        Obj3DPanel_LButtonUp();
        return TRUE;
    case WM_LBUTTONDBLCLK:
        Obj3DPanel_DoubleClick();
        return TRUE;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        k.middle = msg == WM_MBUTTONDOWN;
        View_RequestRedraw();
        return TRUE;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        k.right = msg == WM_RBUTTONDOWN;
        View_RequestRedraw();
        return TRUE;
    case WM_MOUSEMOVE:
        Obj3DPanel_MouseMove((int16_t)LOWORD(lParam), (int16_t)HIWORD(lParam));
        return TRUE;
    default:
        if (PanelRefresh) {
            PanelRefresh = 0;
            g_PanelDirtyObj3Keys = 1;
        }
        return FALSE;
    }
}

// ---- OBJ_WAVE_DLG ----

INT_PTR CALLBACK WaveProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    StorePlace(wnd, s_WaveSlot);
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == 1210 && Clicked(wParam)) {
            const char* name = File_OpenDialog(g_MainWnd, "WAV", "効果音 ( WAV ) ファイルを選択して下さい", "");
            Lib_ResetFrameTimer();
            if (name && name[0]) Obj3DWave_AddSound(name);
        }
        return TRUE;
    case WM_DESTROY:
        if (s_WaveSlot.window == wnd) {
            s_WaveSlot.window = nullptr;
            g_Obj3DUi.soundList = nullptr;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

HWND Make(const char* name, DLGPROC proc)
{
    return CreateDialogParamA(GetModuleHandleA(nullptr), name, g_MainWnd, proc, 0);
}

void CreateWindows()
{
    const int monW = g_Lib.monitorWidth, monH = g_Lib.monitorHeight;
    if (!s_KeysSlot.window) {
        if (HWND w = Make("3D_OBJ_DLG", KeysProc)) {
            s_KeysSlot.window = w;
            Place(w, monW - 273, monH - 336, 273, 307);
        }
    }
    if (!s_PanelSlot.window) {
        if (HWND w = Make("OBJ_KEY_DLG", PanelProc)) {
            s_PanelSlot.window = w;
            g_PanelHosts[PANEL_HOST_OBJ3_KEYS] = &s_PanelSlot;
            Place(w, 0, monH - 152, 678, 122);
        }
    }
    if (!s_ListSlot.window) {
        if (HWND w = Make("OBJ_LIST_DLG", ListProc)) {
            s_ListSlot.window = w;
            Place(w, Lib_GetWindowWidth() - 356, 47, 356, 573);
            g_Obj3DUi.partTree = Child(w, WC_TREEVIEWA, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                                       0, 49, 168, 360, kTreeId);
            g_Obj3DUi.partList = Child(w, "LISTBOX", LBS_EXTENDEDSEL | LBS_NOTIFY | WS_VSCROLL, 169, 49, 180, 360,
                                       kPartListId);
            g_Obj3DUi.parentCombo = GetDlgItem(w, 1475);
        }
    }
    Obj3D_FillParentCombo();
    DLG_SLOT& motions = g_Obj3MotionListSlot;
    if (!motions.window) {
        if (HWND w = Make("OBJ_MOTION_LIST_DLG", Obj3D_MotionListDlgProc)) {
            motions.window = w;
            Place(w, 0, Lib_GetWindowHeight() - 526, 228, 450);
            g_ObjMotionListCtl = Child(w, "LISTBOX", LBS_NOTIFY | WS_VSCROLL, 0, 95, 222, 330, kMotionListId);
            List_FillMotionsObj3D();
            SetActiveWindow(w);
        }
    }
}

void DestroyWindows()
{
    for (DLG_SLOT* slot : {&s_ListSlot, &s_PanelSlot, &s_KeysSlot, &g_Obj3MotionListSlot}) {
        if (slot->window && IsWindow((HWND)slot->window)) DestroyWindow((HWND)slot->window);
        slot->window = nullptr;
    }
    if (g_PanelHosts[PANEL_HOST_OBJ3_KEYS] == &s_PanelSlot) g_PanelHosts[PANEL_HOST_OBJ3_KEYS] = nullptr;
    g_ObjMotionListCtl = nullptr;
}

void OpenWaveDialog()
{
    if (s_WaveSlot.window && IsWindow((HWND)s_WaveSlot.window)) return;
    HWND w = Make("OBJ_WAVE_DLG", WaveProc);
    if (!w) return;
    s_WaveSlot.window = w;
    ShowWindow(w, SW_SHOWNORMAL);
    g_Obj3DUi.soundList = Child(w, "LISTBOX", LBS_NOTIFY | WS_VSCROLL, 0, 22, 200, 325, kSoundListId);
}

bool AskYesNo(const char* text)
{
    const bool yes = MessageBoxA(g_MainWnd, text, kProductCaption, MB_ICONQUESTION | MB_YESNO) == IDYES;
    Lib_ResetFrameTimer();
    return yes;
}

bool LoopChecked() { return s_KeysSlot.window && IsDlgButtonChecked((HWND)s_KeysSlot.window, 1257) == BST_CHECKED; }

// The screen's side of the windows, set before any screen is entered.
struct Wiring {
    Wiring()
    {
        g_Obj3DUi.createWindows = CreateWindows;
        g_Obj3DUi.destroyWindows = DestroyWindows;
        g_Obj3DUi.openWaveDialog = OpenWaveDialog;
        g_Obj3DUi.askYesNo = AskYesNo;
        g_Obj3DUi.loopChecked = LoopChecked;
    }
} s_Wiring;

} // namespace
