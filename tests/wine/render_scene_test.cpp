// The whole frame under Wine with scene objects: culling, the draw lists and their order, drawn by
// Render_Frame into a target of the test's own and read back.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <vector>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "model/gpu_update.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "render/camera.h"
#include "render/frame_render.h"
#include "wine/support/render_target.h"
#include "wine/support/wine_frame.h"

using namespace QVL;

namespace {

int R(DWORD c) { return (int)(c >> 16 & 255); }
int G(DWORD c) { return (int)(c >> 8 & 255); }

int32_t Vertex(MODEL3* m, float x, float y, float z)
{
    m->positions.push_back(XYZ{x, y, z});
    m->colors.push_back(RGBA{255, 255, 255, 255});
    m->uvs.push_back(UV2{0, 0});
    m->positionCount = m->colorCount = m->uvCount = (int32_t)m->positions.size();
    if (m->normals.empty()) m->normals.push_back(XYZ{0, 0, -1});
    m->normalCount = 1;
    return m->positionCount - 1;
}

void Face(MODEL3* m, const int32_t (&v)[4], int32_t group)
{
    FACE3 f = {};
    f.cornerCount = 4;
    for (int c = 0; c < 4; ++c) {
        f.corners[c][CORNER_POS] = v[c];
        f.corners[c][CORNER_NORMAL] = 0;
        f.corners[c][CORNER_COLOR] = v[c];
        f.corners[c][CORNER_UV] = v[c];
    }
    f.group = group;
    m->faces.push_back(f);
    m->faceCount = (int32_t)m->faces.size();
}

// A square facing the eye at depth z in group g, with the group's colour, alpha and centre.
void AddSquare(MODEL3* m, int32_t g, float x0, float y0, float x1, float y1, float z, float r, float gr, float b,
               float alpha)
{
    const int32_t v[4] = {Vertex(m, x0, y0, z), Vertex(m, x0, y1, z), Vertex(m, x1, y1, z), Vertex(m, x1, y0, z)};
    Face(m, v, g);
    GROUP3& mat = m->groups[(size_t)g];
    mat.color[0] = r;
    mat.color[1] = gr;
    mat.color[2] = b;
    mat.alpha = alpha;
    mat.shading = 4;
    mat.centre[0] = (x0 + x1) / 2;
    mat.centre[1] = (y0 + y1) / 2;
    mat.centre[2] = z;
    if (m->groupCount < g + 1) m->groupCount = g + 1;
}

class RenderScene : public testing::Test {
protected:
    void SetUp() override
    {
        // Objects other tests left behind stay out of these frames.
        ASSERT_TRUE(WineScene_Begin(scene_, 0, 0, -15));
    }
    void TearDown() override
    {
        WineScene_End(scene_);
    }
    template <class F> int32_t Model(F fill)
    {
        return WineScene_Model(scene_, fill);
    }
    int32_t Place(int32_t model, float x, float y, float z, bool cullTest)
    {
        int32_t id = ObjectCreate();
        OBJECT* o = Object_GetById(id);
        o->modelId = model;
        o->cullTest = cullTest ? 1 : 0;
        Object_SetPosition(o, x, y, z);
        scene_.objects.push_back(id);
        return id;
    }
    VEC3 Screen(float x, float y, float z)
    {
        VEC3 s;
        Render_ProjectToScreen(&s, x, y, z);
        return s;
    }
    WINE_SCENE scene_;
};

TEST_F(RenderScene, PlacedObjectsAppearWhereTheCameraSaysAndCulledOnesDoNot)
{
    Target t;
    ASSERT_TRUE(t.Ok());
    int32_t red = Model([](MODEL3* m) { AddSquare(m, 0, -0.5f, -0.5f, 0.5f, 0.5f, 0, 255, 0, 0, 255); });
    int32_t shown = Place(red, 2, 1, 0, true);
    int32_t behind = Place(red, 0, 0, -20, true);     // behind the eye: culled
    int32_t untested = Place(red, -2, -1, 0, false);  // never culled
    Anim_UpdateModels();
    Render_Frame();
    EXPECT_EQ(0, Object_GetById(shown)->culled);
    EXPECT_EQ(1, Object_GetById(behind)->culled);
    EXPECT_EQ(0, Object_GetById(untested)->culled);
    EXPECT_EQ(2, g_Renderer.opaqueCount);
    VEC3 a = Screen(2, 1, 0), b = Screen(-2, -1, 0);
    EXPECT_EQ(0xFF0000u, t.At((int)a.x, (int)a.y)) << a.x << "," << a.y;
    EXPECT_EQ(0xFF0000u, t.At((int)b.x, (int)b.y)) << b.x << "," << b.y;
    EXPECT_EQ(0u, t.At((int)a.x + 20, (int)a.y)) << "beside the square";
    VEC3 c = Screen(0, 0, 0);
    EXPECT_EQ(0u, t.At((int)c.x, (int)c.y)) << "between the two squares";

    // Moved off the screen with its cull test on, the object leaves the lists.
    Object_SetPosition(Object_GetById(shown), 200, 1, 0);
    Anim_UpdateModels();
    Render_Frame();
    t.Invalidate();
    EXPECT_EQ(1, Object_GetById(shown)->culled);
    EXPECT_EQ(1, g_Renderer.opaqueCount);
    EXPECT_EQ(0u, t.At((int)a.x, (int)a.y));
}

TEST_F(RenderScene, TransparentMaterialsAreDrawnFarToNear)
{
    Target t;
    ASSERT_TRUE(t.Ok());
    // Built near (red) first, then far (green); both half transparent and overlapping in the middle.
    int32_t pair = Model([](MODEL3* m) {
        AddSquare(m, 0, -1.0f, -1.0f, 0.5f, 0.5f, -2, 255, 0, 0, 128);
        AddSquare(m, 1, -0.5f, -0.5f, 1.0f, 1.0f, 2, 0, 255, 0, 128);
    });
    Place(pair, 0, 0, 0, false);
    Anim_UpdateModels();
    Render_Frame();
    ASSERT_EQ(2, g_Renderer.transparentCount);
    EXPECT_EQ(1, g_Renderer.transparent[0].material) << "the far material first";
    VEC3 mid = Screen(0, 0, 0);
    DWORD c = t.At((int)mid.x, (int)mid.y);
    // Green over black, then red over that: red about 128, green about 64.
    EXPECT_NEAR(128, R(c), 4) << std::hex << c;
    EXPECT_NEAR(64, G(c), 4) << std::hex << c;
}

} // namespace

