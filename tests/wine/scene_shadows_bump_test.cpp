// Normal-mapped drawing and the three kinds of shadow on the real device: the bump-mapped ground
// and a normal-mapped model against flat lighting, and each shadow darkening the floor under its
// caster but not beside it.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "frame/lib.h"
#include "frame/scene.h"
#include "frame/win32/app_frame.h"
#include "model/gpu_update.h"
#include "model/gpu_data.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "render/camera.h"
#include "render/frame_render.h"
#include "render/win32/bump.h"
#include "render/win32/shader_res.h"
#include "wine/support/render_target.h"
#include "wine/support/wine_frame.h"

using namespace QVL;

namespace {

int R(DWORD c) { return (int)(c >> 16 & 255); }
int G(DWORD c) { return (int)(c >> 8 & 255); }
int B(DWORD c) { return (int)(c & 255); }
int Diff(DWORD a, DWORD b)
{
    return std::max(std::abs(R(a) - R(b)), std::max(std::abs(G(a) - G(b)), std::abs(B(a) - B(b))));
}

int32_t Vertex(MODEL3* m, float x, float y, float z, float u, float v)
{
    m->positions.push_back(XYZ{x, y, z});
    m->colors.push_back(RGBA{255, 255, 255, 255});
    m->uvs.push_back(UV2{u, v});
    m->positionCount = m->colorCount = m->uvCount = (int32_t)m->positions.size();
    return m->positionCount - 1;
}

void Quad(MODEL3* m, const XYZ (&p)[4], const XYZ& n, int32_t group)
{
    const UV2 uv[4] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
    m->normals.push_back(n);
    m->normalCount = (int32_t)m->normals.size();
    FACE3 f = {};
    f.cornerCount = 4;
    for (int c = 0; c < 4; ++c) {
        const int32_t v = Vertex(m, p[c].x, p[c].y, p[c].z, uv[c].u, uv[c].v);
        f.corners[c][CORNER_POS] = v;
        f.corners[c][CORNER_NORMAL] = m->normalCount - 1;
        f.corners[c][CORNER_COLOR] = v;
        f.corners[c][CORNER_UV] = v;
    }
    f.normal[0] = n.x, f.normal[1] = n.y, f.normal[2] = n.z;
    f.group = group;
    m->faces.push_back(f);
    m->faceCount = (int32_t)m->faces.size();
}

void Material(MODEL3* m, int32_t g, float r, float gr, float b)
{
    GROUP3& mat = m->groups[(size_t)g];
    mat.color[0] = r, mat.color[1] = gr, mat.color[2] = b;
    mat.alpha = 255;
    mat.shading = 4;
    if (m->groupCount < g + 1) m->groupCount = g + 1;
}

// A floor square at y 0, its front (clockwise) seen from above.
void Floor(MODEL3* m, float h)
{
    Quad(m, {{-h, 0, h}, {h, 0, h}, {h, 0, -h}, {-h, 0, -h}}, XYZ{0, 1, 0}, 0);
    Material(m, 0, 255, 255, 255);
}

// A closed box x, z in -1..1, y in y0..y1, outward faces.
void Box(MODEL3* m, float y0, float y1)
{
    Quad(m, {{-1, y1, 1}, {1, y1, 1}, {1, y1, -1}, {-1, y1, -1}}, XYZ{0, 1, 0}, 0);     // top
    Quad(m, {{-1, y0, -1}, {1, y0, -1}, {1, y0, 1}, {-1, y0, 1}}, XYZ{0, -1, 0}, 0);    // bottom
    Quad(m, {{-1, y0, -1}, {-1, y1, -1}, {1, y1, -1}, {1, y0, -1}}, XYZ{0, 0, -1}, 0);  // front
    Quad(m, {{1, y0, 1}, {1, y1, 1}, {-1, y1, 1}, {-1, y0, 1}}, XYZ{0, 0, 1}, 0);       // back
    Quad(m, {{-1, y0, 1}, {-1, y1, 1}, {-1, y1, -1}, {-1, y0, -1}}, XYZ{-1, 0, 0}, 0);  // left
    Quad(m, {{1, y0, -1}, {1, y1, -1}, {1, y1, 1}, {1, y0, 1}}, XYZ{1, 0, 0}, 0);       // right
    Material(m, 0, 0, 0, 255);
}

class BumpShadow : public testing::Test {
protected:
    void SetUp() override
    {
        // Objects other tests left behind stay out of these frames.
        ASSERT_TRUE(WineScene_Begin(scene_, 0, 10, -10));
        for (int i = 0; i < 3; ++i) light_[i] = g_LightPos[i];
    }
    void TearDown() override
    {
        WineScene_End(scene_);
        g_StencilShadows = 0;
        Light_SetPos(light_[0], light_[1], light_[2]);
    }
    template <class F> int32_t Model(F fill)
    {
        const int32_t id = WineScene_Model(scene_, fill);
        Gpu_EnsureModelRes(id);
        return id;
    }
    int32_t Place(int32_t model)
    {
        int32_t id = ObjectCreate();
        OBJECT* o = Object_GetById(id);
        o->modelId = model;
        o->cullTest = 0;
        Object_SetPosition(o, 0, 0, 0);
        scene_.objects.push_back(id);
        return id;
    }
    VEC3 Screen(float x, float y, float z)
    {
        VEC3 s;
        Render_ProjectToScreen(&s, x, y, z);
        return s;
    }
    DWORD Probe(Target& t, float x, float y, float z)
    {
        VEC3 s = Screen(x, y, z);
        return t.At((int)s.x, (int)s.y);
    }
    WINE_SCENE scene_;
    float light_[3] = {};
};

// A depth buffer with stencil in place of the frame's for the test's lifetime.
class StencilDepth {
public:
    explicit StencilDepth(D3DFORMAT format = D3DFMT_D24S8)
    {
        g_Device->GetDepthStencilSurface(&old_);
        if (FAILED(g_Device->CreateDepthStencilSurface(kTargetSize, kTargetSize, format, D3DMULTISAMPLE_NONE, 0, TRUE,
                                                       &ds_, nullptr)))
            ds_ = nullptr;
        if (ds_) g_Device->SetDepthStencilSurface(ds_);
    }
    ~StencilDepth()
    {
        g_Device->SetDepthStencilSurface(old_);
        if (old_) old_->Release();
        if (ds_) ds_->Release();
    }
    bool Ok() const { return ds_ != nullptr; }

private:
    IDirect3DSurface9* old_ = nullptr;
    IDirect3DSurface9* ds_ = nullptr;
};

// The floor point under the box's near edge that the eye sees past the box, and one beside it.
const float kShadowed[3] = {0.0f, 0.0f, -0.7f};
const float kLit[3] = {4.0f, 0.0f, -0.7f};

TEST_F(BumpShadow, EachShadowKindDarkensTheFloorUnderItsCasterOnly)
{
    Target t;
    ASSERT_TRUE(t.Ok());
    StencilDepth depth;
    ASSERT_TRUE(depth.Ok());
    ASSERT_GT(g_Lib.chipClass, 0) << "the stencil shadows need a video chip class above 0";
    const int32_t floorModel = Model([](MODEL3* m) { Floor(m, 8); });
    Place(floorModel);
    const int32_t boxModel = Model([](MODEL3* m) { Box(m, 2.5f, 3.5f); });
    const int32_t box = Place(boxModel);
    MODEL3* caster = Model3_GetById(boxModel);
    // Only this test's objects: models other tests left may hold buffers of an earlier device.
    for (int32_t id : scene_.objects) Object_UpdateWorldMatrix(id);

    // No shadow: the floor is white under and beside the box.
    Render_Frame();
    ASSERT_EQ(0xFFFFFFu, Probe(t, kShadowed[0], kShadowed[1], kShadowed[2]));
    ASSERT_EQ(0xFFFFFFu, Probe(t, kLit[0], kLit[1], kLit[2]));
    ASSERT_EQ(0x0000FFu, Probe(t, 0, 3.5f, 0)) << "the box itself";

    struct Case {
        const char* name;
        int kind;
        int maxUnder;   // the darkest the shadowed point may be
        int minUnder;
    } cases[] = {
        {"drop", 1, 72, 56},        // the picture's core: alpha 0.75 over white
        {"drop 11", 11, 72, 56},
        {"planar", 2, 0, 0},        // opaque black
        {"planar 21", 21, 0, 0},
        {"stencil", 3, 136, 120},   // the shade quad at alpha 0.5 over white
    };
    Lib_SetShadowColor(0, 0, 0, 0.5f);
    Light_SetPos(0, 20, 0);
    for (const Case& c : cases) {
        caster->shadowKind = c.kind;
        caster->shadowFactor = 0.4f;   // drop square half side 2
        caster->shadowHeight = 0.01f;
        g_StencilShadows = c.kind == 3 ? 1 : 0;
        Render_Frame();
        t.Invalidate();
        const DWORD under = Probe(t, kShadowed[0], kShadowed[1], kShadowed[2]);
        const DWORD beside = Probe(t, kLit[0], kLit[1], kLit[2]);
        EXPECT_LE(R(under), c.maxUnder) << c.name << std::hex << " " << under;
        EXPECT_GE(R(under), c.minUnder) << c.name << std::hex << " " << under;
        EXPECT_EQ(R(under), B(under)) << c.name << ": a grey shadow";
        EXPECT_EQ(0xFFFFFFu, beside) << c.name << ": beside the caster";
        EXPECT_EQ(0x0000FFu, Probe(t, 0, 3.5f, 0)) << c.name << ": the caster stays as it was";
        if (c.kind == 2) EXPECT_EQ(1.0f, caster->shadowNormal[1]);
    }
    // A depth buffer without stencil bits: no stencil shadow, and no shade over the whole window.
    {
        StencilDepth plain(D3DFMT_D16);
        ASSERT_TRUE(plain.Ok());
        Render_Frame();
        t.Invalidate();
        EXPECT_EQ(0xFFFFFFu, Probe(t, kShadowed[0], kShadowed[1], kShadowed[2]));
        EXPECT_EQ(0xFFFFFFu, Probe(t, kLit[0], kLit[1], kLit[2]));
    }
    // Hidden, the stencil caster casts nothing.
    Object_SetVisible(Object_GetById(box), 0);
    Render_Frame();
    t.Invalidate();
    EXPECT_EQ(0xFFFFFFu, Probe(t, kShadowed[0], kShadowed[1], kShadowed[2]));
}

// Draws one kind through the material draw's entry, twice: the first call of each kind loads.
void DrawKind(int kind, int32_t object, const D3DXMATRIX& view, const D3DXMATRIX& proj, const D3DXMATRIX* world = nullptr)
{
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    if (FAILED(g_Device->BeginScene())) return;
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    g_Device->SetTransform(D3DTS_WORLD, world ? world : &identity);
    g_Device->SetTransform(D3DTS_VIEW, &view);
    g_Device->SetTransform(D3DTS_PROJECTION, &proj);
    g_Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    Bump_DrawKind(kind, object);
    g_Device->EndScene();
}

TEST_F(BumpShadow, GroundNormalMapChangesTheLightingOfItsTileEdges)
{
    Target t;
    ASSERT_TRUE(t.Ok());
    // From above the ground's centre (it sits at 0, 19, -55).
    D3DXMATRIX view, proj;
    D3DXVECTOR3 eye(0, 60, -56), at(0, 19, -55), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&proj, D3DX_PI / 4, 1.0f, 1.0f, 500.0f);
    DrawKind(7, 0, view, proj);   // the effect and the ground load
    ASSERT_NE(nullptr, g_HlslEffects[4].effect);
    ASSERT_TRUE(g_BumpGround.initialised) << "the ground's pictures and mesh load";
    ASSERT_NE(nullptr, g_BumpGround.meshes[0].mesh);

