// The map editor's cursor, painting and chip list, without a window.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/lib.h"
#include "scene/map2.h"
#include "scene/map_edit.h"
#include "scene/scene_edit_hooks.h"
#include "shell/current.h"
#include "shell/views.h"
#include "support/draw_recorder.h"
#include "support/recorder.h"

namespace {

struct MapEditTest : ::testing::Test {
    void SetUp() override
    {
        Map2_New();
        Map2_SetDefaults();
        g_Map2Edit.scrollX = g_Map2Edit.scrollY = 0;
        g_Map2Edit.painting = 0;
        g_Map2Edit.currentChip = 1;
        Rec().Clear();
    }
    void TearDown() override
    {
        g_Map2Edit.painting = 0;
        Map2_Free();
    }
};

// With a 1280 x 720 monitor and the editor's pan (-320, -180) the game screen's corner, where the
// map's cell (0, 0) starts, is at (640 / 2 - 320, 240 / 2 - 180) = (0, -60).
bool Cell(int mx, int my, int32_t* x, int32_t* y) { return Map2Edit_CellAt(mx, my - 60, -320, -180, 1280, 720, x, y); }

TEST_F(MapEditTest, TheCursorFollowsTheMouseScrollAndStaysOnTheMap)
{
    int32_t x = -9, y = -9;
    ASSERT_TRUE(Cell(5 * 32 + 3, 7 * 32 + 31, &x, &y));
    EXPECT_EQ(5, x);
    EXPECT_EQ(7, y);
    // Left of and above the map: column and row 0.
    ASSERT_TRUE(Cell(-500, -40, &x, &y));
    EXPECT_EQ(0, x);
    EXPECT_EQ(0, y);
    ASSERT_TRUE(Cell(100000, 100000, &x, &y));
    EXPECT_EQ(63, x);
    EXPECT_EQ(63, y);
    for (int i = 0; i < 3; ++i) Map2Edit_KeyDown(0x27);
    ASSERT_TRUE(Cell(5 * 32 + 3, 7 * 32, &x, &y));
    EXPECT_EQ(8, x);
    Map2Edit_KeyDown(0x28);
    ASSERT_TRUE(Cell(5 * 32 + 3, 7 * 32, &x, &y));
    EXPECT_EQ(8, y);
}

TEST_F(MapEditTest, AMapWithoutCellsIsNeverPaintedBeforeItsGrid)
{
    g_Map2->width = 0;
    g_Map2->height = 0;
    const int32_t chips = g_Map2->chipCount;
    int32_t x = 0, y = 0;
    EXPECT_FALSE(Cell(10, 10, &x, &y));
    // The clamp to width - 1 would paint cells[0][-1], the chip count just before the grid.
    g_Map2Edit.painting = 1;
    Map2Edit_Frame();
    EXPECT_EQ(chips, g_Map2->chipCount);
}

TEST_F(MapEditTest, TheChipListAndItsSeventeenthChip)
{
    const std::vector<std::string> lines = Map2Edit_ChipLines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(" 0 : ○ : 草.psd", lines[0]);
    EXPECT_EQ(" 1 : × : 川.psd", lines[1]);
    Map2Edit_SelectChip(0);
    Map2Edit_ToggleAttribute();
    EXPECT_EQ(0, g_Map2->attributes[0]);

    for (int i = 2; i < 16; ++i) ASSERT_TRUE(Map2Edit_AddChip("c.psd"));
    EXPECT_EQ(15, g_Map2Edit.currentChip);
    EXPECT_TRUE(Rec().messageBoxes.empty());
    EXPECT_FALSE(Map2Edit_AddChip("d.psd"));
    EXPECT_EQ(std::vector<std::string>{"これ以上 追加できません。"}, Rec().messageBoxes);
    EXPECT_EQ(16, g_Map2->chipCount);
}

} // namespace

namespace {

// Every cell of the map is a 32-pixel quad of its chip's texture; a chip without a picture draws
// nothing, and a cell value outside the chips is never used as an index.
TEST_F(MapEditTest, TheMapDrawsOneQuadPerCellWithAPicture)
{
    g_Map2->width = 3;
    g_Map2->height = 2;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) g_Map2->cells[r][c] = 0;
    g_Map2->cells[1][2] = 1;
    g_Map2->cells[0][1] = 99;
    g_Map2ChipTextures[0].texture = 4;
    g_Map2ChipTextures[1].texture = -1;
    DrawRec().Clear();
    Map2_Draw(10, 20);
    const std::vector<DrawCall> quads = DrawRec().Of("quad");
    ASSERT_EQ(4u, quads.size());
    EXPECT_EQ(4, quads[0].texture);
    EXPECT_EQ(10, quads[0].x[0]);
    EXPECT_EQ(20, quads[0].y[0]);
    EXPECT_EQ(42, quads[0].x[2]);
    EXPECT_EQ(52, quads[0].y[2]);
    EXPECT_EQ(10 + 64, quads[1].x[0]);
    EXPECT_EQ(20 + 32, quads[3].y[0]);
    EXPECT_EQ(255, quads[0].a);
    g_Map2ChipTextures[0].texture = -1;
}

} // namespace
