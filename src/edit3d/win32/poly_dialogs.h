// The polygon screen's dialog procedures (their resources are in poly_dialogs.rc).
#pragma once
#include <windows.h>

INT_PTR CALLBACK Poly3D_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK Poly3D_NumDlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
