// The group dialog's commands: the list rows, copies against the group limit, deletes and swaps with
// the faces re-indexed, the mirror against the vertex limit, Apply's field rules and the toggles.
#include <algorithm>
#include <cstring>

#include "edit3d/edit3d_fixture.h"
#include "edit3d/group_dialog.h"
#include "edit3d/poly_drag.h"
#include "edit3d/poly_screen.h"
#include "shell/picking.h"
#include "support/list_recorder.h"
#include "support/model_builders.h"
#include "support/recorder.h"

namespace {

class GroupDialog : public Edit3DTest {
protected:
    int list = 0;
    ListRecCtl textures, normalMaps, shading;
    void SetUp() override
    {
        Edit3DTest::SetUp();
        Sel_AllocBuffers();
        Sel_ClearAll();
        g_Model3DEditor.groupList = &list;
        g_Group3DDlg = GROUP3D_DLG{&textures, &normalMaps, &shading};
        g_PolyEditState = POLY_EDIT_STATE{0, 1, 0, 0};
        Mode_UpdateCurrent();
        g_CurGroup = 0;
        Rec().messageBoxes.clear();
    }
    void TearDown() override
    {
        g_Group3DDlg = GROUP3D_DLG{};
        Sel_ClearAll();
        Edit3DTest::TearDown();
    }
    // `groups` groups, one quad in each (face f in group f).
    QVL::MODEL3* Groups(int groups)
    {
        QVL::MODEL3* m = Live();
        Model3_Reset(m);
        m->groupCount = groups;
        for (int g = 0; g < groups; ++g) {
            const int32_t a = AddVertex(m, (float)g, 0, 0), b = AddVertex(m, (float)g + 1, 0, 0);
            const int32_t c = AddVertex(m, (float)g + 1, 1, 0), d = AddVertex(m, (float)g, 1, 0);
            AddFace(m, {a, b, c, d}, g);
        }
        Mode_UpdateCurrent();
        return m;
    }
    std::vector<int32_t> FaceGroups(const QVL::MODEL3* m)
    {
        std::vector<int32_t> out;
        for (int32_t f = 0; f < m->faceCount; ++f) out.push_back(m->faces[(size_t)f].group);
        return out;
    }
    int Boxes(const std::string& text)
    {
        const auto& boxes = Rec().messageBoxes;
        return (int)std::count(boxes.begin(), boxes.end(), text);
    }
};

TEST_F(GroupDialog, RecordCopyAddsARowNamedAfterTheSourceWithNoFaces)
{
    Groups(1);
    Group3D_CopyRecordOnly();
    EXPECT_EQ(2, g_CurModel3->groupCount);
    EXPECT_EQ(1, g_CurGroup);
    const auto& rows = Model3DRec().listRows;
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(" 0 : グループ 0 ( 1 Poly )", rows[0]);
    EXPECT_EQ(" 1 : グループ 0 ( 0 Poly )", rows[1]);
    EXPECT_EQ(1, Model3DRec().listSelected);
    EXPECT_STREQ("グループ コピー", History().entries[History().position].caption);
}

TEST_F(GroupDialog, FaceGroupsOutsideTheGroupsAreCountedNowhere)
{
    QVL::MODEL3* m = Groups(2);
    m->faces[0].group = 70000;
    m->faces[1].group = -5;
    int32_t counts[QVL::kModel3Groups];
    Group3D_CountFaces(m, counts);
    EXPECT_EQ(0, counts[0]);
    EXPECT_EQ(0, counts[1]);
    Group3D_FillList();
    ASSERT_EQ(2u, Model3DRec().listRows.size());
    EXPECT_EQ(" 1 : グループ 1 ( 0 Poly )", Model3DRec().listRows[1]);
}

TEST_F(GroupDialog, CopiesStopAt256GroupsWithTheMessage)
{
    QVL::MODEL3* m = Groups(1);
    m->groupCount = 255;
    Group3D_CopyRecordOnly();
    EXPECT_EQ(256, m->groupCount);
    const int step = History().position;
    Group3D_CopyRecordOnly();
    Group3D_CopyWithFaces();
    EXPECT_EQ(256, m->groupCount);
    EXPECT_EQ(1, m->faceCount);
    EXPECT_EQ(2, Boxes("グループを、コピーできませんでした。"));
    EXPECT_EQ(step, History().position) << "a refused copy records no step";
}

TEST_F(GroupDialog, CopyWithFacesPastesTheSelectedFacesIntoTheNewGroup)
{
    QVL::MODEL3* m = Groups(2);
    g_FaceSel[1] = 1;
    g_CurGroup = 1;
    Group3D_CopyWithFaces();
    EXPECT_EQ(3, m->groupCount);
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2}), FaceGroups(m));
    EXPECT_EQ(12, m->positionCount);
}

