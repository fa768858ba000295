// What the renderer reads of the shell's views: the type of the view being rendered and the target
// of the current screen's main view, which the game screen and the texts scroll with.
#include "frame/lib.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "shell/views.h"

int32_t Render_PickedViewType()
{
    if (g_Screen < 0 || g_Screen >= kScreenCount || g_PickedView < 0 || g_PickedView >= kViewsPerScreen) return 0;
    return g_Views[g_Screen][g_PickedView].type;
}

void Draw_MainViewPan(float* x, float* y)
{
    *x = *y = 0.0f;
    if (g_Screen < 0 || g_Screen >= kScreenCount) return;
    *x = g_Views[g_Screen][0].pan[0];
    *y = g_Views[g_Screen][0].pan[1];
}
