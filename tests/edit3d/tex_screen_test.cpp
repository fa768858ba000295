// The texture screen: texture entries, the list's caret, zoom bounds, the hand tools, the unfolds
// and the UV drags.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "edit3d/edit3d_fixture.h"
#include "edit3d/poly_drag.h"
#include "edit3d/tex_screen.h"
#include "model/uv_map.h"
#include "shell/panel_states.h"
#include "shell/panels.h"
#include "shell/picking.h"
#include "support/model_builders.h"
#include "support/recorder.h"

using QVL::MODEL3;

namespace {

struct ModelDeleter {
    void operator()(MODEL3* m) const { Model3_Free(m); }
};
using ModelPtr = std::unique_ptr<MODEL3, ModelDeleter>;

// Entries 1..n named t1.bmp.., 64 x 32 pixels each.
void NameTextures(MODEL3* m, int n)
{
    m->textureCount = (int16_t)(n + 1);
    for (int i = 1; i <= n; ++i) {
        QVL::TEXTURE3& t = m->textures[(size_t)i];
        t.used = 1;
        std::snprintf(t.file, sizeof t.file, "t%d.bmp", i);
        Str_CopyN(t.folder, sizeof t.folder, "D:\\tex");
        t.width = 64;
        t.height = 32;
    }
}

TEST(TexEdit, DeletingTextureThreeOfFiveMovesTheLaterEntriesAndTheGroupsDown)
{
    ModelPtr m(NewRecord());
    NameTextures(m.get(), 5);
    // Group texture before -> after, and a normal map before -> after.
    const struct {
        int32_t texture, expect;
        uint16_t normalMap, expectMap;
    } rows[] = {{0, 0, 0, 0}, {2, 2, 2, 2}, {3, 2, 3, 2}, {4, 3, 5, 4}, {5, 4, 1, 1}};
    m->groupCount = 5;
    for (size_t g = 0; g < 5; ++g) {
        m->groups[g].texture = rows[g].texture;
        m->groups[g].normalMapTexture = rows[g].normalMap;
    }
    ASSERT_TRUE(TexEdit_DeleteEntry(m.get(), 3));
    EXPECT_EQ(5, m->textureCount);
    EXPECT_STREQ("t2.bmp", m->textures[2].file);
    EXPECT_STREQ("t4.bmp", m->textures[3].file);
    EXPECT_STREQ("t5.bmp", m->textures[4].file);
    EXPECT_EQ(0, m->textures[5].used);
    EXPECT_STREQ("", m->textures[5].file);
    for (size_t g = 0; g < 5; ++g) {
        EXPECT_EQ(rows[g].expect, m->groups[g].texture) << g;
        EXPECT_EQ(rows[g].expectMap, m->groups[g].normalMapTexture) << g;
    }
}

TEST(TexEdit, EntryZeroAndEntriesPastTheCountAreNotDeleted)
{
    ModelPtr m(NewRecord());
    NameTextures(m.get(), 2);
    m->groups[0].texture = 2;
    for (int32_t s : {0, -1, 3, 255, 65535}) {
        EXPECT_FALSE(TexEdit_DeleteEntry(m.get(), s)) << s;
        EXPECT_EQ(3, m->textureCount);
        EXPECT_EQ(2, m->groups[0].texture);
    }
}

TEST(TexEdit, ZoomStaysWithinItsBoundsAndANinthZoomInIsIgnored)
{
    float zoom = 1.0f;
    int32_t ox = 0, oy = 0;
    for (int i = 0; i < 7; ++i) EXPECT_TRUE(TexEdit_ZoomIn(&zoom, &ox, &oy, 64, 32)) << i;
    EXPECT_EQ(128.0f, zoom);
    // Each step moved the origin by half the texture at the old zoom: 32 (1 + 2 + .. + 64).
    EXPECT_EQ(-32 * 127, ox);
    EXPECT_EQ(-16 * 127, oy);
    EXPECT_FALSE(TexEdit_ZoomIn(&zoom, &ox, &oy, 64, 32));
    EXPECT_FALSE(TexEdit_ZoomIn(&zoom, &ox, &oy, 64, 32));
    EXPECT_EQ(128.0f, zoom);
    EXPECT_EQ(-32 * 127, ox);
    for (int i = 0; i < 9; ++i) TexEdit_ZoomOut(&zoom, &ox, &oy, 64, 32);
    EXPECT_EQ(0.25f, zoom);
    EXPECT_FALSE(TexEdit_ZoomOut(&zoom, &ox, &oy, 64, 32));
}

TEST(TexEdit, RotatingFaceUvsShiftsTheSelectedFacesByOneCorner)
{
    ModelPtr m(NewRecord());
    for (int i = 0; i < 7; ++i) AddVertex(m.get(), (float)i, 0, 0);
    AddFace(m.get(), {0, 1, 2, 3});
    AddFace(m.get(), {4, 5, 6});
    int32_t sel[2] = {1, 1};
    TexEdit_RotateFaceUvs(m.get(), sel, 2);
    const int32_t quad[4] = {3, 0, 1, 2}, tri[3] = {6, 4, 5};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(quad[c], m->faces[0].corners[c][QVL::CORNER_UV]);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(tri[c], m->faces[1].corners[c][QVL::CORNER_UV]);
    sel[0] = 0;
    TexEdit_RotateFaceUvs(m.get(), sel, 1);  // face 1 lies past the selection's capacity
    EXPECT_EQ(3, m->faces[0].corners[0][QVL::CORNER_UV]);
    EXPECT_EQ(6, m->faces[1].corners[0][QVL::CORNER_UV]);
}

// Two quads side by side in x, sharing nothing; face 1 uses UVs 4..7 with values of its own.
ModelPtr TwoQuads()
{
    ModelPtr m(NewRecord());
    const float q[2][4][2] = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{2, 0}, {3, 0}, {3, 2}, {2, 2}}};
    for (int f = 0; f < 2; ++f) {
        int32_t v[4];
        for (int c = 0; c < 4; ++c) v[c] = AddVertex(m.get(), q[f][c][0], q[f][c][1], 0, 0.1f * (float)(4 * f + c), 0.5f);
        AddFace(m.get(), {v[0], v[1], v[2], v[3]});
    }
    m->normals[0] = QVL::XYZ{0, 0, 1};
    return m;
}

