// Model material drawing on the fixed-function path: one material of a placed model (the draw behind
// every draw-list entry), every material of a 3D object's part, and the outline pass.
#pragma once
#include <cstdint>

#include "model/model3.h"

// Draws material `material` of model `model` placed as object `object`; the caller has set WORLD.
// The draw lists' entry point hands its entry's object, model and material here.
void Render_DrawMaterialOf(int32_t object, int32_t model, int32_t material);
// Every material of a part model of a 3D object (part -1: a model that is no part).
void Render_DrawWholeModel(int32_t part, int32_t object, const QVL::MODEL3* q);
// Every model with its edge switch on, drawn once more as a black, inflated, inside-out hull.
void Render_DrawOutlines();
void Render_SetMaterialAlphaTest(const QVL::MODEL3* m, int16_t material);
void Render_ClearMaterialAlphaTest(const QVL::MODEL3* m, int16_t material);

// ---- what the model drawing uses of its neighbours (besides the renderer's switches and counter,
// render/renderer.h; immediate drawing, render/immediate.h; the highlighted bone, g_Renderer.highlightBone) ----
// Curved-triangle tessellation: draws one triangle as a curved patch at the level.
struct CURVE_CORNER {
    float position[3];
    float normal[3];
    int diffuse[4];    // R, G, B, A 0..255
    int specular[3];   // R, G, B
    float u, v;
};
void Curve_TessellateTriangle(const CURVE_CORNER& c0, const CURVE_CORNER& c1, const CURVE_CORNER& c2, int16_t level);
