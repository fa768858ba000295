#include <climits>
#include <cmath>
#include <cstring>
#include <random>

#include "edit3d/model3d_hooks.h"
#include "frame/scene.h"
#include "model/model_table.h"
#include "render/camera.h"
#include "shell/picking.h"
#include "shell_fixture.h"
#include "support/model_builders.h"

namespace {

struct TriCase {
    const char* what;
    float p[3][2];
    float q[2];
    int32_t inside;
};

TEST(PointInTriangle, Cases)
{
    const TriCase cases[] = {
        {"inside, facing the viewer", {{0, 0}, {10, 0}, {0, 10}}, {2, 2}, 1},
        {"outside the long edge", {{0, 0}, {10, 0}, {0, 10}}, {8, 8}, 0},
        {"left of the first corner", {{0, 0}, {10, 0}, {0, 10}}, {-1, 2}, 0},
        {"on an edge", {{0, 0}, {10, 0}, {0, 10}}, {5, 0}, 1},
        {"on a corner", {{0, 0}, {10, 0}, {0, 10}}, {0, 0}, 1},
        {"inside but facing away", {{0, 0}, {0, 10}, {10, 0}}, {2, 2}, 0},
        {"three corners on one point", {{4, 4}, {4, 4}, {4, 4}}, {50, -70}, 0},
        {"three corners on one point, cursor on it", {{4, 4}, {4, 4}, {4, 4}}, {4, 4}, 0},
        {"corners on one line, cursor off it", {{0, 0}, {5, 5}, {10, 10}}, {300, 2}, 0},
        {"corners on one line, cursor on it", {{0, 0}, {5, 5}, {10, 10}}, {3, 3}, 0},
    };
    for (const TriCase& c : cases) {
        float p0[3] = {c.p[0][0], c.p[0][1], 0}, p1[3] = {c.p[1][0], c.p[1][1], 0};
        float p2[3] = {c.p[2][0], c.p[2][1], 0}, q[3] = {c.q[0], c.q[1], 0};
        EXPECT_EQ(c.inside, Sel_PointInTriangle(p0, p1, p2, q)) << c.what;
    }
}

TEST(TruncPixel, TowardZeroAndSaturating)
{
    struct { float v; int32_t want; } cases[] = {
        {2.7f, 2}, {-2.7f, -2}, {-0.4f, 0}, {0.0f, 0}, {1e10f, INT32_MAX}, {-1e10f, -INT32_MAX},
        {INFINITY, INT32_MAX}, {-INFINITY, -INT32_MAX}, {NAN, INT32_MIN}, {2147483520.0f, INT32_MAX},
    };
    for (auto& c : cases) EXPECT_EQ(c.want, Sel_TruncPixel(c.v)) << c.v;
}

TEST(OrthoToScreen, FrontTopSideTruncateTowardZero)
{
    struct Case {
        int type;
        float p[3];
        int32_t sx, sy;
    } cases[] = {
        // 40 x zoom 1 = 40 pixels a unit; -0.01 x 40 = -0.4 truncates to 0, not -1.
        {VIEW_FRONT, {-0.01f, 0.01f, 9}, 100, 100},
        {VIEW_FRONT, {0.25f, 0.25f, 0}, 110, 90},
        {VIEW_FRONT, {-0.0625f, -0.0625f, 0}, 98, 102},          // -2.5 -> -2 each way
        {VIEW_TOP, {0.25f, 7, 0.25f}, 110, 90},                  // (x, z + pan z)
        {VIEW_TOP, {0, 0, -0.0625f}, 100, 102},
        {VIEW_SIDE, {5, 0.25f, 0.25f}, 110, 90},                 // (z + pan z, y)
        {VIEW_SIDE, {5, -0.0625f, -0.0625f}, 98, 102},
        // Far off the view: saturates instead of wrapping round onto it.
        {VIEW_FRONT, {1e12f, -1e12f, 0}, INT32_MAX, INT32_MAX},
        {VIEW_FRONT, {-1e12f, 1e12f, 0}, 100 - INT32_MAX, 100 - INT32_MAX},
    };
    for (const Case& c : cases) {
        VIEW_REC v{};
        v.type = c.type;
        v.centreX = v.centreY = 100;
        v.zoom = 1.0f;
        int32_t sx = 0, sy = 0;
        View_OrthoToScreen(v, c.p, &sx, &sy);
        EXPECT_EQ(c.sx, sx) << c.type << " " << c.p[0] << "," << c.p[1] << "," << c.p[2];
        EXPECT_EQ(c.sy, sy) << c.type << " " << c.p[0] << "," << c.p[1] << "," << c.p[2];
    }
    // The pan moves the point by its own amount before the scaling (Top and Side add pan z).
    VIEW_REC v{};
    v.type = VIEW_TOP;
    v.centreX = v.centreY = 0;
    v.zoom = 0.5f;
    v.pan[0] = 1;
    v.pan[2] = 2;
    float p[3] = {3, 0, -1};
    int32_t sx, sy;
    View_OrthoToScreen(v, p, &sx, &sy);
    EXPECT_EQ(40, sx);   // 20 x (3 - 1)
    EXPECT_EQ(-20, sy);  // -20 x (-1 + 2)
}

TEST(NearestGrid, AgreesWithTheLinearScan)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> coord(-200.0f, 1400.0f);
    std::uniform_int_distribution<int> kind(0, 19);
    static float proj[5000][3];
    for (int round = 0; round < 4; ++round) {
        int n = round == 0 ? 1 : round == 1 ? 37 : 5000;
        for (int i = 0; i < n; ++i) {
            int k = kind(rng);
            // Integer points make ties; a few far, infinite and NaN projections too.
            proj[i][0] = k < 8 ? (float)(int)coord(rng) / 8 : coord(rng);
            proj[i][1] = k < 8 ? (float)(int)coord(rng) / 8 : coord(rng);
            if (k == 17) proj[i][0] = 3e7f;
            if (k == 18) proj[i][1] = NAN;
            if (k == 19 && round == 3) proj[i][0] = INFINITY;
            proj[i][2] = 0.5f;
        }
        Sel_ForgetProjection();
        for (int t = 0; t < 400; ++t) {
            float x = t % 7 == 0 ? (float)(int)coord(rng) / 8 : coord(rng) * 3;
            float y = coord(rng);
            ASSERT_EQ(Sel_NearestLinear(proj, n, x, y), Sel_NearestGrid(proj, n, x, y))
                << "round " << round << " at " << x << ", " << y;
        }
    }
    // Exact ties: the lower index wins.
    float tie[3][3] = {{10, 0, 0}, {0, 10, 0}, {5, 5, 0}};
    Sel_ForgetProjection();
    EXPECT_EQ(0, Sel_NearestGrid(tie, 3, 0, 0));
    EXPECT_EQ(-1, Sel_NearestGrid(tie, 0, 0, 0));
}

