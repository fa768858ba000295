// Stand-ins for what the model drawing calls in pieces being built beside it; each goes when the
// real one lands (curved triangles, the part textures of 3D objects).
#include <windows.h>
#include <d3d9.h>

#include "frame/win32/app_frame.h"
#include "render/material_verts.h"
#include "render/model_draw.h"

static DWORD Pack(int r, int g, int b, int a)
{
    return (DWORD)a << 24 | (DWORD)(r & 255) << 16 | (DWORD)(g & 255) << 8 | (DWORD)(b & 255);
}

// Curve_TessellateTriangle (curved triangles): the flat triangle.
void Curve_TessellateTriangle(const CURVE_CORNER& c0, const CURVE_CORNER& c1, const CURVE_CORNER& c2, int16_t)
{
    if (!g_Device) return;
    QVL::IMMEDIATE_VERTEX v[3];
    const CURVE_CORNER* c[3] = {&c0, &c1, &c2};
    for (int i = 0; i < 3; ++i)
        v[i] = QVL::IMMEDIATE_VERTEX{c[i]->position[0], c[i]->position[1], c[i]->position[2], c[i]->normal[0],
                                     c[i]->normal[1], c[i]->normal[2],
                                     Pack(c[i]->diffuse[0], c[i]->diffuse[1], c[i]->diffuse[2], c[i]->diffuse[3]),
                                     Pack(c0.specular[0], c0.specular[1], c0.specular[2], 0), c[i]->u, c[i]->v};
    g_Device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);
    g_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, sizeof v[0]);
}

// Obj3_GetPartTexture (3D objects): no part textures yet.
IDirect3DTexture9* Obj3_GetPartTexture(int32_t, int32_t, int32_t) { return nullptr; }
