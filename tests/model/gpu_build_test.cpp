// The builders' data of each render kind, the colour packing, the index width and the displaced
// copy, on small models made by code.
#include <array>
#include <cmath>
#include <cstring>
#include <random>

#include "model/gpu_data.h"
#include "model/model_expect.h"
#include "model/subdivide.h"

namespace {

// The studio drops a model's render data when the model goes (a Direct3D-side event the native
// build does not have): start each test with none, so no record outlives its model.
class GpuBuild : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        Gpu_FreeRenderTable();
    }
    void TearDown() override
    {
        Gpu_FreeRenderTable();
        ModelTest::TearDown();
    }
};

// A unit quad of material 0 with corners 0..3 and UVs equal to the corners.
MODEL3* Quad()
{
    MODEL3* m = NewRecord();
    int32_t a = AddVertex(m, 0, 0, 0, 0, 0);
    int32_t b = AddVertex(m, 1, 0, 0, 1, 0);
    int32_t c = AddVertex(m, 1, 1, 0, 1, 1);
    int32_t d = AddVertex(m, 0, 1, 0, 0, 1);
    AddFace(m, {a, b, c, d});
    return m;
}

TEST_F(GpuBuild, QuadGivesSixSixAndFourVerticesWithSixIndices)
{
    MODEL3* m = Quad();
    std::vector<std::vector<int32_t>> faces;
    Gpu_FacesByGroup(m, faces);
    std::vector<BUFFER_VERTEX> fan;
    Gpu_FanVertices(m, faces[0], m->groups[0], fan);
    ASSERT_EQ(6u, fan.size());
    // Triangles (0, 1, 2) and (0, 2, 3).
    const float xs[6] = {0, 1, 1, 0, 1, 0};
    const float ys[6] = {0, 0, 1, 0, 1, 1};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(xs[i], fan[i].x) << i;
        EXPECT_EQ(ys[i], fan[i].y) << i;
    }

    GPU_KIND1* k1 = Gpu_MakeKind1(m);
    ASSERT_EQ(6, k1->groups[0].count);
    const uint8_t corners[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(corners[i], k1->groups[0].vertices[i].corner);
        EXPECT_EQ(0, k1->groups[0].vertices[i].face);
        EXPECT_EQ(0, std::memcmp(&fan[i], &k1->groups[0].vertices[i].v, sizeof fan[i]));
    }
    delete k1;

    GPU_KIND3* k3 = Gpu_MakeKind3(m);
    const GPU_KIND3_GROUP& g = k3->groups[0];
    EXPECT_EQ(4, g.vertexCount);
    EXPECT_EQ(1, g.polygonCount);
    EXPECT_EQ(2, g.triangleCount);
    std::vector<uint32_t> idx;
    Gpu_PolygonIndices(g.polygons, g.polygonCount, idx);
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 0, 2, 3}), idx);
    EXPECT_EQ(0, k3->groups[1].vertexCount);
    delete k3;

    GPU_KIND9* k9 = Gpu_MakeKind9(m);
    EXPECT_EQ(4u, k9->groups[0].vertices.size());
    EXPECT_EQ(6, k9->groups[0].vertexCapacity);
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 0, 2, 3}), k9->groups[0].indices);
    EXPECT_EQ(6, k9->groups[0].indexCount);
    delete k9;
    Model3_Free(m);
}

TEST_F(GpuBuild, SharedEdgeSharesVerticesOnlyWithEqualUVs)
{
    for (bool sameUV : {true, false}) {
        MODEL3* m = NewRecord();
        int32_t a = AddVertex(m, 0, 0, 0, 0, 0);
        int32_t b = AddVertex(m, 1, 0, 0, 1, 0);
        int32_t c = AddVertex(m, 1, 1, 0, 1, 1);
        int32_t d = AddVertex(m, 0, 1, 0, 0, 1);
        // The second triangle's own copies of the shared corners b and d.
        int32_t b2 = AddVertex(m, 1, 0, 0, sameUV ? 1.0f : 0.5f, 0);
        int32_t d2 = AddVertex(m, 0, 1, 0, 0, sameUV ? 1.0f : 0.5f);
        int32_t e = AddVertex(m, 1, 1, 1, 1, 1);
        AddFace(m, {a, b, d});
        AddFace(m, {b2, e, d2});
        (void)c;
        GPU_KIND3* k3 = Gpu_MakeKind3(m);
        EXPECT_EQ(sameUV ? 4 : 6, k3->groups[0].vertexCount);
        GPU_KIND9* k9 = Gpu_MakeKind9(m);
        EXPECT_EQ(sameUV ? 4u : 6u, k9->groups[0].vertices.size());
        delete k3;
        delete k9;
        Model3_Free(m);
    }
}

