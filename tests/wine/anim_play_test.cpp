// A QVP with bones and motions, played in the 3D editor's screen group: the shell's per-frame update
// advances the model's motion and skins it, and the picture of the perspective camera changes where
// the skinned triangle moved. A motion whose keys do not move leaves the picture as it was.
// (The play command belongs to the motion screen, which does not exist yet; the test sets the play
// flag and the screen group as that command does.)
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit3d/model3d_hooks.h"
#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "model/gpu_update.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "model/scene_object.h"
#include "render/model_draw.h"
#include "shell/current.h"
#include "shell/frame_update.h"
#include "shell/playback.h"
#include "support/qvp_fixtures.h"
#include "wine/support/cube_fixture.h"
#include "wine/support/wine_frame.h"

using namespace QVL;

namespace {

const D3DCOLOR kClear = D3DCOLOR_XRGB(0, 0, 64);

// The back buffer after drawing one object with a perspective camera that sees the fixture's
// triangle from the side its corners turn clockwise, at an angle, so that a move along z shifts it
// across the picture.
std::vector<uint32_t> Picture(int32_t object)
{
    std::vector<uint32_t> px;
    D3DXMATRIX view, proj;
    D3DXVECTOR3 eye(-4.5f, 4.5f, 8.5f), at(1.5f, 2.5f, 0.5f), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&proj, D3DX_PI / 4, 4.0f / 3.0f, 0.1f, 100.0f);
    g_Device->SetTransform(D3DTS_VIEW, &view);
    g_Device->SetTransform(D3DTS_PROJECTION, &proj);
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClear, 1.0f, 0);
    if (FAILED(g_Device->BeginScene())) return px;
    g_Device->SetRenderState(D3DRS_ZENABLE, TRUE);
    g_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    const OBJECT* o = Object_GetById(object);
    g_Device->SetTransform(D3DTS_WORLD, reinterpret_cast<const D3DMATRIX*>(&Object_GetXform(object)->world));
    MODEL3* m = Model3_GetById(o->modelId);
    for (int32_t g = 0; g < m->groupCount; ++g) Render_DrawMaterialOf(object, o->modelId, g);
    g_Device->EndScene();

    IDirect3DSurface9 *back = nullptr, *resolved = nullptr, *copy = nullptr;
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT lr;
    HRESULT hr = g_Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    if (FAILED(hr)) return px;
    back->GetDesc(&desc);
    hr = g_Device->CreateRenderTarget(desc.Width, desc.Height, desc.Format, D3DMULTISAMPLE_NONE, 0, FALSE, &resolved,
                                      nullptr);
    if (SUCCEEDED(hr)) hr = g_Device->StretchRect(back, nullptr, resolved, nullptr, D3DTEXF_NONE);
    if (SUCCEEDED(hr))
        hr = g_Device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy, nullptr);
    if (SUCCEEDED(hr)) hr = g_Device->GetRenderTargetData(resolved, copy);
    if (SUCCEEDED(hr)) hr = copy->LockRect(&lr, nullptr, D3DLOCK_READONLY);
    if (SUCCEEDED(hr)) {
        px.resize((size_t)desc.Width * desc.Height);
        for (UINT y = 0; y < desc.Height; ++y)
            for (UINT x = 0; x < desc.Width; ++x)
                px[(size_t)y * desc.Width + x] =
                    reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(lr.pBits) + (size_t)y * lr.Pitch)[x] &
                    0xFFFFFF;
        copy->UnlockRect();
    }
    if (copy) copy->Release();
    if (resolved) resolved->Release();
    back->Release();
    return px;
}

size_t Covered(const std::vector<uint32_t>& px)
{
    size_t n = 0;
    for (uint32_t c : px) n += c != (kClear & 0xFFFFFF);
    return n;
}

// Pixels the model covers in one picture and not in the other, either way.
size_t Moved(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    size_t n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        n += (a[i] != (kClear & 0xFFFFFF)) != (b[i] != (kClear & 0xFFFFFF));
    return n;
}

