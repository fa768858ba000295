// The 2D polygon screen's modelling dialog.
#pragma once
#include <windows.h>

INT_PTR CALLBACK Poly2D_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Points g_Poly2DUi at the dialog; the shell application calls it once at start-up.
void Poly2D_InstallDialog();
