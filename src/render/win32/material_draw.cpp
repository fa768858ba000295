// Model material drawing on the fixed-function path.
#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <vector>

#include "frame/lib.h"
#include "frame/scene.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/image_load.h"
#include "model/gpu_data.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "render/immediate.h"
#include "render/material_verts.h"
#include "render/model_draw.h"
#include "render/renderer.h"
#include "render/win32/bump.h"
#include "render/win32/shader_res.h"
#include "render/win32/skin_draw.h"

using namespace QVL;

namespace {

const DWORD kImmediateFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;
const DWORD kBufferFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Draw types by render kind: 0 this file's material draw, 1 GPU skinning, 2 the bump-mapped
// object, 3 the bump-mapped ground, 4 nothing.
const int kMaterialDrawType[10] = {0, 0, 0, 0, 0, 1, 2, 3, 0, 0};
const int kWholeDrawType[10] = {0, 0, 0, 0, 4, 1, 2, 3, 0, 0};

bool EditScreen()
{
    return g_Screen >= SCREEN_3D_POLYGON && g_Screen <= SCREEN_3D_WEIGHT;
}

bool IsDeformed(const MODEL3* m)
{
    if (m->animated == 0) return false;
    if (g_StudioFlag == 1 && (g_Mode == MODE_PREVIEW || EditScreen())) return false;
    return true;
}

void SetFillFromModel(int32_t fillMode)
{
    switch (fillMode) {
    case 0: g_Device->SetRenderState(D3DRS_FILLMODE, D3DFILL_POINT); break;
    case 1: g_Device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME); break;
    case 2:
    case 3: g_Device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID); break;
    default: break;
    }
}

// The scratch array of the immediate draws: the library's work array of six vertices per allowed
// polygon, at most as many as one draw call may take.
VERTEX_SINK ScratchSink(void (*flush)(void*, const IMMEDIATE_VERTEX*, int32_t), void* context)
{
    static std::vector<IMMEDIATE_VERTEX> fallback;
    IMMEDIATE_VERTEX* buf = reinterpret_cast<IMMEDIATE_VERTEX*>(g_Lib.workDraw);
    int64_t cap = (int64_t)g_Lib.maxPolygons * 6;
    if (!buf || cap < kSinkMinimum) {
        if (fallback.size() < (size_t)kSinkMinimum * 64) fallback.resize((size_t)kSinkMinimum * 64);
        buf = fallback.data();
        cap = (int64_t)fallback.size();
    }
    int64_t maxPrims = g_DeviceCaps.MaxPrimitiveCount > 0 ? (int64_t)g_DeviceCaps.MaxPrimitiveCount : 0xFFFF;
    cap = std::min(cap, maxPrims * 3);
    cap = std::max<int64_t>(cap - cap % 3, kSinkMinimum);
    return VERTEX_SINK{buf, (int32_t)cap, 0, flush, context};
}

void FlushTriangles(void*, const IMMEDIATE_VERTEX* v, int32_t n)
{
    g_Device->SetFVF(kImmediateFvf);
    g_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, (UINT)(n / 3), v, sizeof(IMMEDIATE_VERTEX));
}

CURVE_CORNER CornerOf(const IMMEDIATE_VERTEX& v)
{
    CURVE_CORNER c = {{v.x, v.y, v.z}, {v.nx, v.ny, v.nz},
                      {(int)((v.diffuse >> 16) & 0xFF), (int)((v.diffuse >> 8) & 0xFF), (int)(v.diffuse & 0xFF),
                       (int)(v.diffuse >> 24)},
                      {(int)((v.specular >> 16) & 0xFF), (int)((v.specular >> 8) & 0xFF), (int)(v.specular & 0xFF)},
                      v.u, v.v};
    return c;
}

void FlushCurved(void* level, const IMMEDIATE_VERTEX* v, int32_t n)
{
    for (int32_t i = 0; i + 2 < n; i += 3)
        Curve_TessellateTriangle(CornerOf(v[i]), CornerOf(v[i + 1]), CornerOf(v[i + 2]), *static_cast<int16_t*>(level));
}

