// QVB drawing: fans of triangles per shown group, colours from tint and group, the weight display,
// and polygons whose indices name nothing.
#include <gtest/gtest.h>

#include "frame/lib.h"
#include "model/model2.h"
#include "render/model2_draw.h"
#include "support/draw_recorder.h"

using namespace QVL;

namespace {

class Model2Draw : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < kModel2Slots; ++i) Model2_FreeSlot(i);
        g_Lib.allocArrays = 1;
        m = Model2_Create(4);
        g_Model2InUse[4] = 1;
        m->vertexCount = 5;
        m->vertices = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {3, 3}};
        m->deformed = {{1, 1}, {11, 1}, {11, 11}, {1, 11}, {4, 4}};
        m->bindings = {{1, 0, 1, 1}, {0, 0, 1, 1}, {0, 0, 1, 1}, {0, 0, 1, 1}, {0, 0, 1, 1}};
        m->colorCount = 1;
        m->colors = {{255, 0, 0, 255}};
        m->uvCount = 4;
        m->uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        m->polygonCount = 3;
        m->polygons = {FACE2{1, 4, {{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {3, 0, 3}}, 0},
                       FACE2{1, 3, {{0, 0, 0}, {900, 0, 1}, {2, 0, 2}}, 0},    // vertex past the array
                       FACE2{1, 3, {{4, 0, 0}, {1, 0, 1}, {2, 0, 70}}, 0}};   // UV past the array
        m->x = 100;
        m->y = 50;
        m->tint[3] = 128;
        m->groups[0].texture = 300;   // past the texture table: drawn untextured
    }
    void TearDown() override
    {
        for (int i = 0; i < kModel2Slots; ++i) Model2_FreeSlot(i);
        g_Lib.allocArrays = 0;
    }
    MODEL2* m = nullptr;
};

TEST_F(Model2Draw, AQuadIsTwoTrianglesAtThePlacementWithTheGroupColourTinted)
{
    std::vector<MODEL2_BATCH> batches;
    Model2_BuildBatches(4, 0, 0, batches);
    ASSERT_EQ(1u, batches.size());
    EXPECT_EQ(-1, batches[0].texture);
    ASSERT_EQ(6u, batches[0].vertices.size());
    const int expectX[6] = {101, 111, 111, 101, 111, 101}, expectY[6] = {51, 51, 61, 51, 61, 61};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(expectX[i], batches[0].vertices[i].x);
        EXPECT_EQ(expectY[i], batches[0].vertices[i].y);
    }
    // Group colour (200, 200, 200, 255) under the tint (255, 255, 255, 128).
    EXPECT_EQ(200, batches[0].vertices[0].r);
    EXPECT_EQ(128, batches[0].vertices[0].a);
    EXPECT_EQ(1.0f, batches[0].vertices[2].u);
}

TEST_F(Model2Draw, ScreensWeightDisplayClampingAndHiddenGroups)
{
    std::vector<MODEL2_BATCH> batches;
    Model2_BuildBatches(4, 8, 0, batches);   // the bone screen: the base pose
    EXPECT_EQ(100, batches[0].vertices[0].x);
    m->displayState = 3;
    Model2_BuildBatches(4, 0, 1, batches);
    EXPECT_EQ(255, batches[0].vertices[0].r);   // vertex 0 is bound to the current bone
    EXPECT_EQ(0, batches[0].vertices[0].g);
    EXPECT_EQ(200, batches[0].vertices[1].r);
    m->displayState = 2;
    m->vertexColorFlag = 1;
    m->tint[0] = 1000.0f;
    m->tint[3] = -5.0f;
    Model2_BuildBatches(4, 0, 0, batches);
    EXPECT_EQ(255, batches[0].vertices[0].r);
    EXPECT_EQ(0, batches[0].vertices[0].a);
    m->groups[0].shading = 0;
    Model2_BuildBatches(4, 0, 0, batches);
    EXPECT_TRUE(batches.empty());
    g_Model2InUse[4] = 0;
    Model2_BuildBatches(4, 0, 0, batches);
    EXPECT_TRUE(batches.empty());
}

TEST_F(Model2Draw, DrawAllBindsTheTextureAndDrawsEachTriangle)
{
    DrawRec().Clear();
    m->groups[0].texture = 1;
    g_Model2TexHandles[4][1] = 7;
    g_Screen = SCREEN_START;
    Model2_DrawAll();
    std::vector<DrawCall> tris = DrawRec().Of("triangle");
    ASSERT_EQ(2u, tris.size());
    EXPECT_EQ(7, tris[0].texture);
    EXPECT_EQ(111, tris[1].x[1]);
}

} // namespace