// The de-duplication as a first-match linear search over float equality would do it.
std::vector<int32_t> LinearDedup(const MODEL3* m, int32_t group, int32_t* count)
{
    std::vector<std::array<float, 5>> seen;
    std::vector<int32_t> corners;
    for (int32_t f = 0; f < m->faceCount; ++f) {
        const FACE3& face = m->faces[f];
        if (face.group != group || face.cornerCount < 3) continue;
        for (int c = 0; c < face.cornerCount; ++c) {
            XYZ p = m->positions[face.corners[c][CORNER_POS]];
            UV2 t = m->uvs[face.corners[c][CORNER_UV]];
            int32_t at = -1;
            for (size_t i = 0; i < seen.size() && at < 0; ++i)
                if (seen[i][0] == p.x && seen[i][1] == p.y && seen[i][2] == p.z && seen[i][3] == t.u && seen[i][4] == t.v)
                    at = (int32_t)i;
            if (at < 0) {
                at = (int32_t)seen.size();
                seen.push_back({p.x, p.y, p.z, t.u, t.v});
            }
            corners.push_back(at);
        }
    }
    *count = (int32_t)seen.size();
    return corners;
}

TEST_F(GpuBuild, HashedDedupEqualsTheLinearSearch)
{
    std::mt19937 rng(77);
    const float values[] = {0.0f, -0.0f, 1.0f, NAN, 0.5f};
    for (int round = 0; round < 20; ++round) {
        MODEL3* m = NewRecord();
        m->groupCount = 3;
        for (int i = 0; i < 60; ++i)
            AddVertex(m, values[rng() % 5], values[rng() % 3], 0, values[rng() % 5], values[rng() % 2]);
        for (int f = 0; f < 40; ++f) {
            int32_t g = (int32_t)(rng() % 3);
            if (rng() % 2) AddFace(m, {(int32_t)(rng() % 60), (int32_t)(rng() % 60), (int32_t)(rng() % 60)}, g);
            else AddFace(m, {(int32_t)(rng() % 60), (int32_t)(rng() % 60), (int32_t)(rng() % 60), (int32_t)(rng() % 60)}, g);
        }
        GPU_KIND3* k3 = Gpu_MakeKind3(m);
        GPU_KIND9* k9 = Gpu_MakeKind9(m);
        for (int32_t g = 0; g < 3; ++g) {
            int32_t count = 0;
            std::vector<int32_t> want = LinearDedup(m, g, &count);
            std::vector<int32_t> got3, got9;
            for (int32_t p = 0; p < k3->groups[g].polygonCount; ++p)
                for (int c = 0; c < k3->groups[g].polygons[p].cornerCount; ++c) got3.push_back(k3->groups[g].polygons[p].corners[c]);
            for (int32_t p = 0; p < k9->groups[g].polygonCount; ++p)
                for (int c = 0; c < k9->groups[g].polygons[p].cornerCount; ++c) got9.push_back(k9->groups[g].polygons[p].corners[c]);
            EXPECT_EQ(want, got3) << round << " " << g;
            EXPECT_EQ(want, got9) << round << " " << g;
            EXPECT_EQ(count, k3->groups[g].vertexCount);
            EXPECT_EQ((size_t)count, k9->groups[g].vertices.size());
        }
        delete k3;
        delete k9;
        Model3_Free(m);
    }
}

