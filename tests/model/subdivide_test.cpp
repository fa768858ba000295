// One subdivision pass: the counts it produces and the limits it refuses to pass.
#include "model/model_expect.h"
#include "model/subdivide.h"

namespace {

class Subdivide : public ModelTest {
protected:
    void TearDown() override
    {
        g_PolyLimit = 65000;
        g_VertexLimit = 260000;
        ModelTest::TearDown();
    }
};

struct CountCase {
    const char* name;
    uint8_t corners;
    int passes;
    int32_t faces;       // after the passes
    int32_t positions;
};

TEST_F(Subdivide, CountsForAQuadAPentagonAndATriangle)
{
    // A face of five corners is split as the quad of its first four (the record holds four corners).
    const CountCase cases[] = {
        {"quad", 4, 1, 4, 5 + 16},
        {"quad twice", 4, 2, 16, 5 + 16 + 4 * 16},
        {"pentagon", 5, 1, 4, 5 + 16},
        {"triangle", 3, 1, 1, 5},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.name);
        MODEL3* m = NewRecord();
        for (int i = 0; i < 5; ++i) AddVertex(m, (float)(i % 2), (float)(i / 2), 0);
        AddFace(m, {0, 1, 3, 2});
        m->faces[0].cornerCount = c.corners;
        for (int p = 0; p < c.passes; ++p) ASSERT_TRUE(Model3_SubdivideQuads(m));
        EXPECT_EQ(c.faces, m->faceCount);
        EXPECT_EQ(c.positions, m->positionCount);
        EXPECT_EQ(c.positions, m->uvCount);
        EXPECT_EQ(c.positions, m->colorCount);
        for (int32_t f = 0; f < m->faceCount; ++f)
            EXPECT_EQ(c.faces == 1 ? 3 : 4, m->faces[f].cornerCount);
        EXPECT_TRUE(Rec().messageBoxes.empty());
        Model3_Free(m);
    }
}

TEST_F(Subdivide, APassPastTheLimitsIsRefusedAndChangesNothing)
{
    struct LimitCase {
        const char* name;
        int32_t polyLimit, vertexLimit;
        bool fits;
    };
    // Two quads and four positions: one pass needs 2 + 6 = 8 faces and 4 + 32 = 36 entries.
    const LimitCase cases[] = {
        {"faces just fit", 8, 36, true},
        {"one face short", 7, 1000, false},
        {"one vertex short", 1000, 35, false},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.name);
        Rec().Clear();
        g_PolyLimit = c.polyLimit;
        g_VertexLimit = c.vertexLimit;
        MODEL3* m = NewRecord();
        for (int i = 0; i < 4; ++i) AddVertex(m, (float)(i % 2), (float)(i / 2), 0);
        AddFace(m, {0, 1, 3, 2}, 2);
        AddFace(m, {2, 3, 1, 0}, 2);
        EXPECT_EQ(c.fits, Model3_SubdivideQuads(m));
        EXPECT_EQ(c.fits ? 8 : 2, m->faceCount);
        EXPECT_EQ(c.fits ? 36 : 4, m->positionCount);
        EXPECT_EQ(c.fits ? 0 : 2, m->faces[0].group);
        EXPECT_EQ(c.fits ? 0u : 1u, Rec().messageBoxes.size());
        Model3_Free(m);
    }
}

TEST_F(Subdivide, SharedEdgeMidpointsAreEqualToTheBitAndColoursFollowTheCorner)
{
    MODEL3* m = NewRecord();
    const float xs[3] = {0.1f, 0.7f, 1.3f};
    for (int i = 0; i < 6; ++i) AddVertex(m, xs[i % 3], i < 3 ? 0.3f : 0.9f, 0.2f);
    for (int i = 0; i < 6; ++i) m->colors[i] = RGBA{(float)i, 0, 0, 255};
    AddFace(m, {0, 1, 4, 3});
    AddFace(m, {1, 2, 5, 4});
    ASSERT_TRUE(Model3_SubdivideQuads(m));
    ASSERT_EQ(8, m->faceCount);
    // Quad 0's face 1 is (M0, P1, M1, Pc): M1 is the midpoint of the shared edge 1-4. Quad 1's face 3
    // is (M3, Pc, M2, P3) with M3 the midpoint of 4-1.
    XYZ a = m->positions[m->faces[1].corners[2][CORNER_POS]];
    XYZ b = m->positions[m->faces[7].corners[0][CORNER_POS]];
    EXPECT_TRUE(SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z));
    // New face k takes the colour of corner k of the quad at all four corners.
    const float quadColour[4] = {0, 1, 4, 3};
    for (int k = 0; k < 4; ++k)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(quadColour[k], m->colors[m->faces[k].corners[c][CORNER_COLOR]].r);
    Model3_Free(m);
}

} // namespace
