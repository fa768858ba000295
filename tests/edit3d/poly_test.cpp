// The polygon screen: tools, selection commands, drag steps, mesh operations and the wire frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_draw.h"
#include "edit3d/poly_drag.h"
#include "edit3d/poly_mesh.h"
#include "edit3d/poly_screen.h"
#include "frame/lib.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/picking.h"
#include "shell/views.h"
#include "support/model_builders.h"
#include "support/poly_batch_recorder.h"

using QVL::MODEL3;

namespace {

struct ModelDeleter {
    void operator()(MODEL3* m) const { Model3_Free(m); }
};
using ModelPtr = std::unique_ptr<MODEL3, ModelDeleter>;

// A selection with its own flags and small limits.
struct LocalSel {
    std::vector<int32_t> v, f;
    POLY_SEL s;
    LocalSel(int32_t maxPolygons, int32_t faceMode) : v(4 * (size_t)maxPolygons), f((size_t)maxPolygons)
    {
        s = POLY_SEL{v.data(), f.data(), 4 * maxPolygons, maxPolygons, faceMode, -1};
    }
};

int32_t Pos(const MODEL3* m, int32_t face, int32_t corner) { return m->faces[face].corners[corner][QVL::CORNER_POS]; }

// Two quads sharing the edge P1-P2: (P0, P1, P2, P3) and (P1, P4, P5, P2).
ModelPtr TwoQuads()
{
    ModelPtr m(NewRecord());
    AddVertex(m.get(), 0, 0, 0);   // P0
    AddVertex(m.get(), 1, 0, 0);   // P1
    AddVertex(m.get(), 1, 1, 0);   // P2
    AddVertex(m.get(), 0, 1, 0);   // P3
    AddVertex(m.get(), 2, 0, 0);   // P4
    AddVertex(m.get(), 2, 1, 0);   // P5
    AddFace(m.get(), {0, 1, 2, 3});
    AddFace(m.get(), {1, 4, 5, 2});
    return m;
}

// The screen's globals around one model: buffers, layer 0, the Front view under the mouse.
class PolyScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        Sel_AllocBuffers();
        std::fill(g_VertexSel, g_VertexSel + 4 * g_Lib.maxPolygons, 0);
        std::fill(g_FaceSel, g_FaceSel + g_Lib.maxPolygons, 0);
        g_Mode = MODE_3D_EDIT;
        g_Screen = SCREEN_3D_POLYGON;
        g_CurLayer = 0;
        g_UndoHistories[0] = UNDO_HISTORY{};
        g_PolyEditState = POLY_EDIT_STATE{0, 1, 0, 0};
        g_AutoSelect = 0;
        g_CurVertex = -1;
        g_PickedFace = -1;
        g_UndoPending = 0;
        std::memset(g_Lib.mouse.held, 0, sizeof g_Lib.mouse.held);
        VIEW_REC& front = g_Views[SCREEN_3D_POLYGON][1];
        front.exists = 1;
        front.type = VIEW_TYPE_FRONT;
        front.centreX = 200, front.centreY = 150;
        front.pan[0] = front.pan[1] = front.pan[2] = 0;
        front.zoom = 1.0f;
        g_PickedView = 1;
        g_CurViewIndex = 1;
        g_CurView = &front;
    }
    void TearDown() override { g_CurModel3 = nullptr; }
    void Use(MODEL3* m) { g_CurModel3 = m; }
};

} // namespace

// ---- tools and selection commands

