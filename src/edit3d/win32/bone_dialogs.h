// The bone list dialog BONE_LIST_DLG of the bone and weight screens.
#pragma once
#include <windows.h>

INT_PTR CALLBACK Bone3D_ListDlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
