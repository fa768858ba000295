// The 2D polygon operations on small models: split, flip, merges, optimise, paste, deletes and the
// 16-bit count limits.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "edit2d/poly2d_ops.h"

using QVL::FACE2;
using QVL::MODEL2;

namespace {

struct Fixture {
    std::unique_ptr<MODEL2> m = std::make_unique<MODEL2>();
    std::vector<int32_t> v, f;
    POLY2D_SEL s;
    explicit Fixture(int32_t faceMode, int32_t maxPolygons = 64)
        : v(4 * (size_t)maxPolygons), f((size_t)maxPolygons)
    {
        s = POLY2D_SEL{v.data(), f.data(), 4 * maxPolygons, maxPolygons, faceMode};
    }
    uint16_t Vertex(float x, float y)
    {
        m->vertices.push_back({x, y});
        m->bindings.push_back({0, 0, 0, 1});
        m->colors.push_back({255, 255, 255, 255});
        m->uvs.push_back({0, 0});
        ++m->colorCount, ++m->uvCount;
        return m->vertexCount++;
    }
    int32_t Poly(std::initializer_list<uint16_t> vs)
    {
        FACE2 face{};
        face.used = 1;
        face.cornerCount = (uint8_t)vs.size();
        int k = 0;
        for (uint16_t i : vs) face.corners[k][0] = face.corners[k][1] = face.corners[k][2] = i, ++k;
        m->polygons.push_back(face);
        return m->polygonCount++;
    }
    QVL::XY2 At(int32_t face, int32_t corner) const
    {
        return m->vertices[m->polygons[(size_t)face].corners[corner][0]];
    }
};

TEST(Poly2DOps, SplitTableOfNewCorners)
{
    Fixture t(1);
    t.Poly({t.Vertex(0, 0), t.Vertex(4, 0), t.Vertex(4, 8), t.Vertex(0, 8)});
    t.s.faceSel[0] = 1;
    ASSERT_EQ(Poly2DOps_Split(t.m.get(), t.s), POLY2D_DONE);
    EXPECT_EQ(t.m->polygonCount, 5);
    EXPECT_EQ(t.m->vertexCount, 20);
    EXPECT_EQ(t.m->colorCount, 20);
    EXPECT_EQ(t.m->uvCount, 20);
    EXPECT_EQ(t.m->polygons[0].used, 0);
    EXPECT_EQ(t.s.faceSel[0], 0);
    // Quad k: corner k the original point, k+1 and k-1 the midpoints, k+2 the centre (2, 4).
    const float expect[4][4][2] = {
        {{0, 0}, {2, 0}, {2, 4}, {0, 4}},
        {{2, 0}, {4, 0}, {4, 4}, {2, 4}},
        {{2, 4}, {4, 4}, {4, 8}, {2, 8}},
        {{0, 4}, {2, 4}, {2, 8}, {0, 8}},
    };
    for (int q = 0; q < 4; ++q) {
        EXPECT_TRUE(t.s.faceSel[1 + q]);
        EXPECT_EQ(t.m->polygons[(size_t)(1 + q)].group, 0);
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(t.At(1 + q, c).x, expect[q][c][0]) << q << " " << c;
            EXPECT_EQ(t.At(1 + q, c).y, expect[q][c][1]) << q << " " << c;
        }
    }
}

TEST(Poly2DOps, SplitLeavesTrianglesAndNeedsFaceMode)
{
    Fixture t(1);
    t.Poly({t.Vertex(0, 0), t.Vertex(1, 0), t.Vertex(0, 1)});
    t.s.faceSel[0] = 1;
    EXPECT_EQ(Poly2DOps_Split(t.m.get(), t.s), POLY2D_ONLY_QUADS);
    EXPECT_EQ(t.m->polygonCount, 1);
    EXPECT_EQ(t.m->polygons[0].used, 1);
    t.s.faceMode = 0;
    EXPECT_EQ(Poly2DOps_Split(t.m.get(), t.s), POLY2D_NEED_FACE_MODE);
}

