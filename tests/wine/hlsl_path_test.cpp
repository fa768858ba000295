// The shader path and the GPU-skinned draw on the real device: whole frames (Render_Frame) drawn
// into a 1024 x 1024 target of the test's own, the size of the shader targets, and read back.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/scene.h"
#include "frame/win32/app_frame.h"
#include "model/export_dedup.h"
#include "model/gpu_update.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "model/qvp_file.h"
#include "model/scene_object.h"
#include "model/skin.h"
#include "render/camera.h"
#include "render/frame_render.h"
#include "render/win32/shader_res.h"
#include "wine/support/cube_fixture.h"
#include "wine/support/modal_guard.h"
#include "wine/support/render_target.h"
#include "wine/support/wine_frame.h"

using namespace QVL;

namespace {

const UINT kSize = 1024;

// Render target 0 and a depth surface of kSize squared for the test's lifetime.
class BigTarget {
public:
    BigTarget()
    {
        g_Device->GetRenderTarget(0, &oldColour_);
        g_Device->GetDepthStencilSurface(&oldDepth_);
        if (FAILED(g_Device->CreateRenderTarget(kSize, kSize, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &colour_,
                                                nullptr)))
            colour_ = nullptr;
        if (FAILED(g_Device->CreateDepthStencilSurface(kSize, kSize, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, TRUE, &depth_,
                                                       nullptr)))
            depth_ = nullptr;
        if (colour_ && depth_) {
            g_Device->SetRenderTarget(0, colour_);
            g_Device->SetDepthStencilSurface(depth_);
        }
    }
    ~BigTarget()
    {
        g_Device->SetRenderTarget(0, oldColour_);
        g_Device->SetDepthStencilSurface(oldDepth_);
        for (IDirect3DSurface9* s : {oldColour_, oldDepth_, colour_, depth_})
            if (s) s->Release();
    }
    bool Ok() const { return colour_ && depth_; }
    // The picture as it stands now.
    std::vector<DWORD> Read() { return Target_ReadPixels(colour_, kSize); }

private:
    IDirect3DSurface9 *oldColour_ = nullptr, *oldDepth_ = nullptr, *colour_ = nullptr, *depth_ = nullptr;
};

DWORD At(const std::vector<DWORD>& px, int x, int y)
{
    if (px.empty() || x < 0 || y < 0 || x >= (int)kSize || y >= (int)kSize) return 0xDEADBEEF;
    return px[(size_t)y * kSize + (size_t)x];
}
int R(DWORD c) { return (int)(c >> 16 & 255); }
int G(DWORD c) { return (int)(c >> 8 & 255); }
int B(DWORD c) { return (int)(c & 255); }
int Bright(DWORD c) { return R(c) + G(c) + B(c); }

// The box around every pixel brighter than the background.
struct BOX {
    int x0 = kSize, y0 = kSize, x1 = -1, y1 = -1;
};
BOX Box(const std::vector<DWORD>& px)
{
    BOX b;
    for (int y = 0; y < (int)kSize; ++y)
        for (int x = 0; x < (int)kSize; ++x)
            if (Bright(At(px, x, y)) > 40) {
                b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x), b.y1 = std::max(b.y1, y);
            }
    return b;
}

const uint32_t kTexel = kWineCubeTexel;

int32_t AddVertex(MODEL3* m, float x, float y, float z, WEIGHT3 w)
{
    m->positions.push_back(XYZ{x, y, z});
    m->uvs.push_back(UV2{0, 0});
    m->weights.push_back(w);
    m->positionCount = m->uvCount = (int32_t)m->positions.size();
    return m->positionCount - 1;
}

void AddQuad(MODEL3* m, int32_t a, int32_t b, int32_t c, int32_t d, int32_t group)
{
    FACE3 f = {};
    f.cornerCount = 4;
    const int32_t v[4] = {a, b, c, d};
    for (int k = 0; k < 4; ++k) f.corners[k][CORNER_POS] = f.corners[k][CORNER_UV] = v[k];
    f.group = group;
    m->faces.push_back(f);
    m->faceCount = (int32_t)m->faces.size();
}

class ShaderPath : public testing::Test {
protected:
    void SetUp() override
    {
        // Objects other tests left behind stay out of these frames.
        ASSERT_TRUE(WineScene_Begin(scene_, 0, 0, -15));
        ModalGuard::Answer(IDOK);
        ModalGuard::Clear();
    }
    void TearDown() override
    {
        g_ShaderMode = 0;
        g_Bloom = 0;
        WineScene_End(scene_);
    }
    int32_t Place(int32_t model, float x, float y, float z)
    {
        int32_t id = ObjectCreate();
        OBJECT* o = Object_GetById(id);
        o->modelId = model;
        o->cullTest = 0;
        Object_SetPosition(o, x, y, z);
        Object_UpdateWorldMatrix(id);
        scene_.objects.push_back(id);
        return id;
    }
    std::vector<DWORD> Frame(BigTarget& t)
    {
        for (int32_t id : scene_.models) Gpu_UpdateModel(Model3_GetById(id), id);
        Render_Frame();
        return t.Read();
    }
    VEC3 Screen(float x, float y, float z)
    {
        VEC3 s;
        Render_ProjectToScreen(&s, x, y, z);
        return s;
    }