// The immediate material draw of kinds 0 and 8: the triangles of material g drawn in batches.
void DrawImmediate(const MODEL3* m, int32_t g, const MATERIAL_DRAW_OPTIONS& options)
{
    const GROUP3& mat = m->groups[(size_t)g];
    int16_t level = m->subdivision;
    const bool curved = mat.shading == 5;
    VERTEX_SINK sink = ScratchSink(curved ? FlushCurved : FlushTriangles, &level);
    bool fillSet = false;
    // The fill mode is set once, before the first batch is drawn.
    struct FIRST {
        VERTEX_SINK* sink;
        void (*flush)(void*, const IMMEDIATE_VERTEX*, int32_t);
        void* context;
        int shading;
        bool* set;
    } first = {&sink, sink.flush, sink.context, mat.shading, &fillSet};
    sink.context = &first;
    sink.flush = [](void* c, const IMMEDIATE_VERTEX* v, int32_t n) {
        FIRST* f = static_cast<FIRST*>(c);
        if (!*f->set) {
            Draw_SetFillMode(f->shading);
            *f->set = true;
        }
        f->flush(f->context, v, n);
    };
    int32_t n = Render_EmitMaterial(m, g, options, sink);
    VertexSink_Flush(sink);
    Render_CountTriangles(n);
}

IDirect3DTexture9* ModelTexture(int32_t modelId, int32_t t)
{
    MODEL3_RENDER* r = Gpu_GetModelRes(modelId);
    if (!r || t < 0 || (size_t)t >= r->textures.size()) return nullptr;
    return r->textures[(size_t)t];
}

// The texture index a material shows: none (-1) when its switch is off (the GPU-skinned kind does
// not look at the switch); the current key of its group track while the track has keys; else its
// own (0 means none).
int32_t MaterialTextureIndex(const MODEL3* m, int32_t g, bool honourSwitch = true)
{
    const GROUP3& mat = m->groups[(size_t)g];
    if (honourSwitch && mat.textureSwitch == 0) return -1;
    if (m->currentMotion >= 0 && (size_t)m->currentMotion < m->motions.size()) {
        const GROUP_TRACK3& track = m->motions[(size_t)m->currentMotion].tracks[g];
        if (track.keyCount >= 1) {
            int32_t k = std::max(0, std::min(track.keyIndex, std::min(track.keyCount, kModel3GroupKeys) - 1));
            return track.keys[k].texture;
        }
    }
    return mat.texture == 0 ? -1 : mat.texture;
}

void SetToonStage()
{
    if (!g_ToonShading) return;
    g_Device->SetTexture(1, g_ToonTexture);
    g_Device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    g_Device->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    g_Device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
}

void ColorChannels(uint32_t c, int* r, int* g, int* b, int* a)
{
    *a = (int)(c >> 24), *r = (int)((c >> 16) & 0xFF), *g = (int)((c >> 8) & 0xFF), *b = (int)(c & 0xFF);
}

// Faces of 1 or 2 corners: points and lines, each once more mirrored when the material is.
void DrawPointsAndLines(const MODEL3* m, int32_t g, bool deformed)
{
    const GROUP3& mat = m->groups[(size_t)g];
    const int32_t faces = std::min<int32_t>(m->faceCount, (int32_t)m->faces.size());
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        if (face.group != g || (face.cornerCount != 1 && face.cornerCount != 2)) continue;
        float p[2][3];
        int c[2][4];
        UV2 t[2];
        for (int k = 0; k < face.cornerCount; ++k) {
            const int32_t* corner = face.corners[k];
            int32_t pi = corner[CORNER_POS];
            XYZ pos = deformed ? (pi >= 0 && (size_t)pi < m->deformedPositions.size() ? m->deformedPositions[(size_t)pi]
                                                                                       : XYZ{0, 0, 0})
                               : Model3_PositionAt(m, pi);
            p[k][0] = pos.x, p[k][1] = pos.y, p[k][2] = pos.z;
            ColorChannels(Gpu_PackColor(Gpu_CornerColor(m, mat, corner[CORNER_COLOR])), &c[k][0], &c[k][1], &c[k][2], &c[k][3]);
            t[k] = Model3_UVAt(m, corner[CORNER_UV]);
        }
        for (int pass = 0; pass < (mat.mirror == 1 ? 2 : 1); ++pass) {
            float sx = pass == 0 ? 1.0f : -1.0f;
            if (face.cornerCount == 1)
                Draw_Point3D(sx * p[0][0], p[0][1], p[0][2], c[0][0], c[0][1], c[0][2], c[0][3], t[0].u, t[0].v);
            else
                Draw_Line3D(sx * p[0][0], p[0][1], p[0][2], c[0][0], c[0][1], c[0][2], c[0][3], t[0].u, t[0].v,
                            sx * p[1][0], p[1][1], p[1][2], c[1][0], c[1][1], c[1][2], c[1][3], t[1].u, t[1].v);
            Render_CountTriangles(1);
        }
    }
}

