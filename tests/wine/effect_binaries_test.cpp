// The shipped effect binaries on the real device: each loads as the studio loads it, offers every
// technique and parameter the drawing code asks for by name, and every technique's shaders run,
// seen through pixels of known colour. The generator's assembler agrees with the platform's.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "frame/win32/app_frame.h"
#include "wine/support/render_target.h"
#include "wine/support/wine_frame.h"
#include "../tools/fxgen/effects.h"
#include "../tools/fxgen/shader_asm.h"

namespace {

// D3DX reads the shipped files from the Data folder beside the test program, as the studio does.
ID3DXEffect* LoadEffect(const char* file)
{
    std::string path = std::string("Data/System/HLSL/") + file;
    ID3DXEffect* fx = nullptr;
    ID3DXBuffer* errors = nullptr;
    HRESULT hr = D3DXCreateEffectFromFileA(g_Device, path.c_str(), nullptr, nullptr, D3DXSHADER_DEBUG, nullptr, &fx,
                                           &errors);
    if (errors) errors->Release();
    return SUCCEEDED(hr) ? fx : nullptr;
}

struct ParamSpec {
    const char* name;
    D3DXPARAMETER_CLASS cls;
    D3DXPARAMETER_TYPE type;
    UINT elements;
};

struct EffectSpec {
    const char* file;
    std::vector<const char*> techniques;
    std::vector<ParamSpec> params;
};

const D3DXPARAMETER_CLASS M = D3DXPC_MATRIX_ROWS, V = D3DXPC_VECTOR, S = D3DXPC_SCALAR, O = D3DXPC_OBJECT;

// The names the drawing code sets and reads, file by file.
const std::vector<EffectSpec> kSpecs = {
    {"HLSL_3D.fxo",
     {"ShadowMapTex", "ShadowMapDraw", "DepthOfFieldTex", "SpecularDraw", "BloomDraw", "RenderBlend"},
     {{"World", M, D3DXPT_FLOAT, 0}, {"WVProj", M, D3DXPT_FLOAT, 0}, {"Ambient", V, D3DXPT_FLOAT, 0},
      {"LightVProj", M, D3DXPT_FLOAT, 0}, {"ShadowTex", O, D3DXPT_TEXTURE, 0}, {"LightColor", V, D3DXPT_FLOAT, 0},
      {"Margin", S, D3DXPT_FLOAT, 0}, {"vLightDir", V, D3DXPT_FLOAT, 0}, {"g_txScene", O, D3DXPT_TEXTURE, 0},
      {"g_fTime", S, D3DXPT_FLOAT, 0}, {"bTex", S, D3DXPT_BOOL, 0}, {"Tex1", O, D3DXPT_TEXTURE, 0},
      {"Tex2", O, D3DXPT_TEXTURE, 0}, {"Tex3", O, D3DXPT_TEXTURE, 0}, {"bBloom", S, D3DXPT_BOOL, 0}}},
    {"HLSL_2D.fxo", {}, {{"g_fTime", S, D3DXPT_FLOAT, 0}}},
    {"Bone.fxo",
     {"BoneRender"},
     {{"matWorld", M, D3DXPT_FLOAT, 32}, {"mViewProj", M, D3DXPT_FLOAT, 0}, {"fTime", S, D3DXPT_FLOAT, 0}}},
    {"BumpMap.fxo",
     {"BumpMapDraw"},
     {{"mWVP", M, D3DXPT_FLOAT, 0}, {"vLightDir", V, D3DXPT_FLOAT, 0}, {"vEyePos", V, D3DXPT_FLOAT, 0},
      {"DecaleTex", O, D3DXPT_TEXTURE, 0}, {"NormalMap", O, D3DXPT_TEXTURE, 0}}},
    {"BumpGround.fx",
     {"RenderScene"},
     {{"g_fTime", S, D3DXPT_FLOAT, 0}, {"g_mWorldViewProjection", M, D3DXPT_FLOAT, 0}, {"g_mWorld", M, D3DXPT_FLOAT, 0},
      {"g_mWorldInv", M, D3DXPT_FLOAT, 0}, {"vLightDir", V, D3DXPT_FLOAT, 0}, {"vLightInv", V, D3DXPT_FLOAT, 0},
      {"vEyePos", V, D3DXPT_FLOAT, 0}, {"g_txScene", O, D3DXPT_TEXTURE, 0}, {"g_tex_nor", O, D3DXPT_TEXTURE, 0}}},
};

// A 4 x 4 texture of one colour (ARGB).
IDirect3DTexture9* SolidTexture(DWORD argb)
{
    IDirect3DTexture9* t = nullptr;
    if (FAILED(g_Device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr))) return nullptr;
    D3DLOCKED_RECT lr;
    if (SUCCEEDED(t->LockRect(0, &lr, nullptr, 0))) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) ((DWORD*)((BYTE*)lr.pBits + y * lr.Pitch))[x] = argb;
        t->UnlockRect(0);
    }
    return t;
}

