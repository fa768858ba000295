// The texture screen's two tool windows: 3D_TEX_DLG and the picture window 3D_TEX_IMAGE_DLG.
#pragma once
#include <windows.h>

INT_PTR CALLBACK Tex3D_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK Tex3D_ImageDlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
