// Stand-ins for what the renderer calls in pieces being built beside it; each goes when the real one
// lands (the scene objects and the model drawing).
#include "render/frame_render.h"
#include "render/immediate.h"

#if !__has_include("render/model_draw.h")
// Render_DrawMaterialOf, Render_DrawOutlines (model drawing): nothing drawn yet.
void Render_DrawMaterialOf(int32_t, int32_t, int32_t) {}
void Render_DrawOutlines() {}
#endif

#if !__has_include("model/scene_object.h")
// The object table (render/scene_objects.cpp reads it once it exists): no scene objects yet.
int32_t Render_ObjectCount() { return 0; }
bool Render_GetObject(int32_t, RENDER_OBJECT*) { return false; }
void Render_SetObjectCulled(int32_t, bool) {}
const QVL::MATRIX* Render_ObjectWorld(int32_t) { return nullptr; }
#endif