class Textures {
public:
    ~Textures()
    {
        for (IDirect3DTexture9* t : m_all)
            if (t) t->Release();
    }
    IDirect3DTexture9* Solid(DWORD argb)
    {
        m_all.push_back(SolidTexture(argb));
        return m_all.back();
    }

private:
    std::vector<IDirect3DTexture9*> m_all;
};

// Channel c (0 blue, 1 green, 2 red) of a probed pixel.
int Channel(DWORD px, int c) { return (int)((px >> (8 * c)) & 0xFF); }

void ExpectColour(DWORD px, int r, int g, int b, int tolerance, const char* what)
{
    EXPECT_NEAR(Channel(px, 2), r, tolerance) << what << std::hex << " pixel " << px;
    EXPECT_NEAR(Channel(px, 1), g, tolerance) << what << std::hex << " pixel " << px;
    EXPECT_NEAR(Channel(px, 0), b, tolerance) << what << std::hex << " pixel " << px;
}

D3DXMATRIX Identity()
{
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

D3DXMATRIX Scale(float s)
{
    D3DXMATRIX m;
    D3DXMatrixScaling(&m, s, s, s);
    m._44 = s;
    return m;
}

// Frame states the draws below need: no depth test, no culling, no blending, no fixed lighting.
void PlainStates()
{
    g_Device->SetRenderState(D3DRS_ZENABLE, FALSE);
    g_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    g_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    g_Device->SetRenderState(D3DRS_LIGHTING, FALSE);
    for (int s = 0; s < 4; ++s) g_Device->SetTexture(s, nullptr);
}

// The device's states as a test found them, given back when it ends (the frame's device is shared
// with the tests that follow).
class SavedStates {
public:
    SavedStates() { g_Device->CreateStateBlock(D3DSBT_ALL, &m_block); }
    ~SavedStates()
    {
        if (!m_block) return;
        m_block->Apply();
        m_block->Release();
    }

private:
    IDirect3DStateBlock9* m_block = nullptr;
};

// Runs every pass of `technique` around `draw`, inside a scene on a cleared target.
template <class Draw>
void RunTechnique(ID3DXEffect* fx, const char* technique, Target& target, Draw draw)
{
    SavedStates saved;
    target.Invalidate();
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    ASSERT_TRUE(SUCCEEDED(g_Device->BeginScene()));
    PlainStates();
    D3DXHANDLE t = technique ? fx->GetTechniqueByName(technique) : fx->GetTechnique(0);
    if (!t) {
        ADD_FAILURE() << "no technique " << technique;
        g_Device->EndScene();
        return;
    }
    EXPECT_TRUE(SUCCEEDED(fx->SetTechnique(t)));
    UINT passes = 0;
    EXPECT_TRUE(SUCCEEDED(fx->Begin(&passes, 0)));
    EXPECT_GE(passes, 1u);
    for (UINT i = 0; i < passes; ++i) {
        EXPECT_TRUE(SUCCEEDED(fx->BeginPass(i)));
        draw();
        fx->EndPass();
    }
    fx->End();
    g_Device->EndScene();
}

// The material draw's vertex (40 bytes).
struct MaterialVertex {
    float x, y, z, nx, ny, nz;
    DWORD diffuse, specular;
    float u, v;
};
const DWORD kMaterialFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

// A square of half side h around the centre of clip space at depth z, facing the eye.
void DrawMaterialQuad(float h, float z, DWORD diffuse)
{
    MaterialVertex v[4] = {{-h, -h, z, 0, 0, -1, diffuse, 0, 0, 1}, {-h, h, z, 0, 0, -1, diffuse, 0, 0, 0},
                           {h, h, z, 0, 0, -1, diffuse, 0, 1, 0},   {h, -h, z, 0, 0, -1, diffuse, 0, 1, 1}};
    g_Device->SetFVF(kMaterialFvf);
    g_Device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(MaterialVertex));
}

