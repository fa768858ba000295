#include "render/win32/shader_res.h"

#include <cstring>
#include <string>
#include <vector>

#include "frame/lib.h"
#include "frame/log.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "render/renderer.h"

QVL::SHADER_TARGET g_ShaderTargets[kShaderTargets];
IDirect3DSurface9* g_ShaderDepth = nullptr;
QVL::SHADOW_MAP g_ShadowMap;
bool g_ShaderReady = false;
bool g_HlslDrawing = false;
QVL::SHADER_EFFECT g_HlslEffects[kHlslEffects] = {{nullptr, 1}, {nullptr, 1}, {nullptr, 1},
                                                  {nullptr, 1}, {nullptr, 1}, {nullptr, 1}};

namespace {

template <class T> void ReleaseNull(T*& p)
{
    if (p) p->Release();
    p = nullptr;
}

const UINT kTargetSize = 1024;

IDirect3DTexture9* CreateTarget(D3DFORMAT format)
{
    IDirect3DTexture9* t = nullptr;
    if (FAILED(g_Device->CreateTexture(kTargetSize, kTargetSize, 1, D3DUSAGE_RENDERTARGET, format, D3DPOOL_DEFAULT, &t,
                                       nullptr)))
        t = nullptr;
    return t;
}

IDirect3DSurface9* CreateDepth(D3DFORMAT format)
{
    IDirect3DSurface9* s = nullptr;
    if (FAILED(g_Device->CreateDepthStencilSurface(kTargetSize, kTargetSize, format, D3DMULTISAMPLE_NONE, 0, TRUE, &s,
                                                   nullptr)))
        s = nullptr;
    return s;
}

} // namespace

void Render_CreateShaderResources()
{
    if (!g_Device) return;
    g_ShaderReady = true;
    Log_Printf("Shader 初期化");
    Log_Printf("Shader TexSize %d×%d", (int)kTargetSize, (int)kTargetSize);
    for (QVL::SHADER_TARGET& t : g_ShaderTargets) {
        ReleaseNull(t.surface);
        ReleaseNull(t.texture);
        t.texture = CreateTarget(D3DFMT_A8R8G8B8);
        if (t.texture) t.texture->GetSurfaceLevel(0, &t.surface);
    }
    ReleaseNull(g_ShaderDepth);
    g_ShaderDepth = CreateDepth(D3DFMT_D24X8);
    ReleaseNull(g_ShadowMap.surface);
    ReleaseNull(g_ShadowMap.texture);
    ReleaseNull(g_ShadowMap.depth);
    Log_Printf("ShadowMap D3DFMT_R32F");
    g_ShadowMap.texture = CreateTarget(D3DFMT_R32F);
    if (!g_ShadowMap.texture) {
        Log_Printf("ShadowMap D3DFMT_R16F");
        g_ShadowMap.texture = CreateTarget(D3DFMT_R16F);
        if (!g_ShadowMap.texture) Log_Printf("ShadowMap 未対応");
    }
    if (g_ShadowMap.texture) g_ShadowMap.texture->GetSurfaceLevel(0, &g_ShadowMap.surface);
    g_ShadowMap.depth = CreateDepth(D3DFMT_D16);
}

void Render_ReleaseDeviceResources()
{
    g_ShaderReady = false;
    for (QVL::SHADER_EFFECT& e : g_HlslEffects) {
        e.reload = 1;
        ReleaseNull(e.effect);
    }
    for (QVL::SHADER_TARGET& t : g_ShaderTargets) {
        ReleaseNull(t.texture);
        ReleaseNull(t.surface);
    }
    ReleaseNull(g_ShaderDepth);
    ReleaseNull(g_ShadowMap.texture);
    ReleaseNull(g_ShadowMap.surface);
    ReleaseNull(g_ShadowMap.depth);
}

namespace {

std::vector<std::string> s_EffectErrors;

} // namespace

ID3DXEffect* Render_LoadEffectSlot(int slot, const char* name)
{
    if (slot < 0 || slot >= kHlslEffects || !g_Device) return nullptr;
    QVL::SHADER_EFFECT& e = g_HlslEffects[slot];
    if (!e.reload) return e.effect;
    e.reload = 0;
    const bool scene = slot == HLSL_2D || slot == HLSL_3D;
    char path[MAX_PATH + 64];
    ID3DXEffect* fx = nullptr;
    ID3DXBuffer* errors = nullptr;
    Str_Format(path, sizeof path, "%s/System/HLSL/%s.fx", g_Lib.dataFolder, name);
    HRESULT hr = D3DXCreateEffectFromFileA(g_Device, path, nullptr, nullptr, D3DXSHADER_DEBUG, nullptr, &fx, &errors);
    if (FAILED(hr)) {
        if (scene) Log_DebugPrintf("*** ERROR *** %s.fx", name);
        if (errors) errors->Release();
        errors = nullptr;
        fx = nullptr;
        Str_Format(path, sizeof path, "%s/System/HLSL/%s.fxo", g_Lib.dataFolder, name);
        hr = D3DXCreateEffectFromFileA(g_Device, path, nullptr, nullptr, D3DXSHADER_DEBUG, nullptr, &fx, &errors);
    }
    if (SUCCEEDED(hr) && fx) {
        ReleaseNull(e.effect);
        e.effect = fx;
    } else {
        if (slot == HLSL_3D) Log_Printf("*** ERROR *** %s.fxo", name);
        else if (scene) Log_DebugPrintf("*** ERROR *** %s.fxo", name);
        std::string text = path;
        if (errors && errors->GetBufferPointer() && errors->GetBufferSize() > 0)
            text.assign((const char*)errors->GetBufferPointer(), strnlen((const char*)errors->GetBufferPointer(),
                                                                         errors->GetBufferSize()));
        s_EffectErrors.push_back(text);
    }
    if (errors) errors->Release();
    return e.effect;
}

void Render_ShowEffectErrors()
{
    // Taken out first: a box's message loop may run a frame that adds to the list.
    std::vector<std::string> errors;
    errors.swap(s_EffectErrors);
    for (const std::string& text : errors) MessageBoxA(nullptr, text.c_str(), "ERROR", MB_OK);
}