// A model on layer 0 of the 3D editor, seen by the native camera from the origin along +z.
class Picking : public ShellTest {
protected:
    QVL::MODEL3* m = nullptr;
    int32_t id = -1;
    void SetUp() override
    {
        ShellTest::SetUp();
        Sel_AllocBuffers();
        Sel_ClearAll();
        id = Model3_Create();
        m = Model3_GetById(id);
        g_Mode = MODE_3D_EDIT;
        g_Screen = SCREEN_3D_POLYGON;
        g_LayerModelIds = {id};
        g_CurLayer = 0;
        g_Views[SCREEN_3D_POLYGON][0].type = VIEW_MAIN;
        g_AutoSelect = 1;
        g_Lib.keys[0x11] = g_Lib.keys['Z'] = 0;
        g_PolyEditState.selectionMode = 1;
        g_PolyEditState.tool = 0;
        const float eye[3] = {0, 0, 0}, at[3] = {0, 0, 1}, up[3] = {0, 1, 0};
        std::memcpy(g_Scene.eye, eye, sizeof eye);
        std::memcpy(g_Scene.lookAt, at, sizeof at);
        std::memcpy(g_Scene.up, up, sizeof up);
        Render_ApplyCamera();
        Sel_ForgetProjection();
    }
    void TearDown() override
    {
        g_LayerModelIds.clear();
        Sel_ClearAll();
        ShellTest::TearDown();
    }
    // A quad facing the viewer (clockwise as seen) at depth z, centred on (cx, cy).
    void AddQuad(float cx, float cy, float z, float r = 1)
    {
        int32_t a = AddVertex(m, cx - r, cy + r, z), b = AddVertex(m, cx + r, cy + r, z);
        int32_t c = AddVertex(m, cx + r, cy - r, z), d = AddVertex(m, cx - r, cy - r, z);
        AddFace(m, {a, b, c, d}, (int32_t)m->faceCount);
    }
    void ClickAt(float x, float y, float z)
    {
        QVL::VEC3 s;
        Render_ProjectToScreen(&s, x, y, z);
        g_PressPoint.x = g_DragStart.x = (int32_t)s.x;
        g_PressPoint.y = g_DragStart.y = (int32_t)s.y;
        View_PickVertexOrFace3D();
    }
};