TEST_F(GroupDialog, RecordDeletesReindexTheFaces)
{
    const struct {
        int32_t removed, current;
        std::vector<int32_t> faces;
        int32_t currentAfter;
    } cases[] = {
        {3, 3, {0, 1, 2, 2, 3, 4}, 3},
        {0, 0, {0, 0, 1, 2, 3, 4}, 0},
        {5, 5, {0, 1, 2, 3, 4, 4}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.removed);
        QVL::MODEL3* m = Groups(6);
        for (int g = 0; g < 6; ++g) Str_Format(m->groups[g].name, 256, "g%d", g);
        g_CurGroup = c.current;
        ASSERT_TRUE(Group3D_Remove(c.removed));
        EXPECT_EQ(5, m->groupCount);
        EXPECT_EQ(c.faces, FaceGroups(m));
        EXPECT_EQ(c.currentAfter, g_CurGroup);
        if (c.removed < 5) {
            EXPECT_STREQ(("g" + std::to_string(c.removed + 1)).c_str(), m->groups[c.removed].name);
        }
    }
}

TEST_F(GroupDialog, TheLastGroupIsNeverDeleted)
{
    QVL::MODEL3* m = Groups(1);
    Group3D_DeleteRecordOnly();
    g_FaceSel[0] = 1;
    Group3D_DeleteWithFaces();
    EXPECT_EQ(1, m->groupCount);
    EXPECT_EQ(1, m->faceCount);
    EXPECT_EQ(2, Boxes("グループを消去できません。"));
}

TEST_F(GroupDialog, SwapsMoveTheCurrentGroupWithItsFacesAndStopAtTheEnds)
{
    QVL::MODEL3* m = Groups(3);
    Str_CopyN(m->groups[1].name, 256, "mid");
    m->groups[1].color[0] = 17;
    const int before = History().position;
    g_CurGroup = 0;
    Group3D_MoveUp();
    g_CurGroup = 2;
    Group3D_MoveDown();
    EXPECT_EQ(before, History().position);
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2}), FaceGroups(m));

    g_CurGroup = 1;
    Group3D_MoveDown();
    EXPECT_EQ(2, g_CurGroup);
    EXPECT_STREQ("mid", m->groups[2].name);
    EXPECT_EQ((std::vector<int32_t>{0, 2, 1}), FaceGroups(m));
    EXPECT_EQ(17.0f, m->groups[m->faces[1].group].color[0]) << "the face keeps its material";
    EXPECT_STREQ("グループ ↓", History().entries[History().position].caption);
}

TEST_F(GroupDialog, NoSelectionInTheListChangesNothing)
{
    Groups(3);
    g_CurGroup = 1;
    for (int32_t row : {-1, 65535, 3}) {
        Group3D_Select(row);
        EXPECT_EQ(1, g_CurGroup) << row;
    }
    Group3D_Select(2);
    EXPECT_EQ(2, g_CurGroup);
    EXPECT_EQ(1, g_FaceSel[2]);
    EXPECT_EQ(0, g_FaceSel[1]);
    for (int p = 8; p < 12; ++p) EXPECT_EQ(1, g_VertexSel[p]);
    EXPECT_EQ(0, g_VertexSel[0]);
}

TEST_F(GroupDialog, MirrorAppendsMirroredPositionsAndReversedFacesOfTheGroupOnly)
{
    QVL::MODEL3* m = Groups(2);
    m->positions[1].x = 3;
    g_CurGroup = 1;
    Group3D_Mirror();
    EXPECT_EQ(16, m->positionCount);
    EXPECT_EQ(3, m->faceCount);
    EXPECT_EQ(-3.0f, m->positions[9].x);
    for (int p = 0; p < 16; ++p) EXPECT_EQ(p >= 8 ? 1 : 0, g_VertexSel[p]) << p;
    const QVL::FACE3& src = m->faces[1];
    const QVL::FACE3& copy = m->faces[2];
    EXPECT_EQ(1, copy.group);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(src.corners[3 - k][QVL::CORNER_POS] + 8, copy.corners[k][QVL::CORNER_POS]);
    EXPECT_EQ(1, g_FaceSel[2]);
    EXPECT_EQ(POLY_TOOL_MOVE, g_PolyEditState.tool);
    EXPECT_STREQ("鏡面 ( グループ )", History().entries[History().position].caption);
}

