// The 2D bone screen: cursor conversion, the pick, the joint centres and automatic bindings, the
// drag, and the list dialog's parent, row and add rules.
#include <gtest/gtest.h>

#include <cstring>

#include "edit2d/bone2d.h"
#include "edit2d/model2d_hooks.h"
#include "edit3d/bone_screen.h"
#include "frame/lib.h"
#include "frame/math3d.h"
#include "model/model2.h"
#include "shell/current.h"
#include "shell/hierarchy.h"
#include "shell/navigation.h"
#include "support/list_recorder.h"
#include "support/recorder.h"
#include "support/ui_recorder.h"

namespace {

TEST(Cursor2D, ConversionAndFold)
{
    const struct {
        int32_t packed;
        float panX, panY;
        int32_t x, y;       // converted
        int32_t fx, fy;     // folded
    } cases[] = {
        {(200 << 16) | 100, 0.0f, 0.0f, 100, 200, 100, 200},
        {(200 << 16) | 100, 10.5f, -20.25f, 89, 220, 89, 220},  // truncated toward zero
        // A point left of and above the window arrives as 16-bit two's complement.
        {(int32_t)((0xFFFBu << 16) | 0xFFFEu), 0.0f, 0.0f, 65534, 65531, -1, -4},
        {(10000 << 16) | 10001, 0.0f, 0.0f, 10001, 10000, -55534, 10000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.packed);
        const POINT32 p = Cursor2D_FromPacked(c.packed, c.panX, c.panY);
        EXPECT_EQ(c.x, p.x);
        EXPECT_EQ(c.y, p.y);
        EXPECT_EQ(c.fx, Cursor2D_Fold(p.x));
        EXPECT_EQ(c.fy, Cursor2D_Fold(p.y));
    }
}

TEST(Bone2DPick, NearestByCityBlockLaterWinsTie)
{
    const float sx[] = {0.0f, 10.0f, -10.0f, 50.0f};
    const float sy[] = {0.0f, 0.0f, 0.0f, 50.0f};
    EXPECT_EQ(2, Bone2D_Nearest(sx + 1, sy + 1, 2, POINT32{0, 7}) + 1);  // 17 and 17: the later one
    EXPECT_EQ(0, Bone2D_Nearest(sx, sy, 3, POINT32{0, 10}));           // 10, 20, 20
    EXPECT_EQ(3, Bone2D_Nearest(sx, sy, 4, POINT32{49, 52}));
    EXPECT_EQ(-1, Bone2D_Nearest(sx, sy, 0, POINT32{0, 0}));
    // Beyond the start distance nothing is picked.
    const float far[] = {200000.0f};
    EXPECT_EQ(-1, Bone2D_Nearest(far, far, 1, POINT32{0, 0}));
}

class Bone2DModel : public ::testing::Test {
protected:
    QVL::MODEL2* m = nullptr;
    float savedZoom = g_Zoom2D;
    ListRecCtl list, combo, tree;
    void SetUp() override
    {
        g_Lib.allocArrays = 1;
        m = Model2_Create(0);
        g_Model2InUse[0] = 1;
        g_Mode = MODE_2D_EDIT;
        g_CurBone = 0;
        g_BoneListShownBone = 0;
        g_BoneListDirty = 0;
        g_BoneListCtl2D = &list;
        g_ParentComboCtl2D = &combo;
        Mode_UpdateCurrent();
        UiRec().Clear();
        Rec().Clear();
    }
    void TearDown() override
    {
        g_Zoom2D = savedZoom;
        g_BoneListCtl2D = g_ParentComboCtl2D = nullptr;
        Model2_FreeSlot(0);
        g_Model2InUse[0] = 0;
        g_Mode = 0;
        Mode_UpdateCurrent();
    }
    void Vertices(std::initializer_list<QVL::XY2> ps, int32_t flag)
    {
        m->vertices.assign(ps);
        m->vertexCount = (uint16_t)m->vertices.size();
        m->bindings.assign(m->vertices.size(), QVL::WEIGHT2{7, 7, 0.5f, flag});
    }
};

TEST_F(Bone2DModel, CentresAreMeanOfJointAndChildren)
{
    m->boneCount = 5;
    const int32_t parents[] = {0, 0, 1, 1, 0};
    for (int i = 0; i < 5; ++i) m->bones[i].parent = parents[i];
    const QVL::XY2 joints[] = {{0, 0}, {10, 0}, {20, 0}, {10, 30}, {-6, -6}};
    QVL::XY2 c[QVL::kModel2Bones];
    Bone2D_Centres(*m, joints, c);
    // Bone 1 has children 2 and 3; bones with parent 0 add nothing to bone 0.
    EXPECT_FLOAT_EQ((10.0f + 20.0f + 10.0f) / 3.0f, c[1].x);
    EXPECT_FLOAT_EQ(10.0f, c[1].y);
    EXPECT_FLOAT_EQ(0.0f, c[0].x);
    EXPECT_FLOAT_EQ(20.0f, c[2].x);
    EXPECT_FLOAT_EQ(-6.0f, c[4].y);
}

TEST_F(Bone2DModel, ParentsFromTheFileOutsideTheBonesAreSkipped)
{
    m->boneCount = 3;
    m->bones[0].parent = 0;
    m->bones[1].parent = 500;
    m->bones[2].parent = -3;
    const QVL::XY2 joints[] = {{1, 1}, {2, 2}, {3, 3}};
    QVL::XY2 c[QVL::kModel2Bones];
    Bone2D_Centres(*m, joints, c);
    EXPECT_FLOAT_EQ(2.0f, c[1].x);
    EXPECT_FLOAT_EQ(3.0f, c[2].x);
}

TEST_F(Bone2DModel, AutomaticVerticesBindToNearestCentreEarlierWinsTie)
{
    m->boneCount = 4;
    // Bone 0's centre is never a candidate, even when it is the nearest.
    const QVL::XY2 c[] = {{0, 0}, {10, 0}, {-10, 0}, {0, 40}};
    Vertices({{0, 0}, {1, 0}, {-1, 0}, {0, 38}, {0, 5000000}}, 1);
    Bone2D_BindNearest(m, c);
    const uint16_t want[] = {1, 1, 2, 3, 1};
    for (size_t v = 0; v < 5; ++v) {
        SCOPED_TRACE(v);
        EXPECT_EQ(want[v], m->bindings[v].boneA);
        EXPECT_EQ(0, m->bindings[v].boneB);
        EXPECT_FLOAT_EQ(1.0f, m->bindings[v].weightA);
    }
}

TEST_F(Bone2DModel, ManualBindingsAndShortArraysAreLeftAlone)
{
    m->boneCount = 2;
    const QVL::XY2 c[] = {{0, 0}, {10, 0}};
    Vertices({{0, 0}, {1, 0}}, 0);
    // A count above the arrays must not index past them.
    m->vertexCount = 60000;
    Bone2D_BindNearest(m, c);
    EXPECT_EQ(7, m->bindings[0].boneA);
    EXPECT_FLOAT_EQ(0.5f, m->bindings[1].weightA);
}

TEST_F(Bone2DModel, DragMovesSelectedBonesButNeverBoneZero)
{
    m->boneCount = 3;
    int32_t sel[QVL::kModel2Bones] = {1, 1, 0};
    Bone2D_MoveSelected(m, sel, 3.0f, -2.0f);
    EXPECT_FLOAT_EQ(0.0f, m->bones[0].restX);
    EXPECT_FLOAT_EQ(3.0f, m->bones[1].restX);
    EXPECT_FLOAT_EQ(-2.0f, m->bones[1].restY);
    EXPECT_FLOAT_EQ(0.0f, m->bones[2].restX);
    // Flags past the bone count are not read as bones.
    sel[5] = 1;
    Bone2D_MoveSelected(m, sel, 1.0f, 1.0f);
    EXPECT_FLOAT_EQ(0.0f, m->bones[5].restX);
}

TEST_F(Bone2DModel, ParentChoiceTable)
{
    m->boneCount = 4;
    const struct {
        int32_t bone, sel, before;
        bool accepted;
        int32_t after;
    } cases[] = {
        {3, 1, 0, true, 1},
        {3, 2, 0, true, 2},
        {3, 3, 1, false, 1},   // itself
        {2, 3, 1, false, 1},   // a higher number
        {3, -1, 2, true, 0},   // LB_ERR: no row takes 0
        {3, 9, 2, true, 0},    // past the bones
        {0, 0, 0, false, 0},   // bone 0 keeps parent 0 through the same rule
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bone * 100 + c.sel);
        m->bones[c.bone].parent = c.before;
        EXPECT_EQ(c.accepted, Bone2D_ApplyParent(m, c.bone, c.sel));
        EXPECT_EQ(c.after, m->bones[c.bone].parent);
    }
}

