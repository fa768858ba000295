// What the frame calls in the layers above it: the renderer and its text layer, the curve tables,
// the shell's main-window handler and views, and the model loader. The shell application defines
// g_FrameHooks (shell/win32/wiring.cpp), so the frame includes none of their headers. A null
// entry does nothing.
#pragma once
#include <windows.h>
#include <cstdint>

#include "frame/frame.h"

struct FRAME_HOOKS {
    void (*renderFrame)();                // one frame into the back buffer (BeginScene..EndScene)
    void (*releaseDeviceResources)();     // what does not survive a device reset
    void (*createFont)(float size);
    void (*releaseFont)();                // the font object does not survive a reset
    void (*releaseScreens)();
    void (*createScreens)();
    void (*markScreenDirty)(int screen);
    void (*buildShadeQuad)();
    int32_t (*initCurveTables)();         // built once at start
    bool (*activeView)(QVL::PRESENT_VIEW* view);  // where the frame presents when the layout flag is 1
    int (*messageHook)(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);  // sees every main-window message first
    void (*beforeDeviceRelease)();        // returns once no thread creates resources on the device
};

extern FRAME_HOOKS g_FrameHooks;