TEST(Poly2DOps, FlipMirrorsCornerOrder)
{
    const struct { int n; int expect[4]; } cases[] = {
        {1, {0}}, {2, {1, 0}}, {3, {2, 1, 0}}, {4, {3, 2, 1, 0}},
    };
    for (const auto& c : cases) {
        Fixture t(1);
        FACE2 face{};
        face.used = 1;
        face.cornerCount = (uint8_t)c.n;
        for (int k = 0; k < 4; ++k) face.corners[k][0] = face.corners[k][1] = face.corners[k][2] = (uint16_t)k;
        t.m->polygons.push_back(face);
        t.m->polygonCount = 1;
        t.s.faceSel[0] = 1;
        Poly2DOps_Flip(t.m.get(), t.s);
        for (int k = 0; k < c.n; ++k)
            for (int j = 0; j < 3; ++j) EXPECT_EQ(t.m->polygons[0].corners[k][j], c.expect[k]) << c.n;
    }
}

TEST(Poly2DOps, FaceMergeOfTwoQuadsGivesTheFarCorners)
{
    Fixture t(1);
    const uint16_t a = t.Vertex(0, 0), b = t.Vertex(1, 0), c = t.Vertex(1, 1), d = t.Vertex(0, 1);
    const uint16_t e = t.Vertex(2, 0), f = t.Vertex(2, 1);
    // The second quad's shared corners are separate vertices at the same positions.
    const uint16_t b2 = t.Vertex(1, 0), c2 = t.Vertex(1, 1);
    t.Poly({a, b, c, d});
    t.Poly({b2, e, f, c2});
    t.s.faceSel[0] = t.s.faceSel[1] = 1;
    Poly2DOps_Merge(t.m.get(), t.s);
    EXPECT_EQ(t.m->polygons[1].used, 0);
    const uint16_t want[4] = {a, e, f, d};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(t.m->polygons[0].corners[k][0], want[k]);
}

TEST(Poly2DOps, FaceMergeOfTwoTrianglesLeavesTwoCornersOnTheFarVertex)
{
    Fixture t(1);
    const uint16_t a = t.Vertex(0, 0), b = t.Vertex(1, 0), c = t.Vertex(0, 1), d = t.Vertex(1, 1);
    t.Poly({a, b, c});
    t.Poly({b, d, c});
    t.s.faceSel[0] = t.s.faceSel[1] = 1;
    Poly2DOps_Merge(t.m.get(), t.s);
    EXPECT_EQ(t.m->polygons[1].used, 0);
    EXPECT_EQ(t.m->polygons[0].corners[0][0], a);
    EXPECT_EQ(t.m->polygons[0].corners[1][0], d);
    EXPECT_EQ(t.m->polygons[0].corners[2][0], d);
}

TEST(Poly2DOps, VertexMergeRedirectsAndDropsOneCornerPerPolygon)
{
    Fixture t(0);
    const uint16_t a = t.Vertex(0, 0), b = t.Vertex(1, 0), c = t.Vertex(1, 1), d = t.Vertex(0, 1);
    t.Poly({a, b, c, d});
    t.s.vertexSel[b] = t.s.vertexSel[c] = 1;
    ASSERT_EQ(Poly2DOps_Merge(t.m.get(), t.s), POLY2D_DONE);
    const FACE2& face = t.m->polygons[0];
    ASSERT_EQ(face.cornerCount, 3);
    EXPECT_EQ(face.corners[0][0], a);
    EXPECT_EQ(face.corners[1][0], c);
    EXPECT_EQ(face.corners[2][0], d);
    // One selected corner is not enough.
    Fixture u(0);
    u.Poly({u.Vertex(0, 0), u.Vertex(1, 0), u.Vertex(0, 1)});
    u.s.vertexSel[0] = 1;
    EXPECT_EQ(Poly2DOps_Merge(u.m.get(), u.s), POLY2D_NOTHING);
    EXPECT_EQ(u.m->polygons[0].cornerCount, 3);
}