    g_BumpTime = 0.0f;
    DrawKind(7, 0, view, proj);
    EXPECT_FLOAT_EQ(0.01f, g_BumpTime);
    std::vector<DWORD> bumped(kTargetSize * kTargetSize);
    t.Invalidate();
    for (UINT i = 0; i < bumped.size(); ++i) bumped[i] = t.At((int)(i % kTargetSize), (int)(i / kTargetSize));

    // The same light on a flat normal.
    IDirect3DTexture9* normal = g_BumpGround.normalMap;
    g_BumpGround.normalMap = nullptr;
    g_BumpTime = 0.0f;
    DrawKind(7, 0, view, proj);
    g_BumpGround.normalMap = normal;
    t.Invalidate();
    int differ = 0, same = 0, lit = 0, maxDiff = 0;
    for (UINT i = 0; i < bumped.size(); ++i) {
        const DWORD flat = t.At((int)(i % kTargetSize), (int)(i / kTargetSize));
        if (flat != 0) ++lit;
        const int d = Diff(flat, bumped[i]);
        maxDiff = std::max(maxDiff, d);
        if (d > 12) ++differ;
        if (d <= 2) ++same;
    }
    EXPECT_GT(lit, (int)bumped.size() * 9 / 10) << "the ground fills the view";
    EXPECT_GT(differ, (int)bumped.size() / 50) << "the bevels catch the light differently";
    EXPECT_GT(same, (int)bumped.size() / 4) << "the flat tops of the tiles light as the flat normal";
    EXPECT_GT(maxDiff, 30);
}