// Steps 7 to 14 of the material draw for one material, with the prepared data of `dataModel`.
void DrawMaterialBody(int32_t object, int32_t dataModel, const MODEL3* m, int32_t g, bool deformed,
                      IDirect3DTexture9* texture, bool countBuffers)
{
    const GROUP3& mat = m->groups[(size_t)g];
    const bool gate = (Render_DrawEnabledMaterials() && mat.shading != 0) ||
                      (Render_DrawBloomMaterials() && mat.selfIllumination);
    if (!gate) return;
    Render_SetMaterialAlphaTest(m, (int16_t)g);
    // Inside the scene effect the pixel shader multiplies by the texture: white stands for none.
    g_Device->SetTexture(0, texture || !g_HlslDrawing ? texture : g_Scene.nullTexture);
    SetToonStage();
    g_Device->SetRenderState(D3DRS_SPECULARENABLE, mat.specular ? TRUE : FALSE);

    const bool inTable = dataModel >= 0 && dataModel < kGpuTableSize;
    MODEL3_RENDER* r = Gpu_GetModelRes(dataModel);
    const GPU_GROUP* rec = r && (size_t)g < r->groups.size() ? &r->groups[(size_t)g] : nullptr;
    switch (m->renderKind) {
    case 0:
        DrawImmediate(m, g, MATERIAL_DRAW_OPTIONS{deformed, object == 252, g_Renderer.highlightBone});
        break;
    case 1: {
        const GPU_KIND1* k = inTable ? g_GpuTables.kind1[dataModel] : nullptr;
        if (k && k->groups[g].count > 0) {
            g_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, (UINT)(k->groups[g].count / 3), k->groups[g].vertices.data(),
                                      sizeof(KIND1_VERTEX));
            if (countBuffers) Render_CountTriangles(k->groups[g].count / 3);
        }
        break;
    }
    case 2:
        if (rec && rec->count > 0 && rec->vertexBuffer) {
            g_Device->SetStreamSource(0, rec->vertexBuffer, 0, sizeof(BUFFER_VERTEX));
            g_Device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, (UINT)(rec->count / 3));
            if (countBuffers) Render_CountTriangles(rec->count / 3);
        }
        break;
    case 3: {
        const GPU_KIND3* k = inTable ? g_GpuTables.kind3[dataModel] : nullptr;
        if (k && rec && rec->count > 0 && rec->vertexBuffer && rec->indexBuffer) {
            g_Device->SetIndices(rec->indexBuffer);
            g_Device->SetStreamSource(0, rec->vertexBuffer, 0, sizeof(BUFFER_VERTEX));
            g_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, (UINT)k->groups[g].vertexCount, 0,
                                           (UINT)k->groups[g].triangleCount);
            if (countBuffers) Render_CountTriangles(k->groups[g].triangleCount);
        }
        break;
    }
    case 4:
        if (rec && rec->count > 0 && rec->vertexBuffer && rec->indexBuffer) {
            g_Device->SetFVF(kBufferFvf);
            g_Device->SetIndices(rec->indexBuffer);
            g_Device->SetStreamSource(0, rec->vertexBuffer, 0, sizeof(BUFFER_VERTEX));
            // Never more triangles than the buffer holds indices for.
            UINT tris = (UINT)std::min(mat.exportTriangleCount, rec->count / 3);
            g_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, (UINT)std::max(0, mat.exportVertexCount), 0, tris);
        }
        break;
    case 8: {
        const GPU_DISPLACEMENT* d = inTable ? g_GpuTables.displacement[dataModel] : nullptr;
        if (d && d->copy && d->copy->faceCount > 0 && (size_t)g < d->copy->groups.size())
            DrawImmediate(d->copy, g, MATERIAL_DRAW_OPTIONS{false, dataModel == 252, g_Renderer.highlightBone});
        break;
    }
    case 9: {
        const GPU_KIND9* k = inTable ? g_GpuTables.kind9[dataModel] : nullptr;
        if (k && k->groups[g].indexCount >= 3 && !k->groups[g].vertices.empty()) {
            const GPU_KIND9_GROUP& e = k->groups[g];
            g_Device->SetFVF(kBufferFvf);
            g_Device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, (UINT)e.vertices.size(), (UINT)(e.indexCount / 3),
                                             e.indices.data(), D3DFMT_INDEX32, e.vertices.data(), sizeof(BUFFER_VERTEX));
            if (countBuffers) Render_CountTriangles(e.polygonCount);
        }
        break;
    }
    default:
        break;
    }
    DrawPointsAndLines(m, g, deformed);
    Render_ClearMaterialAlphaTest(m, (int16_t)g);
}

