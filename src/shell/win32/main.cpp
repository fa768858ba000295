// The program entry (minimal until the shell's start-up lands): bring the library up, then run the
// message loop with one frame per idle turn.
#include <windows.h>

#include "frame/lib.h"
#include "frame/services.h"
#include "frame/win32/app_frame.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (!LibInit(instance)) {
        Lib_MessageBox("初期化に失敗しました。");
        return -1;
    }
    MSG msg = {};
    while (msg.message != WM_QUIT) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else if (App_IsActive() && Lib_IsReady()) {
            App_RenderFrame();
            Sleep(1);
        } else {
            WaitMessage();
        }
    }
    return (int)msg.wParam;
}
