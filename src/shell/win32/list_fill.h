// The 3D object editor's motion list dialog (OBJ_MOTION_LIST_DLG), whose list box the editor
// creates and hands to the fillers as g_ObjMotionListCtl.
#pragma once
#include <windows.h>

#include "shell/dlg_slot.h"

extern DLG_SLOT g_Obj3MotionListSlot;
INT_PTR CALLBACK Obj3D_MotionListDlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
