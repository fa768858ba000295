// The 3D editor hub's modeless dialogs: the screen switcher, the layer buttons and the undo list.
// They run on 50 ms timers: a dialog checks its buttons again at the first tick after its dirty
// flag was set. What their controls do is in edit3d/model3d_hooks.cpp and edit3d/undo_layers.cpp.
#include <windows.h>

#include "edit3d/model3d_dialogs.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/win32/group_dialogs.h"
#include "edit3d/win32/poly_dialogs.h"
#include "edit3d/win32/tex_dialogs.h"
#include "edit3d/motion_dialogs.h"
#include "edit3d/win32/bone_dialogs.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/services.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/file_dialog.h"
#include "model/win32/model_textures.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/mode_hooks.h"

namespace {

const UINT_PTR kTimer = 1;
int32_t s_ScreensDirty;  // MODEL_3D_DLG checks the current screen's button

bool Clicked(WPARAM wParam) { return HIWORD(wParam) == BN_CLICKED; }

const int kScreenButtons[] = {1096, 1093, 1098, 1097, 1102, 1094, 1103};

INT_PTR CALLBACK ScreensProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        s_ScreensDirty = 1;
        return TRUE;
    case WM_COMMAND: {
        const int screen = Model3D_ScreenOfButton(LOWORD(wParam));
        // The switch ends this dialog and makes a new one; the flag reaches the new one.
        if (screen >= 0 && Clicked(wParam)) {
            s_ScreensDirty = 1;
            Model3D_SwitchScreen(screen);
        }
        return TRUE;
    }
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    default:
        if (s_ScreensDirty) {
            s_ScreensDirty = 0;
            for (int id : kScreenButtons)
                CheckDlgButton(wnd, id, Model3D_ScreenOfButton(id) == g_Screen ? BST_CHECKED : BST_UNCHECKED);
        }
        return FALSE;
    }
}

INT_PTR CALLBACK LayerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    Mode_UpdateCurrent();
    DLG_SLOT& slot = g_Model3DEditor.layerSlot;
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        slot.dirty = 1;
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= 1342 && id <= 1351 && Clicked(wParam)) Layer_Select(id - 1342);
        return TRUE;
    }
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    default:
        if (slot.dirty) {
            slot.dirty = 0;
            if (g_CurLayer >= 0 && g_CurLayer < kLayerCount) CheckRadioButton(wnd, 1342, 1351, 1342 + g_CurLayer);
        }
        return FALSE;
    }
}

UNDO_HISTORY* CurrentHistory()
{
    return g_CurLayer >= 0 && g_CurLayer < kLayerCount ? &g_UndoHistories[g_CurLayer] : nullptr;
}

INT_PTR CALLBACK UndoProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    DLG_SLOT* slot = g_Screen >= 0 && g_Screen < kScreenCount ? &g_DlgSlots[g_Screen][0] : nullptr;
    RECT r;
    if (slot && GetWindowRect(wnd, &r)) {
        slot->left = r.left;
        slot->top = r.top;
    }
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, kTimer, 50, nullptr);
        if (slot) slot->dirty = 1;
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == 1373 && HIWORD(wParam) == LBN_SELCHANGE) {
            // LB_ERR (no selection) is -1 here, never a row.
            const int row = (int)SendDlgItemMessageA(wnd, 1373, LB_GETCURSEL, 0, 0);
            Undo_SelectRow(CurrentHistory(), row);
            Mode_RefreshAll();
            if (slot) slot->dirty = 1;
        } else if (id == 1318 && Clicked(wParam)) {
            Undo_StepBack(CurrentHistory());
        } else if (id == 1319 && Clicked(wParam)) {
            Undo_StepForward(CurrentHistory());
        }
        return TRUE;
    }
    case WM_DESTROY:
        KillTimer(wnd, kTimer);
        return FALSE;
    default:
        if (slot) slot->dirty = 0;
        return FALSE;
    }
}

} // namespace

void* Model3DDlg_Create(int which)
{
    const char* name = nullptr;
    DLGPROC proc = nullptr;
    switch (which) {
    case MODEL3D_DLG_SCREENS: name = "MODEL_3D_DLG"; proc = ScreensProc; break;
    case MODEL3D_DLG_LAYER: name = "LAYER_DLG"; proc = LayerProc; break;
    case MODEL3D_DLG_UNDO: name = "UNDO_DLG"; proc = UndoProc; break;
    case MODEL3D_DLG_GROUP:
    case MODEL3D_DLG_WEIGHT: return Group3DDlg_Create(which);
    case MODEL3D_DLG_POLY: name = MAKEINTRESOURCEA(133); proc = Poly3D_DlgProc; break;
    case MODEL3D_DLG_POLY_NUM: name = "POLY_NUM_DLG"; proc = Poly3D_NumDlgProc; break;
    case MODEL3D_DLG_TEX: name = "3D_TEX_DLG"; proc = Tex3D_DlgProc; break;
    case MODEL3D_DLG_TEX_IMAGE: name = "3D_TEX_IMAGE_DLG"; proc = Tex3D_ImageDlgProc; break;
    case MODEL3D_DLG_MOTION:
    case MODEL3D_DLG_MOTION_KEYS:
    case MODEL3D_DLG_MOTION_LIST:
    case MODEL3D_DLG_MOTION_WAVE: return Motion3DDlg_Create(which);
    case MODEL3D_DLG_BONE_LIST: name = "BONE_LIST_DLG"; proc = Bone3D_ListDlgProc; break;
    default: return nullptr;
    }
    return CreateDialogParamA(GetModuleHandleA(nullptr), name, g_MainWnd, proc, 0);
}

void Model3DDlg_Place(void* dialog, int left, int top, int width, int height)
{
    HWND wnd = (HWND)dialog;
    if (!wnd) return;
    // Texts and captions stay whole where the fonts are wider than the rectangle was made for.
    RECT r;
    if (GetWindowRect(wnd, &r)) {
        if (width < r.right - r.left) width = r.right - r.left;
        if (height < r.bottom - r.top) height = r.bottom - r.top;
    }
    MoveWindow(wnd, left, top, width, height, TRUE);
    ShowWindow(wnd, SW_SHOWNORMAL);
}

void Model3DDlg_Raise(void* dialog)
{
    if (dialog) SetWindowPos((HWND)dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void* Model3DDlg_Item(void* dialog, int id) { return dialog ? GetDlgItem((HWND)dialog, id) : nullptr; }

void Model3DDlg_FillList(void* list, const char* const* rows, int count, int selected)
{
    HWND wnd = (HWND)list;
    if (!wnd || !IsWindow(wnd)) return;
    SendMessageA(wnd, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) SendMessageA(wnd, LB_ADDSTRING, 0, (LPARAM)rows[i]);
    if (selected >= 0 && selected < count) SendMessageA(wnd, LB_SETCURSEL, (WPARAM)selected, 0);
}

void Model3DDlg_LoadTexture(int32_t id, int32_t index, const char* folder, const char* file)
{
    Svc_SetCurrentDirectory(folder);
    Image_LoadModel3Texture(id, index, file);
}

void Model3DDlg_CopyPixels(int32_t id) { Image_CopyModel3Pixels(id); }

void Model3DDlg_LogMemory()
{
    Log_Printf("Memory %3.3f", (double)Lib_GetFreePhysMemory() / 1024.0 / 1024.0);
}
