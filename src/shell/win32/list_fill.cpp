#include "shell/win32/list_fill.h"

#include "model/obj3.h"
#include "shell/current.h"
#include "shell/hierarchy.h"
#include "shell/list_controls.h"
#include "shell/mode_hooks.h"

DLG_SLOT g_Obj3MotionListSlot;

namespace {

// The commands the template's buttons send.
enum { kCmdRefill = 1305, kCmdAppend = 1306, kCmdClose = 1308 };

int32_t s_PrevSelection = -1;   // none at start

} // namespace

INT_PTR CALLBACK Obj3D_MotionListDlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    DLG_SLOT& slot = g_Obj3MotionListSlot;
    RECT r;
    if (GetWindowRect(wnd, &r)) {
        slot.left = r.left;
        slot.top = r.top;
    }
    Mode_UpdateCurrent();
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(wnd, 1, 50, nullptr);
        slot.dirty = 1;
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kCmdRefill:
            List_FillMotionsObj3D();
            return TRUE;
        case kCmdAppend:
            Obj3D_AppendMotion();
            return TRUE;
        case kCmdClose:
            KillTimer(wnd, 1);
            DestroyWindow(wnd);
            slot.window = nullptr;
            return TRUE;
        default:
            break;
        }
        if (g_CurObj3) {
            int32_t sel = ListCtl_CurSel(g_ObjMotionListCtl);
            if (sel >= 0 && sel < QVL::kObj3Motions && sel != s_PrevSelection) {
                g_CurObj3->frame = 0;
                s_PrevSelection = sel;
                g_CurObj3->motion = sel;
                slot.dirty = 1;
                Obj3_UpdatePoses();
                View_RequestRedraw();
            }
        }
        return TRUE;
    default:
        // The template has no controls for the motion's number, name and length.
        if (slot.dirty) slot.dirty = 0;
        return FALSE;
    }
}