TEST_F(Bone2DModel, RefusedParentShowsTheMessageAndKeepsTheName)
{
    m->boneCount = 3;
    g_CurBone = 1;
    m->bones[1].parent = 0;
    EXPECT_FALSE(Bone2D_ApplyDialog("arm", 2));
    EXPECT_EQ(0, m->bones[1].parent);
    EXPECT_STREQ("arm", m->bones[1].name);
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ("同じNo 又は、選択しているボーンより\n大きなNoのボーンは、親にすることができません。", Rec().messageBoxes[0]);
}

TEST_F(Bone2DModel, AddStopsAt128Bones)
{
    m->boneCount = QVL::kModel2Bones - 1;
    EXPECT_TRUE(Bone2D_AddBone());
    EXPECT_EQ(QVL::kModel2Bones, m->boneCount);
    EXPECT_FALSE(Bone2D_AddBone());
    EXPECT_EQ(QVL::kModel2Bones, m->boneCount);
    EXPECT_FALSE(Bone2D_Append(nullptr));
}

TEST_F(Bone2DModel, ListRowLbErrAndRowsPastTheBonesChangeNothing)
{
    m->boneCount = 3;
    g_CurBone = 1;
    for (int32_t caret : {-1, 3, 65535}) {
        SCOPED_TRACE(caret);
        EXPECT_FALSE(Bone2D_TakeListRow(caret));
        EXPECT_EQ(1, g_CurBone);
        EXPECT_EQ(0, g_BoneListDirty);
    }
    EXPECT_TRUE(Bone2D_TakeListRow(2));
    EXPECT_EQ(2, g_CurBone);
    EXPECT_EQ(1, g_BoneListShownBone);
    EXPECT_EQ(1, g_BoneListDirty);
}

}  // namespace

