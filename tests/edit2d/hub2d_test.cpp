// The 2D editor hub: the screen switch and the shared dialogs each screen keeps, the axis labels,
// and the bone screen's events passed on through the hub.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "edit2d/bone2d.h"
#include "edit2d/model2d_dialogs.h"
#include "edit2d/model2d_hooks.h"
#include "frame/lib.h"
#include "render/text_queue.h"
#include "shell/hierarchy.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/navigation.h"
#include "shell/views.h"
#include "support/ui_recorder.h"

namespace {

class Hub2DTest : public ::testing::Test {
protected:
    int32_t savedMode = 0, savedScreen = 0;
    float savedZoom = g_Zoom2D;
    void SetUp() override
    {
        savedMode = g_Mode;
        savedScreen = g_Screen;
        for (VIEW_REC* row : g_Views)
            for (int i = 0; i < kViewsPerScreen; ++i) row[i].window = nullptr;
        g_Model2DEditor = MODEL2D_EDITOR{};
        g_Mode = MODE_2D_EDIT;
        g_Screen = SCREEN_2D_BONE;
        g_ModeMenu = nullptr;
        UiRec().Clear();
    }
    void TearDown() override
    {
        g_Zoom2D = savedZoom;
        Model2D_Exit();
        g_Mode = savedMode;
        g_Screen = savedScreen;
        g_ModeMenu = nullptr;
        g_PlaybackOn = 0;
        Mode_UpdateCurrent();
    }
    // The dialogs made since the recorder was cleared, in order.
    static std::vector<int> Made()
    {
        std::vector<int> out;
        for (const std::string& c : UiRec().calls)
            if (c.rfind("M2dCreate ", 0) == 0) out.push_back(std::stoi(c.substr(10)));
        return out;
    }
};

TEST_F(Hub2DTest, EachScreenOpensTheSharedDialogsItNeeds)
{
    const struct {
        int screen;
        std::vector<int> made;
    } cases[] = {
        {SCREEN_2D_OBJECT, {MODEL2D_DLG_SCREENS}},
        {SCREEN_2D_POLYGON, {MODEL2D_DLG_SCREENS, MODEL2D_DLG_GROUP}},
        {SCREEN_2D_TEXTURE, {MODEL2D_DLG_SCREENS, MODEL2D_DLG_GROUP}},
        {SCREEN_2D_BONE, {MODEL2D_DLG_SCREENS, MODEL2D_DLG_BONE_LIST}},
        {SCREEN_2D_WEIGHT, {MODEL2D_DLG_SCREENS, MODEL2D_DLG_BONE_LIST, MODEL2D_DLG_GROUP}},
        {SCREEN_2D_MOTION, {MODEL2D_DLG_SCREENS}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        UiRec().Clear();
        g_Screen = c.screen;
        Model2D_Enter();
        EXPECT_EQ(c.made, Made());
        EXPECT_EQ(c.screen == SCREEN_2D_OBJECT ? 1 : 2, g_ScreenGroup);
        UiRec().Clear();
        Model2D_Enter();
        EXPECT_TRUE(Made().empty());
        Model2D_Exit();
        EXPECT_EQ(nullptr, g_Model2DEditor.screensDlg);
        EXPECT_EQ(nullptr, g_Model2DEditor.boneListDlg);
        EXPECT_EQ(nullptr, g_Model2DEditor.groupDlg);
        EXPECT_EQ(nullptr, g_BoneListCtl2D);
        EXPECT_EQ(nullptr, g_BoneTreeCtl);
    }
}

TEST_F(Hub2DTest, SwitchLeavesAndEntersOwnButtonReentersDeadButtonsDoNothing)
{
    g_Screen = SCREEN_2D_BONE;
    Model2D_Enter();
    void* boneList = g_Model2DEditor.boneListDlg;
    ASSERT_NE(nullptr, boneList);
    // Bone to weight: the bone list is destroyed and made again.
    UiRec().Clear();
    Model2D_SwitchScreen(Model2D_ScreenOfButton(1483));
    EXPECT_EQ(SCREEN_2D_WEIGHT, g_Screen);
    EXPECT_NE(boneList, g_Model2DEditor.boneListDlg);
    EXPECT_EQ((std::vector<int>{MODEL2D_DLG_SCREENS, MODEL2D_DLG_BONE_LIST, MODEL2D_DLG_GROUP}), Made());
    // The shown screen's button enters again without leaving: nothing is destroyed.
    UiRec().Clear();
    Model2D_SwitchScreen(Model2D_ScreenOfButton(1483));
    EXPECT_TRUE(Made().empty());
    EXPECT_EQ(0, std::count_if(UiRec().calls.begin(), UiRec().calls.end(),
                               [](const std::string& c) { return c.rfind("Destroy", 0) == 0; }));
    // "------------" and screen 5 switch nothing.
    EXPECT_EQ(-1, Model2D_ScreenOfButton(1479));
    Model2D_SwitchScreen(Model2D_ScreenOfButton(1479));
    Model2D_SwitchScreen(SCREEN_2D_OBJECT + 1);
    EXPECT_EQ(SCREEN_2D_WEIGHT, g_Screen);
    const int table[][2] = {{1478, SCREEN_2D_OBJECT}, {1480, SCREEN_2D_POLYGON}, {1481, SCREEN_2D_TEXTURE},
                            {1482, SCREEN_2D_BONE}, {1484, SCREEN_2D_MOTION}, {1485, -1}};
    for (const auto& row : table) EXPECT_EQ(row[1], Model2D_ScreenOfButton(row[0])) << row[0];
}

TEST_F(Hub2DTest, AxisLabelsHiddenWhilePlaying)
{
    g_Screen = SCREEN_2D_MOTION;
    for (int playing : {0, 1}) {
        SCOPED_TRACE(playing);
        g_PlaybackOn = playing;
        g_TextQueue.clear();
        Model2D_Draw();
        std::vector<std::string> labels;
        for (const QVL::TEXT_REC& t : g_TextQueue) labels.push_back(t.text);
        if (playing) EXPECT_TRUE(labels.empty());
        else EXPECT_EQ((std::vector<std::string>{"-Y", "-X", "+X", "+Y"}), labels);
    }
    g_TextQueue.clear();
}

TEST_F(Hub2DTest, BoneScreenPressTakesTheCursorLessTheViewPan)
{
    Model2D_Enter();
    EXPECT_FLOAT_EQ(1.0f, g_Zoom2D);
    g_Views[SCREEN_2D_BONE][0].pan[0] = 30.0f;
    g_Views[SCREEN_2D_BONE][0].pan[1] = 40.0f;
    Model2D_LButtonDown((300 << 16) | 200);
    EXPECT_EQ(170, g_PressPoint.x);
    EXPECT_EQ(260, g_PressPoint.y);
    EXPECT_EQ(170, g_LeftPressPoint.x);
    EXPECT_EQ(260, g_DragAnchor.y);
    // The move folds a point left of the window back below 0.
    Model2D_MouseMove((300 << 16) | 20);
    EXPECT_EQ(20 - 30, g_PressPoint.x);
    g_Views[SCREEN_2D_BONE][0].pan[0] = g_Views[SCREEN_2D_BONE][0].pan[1] = 0.0f;
    // Screen 5 takes no event.
    g_Screen = SCREEN_2D_OBJECT + 1;
    g_PressPoint = POINT32{1, 1};
    Model2D_LButtonDown((300 << 16) | 200);
    EXPECT_EQ(1, g_PressPoint.x);
}

}  // namespace
