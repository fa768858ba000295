// The frame on the device, in the order of its passes.
#include <windows.h>
#include <d3d9.h>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/image_load.h"
#include "model/win32/model_textures.h"
#include "frame/win32/media.h"
#include "model/model_table.h"
#include "model/obj3.h"
#include "model/obj2.h"
#include "render/model2_draw.h"
#include "render/camera.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "render/model_draw.h"
#include "render/obj2_draw.h"
#include "render/shadows.h"
#include "render/tex_slots.h"
#include "render/text_queue.h"
#include "render/win32/shader_res.h"

using namespace QVL;

namespace {

// The scene as the draw-list builder reads it.
struct SCENE_SOURCE : DRAW_LIST_SOURCE {
    int32_t ObjectCount() override { return Render_ObjectCount(); }
    int32_t DrawnModel(int32_t object) override
    {
        RENDER_OBJECT o;
        if (!Render_GetObject(object, &o)) return -1;
        if (!o.active || !o.visible || o.model < 0 || o.culled) return -1;
        return o.model;
    }
    const MODEL3* ReadyModel(int32_t model) override
    {
        const MODEL3* m = Model3_GetById(model);
        return m && Model3_IsReady(m) ? m : nullptr;
    }
    bool TextureHasAlpha(int32_t model, int32_t texture) override { return Render_TextureHasAlpha(model, texture); }
};

int BackBufferWidth() { return (int)g_BackBufferDesc.Width; }
int BackBufferHeight() { return (int)g_BackBufferDesc.Height; }

void CullObjects()
{
    const int32_t count = Render_ObjectCount();
    for (int32_t i = 0; i < count; ++i) {
        RENDER_OBJECT o;
        if (!Render_GetObject(i, &o)) continue;
        bool culled = false;
        if (o.cullTest) {
            VEC3 p, up;
            Render_ProjectToScreen(&p, o.position[0], o.position[1], o.position[2]);
            Render_ProjectToScreen(&up, o.position[0], o.position[1] + 5.0f, o.position[2]);
            culled = Render_IsCulled(p, up.y, BackBufferWidth(), BackBufferHeight());
        }
        Render_SetObjectCulled(i, culled);
    }
}

void SetFrameLight()
{
    D3DMATERIAL9 mat = {};
    mat.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
    mat.Ambient = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
    mat.Power = 20.0f;
    g_Device->SetMaterial(&mat);

    D3DLIGHT9 light = {};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = D3DCOLORVALUE{g_LightColor[0], g_LightColor[1], g_LightColor[2], 0.0f};
    light.Specular = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 0.0f};
    light.Ambient = D3DCOLORVALUE{g_LightAmbient[0], g_LightAmbient[1], g_LightAmbient[2], 0.0f};
    light.Position = D3DVECTOR{g_LightPos[0], g_LightPos[1], g_LightPos[2]};
    light.Direction = D3DVECTOR{1.0f, -1.0f, 1.0f};
    light.Range = 65000.0f;
    light.Attenuation0 = 1.0f;
    g_Device->SetLight(1, &light);
    g_Device->LightEnable(1, TRUE);
}

void SetViewport(DWORD x, DWORD y, DWORD w, DWORD h)
{
    D3DVIEWPORT9 vp = {x, y, w, h, 0.0f, 1.0f};
    g_Device->SetViewport(&vp);
}

// The movie editor shows its 1280 x 720 picture centred; the program editor its 640 x 480 game
// screen where the main view shows it.
void SetModeViewport()
{
    if (g_Mode == MODE_MOVIE) {
        SetViewport((DWORD)((BackBufferWidth() - 1280) / 2), (DWORD)((BackBufferHeight() - 720) / 2), 1280, 720);
    } else if (g_Mode == MODE_PROGRAM) {
        float panX = 0.0f, panY = 0.0f;
        Draw_MainViewPan(&panX, &panY);
        SetViewport((DWORD)(int)((float)(g_Lib.monitorWidth - 640) * 0.5f + panX),
                    (DWORD)(int)((float)(g_Lib.monitorHeight - 480) * 0.5f + panY), 640, 480);
    }
}