// The screen quad of the HLSL passes (28 bytes, pre-transformed) over the whole target.
struct ScreenVertex {
    float x, y, z, rhw;
    DWORD colour;
    float u, v;
};

void DrawScreenQuad(DWORD colour)
{
    const float s = (float)kTargetSize;
    ScreenVertex v[4] = {{0, 0, 0, 1, colour, 0, 0}, {s, 0, 0, 1, colour, 1, 0}, {s, s, 0, 1, colour, 1, 1},
                         {0, s, 0, 1, colour, 0, 1}};
    g_Device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    g_Device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(ScreenVertex));
}

const int C = (int)kTargetSize / 2;  // the centre pixel

} // namespace

TEST(EffectBinaries, LoadAndOfferTheNamesTheCodeAsks)
{
    ASSERT_TRUE(WineFrame_Ensure());
    for (const EffectSpec& spec : kSpecs) {
        SCOPED_TRACE(spec.file);
        ID3DXEffect* fx = LoadEffect(spec.file);
        ASSERT_NE(fx, nullptr);
        for (const char* t : spec.techniques) {
            D3DXHANDLE h = fx->GetTechniqueByName(t);
            EXPECT_NE(h, nullptr) << t;
            if (h) EXPECT_TRUE(SUCCEEDED(fx->ValidateTechnique(h))) << t;
        }
        for (const ParamSpec& p : spec.params) {
            D3DXHANDLE h = fx->GetParameterByName(nullptr, p.name);
            ASSERT_NE(h, nullptr) << p.name;
            D3DXPARAMETER_DESC d;
            ASSERT_TRUE(SUCCEEDED(fx->GetParameterDesc(h, &d)));
            EXPECT_EQ(d.Class, p.cls) << p.name;
            EXPECT_EQ(d.Type, p.type) << p.name;
            EXPECT_EQ(d.Elements, p.elements) << p.name;
            if (p.cls == M) EXPECT_TRUE(d.Rows == 4 && d.Columns == 4) << p.name;
        }
        fx->Release();
    }
}

TEST(EffectBinaries, TheGroundEffectLoadsUnderItsSourceName)
{
    ASSERT_TRUE(WineFrame_Ensure());
    // The studio has no compiled fallback for the ground: the .fx itself must be the binary.
    ID3DXEffect* fx = LoadEffect("BumpGround.fx");
    ASSERT_NE(fx, nullptr);
    fx->Release();
    FILE* f = std::fopen("Data/System/HLSL/BumpGround.hlsl", "rb");
    EXPECT_NE(f, nullptr) << "the readable source ships beside it";
    if (f) std::fclose(f);
}

