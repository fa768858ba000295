// The shader path of a frame: the draw lists rendered through "HLSL_3D" into the 1024 x 1024
// targets (shadow map, shadowed scene, focus, bloom, blend) and the blend put on the back buffer by
// "HLSL_2D".
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "frame/lib.h"
#include "frame/log.h"
#include "frame/scene.h"
#include "frame/win32/app_frame.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "render/renderer.h"
#include "render/win32/shader_res.h"

using namespace QVL;

float g_HlslTime3D = 0.0f;
float g_HlslTimeScene = 0.0f;
float g_HlslTime2D = 0.0f;

namespace {

struct SCREEN_VERTEX {
    float x, y, z, rhw;
    DWORD colour;
    float u, v;
};
const DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Every pass of the effect's current technique over one pre-transformed quad.
void DrawQuadPasses(ID3DXEffect* fx, const SCREEN_VERTEX quad[4], IDirect3DTexture9* stage0)
{
    UINT passes = 0;
    if (FAILED(fx->Begin(&passes, 0))) return;
    for (UINT i = 0; i < passes; ++i) {
        if (FAILED(fx->BeginPass(i))) continue;
        if (stage0) g_Device->SetTexture(0, stage0);
        g_Device->SetFVF(kScreenFvf);
        g_Device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(SCREEN_VERTEX));
        fx->EndPass();
    }
    fx->End();
}

bool TargetReady(int i) { return g_ShaderTargets[i].texture && g_ShaderTargets[i].surface; }

// The passes write targets 0, 2, 3, 4 and 5; a target that could not be made leaves the scene out
// rather than drawing into whatever is bound.
bool SceneTargetsReady()
{
    return TargetReady(0) && TargetReady(2) && TargetReady(3) && TargetReady(4) && TargetReady(5) && g_ShaderDepth &&
           g_ShadowMap.texture && g_ShadowMap.surface && g_ShadowMap.depth;
}

void SetTarget(IDirect3DSurface9* colour, IDirect3DSurface9* depth)
{
    g_Device->SetRenderTarget(0, colour);
    g_Device->SetDepthStencilSurface(depth);
}

DWORD ClearColour()
{
    return 0xFF000000u | ((DWORD)g_Lib.clearColor[0] & 255u) << 16 | ((DWORD)g_Lib.clearColor[1] & 255u) << 8 |
           ((DWORD)g_Lib.clearColor[2] & 255u);
}

} // namespace

void Render_DrawEntryHlsl(ID3DXEffect* fx, const DRAW_ENTRY& entry)
{
    const MATRIX* world = Render_ObjectWorld(entry.object);
    if (!world) return;
    g_Device->SetTransform(D3DTS_WORLD, (const D3DMATRIX*)world);
    fx->SetMatrix("World", (const D3DXMATRIX*)world);
    fx->SetTexture("g_txScene", nullptr);   // the scene texture: nothing makes one
    UINT passes = 0;
    if (FAILED(fx->Begin(&passes, 0))) return;
    g_HlslDrawing = true;
    for (UINT i = 0; i < passes; ++i) {
        if (FAILED(fx->BeginPass(i))) continue;
        Render_DrawMaterial(entry);
        fx->EndPass();
    }
    g_HlslDrawing = false;
    fx->End();
}

void RenderHLSL_3D(ID3DXEffect* fx)
{
    if (!fx) {
        Log_Printf("*** Error *** RenderHLSL_3D() fx == NULL");
        return;
    }
    g_HlslTime3D += 0.01f;
    fx->SetFloat("g_fTime", g_HlslTime3D);
    fx->SetBool("bTex", TRUE);
    const RENDERER& r = g_Renderer;
    for (int32_t k = 0; k < r.opaqueCount && (size_t)k < r.opaque.size(); ++k) Render_DrawEntryHlsl(fx, r.opaque[(size_t)k]);
    for (int32_t k = 0; k < r.transparentCount && (size_t)k < r.transparent.size(); ++k)
        Render_DrawEntryHlsl(fx, r.transparent[(size_t)k]);
}

