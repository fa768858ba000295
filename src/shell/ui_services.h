// The shell's platform seam: its windows and menus, as opaque handles (null: none). The studio works
// on real windows (shell/win32/ui_services.cpp); native programs link tests/support/ui_recorder.cpp,
// which records the calls.
#pragma once

void* Wnd_Main();
void* Wnd_Active();
void Wnd_Activate(void* window);
// Loads the named menu resource and sets it on the main window; null when there is none.
void* Menu_Set(const char* name);
void Menu_Destroy(void* menu);
// A new, hidden view window ("View", menu MENU_WIN) owned by the main window.
void* Wnd_CreateView();
void Wnd_Destroy(void* window);
// Moves the window to the rectangle (repainting) and shows it normally.
void Wnd_Place(void* window, int left, int top, int width, int height);
void Wnd_SetText(void* window, const char* text);