void WholeBackBufferViewport()
{
    if (g_Mode == MODE_MOVIE || g_Mode == MODE_PROGRAM) SetViewport(0, 0, (DWORD)BackBufferWidth(), (DWORD)BackBufferHeight());
}

void FixedScene()
{
    if (g_ToonShading) Render_SetupToonLookup();
    if (FAILED(g_Device->BeginScene())) return;
    Render_SetDefaultStates();
    if (g_Draw3DScene == 1) {
        g_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        Render_DrawObj3All();
        Render_ExecuteDrawLists();
        Shadow_DrawDropShadows();
        Shadow_DrawPlanar();
        Shadow_DrawStencil();
        Render_DrawOutlines();
    }
    if (g_RenderDrawers.effects3D) g_RenderDrawers.effects3D();
    MATRIX identity;
    Math_MatrixIdentity(&identity);
    g_Device->SetTransform(D3DTS_WORLD, (const D3DMATRIX*)&identity);
    Draw_SetWorldTransform(0, 0, 0, 0, 0, 0, 1, 1, 1);
    g_Device->SetTexture(0, nullptr);
    if (g_RenderDrawers.modeOverlay) g_RenderDrawers.modeOverlay();
    WholeBackBufferViewport();
    if (g_ToonShading) g_Device->SetTexture(1, nullptr);
    Render_Draw2DLayer();
    g_Device->EndScene();
}

void ShaderScene()
{
    if (FAILED(g_Device->BeginScene())) return;
    Render_ShaderFrame();
    if (g_RenderDrawers.effects3D) g_RenderDrawers.effects3D();
    WholeBackBufferViewport();
    Render_Draw2DLayer();
    g_Device->EndScene();
}

} // namespace

bool Render_TextureHasAlpha(int32_t model, int32_t texture)
{
    IDirect3DTexture9** slot = nullptr;
    D3DXIMAGE_INFO* info = nullptr;
    return Gpu_GetModelTexture(model, texture, &slot, &info) && info && info->Format == D3DFMT_A8R8G8B8;
}

void Render_DrawMaterial(DRAW_ENTRY entry) { Render_DrawMaterialOf(entry.object, entry.model, entry.material); }

void Render_BuildDrawLists()
{
    MATRIX view;
    Math_MatrixIdentity(&view);
    if (g_Device) g_Device->GetTransform(D3DTS_VIEW, (D3DMATRIX*)&view);
    SCENE_SOURCE source;
    Render_BuildDrawListsFrom(g_Renderer, source, Model3_Count(), view);
}

void Render_ExecuteDrawLists()
{
    if (!g_Device || Model3_Count() == 0) return;
    const RENDERER& r = g_Renderer;
    for (int pass = 0; pass < 2; ++pass) {
        const std::vector<DRAW_ENTRY>& list = pass == 0 ? r.opaque : r.transparent;
        const int32_t count = pass == 0 ? r.opaqueCount : r.transparentCount;
        for (int32_t k = 0; k < count; ++k) {
            const DRAW_ENTRY& e = list[(size_t)k];
            const MATRIX* world = Render_ObjectWorld(e.object);
            if (!world) continue;
            g_Device->SetTransform(D3DTS_WORLD, (const D3DMATRIX*)world);
            Render_DrawMaterial(e);
        }
    }
}

