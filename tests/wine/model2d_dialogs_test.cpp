// The 2D hub's dialogs as the studio makes them: the switcher's buttons, the bone list's own list box
// and tree, and the list's caret row taken as the current bone (LB_ERR takes nothing).
#include <windows.h>

#include <gtest/gtest.h>

#include "edit2d/bone2d.h"
#include "edit2d/model2d_dialogs.h"
#include "edit3d/bone_screen.h"
#include "frame/lib.h"
#include "model/model2.h"
#include "shell/current.h"
#include "shell/hierarchy.h"
#include "shell/mode_hooks.h"

namespace {

TEST(Model2DDialogsWine, SwitcherHasItsSevenButtons)
{
    HWND dlg = (HWND)Model2DDlg_Create(MODEL2D_DLG_SCREENS);
    ASSERT_NE(nullptr, dlg);
    for (int id = 1478; id <= 1484; ++id) EXPECT_NE(nullptr, GetDlgItem(dlg, id)) << id;
    char text[64] = {0};
    EXPECT_GT(GetDlgItemTextA(dlg, 1482, text, sizeof text), 0);
    DestroyWindow(dlg);
}

TEST(Model2DDialogsWine, BoneListTakesTheCaretRowAndIgnoresLbErr)
{
    const int32_t savedMode = g_Mode, savedScreen = g_Screen;
    g_Lib.allocArrays = 1;
    QVL::MODEL2* m = Model2_Create(0);
    g_Model2InUse[0] = 1;
    m->boneCount = 3;
    g_Mode = MODE_2D_EDIT;
    g_Screen = SCREEN_2D_BONE;
    g_CurBone = 0;
    HWND dlg = (HWND)Model2DDlg_Create(MODEL2D_DLG_BONE_LIST);
    ASSERT_NE(nullptr, dlg);
    Model2DDlg_MakeBoneControls(dlg);
    ASSERT_NE(nullptr, g_BoneListCtl2D);
    ASSERT_NE(nullptr, g_BoneTreeCtl);
    Mode_UpdateCurrent();
    List_FillBoneList2D();
    HWND list = (HWND)g_BoneListCtl2D;
    EXPECT_EQ(3, SendMessageA(list, LB_GETCOUNT, 0, 0));
    SendMessageA(list, LB_SETCARETINDEX, 2, FALSE);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(40031, BN_CLICKED), 0);
    EXPECT_EQ(2, g_CurBone);
    // No rows: the caret is LB_ERR or 0; neither may name a bone past the model's.
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    m->boneCount = 1;
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(40031, BN_CLICKED), 0);
    EXPECT_TRUE(g_CurBone == 2 || g_CurBone == 0);
    DestroyWindow(dlg);
    EXPECT_EQ(nullptr, g_BoneListCtl2D);
    Model2_FreeSlot(0);
    g_Model2InUse[0] = 0;
    g_Mode = savedMode;
    g_Screen = savedScreen;
    Mode_UpdateCurrent();
}

}  // namespace
