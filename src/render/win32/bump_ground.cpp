// Render kind 7: the fixed ground mesh "BumpGround\BumpGround.x" drawn with "BumpGround" under a
// light that circles over it; and the dispatch of both normal-mapped kinds.
#include <cmath>
#include <cstring>
#include <new>

#include "frame/lib.h"
#include "frame/log.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "render/win32/bump.h"
#include "render/win32/shader_res.h"

using namespace QVL;

QVL::BUMP_GROUND g_BumpGround;
float g_BumpTime = 0.0f;

namespace {

const int kSlot = 4;

IDirect3DTexture9* LoadTexture(const char* name)
{
    char path[512];
    Str_Format(path, sizeof path, "%s\\%s", g_Lib.dataFolder, name);
    IDirect3DTexture9* t = nullptr;
    if (FAILED(D3DXCreateTextureFromFileA(g_Device, path, &t))) t = nullptr;
    return t;
}

void ReleaseMesh(BUMP_MESH& s)
{
    if (s.textures) {
        for (DWORD i = 0; i < s.materialCount; ++i)
            if (s.textures[i]) s.textures[i]->Release();
        delete[] s.textures;
    }
    delete[] s.materials;
    if (s.mesh) s.mesh->Release();
    s = BUMP_MESH{};
}

bool LoadMesh(BUMP_MESH& s)
{
    char path[512];
    Str_Format(path, sizeof path, "%s\\%s", g_Lib.dataFolder, "BumpGround\\BumpGround.x");
    ID3DXBuffer* buffer = nullptr;
    DWORD count = 0;
    if (FAILED(D3DXLoadMeshFromXA(path, D3DXMESH_SYSTEMMEM, g_Device, nullptr, &buffer, nullptr, &count, &s.mesh))) {
        s.mesh = nullptr;
        if (buffer) buffer->Release();
        return false;
    }
    s.materialCount = buffer ? count : 0;
    s.materials = new (std::nothrow) D3DMATERIAL9[s.materialCount ? s.materialCount : 1];
    s.textures = new (std::nothrow) IDirect3DTexture9*[s.materialCount ? s.materialCount : 1]();
    if (!s.materials || !s.textures) {
        if (buffer) buffer->Release();
        ReleaseMesh(s);
        return false;
    }
    const D3DXMATERIAL* mats = buffer ? (const D3DXMATERIAL*)buffer->GetBufferPointer() : nullptr;
    for (DWORD i = 0; i < s.materialCount; ++i) {
        s.materials[i] = mats[i].MatD3D;
        s.materials[i].Ambient = s.materials[i].Diffuse;
        const char* file = mats[i].pTextureFilename;
        if (!file || !*file) continue;
        if (FAILED(D3DXCreateTextureFromFileA(g_Device, file, &s.textures[i]))) {
            s.textures[i] = nullptr;
            char up[512];
            Str_Format(up, sizeof up, "..\\%s", file);
            if (FAILED(D3DXCreateTextureFromFileA(g_Device, up, &s.textures[i]))) {
                s.textures[i] = nullptr;
                Log_Printf("*** Init Error *** BUMP_GROUND()");
            }
        }
    }
    if (buffer) buffer->Release();
    return true;
}

D3DXVECTOR4 Normalised(const D3DXVECTOR4& v, float w)
{
    D3DXVECTOR3 n(v.x, v.y, v.z);
    D3DXVec3Normalize(&n, &n);
    return D3DXVECTOR4(n.x, n.y, n.z, w);
}

} // namespace

void BumpGround_Construct()
{
    std::memset(&g_BumpGround, 0, sizeof g_BumpGround);
}

void BumpGround_Release()
{
    for (BUMP_MESH& s : g_BumpGround.meshes) ReleaseMesh(s);
    if (g_BumpGround.decal) g_BumpGround.decal->Release();
    if (g_BumpGround.normalMap) g_BumpGround.normalMap->Release();
    BumpGround_Construct();
}

bool BumpGround_Load()
{
    if (g_BumpGround.initialised) return true;
    if (!g_Device || g_BumpGround.loadFailed) return false;
    // What a failed try left behind goes first.
    BumpGround_Release();
    g_BumpGround.loadFailed = 1;
    g_BumpGround.decal = LoadTexture("BumpGround\\BumpGround.jpg");
    if (!g_BumpGround.decal) {
        Log_Printf("*** Load Error *** %s", "BumpGround\\BumpGround.jpg");
        return false;
    }
    g_BumpGround.normalMap = LoadTexture("BumpGround\\BumpGroundNormal.tga");
    if (!g_BumpGround.normalMap) {
        Log_Printf("*** Init Error *** BUMP_GROUND()");
        return false;
    }
    for (BUMP_MESH& s : g_BumpGround.meshes) {
        if (!LoadMesh(s)) {
            Log_Printf("*** Init Error *** BUMP_GROUND()");
            return false;
        }
    }
    g_BumpGround.loadFailed = 0;
    g_BumpGround.initialised = 1;
    return true;
}

