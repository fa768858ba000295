// The frame's calls upward, filled in by the one layer that knows every subsystem (the renderer's
// are in shell/wiring.cpp). Constant initialisation: the record holds its entries before any static
// constructor runs.
#include "frame/win32/frame_hooks.h"

#include "model/curve.h"
#include "model/loader.h"
#include "render/frame_render.h"
#include "render/renderer.h"
#include "render/screens.h"
#include "render/shadows.h"
#include "render/text_queue.h"
#include "shell/current.h"
#include "shell/views.h"
#include "shell/win32/shell_win32.h"

// The renderer draws the editor's current bone highlighted; it reads its own copy.
static void RenderFrame()
{
    g_Renderer.highlightBone = g_CurBone;
    Render_Frame();
}

FRAME_HOOKS g_FrameHooks = {
    RenderFrame,
    Render_ReleaseDeviceResources,
    Draw_CreateFont,
    Draw_ReleaseFontObject,
    Render_ReleaseScreens,
    Render_CreateScreens,
    Render_MarkScreenDirty,
    Shadow_BuildShadeQuad,
    Curve_InitTables,
    View_GetActiveView,
    Main_MessageHook,
    Loader_DrainForDeviceRelease,
};