TEST_F(PolyScreen, ToolKeysToggleBackToSelectAndSwitchBetweenTools)
{
    struct Case { std::vector<int> keys; int32_t tool; };
    const Case cases[] = {
        {{'T'}, POLY_TOOL_MOVE},
        {{'T', 'T'}, POLY_TOOL_SELECT},
        {{'T', 'R'}, POLY_TOOL_ROTATE},
        {{'G', 'G'}, POLY_TOOL_SELECT},
        {{'R', 'R', 'R'}, POLY_TOOL_ROTATE},
    };
    for (const Case& c : cases) {
        g_PolyEditState = POLY_EDIT_STATE{0, 1, 0, 0};
        for (int k : c.keys) Poly3D_KeyUp(k);
        EXPECT_EQ(g_PolyEditState.tool, c.tool);
        EXPECT_EQ(g_PolyEditState.selectionMode, 1) << "a toggle back keeps the selection mode";
    }
}

TEST_F(PolyScreen, SelectAllThenVertexModeCountsEveryVertexOfTheQuad)
{
    ModelPtr m(NewRecord());
    for (int i = 0; i < 4; ++i) AddVertex(m.get(), (float)(i & 1), (float)(i >> 1), 0);
    AddFace(m.get(), {0, 1, 3, 2});
    Use(m.get());
    std::string shown;
    static std::string* sink;
    sink = &shown;
    g_Poly3DUi.setCountText = [](const char* t) { *sink = t; };
    Poly3D_KeyUp('S');
    ASSERT_TRUE(Poly3D_DialogCommand(1141));
    EXPECT_EQ(g_PolyEditState.selectionMode, 0);
    EXPECT_EQ(shown, "頂点     4 /    4");
    // S again clears everything; a full rectangle selection still lets S select all.
    Poly3D_SelectAll();
    EXPECT_EQ(g_VertexSel[0], 0);
    for (int i = 0; i < 4; ++i) g_VertexSel[i] = 1;
    Poly3D_SelectAll();
    EXPECT_EQ(g_VertexSel[4 * g_Lib.maxPolygons - 1], 1);
    g_Poly3DUi.setCountText = nullptr;
}

TEST(PolyMesh, CountTextOfFaceMode)
{
    ModelPtr m = TwoQuads();
    LocalSel sel(8, 1);
    sel.f[1] = 1;
    char text[64];
    PolyMesh_CountText(m.get(), sel.s, text, sizeof text);
    EXPECT_STREQ(text, "面     1 /    2");
}

// ---- drags

TEST_F(PolyScreen, MoveDragInFrontViewMovesByAQuarterUnitPerTenPixelsUnlessAnotherButtonIsHeld)
{
    struct Case { int32_t held[3]; float x, y; };
    const Case cases[] = {
        {{1, 0, 0}, 1.25f, 2.25f},
        {{1, 0, 1}, 1.0f, 2.0f},
        {{1, 1, 0}, 1.0f, 2.0f},
        {{0, 0, 0}, 1.0f, 2.0f},
    };
    for (const Case& c : cases) {
        ModelPtr m(NewRecord());
        AddVertex(m.get(), 1, 2, 3);
        Use(m.get());
        g_VertexSel[0] = 1;
        g_PolyEditState.tool = POLY_TOOL_MOVE;
        std::memcpy(g_Lib.mouse.held, c.held, sizeof c.held);
        g_PrevMousePos = POINT32{100, 100};
        g_PressPoint = POINT32{110, 90};
        g_MouseDelta = DELTA2{10, -10};
        Poly3D_MouseMove(0);
        EXPECT_FLOAT_EQ(m->positions[0].x, c.x);
        EXPECT_FLOAT_EQ(m->positions[0].y, c.y);
        EXPECT_FLOAT_EQ(m->positions[0].z, 3.0f);
        EXPECT_EQ(g_UndoPending, c.x != 1.0f ? 1 : 0);
        if (c.x != 1.0f) {
            EXPECT_STREQ(g_UndoCaption, "移動 ( モデリング )");
            // The release records the whole drag once.
            Poly3D_LButtonUp(0);
            EXPECT_EQ(g_UndoHistories[0].position, 0);
            EXPECT_EQ(g_UndoPending, 0);
        }
        g_UndoPending = 0;
        g_CurModel3 = nullptr;
    }
}

