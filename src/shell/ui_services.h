// The shell's platform seam: its windows and menus, as opaque handles (null: none). The studio works
// on real windows (shell/win32/ui_services.cpp); native programs link tests/support/ui_recorder.cpp,
// which records the calls.
#pragma once

void* Svc_MainWindow();
void* Svc_ActiveWindow();
void Svc_ActivateWindow(void* window);
// Loads the named menu resource and sets it on the main window; null when there is none.
void* Svc_MenuSet(const char* name);
void Svc_MenuDestroy(void* menu);
// A new, hidden view window ("View", menu MENU_WIN) owned by the main window.
void* Svc_ViewWindowCreate();
void Svc_WindowDestroy(void* window);
// Moves the window to the rectangle (repainting) and shows it normally.
void Svc_WindowPlace(void* window, int left, int top, int width, int height);
void Svc_WindowSetText(void* window, const char* text);
