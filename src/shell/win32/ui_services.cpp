// The studio's side of the shell's platform seam (shell/ui_services.h): menus and view windows.
#include <windows.h>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "shell/ui_services.h"
#include "shell/win32/shell_win32.h"

static HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

void* Wnd_Main() { return g_MainWnd; }
void* Wnd_Active() { return GetActiveWindow(); }

void Wnd_Activate(void* window)
{
    if (window) SetActiveWindow((HWND)window);
}

void* Menu_Set(const char* name)
{
    HMENU menu = LoadMenuA(Instance(), name);
    if (menu && g_MainWnd) SetMenu(g_MainWnd, menu);
    return menu;
}

void Menu_Destroy(void* menu)
{
    if (g_MainWnd && GetMenu(g_MainWnd) == (HMENU)menu) SetMenu(g_MainWnd, nullptr);
    DestroyMenu((HMENU)menu);
}

void* Wnd_CreateView()
{
    return CreateDialogParamA(Instance(), "WIN_DLG", g_MainWnd, View_WndProc, 0);
}

void Wnd_Destroy(void* window)
{
    if (window && IsWindow((HWND)window)) DestroyWindow((HWND)window);
}

void Wnd_Place(void* window, int left, int top, int width, int height)
{
    if (!window) return;
    MoveWindow((HWND)window, left, top, width, height, TRUE);
    ShowWindow((HWND)window, SW_SHOWNORMAL);
}

void Wnd_SetText(void* window, const char* text)
{
    if (window) SetWindowTextA((HWND)window, text);
}
