// The stencil shadow volumes on the processor: the edge list against a plain all-pairs search, the
// vertex cap and budget, and the volume arrays sized per caster.
#include <random>
#include <vector>

#include "model/model_expect.h"
#include "render/shadow_volume.h"

namespace {

class ShadowVolume : public ModelTest {};

// The search the hash replaces: scan the whole list for the edge either way round.
std::vector<SHADOW_EDGE> AllPairs(const std::vector<std::pair<uint16_t, uint16_t>>& adds)
{
    std::vector<SHADOW_EDGE> list;
    for (const auto& e : adds) {
        size_t i = 0;
        for (; i < list.size(); ++i)
            if ((list[i].a == e.first && list[i].b == e.second) || (list[i].a == e.second && list[i].b == e.first)) break;
        if (i < list.size()) {
            list[i] = list.back();
            list.pop_back();
        } else {
            list.push_back(SHADOW_EDGE{e.first, e.second});
        }
    }
    return list;
}

TEST_F(ShadowVolume, EdgeHashKeepsTheEdgesOfTheAllPairsSearch)
{
    std::mt19937 rng(7);
    // Small vertex ranges make many shared and repeated edges; wide ones use the full 16 bits.
    for (int range : {4, 12, 200, 65535}) {
        std::uniform_int_distribution<int> pick(0, range);
        std::vector<std::pair<uint16_t, uint16_t>> adds;
        for (int i = 0; i < 3000; ++i) adds.emplace_back((uint16_t)pick(rng), (uint16_t)pick(rng));
        SHADOW_EDGES edges;
        for (const auto& e : adds) Shadow_AddEdge(edges, e.first, e.second);
        std::vector<SHADOW_EDGE> want = AllPairs(adds);
        ASSERT_EQ(edges.list.size(), want.size()) << "range " << range;
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(edges.list[i].a, want[i].a) << "range " << range << " edge " << i;
            EXPECT_EQ(edges.list[i].b, want[i].b) << "range " << range << " edge " << i;
        }
    }
}

TEST_F(ShadowVolume, SharedEdgeOfTwoFacingTrianglesLeavesTheList)
{
    SHADOW_EDGES edges;
    // Two triangles over the square 0 1 2 3 sharing 0-2.
    for (auto e : std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 0}, {0, 2}, {2, 3}, {3, 0}})
        Shadow_AddEdge(edges, (uint16_t)e.first, (uint16_t)e.second);
    ASSERT_EQ(edges.list.size(), 4u);
    for (const SHADOW_EDGE& e : edges.list) EXPECT_FALSE((e.a == 0 && e.b == 2) || (e.a == 2 && e.b == 0));
}

TEST_F(ShadowVolume, BudgetIsCappedAtTheVertexNumbers)
{
    MODEL3* m = NewRecord();
    m->faceCount = 100000;
    EXPECT_EQ(Shadow_CasterBudget(m), 600000);
    // 200 such casters would ask for 120 million vertex records (3.8 GB at 32 bytes each).
    EXPECT_EQ(Shadow_CapBudget(200 * Shadow_CasterBudget(m)), kShadowVertexCap);
    EXPECT_EQ(Shadow_CapBudget(-5), 0);
    m->secondMesh = 1;
    m->secondTriangleCount = 7;
    EXPECT_EQ(Shadow_CasterBudget(m), 42);
    Model3_Free(m);
}

TEST_F(ShadowVolume, GatherStopsBelowTheVertexCap)
{
    MODEL3* m = NewRecord();
    m->renderKind = 0;
    MakeQuadGrid(m, 120, 100);   // 12000 quads, 72000 gathered vertices wanted
    Model3_FitArrays(m);
    SHADOW_GATHER g;
    g.budget = Shadow_CapBudget(Shadow_CasterBudget(m));
    const int32_t tris = Shadow_GatherCaster(m, nullptr, 3, g);
    EXPECT_LT((int32_t)g.positions.size(), kShadowVertexCap);
    EXPECT_GE((int32_t)g.positions.size(), kShadowVertexCap - 6);
    EXPECT_EQ((size_t)tris * 3, g.positions.size());
    ASSERT_EQ(g.numbers.size(), g.positions.size());
    for (size_t i = 0; i < g.numbers.size(); ++i) ASSERT_EQ(g.numbers[i], (uint16_t)i);
    for (int32_t o : g.owners) ASSERT_EQ(o, 3);
    Model3_Free(m);
}

TEST_F(ShadowVolume, BadIndicesReadZerosNotPastTheArrays)
{
    MODEL3* m = NewRecord();
    m->renderKind = 0;
    const int32_t a = AddVertex(m, 1, 0, 0), b = AddVertex(m, 0, 1, 0);
    AddFace(m, {a, b, 9999});
    m->faces[0].corners[1][CORNER_POS] = -4;
    m->secondTriangles.resize(1);
    m->secondTriangles[0].cornerCount = 200;   // more corners than the record holds
    SHADOW_GATHER g;
    g.budget = 100;
    EXPECT_EQ(Shadow_GatherCaster(m, nullptr, 0, g), 1);
    EXPECT_EQ(g.positions[0].x, 1.0f);
    EXPECT_EQ(g.positions[1].y, 0.0f);
    EXPECT_EQ(g.positions[2].x, 0.0f);
    m->secondMesh = 1;
    m->secondTriangleCount = 1;
    SHADOW_GATHER g2;
    g2.budget = 100;
    EXPECT_EQ(Shadow_GatherCaster(m, nullptr, 0, g2), 2) << "four corners at most";
    Model3_Free(m);
}

