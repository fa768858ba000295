// The triangles of immediate model drawing: fan order, mirrored twins, back faces, weight-view
// colours, the outline hull, and batches through a small vertex array.
#include <vector>

#include "model/model_expect.h"
#include "render/material_verts.h"

namespace {

class MaterialVerts : public ModelTest {};

// Collects what the sink draws, batch by batch.
struct Collector {
    std::vector<IMMEDIATE_VERTEX> all;
    std::vector<int32_t> batches;
    static void Flush(void* self, const IMMEDIATE_VERTEX* v, int32_t n)
    {
        Collector* c = static_cast<Collector*>(self);
        c->all.insert(c->all.end(), v, v + n);
        c->batches.push_back(n);
    }
};

struct Sink {
    std::vector<IMMEDIATE_VERTEX> room;
    Collector got;
    VERTEX_SINK sink;
    explicit Sink(int32_t capacity) : room((size_t)capacity)
    {
        sink = VERTEX_SINK{room.data(), capacity, 0, &Collector::Flush, &got};
    }
    const std::vector<IMMEDIATE_VERTEX>& Drawn()
    {
        VertexSink_Flush(sink);
        return got.all;
    }
};

MODEL3* Quad(int32_t group = 0)
{
    MODEL3* m = NewRecord();
    m->groupCount = group + 1;
    int32_t a = AddVertex(m, 1, 0, 0, 0, 0), b = AddVertex(m, 2, 0, 0, 1, 0);
    int32_t c = AddVertex(m, 2, 1, 0, 1, 1), d = AddVertex(m, 1, 1, 0, 0, 1);
    AddFace(m, {a, b, c, d}, group);
    return m;
}

// The x of each drawn vertex identifies its corner: 1, 2, 2, 1 for corners 0..3 with y telling 1/2
// from 3/4; a corner is x + 10 * y.
std::vector<int> Corners(const std::vector<IMMEDIATE_VERTEX>& v)
{
    std::vector<int> out;
    for (const IMMEDIATE_VERTEX& x : v) {
        int key = (int)(x.x < 0 ? -x.x : x.x) + 10 * (int)x.y;
        int corner = key == 1 ? 0 : key == 2 ? 1 : key == 12 ? 2 : 3;
        out.push_back(corner);
    }
    return out;
}

const MATERIAL_DRAW_OPTIONS kPlain = {false, false, 0};

TEST_F(MaterialVerts, QuadFrontMirrorAndBackTriangles)
{
    struct Case {
        const char* name;
        int32_t mirror, doubleSided;
        std::vector<int> corners;
    };
    const Case cases[] = {
        {"front", 0, 0, {0, 1, 2, 0, 2, 3}},
        {"double-sided", 0, 1, {0, 1, 2, 0, 2, 3, 3, 2, 1, 3, 1, 0}},
        {"mirrored", 1, 0, {0, 1, 2, 0, 2, 3, 2, 1, 0, 3, 2, 0}},
        {"mirrored double-sided", 1, 1, {0, 1, 2, 0, 2, 3, 2, 1, 0, 3, 2, 0, 3, 2, 1, 3, 1, 0}},
    };
    for (const Case& c : cases) {
        MODEL3* m = Quad();
        m->groups[0].mirror = c.mirror;
        m->groups[0].doubleSided = c.doubleSided;
        m->groups[0].specularColor[0] = 0x101;   // low bytes only
        m->groups[0].specularColor[1] = 2;
        m->groups[0].specularColor[2] = 3;
        Sink s(kSinkMinimum);
        int32_t tris = Render_EmitMaterial(m, 0, kPlain, s.sink);
        const std::vector<IMMEDIATE_VERTEX>& v = s.Drawn();
        EXPECT_EQ((int32_t)c.corners.size() / 3, tris) << c.name;
        EXPECT_EQ(c.corners, Corners(v)) << c.name;
        for (size_t i = 0; i < v.size(); ++i) {
            bool mirrored = c.mirror && i >= 6 && i < 12;
            bool back = c.doubleSided && i >= (c.mirror ? 12u : 6u);
            EXPECT_EQ(mirrored ? -1.0f : 1.0f, v[i].x < 0 ? -1.0f : 1.0f) << c.name << i;
            EXPECT_EQ(back ? -1.0f : 1.0f, v[i].nz) << c.name << i;
            EXPECT_EQ(back ? 0u : 0xFF010203u, v[i].specular) << c.name << i;
        }
        Model3_Free(m);
    }
}

TEST_F(MaterialVerts, BatchesKeepEveryTriangleInOrder)
{
    // 50 mirrored double-sided quads through the smallest array: 900 vertices in 50 draws, in the
    // order one unbounded array would hold them.
    MODEL3* m = NewRecord();
    m->groups[0].mirror = 1;
    m->groups[0].doubleSided = 1;
    for (int q = 0; q < 50; ++q) {
        float z = (float)q;
        int32_t a = AddVertex(m, 1, 0, z), b = AddVertex(m, 2, 0, z), c = AddVertex(m, 2, 1, z), d = AddVertex(m, 1, 1, z);
        AddFace(m, {a, b, c, d});
    }
    Sink small(kSinkMinimum), big(2000);
    EXPECT_EQ(50 * 6, Render_EmitMaterial(m, 0, kPlain, small.sink));
    Render_EmitMaterial(m, 0, kPlain, big.sink);
    const std::vector<IMMEDIATE_VERTEX>& a = small.Drawn();
    const std::vector<IMMEDIATE_VERTEX>& b = big.Drawn();
    ASSERT_EQ(900u, a.size());
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].x, b[i].x) << i;
        EXPECT_EQ(a[i].z, b[i].z) << i;
    }
    EXPECT_EQ(50u, small.got.batches.size());
    for (int32_t n : small.got.batches) EXPECT_EQ(18, n);
    Model3_Free(m);
}

