// The modelling dialog's commands on the current layer's model, as the user presses them: the
// counters, the split and its undo step, extrusion, face creation, the switches and the numeric
// input.
#include <cstring>
#include <memory>

#include "edit3d/edit3d_fixture.h"
#include "edit3d/model3d_dialogs.h"
#include "edit3d/poly_dialogs.h"
#include "edit3d/poly_drag.h"
#include "edit3d/poly_screen.h"
#include "model/curve.h"
#include "shell/app_state.h"
#include "shell/mode_hooks.h"
#include "shell/picking.h"
#include "support/model_builders.h"
#include "support/recorder.h"

namespace {

class PolyDialogs : public Edit3DTest {
protected:
    void SetUp() override
    {
        Edit3DTest::SetUp();
        // The studio's normal computation, which rebuilds the normal table.
        savedStudio = g_StudioFlag;
        g_StudioFlag = 1;
        Sel_AllocBuffers();
        std::fill(g_VertexSel, g_VertexSel + 4 * g_Lib.maxPolygons, 0);
        std::fill(g_FaceSel, g_FaceSel + g_Lib.maxPolygons, 0);
        g_PolyEditState = POLY_EDIT_STATE{0, 1, 0, 0};
        g_CurVertex = -1;
        g_PickedFace = -1;
        // The one-quad model: 4 positions and UVs, one normal, one colour.
        QVL::MODEL3* q = NewRecord();
        const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int i = 0; i < 4; ++i)
            AddVertex(q, (i == 1 || i == 2) ? 1.0f : 0.0f, i >= 2 ? 1.0f : 0.0f, 0, uv[i][0], uv[i][1]);
        AddFace(q, {0, 1, 2, 3});
        for (int c = 0; c < 4; ++c) q->faces[0].corners[c][QVL::CORNER_COLOR] = 0;
        q->colorCount = 1;
        q->colors.resize(1);
        Model3_CopyRecord(q, Live(), true);
        Model3_Free(q);
        Mode_UpdateCurrent();
        ASSERT_EQ(Live(), g_CurModel3);
        Record("読み込み");
        Rec().messageBoxes.clear();
        g_Poly3DUi.setCountText = [](const char* t) { s_Shown = t; };
    }
    void TearDown() override
    {
        g_Poly3DUi.setCountText = nullptr;
        g_StudioFlag = savedStudio;
        Edit3DTest::TearDown();
    }
    static std::string s_Shown;
    int32_t savedStudio = 0;
};
std::string PolyDialogs::s_Shown;

TEST_F(PolyDialogs, SelectAllThenVertexModeShowsTheCounts)
{
    Poly3D_KeyUp('S');
    ASSERT_TRUE(Poly3D_DlgCommand(1141));
    Poly3D_ShowCounts();
    EXPECT_EQ("頂点     4 /    4", s_Shown);
    char counters[4][64];
    Poly3D_CounterTexts(counters);
    EXPECT_STREQ("頂点数      4", counters[0]);
    EXPECT_STREQ(" 色数       1", counters[2]);
    EXPECT_TRUE(Poly3D_ButtonChecked(1141));
    EXPECT_FALSE(Poly3D_ButtonChecked(1142));
}

TEST_F(PolyDialogs, SplitSavesTheDocumentedFileAndUndoesToTheQuad)
{
    const std::vector<uint8_t> quad = SaveBytes(Live());
    EXPECT_EQ(968u, quad.size());
    Poly3D_KeyUp('S');
    ASSERT_TRUE(Poly3D_DlgCommand(1143));
    EXPECT_TRUE(Rec().messageBoxes.empty());
    EXPECT_EQ(4, Live()->faceCount);
    const std::vector<uint8_t> split = SaveBytes(Live());
    EXPECT_EQ(2456u, split.size());
    EXPECT_STREQ("分割 ( モデリング )", History().entries[History().position].caption);
    Poly3D_DlgCommand(1143);
    EXPECT_EQ(16, Live()->faceCount) << "the new faces stay selected";
    Undo_StepBack(&History());
    Undo_StepBack(&History());
    EXPECT_EQ(quad, SaveBytes(Live()));
    Undo_StepForward(&History());
    EXPECT_EQ(split, SaveBytes(Live()));
}

TEST_F(PolyDialogs, SplitInVertexModeOnlyTellsTheUser)
{
    Poly3D_DlgCommand(1141);
    const int32_t position = History().position;
    Poly3D_KeyUp('S');
    Poly3D_DlgCommand(1143);
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ("面選択モードで、利用できます。", Rec().messageBoxes[0]);
    EXPECT_EQ(1, Live()->faceCount);
    EXPECT_EQ(position, History().position);
}