TEST_F(GroupDialog, MirrorPastTheVertexLimitIsRefusedUntouched)
{
    QVL::MODEL3* m = Groups(2);
    std::vector<int32_t> v(12), f(3);
    POLY_SEL s{v.data(), f.data(), 12, 3, 1, -1};
    EXPECT_FALSE(Group3D_MirrorModel(m, 0, s));
    EXPECT_EQ(8, m->positionCount);
    EXPECT_EQ(2, m->faceCount);
    std::vector<int32_t> v2(16), f2(3);
    POLY_SEL room{v2.data(), f2.data(), 16, 3, 1, -1};
    EXPECT_TRUE(Group3D_MirrorModel(m, 0, room));
    EXPECT_EQ(3, m->faceCount);
}

TEST_F(GroupDialog, ApplyTakesOnlyFieldsThatRead)
{
    QVL::MODEL3* m = Groups(1);
    QVL::GROUP3& g = m->groups[0];
    g.alphaRef = 77;
    g.texture = 3;
    g.shading = 4;
    const struct {
        const char* alpha;
        const char* colour[4];
        int32_t textureRow, shadingRow;
        uint16_t alphaAfter;
        float red, alpha255;
        int32_t textureAfter, shadingAfter;
    } cases[] = {
        {"", {"1", "2", "3", "4"}, -1, -1, 77, 1, 4, 3, 4},
        {"300", {"10", "", "30", "40"}, 2, 5, 255, 1, 4, 2, 5},
        {"12", {"999", "0", "0", "256"}, 0, 6, 12, 255, 255, 0, 5},
    };
    for (const auto& c : cases) {
        GROUP3D_FIELDS fields{};
        fields.name = "named";
        fields.textureRow = c.textureRow;
        fields.normalMapRow = -1;
        fields.alphaRef = c.alpha;
        for (int i = 0; i < 4; ++i) fields.color[i] = c.colour[i];
        fields.specular[0] = fields.specular[1] = fields.specular[2] = "x";
        fields.shadingRow = c.shadingRow;
        Group3D_Apply(fields);
        EXPECT_EQ(c.alphaAfter, g.alphaRef);
        EXPECT_EQ(c.red, g.color[0]);
        EXPECT_EQ(c.alpha255, g.alpha);
        EXPECT_EQ(c.textureAfter, g.texture);
        EXPECT_EQ(c.shadingAfter, g.shading);
    }
    EXPECT_STREQ("named", g.name);
    EXPECT_STREQ("グループ 決定ボタン", History().entries[History().position].caption);
}

TEST_F(GroupDialog, TogglesFlipTheFlagAndTheNormalMapSetsTheRenderKind)
{
    QVL::MODEL3* m = Groups(1);
    ASSERT_TRUE(Group3D_Toggle(1403));
    EXPECT_EQ(1, m->groups[0].normalMap);
    EXPECT_EQ(6, m->renderKind);
    EXPECT_STREQ("法線マップON ( グループ )", History().entries[History().position].caption);
    ASSERT_TRUE(Group3D_Toggle(1403));
    EXPECT_EQ(0, m->renderKind);
    const int32_t mirror = m->groups[0].mirror;
    ASSERT_TRUE(Group3D_Toggle(1386));
    EXPECT_EQ(1 - mirror, m->groups[0].mirror);
    EXPECT_FALSE(Group3D_Toggle(1066));
}

TEST_F(GroupDialog, TextureRowsNameLoadedEntries)
{
    QVL::MODEL3* m = Groups(1);
    m->textureCount = 3;
    m->textures[1].used = 1;
    Str_CopyN(m->textures[1].file, 256, "a.bmp");
    m->groups[0].texture = 1;
    Group3D_FillList();
    EXPECT_EQ((std::vector<std::string>{" 0 : なし", " 1 : a.bmp", " 2 :"}), textures.rows);
    EXPECT_EQ(1, textures.selected);
    Group3D_FillShadingCombo();
    EXPECT_EQ(6u, shading.rows.size());
    EXPECT_EQ(m->groups[0].shading, shading.selected);
}

} // namespace