class SkinPlayWine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WineFrame_Ensure());
        g_LightOption = 0;
        saved_[0] = g_StudioFlag;
        saved_[1] = g_ScreenGroup;
        saved_[2] = g_PlayFlag;
        saved_[3] = g_Mode;
        saved_[4] = g_Screen;
        saved_[5] = g_CurLayer;
        savedModels_ = g_LayerModelIds;
        savedObjects_ = g_LayerObjectIds;
        savedModel_ = g_CurModel3;
        savedStep_ = g_FrameStep;
        g_StudioFlag = 1;   // the studio's loads mark every model animated
    }
    void TearDown() override
    {
        g_LightOption = 1;
        g_StudioFlag = saved_[0];
        g_ScreenGroup = saved_[1];
        g_PlayFlag = saved_[2];
        g_Mode = saved_[3];
        g_Screen = saved_[4];
        g_CurLayer = saved_[5];
        g_LayerModelIds = savedModels_;
        g_LayerObjectIds = savedObjects_;
        g_CurModel3 = savedModel_;
        g_FrameStep = savedStep_;
        if (object_ >= 0) Object_Delete(object_);
        if (model_ >= 0) Model3_Release(model_);
        Model3_ProcessReleases();
    }

    MODEL3* Load()
    {
        char cwd[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, cwd);
        const std::string dir = std::string(cwd) + "\\skin_play";
        CreateDirectoryA(dir.c_str(), nullptr);
        EXPECT_TRUE(WineCube_WriteBmp(dir + "\\tex.bmp", 0xE6C81E));
        const std::vector<uint8_t> qvp = QvpFixture(2009000);
        ByteWriter w;
        w.Bytes(qvp.data(), qvp.size());
        EXPECT_TRUE(File_WriteAll((dir + "\\skin.qvp").c_str(), w));
        SetCurrentDirectoryA(dir.c_str());
        model_ = Model3_Load(Model3_Create(), "skin.qvp");
        SetCurrentDirectoryA(cwd);
        if (model_ < 0) return nullptr;
        object_ = ObjectCreate();
        if (object_ < 0) return nullptr;
        Object_GetById(object_)->modelId = model_;
        Object_SetPosition(Object_GetById(object_), 0, 0, 0);
        // The 3D editor's motion screen with the model in layer 0, as a model opened from the command
        // line leaves it (the per-frame update takes the current model from the layer). The polygon
        // screens draw the rest shape on purpose.
        g_Mode = MODE_3D_EDIT;
        g_Screen = SCREEN_3D_MOTION;
        g_CurLayer = 0;
        g_LayerModelIds = {model_};
        g_LayerObjectIds = {object_};
        return Model3_GetById(model_);
    }

    // Plays the motion from frame 0: the picture there, then the picture after one idle pass whose
    // frame step is `step`.
    void Play(MODEL3* m, int32_t kind, int32_t motion, float step, std::vector<uint32_t>* before,
              std::vector<uint32_t>* after)
    {
        Model3_SetRenderKind(m, kind);
        Motion3_Select(m, motion);
        m->currentMotion = motion;
        m->currentFrame = 0;
        m->frameFraction = 0;
        Motion3_UpdateKeyIndex(m);
        g_ScreenGroup = 4;
        g_PlayFlag = 1;
        g_FrameStep = 0;
        Mode_Frame();
        EXPECT_EQ(m, g_CurModel3);
        EXPECT_EQ(0, m->currentFrame);
        *before = Picture(object_);
        g_FrameStep = step;
        Mode_Frame();
        *after = Picture(object_);
    }

    int32_t saved_[6] = {};
    std::vector<int32_t> savedModels_, savedObjects_;
    MODEL3* savedModel_ = nullptr;
    float savedStep_ = 0;
    int32_t model_ = -1, object_ = -1;
};

TEST_F(SkinPlayWine, PlayingAMotionMovesTheSkinnedTriangleInThePicture)
{
    MODEL3* m = Load();
    ASSERT_NE(nullptr, m);
    ASSERT_TRUE(Model3_IsReady(m));
    ASSERT_EQ(2u, m->motions.size());
    ASSERT_GE(m->boneCount, 2);

    // Motion 1 keys every bone at frames 0 and 10, one unit apart along z; 10 frames in one pass.
    // Each render kind's GPU data follows the skinned positions.
    for (int32_t kind : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE("render kind " + std::to_string(kind));
        std::vector<uint32_t> start, later;
        Play(m, kind, 1, 10.0f, &start, &later);
        EXPECT_EQ(10, m->currentFrame);
        EXPECT_EQ(1, g_PlayFlag) << "playback stopped with its model still there";
        ASSERT_FALSE(start.empty());
        ASSERT_GT(Covered(start), 20u) << "the triangle is not in the picture at frame 0";
        ASSERT_GT(Covered(later), 20u) << "the triangle is not in the picture at frame 10";
        EXPECT_GT(Moved(start, later), Covered(start) / 4) << "frame 0 and frame 10 look alike";

        // Playing on wraps at the length (20): 10 + 15 is frame 5, half way between the keys.
        g_FrameStep = 15;
        Mode_Frame();
        EXPECT_EQ(5, m->currentFrame);
        std::vector<uint32_t> half = Picture(object_);
        EXPECT_GT(Moved(start, half), 0u);
        EXPECT_GT(Moved(later, half), 0u);
    }
}

TEST_F(SkinPlayWine, AMotionWithOneKeyLeavesThePictureStill)
{
    MODEL3* m = Load();
    ASSERT_NE(nullptr, m);
    std::vector<uint32_t> start, later;
    Play(m, 0, 0, 10.0f, &start, &later);
    EXPECT_EQ(10, m->currentFrame);
    ASSERT_GT(Covered(start), 20u);
    EXPECT_EQ(0u, Moved(start, later));
}

} // namespace
