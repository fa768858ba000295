// Stand-ins for what the model drawing calls in pieces being built beside it; each goes when the
// real one lands (the renderer's switches and counter, immediate drawing, curved triangles, the
// part textures of 3D objects).
#include <windows.h>
#include <d3d9.h>

#include "frame/win32/app_frame.h"
#include "render/material_verts.h"
#include "render/model_draw.h"

#if !__has_include("render/renderer.h")
// Render_DrawEnabledMaterials, Render_DrawBloomMaterials, Render_CountTriangles (g_Renderer):
// the construction values, and a counter of our own.
static int32_t s_Triangles;
bool Render_DrawEnabledMaterials() { return true; }
bool Render_DrawBloomMaterials() { return false; }
void Render_CountTriangles(int32_t n) { s_Triangles += n; }
#endif

static DWORD Pack(int r, int g, int b, int a)
{
    return (DWORD)a << 24 | (DWORD)(r & 255) << 16 | (DWORD)(g & 255) << 8 | (DWORD)(b & 255);
}

#if !__has_include("render/immediate.h")

// Draw_SetFillMode (immediate drawing): fill, then shade mode.
void Draw_SetFillMode(int code)
{
    if (!g_Device || code < 1 || code > 5) return;
    g_Device->SetRenderState(D3DRS_FILLMODE, code == 1 ? D3DFILL_POINT : code == 2 ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
    g_Device->SetRenderState(D3DRS_SHADEMODE, code == 3 ? D3DSHADE_FLAT : D3DSHADE_GOURAUD);
}

static void DrawUnlit(D3DPRIMITIVETYPE type, const QVL::IMMEDIATE_VERTEX* v)
{
    if (!g_Device) return;
    g_Device->SetRenderState(D3DRS_LIGHTING, FALSE);
    g_Device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);
    g_Device->DrawPrimitiveUP(type, 1, v, sizeof *v);
    g_Device->SetRenderState(D3DRS_LIGHTING, TRUE);
}

// Draw_Point3D, Draw_Line3D (immediate drawing): unlit, one primitive.
void Draw_Point3D(float x, float y, float z, int r, int g, int b, int a, float u, float v)
{
    QVL::IMMEDIATE_VERTEX p = {x, y, z, 0, 0, 0, Pack(r, g, b, a), 0, u, v};
    DrawUnlit(D3DPT_POINTLIST, &p);
}

void Draw_Line3D(float x1, float y1, float z1, int r1, int g1, int b1, int a1, float u1, float v1, float x2, float y2,
                 float z2, int r2, int g2, int b2, int a2, float u2, float v2)
{
    QVL::IMMEDIATE_VERTEX p[2] = {{x1, y1, z1, 0, 0, 0, Pack(r1, g1, b1, a1), 0, u1, v1},
                                  {x2, y2, z2, 0, 0, 0, Pack(r2, g2, b2, a2), 0, u2, v2}};
    DrawUnlit(D3DPT_LINELIST, p);
}
#endif

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