void BeginModel(const MODEL3* m)
{
    SetFillFromModel(m->fillMode);
    g_Device->SetRenderState(D3DRS_LIGHTING, !g_ToonShading && g_LightOption == 1 && (m->light & 0xFF) == 1 ? TRUE : FALSE);
    if (m->renderKind >= 1 && m->renderKind <= 3) g_Device->SetFVF(kBufferFvf);
}

void EndModel()
{
    g_Device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    g_Device->SetTexture(0, nullptr);
}

} // namespace

void Render_SetMaterialAlphaTest(const MODEL3* m, int16_t material)
{
    if (!m || material < 0 || (size_t)material >= m->groups.size()) return;
    const GROUP3& g = m->groups[(size_t)material];
    if (g.alphaTest) {
        g_Device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
        g_Device->SetRenderState(D3DRS_ALPHAREF, (DWORD)(int32_t)(int16_t)g.alphaRef);
    } else {
        g_Device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    }
}

void Render_ClearMaterialAlphaTest(const MODEL3* m, int16_t material)
{
    if (!m || material < 0 || (size_t)material >= m->groups.size()) return;
    if (m->groups[(size_t)material].alphaTest) g_Device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
}

void Render_DrawMaterialOf(int32_t object, int32_t model, int32_t g)
{
    const MODEL3* m = Model3_GetById(model);
    if (!g_Device || !m || m->visible == 0 || m->faceCount == 0) return;
    if (g < 0 || g >= kModel3Groups || (size_t)g >= m->groups.size()) return;
    BeginModel(m);
    const int kind = m->renderKind;
    // Draw types 2 and 3 (the bump-mapped object and ground) draw through Bump_DrawKind below.
    if (kind >= 0 && kind <= 9 && kMaterialDrawType[kind] == 0) {
        const OBJECT* o = Object_GetById(object);
        int32_t t = MaterialTextureIndex(m, g);
        IDirect3DTexture9* texture = o && t >= 0 ? ModelTexture(o->modelId, t) : nullptr;
        DrawMaterialBody(object, model, m, g, IsDeformed(m), texture, true);
    } else if (kind >= 0 && kind <= 9 && kMaterialDrawType[kind] == 1) {
        static float time = 0.0f;
        ID3DXEffect* fx = Skin_Begin(model, &time);
        const int32_t t = MaterialTextureIndex(m, g, false);
        Skin_DrawMaterial(fx, m, model, g, t >= 0 ? ModelTexture(model, t) : nullptr, true);
        Skin_End();
    }
    if (kind == 6 || kind == 7) Bump_DrawKind(kind, object);
    EndModel();
}

