// The shell's window procedures.
#pragma once
#include <windows.h>

// The frame's window procedure hands every main-window message here before its own handling.
int Main_MessageHook(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
int Main_WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK View_WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK Sketch_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK Options_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
