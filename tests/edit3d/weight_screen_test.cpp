// The weight screen: the numeric binding as it is saved, the clamping of bones and weights, the
// dialog with and without a picked vertex, and the arrow-key pans.
#include <algorithm>
#include <cstring>

#include "edit3d/edit3d_fixture.h"
#include "edit3d/model3d_dialogs.h"
#include "edit3d/poly_drag.h"
#include "edit3d/weight_screen.h"
#include "shell/picking.h"
#include "support/model_builders.h"

namespace {

class WeightScreen : public Edit3DTest {
protected:
    void SetUp() override
    {
        Edit3DTest::SetUp();
        Sel_AllocBuffers();
        Sel_ClearAll();
        g_Screen = SCREEN_3D_WEIGHT;
        std::memset(g_Lib.mouse.held, 0, sizeof g_Lib.mouse.held);
        QVL::MODEL3* m = Live();
        Model3_Reset(m);
        for (int i = 0; i < 4; ++i) AddVertex(m, (float)(i & 1), (float)(i >> 1), 0);
        AddFace(m, {0, 1, 3, 2});
        Mode_UpdateCurrent();
    }
    void TearDown() override
    {
        Weight3D_Exit();
        Sel_ClearAll();
        Edit3DTest::TearDown();
    }
};

size_t CountOf(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& seq)
{
    size_t n = 0;
    for (auto it = bytes.begin(); (it = std::search(it, bytes.end(), seq.begin(), seq.end())) != bytes.end(); ++it) ++n;
    return n;
}

TEST_F(WeightScreen, NumbersReachEverySelectedVertexAndTheSavedFile)
{
    Weight3D_Enter();
    for (int p = 0; p < 4; ++p) g_VertexSel[p] = 1;
    Weight3D_Assign("3", "5", "0.25");
    QVL::MODEL3* m = Live();
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(3, m->weights[p].boneA);
        EXPECT_EQ(5, m->weights[p].boneB);
        EXPECT_EQ(0.25f, m->weights[p].weightA);
        EXPECT_EQ(0, m->weights[p].automatic);
    }
    EXPECT_STREQ("数値入力 ( ウエイト )", History().entries[History().position].caption);
    EXPECT_LE(4u, CountOf(SaveBytes(m), {0x03, 0x05, 0x00, 0x00, 0x80, 0x3E, 0x00}));
}

TEST_F(WeightScreen, OnlySelectedVerticesChangeAndBonesZeroMeanAutomatic)
{
    Weight3D_Enter();
    g_VertexSel[1] = 1;
    Weight3D_Assign("0", "0", "0.5");
    QVL::MODEL3* m = Live();
    EXPECT_EQ(1, m->weights[1].automatic);
    EXPECT_EQ(0, m->weights[0].automatic) << "the unselected vertex keeps its binding";
    EXPECT_EQ(1, m->weights[0].boneA);
}

TEST_F(WeightScreen, BonesAndWeightsAreClampedToWhatTheyCanMean)
{
    const struct {
        const char *a, *b, *w;
        int boneA, boneB;
        float weight;
    } cases[] = {
        {"300", "-1", "2.5", QVL::kModel3Bones - 1, 0, 1.0f},
        {"x", "127", "-0.5", 0, 127, 0.0f},
        {"2", "4", "nan", 2, 4, 0.0f},
        {"1", "2", "0.75", 1, 2, 0.75f},
    };
    Weight3D_Enter();
    g_VertexSel[2] = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a);
        Weight3D_Assign(c.a, c.b, c.w);
        const QVL::WEIGHT3& w = Live()->weights[2];
        EXPECT_EQ(c.boneA, w.boneA);
        EXPECT_EQ(c.boneB, w.boneB);
        EXPECT_EQ(c.weight, w.weightA);
    }
}

TEST_F(WeightScreen, TheDialogShowsNothingWithoutAPickedVertex)
{
    Weight3D_Enter();
    ASSERT_NE(nullptr, g_Weight3DDlg);
    EXPECT_EQ(-1, g_WeightVertex) << "entering clears the pick with the selection";
    UiRec().Clear();
    for (int32_t v : {-1, 4, 1000}) {
        g_WeightVertex = v;
        EXPECT_FALSE(Weight3D_ShowVertex());
    }
    EXPECT_TRUE(UiRec().calls.empty());
    Live()->weights[2] = QVL::WEIGHT3{3, 5, 0.25f, 0};
    g_WeightVertex = 2;
    EXPECT_TRUE(Weight3D_ShowVertex());
    size_t texts = 0;
    for (const std::string& c : UiRec().calls) texts += c.rfind("Text ", 0) == 0;
    EXPECT_EQ(3u, texts);
    EXPECT_TRUE(std::any_of(UiRec().calls.begin(), UiRec().calls.end(),
                            [](const std::string& c) { return c.size() > 5 && c.compare(c.size() - 5, 5, " 0.25") == 0; }));
}

TEST_F(WeightScreen, EnterMakesTheDialogOnceAndClearsTheSelection)
{
    g_VertexSel[0] = 1;
    g_PolyEditState = POLY_EDIT_STATE{0, 1, 3, 0};
    Weight3D_Enter();
    Weight3D_Enter();
    EXPECT_EQ((std::vector<int>{MODEL3D_DLG_WEIGHT}), Model3DRec().created);
    EXPECT_EQ(0, g_VertexSel[0]);
    EXPECT_EQ(0, g_PolyEditState.tool);
    EXPECT_EQ(0, g_PolyEditState.selectionMode);
    Weight3D_Exit();
    EXPECT_EQ(nullptr, g_Weight3DDlg);
}

TEST_F(WeightScreen, ArrowKeysPanTheOrthographicViews)
{
    const struct {
        int type, key;
        float dx, dy, dz;
    } cases[] = {
        {VIEW_TYPE_FRONT, 0x27, 4, 0, 0}, {VIEW_TYPE_SIDE, 0x27, 0, 0, -4}, {VIEW_TYPE_TOP, 0x26, 0, 0, -4},
        {VIEW_TYPE_SIDE, 0x28, 0, -4, 0}, {VIEW_TYPE_TOP, 0x25, -4, 0, 0}, {VIEW_TYPE_MAIN, 0x27, 0, 0, 0},
    };
    VIEW_REC v{};
    g_CurView = &v;
    for (const auto& c : cases) {
        v = VIEW_REC{};
        v.type = c.type;
        v.zoom = 0.5f;
        Weight3D_KeyDown(c.key);
        EXPECT_EQ(c.dx, v.pan[0]);
        EXPECT_EQ(c.dy, v.pan[1]);
        EXPECT_EQ(c.dz, v.pan[2]);
    }
    g_Lib.mouse.held[2] = 1;
    v = VIEW_REC{};
    v.type = VIEW_TYPE_FRONT;
    v.zoom = 1;
    Weight3D_KeyDown(0x27);
    EXPECT_EQ(0.0f, v.pan[0]) << "a held button keeps the view";
    g_Lib.mouse.held[2] = 0;
    g_CurView = nullptr;
}

} // namespace