TEST(TexEdit, UnfoldFromPositionsRenumbersTheUnselectedFaces)
{
    ModelPtr m = TwoQuads();
    // Face 1 also points twice at entry 5 and once past the list.
    m->faces[1].corners[2][QVL::CORNER_UV] = 5;
    m->faces[1].corners[3][QVL::CORNER_UV] = 900;
    int32_t sel[2] = {1, 0};
    TexEdit_UnfoldPositions(m.get(), sel, 2);
    // Face 0's corners from the bounds over both faces (x 0..3, y 0..2), front-facing.
    const float u[4] = {1.0f, 0.5f + 0.5f * 2 / 3, 0.5f + 0.5f * 2 / 3, 1.0f}, v[4] = {1, 1, 0.5f, 0.5f};
    for (int c = 0; c < 4; ++c) {
        const int32_t i = m->faces[0].corners[c][QVL::CORNER_UV];
        EXPECT_EQ(c, i);
        EXPECT_FLOAT_EQ(u[c], m->uvs[(size_t)i].u) << c;
        EXPECT_FLOAT_EQ(v[c], m->uvs[(size_t)i].v) << c;
    }
    // Face 1 keeps what it showed, through entries after the rebuilt ones; the shared entry once.
    EXPECT_EQ(7, m->uvCount);
    const int32_t* c1[4];
    for (int c = 0; c < 4; ++c) c1[c] = &m->faces[1].corners[c][QVL::CORNER_UV];
    EXPECT_EQ(4, *c1[0]);
    EXPECT_EQ(5, *c1[1]);
    EXPECT_EQ(5, *c1[2]);
    EXPECT_EQ(6, *c1[3]);
    EXPECT_FLOAT_EQ(0.4f, m->uvs[4].u);
    EXPECT_FLOAT_EQ(0.5f, m->uvs[5].u);
    for (int c = 0; c < 4; ++c) EXPECT_LT(*c1[c], m->uvCount);
}

TEST(TexEdit, UnfoldsOfAFlatModelStayFinite)
{
    ModelPtr m(NewRecord());
    for (int i = 0; i < 4; ++i) AddVertex(m.get(), 1, 1, (float)i);  // one point in x and y
    AddFace(m.get(), {0, 1, 2, 3});
    int32_t sel[1] = {1};
    TexEdit_UnfoldPositions(m.get(), sel, 1);
    TexEdit_UnfoldCylinder(m.get(), 0);
    m->groups[0].uvMapping = UVMAP_FRONT;
    Model3_MapGroupUvOf(m.get(), 0);
    for (int32_t i = 0; i < m->uvCount; ++i) {
        EXPECT_TRUE(std::isfinite(m->uvs[(size_t)i].u)) << i;
        EXPECT_TRUE(std::isfinite(m->uvs[(size_t)i].v)) << i;
    }
}