TEST(EffectBinaries, SceneTechniquesShadeAsTheyShould)
{
    ASSERT_TRUE(WineFrame_Ensure());
    ID3DXEffect* fx = LoadEffect("HLSL_3D.fxo");
    ASSERT_NE(fx, nullptr);
    Target target;
    ASSERT_TRUE(target.Ok());
    Textures tex;
    D3DXMATRIX id = Identity();
    fx->SetMatrix("World", &id);
    fx->SetMatrix("WVProj", &id);
    fx->SetMatrix("LightVProj", &id);
    D3DXVECTOR4 towardsEye(0, 0, -1, 0);
    fx->SetVector("vLightDir", &towardsEye);
    D3DXVECTOR4 shade(0, 0, 0, 0.5f);
    fx->SetVector("LightColor", &shade);
    fx->SetFloat("Margin", 0.001f);

    // Shadow map: 1 - depth from the light.
    RunTechnique(fx, "ShadowMapTex", target, [] { DrawMaterialQuad(0.5f, 0.25f, 0xFFFFFFFF); });
    ExpectColour(target.At(C, C), 191, 191, 191, 3, "ShadowMapTex");
    ExpectColour(target.At(4, 4), 0, 0, 0, 0, "ShadowMapTex outside the square");

    // Shadowed scene: lit where the map holds nothing nearer, shaded where it does; the texture
    // on stage 0 (white here) times the vertex colour.
    struct {
        DWORD map;  // the stored 1 - depth
        int r, g, b;
    } shadowCases[] = {{0xFF000000, 200, 100, 40}, {0xFFFFFFFF, 100, 50, 20}};
    IDirect3DTexture9* white = tex.Solid(0xFFFFFFFF);
    for (auto& c : shadowCases) {
        fx->SetTexture("ShadowTex", tex.Solid(c.map));
        RunTechnique(fx, "ShadowMapDraw", target, [&] {
            g_Device->SetTexture(0, white);
            DrawMaterialQuad(0.5f, 0.5f, 0xFFC86428);
        });
        ExpectColour(target.At(C, C), c.r, c.g, c.b, 4, "ShadowMapDraw");
    }

    // bTex chooses between the texture times the vertex colour and the vertex colour alone.
    IDirect3DTexture9* blue = tex.Solid(0xFF4080FF);
    for (BOOL textured : {TRUE, FALSE}) {
        fx->SetBool("bTex", textured);
        RunTechnique(fx, "SpecularDraw", target, [&] {
            g_Device->SetTexture(0, blue);
            DrawMaterialQuad(0.5f, 0.5f, 0xFFFFFFFF);
        });
        if (textured) ExpectColour(target.At(C, C), 0x40, 0x80, 0xFF, 3, "SpecularDraw textured");
        else ExpectColour(target.At(C, C), 255, 255, 255, 3, "SpecularDraw untextured");
    }
    fx->SetBool("bTex", TRUE);

    // Depth of field: sharp at the focus distance, fully blurred far from it.
    struct {
        float w;
        int level;
    } focusCases[] = {{60, 0}, {310, 255}, {185, 128}};
    for (auto& c : focusCases) {
        D3DXMATRIX wv = Scale(c.w);
        fx->SetMatrix("WVProj", &wv);
        RunTechnique(fx, "DepthOfFieldTex", target, [] { DrawMaterialQuad(0.5f, 0.5f, 0xFFFFFFFF); });
        ExpectColour(target.At(C, C), c.level, c.level, c.level, 3, "DepthOfFieldTex");
    }
    fx->SetMatrix("WVProj", &id);

    // Bloom: the glow picture blurred and doubled.
    fx->SetTexture("Tex1", tex.Solid(0xFF302010));
    RunTechnique(fx, "BloomDraw", target, [] { DrawScreenQuad(0x80FFFFFF); });
    ExpectColour(target.At(C, C), 0x60, 0x40, 0x20, 3, "BloomDraw");

    // Blend: the scene, blurred by the focus map, plus the bloom only while bBloom is on.
    fx->SetTexture("Tex2", tex.Solid(0xFF406080));
    fx->SetTexture("Tex3", tex.Solid(0xFF102030));
    struct {
        DWORD focus;
        BOOL bloom;
        int r, g, b;
    } blendCases[] = {{0xFF000000, FALSE, 0x40, 0x60, 0x80}, {0xFFFFFFFF, FALSE, 0x40, 0x60, 0x80},
                      {0xFF000000, TRUE, 0x50, 0x80, 0xB0}};
    for (auto& c : blendCases) {
        fx->SetTexture("Tex1", tex.Solid(c.focus));
        fx->SetBool("bBloom", c.bloom);
        RunTechnique(fx, "RenderBlend", target, [] { DrawScreenQuad(0xFFFFFFFF); });
        ExpectColour(target.At(C, C), c.r, c.g, c.b, 3, "RenderBlend");
    }
    fx->Release();
}

TEST(EffectBinaries, TwoDimensionalPassShowsItsTexture)
{
    ASSERT_TRUE(WineFrame_Ensure());
    ID3DXEffect* fx = LoadEffect("HLSL_2D.fxo");
    ASSERT_NE(fx, nullptr);
    Target target;
    ASSERT_TRUE(target.Ok());
    Textures tex;
    IDirect3DTexture9* picture = tex.Solid(0xFF204060);
    // The studio applies the pass, then puts the blended picture on stage 0.
    RunTechnique(fx, nullptr, target, [&] {
        g_Device->SetTexture(0, picture);
        DrawScreenQuad(0xFFFFFFFF);
    });
    ExpectColour(target.At(C, C), 0x20, 0x40, 0x60, 2, "HLSL_2D");
    ExpectColour(target.At(2, 2), 0x20, 0x40, 0x60, 2, "HLSL_2D corner");
    fx->Release();
}

