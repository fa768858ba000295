// The normal-mapped drawing of render kinds 6 (the model with "BumpMap") and 7 (the fixed ground
// mesh with "BumpGround" under a circling light). Both effects live in g_HlslEffects slots 3 and 4.
#pragma once
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <cstdint>

namespace QVL {

struct BUMP_MESH {
    ID3DXMesh* mesh;
    D3DMATERIAL9* materials;
    DWORD materialCount;
    IDirect3DTexture9** textures;
};

struct BUMP_GROUND {
    uint8_t initialised;
    IDirect3DTexture9* decal;
    IDirect3DTexture9* normalMap;
    BUMP_MESH meshes[3];   // only slot 0 is drawn
    uint8_t loadFailed;    // a failed load waits for the next effect reload, not the next frame
};

struct BUMP_MAP {
    IDirect3DVertexDeclaration9* declaration;
    D3DXHANDLE technique;
    D3DXHANDLE wvp, lightDir, eyePos, decal, normalMap;
};

} // namespace QVL

extern QVL::BUMP_GROUND g_BumpGround;
extern QVL::BUMP_MAP g_BumpMap;
extern float g_BumpTime;

void BumpGround_Construct();
// Loads the ground's pictures and meshes; true once it is initialised.
bool BumpGround_Load();
void BumpGround_Draw();
void BumpGround_Release();
// Loads "BumpGround.fx" into slot 4 when its reload flag is set.
void BumpGround_LoadEffect();

void BumpMap_Construct();
void BumpMap_Init();
void BumpMap_Draw(int32_t object);

// The model draws' entry for render kinds 6 and 7 (draw types 2 and 3).
void Bump_DrawKind(int kind, int32_t object);

// Shows the effect loader's error text, or the path when there is none.
void Bump_ShowEffectError(ID3DXBuffer* errors, const char* path);