TEST_F(PolyDialogs, ExtrudeAddsFourPositionsAndFourSides)
{
    g_LastViewZoom = 1.0f;
    Poly3D_KeyUp('S');
    ASSERT_TRUE(Poly3D_DlgCommand(81));
    EXPECT_EQ(8, Live()->positionCount);
    EXPECT_EQ(5, Live()->faceCount);
    EXPECT_EQ(0.25f, Model3_PositionAt(Live(), Live()->faces[0].corners[0][QVL::CORNER_POS]).z);
    EXPECT_EQ(POLY_TOOL_MOVE, g_PolyEditState.tool);
    EXPECT_STREQ("面押出し ( モデリング )", History().entries[History().position].caption);
}

TEST_F(PolyDialogs, FaceCreationWithFiveVerticesAsksForThreeOrFour)
{
    // A second quad beside the first: five distinct positions once all are selected.
    QVL::MODEL3* m = Live();
    AddVertex(m, 2, 0, 0);
    AddFace(m, {1, 4, 2});
    Poly3D_DlgCommand(1141);
    Poly3D_KeyUp('S');
    const size_t listSize = m->faces.size();
    const int32_t position = History().position;
    ASSERT_TRUE(Poly3D_DlgCommand(1173));
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ("３又は４頂点を選択して下さい。", Rec().messageBoxes[0]);
    EXPECT_EQ(2, m->faceCount);
    EXPECT_EQ(listSize, m->faces.size());
    EXPECT_EQ(position, History().position);
}

TEST_F(PolyDialogs, SwitchesToggleWithACaptionAndNoStep)
{
    const int32_t light = Live()->light;
    const int32_t position = History().position;
    Poly3D_DlgCommand(1181);
    EXPECT_EQ(light == 1 ? 0 : 1, Live()->light);
    Poly3D_DlgCommand(1181);
    EXPECT_EQ(light, Live()->light);
    EXPECT_STREQ(light == 1 ? "ライトON ( モデリング )" : "ライトOFF ( モデリング )", g_UndoCaption);
    EXPECT_EQ(position, History().position);
}

TEST_F(PolyDialogs, NumericInputScalesOnlyTheGivenAxes)
{
    Poly3D_KeyUp('S');
    g_PolyEditState.tool = POLY_TOOL_SCALE;
    const char* scale[3] = {"2", "", ""};
    Poly3D_ApplyNumbers(scale);
    EXPECT_EQ(2.0f, Live()->positions[1].x);
    EXPECT_EQ(1.0f, Live()->positions[2].y);
    g_PolyEditState.tool = POLY_TOOL_MOVE;
    const char* move[3] = {"", "0.5", ""};
    Poly3D_ApplyNumbers(move);
    EXPECT_EQ(1.5f, Live()->positions[2].y);
    EXPECT_EQ(2.0f, Live()->positions[1].x);
    // The select tool changes nothing but still records a step.
    const int32_t position = History().position;
    g_PolyEditState.tool = POLY_TOOL_SELECT;
    Poly3D_ApplyNumbers(scale);
    EXPECT_EQ(2.0f, Live()->positions[1].x);
    EXPECT_EQ(position + 1, History().position);
}

TEST_F(PolyDialogs, CurvedSurfacesAreBakedIntoTheLayersModelAsAStep)
{
    const int32_t position = History().position;
    ASSERT_TRUE(Poly3D_DlgCommand(1136));
    EXPECT_GT(Live()->faceCount, 1);
    EXPECT_EQ(position + 1, History().position);
    EXPECT_STREQ("曲面化 ( モデリング )", History().entries[History().position].caption);
    Undo_StepBack(&History());
    EXPECT_EQ(1, Live()->faceCount);
}

TEST_F(PolyDialogs, EnterMakesLayerZeroCurrentAndOpensBothDialogs)
{
    g_CurLayer = 3;
    Model3DRec().created.clear();
    Poly3D_Enter();
    EXPECT_EQ(0, g_CurLayer);
    EXPECT_EQ((std::vector<int>{MODEL3D_DLG_POLY, MODEL3D_DLG_POLY_NUM}), Model3DRec().created);
    Poly3D_Exit();
    EXPECT_EQ(nullptr, g_Poly3DDlg);
    EXPECT_EQ(nullptr, g_Poly3DNumDlg);
}

} // namespace