    // A strip of two quads, 2 wide and 4 high, standing on the origin: the bottom row follows bone
    // 0, the middle row both bones half and half, the top row bone `top`. Bone `top` rests at
    // (0, 2, 0) and is posed 2 to the right, so the top row moves right by 2, the middle by 1.
    int32_t SkinnedStrip(int32_t bones, uint8_t top)
    {
        int32_t id = Model3_Create();
        MODEL3* m = Model3_GetById(id);
        m->groupCount = 1;
        m->boneCount = bones;
        for (int32_t b = 1; b < bones; ++b) {
            m->bones[b].parent = 0;
            m->bones[b].rest.translation[0] = 0, m->bones[b].rest.translation[1] = 2, m->bones[b].rest.translation[2] = 0;
        }
        m->colors.assign(1, RGBA{255, 255, 255, 255});
        m->normals.assign(1, XYZ{0, 0, -1});
        m->colorCount = m->normalCount = 1;
        const WEIGHT3 low{0, 0, 1.0f, 0}, mid{top, 0, 0.5f, 0}, high{top, top, 1.0f, 0};
        int32_t v[3][2];
        const WEIGHT3 rows[3] = {low, mid, high};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 2; ++c) v[r][c] = AddVertex(m, c == 0 ? -1.0f : 1.0f, -2.0f + 2.0f * r, 0, rows[r]);
        AddQuad(m, v[0][0], v[1][0], v[1][1], v[0][1], 0);
        AddQuad(m, v[1][0], v[2][0], v[2][1], v[1][1], 0);
        GROUP3& g = m->groups[0];
        g.color[0] = g.color[1] = g.color[2] = 255;
        g.alpha = 255;
        g.shading = 4;
        Model3_FitArrays(m);
        for (int i = 0; i < m->positionCount; ++i) m->weights[(size_t)i] = i < 2 ? low : i < 4 ? mid : high;
        Model3_BuildExports(m);
        Model3_SetRenderKind(m, 0);
        Model3_SetLoaded(m);
        scene_.models.push_back(id);
        MODEL3_RENDER* r = Gpu_EnsureModelRes(id);
        Gpu_ResizeBonePoses(r, bones);
        Motion3_BuildRestMatrices(m, id);
        for (int32_t b = 0; b < bones; ++b) {
            D3DXMATRIX pose;
            if (b == top) D3DXMatrixTranslation(&pose, 2, 2, 0);
            else if (b == 0) D3DXMatrixIdentity(&pose);
            else D3DXMatrixTranslation(&pose, 0, 2, 0);
            Motion3_SetBonePoseMatrix(id, b, (const float*)&pose);
        }
        return id;
    }

    WINE_SCENE scene_;
};

TEST_F(ShaderPath, TexturedCubeLandsWhereTheFixedPathPutsIt)
{
    BigTarget t;
    ASSERT_TRUE(t.Ok());
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    std::string dir = std::string(cwd) + "\\shader_test";
    CreateDirectoryA(dir.c_str(), nullptr);
    ASSERT_TRUE(WineCube_WriteBmp(dir + "\\shader_cube.bmp"));
    ASSERT_TRUE(WineCube_WriteQvp(dir + "\\cube.qvp", "shader_cube.bmp"));
    int32_t slot = Model3_Create();
    SetCurrentDirectoryA(dir.c_str());
    int32_t model = Model3_Load(slot, "cube.qvp");
    SetCurrentDirectoryA(cwd);
    ASSERT_GE(model, 0);
    scene_.models.push_back(model);
    Place(model, 3, 1, 0);

    std::vector<DWORD> fixed = Frame(t);
    g_ShaderMode = 1;
    std::vector<DWORD> shader = Frame(t);
    ASSERT_EQ(1, g_ShaderMode) << "the shader path switched itself off";
    ASSERT_NE(nullptr, g_ShadowMap.surface);
    EXPECT_TRUE(ModalGuard::Seen().empty()) << ModalGuard::Seen()[0].text;

    const VEC3 c = Screen(3, 1, -0.5f);
    DWORD f = At(fixed, (int)c.x, (int)c.y), s = At(shader, (int)c.x, (int)c.y);
    EXPECT_NEAR(R(f), 230, 3) << std::hex << f;
    // Lit by the effect's own light and shadowed a little, but the texture's colour.
    EXPECT_GT(R(s), 80) << std::hex << s;
    EXPECT_GT(R(s), G(s) + 30) << std::hex << s;
    EXPECT_GT(G(s), B(s) + 15) << std::hex << s;
    // The same outline, within the last 1% the final quad leaves out of its texture coordinates.
    BOX a = Box(fixed), b = Box(shader);
    ASSERT_GE(a.x1, 0);
    ASSERT_GE(b.x1, 0);
    for (auto pair : {std::make_pair(a.x0, b.x0), std::make_pair(a.x1, b.x1), std::make_pair(a.y0, b.y0),
                      std::make_pair(a.y1, b.y1)})
        EXPECT_NEAR(pair.first, pair.second, 3 + pair.first / 80) << a.x0 << "," << a.y0 << " " << a.x1 << "," << a.y1
                                                                  << " / " << b.x0 << "," << b.y0 << " " << b.x1 << "," << b.y1;
    const VEC3 o = Screen(-3, 1, -0.5f);
    EXPECT_LT(Bright(At(shader, (int)o.x, (int)o.y)), 10) << "where no object is";
}

