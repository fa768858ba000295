// Curved triangles: one patch against hand-computed points, the sample counts per level, and the bake.
#include "model/curve.h"
#include "model/model_expect.h"

namespace {

class Curve : public ModelTest {
protected:
    void TearDown() override
    {
        g_PolyLimit = 65000;
        g_VertexLimit = 260000;
        ModelTest::TearDown();
    }
};

const float kWhite[3][4] = {{255, 255, 255, 255}, {255, 255, 255, 255}, {255, 255, 255, 255}};

TEST_F(Curve, OneTriangleAgainstHandComputedPoints)
{
    // P0 (0,0,0), P1 (1,0,0), P2 (0,1,0); the normals at P0 and P1 lean outwards along x.
    // b210 = P0 + ((P1 - P0) - (-1)·N0) / 3 = (0, 0, 1/3), b120 = P1 + ((P0 - P1) - (-1)·N1) / 3 =
    // (1, 0, 1/3), so the middle of edge 0-1 (u = v·0 = w = 1/2) is
    // P0/8 + P1/8 + 3/8 b210 + 3/8 b120 = (0.5, 0, 0.25), with the normal (N0 + N1) / 2 = (0, 0, 1).
    const CURVE_POINT c[3] = {{{0, 0, 0}, {-1, 0, 1}, 0, 0}, {{1, 0, 0}, {1, 0, 1}, 1, 0}, {{0, 1, 0}, {0, 0, 1}, 0, 1}};
    const float colours[3][4] = {{0, 0, 0, 255}, {200, 100, 50, 255}, {0, 0, 0, 255}};
    CURVE_PATCH p;
    ASSERT_TRUE(Curve_FillPatch(&p, c, colours, 1));
    ASSERT_EQ(6, p.pointCount);
    ASSERT_EQ(4, p.triangleCount);
    // Points: 0 corner 1; 1 middle of 1-0; 2 middle of 1-2; 3 corner 0; 4 middle of 0-2; 5 corner 2.
    EXPECT_NEAR(0.5f, p.points[1].position[0], 1e-6f);
    EXPECT_NEAR(0.0f, p.points[1].position[1], 1e-6f);
    EXPECT_NEAR(0.25f, p.points[1].position[2], 1e-6f);
    EXPECT_NEAR(0.0f, p.points[1].normal[0], 1e-6f);
    EXPECT_NEAR(1.0f, p.points[1].normal[2], 1e-6f);
    EXPECT_NEAR(0.5f, p.points[1].u, 1e-6f);
    EXPECT_NEAR(100.0f, p.colors[1][0], 1e-4f);
    // Middle of edge 0-2: b102 = P2 + ((P0 - P2) - 0) / 3 = (0, 2/3, 0), b201 = P0 + ((P2 - P0) - 0·N0) / 3
    // = (0, 1/3, 0): (0, 0.5, 0) exactly as the flat edge.
    EXPECT_NEAR(0.0f, p.points[4].position[0], 1e-6f);
    EXPECT_NEAR(0.5f, p.points[4].position[1], 1e-6f);
    EXPECT_NEAR(0.0f, p.points[4].position[2], 1e-6f);
    // The corners are copies, bit for bit.
    EXPECT_EQ(1.0f, p.points[0].position[0]);
    EXPECT_EQ(0.0f, p.points[3].position[0]);
    EXPECT_EQ(1.0f, p.points[5].position[1]);
    EXPECT_EQ(200.0f, p.colors[0][0]);
    // The small triangles keep the winding of the big one (1, 0, 2 as rows run): first (1, 0, 2).
    EXPECT_EQ(1, p.triangles[0]);
    EXPECT_EQ(0, p.triangles[1]);
    EXPECT_EQ(2, p.triangles[2]);
}

TEST_F(Curve, LevelsAreClampedAndFlatTrianglesStayFlat)
{
    struct LevelCase {
        int32_t level, points, triangles;
    };
    const LevelCase cases[] = {{-3, 6, 4}, {0, 6, 4}, {1, 6, 4}, {4, 21, 25}, {8, 55, 81}, {9, 55, 81}, {30000, 55, 81}};
    const CURVE_POINT c[3] = {{{0, 0, 2}, {0, 0, 1}, 0, 0}, {{3, 0, 2}, {0, 0, 1}, 1, 0}, {{0, 5, 2}, {0, 0, 1}, 0, 1}};
    for (const LevelCase& l : cases) {
        SCOPED_TRACE(l.level);
        CURVE_PATCH p;
        ASSERT_TRUE(Curve_FillPatch(&p, c, kWhite, l.level));
        EXPECT_EQ(l.points, p.pointCount);
        EXPECT_EQ(l.triangles, p.triangleCount);
        for (int i = 0; i < p.pointCount; ++i) EXPECT_NEAR(2.0f, p.points[i].position[2], 1e-5f);
        for (int i = 0; i < p.triangleCount * 3; ++i) EXPECT_LT(p.triangles[i], p.pointCount);
    }
}

TEST_F(Curve, BakeMakesTwoFansPerQuadAndRefusesPastTheLimits)
{
    MODEL3* src = NewRecord();
    for (int i = 0; i < 4; ++i) AddVertex(src, (float)(i % 2), (float)(i / 2), 0);
    AddFace(src, {0, 1, 3, 2}, 0);
    src->subdivision = 2;
    MODEL3* dst = NewRecord();
    ASSERT_TRUE(Curve_BakeInto(src, dst));
    EXPECT_EQ(2 * 9, dst->faceCount);
    EXPECT_EQ(3 * 18, dst->positionCount);
    EXPECT_EQ(3 * 18, dst->normalCount);
    for (int32_t f = 0; f < dst->faceCount; ++f) {
        EXPECT_EQ(3, dst->faces[f].cornerCount);
        EXPECT_EQ(0, dst->faces[f].group);
    }
    Model3_Free(dst);
    // 18 faces of 3 positions: one face or one position short is refused, and nothing changes.
    g_PolyLimit = 17;
    dst = NewRecord();
    EXPECT_FALSE(Curve_BakeInto(src, dst));
    EXPECT_EQ(0, dst->faceCount);
    EXPECT_EQ(1u, Rec().messageBoxes.size());
    g_PolyLimit = 65000;
    g_VertexLimit = 53;
    EXPECT_FALSE(Curve_BakeInto(src, dst));
    EXPECT_EQ(0, dst->positionCount);
    Model3_Free(dst);
    Model3_Free(src);
}

} // namespace