TEST(PolyDrag, StepsAtZeroZoomOrEqualDeltasStayFinite)
{
    struct Case { int32_t tool; int32_t type; float zoom; float dx, dy; };
    const Case cases[] = {
        {POLY_TOOL_MOVE, VIEW_TYPE_FRONT, 0.0f, 5, 3},
        {POLY_TOOL_ROTATE, VIEW_TYPE_TOP, 0.0f, 5, 3},
        {POLY_TOOL_SCALE, VIEW_TYPE_SIDE, 0.0f, 5, 3},
        {POLY_TOOL_ROTATE, VIEW_TYPE_FRONT, 1.0f, 7, 7},
        {POLY_TOOL_ROTATE, VIEW_TYPE_MAIN, 1.0f, -4, -4},
    };
    for (const Case& c : cases) {
        ModelPtr m(NewRecord());
        AddVertex(m.get(), 1, 2, 3);
        int32_t vsel[4] = {1, 0, 0, 0}, fsel[1] = {0};
        POLY_VIEW view{c.type, 100, 100, {0.5f, 0.5f, 0.5f}, c.zoom};
        POLY_DRAG d{c.tool, 0, 2, 110, 90, 100, 100, c.dx, c.dy, 40, 60, 0, 0};
        POLY_DRAG_WORK work;
        PolyDrag_Step(m.get(), vsel, 4, fsel, 1, view, d, work);
        // Nothing may turn into NaN or infinity; a zero angle or a zero zoom leaves the point.
        EXPECT_FLOAT_EQ(m->positions[0].x, 1.0f);
        EXPECT_FLOAT_EQ(m->positions[0].y, 2.0f);
        EXPECT_FLOAT_EQ(m->positions[0].z, 3.0f);
    }
    EXPECT_FLOAT_EQ(PolyDrag_RotateAngle(3, 3), 0.0f);
    EXPECT_NEAR(PolyDrag_RotateAngle(180, 0), 3.14159265f / 2, 1e-6);
}

TEST(PolyDrag, ScaleInFrontViewStretchesAboutThePressPoint)
{
    ModelPtr m(NewRecord());
    AddVertex(m.get(), 2, 1, 0);
    int32_t vsel[4] = {1, 0, 0, 0}, fsel[1] = {0};
    // The press at the view's centre with no pan: the pivot is the origin.
    POLY_VIEW view{VIEW_TYPE_FRONT, 100, 100, {0, 0, 0}, 1.0f};
    POLY_DRAG d{POLY_TOOL_SCALE, 0, 0, 0, 0, 0, 0, 100, 0, 100, 100, 0, 0};
    POLY_DRAG_WORK work;
    PolyDrag_Step(m.get(), vsel, 4, fsel, 1, view, d, work);
    EXPECT_FLOAT_EQ(m->positions[0].x, 2.5f);
    EXPECT_FLOAT_EQ(m->positions[0].y, 1.0f);
}

TEST(PolyDrag, NormalMoveMovesASharedPositionOncePerStep)
{
    ModelPtr m = TwoQuads();
    m->normals.assign(1, QVL::XYZ{0, 0, 1});
    m->normalCount = 1;
    int32_t vsel[24] = {}, fsel[2] = {1, 1};
    POLY_VIEW view{VIEW_TYPE_FRONT, 100, 100, {0, 0, 0}, 1.0f};
    POLY_DRAG d{POLY_TOOL_MOVE, 2, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0};
    POLY_DRAG_WORK work;
    for (int step = 1; step <= 2; ++step) {
        PolyDrag_Step(m.get(), vsel, 24, fsel, 2, view, d, work);
        for (int p = 0; p < 6; ++p) EXPECT_FLOAT_EQ(m->positions[p].z, 1.0f * step) << "position " << p;
    }
}

