// Skinning on the processor: a two-bone fixture with hand-computed results, bindings that name bones
// past the skeleton, the choice of one bone by render kind, normals, and the buffer refresh.
#include <cmath>

#include "model/gpu_data.h"
#include "model/model_expect.h"
#include "model/motion3.h"
#include "model/skin.h"

namespace {

class Skin : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        Gpu_FreeRenderTable();
    }
    void TearDown() override
    {
        for (int id = 0; id < kGpuTableSize; ++id) Gpu_FreeKind1(id), Gpu_FreeKind3(id);
        Gpu_FreeRenderTable();
        ModelTest::TearDown();
    }

    // Bone 1 at the origin turned 90 degrees about Z, which takes (1, 0, 0) to (0, -1, 0) and
    // (0, 1, 0) to (1, 0, 0); bone 2 hangs on it with its rest joint at (0, 2, 0), unturned and
    // moved by (1, 0, 0): its posed joint is (2, 0, 0) + (1, 0, 0).
    MODEL3* TwoBones(int32_t* idOut)
    {
        int32_t id = Model3_Create();
        MODEL3* m = Model3_GetById(id);
        Gpu_InitModelRes(Gpu_EnsureModelRes(id), id);
        Gpu_ResizeModelRes(Gpu_GetModelRes(id));
        m->boneCount = 3;
        m->animated = 1;
        m->renderKind = 0;
        m->bones[1].parent = 0;
        m->bones[2].parent = 1;
        m->bones[2].rest.translation[1] = 2.0f;
        KEY3 k;
        Key3_Default(&k);
        k.rotation[2] = k.rotation[3] = std::sqrt(0.5f);
        m->bones[1].keys[0].assign(1, k);
        Key3_Default(&k);
        k.translation[0] = 1.0f;
        m->bones[2].keys[0].assign(1, k);
        *idOut = id;
        return m;
    }
    void Pose(MODEL3* m, int32_t id)
    {
        ASSERT_TRUE(Motion3_BuildRestMatrices(m, id));
        ASSERT_TRUE(Motion3_BuildPoseMatrices(m, id));
    }
};

void Bind(MODEL3* m, int32_t i, uint8_t a, uint8_t b, float w)
{
    m->weights[(size_t)i] = WEIGHT3{a, b, w, 0};
}

void ExpectNear(const XYZ& v, float x, float y, float z)
{
    EXPECT_NEAR(x, v.x, 1e-5);
    EXPECT_NEAR(y, v.y, 1e-5);
    EXPECT_NEAR(z, v.z, 1e-5);
}

TEST_F(Skin, TwoBoneFixture)
{
    int32_t id;
    MODEL3* m = TwoBones(&id);
    AddVertex(m, 1, 0, 0);
    AddVertex(m, 0, 3, 0);
    AddVertex(m, 0, 2, 0);
    AddVertex(m, 0, 1, 0);
    AddVertex(m, 1, 1, 1);
    Bind(m, 0, 1, 0, 1.0f);
    Bind(m, 1, 2, 0, 1.0f);
    Bind(m, 2, 1, 2, 0.5f);     // halfway: the midpoint of the two moved points
    Bind(m, 3, 200, 2, 1.0f);   // a bone past the skeleton is bone 0
    Bind(m, 4, 1, 2, 0.0f);     // weight 0: bone B for the mesh kinds
    AddFace(m, {0, 1, 2});
    Pose(m, id);
    ASSERT_TRUE(Motion3_SkinVertices(m, id));
    ExpectNear(m->deformedPositions[0], 0, -1, 0);
    ExpectNear(m->deformedPositions[1], 3, 1, 0);
    ExpectNear(m->deformedPositions[2], 2.5f, 0, 0);
    ExpectNear(m->deformedPositions[3], 0, 1, 0);
    ExpectNear(m->deformedPositions[4], 4, -1, 1);
    EXPECT_EQ(0, m->weights[3].boneA);   // the rewrite is kept
    EXPECT_EQ(2, m->weights[3].boneB);   // an unused bone stays
    // Normals from the moved face: (0,-1,0), (3,1,0), (2.5,0,0) wind about -Z.
    ExpectNear(m->deformedNormals[0], 0, 0, -1);
    ExpectNear(m->deformedNormals[2], 0, 0, -1);
    EXPECT_NEAR(-1.0f, m->faces[0].normal[2], 1e-6);
}

TEST_F(Skin, RestPoseLeavesEveryPositionWhereItIs)
{
    int32_t id;
    MODEL3* m = TwoBones(&id);
    for (int b = 1; b < 3; ++b) m->bones[b].keys[0].assign(1, KEY3{});
    for (int b = 1; b < 3; ++b) Key3_Default(&m->bones[b].keys[0][0]);
    for (int i = 0; i < 20; ++i) {
        AddVertex(m, 0.25f * i, 3.0f - i, 0.5f);
        Bind(m, i, (uint8_t)(i % 3), (uint8_t)((i + 1) % 3), i % 4 * 0.25f);
    }
    Pose(m, id);
    ASSERT_TRUE(Motion3_SkinVertices(m, id));
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(m->positions[i].x, m->deformedPositions[i].x) << i;
        EXPECT_EQ(m->positions[i].y, m->deformedPositions[i].y) << i;
    }
}