TEST(TexEdit, CylinderUnfoldTurnsATriangleIntoAQuadRepeatingItsFirstCorner)
{
    ModelPtr m(NewRecord());
    AddVertex(m.get(), 1, 0, 0);
    AddVertex(m.get(), 0, 1, 1);
    AddVertex(m.get(), -1, 2, 0);
    AddFace(m.get(), {0, 1, 2});
    TexEdit_UnfoldCylinder(m.get(), 0);
    ASSERT_EQ(4, m->faces[0].cornerCount);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(m->faces[0].corners[0][k], m->faces[0].corners[3][k]);
    EXPECT_FLOAT_EQ(1.0f, m->uvs[0].v);  // lowest y
    EXPECT_FLOAT_EQ(0.0f, m->uvs[2].v);
}

TEST(TexEdit, NormalUnfoldReadsEachCornersNormal)
{
    ModelPtr m = TwoQuads();
    m->normals.push_back(QVL::XYZ{1, 0, -1});
    m->normalCount = 2;
    m->faces[0].corners[1][QVL::CORNER_NORMAL] = 1;
    int32_t sel[2] = {1, 0};
    TexEdit_UnfoldNormals(m.get(), sel, 2);
    EXPECT_FLOAT_EQ(0.25f, m->uvs[0].u);
    EXPECT_FLOAT_EQ(0.5f, m->uvs[0].v);
    EXPECT_FLOAT_EQ(1.0f, m->uvs[1].u);  // 0.25 + 0.25, and 0.5 for the back
    EXPECT_FLOAT_EQ(0.4f, m->uvs[4].u);  // unselected: untouched
}

TEST(TexEdit, UvDragsWithAZeroSizeChangeNothing)
{
    ModelPtr m = TwoQuads();
    int32_t sel[8] = {1, 1, 0, 0, 0, 0, 0, 0};
    const QVL::UV2 before = m->uvs[1];
    TexEdit_DragUvs(m.get(), sel, 8, UV_TOOL_MOVE, 5, 5, 1.0f, 0, 32, 410, 358);
    TexEdit_DragUvs(m.get(), sel, 8, UV_TOOL_ROTATE, 5, -5, 1.0f, 64, 32, 0, 0);
    EXPECT_EQ(before.u, m->uvs[1].u);
    EXPECT_EQ(before.v, m->uvs[1].v);
    // A move of (10, -5) texels on a 64 x 32 picture; entry 2 is not selected.
    TexEdit_DragUvs(m.get(), sel, 8, UV_TOOL_MOVE, 10, -5, 1.0f, 64, 32, 410, 358);
    EXPECT_FLOAT_EQ(before.u + 128.0f / 64 * 10 * 0.01f, m->uvs[1].u);
    EXPECT_FLOAT_EQ(before.v - 128.0f / 32 * 5 * 0.01f, m->uvs[1].v);
    EXPECT_FLOAT_EQ(0.2f, m->uvs[2].u);
    // A quarter turn about the centre, with a square dialog: (1, 0.5) -> (0.5, 0) or (0.5, 1).
    m->uvs[0] = QVL::UV2{1.0f, 0.5f};
    TexEdit_DragUvs(m.get(), sel, 8, UV_TOOL_ROTATE, 90, -90, 1.0f, 64, 32, 100, 100);
    EXPECT_NEAR(0.5f, m->uvs[0].u, 1e-5f);
    EXPECT_NEAR(1.0f, m->uvs[0].v, 1e-5f);
}

// ---- the screen on the editor's current layer ----