TEST(PolyDrag, PanMovesOneUnitOnScreenAndNeverDividesByZero)
{
    struct Case { int32_t type; float zoom; int dir; float pan[3]; };
    const Case cases[] = {
        {VIEW_TYPE_FRONT, 2.0f, PAN_UP, {0, 0.5f, 0}},
        {VIEW_TYPE_TOP, 2.0f, PAN_UP, {0, 0, -0.5f}},
        {VIEW_TYPE_SIDE, 4.0f, PAN_RIGHT, {0, 0, -0.25f}},
        {VIEW_TYPE_FRONT, 1.0f, PAN_LEFT, {-1, 0, 0}},
        {VIEW_TYPE_FRONT, 0.0f, PAN_LEFT, {0, 0, 0}},
        {VIEW_TYPE_MAIN, 1.0f, PAN_LEFT, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        float pan[3] = {0, 0, 0};
        PolyDrag_Pan(pan, c.type, c.zoom, c.dir);
        for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(pan[i], c.pan[i]);
    }
}

// ---- mesh operations

TEST_F(PolyScreen, MergeButtonJoinsTwoQuadsSharingAnEdge)
{
    ModelPtr m = TwoQuads();
    Use(m.get());
    Poly3D_SelectAll();
    ASSERT_TRUE(Poly3D_DialogCommand(1146));
    ASSERT_EQ(m->faceCount, 1);
    EXPECT_EQ(m->faces[0].cornerCount, 4);
    const int32_t want[4] = {0, 4, 5, 3};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(Pos(m.get(), 0, k), want[k]);
    EXPECT_STREQ(g_UndoCaption, "統合:面 ( モデリング )");
}

// The pairwise walk as first written: every later selected face against A, removal by shifting.
static int32_t ReferenceMerge(MODEL3* m, std::vector<int32_t>& fsel)
{
    auto same = [&](int32_t a, int32_t b) {
        const QVL::XYZ p = Model3_PositionAt(m, a), q = Model3_PositionAt(m, b);
        return p.x == q.x && p.y == q.y && p.z == q.z;
    };
    int32_t total = 0;
    for (bool any = true; any;) {
        any = false;
        for (int32_t a = 0; a < m->faceCount; ++a) {
            for (int32_t b = a + 1; b < m->faceCount;) {
                if (fsel[a] != 1 || fsel[b] != 1) { ++b; continue; }
                QVL::FACE3& A = m->faces[a];
                const QVL::FACE3& B = m->faces[b];
                int n = 0, a1 = 0, b1 = 0, a2 = 0, b2 = 0;
                for (int i = 0; i < A.cornerCount; ++i)
                    for (int j = 0; j < B.cornerCount; ++j)
                        if (same(A.corners[i][0], B.corners[j][0])) {
                            if (!n) a1 = i, b1 = j;
                            a2 = i, b2 = j, ++n;
                        }
                if (n != 2) { ++b; continue; }
                const int mb = B.cornerCount;
                int f1 = (b1 + 1) % mb; if (f1 == b2) f1 = (b1 + mb - 1) % mb;
                int f2 = (b2 + 1) % mb; if (f2 == b1) f2 = (b2 + mb - 1) % mb;
                A.corners[a1][0] = B.corners[f1][0];
                A.corners[a2][0] = B.corners[f2][0];
                for (int32_t k = b; k + 1 < m->faceCount; ++k) m->faces[k] = m->faces[k + 1], fsel[k] = fsel[k + 1];
                --m->faceCount;
                any = true;
                ++total;
            }
        }
    }
    return total;
}

TEST(PolyMesh, IndexedFaceMergeMatchesThePairwiseWalk)
{
    struct Case { int cols, rows; int selectEvery; };
    const Case cases[] = {{3, 1, 1}, {4, 3, 1}, {5, 4, 2}, {6, 5, 3}, {7, 2, 1}};
    for (const Case& c : cases) {
        ModelPtr a(NewRecord()), b(NewRecord());
        MakeQuadGrid(a.get(), c.cols, c.rows);
        MakeQuadGrid(b.get(), c.cols, c.rows);
        // A triangle on top of the first quad's edge and a face sharing one corner only.
        AddFace(a.get(), {1, 2, 0});
        AddFace(b.get(), {1, 2, 0});
        LocalSel sel(256, 1);
        std::vector<int32_t> ref(256, 0);
        for (int32_t f = 0; f < a->faceCount; ++f) sel.f[f] = ref[f] = f % c.selectEvery == 0;
        const int32_t merged = PolyMesh_MergeFaces(a.get(), sel.s);
        EXPECT_EQ(merged, ReferenceMerge(b.get(), ref)) << c.cols << "x" << c.rows;
        ASSERT_EQ(a->faceCount, b->faceCount);
        for (int32_t f = 0; f < a->faceCount; ++f) {
            EXPECT_EQ(sel.f[f], ref[f]);
            for (int k = 0; k < 4; ++k) EXPECT_EQ(Pos(a.get(), f, k), Pos(b.get(), f, k)) << "face " << f;
        }
    }
}

TEST(PolyMesh, FaceMergeCases)
{
    // Three quads in a row become one; two quads sharing one corner stay.
    ModelPtr row(NewRecord());
    for (int i = 0; i <= 3; ++i) AddVertex(row.get(), (float)i, 0, 0), AddVertex(row.get(), (float)i, 1, 0);
    for (int i = 0; i < 3; ++i) AddFace(row.get(), {2 * i, 2 * i + 2, 2 * i + 3, 2 * i + 1});
    LocalSel sel(8, 1);
    std::fill(sel.f.begin(), sel.f.end(), 1);
    PolyMesh_MergeFaces(row.get(), sel.s);
    ASSERT_EQ(row->faceCount, 1);
    const int32_t want[4] = {0, 6, 7, 1};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(Pos(row.get(), 0, k), want[k]);

    ModelPtr corner(NewRecord());
    for (int i = 0; i < 7; ++i) AddVertex(corner.get(), (float)(i % 3), (float)(i / 3), 0);
    AddFace(corner.get(), {0, 1, 4, 3});
    AddFace(corner.get(), {4, 5, 6, 2});
    EXPECT_EQ(PolyMesh_MergeFaces(corner.get(), sel.s), 0);
    EXPECT_EQ(corner->faceCount, 2);
}

TEST_F(PolyScreen, FacesToPointsSplitsAQuadIntoFourPointFaces)
{
    ModelPtr m(NewRecord());
    for (int i = 0; i < 4; ++i) AddVertex(m.get(), (float)(i & 1), (float)(i >> 1), 0);
    AddFace(m.get(), {0, 1, 3, 2}, 7);
    Use(m.get());
    g_FaceSel[0] = 1;
    ASSERT_TRUE(Poly3D_DialogCommand(1184));
    ASSERT_EQ(m->faceCount, 4);
    const int32_t want[4] = {0, 1, 3, 2};
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(m->faces[f].cornerCount, 1);
        EXPECT_EQ(Pos(m.get(), f, 0), want[f]);
        EXPECT_EQ(m->faces[f].group, 7);
        if (f > 0) {
            EXPECT_EQ(g_FaceSel[f], 0) << "appended faces are not selected";
        }
    }
}

