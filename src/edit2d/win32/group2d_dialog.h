// The 2D group dialog's procedure, for the hub that makes 2D_GROUP_DLG.
#pragma once
#include <windows.h>

INT_PTR CALLBACK Group2D_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
