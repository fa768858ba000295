// Device resources of the shader path: six 1024 x 1024 targets, their depth surface, the shadow map
// and the effect slots. Created by the first shader-mode frame, released before every device reset.
#pragma once
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "render/renderer.h"

namespace QVL {

struct SHADER_TARGET {
    IDirect3DTexture9* texture;
    IDirect3DSurface9* surface;   // level 0
};

struct SHADOW_MAP {
    IDirect3DTexture9* texture;   // R32F, else R16F
    IDirect3DSurface9* surface;   // level 0
    IDirect3DSurface9* depth;     // D16
};

struct SHADER_EFFECT {
    ID3DXEffect* effect;
    int reload;                   // 1: load the slot at its next use
};

} // namespace QVL

constexpr int kShaderTargets = 6;
constexpr int kHlslEffects = 6;   // 0 "HLSL_2D", 1 "HLSL_3D", 2 "Bone", 3 "BumpMap", 4 "BumpGround", 5 -
extern QVL::SHADER_TARGET g_ShaderTargets[kShaderTargets];
extern IDirect3DSurface9* g_ShaderDepth;
extern QVL::SHADOW_MAP g_ShadowMap;
extern bool g_ShaderReady;
extern QVL::SHADER_EFFECT g_HlslEffects[kHlslEffects];

enum { HLSL_2D = 0, HLSL_3D = 1, HLSL_BONE = 2 };
// True while an HLSL scene technique is applied around the material draws (Render_DrawEntryHlsl):
// the material draw then takes the scene effect's pass instead of its own.
extern bool g_HlslDrawing;

// Loads slot `slot` from "<data>/System/HLSL/<name>.fx", else from ".fxo", when its reload flag is
// set; the flag is cleared first, so a failing pair is tried once per device reset. Returns the
// slot's effect (null when it never loaded). The "ERROR" box of a failed load is not shown here: a
// modal box inside BeginScene would let a repaint run a frame inside the frame. It waits for
// Render_ShowEffectErrors, which the frame calls after EndScene.
ID3DXEffect* Render_LoadEffectSlot(int slot, const char* name);
// Shows the waiting "ERROR" boxes (no owner, MB_OK), oldest first.
void Render_ShowEffectErrors();

// Step 1 of a shader-mode frame: creates the resources above (failures leave null pointers).
void Render_CreateShaderResources();
// The shader path of a frame, between BeginScene and the 2D layer.
void Render_ShaderFrame();
// The "HLSL_3D" pass chain into the shader targets.
void Render_HlslScene();
// Every opaque, then every transparent draw-list entry with the effect's current technique.
void RenderHLSL_3D(ID3DXEffect* fx);
// One draw-list entry with every pass of the effect's current technique.
void Render_DrawEntryHlsl(ID3DXEffect* fx, const QVL::DRAW_ENTRY& entry);
// The effects' time values, each passed as "g_fTime".
extern float g_HlslTime3D, g_HlslTimeScene, g_HlslTime2D;
