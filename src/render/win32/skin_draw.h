// The GPU-skinned draw of render kind 5: the bone palette through the "Bone" effect. The material
// draw (material_draw.cpp) comes here for kind 5 with the texture its rules chose.
#pragma once
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <cstdint>

#include "model/model3.h"

// The effect, the palette of model `modelId`, the blend states, the vertex format, the technique,
// the time and "mViewProj". Returns the effect, or null when the "Bone" slot holds none (nothing is
// drawn then); Skin_End follows either way.
ID3DXEffect* Skin_Begin(int32_t modelId, float* time);
// One material: the index and vertex buffers of material g of model `modelId`, drawn with the
// state of material g of `m`. countTriangles: add to the frame's triangle counter.
void Skin_DrawMaterial(ID3DXEffect* fx, const QVL::MODEL3* m, int32_t modelId, int32_t g, IDirect3DTexture9* texture,
                       bool countTriangles);
// Vertex shader and blend states off again.
void Skin_End();
