// The 2D motion screen's dialogs from their resources: a key made and typed in 2D_MOTION_DLG, a
// motion added in 2D_MOTION_LIST_DLG, and all of them ended on leaving the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include "edit2d/motion2d.h"
#include "edit2d/motion2d_panel.h"
#include "frame/lib.h"
#include "model/model2.h"
#include "frame/lib.h"
#include "shell/current.h"
#include "shell/hierarchy.h"
#include "shell/panels.h"
#include "shell/input_state.h"
#include "shell/playback.h"

namespace {

void Click(HWND dlg, int id) { SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id)); }

} // namespace

TEST(Motion2DDialogs, KeyTypedAndMotionAdded)
{
    g_Lib.allocArrays = 1;
    QVL::MODEL2* m = Model2_Create(0);
    ASSERT_NE(nullptr, m);
    g_Model2InUse[0] = 1;
    m->boneCount = 2;
    m->motionCount = 1;
    m->motions[0].length = 60;
    m->currentMotion = 0;
    m->bones[1].keyLists[0].keys.clear();
    m->currentFrame = 12;
    const int32_t savedBone = g_CurBone;
    g_CurBone = 1;
    // What entering the screen sets, put back for the tests after this one.
    const int32_t saved[] = {g_ScreenGroup, g_CurLayer, g_DragTool, g_TimelineLabelWidth, g_TimelineTop, g_CurPart,
                             g_HierRowCur, g_KeyHoverRow, g_LoopPlay};
    void* const savedMenu = g_ModeMenu;
    g_Motion2DWindows = MOTION2D_WINDOWS{};
    Motion2D_Enter();
    HWND keys = (HWND)g_Motion2DWindows.motionDlg, list = (HWND)g_Motion2DWindows.listDlg;
    ASSERT_NE(nullptr, keys);
    ASSERT_NE(nullptr, g_Motion2DWindows.keyDlg);
    ASSERT_NE(nullptr, list);
    ASSERT_NE(nullptr, g_Motion2DWindows.list);

    Click(keys, 1238);
    ASSERT_EQ(1u, m->bones[1].keyLists[0].keys.size());
    EXPECT_EQ(12, m->bones[1].keyLists[0].keys[0].frame);
    SetDlgItemTextA(keys, 1290, "1.5");
    SetDlgItemTextA(keys, 1299, "-2");
    SetDlgItemTextA(keys, 1295, "45");
    SetDlgItemTextA(keys, 1296, "2");
    SetDlgItemTextA(keys, 1297, "0.5");
    Click(keys, 1289);
    const QVL::KEY2& k = m->bones[1].keyLists[0].keys[0];
    EXPECT_FLOAT_EQ(1.5f, k.x);
    EXPECT_FLOAT_EQ(-2.0f, k.y);
    EXPECT_FLOAT_EQ(45.0f, k.rotation);
    EXPECT_FLOAT_EQ(2.0f, k.scaleX);
    EXPECT_FLOAT_EQ(0.5f, k.scaleY);
    Click(keys, 1122);
    EXPECT_EQ(0, g_DragTool);

    Click(keys, 1255);
    EXPECT_EQ(1, g_PlayFlag);
    EXPECT_EQ(0, m->currentFrame);
    Click(keys, 1256);
    EXPECT_EQ(0, g_PlayFlag);
    EXPECT_EQ(12, m->currentFrame);

    SetDlgItemTextA(list, 1010, "walk");
    SetDlgItemTextA(list, 1048, "90");
    Click(list, 1056);
    EXPECT_STREQ("walk", m->motions[0].name);
    EXPECT_EQ(90, m->motions[0].length);
    EXPECT_EQ(2, m->motionCount);
    EXPECT_EQ(1, m->currentMotion);

    Motion2D_Exit();
    EXPECT_FALSE(IsWindow(keys));
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(nullptr, g_Motion2DWindows.keyDlg);
    Model2_FreeSlot(0);
    g_CurBone = savedBone;
    g_ScreenGroup = saved[0];
    g_CurLayer = saved[1];
    g_DragTool = saved[2];
    g_TimelineLabelWidth = saved[3];
    g_TimelineTop = saved[4];
    g_CurPart = saved[5];
    g_HierRowCur = saved[6];
    g_KeyHoverRow = saved[7];
    g_LoopPlay = saved[8];
    g_ModeMenu = savedMenu;
}
