// Render kind 6: the model drawn with "BumpMap" (a decal and a normal map per material).
#include <algorithm>
#include <vector>

#include "frame/lib.h"
#include "frame/log.h"
#include "frame/scene.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "model/gpu_data.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "render/bump_verts.h"
#include "render/camera.h"
#include "render/immediate.h"
#include "render/win32/bump.h"
#include "render/win32/shader_res.h"

using namespace QVL;

QVL::BUMP_MAP g_BumpMap;

namespace {

const int kSlot = 3;

const D3DVERTEXELEMENT9 kBumpElements[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TANGENT, 0},
    {0, 36, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END()};

ID3DXEffect* LoadFrom(const char* name, ID3DXBuffer** errors, char* path, size_t cap)
{
    Str_Format(path, cap, "%s/System/HLSL/%s", g_Lib.dataFolder, name);
    ID3DXEffect* fx = nullptr;
    if (*errors) (*errors)->Release(), *errors = nullptr;
    if (FAILED(D3DXCreateEffectFromFileA(g_Device, path, nullptr, nullptr, D3DXSHADER_DEBUG, nullptr, &fx, errors)))
        fx = nullptr;
    return fx;
}

bool Deformed(const MODEL3* m)
{
    if (m->animated == 0) return false;
    if (g_StudioFlag == 1 && (g_Mode == MODE_PREVIEW || (g_Screen >= SCREEN_3D_POLYGON && g_Screen <= SCREEN_3D_WEIGHT)))
        return false;
    return true;
}

IDirect3DTexture9* ModelTexture(int32_t modelId, int32_t t)
{
    MODEL3_RENDER* r = Gpu_GetModelRes(modelId);
    if (!r || t <= 0 || (size_t)t >= r->textures.size()) return nullptr;
    return r->textures[(size_t)t];
}

// The decal: the current key of the material's group track while it has keys, else its own.
int32_t DecalIndex(const MODEL3* m, int32_t g)
{
    if (m->currentMotion >= 0 && (size_t)m->currentMotion < m->motions.size()) {
        const GROUP_TRACK3& track = m->motions[(size_t)m->currentMotion].tracks[g];
        if (track.keyCount >= 1) {
            int32_t k = std::max(0, std::min(track.keyIndex, std::min(track.keyCount, kModel3GroupKeys) - 1));
            return track.keys[k].texture;
        }
    }
    return m->groups[(size_t)g].texture;
}

void Identity(D3DXMATRIX* m) { D3DXMatrixIdentity(m); }

} // namespace

void Bump_ShowEffectError(ID3DXBuffer* errors, const char* path)
{
    const char* text = errors && errors->GetBufferPointer() ? (const char*)errors->GetBufferPointer() : path;
    MessageBoxA(g_MainWnd, text, "ERROR", MB_OK);
}

void BumpMap_Construct()
{
    g_BumpMap = BUMP_MAP{};
}

void BumpMap_Init()
{
    if (!g_Device) return;
    SHADER_EFFECT& slot = g_HlslEffects[kSlot];
    if (!slot.effect) {
        char path[512];
        ID3DXBuffer* errors = nullptr;
        slot.effect = LoadFrom("BumpMap.fx", &errors, path, sizeof path);
        if (!slot.effect) {
            Log_Printf("*** ERROR *** BumpMap.fx");
            slot.effect = LoadFrom("BumpMap.fxo", &errors, path, sizeof path);
        }
        if (!slot.effect) {
            Log_Printf("*** ERROR *** BumpMap.fxo");
            Bump_ShowEffectError(errors, path);
            // One box per reset: the next try comes with the next reload.
            slot.reload = 0;
        }
        if (errors) errors->Release();
        if (!slot.effect) return;
    }
    if (!g_BumpMap.declaration && FAILED(g_Device->CreateVertexDeclaration(kBumpElements, &g_BumpMap.declaration))) {
        g_BumpMap.declaration = nullptr;
        return;
    }
    ID3DXEffect* fx = slot.effect;
    g_BumpMap.technique = fx->GetTechniqueByName("BumpMapDraw");
    g_BumpMap.wvp = fx->GetParameterByName(nullptr, "mWVP");
    g_BumpMap.lightDir = fx->GetParameterByName(nullptr, "vLightDir");
    g_BumpMap.eyePos = fx->GetParameterByName(nullptr, "vEyePos");
    g_BumpMap.decal = fx->GetParameterByName(nullptr, "DecaleTex");
    g_BumpMap.normalMap = fx->GetParameterByName(nullptr, "NormalMap");
    slot.reload = 0;
}