struct ColorCase {
    const char* name;
    int32_t vertexColorMode;
    RGBA corner, material, tint;
    uint32_t expect;
};

TEST_F(GpuBuild, ColourPackingTable)
{
    const ColorCase cases[] = {
        {"material", 0, {1, 2, 3, 4}, {10, 20, 30, 255}, {255, 255, 255, 255}, 0xFF0A141Eu},
        {"vertex colours", 1, {10, 20, 30, 40}, {1, 2, 3, 4}, {255, 255, 255, 255}, 0x280A141Eu},
        {"tint halves, truncated", 0, {0, 0, 0, 0}, {255, 101, 3, 255}, {127.5f, 127.5f, 127.5f, 127.5f}, 0x7F7F3201u},
        {"above 255 keeps the low byte", 0, {0, 0, 0, 0}, {256 + 7, 511, 0, 255}, {255, 255, 255, 255}, 0xFF07FF00u},
        {"negative wraps", 0, {0, 0, 0, 0}, {-1, 0, 0, 255}, {255, 255, 255, 255}, 0xFFFF0000u},
        {"fractions truncate toward zero", 1, {0.99f, 200.9f, 0, 254.99f}, {0, 0, 0, 0}, {255, 255, 255, 255}, 0xFE00C800u},
        {"NaN and huge count as 0", 1, {NAN, 1e30f, -1e30f, 255}, {0, 0, 0, 0}, {255, 255, 255, 255}, 0xFF000000u},
    };
    MODEL3* m = NewRecord();
    m->colors.assign(1, RGBA{});
    for (const ColorCase& c : cases) {
        m->vertexColorMode = c.vertexColorMode;
        m->colors[0] = c.corner;
        GROUP3& g = m->groups[0];
        g.color[0] = c.material.r, g.color[1] = c.material.g, g.color[2] = c.material.b, g.alpha = c.material.a;
        m->tint[0] = c.tint.r, m->tint[1] = c.tint.g, m->tint[2] = c.tint.b, m->tint[3] = c.tint.a;
        EXPECT_EQ(c.expect, Gpu_PackColor(Gpu_CornerColor(m, g, 0))) << c.name;
    }
    Model3_Free(m);
}

TEST_F(GpuBuild, IndexWidthFollowsTheLargestIndex)
{
    EXPECT_EQ(2, Gpu_IndexBytes({}));
    EXPECT_EQ(2, Gpu_IndexBytes({0, 65535, 3}));
    EXPECT_EQ(4, Gpu_IndexBytes({0, 65536, 3}));
    std::vector<uint32_t> idx = {1, 65535, 2};
    uint16_t narrow[3];
    Gpu_WriteIndices(idx, 2, narrow);
    EXPECT_EQ(65535, narrow[1]);
    EXPECT_EQ(2, narrow[2]);
    idx = {70000, 1, 65536};
    uint32_t wide[3];
    Gpu_WriteIndices(idx, 4, wide);
    EXPECT_EQ(70000u, wide[0]);
    EXPECT_EQ(65536u, wide[2]);

    // 17,000 quads of their own UVs: one material of 68,000 vertices needs 32-bit indices, and the
    // last quad's indices are written whole, not cut to 16 bits.
    MODEL3* m = NewRecord();
    for (int q = 0; q < 17000; ++q) {
        float x = (float)q;
        int32_t a = AddVertex(m, x, 0, 0, x, 0), b = AddVertex(m, x, 1, 0, x, 1);
        int32_t c = AddVertex(m, x, 1, 1, x, 2), d = AddVertex(m, x, 0, 1, x, 3);
        AddFace(m, {a, b, c, d});
    }
    GPU_KIND3* k3 = Gpu_MakeKind3(m);
    ASSERT_EQ(68000, k3->groups[0].vertexCount);
    Gpu_PolygonIndices(k3->groups[0].polygons, k3->groups[0].polygonCount, idx);
    ASSERT_EQ(4, Gpu_IndexBytes(idx));
    std::vector<uint32_t> out(idx.size());
    Gpu_WriteIndices(idx, 4, out.data());
    EXPECT_EQ(67999u, out.back());
    EXPECT_EQ(67996u, out[out.size() - 6]);
    delete k3;
    Model3_Free(m);
}

