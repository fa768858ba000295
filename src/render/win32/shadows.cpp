// Drop shadows (a textured square under the object), planar shadows (the model flattened onto its
// plane in black) and stencil shadow volumes (counted in the stencil, then shaded by one quad).
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <algorithm>
#include <new>
#include <vector>

#include "frame/lib.h"
#include "frame/scene.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "model/gpu_data.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "render/camera.h"
#include "render/immediate.h"
#include "render/material_verts.h"
#include "render/renderer.h"
#include "render/shadow_volume.h"
#include "render/shadows.h"

using namespace QVL;

IDirect3DVertexBuffer9* g_ShadeQuad = nullptr;
IDirect3DTexture9* g_DropShadowTexture = nullptr;
QVL::SHADOW_VOLUME g_ShadowVolumes[kShadowObjects];

namespace {

const DWORD kImmediateFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;
const DWORD kQuadFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

struct QUAD_VERTEX {
    float x, y, z, rhw;
    DWORD color;
};

// The per-object tables hold kShadowObjects entries; higher IDs cast no shadow.
int32_t ObjectLimit()
{
    return std::min<int32_t>(Object_Count(), kShadowObjects);
}

const MATRIX* WorldOf(int32_t id)
{
    const OBJECT_XFORM* xf = Object_GetXform(id);
    return xf ? &xf->world : nullptr;
}

void SetWorld(const MATRIX& m)
{
    g_Device->SetTransform(D3DTS_WORLD, reinterpret_cast<const D3DMATRIX*>(&m));
}

void DrawTriangles(const std::vector<IMMEDIATE_VERTEX>& v)
{
    const UINT maxPrims = g_DeviceCaps.MaxPrimitiveCount > 0 ? g_DeviceCaps.MaxPrimitiveCount : 0xFFFF;
    const size_t tris = v.size() / 3;
    g_Device->SetFVF(kImmediateFvf);
    for (size_t at = 0; at < tris;) {
        const UINT n = (UINT)std::min<size_t>(tris - at, maxPrims);
        g_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, n, &v[at * 3], sizeof(IMMEDIATE_VERTEX));
        at += n;
    }
}

void DrawVolumes()
{
    g_Device->SetFVF(D3DFVF_XYZ);
    const UINT maxPrims = g_DeviceCaps.MaxPrimitiveCount > 0 ? g_DeviceCaps.MaxPrimitiveCount : 0xFFFF;
    for (int32_t i = 0; i < ObjectLimit(); ++i) {
        const SHADOW_VOLUME& v = g_ShadowVolumes[i];
        const MATRIX* w = WorldOf(i);
        if (v.count <= 0 || !w) continue;
        SetWorld(*w);
        const int32_t tris = v.count / 3;
        for (int32_t at = 0; at < tris;) {
            const UINT n = (UINT)std::min<int64_t>(tris - at, maxPrims);
            g_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, n, &v.positions[(size_t)at * 3], sizeof(VEC3));
            at += (int32_t)n;
        }
    }
}

} // namespace

void Shadow_DrawDropShadows()
{
    if (!g_Device || Model3_Count() == 0) return;
    if (!g_DropShadowTexture) {
        char path[512];
        Str_Format(path, sizeof path, "%s\\System\\shadow2d.png", g_Lib.dataFolder);
        if (FAILED(D3DXCreateTextureFromFileExA(g_Device, path, D3DX_DEFAULT, D3DX_DEFAULT, 0, 0, D3DFMT_A8R8G8B8,
                                                D3DPOOL_MANAGED, D3DX_FILTER_POINT, D3DX_FILTER_POINT, 0xFF000000,
                                                nullptr, nullptr, &g_DropShadowTexture)))
            g_DropShadowTexture = nullptr;
    }
    for (int32_t i = 0; i < Object_Count(); ++i) {
        const OBJECT* o = Object_GetById(i);
        const MODEL3* m = o ? Model3_GetById(o->modelId) : nullptr;
        const MATRIX* w = o ? WorldOf(i) : nullptr;
        if (!m || !w || (m->shadowKind != 1 && m->shadowKind != 11)) continue;
        const float s = m->shadowFactor * 5.0f;
        const float y = m->shadowHeight + (float)i * 0.001f;
        g_Device->SetTexture(0, g_DropShadowTexture);
        SetWorld(*w);
        Draw_Quad3D(-s, y, s, 0, 1, 0, 255, 255, 255, 255, 0, 0, s, y, s, 0, 1, 0, 255, 255, 255, 255, 1, 0, s, y, -s, 0, 1,
                    0, 255, 255, 255, 255, 1, 1, -s, y, -s, 0, 1, 0, 255, 255, 255, 255, 0, 1);
    }
}