TEST_F(ShaderPath, BloomBrightensAroundABrightQuad)
{
    BigTarget t;
    ASSERT_TRUE(t.Ok());
    int32_t id = Model3_Create();
    MODEL3* m = Model3_GetById(id);
    m->groupCount = 1;
    m->colors.assign(1, RGBA{255, 255, 255, 255});
    m->normals.assign(1, XYZ{0, 0, -1});
    m->colorCount = m->normalCount = 1;
    const WEIGHT3 w{0, 0, 1.0f, 1};
    AddQuad(m, AddVertex(m, -1, -1, 0, w), AddVertex(m, -1, 1, 0, w), AddVertex(m, 1, 1, 0, w), AddVertex(m, 1, -1, 0, w), 0);
    GROUP3& g = m->groups[0];
    g.color[0] = g.color[1] = g.color[2] = 255;
    g.alpha = 255;
    g.shading = 4;
    g.selfIllumination = 1;
    Model3_FitArrays(m);
    Model3_SetRenderKind(m, 0);
    Model3_SetLoaded(m);
    scene_.models.push_back(id);
    Place(id, 0, 0, 0);

    g_ShaderMode = 1;
    std::vector<DWORD> plain = Frame(t);
    g_Bloom = 1;
    std::vector<DWORD> bloom = Frame(t);
    ASSERT_EQ(1, g_ShaderMode);
    // The quad's right edge on the middle row, as the plain frame shows it.
    const int y = (int)kSize / 2;
    int edge = (int)kSize / 2;
    while (edge < (int)kSize - 1 && Bright(At(plain, edge + 1, y)) > 300) ++edge;
    ASSERT_LT(edge, (int)kSize - 100);
    EXPECT_GT(Bright(At(plain, (int)kSize / 2, y)), 300) << "the quad itself";
    const int nearX = edge + 3, farX = edge + 80;
    EXPECT_GT(Bright(At(bloom, nearX, y)), Bright(At(plain, nearX, y)) + 60)
        << std::hex << At(bloom, nearX, y) << " " << At(plain, nearX, y);
    EXPECT_NEAR(Bright(At(bloom, farX, y)), Bright(At(plain, farX, y)), 6) << "far from the quad";
    EXPECT_GE(Bright(At(bloom, (int)kSize / 2, y)), Bright(At(plain, (int)kSize / 2, y)));
}

TEST_F(ShaderPath, GpuSkinnedStripMatchesTheCpuSkinnedOne)
{
    BigTarget t;
    ASSERT_TRUE(t.Ok());
    int32_t id = SkinnedStrip(2, 1);
    MODEL3* m = Model3_GetById(id);
    Place(id, 0, 0, 0);
    std::vector<DWORD> rest = Frame(t);

    m->animated = 1;
    ASSERT_TRUE(Motion3_SkinVertices(m, id));
    std::vector<DWORD> cpu = Frame(t);
    m->animated = 0;
    Model3_SetRenderKind(m, 5);
    m->gpuRebuild = 1;
    std::vector<DWORD> gpu = Frame(t);
    ASSERT_EQ(5, m->renderKind);
    ASSERT_NE(nullptr, g_HlslEffects[HLSL_BONE].effect);

    // The posed strip covers the top right, where the resting one does not.
    const VEC3 moved = Screen(2.5f, 1.8f, 0), left = Screen(-0.8f, 1.8f, 0);
    EXPECT_LT(Bright(At(rest, (int)moved.x, (int)moved.y)), 40);
    EXPECT_GT(Bright(At(cpu, (int)moved.x, (int)moved.y)), 300);
    EXPECT_LT(Bright(At(cpu, (int)left.x, (int)left.y)), 40);
    // A grid of probes over the strip and around it: covered in one picture, covered in the other.
    int differ = 0, covered = 0;
    for (float y = -2.5f; y <= 2.5f; y += 0.25f)
        for (float x = -1.5f; x <= 3.5f; x += 0.25f) {
            const VEC3 p = Screen(x, y, 0);
            const bool a = Bright(At(cpu, (int)p.x, (int)p.y)) > 300, b = Bright(At(gpu, (int)p.x, (int)p.y)) > 300;
            covered += a;
            differ += a != b;
        }
    EXPECT_GT(covered, 60);
    EXPECT_LE(differ, 4) << "of " << covered << " covered probes";
}