TEST_F(ShadowVolume, VolumesAreSizedPerCasterAndExtrudedAwayFromTheLight)
{
    MODEL3* m = NewRecord();
    m->renderKind = 0;
    // Two flat quads in one plane, four triangles of one winding.
    for (int q = 0; q < 2; ++q) {
        const float x = 2.0f * (float)q;
        AddFace(m, {AddVertex(m, x, 0, 0), AddVertex(m, x, 1, 0), AddVertex(m, x + 1, 1, 0), AddVertex(m, x + 1, 0, 0)});
    }
    Model3_FitArrays(m);
    SHADOW_GATHER g;
    g.budget = 1000;
    Shadow_GatherCaster(m, nullptr, 5, g);
    Shadow_GatherCaster(m, nullptr, 255, g);
    std::vector<VEC3> light(kShadowObjects, VEC3{0, 0, 0});
    // Object 5's light on the side every triangle faces; object 255's behind, so none face it.
    VEC3 n{0, 0, 0};
    {
        const VEC3 &p0 = g.positions[0], &p1 = g.positions[1], &p2 = g.positions[2];
        VEC3 e1{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z}, e2{p2.x - p1.x, p2.y - p1.y, p2.z - p1.z};
        n = VEC3{e1.z * e2.y - e1.y * e2.z, e1.x * e2.z - e1.z * e2.x, e1.y * e2.x - e1.x * e2.y};
    }
    light[5] = n;
    light[255] = VEC3{-n.x, -n.y, -n.z};
    SHADOW_EDGES edges;
    Shadow_CollectEdges(g, light.data(), edges);
    std::vector<SHADOW_VOLUME> volumes(kShadowObjects);
    volumes[9].positions.resize(30);
    volumes[9].count = 30;
    Shadow_Extrude(g, edges, light.data(), volumes.data());
    const int32_t tris = (int32_t)g.positions.size() / 6;   // object 5's share
    EXPECT_EQ(volumes[5].count, tris * 3 * 6) << "no vertex is shared, so every edge is kept";
    EXPECT_EQ((int32_t)volumes[5].positions.size(), volumes[5].count);
    EXPECT_LE(volumes[5].positions.capacity(), volumes[5].positions.size() + 6);
    EXPECT_EQ(volumes[255].count, 0);
    EXPECT_EQ(volumes[9].count, 0) << "last frame's volume is emptied";
    // a, b, a - d, b, b - d, a - d with d = 10 x the light.
    const SHADOW_EDGE& e = edges.list[0];
    const VEC3 a = g.positions[e.a], b = g.positions[e.b], *v = volumes[5].positions.data();
    EXPECT_EQ(v[0].x, a.x);
    EXPECT_EQ(v[1].y, b.y);
    EXPECT_FLOAT_EQ(v[2].z, a.z - 10 * n.z);
    EXPECT_FLOAT_EQ(v[4].z, b.z - 10 * n.z);
    EXPECT_FLOAT_EQ(v[5].x, a.x - 10 * n.x);
    Model3_Free(m);
}

TEST_F(ShadowVolume, OwnersPastTheTablesCastNothing)
{
    MODEL3* m = NewRecord();
    m->renderKind = 0;
    MakeCube(m);
    Model3_FitArrays(m);
    SHADOW_GATHER g;
    g.budget = 1000;
    Shadow_GatherCaster(m, nullptr, kShadowObjects, g);
    Shadow_GatherCaster(m, nullptr, 100000, g);
    std::vector<VEC3> light(kShadowObjects, VEC3{0, 0, 0});
    SHADOW_EDGES edges;
    Shadow_CollectEdges(g, light.data(), edges);
    EXPECT_TRUE(edges.list.empty());
    Model3_Free(m);
}

TEST_F(ShadowVolume, LightAtTheOriginPassesEveryTriangleWithNoExtrusion)
{
    MODEL3* m = NewRecord();
    m->renderKind = 0;
    MakeCube(m);
    Model3_FitArrays(m);
    SHADOW_GATHER g;
    g.budget = 1000;
    Shadow_GatherCaster(m, nullptr, 0, g);
    std::vector<VEC3> light(kShadowObjects, VEC3{0, 0, 0});
    SHADOW_EDGES edges;
    Shadow_CollectEdges(g, light.data(), edges);
    EXPECT_EQ(edges.list.size(), g.positions.size());
    std::vector<SHADOW_VOLUME> volumes(kShadowObjects);
    Shadow_Extrude(g, edges, light.data(), volumes.data());
    const VEC3* v = volumes[0].positions.data();
    EXPECT_EQ(v[2].x, v[0].x);
    EXPECT_EQ(v[2].y, v[0].y);
    Model3_Free(m);
}

} // namespace
