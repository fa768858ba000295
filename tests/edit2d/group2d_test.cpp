// The 2D group dialog's operations: labels, the group pick, the colour edits, add and the mirror.
#include <cstring>

#include "edit2d/group2d.h"
#include "model/model_expect.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/picking.h"

namespace {

using QVL::FACE2;
using QVL::MODEL2;

FACE2 Face(std::initializer_list<int> verts, int32_t group, int32_t used = 1)
{
    FACE2 f{};
    f.used = used;
    f.group = group;
    int i = 0;
    for (int v : verts) {
        f.corners[i][0] = (uint16_t)v;
        f.corners[i][1] = (uint16_t)v;
        f.corners[i][2] = (uint16_t)v;
        ++i;
    }
    f.cornerCount = (uint8_t)i;
    return f;
}

class Group2DModel : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        for (int i = 0; i < kModel2Slots; ++i) Model2_FreeSlot(i);
        g_Lib.allocArrays = 1;
        m = Model2_Create(0);
        g_Model2InUse[0] = 1;
        // Four vertices, two faces of group 1.
        m->vertexCount = m->colorCount = m->uvCount = 4;
        m->vertices = {{1, 1}, {2, 1}, {2, 2}, {1, 2}};
        m->colors.assign(4, QVL::RGBA2{1, 2, 3, 4});
        m->uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        m->bindings.assign(4, QVL::WEIGHT2{1, 0, 1.0f, 0});
        m->polygonCount = 2;
        m->polygons = {Face({0, 1, 2}, 1), Face({0, 2, 3}, 1)};
        m->groupCount = 2;
    }
    void TearDown() override
    {
        for (int i = 0; i < kModel2Slots; ++i) Model2_FreeSlot(i);
        ModelTest::TearDown();
    }
    MODEL2* m = nullptr;
};

TEST(Group2DLabels, CountOnlyWhenTheGroupHasFaces)
{
    char buf[300];
    Group2D_ListLabel(buf, sizeof buf, 3, "skin", 2);
    EXPECT_STREQ(" 3 : skin ( 2 )", buf);
    Group2D_ListLabel(buf, sizeof buf, 3, "skin", 0);
    EXPECT_STREQ(" 3 : skin", buf);
    char small[8];
    Group2D_ListLabel(small, sizeof small, 12, "a long name", 9);
    EXPECT_STREQ("12 : a ", small);

    QVL::TEXTURE2 t{};
    Group2D_TextureLabel(buf, sizeof buf, 0, t);
    EXPECT_STREQ(" 0 : テクスチャ無し", buf);
    Group2D_TextureLabel(buf, sizeof buf, 2, t);
    EXPECT_STREQ(" 2 :", buf);
    t.used = 1;
    strcpy(t.file, "a.bmp");
    Group2D_TextureLabel(buf, sizeof buf, 2, t);
    EXPECT_STREQ(" 2 : a.bmp", buf);
}

TEST(Group2DColour, AllFourUnsignedIntegersLimitedTo255)
{
    struct Case { const char* t[4]; bool ok; float out[4]; } cases[] = {
        {{"300", "20", "20", "255"}, true, {255, 20, 20, 255}},
        {{"0", "0", "0", "0"}, true, {0, 0, 0, 0}},
        {{"", "20", "20", "255"}, false, {7, 7, 7, 7}},
        {{"10", "-1", "20", "255"}, false, {7, 7, 7, 7}},
        {{"10", "1x", "20", "255"}, false, {7, 7, 7, 7}},
        {{"10", "20", "30", "99999999999999999999999"}, true, {10, 20, 30, 255}},
    };
    for (const Case& c : cases) {
        float out[4] = {7, 7, 7, 7};
        EXPECT_EQ(c.ok, Group2D_ParseColour(c.t, out)) << c.t[0] << " " << c.t[1];
        for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(c.out[i], out[i]);
    }
}

TEST_F(Group2DModel, PickSelectsExactlyTheGroupsFacesAndVertices)
{
    m->polygons[1].group = 0;
    m->polygons.push_back(Face({1, 2, 3}, 1, 0));   // unused: not picked
    m->polygonCount = 3;
    int32_t faces[8], verts[8];
    for (int i = 0; i < 8; ++i) faces[i] = verts[i] = 1;
    Group2D_SelectGroup(m, 1, faces, 8, verts, 8);
    EXPECT_EQ((std::vector<int32_t>{1, 0, 0, 0}), std::vector<int32_t>(faces, faces + 4));
    EXPECT_EQ((std::vector<int32_t>{1, 1, 1, 0, 0}), std::vector<int32_t>(verts, verts + 5));

    int32_t counts[QVL::kModel2Groups];
    m->polygons[2].group = 5000;   // out of range, not counted
    Group2D_CountFaces(m, counts);
    EXPECT_EQ(1, counts[0]);
    EXPECT_EQ(1, counts[1]);
}

