// The current records the shell derives from the engine's tables, and what reads them: the window
// title, the playback ticks, the view fit and the view the frame presents into.
#include <cstring>

#include "effect/effect.h"
#include "frame/text.h"
#include "model/model_table.h"
#include "shell/frame_update.h"
#include "shell_fixture.h"
#include "support/model_builders.h"

namespace {

class Current : public ShellTest {
protected:
    int32_t modelId = -1;
    QVL::MODEL3* model = nullptr;
    void SetUp() override
    {
        ShellTest::SetUp();
        modelId = Model3_Create();
        model = Model3_GetById(modelId);
        g_DefaultModelId = modelId;  // screen 0 outside the 3D hub works on the default model
        g_CurBone = 0;
        g_CurLayer = 0;
        g_CurEffectId = g_CurEffectInstIndex = -1;
        g_CurObj2Id = -1;
    }
    void TearDown() override
    {
        Model3_Release(modelId);
        Model3_ProcessReleases();
        g_DefaultModelId = -1;
        Effect_EraseAllInstances();
        Effect_EraseAllData();
        g_CurEffectId = g_CurEffectInstIndex = -1;
        Mode_UpdateCurrent();
        ShellTest::TearDown();
    }
    // Bone 1 with three keys in motion 0 and one in motion 1; the model plays motion `motion`.
    void GiveKeys(int32_t motion, int32_t keyIndex)
    {
        Motion3_ResizeList(model->motions, 2);
        for (QVL::BONE3& b : model->bones) b.keys.resize(2);
        model->bones[1].keys[0].resize(3);
        model->bones[1].keys[1].resize(1);
        model->bones[1].keyIndex = keyIndex;
        model->currentMotion = motion;
    }
};

TEST_F(Current, BoneMotionAndKeyOfTheCurrentModel)
{
    struct Case { const char* name; int32_t bone, motion, keyIndex; bool bone3, motion3, keys3; int32_t key; };
    const Case cases[] = {
        {"key of the bone in the current motion", 1, 0, 2, true, true, true, 2},
        {"other motion, shorter list", 1, 1, 0, true, true, true, 0},
        {"key index past the list", 1, 1, 1, true, true, true, -1},
        {"bone at the bone count", 2, 0, 0, false, true, false, -1},
        {"negative bone", -1, 0, 0, false, true, false, -1},
        {"motion past the list", 1, 5, 0, true, false, false, -1},
    };
    for (const Case& c : cases) {
        GiveKeys(c.motion, c.keyIndex);
        g_CurBone = c.bone;
        Mode_UpdateCurrent();
        ASSERT_EQ(g_CurModel3, model) << c.name;
        EXPECT_EQ(g_CurBone3 != nullptr, c.bone3) << c.name;
        if (c.bone3) {
            EXPECT_EQ(g_CurBone3, &model->bones[c.bone]) << c.name;
            EXPECT_EQ(g_CurRestKey3, &model->bones[c.bone].rest) << c.name;
        }
        EXPECT_EQ(g_CurMotion3 != nullptr, c.motion3) << c.name;
        if (c.motion3) {
            EXPECT_EQ(g_CurMotion3, &model->motions[(size_t)c.motion]) << c.name;
        }
        EXPECT_EQ(g_CurKeys3 != nullptr, c.keys3) << c.name;
        if (c.keys3) {
            EXPECT_EQ(g_CurKeys3, &model->bones[c.bone].keys[(size_t)c.motion]) << c.name;
        }
        if (c.key < 0) EXPECT_EQ(g_CurKey3, nullptr) << c.name;
        else EXPECT_EQ(g_CurKey3, &(*g_CurKeys3)[(size_t)c.key]) << c.name;
    }
    // A mouse move follows a change of the current bone at once.
    GiveKeys(0, 0);
    g_CurBone = 0;
    Mode_UpdateCurrent();
    g_CurBone = 1;
    Mode_MouseMove(0);
    EXPECT_EQ(g_CurBone3, &model->bones[1]);
    // No model: every pointer of the model is null.
    g_DefaultModelId = -1;
    Mode_UpdateCurrent();
    EXPECT_EQ(g_CurModel3, nullptr);
    EXPECT_EQ(g_CurBone3, nullptr);
    EXPECT_EQ(g_CurMotion3, nullptr);
    EXPECT_EQ(g_CurKeys3, nullptr);
}

TEST_F(Current, EffectPartFollowsTheLayer)
{
    g_CurEffectId = Effect_DataCreate();
    QVL::EFFECT* e = Effect_GetData(g_CurEffectId);
    Mode_UpdateCurrent();
    EXPECT_EQ(g_CurEffect, e);
    EXPECT_EQ(g_EffectEditPart, nullptr);  // no parts yet
    Effect_PartCreate(e);
    Effect_PartCreate(e);
    g_CurLayer = 1;
    Mode_UpdateCurrent();
    EXPECT_EQ(g_EffectEditPart, &e->parts[1]);
    g_CurLayer = 2;
    Mode_UpdateCurrent();
    EXPECT_EQ(g_EffectEditPart, nullptr);
}

TEST_F(Current, LayerModelIsReadyAsMade)
{
    std::vector<int32_t> objects = g_LayerObjectIds, models = g_LayerModelIds;
    g_Mode = MODE_3D_EDIT;
    Layer_Create();
    ASSERT_FALSE(g_LayerModelIds.empty());
    int32_t id = g_LayerModelIds.back();
    EXPECT_TRUE(Model3_IsReadyById(id));
    Model3_Release(id);
    Model3_ProcessReleases();
    g_LayerObjectIds = objects;
    g_LayerModelIds = models;
    g_Mode = MODE_EFFECT_EDIT;
}

TEST_F(Current, TitleNamesTheCurrentRecord)
{
    char t[256];
    g_Mode = MODE_PREVIEW;
    Mode_UpdateCurrent();
    ASSERT_TRUE(Title_Build(t, sizeof t));
    EXPECT_STREQ(t, " QV Viduza Rozar 2009.09");  // a model without faces
    AddFace(model, {AddVertex(model, 0, 0, 0), AddVertex(model, 1, 0, 0), AddVertex(model, 0, 1, 0)});
    Str_CopyN(model->file, sizeof model->file, "robo.Qvp");
    ASSERT_TRUE(Title_Build(t, sizeof t));
    EXPECT_STREQ(t, " QV Viduza Rozar 2009.09   robo.Qvp ( Ver 2009.000 )");
    Str_CopyN(model->file, sizeof model->file, "robo.lwo");
    ASSERT_TRUE(Title_Build(t, sizeof t));
    EXPECT_STREQ(t, " QV Viduza Rozar 2009.09   robo.lwo");

    g_Mode = MODE_EFFECT_EDIT;
    g_CurEffectId = Effect_DataCreate();
    QVL::EFFECT* e = Effect_GetData(g_CurEffectId);
    Str_CopyN(e->folder, sizeof e->folder, "Effect");
    Str_CopyN(e->file, sizeof e->file, "fire.qve");
    Mode_UpdateCurrent();
    ASSERT_TRUE(Title_Build(t, sizeof t));
    EXPECT_STREQ(t, " QV Viduza Rozar 2009.09   Effect\\fire.qve ( Ver 2009.000 )");
    EXPECT_STREQ(e->path, "Effect\\fire.qve");
}

TEST_F(Current, PlaybackTicksAdvanceTheCurrentRecords)
{
    g_ScreenGroup = 4;
    model->motions[0].length = 60;
    model->currentFrame = 10;
    g_FrameStep = 2.5f;
    g_PlayFlag = 1;
    Mode_Frame();
    EXPECT_EQ(model->currentFrame, 12);
    EXPECT_FLOAT_EQ(model->frameFraction, 0.5f);
    EXPECT_EQ(g_CurMotion3, &model->motions[0]);
    EXPECT_EQ(g_PlayFlag, 1);  // the tick found its record: playback goes on
    model->currentFrame = 59;
    model->frameFraction = 0.0f;
    g_FrameStep = 1.0f;
    Mode_Frame();
    EXPECT_EQ(model->currentFrame, 0);

    // The effect clock jumps to 0 at the effect's frame count.
    g_ScreenGroup = 6;
    g_CurEffectId = Effect_DataCreate();
    Effect_GetData(g_CurEffectId)->frameCount = 30;
    g_CurEffectInstIndex = Effect_CreateInstance(0);
    QVL::EFFECT_INST* inst = Effect_GetInstance(g_CurEffectInstIndex);
    inst->frame = 29;
    g_FrameStep = 1.5f;
    Mode_Frame();
    EXPECT_EQ(inst->frame, 0);
    EXPECT_FLOAT_EQ(inst->fraction, 0.5f);
    EXPECT_EQ(g_PlayFlag, 1);

    // Without its record the tick stops playback.
    g_CurEffectInstIndex = -1;
    Mode_Frame();
    EXPECT_EQ(g_PlayFlag, 0);
    g_FrameStep = 0.0f;
}

TEST_F(Current, FitCentresTheModelInAFrontView)
{
    g_Screen = SCREEN_3D_BONE;  // bone screen: every corner, margins of 24
    g_Mode = MODE_3D_EDIT;
    std::vector<int32_t> models = g_LayerModelIds;
    g_LayerModelIds = {modelId};
    AddFace(model, {AddVertex(model, -1, 2, 0), AddVertex(model, 3, 2, 0), AddVertex(model, 3, 6, 0)});
    AddVertex(model, 100, 100, 100);  // used by no face: never counts
    g_CurViewIndex = 1;
    VIEW_REC& v = g_Views[SCREEN_3D_BONE][1];
    v.type = VIEW_FRONT;
    v.width = 224;
    v.height = 424;
    v.zoom = 0.25f;
    Mode_UpdateCurrent();
    View_Fit();
    EXPECT_FLOAT_EQ(v.pan[0], 1.0f);
    EXPECT_FLOAT_EQ(v.pan[1], 4.0f);
    // Four units across 200 pixels: 40 x zoom x 4 = 200.
    EXPECT_NEAR(v.zoom * 160.0f, 200.0f, 1.0f);
    g_LayerModelIds = models;
    g_Mode = MODE_EFFECT_EDIT;
    g_Screen = SCREEN_START;
    g_CurViewIndex = 0;
}

TEST_F(Current, FramePresentsIntoThePickedView)
{
    VIEW_REC* row = g_Views[0];
    row[2].window = (void*)0x200;
    row[2].type = VIEW_TOP;
    row[2].width = 300;
    row[2].height = 200;
    g_PickedView = 2;
    QVL::PRESENT_VIEW p = {};
    ASSERT_TRUE(View_GetActiveView(&p));
    EXPECT_EQ(p.window, (void*)0x200);
    EXPECT_EQ(p.type, VIEW_TOP);
    EXPECT_EQ(p.width, 300);
    EXPECT_EQ(p.height, 200);
    row[2].exists = 0;
    EXPECT_FALSE(View_GetActiveView(&p));
    g_PickedView = 0;
}

} // namespace