// A 2 x 2 texture of one colour per texel, top row first.
IDirect3DTexture9* Texture2x2(const DWORD (&c)[4])
{
    IDirect3DTexture9* t = nullptr;
    if (FAILED(D3DXCreateTexture(g_Device, 2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t))) return nullptr;
    D3DLOCKED_RECT lr;
    if (SUCCEEDED(t->LockRect(0, &lr, nullptr, 0))) {
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) ((DWORD*)((BYTE*)lr.pBits + y * lr.Pitch))[x] = c[y * 2 + x];
        t->UnlockRect(0);
    }
    return t;
}

TEST_F(BumpShadow, ModelNormalMapDarkensWhereItsNormalsTurnFromTheLight)
{
    Target t;
    ASSERT_TRUE(t.Ok());
    // A square facing the eye, lit from the eye's side.
    const int32_t id = Model([](MODEL3* m) {
        Quad(m, {{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}}, XYZ{0, 0, -1}, 0);
        Material(m, 0, 255, 255, 255);
        m->groups[0].texture = 1;
        m->groups[0].normalMapTexture = 2;
    });
    MODEL3* m = Model3_GetById(id);
    Model3_SetRenderKind(m, 6);
    const int32_t object = Place(id);
    MODEL3_RENDER* r = Gpu_EnsureModelRes(id);
    ASSERT_NE(nullptr, r);
    // Decal white; normal map flat (0, 0, 1) on the left, tilted 60 degrees along x on the right.
    const DWORD flat = 0xFF8080FF, tilted = 0xFFEE80C0;
    const std::vector<IDirect3DTexture9*> keep = r->textures;
    r->textures.assign(3, nullptr);
    r->textures[1] = Texture2x2({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF});
    r->textures[2] = Texture2x2({flat, tilted, flat, tilted});
    ASSERT_NE(nullptr, r->textures[1]);
    ASSERT_NE(nullptr, r->textures[2]);
    Light_SetPos(0, 0, -10);

    D3DXMATRIX view, proj;
    D3DXVECTOR3 eye(0, 0, -5), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&proj, D3DX_PI / 4, 1.0f, 1.0f, 100.0f);
    g_HlslEffects[3].reload = 1;
    DrawKind(6, object, view, proj);   // loads
    ASSERT_NE(nullptr, g_HlslEffects[3].effect);
    ASSERT_EQ(0, g_HlslEffects[3].reload);
    DrawKind(6, object, view, proj);
    t.Invalidate();
    // Left and right quarters of the square (texel centres; point sampled by the effect's filter
    // or not, the middle of each half is one texel).
    const int y = (int)kTargetSize / 2, left = (int)kTargetSize * 2 / 5, right = (int)kTargetSize * 3 / 5;
    const int leftMapped = R(t.At(left - 20, y)), rightMapped = R(t.At(right + 20, y));

    m->groups[0].normalMapTexture = 0;
    DrawKind(6, object, view, proj);
    t.Invalidate();
    const int leftFlat = R(t.At(left - 20, y)), rightFlat = R(t.At(right + 20, y));
    EXPECT_GT(leftFlat, 200) << "flat lighting, facing the light";
    EXPECT_NEAR(leftMapped, leftFlat, 6) << "a flat texel lights as no normal map";
    EXPECT_LT(rightMapped, rightFlat - 25) << "the tilted texel turns from the light";
    EXPECT_NEAR(rightFlat, leftFlat, 6);

    // A world matrix without an inverse (depth squashed to 0; the square lies in z = 0 and looks
    // the same): the light stays in world space instead of reading an unset matrix.
    D3DXMATRIX squash;
    D3DXMatrixScaling(&squash, 1, 1, 0);
    DrawKind(6, object, view, proj, &squash);
    t.Invalidate();
    EXPECT_NEAR(R(t.At(left - 20, y)), leftFlat, 6);

    for (size_t i = 1; i < r->textures.size(); ++i)
        if (r->textures[i]) r->textures[i]->Release();
    r->textures = keep;
}

} // namespace