TEST(PolyMesh, AppendsPastTheLimitsAreRefused)
{
    // Faces to points: 2 faces of 4 corners need 6 more faces; room for 7 in all.
    ModelPtr m = TwoQuads();
    LocalSel sel(7, 1);
    sel.f[0] = sel.f[1] = 1;
    EXPECT_FALSE(PolyMesh_FacesToPoints(m.get(), sel.s));
    EXPECT_EQ(m->faceCount, 2);
    EXPECT_EQ(m->faces[0].cornerCount, 4);
    LocalSel roomy(8, 1);
    roomy.f[0] = roomy.f[1] = 1;
    EXPECT_TRUE(PolyMesh_FacesToPoints(m.get(), roomy.s));
    EXPECT_EQ(m->faceCount, 8);

    // Paste: 8 corners into a model of 6 positions; limits 12 and 16 positions.
    ModelPtr src = TwoQuads(), clip(NewRecord()), dst = TwoQuads();
    LocalSel copy(8, 1);
    copy.f[0] = copy.f[1] = 1;
    PolyMesh_Copy(src.get(), copy.s, clip.get());
    LocalSel small(3, 1), big(4, 1);
    EXPECT_FALSE(PolyMesh_Paste(dst.get(), small.s, clip.get()));
    EXPECT_EQ(dst->positionCount, 6);
    EXPECT_EQ(dst->faceCount, 2);
    EXPECT_TRUE(PolyMesh_Paste(dst.get(), big.s, clip.get()));
    EXPECT_EQ(dst->positionCount, 14);
    ASSERT_EQ(dst->faceCount, 4);
    EXPECT_EQ(Pos(dst.get(), 3, 3), 13);
    EXPECT_FLOAT_EQ(dst->positions[13].x, src->positions[2].x);
    EXPECT_GE(dst->weights.size(), 14u);

    // A new vertex colour at a full colour table.
    ModelPtr full = TwoQuads();
    LocalSel tight(1, 0);
    full->colorCount = 4;
    full->colors.resize(4);
    const float rgba[4] = {1, 2, 3, 4};
    EXPECT_FALSE(PolyMesh_ApplyVertexColor(full.get(), tight.s, rgba));
    EXPECT_EQ(full->colorCount, 4);
}

