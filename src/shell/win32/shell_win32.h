// The shell's window procedures and the frame entry points it uses.
#pragma once
#include <windows.h>

extern HWND g_MainWnd;

int Main_MessageHook(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
int Main_WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK View_WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK Sketch_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK Options_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
void MainWnd_ApplyRect();

// The frame (application window, device and frame tick).
bool LibInit(HINSTANCE instance);
int App_IsActive();
void App_RenderFrame();
void App_ResetDevice();