// Part textures of 3D objects (their pose rows) come with the 3D objects.
IDirect3DTexture9* Obj3_GetPartTexture(int32_t row, int32_t part, int32_t texture);

void Render_DrawWholeModel(int32_t part, int32_t object, const MODEL3* q)
{
    const OBJECT* o = Object_GetById(object);
    const MODEL3* mo = o ? Model3_GetById(o->modelId) : nullptr;
    if (!g_Device || !q || !mo || mo->visible == 0 || q->faceCount == 0) return;
    BeginModel(q);
    const int kind = q->renderKind;
    if (kind >= 0 && kind <= 9 && kWholeDrawType[kind] == 0) {
        const int32_t groups = std::min<int32_t>(q->groupCount, (int32_t)q->groups.size());
        for (int32_t g = 0; g < groups; ++g) {
            int32_t t = MaterialTextureIndex(q, g);
            IDirect3DTexture9* texture = nullptr;
            if (t >= 0) texture = part != -1 ? Obj3_GetPartTexture(object, part, t) : ModelTexture(o->modelId, t);
            DrawMaterialBody(object, o->modelId, q, g, IsDeformed(q), texture, false);
        }
    } else if (kind >= 0 && kind <= 9 && kWholeDrawType[kind] == 1) {
        static float time = 0.0f;
        ID3DXEffect* fx = Skin_Begin(o->modelId, &time);
        const int32_t groups = std::min<int32_t>(q->groupCount, (int32_t)q->groups.size());
        for (int32_t g = 0; g < groups; ++g) {
            const int32_t t = MaterialTextureIndex(q, g, false);
            IDirect3DTexture9* texture = nullptr;
            if (t >= 0) texture = part != -1 ? Obj3_GetPartTexture(object, part, t) : ModelTexture(o->modelId, t);
            Skin_DrawMaterial(fx, q, o->modelId, g, texture, false);
        }
        Skin_End();
    }
    if (kind == 6 || kind == 7) Bump_DrawKind(kind, object);
    EndModel();
}

void Render_DrawOutlines()
{
    if (!g_Device) return;
    for (int32_t k = 0; k < Model3_Count(); ++k) {
        const MODEL3* m = Model3_GetById(k);
        if (!m || m->edge != 1) continue;
        // The model's ID names the object it is placed by; a model without one has no outline.
        const OBJECT_XFORM* xf = Object_GetById(k) ? Object_GetXform(k) : nullptr;
        if (!xf) continue;
        g_Device->SetTransform(D3DTS_WORLD, reinterpret_cast<const D3DMATRIX*>(&xf->world));
        SetFillFromModel(m->fillMode);
        g_Device->SetRenderState(D3DRS_LIGHTING, FALSE);
        const bool deformed = m->animated != 0 && !EditScreen();
        const int32_t groups = std::min<int32_t>(m->groupCount, (int32_t)m->groups.size());
        for (int32_t g = 0; g < groups; ++g) {
            const GROUP3& mat = m->groups[(size_t)g];
            if (mat.shading == 0) continue;
            g_Device->SetTexture(0, g_StudioFlag == 1 && m->fillMode == 3 ? nullptr : ModelTexture(k, mat.texture));
            bool fillSet = false;
            int shading = mat.shading;
            struct CTX {
                bool* set;
                int shading;
            } ctx = {&fillSet, shading == 5 ? 4 : shading};
            VERTEX_SINK sink = ScratchSink(
                [](void* c, const IMMEDIATE_VERTEX* v, int32_t n) {
                    CTX* x = static_cast<CTX*>(c);
                    if (!*x->set) {
                        Draw_SetFillMode(x->shading);
                        *x->set = true;
                    }
                    FlushTriangles(nullptr, v, n);
                },
                &ctx);
            Render_CountTriangles(Render_EmitOutline(m, g, deformed, sink));
            VertexSink_Flush(sink);
        }
    }
    g_Device->SetRenderState(D3DRS_LIGHTING, TRUE);
    g_Device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
}
