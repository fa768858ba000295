// Immediate drawing on the device: each call draws its primitive at once from memory.
#include <windows.h>
#include <d3d9.h>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "render/immediate.h"

using namespace QVL;

#define QV_SAME(a, b) ((uint32_t)(a) == (uint32_t)(b))
static_assert(QV_SAME(RS_FILLMODE, D3DRS_FILLMODE) && QV_SAME(RS_SHADEMODE, D3DRS_SHADEMODE) &&
                  QV_SAME(RS_SRCBLEND, D3DRS_SRCBLEND) && QV_SAME(RS_DESTBLEND, D3DRS_DESTBLEND) &&
                  QV_SAME(RS_BLENDOP, D3DRS_BLENDOP),
              "render states");
static_assert(QV_SAME(BLEND_ONE, D3DBLEND_ONE) && QV_SAME(BLEND_SRCALPHA, D3DBLEND_SRCALPHA) &&
                  QV_SAME(BLEND_INVSRCALPHA, D3DBLEND_INVSRCALPHA) && QV_SAME(BLENDOP_ADD, D3DBLENDOP_ADD) &&
                  QV_SAME(BLENDOP_REVSUBTRACT, D3DBLENDOP_REVSUBTRACT),
              "blend values");
static_assert(QV_SAME(FILL_POINT, D3DFILL_POINT) && QV_SAME(FILL_WIREFRAME, D3DFILL_WIREFRAME) &&
                  QV_SAME(FILL_SOLID, D3DFILL_SOLID) && QV_SAME(SHADE_FLAT, D3DSHADE_FLAT) &&
                  QV_SAME(SHADE_GOURAUD, D3DSHADE_GOURAUD),
              "fill values");
#undef QV_SAME

namespace {

const DWORD kFvf2D = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
const DWORD kFvf3D = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

struct VERTEX2D {
    float x, y, z, rhw;
    DWORD color;
    float u, v;
};
static_assert(sizeof(VERTEX2D) == 28, "2D vertex stride");

// IMMEDIATE_VERTEX.
struct VERTEX3D {
    float x, y, z;
    float nx, ny, nz;
    DWORD diffuse, specular;
    float u, v;
};
static_assert(sizeof(VERTEX3D) == 40, "3D vertex stride");

VERTEX2D V2(const MAP2D& map, int x, int y, int r, int g, int b, int a, float u, float v)
{
    VERTEX2D out;
    Draw_Map2DPoint(map, (float)x, (float)y, &out.x, &out.y);
    out.z = 0.0f;
    out.rhw = 1.0f;
    out.color = Draw_PackColor(r, g, b, a);
    out.u = u;
    out.v = v;
    return out;
}

VERTEX3D V3(float x, float y, float z, float nx, float ny, float nz, int r, int g, int b, int a, float u, float v)
{
    return VERTEX3D{x, y, z, nx, ny, nz, Draw_PackColor(r, g, b, a), 0, u, v};
}

void Draw2D(D3DPRIMITIVETYPE type, UINT primitives, const VERTEX2D* v)
{
    g_Device->SetFVF(kFvf2D);
    g_Device->DrawPrimitiveUP(type, primitives, v, sizeof(VERTEX2D));
}

void SetBlendStates(const BLEND_STATES& s)
{
    g_Device->SetRenderState(D3DRS_BLENDOP, s.op);
    g_Device->SetRenderState(D3DRS_DESTBLEND, s.dest);
    g_Device->SetRenderState(D3DRS_SRCBLEND, s.src);
}

// Points and lines are drawn unlit.
void DrawUnlit(D3DPRIMITIVETYPE type, const VERTEX3D* v)
{
    g_Device->SetRenderState(D3DRS_LIGHTING, FALSE);
    g_Device->SetFVF(kFvf3D);
    g_Device->DrawPrimitiveUP(type, 1, v, sizeof(VERTEX3D));
    g_Device->SetRenderState(D3DRS_LIGHTING, TRUE);
}

} // namespace