TEST_F(PolyScreen, VertexColourClampsReusesAndRejectsNonNumbers)
{
    ModelPtr m = TwoQuads();
    m->colors.assign(6, QVL::RGBA{0, 0, 0, 0});
    m->colors[3] = QVL::RGBA{255, 0, 128, 255};
    m->colorCount = 6;
    Use(m.get());
    g_PolyEditState.selectionMode = 0;
    g_VertexSel[1] = 1;
    const char* good[4] = {"300", "0", "128", "255"};
    Poly3D_ApplyVertexColorText(good);
    EXPECT_EQ(g_PolyColour[0], 255);
    EXPECT_EQ(m->colorCount, 6);
    EXPECT_EQ(m->faces[0].corners[1][QVL::CORNER_COLOR], 3);
    EXPECT_EQ(m->faces[1].corners[0][QVL::CORNER_COLOR], 3);
    const char* bad[4] = {"-5", "0", "0", "0"};
    Poly3D_ApplyVertexColorText(bad);
    EXPECT_EQ(g_PolyColour[0], 255);
    EXPECT_EQ(m->colorCount, 6);
}

TEST_F(PolyScreen, VertexMergeNeedsAPickedVertex)
{
    ModelPtr m = TwoQuads();
    Use(m.get());
    g_PolyEditState.selectionMode = 0;
    g_VertexSel[1] = g_VertexSel[2] = 1;
    g_CurVertex = -1;
    Poly3D_Merge();
    EXPECT_EQ(Pos(m.get(), 0, 1), 1);
    EXPECT_EQ(Pos(m.get(), 0, 2), 2);
    EXPECT_EQ(g_UndoHistories[0].position, -1) << "a refused merge records nothing";
    g_CurVertex = 2;
    Poly3D_Merge();
    EXPECT_EQ(Pos(m.get(), 0, 1), 2);
    EXPECT_EQ(Pos(m.get(), 1, 0), 2);
    EXPECT_EQ(g_VertexSel[1], 0);
    EXPECT_EQ(g_VertexSel[2], 1);
    EXPECT_STREQ(g_UndoCaption, "統合:頂点 ( モデリング )");
}

