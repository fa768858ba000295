// The MAP2 editor and the collision editor on the running studio frame, entered through their mode
// hooks as the shell's mode table would: a painted cell survives a save and a reopen byte for byte,
// and a test character walking into a wall placed with the box dialog stops at it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "scene/coli.h"
#include "scene/coli_edit.h"
#include "scene/map2.h"
#include "scene/map_edit.h"
#include "scene/scene_edit_hooks.h"
#include "shell/current.h"
#include "shell/views.h"
#include "wine/support/wine_frame.h"

namespace {

// What the editors change of the studio-wide state, put back for the tests that follow.
struct StateKept {
    decltype(g_ScreenGroup) group = g_ScreenGroup;
    int32_t layer = g_CurLayer;
    char cwd[MAX_PATH] = {};
    StateKept() { GetCurrentDirectoryA(MAX_PATH, cwd); }
    ~StateKept()
    {
        g_ScreenGroup = group;
        g_CurLayer = layer;
        if (g_ModeMenu) DestroyMenu((HMENU)g_ModeMenu);
        g_ModeMenu = nullptr;
        SetCurrentDirectoryA(cwd);
    }
};

std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::vector<uint8_t> b;
    QVL::File_ReadAll(path.c_str(), b);
    return b;
}

TEST(MapEditWine, APaintedCellSavesAndReopensWithTheSameBytes)
{
    ASSERT_TRUE(WineFrame_Ensure());
    StateKept kept;
    const std::string folder = std::string(kept.cwd) + "\\map_wine";
    CreateDirectoryA(folder.c_str(), nullptr);

    Map2Edit_Enter();
    ASSERT_NE(nullptr, g_Map2);
    EXPECT_NE(nullptr, g_ModeMenu);
    // The sample map's two chips come from the data folder's pictures.
    EXPECT_GE(g_Map2ChipTextures[0].texture, 0);
    EXPECT_GE(g_Map2ChipTextures[1].texture, 0);
    EXPECT_EQ(32, g_Map2ChipTextures[1].width);
    HWND dialog = (HWND)g_Map2Edit.imageDialog;
    ASSERT_TRUE(IsWindow(dialog));
    HWND list = GetDlgItem(dialog, 60);
    ASSERT_EQ(2, (int)SendMessageA(list, LB_GETCOUNT, 0, 0));

    // Chip 1 chosen in the list as a click would, then the left button held over cell (5, 7).
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(60, LBN_SELCHANGE), (LPARAM)list);
    EXPECT_EQ(1, g_Map2Edit.currentChip);
    const VIEW_REC& v = g_Views[g_Screen][0];
    g_Lib.mouse.x = (int)((g_Lib.monitorWidth - 640) * 0.5 + v.pan[0]) + 5 * 32 + 10;
    g_Lib.mouse.y = (int)((g_Lib.monitorHeight - 480) * 0.5 + v.pan[1]) + 7 * 32 + 10;
    ASSERT_EQ(0, g_Map2->cells[7][5]);
    Map2Edit_LButtonDown(0);
    Map2Edit_Frame();
    Map2Edit_LButtonUp(0);
    EXPECT_EQ(5, g_Map2Edit.cursorX);
    EXPECT_EQ(7, g_Map2Edit.cursorY);
    EXPECT_EQ(1, g_Map2->cells[7][5]);
    Map2Edit_Frame();  // the button is up: nothing more is painted
    EXPECT_EQ(0, g_Map2->cells[7][6]);

    const std::string first = folder + "\\painted.MAP2", second = folder + "\\again.MAP2";
    ASSERT_TRUE(Map2_Save(first.c_str()));
    Map2_New();
    ASSERT_TRUE(Map2_Load(first.c_str()));
    EXPECT_EQ(1, g_Map2->cells[7][5]);
    ASSERT_TRUE(Map2_Save(second.c_str()));
    const std::vector<uint8_t> a = ReadAll(first), b = ReadAll(second);
    EXPECT_EQ(16426u, a.size());
    EXPECT_TRUE(a == b);

    Map2Edit_Exit();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(nullptr, g_Map2Edit.imageDialog);
}

TEST(ColiEditWine, ATestCharacterWalkingIntoAWallStopsThere)
{
    ASSERT_TRUE(WineFrame_Ensure());
    StateKept kept;
    const int32_t modelsBefore = Model3_Count();

    ColiEdit_Enter();
    ASSERT_EQ(5u, g_ColiEdit.objectIds.size());
    for (int32_t id : g_ColiEdit.modelIds) {
        Model3_WaitLoaded(id);
        ASSERT_TRUE(Model3_IsReadyById(id)) << id;
        EXPECT_EQ(2, Model3_GetById(id)->renderKind);
    }
    // Entering loads the characters without freeing the models that were open.
    EXPECT_GE(Model3_Count(), modelsBefore);
    EXPECT_EQ(4, g_ScreenGroup);

    // The box target, then "追加" in its dialog.
    ColiEdit_SelectTarget(COLI_TARGET_BOXES);
    HWND boxDialog = FindWindowA(nullptr, "壁( 立方体 )");
    ASSERT_TRUE(IsWindow(boxDialog));
    SendMessageA(boxDialog, WM_COMMAND, MAKEWPARAM(1011, BN_CLICKED), (LPARAM)GetDlgItem(boxDialog, 1011));
    ASSERT_EQ(1, g_Coli->boxCount);
    ASSERT_EQ(0, g_ColiEdit.selectedBox);
    g_Coli->boxes[0].x = 12.0f;
    g_Coli->boxes[0].z = 0.0f;
    g_Coli->boxes[0].size = 2.0f;

    // The walker at the origin, the others out of its way.
    g_CurLayer = 0;
    QVL::OBJECT* walker = Object_GetById(g_ColiEdit.objectIds[0]);
    ASSERT_NE(nullptr, walker);
    walker->position[0] = walker->position[1] = walker->position[2] = 0.0f;
    for (size_t i = 1; i < g_ColiEdit.objectIds.size(); ++i) {
        QVL::OBJECT* o = Object_GetById(g_ColiEdit.objectIds[i]);
        o->position[0] = -20.0f;
        o->position[2] = -20.0f + 8.0f * (float)i;
    }
    const float radius = Model3_GetById(walker->modelId)->radius;

    g_Lib.keys[VK_RIGHT] = 1;
    float at60 = 0;
    for (int frame = 0; frame < 90; ++frame) {
        ColiEdit_Frame();
        if (frame == 59) at60 = walker->position[0];
    }
    g_Lib.keys[VK_RIGHT] = 0;
    const float x = walker->position[0];
    // Without the wall 90 steps of 0.5 would reach the area's edge; it stops at the wall's near
    // side less the character's radius (give or take the third of a unit the wall test shifts by).
    EXPECT_LT(x, 12.0f - 2.0f - radius + 0.5f);
    EXPECT_GT(x, 12.0f - 2.0f - radius - 1.0f);
    EXPECT_NEAR(at60, x, 0.6f);
    EXPECT_NEAR(0.0f, walker->position[2], 0.5f);

    const std::vector<int32_t> objects = g_ColiEdit.objectIds;
    ColiEdit_Exit();
    for (int32_t id : objects) EXPECT_FALSE(Object_GetById(id) && Object_GetById(id)->active) << id;
    EXPECT_FALSE(IsWindow(boxDialog));
    Model3_ProcessReleases();
}

} // namespace