MAP2D Draw_Current2DMap()
{
    const bool game = Draw_IsGameScreenMode();
    float panX = 0.0f, panY = 0.0f;
    if (game) Draw_MainViewPan(&panX, &panY);
    return Draw_MakeMap2D(g_WindowScale[0], g_WindowScale[1], game, g_Lib.monitorWidth, g_Lib.monitorHeight, panX,
                          panY);
}

void Draw_Point2D(int x, int y, int r, int g, int b, int a, float u, float v)
{
    if (!g_Device) return;
    VERTEX2D p = V2(Draw_Current2DMap(), x, y, r, g, b, a, u, v);
    Draw2D(D3DPT_POINTLIST, 1, &p);
}

void Draw_Point2DSimple(int x, int y, int r, int g, int b, int a) { Draw_Point2D(x, y, r, g, b, a, 0.0f, 0.0f); }

void Draw_Line2D(int x1, int y1, int r1, int g1, int b1, int a1, float u1, float v1, int x2, int y2, int r2, int g2,
                 int b2, int a2, float u2, float v2)
{
    if (!g_Device) return;
    MAP2D map = Draw_Current2DMap();
    VERTEX2D v[2] = {V2(map, x1, y1, r1, g1, b1, a1, u1, v1), V2(map, x2, y2, r2, g2, b2, a2, u2, v2)};
    Draw2D(D3DPT_LINELIST, 1, v);
}

void Draw_Line2DSimple(int x1, int y1, int x2, int y2, int r, int g, int b, int a)
{
    Draw_Line2D(x1, y1, r, g, b, a, 0.0f, 0.0f, x2, y2, r, g, b, a, 0.0f, 0.0f);
}

void Draw_Triangle2D(int x1, int y1, int r1, int g1, int b1, int a1, float u1, float v1, int x2, int y2, int r2,
                     int g2, int b2, int a2, float u2, float v2, int x3, int y3, int r3, int g3, int b3, int a3,
                     float u3, float v3)
{
    if (!g_Device) return;
    MAP2D map = Draw_Current2DMap();
    VERTEX2D v[3] = {V2(map, x1, y1, r1, g1, b1, a1, u1, v1), V2(map, x2, y2, r2, g2, b2, a2, u2, v2),
                     V2(map, x3, y3, r3, g3, b3, a3, u3, v3)};
    Draw2D(D3DPT_TRIANGLELIST, 1, v);
}

void Draw_Quad2D(int x1, int y1, int r1, int g1, int b1, int a1, float u1, float v1, int x2, int y2, int r2, int g2,
                 int b2, int a2, float u2, float v2, int x3, int y3, int r3, int g3, int b3, int a3, float u3,
                 float v3, int x4, int y4, int r4, int g4, int b4, int a4, float u4, float v4)
{
    if (!g_Device) return;
    MAP2D map = Draw_Current2DMap();
    VERTEX2D v[4] = {V2(map, x1, y1, r1, g1, b1, a1, u1, v1), V2(map, x2, y2, r2, g2, b2, a2, u2, v2),
                     V2(map, x3, y3, r3, g3, b3, a3, u3, v3), V2(map, x4, y4, r4, g4, b4, a4, u4, v4)};
    // The stored blend lasts for this quad only.
    QUAD_BLEND_PLAN plan = Draw_TakeQuadBlendPlan();
    if (plan.beforeValid) SetBlendStates(plan.before);
    Draw2D(D3DPT_TRIANGLEFAN, 2, v);
    SetBlendStates(plan.after);
}

void Draw_Rect2D(int x1, int y1, int x2, int y2, int r, int g, int b, int a)
{
    Draw_Line2DSimple(x1, y1, x2, y1, r, g, b, a);
    Draw_Line2DSimple(x2, y1, x2, y2, r, g, b, a);
    Draw_Line2DSimple(x1, y2, x2, y2, r, g, b, a);
    Draw_Line2DSimple(x1, y1, x1, y2, r, g, b, a);
}

void Draw_Point3D(float x, float y, float z, int r, int g, int b, int a, float u, float v)
{
    if (!g_Device) return;
    VERTEX3D p = V3(x, y, z, 0, 0, 0, r, g, b, a, u, v);
    DrawUnlit(D3DPT_POINTLIST, &p);
}