TEST_F(Group2DModel, AddStopsAt256)
{
    EXPECT_EQ(2, Group2D_Add(m));
    m->groupCount = 256;
    EXPECT_EQ(255, Group2D_Add(m));
    EXPECT_EQ(256, m->groupCount);
    EXPECT_EQ(-1, Group2D_Add(nullptr));
}

TEST_F(Group2DModel, MirrorDoublesTheArraysAndWindsTheCopiesTheOtherWay)
{
    int32_t faces[16] = {}, verts[64] = {};
    ASSERT_TRUE(Group2D_Mirror(m, 1, faces, 16, verts, 64));
    EXPECT_EQ(8, m->vertexCount);
    EXPECT_EQ(8, m->colorCount);
    EXPECT_EQ(8, m->uvCount);
    EXPECT_EQ(4, m->polygonCount);
    for (int j = 0; j < 4; ++j) {
        EXPECT_FLOAT_EQ(-m->vertices[(size_t)j].x, m->vertices[(size_t)(4 + j)].x);
        EXPECT_FLOAT_EQ(m->vertices[(size_t)j].y, m->vertices[(size_t)(4 + j)].y);
        EXPECT_EQ(0, verts[j]);
        EXPECT_EQ(1, verts[4 + j]);
    }
    EXPECT_GE(m->bindings.size(), 8u);
    EXPECT_EQ(1, m->bindings[7].boneA);
    const FACE2& copy = m->polygons[2];
    EXPECT_EQ(6, copy.corners[0][0]);
    EXPECT_EQ(5, copy.corners[1][0]);
    EXPECT_EQ(4, copy.corners[2][0]);
    EXPECT_EQ(6, copy.corners[0][2]);
    EXPECT_EQ(1, copy.group);
    EXPECT_EQ((std::vector<int32_t>{0, 0, 1, 1}), std::vector<int32_t>(faces, faces + 4));
}

TEST_F(Group2DModel, MirrorPastTheLimitsIsRefusedUnchanged)
{
    int32_t faces[16] = {}, verts[64] = {};
    // 40,000 vertices would wrap the 16-bit count when doubled.
    m->vertexCount = 40000;
    m->vertices.resize(40000);
    m->bindings.resize(40000);
    EXPECT_FALSE(Group2D_Mirror(m, 1, faces, 16, verts, 64));
    EXPECT_EQ(40000, m->vertexCount);
    EXPECT_EQ(2, m->polygonCount);
    // Faces past what the selection holds.
    m->vertexCount = 4;
    EXPECT_FALSE(Group2D_Mirror(m, 1, faces, 3, verts, 64));
    EXPECT_FALSE(Group2D_Mirror(m, 1, faces, 16, verts, 7));
    EXPECT_EQ(2, m->polygonCount);
    EXPECT_EQ(4, m->vertexCount);
}

TEST_F(Group2DModel, ChoosingAGroupSelectsItAndAnEmptyRowKeepsTheCurrentOne)
{
    Sel_AllocBuffers();
    const int32_t savedGroup = g_CurGroup;
    const float savedZoom = g_TexZoom;
    m->textureCount = 2;
    m->textures[1].used = 1;
    m->textures[1].width = 64;
    m->textures[1].height = 32;
    m->groups[1].texture = 1;
    m->polygons[1].group = 0;
    g_TexZoom = 1.5f;
    g_CurGroup = 0;
    g_Group2DPrevGroup = -1;
    Group2D_TakeListRow(1);
    EXPECT_EQ(1, g_CurGroup);
    EXPECT_EQ(1, g_CurTexture2D);
    EXPECT_EQ(96, g_TexOrigin.x);
    EXPECT_EQ(48, g_TexOrigin.y);
    EXPECT_EQ(1, g_FaceSel[0]);
    EXPECT_EQ(0, g_FaceSel[1]);
    EXPECT_EQ(0, g_VertexSel[3]);
    Group2D_TakeListRow(-1);   // LB_ERR
    EXPECT_EQ(1, g_CurGroup);

    // Apply: the selected face joins, the colour is limited, an empty edit keeps all four.
    g_FaceSel[1] = 1;
    const char* colour[4] = {"300", "20", "20", "255"};
    Group2D_Apply("arm", 1, 4, colour);
    EXPECT_EQ(1, m->polygons[1].group);
    EXPECT_STREQ("arm", m->groups[1].name);
    EXPECT_EQ(4, m->groups[1].shading);
    EXPECT_FLOAT_EQ(255, m->groups[1].r);
    EXPECT_FLOAT_EQ(20, m->groups[1].g);
    const char* bad[4] = {"1", "", "1", "1"};
    Group2D_Apply("arm", 999, -1, bad);
    EXPECT_FLOAT_EQ(255, m->groups[1].r);
    EXPECT_EQ(0, m->groups[1].texture);
    EXPECT_EQ(4, m->groups[1].shading);
    g_CurGroup = savedGroup;
    g_TexZoom = savedZoom;
    g_Group2DPrevGroup = -1;
}

} // namespace