TEST(EffectBinaries, BonePaletteMovesVerticesByTheirWeights)
{
    ASSERT_TRUE(WineFrame_Ensure());
    ID3DXEffect* fx = LoadEffect("Bone.fxo");
    ASSERT_NE(fx, nullptr);
    Target target;
    ASSERT_TRUE(target.Ok());
    // Bone 0 moves right by half the view, bone 1 stays; bone 40 lies past the palette.
    D3DXMATRIX palette[32];
    for (int i = 0; i < 32; ++i) D3DXMatrixIdentity(&palette[i]);
    D3DXMatrixTranslation(&palette[0], 0.5f, 0, 0);
    fx->SetMatrixArray("matWorld", palette, 32);
    D3DXMATRIX id = Identity();
    fx->SetMatrix("mViewProj", &id);

    struct SkinVertex {
        float x, y, z, weight;
        DWORD bones;
        DWORD diffuse;
        float u, v;
    };
    struct {
        float weightA;
        DWORD bones;   // bone A in the low byte, B in the next
        int left, right;  // x of a probe inside the square, and of one outside it
    } cases[] = {{1.0f, 0x0100, 192, C}, {0.0f, 0x0100, C, 192}, {0.5f, 0x0100, 160, 100}, {1.0f, 0x0001, C, 192},
                 {1.0f, 0x0028, C, 192}};
    for (auto& c : cases) {
        SkinVertex v[4];
        const float corner[4][2] = {{-0.2f, -0.2f}, {-0.2f, 0.2f}, {0.2f, 0.2f}, {0.2f, -0.2f}};
        for (int i = 0; i < 4; ++i) v[i] = {corner[i][0], corner[i][1], 0.5f, c.weightA, c.bones, 0xFF30C060, 0, 0};
        RunTechnique(fx, "BoneRender", target, [&] {
            // The pixels come from the fixed stages: the vertex colour here.
            g_Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
            g_Device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
            g_Device->SetFVF(D3DFVF_XYZB2 | D3DFVF_LASTBETA_UBYTE4 | D3DFVF_DIFFUSE | D3DFVF_TEX1);
            g_Device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(SkinVertex));
        });
        ExpectColour(target.At(c.left, C), 0x30, 0xC0, 0x60, 2, "skinned square");
        ExpectColour(target.At(c.right, C), 0, 0, 0, 0, "where the square is not");
    }
    fx->Release();
}

TEST(EffectBinaries, BumpMapLightsByTheNormalMap)
{
    ASSERT_TRUE(WineFrame_Ensure());
    ID3DXEffect* fx = LoadEffect("BumpMap.fxo");
    ASSERT_NE(fx, nullptr);
    Target target;
    ASSERT_TRUE(target.Ok());
    Textures tex;
    const D3DVERTEXELEMENT9 elements[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
        {0, 24, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TANGENT, 0},
        {0, 36, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
        D3DDECL_END()};
    IDirect3DVertexDeclaration9* decl = nullptr;
    ASSERT_TRUE(SUCCEEDED(g_Device->CreateVertexDeclaration(elements, &decl)));
    D3DXMATRIX id = Identity();
    fx->SetMatrix("mWVP", &id);
    fx->SetTexture("DecaleTex", tex.Solid(0xFFFFFFFF));

    // The square faces the eye (normal -z), its tangent runs along x.
    struct {
        float lx, ly, lz;
        DWORD normalTexel;  // 0: no normal map
        int level;          // 255 × (0.2 + 0.8 × n.l)
    } cases[] = {
        {0, 0, -1, 0, 255},                  // light along the flat normal
        {1, 0, 0, 0, 51},                    // light across the surface: ambient share only
        {1, 0, 0, 0xFFFF8080, 255},          // the map tilts the normal to the light
        {0, 0, -1, 0xFF8080FF, 255},         // a flat map matches no map
    };
    for (auto& c : cases) {
        D3DXVECTOR4 l(c.lx, c.ly, c.lz, 0.8f);
        fx->SetVector("vLightDir", &l);
        fx->SetTexture("NormalMap", c.normalTexel ? tex.Solid(c.normalTexel) : nullptr);
        RunTechnique(fx, "BumpMapDraw", target, [&] {
            struct BumpVertex {
                float x, y, z, nx, ny, nz, tx, ty, tz, u, v;
            } v[4] = {{-0.5f, -0.5f, 0.5f, 0, 0, -1, 1, 0, 0, 0, 1}, {-0.5f, 0.5f, 0.5f, 0, 0, -1, 1, 0, 0, 0, 0},
                      {0.5f, 0.5f, 0.5f, 0, 0, -1, 1, 0, 0, 1, 0},   {0.5f, -0.5f, 0.5f, 0, 0, -1, 1, 0, 0, 1, 1}};
            g_Device->SetVertexDeclaration(decl);
            g_Device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(BumpVertex));
        });
        ExpectColour(target.At(C, C), c.level, c.level, c.level, 4, "BumpMapDraw");
    }
    decl->Release();
    fx->Release();
}

