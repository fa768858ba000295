// The normal-mapped model's vertices: fans, the flat normal, the tangent and checked indices.
#include <cmath>
#include <vector>

#include "model/model_expect.h"
#include "render/bump_verts.h"

namespace {

class BumpVerts : public ModelTest {};

MODEL3* Quad(int shading)
{
    MODEL3* m = NewRecord();
    m->groupCount = 2;
    m->groups[1].shading = shading;
    m->normals = {XYZ{0, 0, -1}, XYZ{1, 0, 0}};
    m->normalCount = 2;
    AddFace(m, {AddVertex(m, 0, 0, 0, 0, 1), AddVertex(m, 0, 1, 0, 0, 0), AddVertex(m, 1, 1, 0, 1, 0),
                AddVertex(m, 1, 0, 0, 1, 1)},
            1);
    m->faces[0].normal[0] = 0, m->faces[0].normal[1] = 1, m->faces[0].normal[2] = 0;
    Model3_FitArrays(m);
    return m;
}

TEST_F(BumpVerts, FanOfTheMaterialWithTangentTurnedAboutY)
{
    MODEL3* m = Quad(4);
    std::vector<BUMP_VERTEX> v;
    EXPECT_EQ(Bump_BuildMaterial(m, 1, false, v), 2);
    ASSERT_EQ(v.size(), 6u);
    // Corners 0 1 2, 0 2 3.
    EXPECT_EQ(v[3].x, v[0].x);
    EXPECT_EQ(v[4].x, 1.0f);
    EXPECT_EQ(v[4].y, 1.0f);
    EXPECT_EQ(v[5].u, 1.0f);
    EXPECT_EQ(v[5].v, 1.0f);
    // Normal (0, 0, -1) gives the tangent (1, 0, 0): the one the effect's own test lights with.
    EXPECT_EQ(v[0].nz, -1.0f);
    EXPECT_NEAR(v[0].tx, 1.0f, 1e-6f);
    EXPECT_NEAR(v[0].ty, 0.0f, 1e-6f);
    EXPECT_NEAR(v[0].tz, 0.0f, 1e-6f);
    EXPECT_EQ(Bump_BuildMaterial(m, 0, false, v), 0) << "another material's faces are not drawn";
    EXPECT_TRUE(v.empty());
    Model3_Free(m);
}

TEST_F(BumpVerts, FlatShadingTakesTheFaceNormal)
{
    MODEL3* m = Quad(3);
    std::vector<BUMP_VERTEX> v;
    Bump_BuildMaterial(m, 1, false, v);
    for (const BUMP_VERTEX& b : v) {
        EXPECT_EQ(b.ny, 1.0f);
        // (0, 1, 0) turned about y stays put.
        EXPECT_NEAR(b.ty, 1.0f, 1e-6f);
    }
    Model3_Free(m);
}

TEST_F(BumpVerts, IndicesOutsideTheArraysReadZeros)
{
    MODEL3* m = Quad(4);
    m->faces[0].corners[1][CORNER_POS] = 1 << 30;
    m->faces[0].corners[2][CORNER_NORMAL] = -7;
    m->faces[0].corners[3][CORNER_UV] = 123456;
    m->faces[0].cornerCount = 9;   // a broken count is held to four corners
    std::vector<BUMP_VERTEX> v;
    EXPECT_EQ(Bump_BuildMaterial(m, 1, false, v), 2);
    EXPECT_EQ(v[1].x, 0.0f);
    EXPECT_EQ(v[1].y, 0.0f);
    EXPECT_EQ(v[2].nz, 0.0f);
    EXPECT_EQ(v[5].u, 0.0f);
    // Posed arrays shorter than the indices: zeros again.
    m->deformedPositions.clear();
    m->deformedNormals.clear();
    EXPECT_EQ(Bump_BuildMaterial(m, 1, true, v), 2);
    EXPECT_EQ(v[0].x, 0.0f);
    EXPECT_EQ(Bump_BuildMaterial(m, 300, false, v), 0);
    Model3_Free(m);
}

} // namespace