void Render_DrawObj3All()
{
    // The model screens show only the model they edit.
    if (g_Screen >= 14 && g_Screen <= 18) return;
    if (!g_Device) return;
    for (int32_t row = 0; row < QVL::kObj3Rows; ++row) {
        const QVL::OBJ3* o = g_Obj3Table[row];
        const QVL::OBJ3_POSE* poses = g_Obj3Poses[row];
        if (!o || !poses || g_Obj3Flags[row][0] != 1) continue;
        MATRIX base;
        Math_MatrixWorld(&base, o->position[0], o->position[1], o->position[2], o->rotation[0], o->rotation[1],
                         o->rotation[2], o->scale[0], o->scale[1], o->scale[2]);
        const int32_t parts = o->partCount < QVL::kObj3Parts ? o->partCount : QVL::kObj3Parts;
        for (int32_t p = 1; p < parts; ++p) {
            const QVL::MODEL3* model = g_Obj3PartModels[row][p];
            if (!model || g_Obj3Flags[row][p] != 1) continue;
            MATRIX world = poses->pose[p];
            if (g_StudioFlag != 1) Math_MatrixMultiply(&world, poses->pose[p], base);
            g_Device->SetTransform(D3DTS_WORLD, (const D3DMATRIX*)&world);
            g_Device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
            Light_Enable(1);
            Render_DrawWholeModel(p, row, model);
        }
    }
}

void Render_Draw2DLayer()
{
    if (!g_Device) return;
    g_Device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_NONE);
    g_Device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_NONE);
    Model2_DrawAll();
    Obj2_DrawAll();
    if (g_RenderDrawers.moviePictures) g_RenderDrawers.moviePictures(BackBufferWidth(), BackBufferHeight());
    if (g_StudioFlag == 1) {
        const int32_t type = Render_PickedViewType();
        if (Draw_IsGameScreenMode() && (type == 0 || type == 4)) {
            Tex_Set(-1);
            Draw_Rect2D(-1, -1, g_ModeScreenSize[0], g_ModeScreenSize[1], 255, 255, 255, 255);
        }
        if (g_Mode == MODE_MOVIE && type == 0) {
            const int x0 = (BackBufferWidth() - 1280) / 2, y0 = (BackBufferHeight() - 720) / 2;
            Tex_Set(-1);
            Draw_Rect2D(x0 - 1, y0 - 1, x0 + 1280, y0 + 720, 255, 255, 255, 255);
        }
    }
    if (g_RenderDrawers.effects2D) g_RenderDrawers.effects2D();
    if (g_RenderDrawers.particles) g_RenderDrawers.particles();
    g_Device->SetTexture(0, nullptr);
    if (g_RenderDrawers.modeDraw) g_RenderDrawers.modeDraw();
    Draw_FlushTexts();
    const int a = 255 - (int)(g_RenderFade * 255.0f);
    if (a > 0) {
        Tex_Set(-1);
        Draw_Quad2D(0, 0, 0, 0, 0, a, 0.01f, 0.01f, 1280, 0, 0, 0, 0, a, 0.99f, 0.01f, 1280, 720, 0, 0, 0, a, 0.99f,
                    0.99f, 0, 720, 0, 0, 0, a, 0.01f, 0.99f);
    }
}

void Render_Frame()
{
    if (!g_Device) return;
    if (g_ShaderMode && !g_ShaderReady) Render_CreateShaderResources();
    if (Media_IsVideoPlaying()) return;
    g_Renderer.triangleCount = 0;
    CullObjects();
    Render_BuildDrawLists();
    g_Device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    g_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    SetFrameLight();
    if (!g_ShaderMode) {
        const DWORD c = 0xFF000000u | ((DWORD)g_Lib.clearColor[0] & 255u) << 16 |
                        ((DWORD)g_Lib.clearColor[1] & 255u) << 8 | ((DWORD)g_Lib.clearColor[2] & 255u);
        g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | (g_StencilShadows ? D3DCLEAR_STENCIL : 0), c,
                        1.0f, 0);
    }
    SetModeViewport();
    if (!g_ShaderMode) FixedScene();
    else ShaderScene();
    // A failed effect load's box comes after EndScene, never inside the scene.
    Render_ShowEffectErrors();
}