TEST(Poly2DOps, DeleteVerticesOfAQuad)
{
    Fixture t(0);
    t.Poly({t.Vertex(0, 0), t.Vertex(1, 0), t.Vertex(1, 1), t.Vertex(0, 1)});
    t.s.vertexSel[1] = 1;
    Poly2DOps_DeleteSelected(t.m.get(), t.s);
    EXPECT_EQ(t.m->polygons[0].cornerCount, 3);
    EXPECT_EQ(t.m->polygons[0].corners[1][0], 2);
    EXPECT_EQ(t.s.vertexSel[1], 0);
    for (int i = 0; i < 4; ++i) t.s.vertexSel[i] = 1;
    Poly2DOps_DeleteSelected(t.m.get(), t.s);
    EXPECT_EQ(t.m->polygons[0].used, 0);
}

TEST(Poly2DOps, SelectAllThenNone)
{
    Fixture t(0, 4);
    Poly2DOps_SelectAll(t.s);
    for (int32_t x : t.v) EXPECT_EQ(x, 1);
    for (int32_t x : t.f) EXPECT_EQ(x, 1);
    Poly2DOps_SelectAll(t.s);
    for (int32_t x : t.v) EXPECT_EQ(x, 0);
    for (int32_t x : t.f) EXPECT_EQ(x, 0);
}

TEST(Poly2DOps, ModeChangeClearsOnlyOnAChange)
{
    Fixture t(0, 4);
    t.s.vertexSel[2] = 1;
    Poly2DOps_SetMode(t.s, 0);
    EXPECT_EQ(t.s.vertexSel[2], 1);
    Poly2DOps_SetMode(t.s, 1);
    EXPECT_EQ(t.s.vertexSel[2], 0);
    EXPECT_EQ(t.s.faceMode, 1);
}

TEST(Poly2DOps, PasteThenOptimiseWeldsExactCopies)
{
    Fixture t(1);
    t.Poly({t.Vertex(0, 0), t.Vertex(1, 0), t.Vertex(0, 1)});
    t.s.faceSel[0] = 1;
    auto clip = std::make_unique<MODEL2>();
    ASSERT_EQ(Poly2DOps_Copy(t.m.get(), t.s, clip.get()), POLY2D_DONE);
    ASSERT_EQ(Poly2DOps_Paste(t.m.get(), t.s, clip.get()), POLY2D_DONE);
    EXPECT_EQ(t.m->polygonCount, 2);
    EXPECT_EQ(t.m->vertexCount, 3);
    EXPECT_EQ(t.m->colorCount, 1);
    EXPECT_EQ(t.m->uvCount, 1);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(t.m->polygons[1].corners[k][0], t.m->polygons[0].corners[k][0]);
    EXPECT_EQ(t.s.faceSel[0], 0);
}

TEST(Poly2DOps, OptimiseDropsUnusedPolygonsAndKeepsOrder)
{
    Fixture t(1);
    const uint16_t a = t.Vertex(5, 5), b = t.Vertex(0, 0), c = t.Vertex(1, 0), d = t.Vertex(0, 1);
    t.Poly({a, a, a});
    t.Poly({b, c, d});
    t.m->polygons[0].used = 0;
    Poly2DOps_Optimise(t.m.get(), t.s);
    ASSERT_EQ(t.m->polygonCount, 1);
    EXPECT_EQ(t.m->vertexCount, 3);
    EXPECT_EQ(t.At(0, 0).x, 0);
    EXPECT_EQ(t.At(0, 1).x, 1);
    EXPECT_EQ(t.At(0, 2).y, 1);
    EXPECT_EQ(t.m->polygons[1].used, 0);
}