class TexScreenTest : public Edit3DTest {
protected:
    void SetUp() override
    {
        Edit3DTest::SetUp();
        Sel_AllocBuffers();
        g_Tex3D.dialog = g_Tex3D.list = nullptr;
        g_Tex3DState = {0, 1.0f, 0, 0, 0, 0, 0, {0, 0, 0, 0}, 0};
        g_UvTool = 0;
        g_Tex3D.lastListSel = g_Tex3D.lastCommand = -1;
        g_CurGroup = 0;
        Rec().messageBoxes.clear();
        UiRec().fileAnswers.clear();
        g_Screen = SCREEN_3D_TEXTURE;
        MODEL3* m = Live();
        for (int i = 0; i < 4; ++i) AddVertex(m, (float)(i & 1), (float)(i >> 1), 0);
        AddFace(m, {0, 1, 3, 2});
        m->groupCount = 1;
        Mode_UpdateCurrent();
    }
    void TearDown() override
    {
        Tex3D_Exit();
        Edit3DTest::TearDown();
    }
    std::string LastCaption()
    {
        const UNDO_HISTORY& h = History();
        return h.position >= 0 ? h.entries[h.position].caption : "";
    }
};

TEST_F(TexScreenTest, EnteringMakesBothWindowsAndListsTheTextures)
{
    NameTextures(Live(), 2);
    Live()->groups[0].texture = 2;
    Tex3D_Enter();
    EXPECT_NE(nullptr, g_Tex3D.dialog);
    EXPECT_NE(nullptr, g_Tex3D.list);
    const std::vector<std::string> rows = {" 0 : テクスチャ無し", " 1 : t1.bmp", " 2 : t2.bmp"};
    EXPECT_EQ(rows, Model3DRec().listRows);
    EXPECT_EQ(2, Model3DRec().listSelected);
    EXPECT_EQ(1, g_FaceSel[0]);
    EXPECT_EQ(1, g_VertexSel[3]);
    EXPECT_EQ(POLY_TOOL_UV, g_PolyEditState.tool);
    // The repaint pass finds the picture's host open, and the dirty picture is painted.
    bool (*open)(int32_t) = [](int32_t host) {
        const DLG_SLOT* slot = Panel_HostSlot(host);
        return slot && slot->window;
    };
    PANEL_JOB jobs[PANEL_HOST_COUNT];
    const int32_t n = Panel_CollectDirty(open, jobs);
    bool painted = false;
    for (int32_t i = 0; i < n; ++i) painted = painted || jobs[i].paint == Panel_PaintTexture3D;
    EXPECT_TRUE(painted);
    Tex3D_Exit();
    EXPECT_EQ(nullptr, g_PanelHosts[PANEL_HOST_TEX3D]);
}

TEST_F(TexScreenTest, NoCaretRowLeavesTheCurrentTexture)
{
    NameTextures(Live(), 3);
    Tex3D_DialogCommand(1, 2, nullptr);
    EXPECT_EQ(2, g_Tex3DState.texture);
    for (int caret : {-1, 65535, 4}) {
        Tex3D_DialogCommand(1, caret, nullptr);
        EXPECT_EQ(2, g_Tex3DState.texture) << caret;
    }
    // And a delete with no row picked removes the texture that is current, not a wrong one.
    Tex3D_DialogCommand(1134, -1, nullptr);
    EXPECT_EQ(3, Live()->textureCount);
    EXPECT_STREQ("t3.bmp", Live()->textures[2].file);
}

TEST_F(TexScreenTest, AddingATextureLoadsItAsTheNextEntryAndRecordsAStep)
{
    UiRec().fileAnswers = {"wood.bmp"};
    Tex3D_DialogCommand(1133, 0, nullptr);
    MODEL3* m = Live();
    EXPECT_EQ(2, m->textureCount);
    EXPECT_EQ(1, m->textures[1].used);
    EXPECT_STREQ("wood.bmp", m->textures[1].file);
    ASSERT_EQ(1u, Model3DRec().texturesLoaded.size());
    EXPECT_NE(std::string::npos, Model3DRec().texturesLoaded[0].find(" 1 "));
    EXPECT_EQ("追加 wood.bmp ( テクスチャ )", LastCaption());
    // A cancelled dialog changes nothing.
    Tex3D_DialogCommand(1133, 0, nullptr);
    EXPECT_EQ(2, m->textureCount);
}

TEST_F(TexScreenTest, TheTwoHundredFiftySeventhTextureIsRefused)
{
    MODEL3* m = Live();
    NameTextures(m, 255);
    ASSERT_EQ(256, m->textureCount);
    UiRec().fileAnswers = {"more.bmp"};
    Tex3D_DialogCommand(1133, 0, nullptr);
    EXPECT_EQ(256, m->textureCount);
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ("これ以上テクスチャを、追加できません。", Rec().messageBoxes[0]);
    EXPECT_EQ(1u, UiRec().fileAnswers.size());  // never asked
}