TEST(EffectBinaries, GroundIsLitFromTheTurningLight)
{
    ASSERT_TRUE(WineFrame_Ensure());
    ID3DXEffect* fx = LoadEffect("BumpGround.fx");
    ASSERT_NE(fx, nullptr);
    Target target;
    ASSERT_TRUE(target.Ok());
    Textures tex;
    // The ground lies flat (normal +y); the view looks down on it: world z becomes screen y.
    D3DXMATRIX view(1, 0, 0, 0, 0, 0, 0.5f, 0, 0, 1, 0, 0, 0, 0, 0.5f, 1);
    fx->SetMatrix("g_mWorldViewProjection", &view);
    D3DXMATRIX id = Identity();
    fx->SetMatrix("g_mWorld", &id);
    fx->SetTexture("g_txScene", tex.Solid(0xFFFFFFFF));
    fx->SetTexture("g_tex_nor", tex.Solid(0xFF8080FF));
    struct {
        float lx, ly, lz;  // the way the light travels
        int level;         // 255 × (0.3 + 0.7 × n.l)
    } cases[] = {{0, -1, 0, 255}, {1, 0, 0, 77}, {0, -0.70710678f, 0.70710678f, 203}};
    for (auto& c : cases) {
        D3DXVECTOR4 l(c.lx, c.ly, c.lz, -0.3f);
        fx->SetVector("vLightDir", &l);
        RunTechnique(fx, "RenderScene", target, [] {
            struct GroundVertex {
                float x, y, z, nx, ny, nz, u, v;
            } v[4] = {{-0.5f, 0, -0.5f, 0, 1, 0, 0, 1}, {-0.5f, 0, 0.5f, 0, 1, 0, 0, 0}, {0.5f, 0, 0.5f, 0, 1, 0, 1, 0},
                      {0.5f, 0, -0.5f, 0, 1, 0, 1, 1}};
            g_Device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
            g_Device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(GroundVertex));
        });
        ExpectColour(target.At(C, C), c.level, c.level, c.level, 4, "RenderScene");
    }
    fx->Release();
}

// The generator's own assembler writes the same instructions as the platform's for every shader
// of the effects (constant tables and other comments aside).
TEST(EffectBinaries, AssemblerAgreesWithThePlatform)
{
    auto code = [](const DWORD* t, size_t n) {
        std::vector<DWORD> out;
        for (size_t i = 0; i < n; ++i) {
            if ((t[i] & 0xFFFF) == 0xFFFE && i > 0) {  // a comment: skip its words
                i += t[i] >> 16;
                continue;
            }
            out.push_back(t[i]);
            if (t[i] == 0x0000FFFF) break;
        }
        return out;
    };
    for (const fxgen::ShaderText& s : fxgen::Fxgen_ShaderTexts()) {
        SCOPED_TRACE(s.name);
        std::vector<uint32_t> ours;
        std::string error;
        ASSERT_TRUE(fxgen::Asm_Assemble(s.text, {}, ours, error)) << error;
        ID3DXBuffer* shader = nullptr;
        ID3DXBuffer* errors = nullptr;
        HRESULT hr = D3DXAssembleShader(s.text, (UINT)std::strlen(s.text), nullptr, nullptr, 0, &shader, &errors);
        std::string why = errors ? (const char*)errors->GetBufferPointer() : "";
        if (errors) errors->Release();
        ASSERT_TRUE(SUCCEEDED(hr)) << why;
        std::vector<DWORD> theirs = code((const DWORD*)shader->GetBufferPointer(), shader->GetBufferSize() / 4);
        shader->Release();
        std::vector<DWORD> mine = code((const DWORD*)ours.data(), ours.size());
        ASSERT_EQ(mine.size(), theirs.size());
        for (size_t i = 0; i < mine.size(); ++i) EXPECT_EQ(mine[i], theirs[i]) << "token " << i << std::hex << " " << mine[i] << " vs " << theirs[i];
    }
}