void BumpMap_Draw(int32_t object)
{
    ID3DXEffect* fx = g_HlslEffects[kSlot].effect;
    const OBJECT* o = Object_GetById(object);
    const MODEL3* m = o ? Model3_GetById(o->modelId) : nullptr;
    if (!g_Device || !fx || !m || !g_BumpMap.declaration || !g_BumpMap.technique) return;
    D3DXMATRIX world, view, proj;
    g_Device->GetTransform(D3DTS_WORLD, &world);
    g_Device->GetTransform(D3DTS_VIEW, &view);
    g_Device->GetTransform(D3DTS_PROJECTION, &proj);
    fx->SetTechnique(g_BumpMap.technique);
    UINT passes = 0;
    if (FAILED(fx->Begin(&passes, 0))) return;
    fx->BeginPass(0);
    D3DXMATRIX wvp = world * view * proj;
    fx->SetMatrix(g_BumpMap.wvp, &wvp);
    // The light into model space; a world matrix without an inverse leaves it in world space.
    D3DXMATRIX inv;
    if (!D3DXMatrixInverse(&inv, nullptr, &world)) Identity(&inv);
    D3DXVECTOR4 light(g_LightPos[0], g_LightPos[1], g_LightPos[2], 0.0f), l;
    D3DXVec4Transform(&l, &light, &inv);
    D3DXVECTOR3 l3(l.x, l.y, l.z);
    D3DXVec3Normalize(&l3, &l3);
    D3DXVECTOR4 lightDir(l3.x, l3.y, l3.z, 0.8f);
    fx->SetVector(g_BumpMap.lightDir, &lightDir);
    D3DXVECTOR4 eye(g_Scene.eye[0], g_Scene.eye[1], g_Scene.eye[2], 0.0f);
    fx->SetVector(g_BumpMap.eyePos, &eye);
    g_Device->SetVertexDeclaration(g_BumpMap.declaration);

    const bool deformed = Deformed(m);
    // The model's own vertices, never the 40-byte immediate scratch.
    static std::vector<BUMP_VERTEX> verts;
    const UINT maxPrims = g_DeviceCaps.MaxPrimitiveCount > 0 ? g_DeviceCaps.MaxPrimitiveCount : 0xFFFF;
    const int32_t groups = std::min<int32_t>(m->groupCount, (int32_t)m->groups.size());
    for (int32_t g = 0; g < groups; ++g) {
        const GROUP3& mat = m->groups[(size_t)g];
        if (mat.shading == 0) continue;
        fx->SetTexture(g_BumpMap.decal, ModelTexture(o->modelId, DecalIndex(m, g)));
        fx->SetTexture(g_BumpMap.normalMap, mat.normalMapTexture != 0 ? ModelTexture(o->modelId, mat.normalMapTexture) : nullptr);
        fx->CommitChanges();
        const int32_t tris = Bump_BuildMaterial(m, g, deformed, verts);
        Draw_SetFillMode(mat.shading);
        if (mat.shading == 5) continue;
        for (int32_t at = 0; at < tris;) {
            const UINT n = (UINT)std::min<int64_t>(tris - at, maxPrims);
            g_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, n, &verts[(size_t)at * 3], sizeof(BUMP_VERTEX));
            at += (int32_t)n;
        }
    }
    fx->EndPass();
    fx->End();
}