TEST(PolyMesh, DeleteInVertexModeDropsSelectedCorners)
{
    ModelPtr m(NewRecord());
    for (int i = 0; i < 8; ++i) AddVertex(m.get(), (float)i, 0, 0);
    AddFace(m.get(), {0, 1, 2, 3});   // loses corner 1: (0, 2, 3)
    AddFace(m.get(), {1, 4, 5});      // removed
    AddFace(m.get(), {4, 5, 6, 7});   // untouched
    m->faces.push_back(m->faces[0]);
    m->faces[3].cornerCount = 1;      // a point face on position 1: removed
    m->faces[3].corners[0][0] = 1;
    m->faceCount = 4;
    LocalSel sel(8, 0);
    sel.v[1] = 1;
    sel.f[2] = 1;
    PolyMesh_DeleteSelection(m.get(), sel.s);
    ASSERT_EQ(m->faceCount, 2);
    EXPECT_EQ(m->faces[0].cornerCount, 3);
    EXPECT_EQ(Pos(m.get(), 0, 0), 0);
    EXPECT_EQ(Pos(m.get(), 0, 1), 2);
    EXPECT_EQ(Pos(m.get(), 0, 2), 3);
    EXPECT_EQ(Pos(m.get(), 1, 0), 4);
    EXPECT_EQ(sel.f[1], 0);
    EXPECT_EQ(sel.v[1], 0);
}

TEST_F(PolyScreen, DeleteKeepsOrderAndDropsAPickPastTheEnd)
{
    // The deletion re-reads the current model from the layer.
    g_LayerObjectIds.clear();
    g_LayerModelIds.clear();
    Layer_Create();
    g_CurLayer = 0;
    Mode_UpdateCurrent();
    MODEL3* m = g_CurModel3;
    ASSERT_NE(m, nullptr);
    MakeQuadGrid(m, 6, 1);
    for (int f = 0; f < 6; f += 2) g_FaceSel[f] = 1;
    g_PickedFace = 5;
    const float x1 = m->positions[Pos(m, 1, 0)].x, x5 = m->positions[Pos(m, 5, 0)].x;
    Poly3D_DeleteKey();
    ASSERT_EQ(m->faceCount, 3);
    EXPECT_FLOAT_EQ(m->positions[Pos(m, 0, 0)].x, x1);
    EXPECT_FLOAT_EQ(m->positions[Pos(m, 2, 0)].x, x5);
    EXPECT_EQ(g_PickedFace, -1);
    EXPECT_STREQ(g_UndoCaption, "消去 ( モデリング )");
}

TEST(PolyMesh, DeleteLeftHalfRemovesFacesWhollyAtOrLeftOfZero)
{
    ModelPtr m(NewRecord());
    AddVertex(m.get(), 0, 0, 0), AddVertex(m.get(), -1, 0, 0), AddVertex(m.get(), 0, 1, 0), AddVertex(m.get(), 0.5f, 1, 0);
    AddFace(m.get(), {0, 1, 2});
    AddFace(m.get(), {0, 1, 3});
    LocalSel sel(4, 1);
    sel.f[1] = 1;
    PolyMesh_DeleteLeftHalf(m.get(), sel.s);
    ASSERT_EQ(m->faceCount, 1);
    EXPECT_EQ(Pos(m.get(), 0, 2), 3);
    EXPECT_EQ(m->positionCount, 4);
    EXPECT_EQ(sel.f[0], 0);
}

TEST(PolyMesh, FlipAndColourRotationRestore)
{
    ModelPtr m = TwoQuads();
    for (int k = 0; k < 4; ++k) m->faces[0].corners[k][QVL::CORNER_COLOR] = 10 + k;
    const QVL::FACE3 before = m->faces[0];
    LocalSel sel(4, 1);
    sel.f[0] = 1;
    PolyMesh_Flip(m.get(), sel.s);
    EXPECT_EQ(Pos(m.get(), 0, 0), 3);
    EXPECT_EQ(m->faces[0].corners[0][QVL::CORNER_COLOR], 13);
    PolyMesh_Flip(m.get(), sel.s);
    for (int i = 0; i < 4; ++i) PolyMesh_RotateColorNumbers(m.get(), sel.s);
    EXPECT_EQ(std::memcmp(m->faces[0].corners, before.corners, sizeof before.corners), 0);
}