void BumpGround_LoadEffect()
{
    SHADER_EFFECT& slot = g_HlslEffects[kSlot];
    if (!slot.reload || !g_Device) return;
    slot.reload = 0;
    // A reload is also the time to try missing ground files again.
    g_BumpGround.loadFailed = 0;
    Str_Format(g_Lib.dataFolder, sizeof g_Lib.dataFolder, "%s\\Data", g_Lib.exeFolder);
    char path[512];
    Str_Format(path, sizeof path, "%s/System/HLSL/BumpGround.fx", g_Lib.dataFolder);
    if (slot.effect) slot.effect->Release(), slot.effect = nullptr;
    ID3DXBuffer* errors = nullptr;
    if (FAILED(D3DXCreateEffectFromFileA(g_Device, path, nullptr, nullptr, D3DXSHADER_DEBUG, nullptr, &slot.effect,
                                         &errors))) {
        slot.effect = nullptr;
        Bump_ShowEffectError(errors, path);
    }
    if (errors) errors->Release();
}

void BumpGround_Draw()
{
    ID3DXEffect* fx = g_HlslEffects[kSlot].effect;
    const BUMP_MESH& s = g_BumpGround.meshes[0];
    if (!g_Device || !fx || !g_BumpGround.initialised || !s.mesh) return;
    D3DXMATRIX world, view, proj;
    g_Device->GetTransform(D3DTS_WORLD, &world);
    g_Device->GetTransform(D3DTS_VIEW, &view);
    g_Device->GetTransform(D3DTS_PROJECTION, &proj);
    D3DXMATRIX wvp = world * view * proj;
    g_BumpTime += 0.01f;
    fx->SetFloat("g_fTime", g_BumpTime);
    fx->SetTechnique("RenderScene");
    fx->SetMatrix("g_mWorldViewProjection", &wvp);
    D3DXMATRIX rot, move, ground;
    D3DXMatrixRotationY(&rot, 0.0f);
    D3DXMatrixTranslation(&move, 0.0f, 19.0f, -55.0f);
    ground = rot * move;
    fx->SetMatrix("g_mWorld", &ground);
    fx->SetMatrix("g_mWorldInv", &ground);
    // The ground's matrix is a translation and always has an inverse; G x VIEW may not.
    D3DXMATRIX groundInv, eyeInv, gv = ground * view;
    D3DXMatrixInverse(&groundInv, nullptr, &ground);
    if (!D3DXMatrixInverse(&eyeInv, nullptr, &gv)) D3DXMatrixIdentity(&eyeInv);
    UINT passes = 0;
    if (FAILED(fx->Begin(&passes, 0))) return;
    for (UINT p = 0; p < passes; ++p) {
        fx->BeginPass(p);
        const float t = g_BumpTime;
        D3DXVECTOR4 light(50.0f * std::sin(5.0f * t), -10.0f, -50.0f * std::cos(5.0f * t), 0.0f), v;
        D3DXVec4Transform(&v, &light, &groundInv);
        D3DXVECTOR4 dir = Normalised(v, -0.3f);
        fx->SetVector("vLightDir", &dir);
        D3DXVec4Transform(&v, &light, &ground);
        D3DXVECTOR4 inv = Normalised(v, -0.3f);
        fx->SetVector("vLightInv", &inv);
        D3DXVECTOR4 origin(0, 0, 0, 1), eye;
        D3DXVec4Transform(&eye, &origin, &eyeInv);
        eye.z = -10.0f;
        fx->SetVector("vEyePos", &eye);
        for (DWORD i = 0; i < s.materialCount; ++i) {
            fx->SetTexture("g_txScene", g_BumpGround.decal);
            fx->SetTexture("g_tex_nor", g_BumpGround.normalMap);
            fx->CommitChanges();
            s.mesh->DrawSubset(i);
        }
        fx->EndPass();
    }
    fx->End();
}

void Bump_DrawKind(int kind, int32_t object)
{
    if (!g_Device) return;
    if (kind == 6) {
        if (g_HlslEffects[3].reload)
            BumpMap_Init();
        else
            BumpMap_Draw(object);
    } else if (kind == 7) {
        BumpGround_LoadEffect();
        if (!g_BumpGround.initialised)
            BumpGround_Load();
        else
            BumpGround_Draw();
    }
}