TEST_F(Skin, OneBoneByRenderKind)
{
    for (int32_t kind : {2, 3}) {
        SCOPED_TRACE(kind);
        int32_t id;
        MODEL3* m = TwoBones(&id);
        for (int i = 0; i < 3; ++i) {
            AddVertex(m, 1, 1, 1.0f + i);
            Bind(m, i, 1, 2, 0.0f);
        }
        AddFace(m, {0, 1, 2});
        m->renderKind = kind;
        if (kind == 3) g_GpuTables.kind3[id] = Gpu_MakeKind3(m);
        Gpu_GetModelRes(id)->groups[0].count = kind == 2 ? 3 : 3;
        Pose(m, id);
        ModelRec().Clear();
        ASSERT_TRUE(Motion3_SkinVertices(m, id));
        ASSERT_EQ(1u, ModelRec().gpuWrites.size());
        EXPECT_EQ(3, ModelRec().gpuWrites[0][2]);
        EXPECT_EQ(kind == 2 ? 1 : 0, ModelRec().gpuWrites[0][3]);   // kind 3 keeps its normals
        // Kind 2 follows bone B: (1,1,1) - (0,2,0) + (3,0,0); kind 3 bone A: (1,1,1) turned.
        const float x = kind == 2 ? 4.0f : 1.0f, y = -1.0f;
        ASSERT_GE(ModelRec().gpuLastPositions.size(), 3u);
        EXPECT_NEAR(x, ModelRec().gpuLastPositions[0], 1e-5);
        EXPECT_NEAR(y, ModelRec().gpuLastPositions[1], 1e-5);
        if (kind == 3) ExpectNear(g_GpuTables.kind3[id]->groups[0].deformed[0], 1, -1, 1);
        // A material without buffer entries is not written.
        Gpu_GetModelRes(id)->groups[0].count = 0;
        ModelRec().Clear();
        Motion3_SkinVertices(m, id);
        EXPECT_TRUE(ModelRec().gpuWrites.empty());
    }
}

TEST_F(Skin, CollapsedFaceGivesNoDirectionAndBadCornersAreSkipped)
{
    int32_t id;
    MODEL3* m = TwoBones(&id);
    AddVertex(m, 1, 0, 0);
    AddVertex(m, 1, 0, 0);
    AddVertex(m, 1, 0, 0);
    for (int i = 0; i < 3; ++i) Bind(m, i, 1, 0, 1.0f);
    AddFace(m, {0, 1, 2});
    AddFace(m, {0, 1, 2});
    m->faces[1].corners[2][CORNER_POS] = 1 << 30;   // names no position
    m->faceCount = 2;
    Pose(m, id);
    ASSERT_TRUE(Motion3_SkinVertices(m, id));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(0.0f, m->deformedNormals[i].x);
        EXPECT_FALSE(std::isnan(m->deformedNormals[i].y));
    }
    EXPECT_EQ(0.0f, m->faces[0].normal[0]);
}

TEST_F(Skin, NormalsTurnWithBoneAOrStay)
{
    int32_t id;
    MODEL3* m = TwoBones(&id);
    AddVertex(m, 0, 0, 0);
    Bind(m, 0, 1, 2, 0.5f);
    m->normals.assign(1, XYZ{1, 0, 0});
    m->normalCount = 1;
    m->skinningOption = 1;
    Pose(m, id);
    ASSERT_TRUE(Motion3_SkinVertices(m, id));
    ExpectNear(m->deformedNormals[0], 0, -1, 0);   // bone A only, no blend
    m->autoNormals = 0;
    m->deformedNormals[0] = XYZ{7, 7, 7};
    Motion3_SkinVertices(m, id);
    EXPECT_EQ(7.0f, m->deformedNormals[0].x);
}

TEST_F(Skin, RefusesWhatItCannotSkin)
{
    int32_t id;
    MODEL3* m = TwoBones(&id);
    EXPECT_FALSE(Motion3_SkinVertices(nullptr, id));
    EXPECT_FALSE(Motion3_SkinVertices(m, id + 40));   // no render data
    m->animated = 0;
    EXPECT_FALSE(Motion3_SkinVertices(m, id));
}

TEST_F(Skin, Kind1ListsTakeTheDeformedValuesOfTheirCorners)
{
    int32_t id;
    MODEL3* m = TwoBones(&id);
    AddVertex(m, 1, 0, 0);
    AddVertex(m, 0, 3, 0);
    AddVertex(m, 0, 2, 0);
    for (int i = 0; i < 3; ++i) Bind(m, i, i == 0 ? 1 : 2, 0, 1.0f);
    AddFace(m, {0, 1, 2});
    m->renderKind = 1;
    g_GpuTables.kind1[id] = Gpu_MakeKind1(m);
    Pose(m, id);
    ASSERT_TRUE(Motion3_SkinVertices(m, id));
    const std::vector<KIND1_VERTEX>& v = g_GpuTables.kind1[id]->groups[0].vertices;
    ASSERT_EQ(3u, v.size());
    EXPECT_NEAR(0.0f, v[0].v.x, 1e-5);
    EXPECT_NEAR(-1.0f, v[0].v.y, 1e-5);
    EXPECT_NEAR(3.0f, v[1].v.x, 1e-5);
    EXPECT_NEAR(m->deformedNormals[0].z, v[0].v.nz, 1e-6);
}

} // namespace