namespace {

TEST_F(Bone2DModel, RightButtonAlonePicksTheNearestJointLaterWinsTie)
{
    m->boneCount = 3;
    g_Zoom2D = 1.0f;
    g_Screen = SCREEN_2D_BONE;
    // Joints at (0, 0), (1, 0) and (-1, 0) units: 32 pixels apart on the screen.
    const float xs[] = {0.0f, 1.0f, -1.0f};
    for (int i = 0; i < 3; ++i) Math_MatrixTranslation(&g_Model2PoseMatrices[i], xs[i], 0.0f, 0.0f);
    g_CurBone = 0;
    g_Lib.mouse.held[2] = 1;
    g_Lib.mouse.held[0] = 1;        // with the left one too nothing is picked
    g_PressPoint = POINT32{30, 0};  // 30 from bone 0, 2 from bone 1
    Bone2D_Frame();
    EXPECT_EQ(0, g_CurBone);
    g_Lib.mouse.held[0] = 0;
    Bone2D_Frame();
    EXPECT_EQ(1, g_CurBone);
    EXPECT_EQ(0, g_BoneListShownBone);
    EXPECT_EQ(1, g_BoneListDirty);
    EXPECT_EQ(3, m->displayState);
    // Equal distances from bones 1 and 2: the later one.
    g_PressPoint = POINT32{0, 0};
    Math_MatrixTranslation(&g_Model2PoseMatrices[0], 0.0f, 5.0f, 0.0f);
    Bone2D_Frame();
    EXPECT_EQ(2, g_CurBone);
    g_Lib.mouse.held[2] = 0;
    for (int i = 0; i < 3; ++i) Math_MatrixIdentity(&g_Model2PoseMatrices[i]);
}

}  // namespace
