// A textured cube from a QVP file, placed by a scene object, drawn through the material drawing of
// each render kind into the frame's device: its pixels appear where the camera and the projection
// put the object, and nowhere else.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "model/gpu_update.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/qvp_file.h"
#include "model/scene_object.h"
#include "render/model_draw.h"
#include "wine/support/cube_fixture.h"
#include "wine/support/wine_frame.h"

using namespace QVL;

namespace {

const uint32_t kTexel = kWineCubeTexel;
const int kClear[3] = {0, 0, 64};

struct Frame {
    std::vector<uint32_t> pixels;
    UINT width = 0, height = 0;
    uint32_t At(int x, int y) const
    {
        if (x < 0 || y < 0 || (UINT)x >= width || (UINT)y >= height) return 0xDEADBEEF;
        return pixels[(size_t)y * width + (size_t)x] & 0xFFFFFF;
    }
};

class GpuWine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WineFrame_Ensure());
        g_LightOption = 0;   // unlit: the texel itself, whatever the lights
        g_StudioFlag = 0;
    }
    void TearDown() override { g_LightOption = 1; }

    // Renders the objects' models with the camera at (0, 0, -15) looking at the origin and reads
    // the back buffer.
    Frame Render(const std::vector<int32_t>& objects, bool outlines = false)
    {
        D3DXMATRIX view;
        D3DXVECTOR3 eye(0, 0, -15), at(0, 0, 0), up(0, 1, 0);
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        g_Device->SetTransform(D3DTS_VIEW, &view);
        g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER,
                        D3DCOLOR_XRGB(kClear[0], kClear[1], kClear[2]), 1.0f, 0);
        EXPECT_TRUE(SUCCEEDED(g_Device->BeginScene()));
        g_Device->SetRenderState(D3DRS_ZENABLE, TRUE);
        g_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        for (int32_t id : objects) {
            Object_UpdateWorldMatrix(id);
            const OBJECT* o = Object_GetById(id);
            MODEL3* m = Model3_GetById(o->modelId);
            Gpu_UpdateModel(m, o->modelId);
            g_Device->SetTransform(D3DTS_WORLD, reinterpret_cast<const D3DMATRIX*>(&Object_GetXform(id)->world));
            for (int32_t g = 0; g < m->groupCount; ++g) Render_DrawMaterialOf(id, o->modelId, g);
        }
        if (outlines) Render_DrawOutlines();
        g_Device->EndScene();

        Frame f;
        IDirect3DSurface9* back = nullptr;
        IDirect3DSurface9* copy = nullptr;
        D3DSURFACE_DESC desc;
        D3DLOCKED_RECT lr;
        HRESULT hr = g_Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
        if (FAILED(hr)) {
            ADD_FAILURE() << "GetBackBuffer " << std::hex << hr;
            return f;
        }
        back->GetDesc(&desc);
        // The back buffer may be multisampled: resolve it into a plain target first.
        IDirect3DSurface9* resolved = nullptr;
        hr = g_Device->CreateRenderTarget(desc.Width, desc.Height, desc.Format, D3DMULTISAMPLE_NONE, 0, FALSE, &resolved,
                                          nullptr);
        if (SUCCEEDED(hr)) hr = g_Device->StretchRect(back, nullptr, resolved, nullptr, D3DTEXF_NONE);
        if (SUCCEEDED(hr))
            hr = g_Device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy, nullptr);
        if (SUCCEEDED(hr)) hr = g_Device->GetRenderTargetData(resolved, copy);
        if (SUCCEEDED(hr)) hr = copy->LockRect(&lr, nullptr, D3DLOCK_READONLY);
        if (FAILED(hr)) ADD_FAILURE() << "read back " << std::hex << hr << " format " << std::dec << desc.Format
                                      << " " << desc.Width << "x" << desc.Height << " ms " << desc.MultiSampleType;
        if (SUCCEEDED(hr)) {
            f.width = desc.Width;
            f.height = desc.Height;
            f.pixels.resize((size_t)f.width * f.height);
            for (UINT y = 0; y < f.height; ++y)
                memcpy(&f.pixels[(size_t)y * f.width], static_cast<const uint8_t*>(lr.pBits) + (size_t)y * lr.Pitch,
                       f.width * 4);
            copy->UnlockRect();
        }
        if (copy) copy->Release();
        if (resolved) resolved->Release();
        back->Release();
        return f;
    }

    // Where the device puts a world point, by the view, projection and viewport it holds.
    POINT Project(float x, float y, float z)
    {
        D3DXMATRIX view, proj, world;
        D3DVIEWPORT9 vp;
        g_Device->GetTransform(D3DTS_VIEW, &view);
        g_Device->GetTransform(D3DTS_PROJECTION, &proj);
        g_Device->GetViewport(&vp);
        D3DXMatrixIdentity(&world);
        D3DXVECTOR3 in(x, y, z), out;
        D3DXVec3Project(&out, &in, &vp, &proj, &view, &world);
        return POINT{(LONG)out.x, (LONG)out.y};
    }

    uint32_t Probe(const Frame& f, float x, float y, float z)
    {
        POINT p = Project(x, y, z);
        return f.At((int)p.x, (int)p.y);
    }
};

bool Near(uint32_t c, uint32_t want)
{
    for (int s = 0; s < 24; s += 8) {
        int a = (int)((c >> s) & 0xFF), b = (int)((want >> s) & 0xFF);
        if (a - b > 3 || b - a > 3) return false;
    }
    return true;
}

const uint32_t kBackground = (uint32_t)(kClear[0] << 16 | kClear[1] << 8 | kClear[2]);