namespace {

// A square facing the eye whose corner normals lean outwards: drawn curved (shading 5), its edges
// bulge past the flat square's outline.
TEST_F(RenderScene, CurvedShadingBulgesPastTheFlatSilhouette)
{
    Target t;
    ASSERT_TRUE(t.Ok());
    auto square = [](int32_t shading) {
        return [shading](MODEL3* m) {
            AddSquare(m, 0, -1, -1, 1, 1, 0, 255, 0, 0, 255);
            m->groups[0].shading = shading;
            m->normals.clear();
            for (int32_t i = 0; i < 4; ++i) {
                const XYZ p = m->positions[(size_t)i];
                m->normals.push_back(XYZ{p.x * 0.7f, p.y * 0.7f, -1.0f});
                m->faces[0].corners[i][CORNER_NORMAL] = i;
            }
            m->normalCount = 4;
            m->subdivision = 4;
        };
    };
    const int32_t flat = Place(Model(square(4)), 0, 0, 0, false);
    Anim_UpdateModels();
    Render_Frame();
    // Just below the middle of the bottom edge, and the square's centre.
    const VEC3 below = Screen(0, -1.12f, 0), centre = Screen(0, 0, 0);
    EXPECT_EQ(0u, t.At((int)below.x, (int)below.y)) << "outside the flat square";
    EXPECT_EQ(0xFF0000u, t.At((int)centre.x, (int)centre.y));
    Object_SetVisible(Object_GetById(flat), 0);

    Place(Model(square(5)), 0, 0, 0, false);
    Anim_UpdateModels();
    Render_Frame();
    t.Invalidate();
    EXPECT_EQ(0xFF0000u, t.At((int)below.x, (int)below.y)) << "inside the curved patch";
    EXPECT_EQ(0xFF0000u, t.At((int)centre.x, (int)centre.y));
}

} // namespace
