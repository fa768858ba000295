// Stand-ins for what the model drawing calls in pieces being built beside it; each goes when the
// real one lands (the part textures of 3D objects).
#include <windows.h>
#include <d3d9.h>

#include "frame/win32/app_frame.h"
#include "render/material_verts.h"
#include "render/model_draw.h"

// Obj3_GetPartTexture (3D objects): no part textures yet.
IDirect3DTexture9* Obj3_GetPartTexture(int32_t, int32_t, int32_t) { return nullptr; }