void Render_HlslScene()
{
    ID3DXEffect* fx = Render_LoadEffectSlot(HLSL_3D, "HLSL_3D");
    if (!fx) return;
    if (!SceneTargetsReady()) return;
    IDirect3DSurface9* oldTarget = nullptr;
    IDirect3DSurface9* oldDepth = nullptr;
    g_Device->GetRenderTarget(0, &oldTarget);
    g_Device->GetDepthStencilSurface(&oldDepth);

    D3DXMATRIX identity, view, proj, wvp;
    D3DXMatrixIdentity(&identity);
    fx->SetMatrix("World", &identity);
    const D3DXVECTOR3 eye(g_Scene.eye), at(g_Scene.lookAt), up(g_Scene.up);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    g_Device->GetTransform(D3DTS_PROJECTION, &proj);
    wvp = identity * view * proj;
    fx->SetMatrix("WVProj", &wvp);
    const D3DXVECTOR4 ambient(0.2f, 0.2f, 0.2f, 1.0f);
    fx->SetVector("Ambient", &ambient);

    RENDER_OBJECT o0;
    D3DXVECTOR3 t(0.0f, 0.0f, 0.0f);
    if (Render_GetObject(0, &o0)) t = D3DXVECTOR3(o0.position[0], o0.position[1], o0.position[2]);
    const D3DXVECTOR3 lightEye(t.x - 80.0f, t.y + 240.0f, t.z - 200.0f), lightUp(0.0f, 1.0f, 0.0f);
    D3DXMATRIX lightView, lightProj, lightVProj;
    D3DXMatrixLookAtLH(&lightView, &lightEye, &t, &lightUp);
    D3DXMatrixPerspectiveLH(&lightProj, 1.0f, 1.0f, 1.0f, 1000.0f);
    lightVProj = lightView * lightProj;
    fx->SetMatrix("LightVProj", &lightVProj);

    // Shadow map: 1 - depth as seen from the light (black: nothing in front of it).
    SetTarget(g_ShadowMap.surface, g_ShadowMap.depth);
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    fx->SetTechnique("ShadowMapTex");
    fx->SetTexture("ShadowTex", g_ShadowMap.texture);
    const D3DXVECTOR4 shadow(g_Scene.shadowColor);
    fx->SetVector("LightColor", &shadow);
    fx->SetFloat("Margin", 0.001f);
    RenderHLSL_3D(fx);

    // The shadowed scene.
    SetTarget(g_ShaderTargets[4].surface, g_ShaderDepth);
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, ClearColour(), 1.0f, 0);
    fx->SetTechnique("ShadowMapDraw");
    RenderHLSL_3D(fx);

    D3DXVECTOR4 lightDir(-0.25f, 0.5f, -0.25f, 0.0f);
    D3DXVec4Normalize(&lightDir, &lightDir);
    fx->SetVector("vLightDir", &lightDir);

    // The editor's pass over the scene lands in the scene target too.
    g_Device->SetTransform(D3DTS_WORLD, &identity);
    fx->SetMatrix("World", &identity);
    fx->SetTexture("g_txScene", nullptr);
    Draw_SetWorldTransform(0, 0, 0, 0, 0, 0, 1, 1, 1);
    g_Device->SetTexture(0, nullptr);
    if (g_RenderDrawers.modeOverlay) g_RenderDrawers.modeOverlay();

    // Focus: the technique writes only its own target and never samples Tex1, so the target may
    // stay bound as Tex1 as the effect expects without a copy.
    SetTarget(g_ShaderTargets[0].surface, g_ShaderDepth);
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    g_HlslTimeScene += 0.01f;
    fx->SetFloat("g_fTime", g_HlslTimeScene);
    fx->SetTexture("Tex1", g_ShaderTargets[0].texture);
    fx->SetTechnique("DepthOfFieldTex");
    RenderHLSL_3D(fx);
    // Unbound again: no later pass may sample the target it draws into.
    fx->SetTexture("Tex1", nullptr);

    fx->SetBool("bBloom", g_Bloom ? TRUE : FALSE);
    if (g_Bloom) {
        SetTarget(g_ShaderTargets[2].surface, g_ShaderDepth);
        fx->SetTexture("Tex2", g_ShaderTargets[0].texture);
        g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        fx->SetTechnique("SpecularDraw");
        g_Renderer.drawEnabled = false;
        g_Renderer.drawBloom = true;
        RenderHLSL_3D(fx);
        g_Renderer.drawEnabled = true;
        g_Renderer.drawBloom = false;

        SetTarget(g_ShaderTargets[3].surface, g_ShaderDepth);
        g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        const SCREEN_VERTEX quad[4] = {{0, 0, 0, 1, 0x80FFFFFF, 0, 0},
                                       {1024, 0, 0, 1, 0x80FFFFFF, 1, 0},
                                       {1024, 1024, 0, 1, 0x80FFFFFF, 1, 1},
                                       {0, 1024, 0, 1, 0x80FFFFFF, 0, 1}};
        fx->SetTechnique("BloomDraw");
        fx->SetTexture("Tex1", g_ShaderTargets[2].texture);
        fx->SetTexture("Tex2", g_ShaderTargets[0].texture);
        DrawQuadPasses(fx, quad, g_ShaderTargets[2].texture);
    }

    SetTarget(g_ShaderTargets[5].surface, g_ShaderDepth);
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    fx->SetTechnique("RenderBlend");
    fx->SetTexture("Tex1", g_ShaderTargets[0].texture);
    fx->SetTexture("Tex2", g_ShaderTargets[4].texture);
    if (g_Bloom) fx->SetTexture("Tex3", g_ShaderTargets[3].texture);
    const SCREEN_VERTEX blend[4] = {{0, 0, 0, 1, 0xFFFFFFFF, 0.01f, 0.01f},
                                    {1024, 0, 0, 1, 0xFFFFFFFF, 1, 0.01f},
                                    {1024, 1024, 0, 1, 0xFFFFFFFF, 1, 1},
                                    {0, 1024, 0, 1, 0xFFFFFFFF, 0.01f, 1}};
    DrawQuadPasses(fx, blend, nullptr);
    // The targets stay bound in the effect otherwise, and a later pass might read its own target.
    fx->SetTexture("Tex1", nullptr);
    fx->SetTexture("Tex2", nullptr);
    fx->SetTexture("Tex3", nullptr);

    SetTarget(oldTarget, oldDepth);
    if (oldTarget) oldTarget->Release();
    if (oldDepth) oldDepth->Release();
}

