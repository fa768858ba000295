#include "wine/support/wine_frame.h"

#include <windows.h>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "render/camera.h"
#include "render/frame_render.h"

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

bool WineScene_Begin(WINE_SCENE& s, float eyeX, float eyeY, float eyeZ)
{
    if (!WineFrame_Ensure()) return false;
    for (int32_t i = 0; i < Object_Count(); ++i) {
        QVL::OBJECT* o = Object_GetById(i);
        if (o && o->visible) {
            s.hidden.push_back(i);
            Object_SetVisible(o, 0);
        }
    }
    s.studio = g_StudioFlag;
    g_StudioFlag = 0;
    g_LightOption = 0;   // unlit: the material colours themselves
    Lib_SetClearColor(0, 0, 0);
    Render_SetFade(1.0f);
    Render_SetCameraEye(eyeX, eyeY, eyeZ);
    Render_SetCameraTarget(0, 0, 0);
    return true;
}

void WineScene_End(WINE_SCENE& s)
{
    for (int32_t i : s.objects) Object_SetVisible(Object_GetById(i), 0);
    for (int32_t i : s.hidden) Object_SetVisible(Object_GetById(i), 1);
    for (int32_t id : s.models) Model3_Release(id);
    Model3_ProcessReleases();
    g_LightOption = 1;
    g_StudioFlag = s.studio;
    s = WINE_SCENE{};
}
