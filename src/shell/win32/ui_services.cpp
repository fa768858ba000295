// The studio's side of the shell's platform seam (shell/ui_services.h): menus and view windows.
#include <windows.h>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "shell/ui_services.h"
#include "shell/win32/shell_win32.h"

static HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

void* Svc_MainWindow() { return g_MainWnd; }
void* Svc_ActiveWindow() { return GetActiveWindow(); }

void Svc_ActivateWindow(void* window)
{
    if (window) SetActiveWindow((HWND)window);
}

void* Svc_MenuSet(const char* name)
{
    HMENU menu = LoadMenuA(Instance(), name);
    if (menu && g_MainWnd) SetMenu(g_MainWnd, menu);
    return menu;
}

void Svc_MenuDestroy(void* menu)
{
    if (g_MainWnd && GetMenu(g_MainWnd) == (HMENU)menu) SetMenu(g_MainWnd, nullptr);
    DestroyMenu((HMENU)menu);
}

void* Svc_ViewWindowCreate()
{
    return CreateDialogParamA(Instance(), "WIN_DLG", g_MainWnd, View_WndProc, 0);
}

void Svc_WindowDestroy(void* window)
{
    if (window && IsWindow((HWND)window)) DestroyWindow((HWND)window);
}

void Svc_WindowPlace(void* window, int left, int top, int width, int height)
{
    if (!window) return;
    MoveWindow((HWND)window, left, top, width, height, TRUE);
    ShowWindow((HWND)window, SW_SHOWNORMAL);
}

void Svc_WindowSetText(void* window, const char* text)
{
    if (window) SetWindowTextA((HWND)window, text);
}