TEST_F(Picking, FaceModePicksTheNearerFaceAndTogglesIt)
{
    AddQuad(0, 0, 20);
    AddQuad(0, 0, 10);   // in front of the first
    ClickAt(0.1f, 0.1f, 10);
    EXPECT_EQ(1, g_PickedFace);
    EXPECT_EQ(1, g_FaceSel[1]);
    EXPECT_EQ(0, g_FaceSel[0]);
    EXPECT_EQ(1, g_CurGroup);
    for (int k = 4; k < 8; ++k) EXPECT_EQ(1, g_VertexSel[k]);
    // Auto-select on: each pick clears first, so the same face picked again is selected again.
    ClickAt(0.1f, 0.1f, 10);
    EXPECT_EQ(1, g_FaceSel[1]);
    // Ctrl with auto-select off keeps the selection and toggles the face off.
    g_AutoSelect = 0;
    g_Lib.keys[0x11] = 1;
    ClickAt(0.1f, 0.1f, 10);
    EXPECT_EQ(0, g_FaceSel[1]);
    for (int k = 4; k < 8; ++k) EXPECT_EQ(0, g_VertexSel[k]);
    g_Lib.keys[0x11] = 0;
}

TEST_F(Picking, EmptySpaceClearsAndPicksNoFace)
{
    AddQuad(0, 0, 10);
    ClickAt(0, 0, 10);
    ASSERT_EQ(1, g_FaceSel[0]);
    ClickAt(5, 5, 10);
    EXPECT_EQ(-1, g_PickedFace);
    EXPECT_EQ(0, g_FaceSel[0]);
    EXPECT_EQ(0, g_VertexSel[0]);
}

TEST_F(Picking, DegenerateAndBackFacingFacesAreNeverPicked)
{
    // A face whose corners share one position, and one whose corners lie on a line.
    int32_t p = AddVertex(m, 0, 0, 5);
    AddFace(m, {p, p, p});
    int32_t a = AddVertex(m, -3, -3, 5), b = AddVertex(m, 0, 0, 5), c = AddVertex(m, 3, 3, 5);
    AddFace(m, {a, b, c});
    // A quad facing away, in front of everything.
    int32_t q0 = AddVertex(m, -1, -1, 4), q1 = AddVertex(m, 1, -1, 4), q2 = AddVertex(m, 1, 1, 4),
            q3 = AddVertex(m, -1, 1, 4);
    AddFace(m, {q0, q1, q2, q3});
    for (float x : {0.0f, 2.0f, -2.5f, 0.5f}) {
        ClickAt(x, 0.3f, 5);
        EXPECT_EQ(-1, g_PickedFace) << x;
    }
    AddQuad(0, 0, 10);
    ClickAt(0.2f, 0.3f, 10);
    EXPECT_EQ(3, g_PickedFace);
}

TEST_F(Picking, VertexModeTakesTheNearestPosition)
{
    g_PolyEditState.selectionMode = 0;
    AddQuad(0, 0, 10);
    ClickAt(1.1f, -0.9f, 10);   // near the lower right corner, index 2
    EXPECT_EQ(2, g_CurVertex);
    EXPECT_EQ(1, g_VertexSel[2]);
    EXPECT_EQ(0, g_VertexSel[0]);
    // Moving a position invalidates the reused projection.
    m->positions[0] = {1.1f, -0.9f, 10};
    ClickAt(1.1f, -0.9f, 10);
    EXPECT_EQ(0, g_CurVertex);
}

TEST_F(Picking, PicksOnlyOnPolygonAndTextureScreensInTheMainView)
{
    AddQuad(0, 0, 10);
    g_Screen = SCREEN_3D_BONE;
    g_Views[SCREEN_3D_BONE][0].type = VIEW_MAIN;
    ClickAt(0, 0, 10);
    EXPECT_EQ(0, g_FaceSel[0]);
    g_Screen = SCREEN_3D_TEXTURE;
    g_Views[SCREEN_3D_TEXTURE][0].type = VIEW_FRONT;
    ClickAt(0, 0, 10);
    EXPECT_EQ(0, g_FaceSel[0]);
    g_Views[SCREEN_3D_TEXTURE][0].type = VIEW_MAIN;
    ClickAt(0, 0, 10);
    EXPECT_EQ(1, g_FaceSel[0]);
}

