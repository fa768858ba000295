// The collision editor's wall lists: adding up to the limit, copying, deleting and compacting.
#include <gtest/gtest.h>

#include "scene/coli.h"
#include "scene/coli_edit.h"
#include "scene/scene_edit_hooks.h"
#include "support/recorder.h"

namespace {

struct ColiEditTest : ::testing::Test {
    void SetUp() override
    {
        Coli_Reset();
        g_ColiEdit.selectedBox = g_ColiEdit.selectedCircle = -1;
        g_ColiEdit.boxTool = g_ColiEdit.circleTool = 0;
        g_ColiEdit.target = COLI_TARGET_BOXES;
        Rec().Clear();
    }
    void TearDown() override
    {
        g_ColiEdit.target = COLI_TARGET_AREA;
        Coli_Free();
    }
};

TEST_F(ColiEditTest, CompactingKeepsTheOrderOfTheWallsInUse)
{
    QVL::COLI& c = *g_Coli;
    c.boxes[2] = QVL::COLI_BOX{1, 2, 0, 0, 0, 5};
    c.boxes[5] = QVL::COLI_BOX{1, 5, 0, 0, 0, 5};
    c.boxes[99] = QVL::COLI_BOX{1, 99, 0, 0, 0, 5};
    ColiEdit_CompactBoxes();
    EXPECT_EQ(3, c.boxCount);
    EXPECT_EQ(2.0f, c.boxes[0].x);
    EXPECT_EQ(5.0f, c.boxes[1].x);
    EXPECT_EQ(99.0f, c.boxes[2].x);
    EXPECT_EQ(0, c.boxes[3].used);
    EXPECT_EQ(0, c.boxes[99].used);
    ColiEdit_CompactCircles();
    EXPECT_EQ(0, c.circleCount);
}

TEST_F(ColiEditTest, TheHundredAndFirstWallIsRefused)
{
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(ColiEdit_AddBox());
    EXPECT_EQ(0, g_ColiEdit.selectedBox);
    EXPECT_FALSE(ColiEdit_AddBox());
    EXPECT_EQ(100, g_Coli->boxCount);
    EXPECT_EQ(std::vector<std::string>{"壁(立方体)を追加できませんでした。"}, Rec().messageBoxes);
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(ColiEdit_AddCircle());
    EXPECT_FALSE(ColiEdit_AddCircle());
    EXPECT_EQ("壁(円)を追加できませんでした。", Rec().messageBoxes.back());
}

TEST_F(ColiEditTest, CopyAndDeleteWithTheButtonUp)
{
    ASSERT_TRUE(ColiEdit_AddBox());
    ASSERT_TRUE(ColiEdit_AddBox());
    g_Coli->boxes[1].x = 7;
    g_ColiEdit.selectedBox = 1;
    g_ColiEdit.boxTool = COLI_TOOL_COPY;
    ColiEdit_LButtonUp(0);
    EXPECT_EQ(3, g_Coli->boxCount);
    EXPECT_EQ(2, g_ColiEdit.selectedBox);
    EXPECT_EQ(7.0f, g_Coli->boxes[2].x);

    g_ColiEdit.selectedBox = 0;
    g_ColiEdit.boxTool = COLI_TOOL_DELETE;
    ColiEdit_LButtonUp(0);
    EXPECT_EQ(2, g_Coli->boxCount);
    EXPECT_EQ(7.0f, g_Coli->boxes[0].x);
    EXPECT_EQ(7.0f, g_Coli->boxes[1].x);
    EXPECT_EQ(0, g_Coli->boxes[2].used);
}

TEST_F(ColiEditTest, CornersTurnClockwiseSeenFromAbove)
{
    float a = 0, b = 0;
    ColiEdit_RotatePoints(1, 0, 90, &a, &b);
    EXPECT_NEAR(0.0f, a, 1e-6);
    EXPECT_NEAR(-1.0f, b, 1e-6);
    ColiEdit_RotatePoints(2, 3, 0, &a, &b);
    EXPECT_EQ(2.0f, a);
    EXPECT_EQ(3.0f, b);
}

} // namespace