TEST_F(GpuWine, TexturedCubeAppearsWhereTheObjectIsPlacedInEveryRenderKind)
{
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    std::string dir = std::string(cwd) + "\\gpu_test";
    CreateDirectoryA(dir.c_str(), nullptr);
    ASSERT_TRUE(WineCube_WriteBmp(dir + "\\gpu_cube.bmp"));
    ASSERT_TRUE(WineCube_WriteQvp(dir + "\\cube.qvp", "gpu_cube.bmp"));
    // The model's texture names no folder: it is found in the current directory, as a load does.
    // A slot whose ID names no scene object (the outline pass below depends on it).
    std::vector<int32_t> spare;
    int32_t slot = Model3_Create();
    while (slot < Object_Count() + 1) {
        spare.push_back(slot);
        slot = Model3_Create();
    }
    for (int32_t id : spare) Model3_Release(id);
    Model3_ProcessReleases();
    SetCurrentDirectoryA(dir.c_str());
    int32_t model = Model3_Load(slot, "cube.qvp");
    SetCurrentDirectoryA(cwd);
    ASSERT_GE(model, 0);
    MODEL3* m = Model3_GetById(model);
    ASSERT_TRUE(Model3_IsReady(m));
    MODEL3_RENDER* r = Gpu_GetModelRes(model);
    ASSERT_NE(nullptr, r);
    ASSERT_GE(r->textures.size(), 2u);
    ASSERT_NE(nullptr, r->textures[1]) << "the model's texture was not loaded";
    EXPECT_EQ(4, m->textures[1].width);
    ASSERT_GT(m->groups[0].exportVertexCount, 0);

    int32_t object = ObjectCreate();
    ASSERT_GE(object, 0);
    OBJECT* o = Object_GetById(object);
    o->modelId = model;
    Object_SetPosition(o, 3, 1, 0);

    for (int kind : {0, 1, 2, 3, 4, 9}) {
        Model3_SetRenderKind(m, kind);
        Frame f = Render({object});
        ASSERT_GT(f.width, 0u);
        ASSERT_EQ(kind, m->renderKind);
        // The front face's centre and a point near its corner show the texel; above the cube, the
        // same place mirrored to the left, and the origin show the background.
        EXPECT_TRUE(Near(Probe(f, 3, 1, -0.5f), kTexel)) << "kind " << kind << " " << std::hex << Probe(f, 3, 1, -0.5f);
        EXPECT_TRUE(Near(Probe(f, 3.4f, 0.6f, -0.5f), kTexel)) << "kind " << kind;
        EXPECT_EQ(kBackground, Probe(f, 3, 1.8f, -0.5f)) << "kind " << kind;
        EXPECT_EQ(kBackground, Probe(f, -3, 1, -0.5f)) << "kind " << kind;
        EXPECT_EQ(kBackground, Probe(f, 0, 0, 0)) << "kind " << kind;
    }
    if (r->groups[0].indexBytes) EXPECT_EQ(2, r->groups[0].indexBytes);

    // Displacement by texture entry 1: the displaced copy is drawn in the same place.
    m->displacement = 1;
    m->subdivision = 1;
    Model3_SetRenderKind(m, 8);
    Frame displaced = Render({object});
    EXPECT_EQ(8, m->renderKind);
    EXPECT_TRUE(Near(Probe(displaced, 3, 1, -0.5f), kTexel));
    EXPECT_EQ(kBackground, Probe(displaced, -3, 1, -0.5f));
    // An entry that is named but has no texture: the model falls back to drawing its own arrays.
    m->textures[2].used = 1;
    m->displacement = 2;
    Model3_SetRenderKind(m, 8);
    displaced = Render({object});
    EXPECT_EQ(0, m->renderKind);
    EXPECT_TRUE(Near(Probe(displaced, 3, 1, -0.5f), kTexel));
    m->textures[2].used = 0;
    // Kinds 4 and 5 of an older file are built as kind 3 outside the studio.
    m->version = 2008000;
    Model3_SetRenderKind(m, 4);
    Render({object});
    EXPECT_EQ(3, m->renderKind);
    m->version = kModel3Version;

    // A quaternion of 45 degrees about Z, on the view axis: the front face becomes a diamond, so a
    // point near the square's corner is empty and the diamond's tip above the square is covered.
    Model3_SetRenderKind(m, 3);
    Object_SetPosition(o, 0, 0, 0);
    Object_SetQuaternion(o, 0, 0, 0.38268343f, 0.92387953f);
    Frame f = Render({object});
    EXPECT_EQ(kBackground, Probe(f, 0.45f, 0.45f, -0.5f));
    EXPECT_TRUE(Near(Probe(f, 0, 0.62f, -0.5f), kTexel));
    EXPECT_TRUE(Near(Probe(f, 0, 0, -0.5f), kTexel));

    // The outline pass places a model by the object of the same ID; this model has none, so it
    // draws no hull (and looks up nothing that is not there).
    ASSERT_EQ(nullptr, Object_GetById(model));
    m->edge = 1;
    m->edgeWidth = 20.0f;   // a hull a whole unit wider than the cube, were it drawn
    f = Render({object}, true);
    EXPECT_EQ(kBackground, Probe(f, 0, 0.75f, -0.5f));
    EXPECT_TRUE(Near(Probe(f, 0, 0, -0.5f), kTexel));

    Object_Delete(object);
    Model3_Release(model);
    Model3_ProcessReleases();
    EXPECT_EQ(nullptr, r->textures[1]);   // released with the model
}

} // namespace