TEST_F(GpuBuild, ExportKindsWriteBothBonesAndStayInsideTheirVertices)
{
    GROUP3 g = {};
    g.exportVertexCount = 3;
    g.exportPositions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    g.exportColors = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 128}};
    g.exportUVs = {{0, 0}, {1, 0}, {0, 1}};
    g.exportWeights = {{2, 5, 0.25f, 0}, {1, 0, 1.0f, 0}, {3, 4, 0.5f, 0}};
    FACE3 t = {};
    t.cornerCount = 3;
    t.corners[0][CORNER_POS] = 2, t.corners[1][CORNER_POS] = 1, t.corners[2][CORNER_POS] = 9;
    g.exportTriangles = {t};
    g.exportTriangleCount = 1;

    std::vector<SKIN_VERTEX> skin;
    Gpu_ExportSkinVertices(g, skin);
    ASSERT_EQ(3u, skin.size());
    EXPECT_EQ(2, skin[0].bones[0]);
    EXPECT_EQ(5, skin[0].bones[1]);
    EXPECT_EQ(0, skin[0].bones[2]);
    EXPECT_EQ(0.25f, skin[0].weightA);
    EXPECT_EQ(0x800000FFu, skin[2].diffuse);

    std::vector<BUFFER_VERTEX> verts;
    Gpu_ExportVertices(g, verts);
    EXPECT_EQ(0xFF00FF00u, verts[1].diffuse);
    EXPECT_EQ(1.0f, verts[2].v);

    std::vector<uint32_t> idx;
    Gpu_ExportIndices(g, idx);
    EXPECT_EQ((std::vector<uint32_t>{2, 1, 0}), idx);   // 9 names no vertex
}

TEST_F(GpuBuild, StudioSizesTheRenderDataForEveryModel)
{
    for (int studio : {1, 0}) {
        g_StudioFlag = studio;
        int32_t id = Model3_Create();
        MODEL3* m = Model3_GetById(id);
        m->boneCount = 2;
        m->groupCount = 1;
        m->textureCount = 3;
        MODEL3_RENDER* r = Gpu_EnsureModelRes(id);
        ASSERT_EQ(r, Gpu_GetModelRes(id));
        Gpu_ResizeModelRes(r);
        EXPECT_EQ(1, r->ready);
        EXPECT_EQ(studio ? 128u : 2u, r->bonePoses.size());
        EXPECT_EQ(studio ? 256u : 1u, r->groups.size());
        EXPECT_EQ(studio ? 256u : 3u, r->textures.size());
        EXPECT_EQ(r->textures.size(), r->textureInfos.size());
        // A model grown by code gets entries for its new materials; entries are never dropped
        // (they hold Direct3D objects only their release may let go).
        m->groupCount = 4;
        m->textureCount = 1;
        Gpu_ResizeModelRes(r);
        EXPECT_EQ(studio ? 256u : 4u, r->groups.size());
        EXPECT_EQ(studio ? 256u : 3u, r->textures.size());
        Gpu_ClearModelRes(r);
        EXPECT_EQ(0, r->ready);
        EXPECT_TRUE(r->groups.empty());
    }
    EXPECT_EQ(nullptr, Gpu_GetModelRes(-1));
    EXPECT_EQ(nullptr, Gpu_GetModelRes(100000));
}

