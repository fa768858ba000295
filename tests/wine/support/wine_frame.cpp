#include "wine/support/wine_frame.h"

#include <windows.h>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"

bool WineFrame_Ensure()
{
    if (Lib_IsReady() && g_MainWnd && g_Device) return true;
    // A test that closed the frame on purpose showed its fatal message; the next run may show its own.
    g_Frame.fatalShown = false;
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    bool ok = LibInit(GetModuleHandleA(nullptr));
    SetCurrentDirectoryA(cwd);
    // Let the window settle (first activation and paint) before a test looks at it.
    MSG msg;
    for (int i = 0; i < 50 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return ok && g_MainWnd && g_Device;
}