void Render_ShaderFrame()
{
    if (!g_ShadowMap.surface) {
        g_ShaderMode = 0;
        Log_Printf("ShadowMap 未対応のため、シェーダーモードを使用できません。");
        return;
    }
    Render_SetDefaultStates();
    Render_HlslScene();
    ID3DXEffect* fx = Render_LoadEffectSlot(HLSL_2D, "HLSL_2D");
    if (!fx || !TargetReady(5)) return;
    // The quad covers the target the fixed path would draw into (the back buffer in the studio, a
    // test's or a recording's own target otherwise), so the picture lands where that path puts it.
    float w = (float)Lib_GetWindowWidth(), h = (float)Lib_GetWindowHeight();
    IDirect3DSurface9* target = nullptr;
    if (SUCCEEDED(g_Device->GetRenderTarget(0, &target)) && target) {
        D3DSURFACE_DESC desc;
        if (SUCCEEDED(target->GetDesc(&desc))) w = (float)desc.Width, h = (float)desc.Height;
        target->Release();
    }
    const SCREEN_VERTEX quad[4] = {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0},
                                   {w, 0, 0, 1, 0xFFFFFFFF, 0.99f, 0},
                                   {w, h, 0, 1, 0xFFFFFFFF, 0.99f, 0.99f},
                                   {0, h, 0, 1, 0xFFFFFFFF, 0, 0.99f}};
    g_HlslTime2D += 0.001f;
    fx->SetFloat("g_fTime", g_HlslTime2D);
    DrawQuadPasses(fx, quad, g_ShaderTargets[5].texture);
    g_Device->SetTexture(0, nullptr);
}