TEST_F(GpuBuild, SubdivisionSplitsQuadsAndLeavesTriangles)
{
    MODEL3* m = Quad();
    m->faces[0].group = 2;
    int32_t e = AddVertex(m, 5, 5, 5);
    AddFace(m, {0, 1, e}, 1);
    ASSERT_TRUE(Model3_SubdivideQuads(m));
    ASSERT_EQ(5, m->faceCount);
    EXPECT_EQ(3, m->faces[0].cornerCount);   // the triangle first, in place
    EXPECT_EQ(1, m->faces[0].group);
    // New face 0 is (P0, M0, Pc, M3), all of group 0, with indices of their own.
    const FACE3& f0 = m->faces[1];
    EXPECT_EQ(0, f0.group);
    XYZ p1 = m->positions[f0.corners[1][CORNER_POS]], pc = m->positions[f0.corners[2][CORNER_POS]];
    EXPECT_EQ(0.5f, p1.x);
    EXPECT_EQ(0.0f, p1.y);
    EXPECT_EQ(0.5f, pc.x);
    EXPECT_EQ(0.5f, pc.y);
    EXPECT_EQ(5 + 16, m->positionCount);
    EXPECT_TRUE(Model3_SubdivideQuads(m));
    EXPECT_EQ(1 + 16, m->faceCount);
    EXPECT_FALSE(Model3_SubdivideQuads(nullptr));
    Model3_Free(m);
}

TEST_F(GpuBuild, DisplacementWrapsUVsAndStaysInsideTheTexture)
{
    MODEL3* src = Quad();
    src->subdivision = 0;
    // u = -0.25 reads the column of 0.75; u = 1 reads the last column, not one past it.
    src->uvs[0] = UV2{-0.25f, 0};
    src->uvs[1] = UV2{1.0f, 0};
    src->uvs[2] = UV2{2.0f, 0.5f};
    src->uvs[3] = UV2{0.5f, 0};
    MODEL3* copy = Gpu_MakeDisplacementCopy(src);
    ASSERT_EQ(1, copy->faceCount);
    // A 4 x 1 texture whose columns hold 10, 20, 30, 40 in their low byte, with room past the row.
    uint32_t texels[8] = {10, 20, 30, 40, 99, 99, 99, 99};
    Gpu_DisplaceCopy(copy, reinterpret_cast<const uint8_t*>(texels), 16, 4, 1, 4, 1, 1000.0f);
    const FACE3& f = copy->faces[0];
    auto z = [&](int c) { return copy->positions[f.corners[c][CORNER_POS]].z; };
    auto u = [&](int c) { return copy->uvs[f.corners[c][CORNER_UV]].u; };
    // The face normal of the counter-clockwise quad in the engine's winding; the moves are along it.
    const float n = f.normal[2];
    ASSERT_NE(0.0f, n);
    EXPECT_FLOAT_EQ(40 * 0.5f * n, z(0));
    EXPECT_EQ(0.75f, u(0));
    EXPECT_FLOAT_EQ(40 * 0.5f * n, z(1));   // column 4 of 4 kept at 3
    EXPECT_EQ(1.0f, u(1));
    EXPECT_EQ(1.0f, u(2));                   // 2 steps down to 1, as the stepwise wrap would
    EXPECT_FLOAT_EQ(30 * 0.5f * n, z(3));
    EXPECT_EQ(4, copy->groups[0].shading);
    Model3_Free(copy);
    Model3_Free(src);
}

} // namespace

#include "model/gpu_update.h"
#include "model/scene_object.h"

