#include <cstring>
#include <memory>
#include <string>

#include "model/model2.h"
#include "model/model_table.h"
#include "model/obj3.h"
#include "shell/hierarchy.h"
#include "shell_fixture.h"
#include "support/list_recorder.h"

namespace {

class Hierarchy : public ShellTest {
protected:
    QVL::MODEL3* m = nullptr;
    void SetUp() override
    {
        ShellTest::SetUp();
        int32_t id = Model3_Create();
        m = Model3_GetById(id);
        g_Mode = MODE_3D_EDIT;
        g_Screen = SCREEN_3D_MOTION;
        g_LayerModelIds = {id};
        g_CurLayer = 0;
        Mode_UpdateCurrent();
    }
    void TearDown() override
    {
        g_LayerModelIds.clear();
        g_BoneTreeCtl = g_MotionListCtl = nullptr;
        ShellTest::TearDown();
    }
    // Bones 0..n-1 with the given parents, all expanded.
    void SetBones(std::initializer_list<int32_t> parents)
    {
        int32_t i = 0;
        for (int32_t p : parents) {
            QVL::BONE3& b = m->bones[i];
            b.parent = p;
            b.expanded = 1;
            std::snprintf(b.name, sizeof b.name, "b%d", i);
            b.keys.assign(m->motions.size(), {});
            ++i;
        }
        m->boneCount = i;
    }
    std::string Rows()
    {
        std::string s;
        for (int32_t r = 0; r < g_HierRowCount; ++r)
            s += std::to_string(g_HierRows[r].item) + ":" + std::to_string(g_HierRows[r].depth) + " ";
        return s;
    }
};

TEST_F(Hierarchy, LinksAndDepthFirstRows)
{
    SetBones({0, 0, 1, 0});
    List_RebuildBones3D();
    EXPECT_EQ(1, m->bones[0].firstChild);
    EXPECT_EQ(3, m->bones[1].nextSibling);
    EXPECT_EQ(2, m->bones[1].firstChild);
    EXPECT_EQ(0, m->bones[3].nextSibling);
    EXPECT_EQ("0:0 1:1 2:2 3:1 ", Rows());
    EXPECT_STREQ("b2", g_HierRows[2].name);
    EXPECT_EQ(1, g_HierRows[2].parent);
    // Collapsing bone 1 hides bone 2; bone 3 keeps its row.
    m->bones[1].expanded = 0;
    List_RebuildBones3D();
    EXPECT_EQ("0:0 1:1 3:1 ", Rows());
    EXPECT_EQ(0, m->bones[2].listed);
}

TEST_F(Hierarchy, LoopingAndStrayParentsEnd)
{
    // 2 and 3 name each other, 4 names itself, 5 names a bone that does not exist, 6 a negative one;
    // 1 is collapsed with 7 under it.
    SetBones({0, 0, 3, 2, 4, 99, -5, 1});
    m->bones[1].expanded = 0;
    List_RebuildBones3D();
    EXPECT_EQ("0:0 1:1 ", Rows());
    m->bones[1].expanded = 1;
    List_RebuildBones3D();
    EXPECT_EQ("0:0 1:1 7:2 ", Rows());
}

TEST_F(Hierarchy, RowsStopAt256)
{
    // 128 bones in a chain: depth first they all fit; rows never pass the table.
    m->boneCount = QVL::kModel3Bones;
    for (int32_t i = 0; i < QVL::kModel3Bones; ++i) {
        m->bones[i].parent = i == 0 ? 0 : i - 1;
        m->bones[i].expanded = 1;
    }
    List_RebuildBones3D();
    EXPECT_EQ(QVL::kModel3Bones, g_HierRowCount);
    EXPECT_EQ(127, g_HierRows[127].depth);
}

TEST_F(Hierarchy, RowKeysKeepTheFirst256)
{
    SetBones({0, 0});
    m->currentMotion = 0;
    for (int32_t k = 0; k < 300; ++k) m->bones[1].keys[0].push_back(QVL::KEY3{k * 2, {}, {}, {}});
    m->bones[0].keys[0].push_back(QVL::KEY3{7, {}, {}, {}});
    List_RebuildBones3D();
    List_FillRowKeys3D();
    EXPECT_EQ(1, g_HierRows[0].keyCount);
    EXPECT_EQ(7, g_HierRows[0].keyFrames[0]);
    EXPECT_EQ(kHierMaxKeys, g_HierRows[1].keyCount);
    EXPECT_EQ(510, g_HierRows[1].keyFrames[255]);
    // A motion index past the bone's lists stores no keys.
    m->currentMotion = 5;
    List_FillRowKeys3D();
    EXPECT_EQ(0, g_HierRows[1].keyCount);
}

TEST_F(Hierarchy, LabelsAreBounded)
{
    char name[256];
    std::memset(name, 'n', 255);
    name[255] = 0;
    char out[256];
    std::memset(out, 'x', sizeof out);
    List_BoneLabel(out, sizeof out, 12, name);
    EXPECT_EQ(255u, std::strlen(out));
    EXPECT_EQ(0, std::strncmp(out, "12  nnn", 7));
    List_BoneLabel(out, sizeof out, 0, name);
    EXPECT_STREQ(" 0  親ボーン", out);
    List_MotionLabel(out, sizeof out, 3, 60, "walk", false);
    EXPECT_STREQ(" 3 : 60 Frame  walk", out);
    List_MotionLabel(out, sizeof out, 3, 60, "walk", true);
    EXPECT_STREQ(" 3 : 0 ～ 60  walk", out);
}

TEST_F(Hierarchy, BoneTreePutsChildrenOfTheRootBesideIt)
{
    SetBones({0, 0, 1, 0});
    ListRecCtl tree;
    g_BoneTreeCtl = &tree;
    g_CurBone = 2;
    List_FillBoneTree3D();
    ASSERT_EQ(4u, tree.rows.size());
    EXPECT_EQ(" 0  親ボーン", tree.rows[0]);
    EXPECT_EQ(" 2  b2", tree.rows[2]);
    EXPECT_EQ(-1, tree.treeParents[0]);
    EXPECT_EQ(-1, tree.treeParents[1]);
    EXPECT_EQ(1, tree.treeParents[2]);
    EXPECT_EQ(-1, tree.treeParents[3]);
    EXPECT_EQ(2, tree.selected);
    EXPECT_EQ(2, g_CurBone);
    EXPECT_STREQ(" 2  b2", List_TreeLabel(2));
}

TEST_F(Hierarchy, MotionListSelectsTheCurrentMotion)
{
    ListRecCtl list;
    g_MotionListCtl = &list;
    Motion3_ResizeList(m->motions, 2);
    std::strcpy(m->motions[1].name, "run");
    m->motions[1].length = 30;
    m->currentMotion = 1;
    List_FillMotions3D();
    ASSERT_EQ(2u, list.rows.size());
    EXPECT_EQ(" 1 : 30 Frame  run", list.rows[1]);
    EXPECT_EQ(1, list.selected);
}

TEST(Hierarchy2D, BoneListShowsParentsAboveTheRoot)
{
    auto m2 = std::make_unique<QVL::MODEL2>();
    m2->boneCount = 3;
    m2->bones[1].parent = 0;
    m2->bones[2].parent = 1;
    std::strcpy(m2->bones[1].name, "arm");
    std::strcpy(m2->bones[2].name, "hand");
    ListRecCtl list, combo;
    g_BoneListCtl2D = &list;
    g_ParentComboCtl2D = &combo;
    g_CurModel2 = m2.get();
    g_CurBone = 2;
    List_FillBoneList2D();
    ASSERT_EQ(3u, list.rows.size());
    EXPECT_EQ(" 0  親ボーン", list.rows[0]);
    EXPECT_EQ(" 1  arm", list.rows[1]);
    EXPECT_EQ(" 2  hand ( 1 )", list.rows[2]);
    EXPECT_EQ(std::vector<int32_t>{2}, list.multiSelected);
    ASSERT_EQ(3u, combo.rows.size());
    EXPECT_EQ(1, combo.selected);   // the parent of bone 2
    g_CurModel2 = nullptr;
    g_BoneListCtl2D = g_ParentComboCtl2D = nullptr;
}

TEST(Hierarchy3DObject, AppendStopsAtTheMotionLimit)
{
    auto o = std::make_unique<QVL::OBJ3>();
    g_CurObj3 = o.get();
    o->motionCount = QVL::kObj3Motions - 1;
    EXPECT_TRUE(Obj3D_AppendMotion());
    EXPECT_EQ(QVL::kObj3Motions, o->motionCount);
    EXPECT_EQ(QVL::kObj3Motions - 1, o->motion);
    EXPECT_EQ(1, o->motions[QVL::kObj3Motions - 1].used);
    EXPECT_FALSE(Obj3D_AppendMotion());
    EXPECT_EQ(QVL::kObj3Motions, o->motionCount);
    g_CurObj3 = nullptr;
}

} // namespace
