#include "render/win32/skin_draw.h"

#include "frame/lib.h"
#include "frame/log.h"
#include "frame/scene.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/image_load.h"
#include "model/gpu_data.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "render/model_draw.h"
#include "render/renderer.h"
#include "render/skin_palette.h"
#include "render/win32/shader_res.h"

using namespace QVL;

namespace {

const DWORD kSkinFvf = D3DFVF_XYZB2 | D3DFVF_LASTBETA_UBYTE4 | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Software vertex processing can only be switched on a device made for mixed processing; on any
// other device the call fails (or, on some drivers, breaks the next draw), so it is left alone.
bool MixedDevice()
{
    D3DDEVICE_CREATION_PARAMETERS cp;
    return SUCCEEDED(g_Device->GetCreationParameters(&cp)) && (cp.BehaviorFlags & D3DCREATE_MIXED_VERTEXPROCESSING);
}

// Materials refused because they blend bones past the palette, reported once per model and reset.
bool s_Reported[kGpuTableSize];

} // namespace

ID3DXEffect* Skin_Begin(int32_t modelId, float* time)
{
    if (g_HlslEffects[HLSL_BONE].reload)
        for (bool& r : s_Reported) r = false;
    ID3DXEffect* fx = Render_LoadEffectSlot(HLSL_BONE, "Bone");
    if (MixedDevice()) g_Device->SetSoftwareVertexProcessing(TRUE);
    if (!fx) return nullptr;

    const MODEL3* model = Model3_GetById(modelId);
    MODEL3_RENDER* r = Gpu_GetModelRes(modelId);
    const int32_t bones = model ? model->boneCount : 0;
    const int32_t n = bones < kSkinPaletteSize ? (bones > 0 ? bones : 0) : kSkinPaletteSize;
    VEC3 rest[kSkinPaletteSize];
    MATRIX pose[kSkinPaletteSize];
    int32_t available = 0;
    for (int32_t i = 0; i < n; ++i) {
        Motion3_GetBoneRestPosition(&rest[i], modelId, i);
        if (r && (size_t)i < r->bonePoses.size()) pose[i] = r->bonePoses[(size_t)i].pose;
        else Math_MatrixIdentity(&pose[i]);
        available = i + 1;
    }
    MATRIX palette[kSkinPaletteSize];
    Skin_BuildPalette(palette, n, rest, pose, available);
    // The whole palette: entries past the bones are the identity rather than another model's.
    fx->SetMatrixArray("matWorld", (const D3DXMATRIX*)palette, kSkinPaletteSize);

    g_Device->SetRenderState(D3DRS_INDEXEDVERTEXBLENDENABLE, TRUE);
    g_Device->SetRenderState(D3DRS_VERTEXBLEND, D3DVBF_1WEIGHTS);
    g_Device->SetFVF(kSkinFvf);
    fx->SetTechnique("BoneRender");
    *time += 0.01f;
    fx->SetFloat("fTime", *time);
    D3DXMATRIX w, v, p, wvp;
    g_Device->GetTransform(D3DTS_WORLD, &w);
    g_Device->GetTransform(D3DTS_VIEW, &v);
    g_Device->GetTransform(D3DTS_PROJECTION, &p);
    wvp = w * v * p;
    fx->SetMatrix("mViewProj", &wvp);
    return fx;
}

void Skin_DrawMaterial(ID3DXEffect* fx, const MODEL3* m, int32_t modelId, int32_t g, IDirect3DTexture9* texture,
                       bool countTriangles)
{
    if (!fx || !m || g < 0 || (size_t)g >= m->groups.size()) return;
    const GROUP3& mat = m->groups[(size_t)g];
    MODEL3_RENDER* r = Gpu_GetModelRes(modelId);
    const GPU_GROUP* rec = r && (size_t)g < r->groups.size() ? &r->groups[(size_t)g] : nullptr;
    if (mat.shading == 0 || !rec || rec->count <= 0 || !rec->vertexBuffer || !rec->indexBuffer) return;
    // The buffers were built from the data model's material; its weights say which bones they use.
    const MODEL3* data = Model3_GetById(modelId);
    const GROUP3& built = data && (size_t)g < data->groups.size() ? data->groups[(size_t)g] : mat;
    if (!Skin_MaterialFitsPalette(built, kSkinPaletteSize)) {
        if (modelId >= 0 && modelId < kGpuTableSize && !s_Reported[modelId]) {
            s_Reported[modelId] = true;
            Log_Printf("*** Error *** model %d: a material blends bones past the %d of the palette", (int)modelId,
                       (int)kSkinPaletteSize);
        }
        return;
    }
    D3DVERTEXBUFFER_DESC vd;
    if (FAILED(rec->vertexBuffer->GetDesc(&vd))) return;
    UINT vertices = 0, triangles = 0;
    if (!Skin_DrawCounts(mat.exportVertexCount, mat.exportTriangleCount, (int32_t)(vd.Size / sizeof(SKIN_VERTEX)),
                         rec->count, &vertices, &triangles))
        return;

    Render_SetMaterialAlphaTest(m, (int16_t)g);
    // Inside the scene effect the pixel shader multiplies by the texture: white stands for none.
    g_Device->SetTexture(0, texture || !g_HlslDrawing ? texture : g_Scene.nullTexture);
    if (g_ToonShading) {
        g_Device->SetTexture(1, g_ToonTexture);
        g_Device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        g_Device->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
        g_Device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    }
    g_Device->SetRenderState(D3DRS_SPECULARENABLE, mat.specular ? TRUE : FALSE);
    g_Device->SetStreamSource(0, rec->vertexBuffer, 0, sizeof(SKIN_VERTEX));
    g_Device->SetIndices(rec->indexBuffer);
    if (!g_HlslDrawing) {
        UINT passes = 0;
        if (SUCCEEDED(fx->Begin(&passes, 0))) {
            for (UINT i = 0; i < passes; ++i) {
                if (FAILED(fx->BeginPass(i))) continue;
                g_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, vertices, 0, triangles);
                if (countTriangles) Render_CountTriangles(rec->count / 3);
                fx->EndPass();
            }
            fx->End();
        }
    } else {
        // Inside a pass of the scene effect: its shaders draw, the Bone effect is not begun.
        g_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, vertices, 0, triangles);
        if (countTriangles) Render_CountTriangles(rec->count / 3);
    }
    Render_ClearMaterialAlphaTest(m, (int16_t)g);
}

void Skin_End()
{
    g_Device->SetVertexShader(nullptr);
    g_Device->SetRenderState(D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE);
    g_Device->SetRenderState(D3DRS_VERTEXBLEND, D3DVBF_DISABLE);
    if (MixedDevice()) g_Device->SetSoftwareVertexProcessing(FALSE);
}
