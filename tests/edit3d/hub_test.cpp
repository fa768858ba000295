// The 3D editor hub: which tool dialogs each screen keeps, the screen switch, and the events passed
// on to the current screen.
#include "edit3d/edit3d_fixture.h"
#include "edit3d/model3d_dialogs.h"
#include "shell/input_state.h"
#include "support/draw_recorder.h"

namespace {

class HubTest : public Edit3DTest {
protected:
    void SetUp() override
    {
        Edit3DTest::SetUp();
        g_Model3DEditor.undoList = nullptr;
        g_Screen = SCREEN_3D_OBJECT;
    }
    void TearDown() override
    {
        Model3D_Exit();
        Edit3DTest::TearDown();
    }
};

TEST_F(HubTest, EachScreenOpensItsOwnDialogs)
{
    const struct {
        int screen;
        std::vector<int> made;
    } cases[] = {
        {SCREEN_3D_OBJECT, {MODEL3D_DLG_SCREENS}},
        {SCREEN_3D_POLYGON,
         {MODEL3D_DLG_SCREENS, MODEL3D_DLG_POLY, MODEL3D_DLG_POLY_NUM, MODEL3D_DLG_LAYER, MODEL3D_DLG_GROUP, MODEL3D_DLG_UNDO}},
        {SCREEN_3D_TEXTURE,
         {MODEL3D_DLG_SCREENS, MODEL3D_DLG_TEX, MODEL3D_DLG_TEX_IMAGE, MODEL3D_DLG_GROUP, MODEL3D_DLG_UNDO}},
        {SCREEN_3D_BONE, {MODEL3D_DLG_SCREENS, MODEL3D_DLG_BONE_LIST, MODEL3D_DLG_UNDO}},
        {SCREEN_3D_WEIGHT, {MODEL3D_DLG_SCREENS, MODEL3D_DLG_WEIGHT, MODEL3D_DLG_BONE_LIST, MODEL3D_DLG_GROUP, MODEL3D_DLG_UNDO}},
        {SCREEN_3D_MOTION,
         {MODEL3D_DLG_SCREENS, MODEL3D_DLG_MOTION, MODEL3D_DLG_MOTION_KEYS, MODEL3D_DLG_MOTION_LIST, MODEL3D_DLG_UNDO}},
        {13, {MODEL3D_DLG_SCREENS}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("screen " + std::to_string(c.screen));
        Model3DRec().created.clear();
        g_Screen = c.screen;
        Model3D_Enter();
        EXPECT_EQ(c.made, Model3DRec().created);
        // Entering again makes nothing twice.
        Model3DRec().created.clear();
        Model3D_Enter();
        EXPECT_TRUE(Model3DRec().created.empty());
        Model3D_Exit();
        EXPECT_EQ(nullptr, g_Model3DEditor.layerSlot.window);
        EXPECT_EQ(nullptr, g_Model3DEditor.undoList);
        EXPECT_EQ(nullptr, g_Model3DEditor.boneTree);
        EXPECT_EQ(nullptr, g_DlgSlots[c.screen][0].window);
        EXPECT_EQ(nullptr, g_DlgSlots[c.screen][1].window);
    }
}

TEST_F(HubTest, SwitchingScreensLeavesTheOldOneAndTheCurrentButtonReEnters)
{
    g_Screen = SCREEN_3D_POLYGON;
    Model3D_Enter();
    void* layer = g_Model3DEditor.layerSlot.window;
    ASSERT_NE(nullptr, layer);
    Model3DRec().created.clear();
    Model3D_SwitchScreen(Model3D_ScreenOfButton(1093));
    EXPECT_TRUE(Model3DRec().created.empty());
    EXPECT_EQ(layer, g_Model3DEditor.layerSlot.window);

    Model3D_SwitchScreen(Model3D_ScreenOfButton(1098));
    EXPECT_EQ(SCREEN_3D_TEXTURE, g_Screen);
    EXPECT_EQ(nullptr, g_Model3DEditor.layerSlot.window);
    EXPECT_EQ(nullptr, g_DlgSlots[SCREEN_3D_POLYGON][0].window);
    EXPECT_NE(nullptr, g_DlgSlots[SCREEN_3D_TEXTURE][0].window);
    EXPECT_TRUE(UiRec().Has("MenuSet MENU_3D_BONE"));
    EXPECT_EQ(-1, Model3D_ScreenOfButton(1103));
    Model3D_SwitchScreen(Model3D_ScreenOfButton(1103));
    EXPECT_EQ(SCREEN_3D_TEXTURE, g_Screen);
}

TEST_F(HubTest, AFailedDialogIsTriedAgainAtTheNextEnter)
{
    g_Screen = SCREEN_3D_POLYGON;
    Model3DRec().refuse[MODEL3D_DLG_UNDO] = true;
    Model3D_Enter();
    EXPECT_EQ(nullptr, g_DlgSlots[SCREEN_3D_POLYGON][0].window);
    EXPECT_EQ(nullptr, g_Model3DEditor.undoList);
    Model3DRec().refuse[MODEL3D_DLG_UNDO] = false;
    Model3D_Enter();
    EXPECT_NE(nullptr, g_DlgSlots[SCREEN_3D_POLYGON][0].window);
    EXPECT_NE(nullptr, g_Model3DEditor.undoList);
}

TEST_F(HubTest, EnteringFillsTheUndoListOfTheCurrentLayer)
{
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, "３Ｄモデル編集");
    Undo_Record(&g_UndoHistories[0]);
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, "a.qvp 読み込み");
    Undo_Record(&g_UndoHistories[0]);
    g_Screen = SCREEN_3D_POLYGON;
    Model3D_Enter();
    const std::vector<std::string> rows = {"３Ｄモデル編集", "a.qvp 読み込み"};
    EXPECT_EQ(rows, Model3DRec().listRows);
    EXPECT_EQ(1, Model3DRec().listSelected);
}

