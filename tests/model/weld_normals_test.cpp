// The weld and the normals, against the first-match linear searches they replace.
#include <cmath>
#include <random>

#include "model/model_expect.h"
#include "model/model_load.h"
#include "model/normals.h"

namespace {

class WeldNormals : public ModelTest {};

TEST_F(WeldNormals, CubeOfSixQuadsWeldsToEightPositions)
{
    MODEL3* m = NewRecord();
    MakeCube(m);
    ASSERT_EQ(24, m->positionCount);
    EXPECT_TRUE(Model3_Weld(m));
    EXPECT_EQ(8, m->positionCount);
    EXPECT_EQ(6, m->faceCount);
    EXPECT_EQ(1, m->colorCount);
    EXPECT_EQ(1, m->uvCount);
    for (int f = 0; f < 6; ++f) EXPECT_EQ(4, m->faces[f].cornerCount);
    // The corners still name their old places.
    EXPECT_EQ(1.0f, m->positions[m->faces[0].corners[2][CORNER_POS]].x);
    EXPECT_EQ(1.0f, m->positions[m->faces[0].corners[2][CORNER_POS]].y);
    EXPECT_FALSE(Model3_Weld(nullptr));
    Model3_Free(m);
}

TEST_F(WeldNormals, FirstBindingSurvivesAndSignedZerosMergeButNaNsDoNot)
{
    MODEL3* m = NewRecord();
    int32_t a = AddVertex(m, 0, 0, 0, 0, 0, 3);
    int32_t b = AddVertex(m, -0.0f, 0, -0.0f, 0, 0, 9);
    int32_t c = AddVertex(m, NAN, 1, 0);
    int32_t d = AddVertex(m, NAN, 1, 0);
    AddFace(m, {a, c, b});
    AddFace(m, {b, d, a});
    // The record is not in the table, and its ID names another slot: the weld needs neither.
    m->id = 300;
    ASSERT_TRUE(Model3_Weld(m));
    EXPECT_EQ(3, m->positionCount);
    EXPECT_EQ(3, m->weights[0].boneA);
    EXPECT_EQ(0, m->faces[0].corners[0][CORNER_POS]);
    EXPECT_EQ(0, m->faces[0].corners[2][CORNER_POS]);
    EXPECT_EQ(1, m->faces[0].corners[1][CORNER_POS]);
    EXPECT_EQ(2, m->faces[1].corners[1][CORNER_POS]);
    Model3_Free(m);
}

// The weld as the linear search writes it, on random models with many repeats.
TEST_F(WeldNormals, WeldEqualsTheLinearSearch)
{
    std::mt19937 rng(1234);
    for (int round = 0; round < 30; ++round) {
        MODEL3* m = NewRecord();
        for (int i = 0; i < 80; ++i) {
            int32_t v = AddVertex(m, (float)(rng() % 3) - 1.0f, (float)(rng() % 2) * -0.0f, (float)(rng() % 2),
                                  (float)(rng() % 2), 0, (uint8_t)(rng() % 5));
            m->colors[v].g = (float)(rng() % 2);
            if (rng() % 20 == 0) m->positions[v].y = NAN;
        }
        for (int f = 0; f < 50; ++f) {
            if (rng() % 2) AddFace(m, {(int32_t)(rng() % 80), (int32_t)(rng() % 80), (int32_t)(rng() % 80)});
            else AddFace(m, {(int32_t)(rng() % 80), (int32_t)(rng() % 80), (int32_t)(rng() % 80), (int32_t)(rng() % 80)});
            m->faces[f].corners[1][CORNER_UV] = (int32_t)(rng() % 80);
        }
        MODEL3 ref = *m;
        std::vector<XYZ> pos;
        std::vector<WEIGHT3> wts;
        std::vector<RGBA> cols;
        std::vector<UV2> uvs;
        std::vector<FACE3> faces;
        for (int32_t f = 0; f < ref.faceCount; ++f) {
            FACE3 face = ref.faces[f];
            for (int c = 0; c < face.cornerCount; ++c) {
                int32_t* k = face.corners[c];
                XYZ p = ref.positions[k[CORNER_POS]];
                int32_t at = -1;
                for (size_t i = 0; i < pos.size() && at < 0; ++i)
                    if (pos[i].x == p.x && pos[i].y == p.y && pos[i].z == p.z) at = (int32_t)i;
                if (at < 0) {
                    at = (int32_t)pos.size();
                    pos.push_back(p);
                    wts.push_back(ref.weights[k[CORNER_POS]]);
                }
                k[CORNER_POS] = at;
                RGBA col = ref.colors[k[CORNER_COLOR]];
                at = -1;
                for (size_t i = 0; i < cols.size() && at < 0; ++i)
                    if (cols[i].r == col.r && cols[i].g == col.g && cols[i].b == col.b && cols[i].a == col.a) at = (int32_t)i;
                if (at < 0) {
                    at = (int32_t)cols.size();
                    cols.push_back(col);
                }
                k[CORNER_COLOR] = at;
                UV2 uv = ref.uvs[k[CORNER_UV]];
                at = -1;
                for (size_t i = 0; i < uvs.size() && at < 0; ++i)
                    if (uvs[i].u == uv.u && uvs[i].v == uv.v) at = (int32_t)i;
                if (at < 0) {
                    at = (int32_t)uvs.size();
                    uvs.push_back(uv);
                }
                k[CORNER_UV] = at;
            }
            faces.push_back(face);
        }
        ASSERT_TRUE(Model3_Weld(m));
        ASSERT_EQ((int32_t)pos.size(), m->positionCount);
        ASSERT_EQ((int32_t)cols.size(), m->colorCount);
        ASSERT_EQ((int32_t)uvs.size(), m->uvCount);
        for (size_t i = 0; i < pos.size(); ++i) {
            EXPECT_TRUE(SameBits(pos[i].x, m->positions[i].x) && SameBits(pos[i].y, m->positions[i].y));
            EXPECT_EQ(wts[i].boneA, m->weights[i].boneA);
        }
        for (size_t f = 0; f < faces.size(); ++f)
            for (int c = 0; c < faces[f].cornerCount; ++c)
                for (int k : {CORNER_POS, CORNER_COLOR, CORNER_UV}) EXPECT_EQ(faces[f].corners[c][k], m->faces[f].corners[c][k]);
        Model3_Free(m);
    }
}

TEST_F(WeldNormals, NormalEdgeCases)
{
    MODEL3* m = NewRecord();
    g_StudioFlag = 1;
    EXPECT_TRUE(Model3_CalcNormals(m));
    EXPECT_EQ(0, m->normalCount);
    EXPECT_FALSE(Model3_CalcNormals(nullptr));

    int32_t a = AddVertex(m, 0, 0, 0), b = AddVertex(m, 1, 0, 0), c = AddVertex(m, 0, 1, 0);
    int32_t unused = AddVertex(m, 5, 5, 5);
    int32_t d = AddVertex(m, 2, 2, 2), e = AddVertex(m, 3, 3, 3), f = AddVertex(m, 4, 4, 4);
    AddFace(m, {a, b, c});          // +z
    AddFace(m, {d, e, f});          // collinear: zero length
    AddFace(m, {a, b});             // two corners: nothing
    m->faces[2].corners[0][CORNER_NORMAL] = 77;
    ASSERT_TRUE(Model3_CalcNormals(m));
    EXPECT_EQ(1.0f, m->faces[0].normal[2]);
    for (float v : m->faces[1].normal) EXPECT_EQ(0.0f, v);   // not NaN
    EXPECT_EQ(1.0f, m->deformedNormals[a].z);
    EXPECT_EQ(0.0f, m->deformedNormals[unused].z);
    EXPECT_EQ(0.0f, m->deformedNormals[d].x);
    EXPECT_EQ(77, m->faces[2].corners[0][CORNER_NORMAL]);
    // Table: (0, 0, 1) then (0, 0, 0).
    EXPECT_EQ(2, m->normalCount);
    EXPECT_EQ(0, m->faces[0].corners[2][CORNER_NORMAL]);
    EXPECT_EQ(1, m->faces[1].corners[0][CORNER_NORMAL]);

    // Opposite faces on one position cancel to (0, 0, 0).
    AddFace(m, {a, c, b});
    ASSERT_TRUE(Model3_CalcNormals(m));
    EXPECT_EQ(0.0f, m->deformedNormals[a].z);
    Model3_Free(m);
}

TEST_F(WeldNormals, QuadNormalFromItsFirstThreeCornersAndOutsideTheStudioNoTable)
{
    MODEL3* m = NewRecord();
    int32_t v[4] = {AddVertex(m, 0, 0, 0), AddVertex(m, 1, 0, 0), AddVertex(m, 1, 1, 0), AddVertex(m, 0, 1, 7)};
    AddFace(m, {v[0], v[1], v[2], v[3]});
    m->normalCount = 1;
    m->faces[0].corners[3][CORNER_NORMAL] = 0;
    ASSERT_TRUE(Model3_CalcNormals(m));
    EXPECT_EQ(1.0f, m->faces[0].normal[2]);
    EXPECT_EQ(1.0f, m->deformedNormals[v[3]].z);   // the fourth corner still takes the sum
    EXPECT_EQ(1, m->normalCount);                   // table untouched outside the studio
    m->renderKind = 8;                              // unless displaced
    ASSERT_TRUE(Model3_CalcNormals(m));
    EXPECT_EQ(1, m->normalCount);
    EXPECT_EQ(0.0f, m->normals[0].x);
    EXPECT_EQ(1.0f, m->normals[0].z);
    Model3_Free(m);
}

// A table read shorter than the positions grows before the rebuild fills it.
TEST_F(WeldNormals, NormalTableGrowsToThePositionCount)
{
    MODEL3* m = NewRecord();
    g_StudioFlag = 1;
    std::mt19937 rng(5);
    for (int i = 0; i < 200; ++i) AddVertex(m, (float)(rng() % 100), (float)(rng() % 100), (float)(rng() % 100));
    for (int i = 0; i + 2 < 200; i += 3) AddFace(m, {i, i + 1, i + 2});
    m->normals.resize(1);
    m->normals.shrink_to_fit();
    ASSERT_TRUE(Model3_CalcNormals(m));
    EXPECT_GT(m->normalCount, 50);   // one per face: far more than the one entry read
    EXPECT_GE(m->normals.size(), (size_t)m->normalCount);
    // Same as the linear search: distinct normals in order of first use.
    std::vector<XYZ> table;
    for (int32_t f = 0; f < m->faceCount; ++f) {
        for (int c = 0; c < 3; ++c) {
            XYZ n = m->deformedNormals[m->faces[f].corners[c][CORNER_POS]];
            int32_t at = -1;
            for (size_t i = 0; i < table.size() && at < 0; ++i)
                if (table[i].x == n.x && table[i].y == n.y && table[i].z == n.z) at = (int32_t)i;
            if (at < 0) {
                at = (int32_t)table.size();
                table.push_back(n);
            }
            EXPECT_EQ(at, m->faces[f].corners[c][CORNER_NORMAL]);
        }
    }
    EXPECT_EQ((int32_t)table.size(), m->normalCount);
    Model3_Free(m);
}

TEST_F(WeldNormals, DeleteFace)
{
    MODEL3* m = NewRecord();
    MakeCube(m);
    m->faces[5].group = 5;
    EXPECT_FALSE(Model3_DeleteFace(m, 6));
    EXPECT_FALSE(Model3_DeleteFace(m, -1));
    EXPECT_FALSE(Model3_DeleteFace(nullptr, 0));
    EXPECT_TRUE(Model3_DeleteFace(m, 2));
    EXPECT_EQ(5, m->faceCount);
    EXPECT_EQ(5, m->faces[4].group);
    EXPECT_EQ(6u, m->faces.size());   // the list keeps its length
    EXPECT_TRUE(Model3_DeleteFace(m, 4));   // the last: nothing moves
    EXPECT_EQ(4, m->faceCount);
    EXPECT_EQ(24, m->positionCount);
    Model3_Free(m);
}

} // namespace