namespace {

class GpuUpdate : public ModelTest {
protected:
    int32_t ReadyQuad()
    {
        int32_t id = Model3_Create();
        MODEL3* m = Model3_GetById(id);
        int32_t a = AddVertex(m, 0, 0, 0), b = AddVertex(m, 1, 0, 0), c = AddVertex(m, 1, 1, 0);
        AddFace(m, {a, b, c});
        Gpu_InitModelRes(Gpu_EnsureModelRes(id), id);
        Gpu_ResizeModelRes(Gpu_GetModelRes(id));
        Model3_SetLoaded(m);
        return id;
    }
    void TearDown() override
    {
        for (int id = 0; id < kGpuTableSize; ++id) Gpu_FreeKind1(id), Gpu_FreeKind3(id), Gpu_FreeKind9(id);
        ModelTest::TearDown();
    }
};

TEST_F(GpuUpdate, BuildsTheKindOnceAfterTheFlagAndFallsBack)
{
    struct Case {
        const char* name;
        int32_t kind, version, studio;
        bool buildFails;
        int32_t kindAfter;
        int32_t seamKind;   // the kind handed to the seam, 0 none
    };
    const Case cases[] = {
        {"kind 1 in system memory", 1, kModel3Version, 0, false, 1, 0},
        {"kind 9 in system memory", 9, kModel3Version, 0, false, 9, 0},
        {"kind 2 buffers", 2, kModel3Version, 0, false, 2, 2},
        {"kind 3 buffers", 3, kModel3Version, 0, false, 3, 3},
        {"kind 3 stays even when the buffers fail", 3, kModel3Version, 0, true, 3, 3},
        {"old kind 4 outside the studio is kind 3", 4, 2008000, 0, false, 3, 3},
        {"old kind 5 outside the studio is kind 3", 5, 2008000, 0, false, 3, 3},
        {"old kind 4 in the studio stays", 4, 2008000, 1, false, 4, 4},
        {"displacement that fails draws as kind 0", 8, kModel3Version, 0, true, 0, 8},
        {"kinds 0, 6 and 7 build nothing", 6, kModel3Version, 0, false, 6, 0},
    };
    for (const Case& c : cases) {
        g_StudioFlag = c.studio;
        int32_t id = ReadyQuad();
        MODEL3* m = Model3_GetById(id);
        m->version = c.version;
        m->renderKind = c.kind;
        m->gpuRebuild = 1;
        ModelRec().Clear();
        ModelRec().gpuBuildFails = c.buildFails;
        EXPECT_TRUE(Gpu_UpdateModel(m, id)) << c.name;
        EXPECT_EQ(c.kindAfter, m->renderKind) << c.name;
        EXPECT_EQ(0, m->gpuRebuild) << c.name;
        if (c.seamKind) {
            ASSERT_EQ(1u, ModelRec().gpuBuilds.size()) << c.name;
            EXPECT_EQ(std::make_pair((int)id, (int)c.seamKind), ModelRec().gpuBuilds[0]) << c.name;
        } else {
            EXPECT_TRUE(ModelRec().gpuBuilds.empty()) << c.name;
        }
        EXPECT_EQ(c.kind == 1, g_GpuTables.kind1[id] != nullptr) << c.name;
        EXPECT_EQ(c.kind == 9, g_GpuTables.kind9[id] != nullptr) << c.name;
        // Nothing more until the flag is raised again.
        ModelRec().Clear();
        EXPECT_TRUE(Gpu_UpdateModel(m, id));
        EXPECT_TRUE(ModelRec().gpuBuilds.empty()) << c.name;
        Gpu_FreeKind1(id);
        Gpu_FreeKind9(id);
        Model3_Release(id);
        Model3_ProcessReleases();
    }
    EXPECT_FALSE(Gpu_UpdateModel(nullptr, 0));
    int32_t bare = Model3_Create();   // no render data: the native seam makes none
    EXPECT_FALSE(Gpu_UpdateModel(Model3_GetById(bare), bare + 1000));
}

TEST_F(GpuUpdate, EveryFrameRebuildsWorldMatricesAndTheReadyModelsData)
{
    Object_FreeTable();
    int32_t obj = ObjectCreate();
    Object_SetPosition(Object_GetById(obj), 4, 5, 6);
    int32_t ready = ReadyQuad();
    int32_t loading = ReadyQuad();
    Model3_GetById(loading)->loaded = 0;
    Model3_SetRenderKind(Model3_GetById(ready), 1);
    Model3_SetRenderKind(Model3_GetById(loading), 1);
    Anim_UpdateModels();
    EXPECT_EQ(4.0f, Object_GetXform(obj)->world.m[3][0]);
    EXPECT_EQ(6.0f, Object_GetXform(obj)->world.m[3][2]);
    EXPECT_NE(nullptr, g_GpuTables.kind1[ready]);
    EXPECT_EQ(nullptr, g_GpuTables.kind1[loading]);   // not ready: left for a later frame
    EXPECT_EQ(1, Model3_GetById(loading)->gpuRebuild);
    Object_FreeTable();
}

} // namespace
