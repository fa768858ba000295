// The bone screen: the drag offsets and who follows a dragged joint, adding and deleting bones, the
// list dialog's apply, list row and tree selection, the arrow-key pans and the hover pick.
#include <cstring>
#include <string>

#include "edit3d/bone_screen.h"
#include "edit3d/edit3d_fixture.h"
#include "model/gpu_data.h"
#include "model/motion3.h"
#include "model/qvp_file.h"
#include "model/skeleton.h"
#include "shell/hierarchy.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "support/list_recorder.h"
#include "support/recorder.h"

namespace {

class BoneScreenTest : public Edit3DTest {
protected:
    ListRecCtl list, combo, tree;
    void SetUp() override
    {
        Edit3DTest::SetUp();
        g_Screen = SCREEN_3D_BONE;
        g_Model3DEditor.boneList = &list;
        g_Model3DEditor.boneTree = &combo;
        g_BoneTreeCtl = &tree;
        g_BoneChildrenFollow = 0;
        g_BoneListShownBone = 0;
        g_BoneListDirty = 0;
        for (int i = 0; i < 3; ++i) g_Lib.mouse.held[i] = 0;
        Mode_UpdateCurrent();
        Rec().Clear();
    }
    void TearDown() override
    {
        g_BoneTreeCtl = nullptr;
        for (int i = 0; i < 3; ++i) g_Lib.mouse.held[i] = 0;
        Edit3DTest::TearDown();
    }
    // The live model with `count` bones: bone i hangs on parents[i] and sits one unit along x.
    QVL::MODEL3* Skeleton(std::initializer_list<int32_t> parents)
    {
        QVL::MODEL3* m = Live();
        int32_t i = 0;
        for (int32_t p : parents) {
            QVL::BONE3& b = m->bones[i];
            b.parent = p;
            Key3_Default(&b.rest);
            if (i > 0) b.rest.translation[0] = 1.0f;
            b.keys.assign(m->motions.size(), std::vector<QVL::KEY3>(1));
            for (auto& l : b.keys) Key3_Default(&l[0]);
            ++i;
        }
        m->boneCount = i;
        Mode_UpdateCurrent();
        List_LinkBones3D();
        return m;
    }
    int32_t Steps() const { return g_UndoHistories[0].last + 1; }
};

TEST_F(BoneScreenTest, DragOffsetPerViewTable)
{
    const struct {
        int32_t type;
        int32_t dx, dy;
        float zoom;
        float x, y, z;
    } cases[] = {
        {VIEW_FRONT, 40, -20, 1.0f, 1.0f, 0.5f, 0},
        {VIEW_TOP, 40, -20, 1.0f, 1.0f, 0, 0.5f},
        {VIEW_SIDE, 40, -20, 1.0f, 0, 0.5f, 1.0f},
        {VIEW_FRONT, 40, 0, 2.0f, 0.5f, 0, 0},
        {VIEW_MAIN, 40, 40, 1.0f, 0, 0, 0},
        {VIEW_PERS, 40, 40, 1.0f, 0, 0, 0},
        {VIEW_FRONT, 40, 40, 0.0f, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        float o[3];
        Bone3D_DragOffset(c.type, c.dx, c.dy, c.zoom, o);
        EXPECT_FLOAT_EQ(c.x, o[0]);
        EXPECT_FLOAT_EQ(c.y, o[1]);
        EXPECT_FLOAT_EQ(c.z, o[2]);
    }
}

TEST_F(BoneScreenTest, ChildrenKeepTheirJointsUnlessTheyFollow)
{
    QVL::MODEL3* m = Skeleton({0, 0, 1, 2});
    const float off[3] = {0.5f, -1.0f, 2.0f};
    Bone3D_MoveBone(m, 1, off, false);
    EXPECT_FLOAT_EQ(1.5f, m->bones[1].rest.translation[0]);
    EXPECT_FLOAT_EQ(2.0f, m->bones[1].rest.translation[2]);
    // The child takes the opposite offset; the grandchild's offset from its parent is untouched.
    EXPECT_FLOAT_EQ(0.5f, m->bones[2].rest.translation[0]);
    EXPECT_FLOAT_EQ(1.0f, m->bones[2].rest.translation[1]);
    EXPECT_FLOAT_EQ(1.0f, m->bones[3].rest.translation[0]);

    Bone3D_MoveBone(m, 1, off, true);
    EXPECT_FLOAT_EQ(2.0f, m->bones[1].rest.translation[0]);
    EXPECT_FLOAT_EQ(0.5f, m->bones[2].rest.translation[0]);

    Bone3D_MoveBone(m, 0, off, true);
    EXPECT_FLOAT_EQ(0.0f, m->bones[0].rest.translation[0]);
}

TEST_F(BoneScreenTest, DragDefersTheWeightsToTheReleaseWithTheSameResult)
{
    QVL::MODEL3* m = Skeleton({0, 0, 0});
    m->bones[2].rest.translation[0] = 4.0f;
    m->positions.assign({{0.9f, 0, 0}, {2.6f, 0, 0}, {3.9f, 0, 0}});
    m->positionCount = 3;
    Model3_FitArrays(m);
    for (auto& w : m->weights) w.automatic = 1;
    Model3_AutoWeights(m);
    ASSERT_EQ(2, m->weights[1].boneA);

    // Bone 1 dragged 40 px right in a Front view at zoom 1: one unit along x.
    VIEW_REC& v = View_Row()[g_PickedView];
    v.type = VIEW_FRONT;
    v.zoom = 1.0f;
    g_CurBone = 1;
    g_Lib.mouse.held[0] = 1;
    g_PrevMousePos = {100, 100};
    g_PressPoint = {140, 100};
    Bone3D_MouseMove(0);
    EXPECT_FLOAT_EQ(2.0f, m->bones[1].rest.translation[0]);
    EXPECT_EQ(1, g_BoneListDirty);
    EXPECT_EQ(2, m->weights[1].boneA);  // not yet: the weights wait for the release

    g_Lib.mouse.held[0] = 0;
    const int32_t before = Steps();
    Bone3D_LButtonUp(0);
    QVL::MODEL3* expected = Model3_Alloc();
    Model3_CopyRecord(m, expected, true);
    Model3_AutoWeights(expected);
    for (size_t i = 0; i < m->weights.size(); ++i) {
        EXPECT_EQ(expected->weights[i].boneA, m->weights[i].boneA);
        EXPECT_EQ(expected->weights[i].boneB, m->weights[i].boneB);
    }
    EXPECT_EQ(1, m->weights[1].boneA);
    Model3_Free(expected);
    EXPECT_EQ(before + 1, Steps());
    EXPECT_STREQ("移動 ( ボーン )", g_UndoHistories[0].entries[g_UndoHistories[0].position].caption);
}

TEST_F(BoneScreenTest, AddBoneUnderTheCurrentWithAKeyListPerMotion)
{
    QVL::MODEL3* m = Skeleton({0, 0});
    Motion3_ResizeList(m->motions, 3);
    g_CurBone = 1;
    m->bones[2].keys.clear();
    Bone3D_AddBone();
    EXPECT_EQ(3, m->boneCount);
    EXPECT_EQ(2, g_CurBone);
    EXPECT_EQ(1, m->bones[2].parent);
    ASSERT_EQ(3u, m->bones[2].keys.size());
    for (const auto& l : m->bones[2].keys) {
        ASSERT_EQ(1u, l.size());
        EXPECT_EQ(0, l[0].frame);
        EXPECT_FLOAT_EQ(1.0f, l[0].rotation[3]);
        EXPECT_FLOAT_EQ(1.0f, l[0].scale[1]);
    }
    EXPECT_STREQ("ボーン追加", g_UndoHistories[0].entries[g_UndoHistories[0].position].caption);
    EXPECT_EQ(3u, list.rows.size());
    // The slot's own name, then the parent.
    EXPECT_EQ(" 2  " + std::string(m->bones[2].name) + " ( 1 )", list.rows[2]);
}

TEST_F(BoneScreenTest, AFreshModelWithAnAddedBoneWritesTheThreeBoneFile)
{
    QVL::MODEL3* m = Live();
    ASSERT_EQ(2, m->boneCount);
    g_CurBone = 1;
    Bone3D_AddBone();
    ASSERT_EQ(3, m->boneCount);
    QVL::ByteWriter w;
    ASSERT_TRUE(Qvp_Write(m, w));
    EXPECT_EQ(542u, w.Size());
}

TEST_F(BoneScreenTest, AtTheLimitNoBoneIsAddedButTheStepIsRecorded)
{
    QVL::MODEL3* m = Live();
    m->boneCount = QVL::kModel3Bones;
    Mode_UpdateCurrent();
    g_CurBone = 5;
    const int32_t before = Steps();
    Bone3D_AddBone();
    EXPECT_EQ(QVL::kModel3Bones, m->boneCount);
    EXPECT_EQ(5, g_CurBone);
    EXPECT_EQ(before + 1, Steps());
}

TEST_F(BoneScreenTest, DeletingTheRootIsRefusedAndTheHighestLeavesAValidCurrentBone)
{
    QVL::MODEL3* m = Skeleton({0, 0, 1});
    g_CurBone = 0;
    EXPECT_FALSE(Bone3D_DeleteCurrent());
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ("親ボーンは、消去できません。", Rec().messageBoxes[0]);
    EXPECT_EQ(3, m->boneCount);

    g_CurBone = 2;
    EXPECT_TRUE(Bone3D_DeleteCurrent());
    EXPECT_EQ(2, m->boneCount);
    EXPECT_EQ(1, g_CurBone);
    EXPECT_STREQ("ボーン消去", g_UndoHistories[0].entries[g_UndoHistories[0].position].caption);
}

TEST_F(BoneScreenTest, NoListSelectionChangesNothing)
{
    Skeleton({0, 0, 1});
    g_CurBone = 2;
    g_BoneListShownBone = 2;
    for (int32_t row : {-1, 3, 65535}) {
        EXPECT_FALSE(Bone3D_TakeListRow(row));
        EXPECT_EQ(2, g_CurBone);
        EXPECT_EQ(0, g_BoneListDirty);
    }
    EXPECT_TRUE(Bone3D_TakeListRow(1));
    EXPECT_EQ(1, g_CurBone);
    EXPECT_EQ(1, g_BoneListShownBone);
    EXPECT_EQ(1, g_BoneListDirty);
    // The list showed bone 1 last, but a key made bone 2 current since: the row refreshes too.
    g_BoneListDirty = 0;
    g_CurBone = 2;
    EXPECT_TRUE(Bone3D_TakeListRow(1));
    EXPECT_EQ(1, g_CurBone);
    EXPECT_EQ(1, g_BoneListDirty);
    g_BoneListDirty = 0;
    EXPECT_FALSE(Bone3D_TakeListRow(1));
    EXPECT_EQ(0, g_BoneListDirty);
}

TEST_F(BoneScreenTest, ApplyBoundsTheNameAndRefusesALaterParent)
{
    QVL::MODEL3* m = Skeleton({0, 0, 1});
    g_CurBone = 2;
    const std::string longName(400, 'n');
    const struct {
        int32_t row;
        bool accepted;
        int32_t parent;
    } cases[] = {{0, true, 0}, {1, true, 1}, {2, false, 1}, {3, true, 0}, {-1, true, 0}, {99, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        Rec().Clear();
        EXPECT_EQ(c.accepted, Bone3D_Apply(1.5f, -2.0f, 3.0f, longName.c_str(), true, c.row));
        EXPECT_EQ(c.parent, m->bones[2].parent);
        EXPECT_EQ(c.accepted ? 0u : 1u, Rec().messageBoxes.size());
    }
    EXPECT_EQ(255u, std::strlen(m->bones[2].name));
    EXPECT_FLOAT_EQ(-2.0f, m->bones[2].rest.translation[1]);
    // The list row and the combo row carry a bounded label.
    ASSERT_EQ(3u, combo.rows.size());
    EXPECT_LT(combo.rows[2].size(), 256u);
}

TEST_F(BoneScreenTest, TreeSelectionComparesWholeNames)
{
    QVL::MODEL3* m = Skeleton({0, 0, 0});
    const std::string common(60, 'x');
    Str_CopyN(m->bones[1].name, sizeof m->bones[1].name, (common + "A").c_str());
    Str_CopyN(m->bones[2].name, sizeof m->bones[2].name, (common + "B").c_str());
    g_CurBone = 0;
    List_FillBoneTree3D();
    ASSERT_EQ(3u, tree.rows.size());
    EXPECT_TRUE(Bone3D_SelectByTreeText(tree.rows[2].c_str()));
    EXPECT_EQ(2, g_CurBone);
    EXPECT_TRUE(Bone3D_SelectByTreeText(tree.rows[1].c_str()));
    EXPECT_EQ(1, g_CurBone);
    EXPECT_FALSE(Bone3D_SelectByTreeText(tree.rows[2].substr(0, 40).c_str()));
    EXPECT_EQ(1, g_CurBone);
}

TEST_F(BoneScreenTest, ArrowKeysPanOrthographicViewsOnly)
{
    const struct {
        int32_t type;
        int key;
        int axis;
        float change;
    } cases[] = {
        {VIEW_FRONT, 0x25, 0, -4}, {VIEW_FRONT, 0x27, 0, 4}, {VIEW_FRONT, 0x26, 1, 4}, {VIEW_FRONT, 0x28, 1, -4},
        {VIEW_TOP, 0x25, 0, -4},   {VIEW_TOP, 0x26, 2, -4},  {VIEW_TOP, 0x28, 2, 4},   {VIEW_SIDE, 0x25, 2, 4},
        {VIEW_SIDE, 0x27, 2, -4},  {VIEW_SIDE, 0x26, 1, 4},  {VIEW_SIDE, 0x28, 1, -4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " key " + std::to_string(c.key));
        VIEW_REC v{};
        v.type = c.type;
        v.zoom = 0.5f;
        EXPECT_TRUE(Bone3D_PanView(&v, c.key));
        for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(k == c.axis ? c.change : 0.0f, v.pan[k]);
    }
    for (int32_t type : {VIEW_MAIN, VIEW_PERS}) {
        VIEW_REC v{};
        v.type = type;
        v.zoom = 1.0f;
        EXPECT_FALSE(Bone3D_PanView(&v, 0x25));
        EXPECT_FLOAT_EQ(0.0f, v.pan[0]);
        EXPECT_FLOAT_EQ(0.0f, v.pan[2]);
    }
}

TEST_F(BoneScreenTest, HoverPickTakesTheLaterOfTwoCoincidentJoints)
{
    QVL::MODEL3* m = Skeleton({0, 0, 0, 0});
    m->bones[3].rest.translation[0] = 3.0f;
    const int32_t id = m->id;
    Gpu_InitModelRes(Gpu_EnsureModelRes(id), id);
    Gpu_ResizeModelRes(Gpu_GetModelRes(id));
    m->animated = 1;
    Motion3_UpdateKeyIndex(m);
    ASSERT_TRUE(Motion3_BuildRestMatrices(m, id));
    ASSERT_TRUE(Motion3_BuildPoseMatrices(m, id));
    VIEW_REC v{};
    v.type = VIEW_FRONT;
    v.zoom = 1.0f;
    v.centreX = 100, v.centreY = 100;
    // Bones 1 and 2 both sit at x = 1: 40 px right of the centre.
    EXPECT_EQ(2, Bone3D_NearestJoint(m, v, 141, 100));
    EXPECT_EQ(3, Bone3D_NearestJoint(m, v, 220, 100));
    EXPECT_EQ(0, Bone3D_NearestJoint(m, v, 90, 100));
    v.type = VIEW_PERS;
    EXPECT_EQ(-1, Bone3D_NearestJoint(m, v, 141, 100));
    Gpu_FreeRenderTable();
}

} // namespace