TEST_F(ShaderPath, MaterialBlendingABonePastThePaletteIsNotDrawn)
{
    BigTarget t;
    ASSERT_TRUE(t.Ok());
    const VEC3 p = Screen(0, -1, 0);
    struct CASE {
        uint8_t top;
        bool drawn;
    } cases[] = {{31, true}, {35, false}};
    for (const CASE& c : cases) {
        int32_t id = SkinnedStrip(40, c.top);
        Model3_SetRenderKind(Model3_GetById(id), 5);
        int32_t object = Place(id, 0, 0, 0);
        std::vector<DWORD> px = Frame(t);
        EXPECT_EQ(c.drawn, Bright(At(px, (int)p.x, (int)p.y)) > 300) << "top bone " << (int)c.top;
        Object_SetVisible(Object_GetById(object), 0);
    }
}

TEST_F(ShaderPath, FailedEffectLoadAsksOnceAfterTheSceneAndDrawsNothing)
{
    BigTarget t;
    ASSERT_TRUE(t.Ok());
    int32_t id = SkinnedStrip(2, 1);
    Model3_SetRenderKind(Model3_GetById(id), 5);
    Place(id, 0, 0, 0);
    char saved[sizeof g_Lib.dataFolder];
    memcpy(saved, g_Lib.dataFolder, sizeof saved);
    snprintf(g_Lib.dataFolder, sizeof g_Lib.dataFolder, "%s", "C:\\no_such_folder");
    // The slots as a device reset leaves them: empty, to be loaded at their next use.
    for (int s : {HLSL_2D, HLSL_3D, HLSL_BONE}) {
        if (g_HlslEffects[s].effect) g_HlslEffects[s].effect->Release();
        g_HlslEffects[s] = {nullptr, 1};
    }
    g_ShaderMode = 0;
    std::vector<DWORD> first = Frame(t);
    std::vector<DWORD> second = Frame(t);
    g_ShaderMode = 1;
    Frame(t);
    memcpy(g_Lib.dataFolder, saved, sizeof saved);
    const VEC3 p = Screen(0, -1, 0);
    EXPECT_LT(Bright(At(first, (int)p.x, (int)p.y)), 40) << "no effect: nothing drawn";
    // One box for the bone effect, one each for the two scene effects; none again on later frames.
    const std::vector<ModalSeen>& seen = ModalGuard::Seen();
    ASSERT_EQ(3u, seen.size());
    for (const ModalSeen& s : seen) {
        EXPECT_EQ("ERROR", s.caption);
        EXPECT_NE(std::string::npos, s.text.find("no_such_folder")) << s.text;
    }
    // The frame after the boxes still begins its scene: the boxes came after EndScene.
    EXPECT_TRUE(SUCCEEDED(g_Device->BeginScene()));
    g_Device->EndScene();
    for (int s : {HLSL_2D, HLSL_3D, HLSL_BONE}) g_HlslEffects[s].reload = 1;
}

TEST_F(ShaderPath, DeviceResetRecreatesTheShadowMapAndKeepsTheShaderPath)
{
    BigTarget* t = new BigTarget;
    ASSERT_TRUE(t->Ok());
    g_ShaderMode = 1;
    Render_Frame();
    ASSERT_TRUE(g_ShaderReady);
    ASSERT_NE(nullptr, g_ShadowMap.surface);
    // The reset needs every default-pool object gone: the test's own target too.
    delete t;
    ASSERT_EQ(D3D_OK, App_ResetDevice()) << "a default-pool object of the shader path outlived the reset";
    EXPECT_FALSE(g_ShaderReady);
    EXPECT_EQ(nullptr, g_ShadowMap.surface);
    BigTarget again;
    ASSERT_TRUE(again.Ok());
    Render_Frame();
    EXPECT_EQ(1, g_ShaderMode);
    EXPECT_TRUE(g_ShaderReady);
    EXPECT_NE(nullptr, g_ShadowMap.surface);
    for (const QVL::SHADER_TARGET& s : g_ShaderTargets) EXPECT_NE(nullptr, s.surface);
    EXPECT_NE(nullptr, g_HlslEffects[HLSL_3D].effect);
}

} // namespace
