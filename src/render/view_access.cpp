// What the renderer reads of the shell's views, through what the shell registered.
#include "render/frame_render.h"
#include "render/immediate.h"

int32_t Render_PickedViewType()
{
    return g_RenderViews.pickedViewType ? g_RenderViews.pickedViewType() : 0;
}

void Draw_MainViewPan(float* x, float* y)
{
    *x = *y = 0.0f;
    if (g_RenderViews.mainViewPan) g_RenderViews.mainViewPan(x, y);
}
