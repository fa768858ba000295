// Stand-ins for what the renderer calls in pieces being built beside it; each goes when the real one
// lands (the scene objects and the model drawing, the shell's views and draw passes).
#include "render/frame_render.h"
#include "render/immediate.h"

// Render_DrawMaterial (model drawing): draws nothing yet.
void Render_DrawMaterial(QVL::DRAW_ENTRY) {}
// Render_DrawOutlines (model drawing): no outline pass yet.
void Render_DrawOutlines() {}
// Mode_DrawCallback, Mode_DrawOverlayCallback (shell's draw passes): no editor draws yet.
void Mode_DrawCallback() {}
void Mode_DrawOverlayCallback() {}
// Render_ObjectCount, Render_GetObject, Render_SetObjectCulled, Render_ObjectWorld (the object
// table): no scene objects yet.
int32_t Render_ObjectCount() { return 0; }
bool Render_GetObject(int32_t, RENDER_OBJECT*) { return false; }
void Render_SetObjectCulled(int32_t, bool) {}
const QVL::MATRIX* Render_ObjectWorld(int32_t) { return nullptr; }
// Render_PickedViewType, Draw_MainViewPan (the shell's views): the main view, not panned.
int32_t Render_PickedViewType() { return 0; }
void Draw_MainViewPan(float* x, float* y)
{
    *x = 0.0f;
    *y = 0.0f;
}
