// The renderer's calls upward: the drawers of the layers above it and the views it reads, filled in
// by the one layer that knows every subsystem (the frame's are in shell/win32/wiring.cpp). Constant
// initialisation: the records hold their entries before any static constructor runs.
#include "edit3d/model3d_hooks.h"
#include "effect/effect_draw.h"
#include "effect/particle.h"
#include "frame/lib.h"
#include "render/frame_render.h"
#include "scene/movie.h"
#include "shell/modes.h"
#include "shell/panels.h"
#include "shell/picking.h"
#include "shell/views.h"

// The type of the view being rendered.
static int32_t PickedViewType()
{
    if (g_Screen < 0 || g_Screen >= kScreenCount || g_PickedView < 0 || g_PickedView >= kViewsPerScreen) return 0;
    return g_Views[g_Screen][g_PickedView].type;
}

// The target of the current screen's main view, which the game screen and the texts scroll with.
static void MainViewPan(float* x, float* y)
{
    *x = *y = 0.0f;
    if (g_Screen < 0 || g_Screen >= kScreenCount) return;
    *x = g_Views[g_Screen][0].pan[0];
    *y = g_Views[g_Screen][0].pan[1];
}

RENDER_DRAWERS g_RenderDrawers = {
    Render_VisitEffects3D,
    Render_DrawEffects,
    Particle_DrawAll,
    Mode_DrawCallback,
    Mode_DrawOverlayCallback,
    Movie_DrawPictures,
    Movie_DrawSubtitles,
};

RENDER_VIEWS g_RenderViews = {
    PickedViewType,
    MainViewPan,
};

// What the picks read of the polygon editor. The group list refill joins when the editor has one.
PICK_EDITOR_HOOKS g_PickEditorHooks = {
    &g_PolyEditState.selectionMode,
    &g_PolyEditState.tool,
    nullptr,
};
static int32_t Motion3Type() { return g_Motion3DState.motionType; }
int32_t (*const g_PanelMotion3Type)() = Motion3Type;