void Shadow_DrawPlanar()
{
    if (!g_Device || Model3_Count() == 0) return;
    static std::vector<IMMEDIATE_VERTEX> verts;
    for (int32_t i = 0; i < Object_Count(); ++i) {
        const OBJECT* o = Object_GetById(i);
        MODEL3* m = o ? Model3_GetById(o->modelId) : nullptr;
        const MATRIX* w = o ? WorldOf(i) : nullptr;
        if (!m || !w || (m->shadowKind != 2 && m->shadowKind != 21)) continue;
        m->shadowNormal[0] = 0.0f, m->shadowNormal[1] = 1.0f, m->shadowNormal[2] = 0.0f;
        MATRIX flatten;
        Math_MatrixShadow(&flatten, 0.0f, 1.0f, 0.0f);
        SetWorld(*w);
        g_Device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
        g_Device->SetRenderState(D3DRS_LIGHTING, FALSE);
        g_Device->SetTexture(0, nullptr);
        verts.clear();
        const bool animated = m->animated != 0;
        auto emit = [&](const XYZ& p, const UV2& uv) {
            VEC3 q;
            Math_TransformPoint(&q, p.x, p.y, p.z, flatten);
            verts.push_back(IMMEDIATE_VERTEX{q.x, m->shadowHeight, q.z, 0, 1, 0, 0xFF000000u, 0, uv.u, uv.v});
        };
        auto at = [](const std::vector<XYZ>& a, int32_t k) {
            return k >= 0 && (size_t)k < a.size() ? a[(size_t)k] : XYZ{0, 0, 0};
        };
        if (m->secondMesh == 1) {
            const int32_t tris = std::min<int32_t>(m->secondTriangleCount, (int32_t)m->secondTriangles.size());
            for (int32_t t = 0; t < tris; ++t) {
                const SECOND_TRI3& r = m->secondTriangles[(size_t)t];
                auto pos = [&](int c) {
                    const int32_t k = r.corners[c][0];
                    if (animated) return at(m->secondSkinned, k);
                    if (k < 0 || (size_t)k >= m->secondPositions.size()) return XYZ{0, 0, 0};
                    return XYZ{m->secondPositions[(size_t)k].x, m->secondPositions[(size_t)k].y, m->secondPositions[(size_t)k].z};
                };
                for (int j = 0; j + 2 < std::min<int>(r.cornerCount, 4); ++j) {
                    emit(pos(0), UV2{0, 0});
                    emit(pos(j + 1), UV2{0, 0});
                    emit(pos(j + 2), UV2{0, 0});
                }
            }
        } else {
            const int32_t faces = std::min<int32_t>(m->faceCount, (int32_t)m->faces.size());
            for (int32_t f = 0; f < faces; ++f) {
                const FACE3& face = m->faces[(size_t)f];
                auto corner = [&](int c) {
                    const int32_t k = face.corners[c][CORNER_POS];
                    emit(animated ? at(m->deformedPositions, k) : Model3_PositionAt(m, k),
                         Model3_UVAt(m, face.corners[c][CORNER_UV]));
                };
                for (int j = 0; j + 2 < std::min<int>(face.cornerCount, 4); ++j) {
                    corner(0);
                    corner(j + 1);
                    corner(j + 2);
                }
            }
        }
        Render_CountTriangles((int32_t)(verts.size() / 3));
        if (!verts.empty()) DrawTriangles(verts);
    }
    g_Device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
}

void Shadow_BuildVolumes()
{
    static VEC3 lightOf[kShadowObjects];
    static bool caster[kShadowObjects];
    int64_t sum = 0;
    for (int32_t i = 0; i < kShadowObjects; ++i) {
        caster[i] = false;
        g_ShadowVolumes[i].count = 0;
    }
    const int32_t limit = ObjectLimit();
    for (int32_t i = 0; i < limit; ++i) {
        const OBJECT* o = Object_GetById(i);
        const MODEL3* m = o && o->visible ? Model3_GetById(o->modelId) : nullptr;
        if (!m || !Gpu_GetModelRes(o->modelId) || m->shadowKind != 3 || !WorldOf(i)) continue;
        // A world matrix without an inverse has no light in object space: no volume.
        D3DXMATRIX inv;
        if (!D3DXMatrixInverse(&inv, nullptr, reinterpret_cast<const D3DXMATRIX*>(WorldOf(i)))) continue;
        D3DXVECTOR3 l(g_LightPos[0], g_LightPos[1], g_LightPos[2]), lo;
        D3DXVec3TransformCoord(&lo, &l, &inv);
        lightOf[i] = VEC3{lo.x, lo.y, lo.z};
        caster[i] = true;
        sum += Shadow_CasterBudget(m);
    }
    SHADOW_GATHER g;
    g.budget = Shadow_CapBudget(sum);
    if (g.budget == 0) return;
    try {
        g.positions.reserve((size_t)g.budget);
        g.numbers.reserve((size_t)g.budget);
        g.owners.reserve((size_t)g.budget);
        for (int32_t i = 0; i < limit; ++i) {
            if (!caster[i]) continue;
            const OBJECT* o = Object_GetById(i);
            const MODEL3* m = Model3_GetById(o->modelId);
            const GPU_KIND3* k3 = o->modelId >= 0 && o->modelId < kGpuTableSize ? g_GpuTables.kind3[o->modelId] : nullptr;
            Shadow_GatherCaster(m, k3, i, g);
        }
        SHADOW_EDGES edges;
        Shadow_CollectEdges(g, lightOf, edges);
        Shadow_Extrude(g, edges, lightOf, g_ShadowVolumes);
    } catch (const std::bad_alloc&) {
        // No room this frame: no stencil shadows rather than a crash.
        for (SHADOW_VOLUME& v : g_ShadowVolumes) v.count = 0;
    }
}