TEST_F(Picking, WeightClickPickSkipsVertexZeroAndTakesTheLowerOnATie)
{
    AddVertex(m, 0, 0, 10);     // under the cursor, but vertex 0 is never picked
    AddVertex(m, 2, 1, 10);
    AddVertex(m, 0.5f, 0.5f, 10);
    AddVertex(m, 0.5f, 0.5f, 10);   // the same spot as 2
    g_Views[SCREEN_3D_POLYGON][0].type = VIEW_MAIN;
    Mode_UpdateCurrent();
    g_WeightVertex = -1;
    QVL::VEC3 s;
    Render_ProjectToScreen(&s, 0, 0, 10);
    g_PressPoint.x = g_DragStart.x = (int32_t)s.x;
    g_PressPoint.y = g_DragStart.y = (int32_t)s.y;
    g_VertexSel[1] = 1;
    View_PickVertex3D(false);
    EXPECT_EQ(2, g_WeightVertex);
    EXPECT_EQ(1, g_VertexSel[2]);
    EXPECT_EQ(0, g_VertexSel[1]);
    // A release one pixel off the press point is no click.
    g_WeightVertex = -1;
    g_PressPoint.x += 1;
    View_PickVertex3D(false);
    EXPECT_EQ(-1, g_WeightVertex);
}

TEST_F(Picking, ClassifyDrag)
{
    struct Case {
        int l, mid, r, ctrl, z, type;
        int sel, desel;
    } cases[] = {
        {1, 0, 0, 0, 0, VIEW_MAIN, 1, 0},  {1, 0, 0, 1, 0, VIEW_MAIN, 0, 1},
        {1, 0, 0, 0, 1, VIEW_MAIN, 0, 0},  {0, 0, 1, 0, 0, VIEW_FRONT, 0, 1},
        {0, 0, 1, 0, 0, VIEW_MAIN, 0, 0},  {0, 0, 1, 1, 0, VIEW_MAIN, 0, 1},
        {1, 0, 1, 0, 0, VIEW_FRONT, 0, 0}, {0, 1, 0, 0, 0, VIEW_FRONT, 0, 0},
        {1, 1, 0, 0, 0, VIEW_MAIN, 0, 0},
    };
    for (const Case& c : cases) {
        g_Lib.mouse.held[0] = c.l;
        g_Lib.mouse.held[1] = c.mid;
        g_Lib.mouse.held[2] = c.r;
        g_Lib.keys[0x11] = c.ctrl;
        g_Lib.keys['Z'] = c.z;
        VIEW_REC v{};
        v.type = c.type;
        g_CurView = &v;
        g_SelectDrag = g_DeselectDrag = 9;
        View_ClassifyDrag();
        EXPECT_EQ(c.sel, g_SelectDrag) << c.l << c.mid << c.r << c.ctrl << c.z << c.type;
        EXPECT_EQ(c.desel, g_DeselectDrag) << c.l << c.mid << c.r << c.ctrl << c.z << c.type;
        g_CurView = nullptr;
    }
    g_Lib.mouse.held[0] = g_Lib.mouse.held[1] = g_Lib.mouse.held[2] = 0;
    g_Lib.keys[0x11] = g_Lib.keys['Z'] = 0;
}

TEST_F(Picking, RectangleIsStrictAndFollowsTheMode)
{
    AddQuad(0, 0, 10);
    Mode_UpdateCurrent();
    g_FaceCentres[0][0] = 500;
    g_FaceCentres[0][1] = 500;
    g_SelectDrag = 1;
    g_DeselectDrag = 0;
    // Vertex mode: a corner on the border is not inside.
    g_PolyEditState.selectionMode = 0;
    View_RectSelect3D(0, 1, 10, 20, 10, 0, 30, 40);
    EXPECT_EQ(0, g_VertexSel[1]);
    View_RectSelect3D(0, 1, 11, 20, 10, 0, 30, 40);
    EXPECT_EQ(1, g_VertexSel[1]);
    EXPECT_EQ(1, g_CurVertex);
    // Tools other than 0 and 5 leave the selection alone.
    g_PolyEditState.tool = 2;
    View_RectSelect3D(0, 2, 11, 20, 10, 0, 30, 40);
    EXPECT_EQ(0, g_VertexSel[2]);
    g_PolyEditState.tool = 5;
    g_SelectDrag = 0;
    g_DeselectDrag = 1;
    View_RectSelect3D(0, 1, 11, 20, 10, 0, 30, 40);
    EXPECT_EQ(0, g_VertexSel[1]);
    EXPECT_EQ(-1, g_CurVertex);
    // Face mode: the face's centre inside selects the face and its corners.
    g_PolyEditState.selectionMode = 1;
    g_SelectDrag = 1;
    g_DeselectDrag = 0;
    View_RectSelect3D(0, 0, -50, -50, 400, 400, 600, 600);
    EXPECT_EQ(1, g_FaceSel[0]);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(1, g_VertexSel[k]);
    // Out-of-range faces and corners are refused.
    View_RectSelect3D(7, 0, 0, 0, -1, -1, 1, 1);
    View_RectSelect3D(0, 9, 0, 0, -1, -1, 1, 1);
}

} // namespace