void Draw_Line3D(float x1, float y1, float z1, int r1, int g1, int b1, int a1, float u1, float v1, float x2,
                 float y2, float z2, int r2, int g2, int b2, int a2, float u2, float v2)
{
    if (!g_Device) return;
    VERTEX3D v[2] = {V3(x1, y1, z1, 0, 0, 0, r1, g1, b1, a1, u1, v1), V3(x2, y2, z2, 0, 0, 0, r2, g2, b2, a2, u2, v2)};
    DrawUnlit(D3DPT_LINELIST, v);
}

void Draw_Triangle3D(float x1, float y1, float z1, float nx1, float ny1, float nz1, int r1, int g1, int b1, int a1,
                     float u1, float v1, float x2, float y2, float z2, float nx2, float ny2, float nz2, int r2,
                     int g2, int b2, int a2, float u2, float v2, float x3, float y3, float z3, float nx3, float ny3,
                     float nz3, int r3, int g3, int b3, int a3, float u3, float v3)
{
    if (!g_Device) return;
    VERTEX3D v[3] = {V3(x1, y1, z1, nx1, ny1, nz1, r1, g1, b1, a1, u1, v1),
                     V3(x2, y2, z2, nx2, ny2, nz2, r2, g2, b2, a2, u2, v2),
                     V3(x3, y3, z3, nx3, ny3, nz3, r3, g3, b3, a3, u3, v3)};
    g_Device->SetFVF(kFvf3D);
    g_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, sizeof(VERTEX3D));
}

void Draw_Quad3D(float x1, float y1, float z1, float nx1, float ny1, float nz1, int r1, int g1, int b1, int a1,
                 float u1, float v1, float x2, float y2, float z2, float nx2, float ny2, float nz2, int r2, int g2,
                 int b2, int a2, float u2, float v2, float x3, float y3, float z3, float nx3, float ny3, float nz3,
                 int r3, int g3, int b3, int a3, float u3, float v3, float x4, float y4, float z4, float nx4,
                 float ny4, float nz4, int r4, int g4, int b4, int a4, float u4, float v4)
{
    Draw_Triangle3D(x1, y1, z1, nx1, ny1, nz1, r1, g1, b1, a1, u1, v1, x2, y2, z2, nx2, ny2, nz2, r2, g2, b2, a2, u2,
                    v2, x3, y3, z3, nx3, ny3, nz3, r3, g3, b3, a3, u3, v3);
    Draw_Triangle3D(x1, y1, z1, nx1, ny1, nz1, r1, g1, b1, a1, u1, v1, x3, y3, z3, nx3, ny3, nz3, r3, g3, b3, a3, u3,
                    v3, x4, y4, z4, nx4, ny4, nz4, r4, g4, b4, a4, u4, v4);
}

void Draw_ApplyBlendMode()
{
    BLEND_STATES s;
    if (g_Device && Draw_BlendStates(g_BlendMode, &s)) SetBlendStates(s);
}

void Draw_SetFillMode(int code)
{
    FILL_STATES s;
    if (!g_Device || !Draw_FillStates(code, &s)) return;
    g_Device->SetRenderState(D3DRS_FILLMODE, s.fill);
    g_Device->SetRenderState(D3DRS_SHADEMODE, s.shade);
}

void Draw_SetWorldTransform(float x, float y, float z, float rx, float ry, float rz, float sx, float sy, float sz)
{
    if (!g_Device) return;
    MATRIX w;
    Draw_WorldMatrix(&w, x, y, z, rx, ry, rz, sx, sy, sz);
    g_Device->SetTransform(D3DTS_WORLD, (const D3DMATRIX*)&w);
}

void Render_SetDefaultStates()
{
    if (!g_Device) return;
    IDirect3DDevice9* d = g_Device;
    d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetRenderState(D3DRS_DITHERENABLE, TRUE);
    d->SetRenderState(D3DRS_ZENABLE, TRUE);
    d->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    d->SetRenderState(D3DRS_ALPHAREF, 1);
    d->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    d->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
}