// The button-down handlers that the hub itself gives the screens.
TEST_F(HubTest, ButtonsSetThePressPointsTheScreenAsksFor)
{
    enum { kLeft, kMiddle, kRight };
    const struct {
        int screen, button;
        bool pressPoint, leftPress, anchor;
    } cases[] = {
        {SCREEN_3D_TEXTURE, kLeft, true, true, true},
        {SCREEN_3D_TEXTURE, kMiddle, true, false, true},
        {SCREEN_3D_BONE, kMiddle, true, true, true},
        {SCREEN_3D_WEIGHT, kMiddle, true, false, true},
        {SCREEN_3D_POLYGON, kRight, true, false, true},
        {SCREEN_3D_MOTION, kLeft, true, true, true},
        {13, kLeft, false, false, false},
        {13, kRight, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("screen " + std::to_string(c.screen) + " button " + std::to_string(c.button));
        const POINT32 old = {-5, -6}, now = {40, 70};
        g_DragStart = g_DragCurrent = g_PrevMousePos = g_DragAnchor = g_LeftPressPoint = old;
        g_PressPoint = now;
        g_Screen = c.screen;
        if (c.button == kLeft) Model3D_LButtonDown(0);
        else if (c.button == kMiddle) Model3D_MButtonDown(0);
        else Model3D_RButtonDown(0);
        const POINT32 want = c.pressPoint ? now : old;
        EXPECT_EQ(want.x, g_DragStart.x);
        EXPECT_EQ(want.x, g_DragCurrent.x);
        EXPECT_EQ(want.y, g_PrevMousePos.y);
        EXPECT_EQ((c.anchor ? now : old).x, g_DragAnchor.x);
        EXPECT_EQ((c.leftPress ? now : old).x, g_LeftPressPoint.x);
    }
}

// Three lines, Y, X and Z, red, green and blue; the named axis of the current bone yellow.
TEST_F(HubTest, JointCrossColoursItsAxes)
{
    const int32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, yellow = 0xFFFF00;
    const struct {
        int bone, currentBone, axis;
        int32_t colours[3];
    } cases[] = {
        {1, 1, 0, {yellow, green, blue}},
        {1, 1, 1, {red, yellow, blue}},
        {1, 1, 2, {red, green, yellow}},
        {1, 1, 3, {red, green, blue}},
        {1, 0, 1, {red, green, blue}},
    };
    g_Screen = SCREEN_3D_BONE;
    for (const auto& c : cases) {
        SCOPED_TRACE("axis " + std::to_string(c.axis) + " current bone " + std::to_string(c.currentBone));
        g_CurBone = c.currentBone;
        DrawRec().Clear();
        Model3D_DrawJointCross(c.bone, c.axis);
        std::vector<DrawCall> lines = DrawRec().Of("line");
        ASSERT_EQ(3u, lines.size());
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(c.colours[k], lines[(size_t)k].r << 16 | lines[(size_t)k].g << 8 | lines[(size_t)k].b) << k;
            EXPECT_EQ(255, lines[(size_t)k].a);
        }
    }
    g_CurBone = 0;
}

} // namespace