// Counts are 16-bit: an append that would pass 65,535 (or the selection's capacity) is refused
// with nothing changed.
TEST(Poly2DOps, AppendsPastTheSixteenBitCountsAreRefused)
{
    struct Case { int vertices, colours, uvs; bool ok; } cases[] = {
        {65531, 0, 0, true}, {65532, 0, 0, false}, {0, 65532, 0, false}, {0, 0, 65532, false}, {0, 65531, 65531, true},
    };
    for (const Case& c : cases) {
        Fixture t(0, 20000);   // vertex capacity 80000: the 16-bit count is the limit
        t.m->vertexCount = (uint16_t)c.vertices;
        t.m->colorCount = (uint16_t)c.colours;
        t.m->uvCount = (uint16_t)c.uvs;
        EXPECT_EQ(Poly2DOps_AddPrimitive(t.m.get(), t.s, 4, 0) == POLY2D_DONE, c.ok) << c.vertices;
        if (!c.ok) {
            EXPECT_EQ(t.m->vertexCount, c.vertices);
            EXPECT_EQ(t.m->colorCount, c.colours);
            EXPECT_EQ(t.m->polygonCount, 0);
        } else {
            EXPECT_EQ(t.m->vertexCount, c.vertices + 4);
            EXPECT_EQ(t.m->vertices.size(), (size_t)t.m->vertexCount);
        }
    }
    // The selection capacity limits vertices too.
    Fixture small(0, 4);
    small.m->vertexCount = 15;
    EXPECT_EQ(Poly2DOps_AddPrimitive(small.m.get(), small.s, 3, 0), POLY2D_LIMIT);
    EXPECT_EQ(small.m->vertexCount, 15);
}

TEST(Poly2DOps, PasteAndSplitPastTheLimitChangeNothing)
{
    Fixture t(1, 20000);
    t.Poly({t.Vertex(0, 0), t.Vertex(1, 0), t.Vertex(1, 1), t.Vertex(0, 1)});
    t.s.faceSel[0] = 1;
    auto clip = std::make_unique<MODEL2>();
    Poly2DOps_Copy(t.m.get(), t.s, clip.get());
    t.m->vertexCount = 65533;
    EXPECT_EQ(Poly2DOps_Paste(t.m.get(), t.s, clip.get()), POLY2D_LIMIT);
    EXPECT_EQ(t.m->polygonCount, 1);
    EXPECT_EQ(Poly2DOps_Split(t.m.get(), t.s), POLY2D_LIMIT);
    EXPECT_EQ(t.m->polygons[0].used, 1);
    EXPECT_EQ(t.m->vertexCount, 65533);
}

TEST(Poly2DOps, CircleAndMakeFace)
{
    Fixture t(0);
    ASSERT_EQ(Poly2DOps_AddCircle(t.m.get(), t.s, 3), POLY2D_DONE);
    EXPECT_EQ(t.m->polygonCount, 16);
    EXPECT_EQ(t.m->vertexCount, 48);
    EXPECT_EQ(t.At(0, 0).x, 0);
    EXPECT_EQ(t.At(0, 0).y, -32);
    EXPECT_EQ(t.m->polygons[15].group, 3);
    Fixture u(0);
    u.Poly({u.Vertex(0, 0), u.Vertex(1, 0), u.Vertex(0, 1)});
    u.s.vertexSel[1] = 1;
    EXPECT_EQ(Poly2DOps_MakeFace(u.m.get(), u.s), POLY2D_TOO_FEW);
    u.s.vertexSel[2] = 1;
    ASSERT_EQ(Poly2DOps_MakeFace(u.m.get(), u.s), POLY2D_DONE);
    EXPECT_EQ(u.m->polygons[1].cornerCount, 2);
}

TEST(Poly2DOps, FreeCreateReusesTheLastWhiteColour)
{
    Fixture t(1);
    t.Vertex(0, 0);
    t.Vertex(0, 0);   // colours 0 and 1 white
    const float points[4][3] = {{1, 2, 0}, {3, 4, 0}, {0, 0, 0}, {0, 0, 0}};
    ASSERT_EQ(Poly2DOps_FreeCreate(t.m.get(), t.s, points, 2, 7), POLY2D_DONE);
    EXPECT_EQ(t.m->colorCount, 2);
    EXPECT_EQ(t.m->polygons[0].corners[0][1], 1);
    EXPECT_EQ(t.m->polygons[0].cornerCount, 2);
    EXPECT_EQ(t.At(0, 1).x, 3);
    EXPECT_TRUE(t.s.faceSel[0]);
    EXPECT_EQ(t.m->bindings.size(), 4u);
}

} // namespace