TEST_F(TexScreenTest, ReplacingEntryZeroIsRefused)
{
    UiRec().fileAnswers = {"a.bmp"};
    Tex3D_DialogCommand(1135, 0, nullptr);
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ("０番には、テクスチャを読み込めません。", Rec().messageBoxes[0]);
    EXPECT_EQ(1, Live()->textureCount);
}

TEST_F(TexScreenTest, DeletingReloadsTheEntriesLeftAndStepsTheCurrentTextureBack)
{
    NameTextures(Live(), 5);
    Tex3D_DialogCommand(1134, 3, nullptr);
    EXPECT_EQ(5, Live()->textureCount);
    EXPECT_EQ(2, g_Tex3DState.texture);
    EXPECT_EQ(4u, Model3DRec().texturesLoaded.size());
    EXPECT_EQ("消去 t3.bmp ( テクスチャ )", LastCaption());
}

TEST_F(TexScreenTest, ToolKeysEnterAndLeavePointSelection)
{
    Tex3D_KeyUp('T');
    EXPECT_EQ(UV_TOOL_MOVE, g_UvTool);
    EXPECT_EQ(UVMAP_FREE, Live()->groups[0].uvMapping);
    Tex3D_KeyUp('T');
    EXPECT_EQ(UV_TOOL_SELECT, g_UvTool);
    Tex3D_KeyUp('E');
    EXPECT_EQ(UV_TOOL_MOVE, g_UvTool);
    Tex3D_KeyUp('G');
    Tex3D_KeyUp('G');
    Tex3D_KeyUp('E');
    EXPECT_EQ(UV_TOOL_SCALE, g_UvTool);
}

TEST_F(TexScreenTest, ProjectionsKeepOrResetOffsetAndScale)
{
    QVL::GROUP3& g = Live()->groups[0];
    g.uvOffset[0] = 0.5f;
    g.uvScale[0] = 2.0f;
    Tex3D_DialogCommand(1045, 0, nullptr);
    EXPECT_EQ(0.5f, g.uvOffset[0]);
    EXPECT_EQ(2.0f, g.uvScale[0]);
    EXPECT_EQ("正面ボタン ( テクスチャ )", LastCaption());
    Tex3D_DialogCommand(1057, 0, nullptr);
    EXPECT_EQ(0.0f, g.uvOffset[0]);
    EXPECT_EQ(1.0f, g.uvScale[0]);
    EXPECT_EQ(UV_TOOL_SIDE, g_UvTool);
    EXPECT_EQ(UVMAP_EACH_FACE, g.uvMapping);
}

TEST_F(TexScreenTest, AClickInThePictureRecordsAStepInTheDragTools)
{
    const struct {
        int32_t tool;
        const char* caption;  // null: no step
    } rows[] = {{UV_TOOL_FRONT, "ＵＶ正面 ( テクスチャ )"}, {UV_TOOL_MOVE, "ＵＶ移動 ( テクスチャ )"},
                {UV_TOOL_SCALE, "ＵＶ拡縮 ( テクスチャ )"},  {UV_TOOL_SELECT, nullptr}, {UV_TOOL_EDIT, nullptr}};
    for (const auto& r : rows) {
        g_UvTool = r.tool;
        const int32_t before = History().last;
        Tex3D_ImageButton(TEX_BUTTON_LEFT, true, 10, 10);
        Tex3D_ImageButton(TEX_BUTTON_LEFT, false, 10, 10);
        if (r.caption) EXPECT_EQ(r.caption, LastCaption()) << r.tool;
        else EXPECT_EQ(before, History().last) << r.tool;
    }
}

TEST_F(TexScreenTest, ADragInAPlanarMappingMovesTheOffset)
{
    QVL::GROUP3& g = Live()->groups[0];
    g.uvMapping = UVMAP_FRONT;
    g_Tex3DState.zoom = 2.0f;
    Tex3D_ImageButton(TEX_BUTTON_LEFT, true, 100, 100);
    Tex3D_ImageMouseMove(140, 80);  // (20, -10) texels at zoom 2
    EXPECT_FLOAT_EQ(0.1f, g.uvOffset[0]);
    EXPECT_FLOAT_EQ(0.05f, g.uvOffset[1]);
    Tex3D_ImageButton(TEX_BUTTON_LEFT, false, 140, 80);
}

} // namespace
