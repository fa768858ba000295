// The frame's switches that need the device, for native programs: they keep the library's and the
// scene's flags as the studio's do, without a device to reset.
#include "frame/lib.h"
#include "frame/scene.h"
#include "support/recorder.h"

void V_SyncSet(int flag) { g_Scene.vSync = flag ? 1 : 0; }

void Lib_SetAntiAlias(int flag) { g_Lib.antiAlias = flag && g_Lib.antiAlias4Supported ? 1 : 0; }

void Lib_SetShadowColor(float r, float g, float b, float a)
{
    g_Scene.shadowColor[0] = r;
    g_Scene.shadowColor[1] = g;
    g_Scene.shadowColor[2] = b;
    g_Scene.shadowColor[3] = a;
}

void Lib_ShellOpen(const char* file) { Rec().shellOpened.push_back(file ? file : ""); }