void Shadow_StencilPasses()
{
    g_Device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    g_Device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
    g_Device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    g_Device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
    g_Device->SetRenderState(D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP);
    g_Device->SetRenderState(D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP);
    g_Device->SetRenderState(D3DRS_STENCILREF, 1);
    g_Device->SetRenderState(D3DRS_STENCILMASK, 0xFFFFFFFF);
    g_Device->SetRenderState(D3DRS_STENCILWRITEMASK, 0xFFFFFFFF);
    g_Device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_INCR);
    g_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    g_Device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
    g_Device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    DrawVolumes();
    g_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    g_Device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_DECR);
    DrawVolumes();
    g_Device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    g_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    g_Device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    g_Device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    g_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
}

void Shadow_DrawShadeQuad()
{
    g_Device->SetRenderState(D3DRS_ZENABLE, FALSE);
    g_Device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
    g_Device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    g_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    g_Device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    g_Device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    g_Device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    g_Device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    g_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    g_Device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    g_Device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    g_Device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    g_Device->SetRenderState(D3DRS_STENCILREF, 1);
    g_Device->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_LESSEQUAL);
    g_Device->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
    g_Device->SetFVF(kQuadFvf);
    g_Device->SetStreamSource(0, g_ShadeQuad, 0, sizeof(QUAD_VERTEX));
    g_Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    g_Device->SetRenderState(D3DRS_ZENABLE, TRUE);
    g_Device->SetRenderState(D3DRS_STENCILENABLE, FALSE);
}

// Stencil shadows need stencil bits in the depth buffer in use; without them nothing counts and
// the shade quad would darken the whole window.
bool DepthHasStencil()
{
    IDirect3DSurface9* ds = nullptr;
    if (FAILED(g_Device->GetDepthStencilSurface(&ds)) || !ds) return false;
    D3DSURFACE_DESC d;
    const bool ok = SUCCEEDED(ds->GetDesc(&d)) && (d.Format == D3DFMT_D24S8 || d.Format == D3DFMT_D24X4S4 ||
                                                   d.Format == D3DFMT_D15S1 || d.Format == D3DFMT_D24FS8);
    ds->Release();
    return ok;
}

void Shadow_DrawStencil()
{
    if (!g_Device || g_Lib.chipClass <= 0 || !g_StencilShadows || !DepthHasStencil()) return;
    if (!g_ShadeQuad) {
        if (FAILED(g_Device->CreateVertexBuffer(4 * sizeof(QUAD_VERTEX), D3DUSAGE_WRITEONLY, kQuadFvf, D3DPOOL_MANAGED,
                                                &g_ShadeQuad, nullptr))) {
            g_ShadeQuad = nullptr;
            return;
        }
        Shadow_BuildShadeQuad();
    }
    Shadow_BuildVolumes();
    Shadow_StencilPasses();
    Shadow_DrawShadeQuad();
}

void Shadow_BuildShadeQuad()
{
    if (!g_ShadeQuad) return;
    const float* c = g_Scene.shadowColor;
    auto channel = [](float v) { return (DWORD)(int32_t)(v * 255.0f) & 0xFF; };
    const DWORD color = channel(c[3]) << 24 | channel(c[0]) << 16 | channel(c[1]) << 8 | channel(c[2]);
    const float w = (float)g_Lib.windowWidth, h = (float)g_Lib.windowHeight;
    QUAD_VERTEX* v = nullptr;
    if (FAILED(g_ShadeQuad->Lock(0, 0, (void**)&v, 0)) || !v) return;
    v[0] = QUAD_VERTEX{0, h, 0, 1, color};
    v[1] = QUAD_VERTEX{0, 0, 0, 1, color};
    v[2] = QUAD_VERTEX{w, h, 0, 1, color};
    v[3] = QUAD_VERTEX{w, 0, 0, 1, color};
    g_ShadeQuad->Unlock();
}