TEST_F(MaterialVerts, OnlyTheMaterialsFacesOfThreeOrMoreCorners)
{
    MODEL3* m = Quad(1);
    AddFace(m, {0}, 1);
    AddFace(m, {0, 1}, 1);
    AddFace(m, {0, 1, 2}, 0);
    Sink s(100);
    EXPECT_EQ(2, Render_EmitMaterial(m, 1, kPlain, s.sink));
    EXPECT_EQ(6u, s.Drawn().size());
    EXPECT_EQ(0, Render_EmitMaterial(m, 300, kPlain, s.sink));
    Model3_Free(m);
}

TEST_F(MaterialVerts, NormalsAndPositionsBySourceAndShading)
{
    MODEL3* m = Quad();
    m->normals.assign(1, XYZ{0, 1, 0});
    m->faces[0].normal[0] = 1, m->faces[0].normal[1] = 0, m->faces[0].normal[2] = 0;
    for (size_t i = 0; i < 4; ++i) {
        m->deformedPositions[i] = XYZ{m->positions[i].x, m->positions[i].y, 7};
        m->deformedNormals[i] = XYZ{0, 0, -1};
    }
    struct Case {
        bool deformed;
        int32_t shading;
        float z, nx, ny, nz;
    };
    const Case cases[] = {
        {false, 4, 0, 0, 1, 0},    // the corner's normal
        {false, 3, 0, 1, 0, 0},    // flat: the face normal
        {true, 4, 7, 0, 0, -1},    // posed: the posed normal of the position
        {true, 3, 7, 1, 0, 0},
    };
    for (const Case& c : cases) {
        m->groups[0].shading = c.shading;
        Sink s(100);
        Render_EmitMaterial(m, 0, MATERIAL_DRAW_OPTIONS{c.deformed, false, 0}, s.sink);
        const IMMEDIATE_VERTEX& v = s.Drawn()[0];
        EXPECT_EQ(c.z, v.z);
        EXPECT_EQ(c.nx, v.nx);
        EXPECT_EQ(c.ny, v.ny);
        EXPECT_EQ(c.nz, v.nz);
    }
    // The highlighted object: pushed 0.1 along the normal, magenta without alpha.
    m->groups[0].shading = 4;
    Sink s(100);
    Render_EmitMaterial(m, 0, MATERIAL_DRAW_OPTIONS{false, true, 0}, s.sink);
    EXPECT_FLOAT_EQ(0.1f, s.Drawn()[0].y);
    EXPECT_EQ(0x00FF00FFu, s.Drawn()[0].diffuse);
    Model3_Free(m);
}

TEST_F(MaterialVerts, WeightViewColours)
{
    MODEL3* m = Quad();
    m->fillMode = 3;
    m->boneCount = 3;
    m->weights[0] = WEIGHT3{2, 1, 0.25f, 0};
    struct Case {
        const char* name;
        int32_t bones, curBone;
        uint32_t expect;
    };
    const Case cases[] = {
        {"bone A current, w 0.25", 3, 2, 0xFF310093u},
        {"bone B current", 3, 1, 0xFF310093u},
        {"neither", 3, 5, 0xFFC4C4C4u},
        {"current bone 0", 3, 0, 0xFFC4C4C4u},
        {"one bone", 1, 2, 0xFFC40000u},
    };
    for (const Case& c : cases) {
        m->boneCount = c.bones;
        EXPECT_EQ(c.expect, Render_CornerDiffuse(m, m->groups[0], m->faces[0].corners[0], c.curBone)) << c.name;
    }
    // Back faces in the weight view: red where bone A is current, else white.
    m->groups[0].doubleSided = 1;
    Sink s(100);
    Render_EmitMaterial(m, 0, MATERIAL_DRAW_OPTIONS{false, false, 2}, s.sink);
    const std::vector<IMMEDIATE_VERTEX>& v = s.Drawn();
    ASSERT_EQ(12u, v.size());
    EXPECT_EQ(0xFFFFFFFFu, v[6].diffuse);    // corner 3
    EXPECT_EQ(0xFFFF0000u, v[11].diffuse);   // corner 0
    Model3_Free(m);
}

TEST_F(MaterialVerts, OutlineIsTheReversedHullPushedOut)
{
    MODEL3* m = Quad();
    m->normals.assign(1, XYZ{0, 0, -1});
    m->edgeWidth = 2.0f;
    m->groups[0].mirror = 1;
    Sink s(kSinkMinimum);
    EXPECT_EQ(4, Render_EmitOutline(m, 0, false, s.sink));
    const std::vector<IMMEDIATE_VERTEX>& v = s.Drawn();
    EXPECT_EQ((std::vector<int>{3, 2, 1, 3, 1, 0, 1, 2, 3, 0, 1, 3}), Corners(v));
    for (const IMMEDIATE_VERTEX& x : v) {
        EXPECT_FLOAT_EQ(-0.1f, x.z);
        EXPECT_EQ(0xFF000000u, x.diffuse);
    }
    Model3_Free(m);
}

} // namespace