// ---- drawing

TEST(PolyDraw, FrontMappingTruncatesTowardZero)
{
    const POLY_VIEW front{VIEW_TYPE_FRONT, 100, 100, {0, 0, 0}, 1.0f};
    const POLY_VIEW top{VIEW_TYPE_TOP, 100, 100, {0, 0, 0.5f}, 1.0f};
    const POLY_VIEW side{VIEW_TYPE_SIDE, 100, 100, {0, 1, 0.5f}, 1.0f};
    struct Case { POLY_VIEW v; QVL::XYZ p; int32_t x, y; };
    const Case cases[] = {
        {front, {0.99f / 40, -0.99f / 40, 0}, 100, 100},
        {front, {-0.05f, 0.05f, 0}, 98, 98},
        {top, {1, 0, -0.5f}, 140, 100},
        {side, {0, 2, 0.5f}, 140, 60},
    };
    for (const Case& c : cases) {
        int32_t x, y;
        PolyDraw_MapPoint(c.v, c.p, &x, &y);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
}

TEST(PolyDraw, WireFrameDrawsEveryEdgeInOrderInFewCalls)
{
    ModelPtr m(NewRecord());
    MakeQuadGrid(m.get(), 4, 3);
    AddVertex(m.get(), 0, 0, 0);
    AddFace(m.get(), {m->positionCount - 1, m->positionCount - 1, m->positionCount - 1});   // one pixel
    LocalSel sel(64, 0);
    sel.v[0] = 1;
    const POLY_WIRE_INPUT in{m.get(), {VIEW_TYPE_FRONT, 200, 150, {0, 0, 0}, 1.0f}, sel.v.data(), 256, sel.f.data(),
                             64, 0};
    PolyBatcher batcher;
    PolyBatchRec().clear();
    PolyDraw_Wire(in, batcher, nullptr, nullptr, nullptr, nullptr);
    batcher.Flush();
    // The same primitives as one call per edge, in the same order.
    std::vector<int32_t> drawn, want;
    for (const POLY_BATCH& b : PolyBatchRec()) {
        for (size_t i = 0; i < b.xy.size(); i += b.points ? 2 : 4) {
            drawn.insert(drawn.end(), {b.points, b.rgba[0]});
            drawn.insert(drawn.end(), b.xy.begin() + (long)i, b.xy.begin() + (long)i + (b.points ? 2 : 4));
        }
    }
    for (int32_t f = 0; f < m->faceCount; ++f) {
        int32_t x[4], y[4];
        const int c = m->faces[f].cornerCount;
        for (int k = 0; k < c; ++k) PolyDraw_MapPoint(in.view, m->positions[Pos(m.get(), f, k)], &x[k], &y[k]);
        for (int k = 0; k < c; ++k) {
            const int q = (k + 1) % c;
            if (x[k] == x[q] && y[k] == y[q]) want.insert(want.end(), {1, 196, x[k], y[k]});
            else want.insert(want.end(), {0, 196, x[k], y[k], x[q], y[q]});
            if (sel.v[Pos(m.get(), f, k)]) {
                const int32_t sx = x[k], sy = y[k];
                want.insert(want.end(), {0, 255, sx - 2, sy - 2, sx + 2, sy - 2, 0, 255, sx + 2, sy - 2, sx + 2, sy + 2,
                                         0, 255, sx - 2, sy + 2, sx + 2, sy + 2, 0, 255, sx - 2, sy - 2, sx - 2, sy + 2});
            }
        }
    }
    EXPECT_EQ(drawn, want);
    EXPECT_LE(PolyBatchRec().size(), 4u);
}
