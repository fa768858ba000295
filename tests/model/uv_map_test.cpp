// UV mapping of a group: each projection on a unit cube centred on the origin, flat groups, the
// cylinder seam and indices that name nothing.
#include <cmath>

#include "model/model_expect.h"
#include "model/uv_map.h"

namespace {

class UvMap : public ModelTest {};

MODEL3* CentredCube()
{
    MODEL3* m = NewRecord();
    MakeCube(m);
    for (int32_t i = 0; i < m->positionCount; ++i) {
        m->positions[i].x -= 0.5f;
        m->positions[i].y -= 0.5f;
        m->positions[i].z -= 0.5f;
    }
    return m;
}

TEST_F(UvMap, EachProjectionOnAUnitCube)
{
    struct UvCase {
        const char* name;
        uint8_t type;
        float offset, scale;
        UV2 corner0, corner2;   // of the cube's first face: (-.5, -.5, -.5) and (.5, .5, -.5)
    };
    const UvCase cases[] = {
        {"front", UVMAP_FRONT, 0, 1, {0, 1}, {1, 0}},
        {"front, offset 0.1", UVMAP_FRONT, 0.1f, 1, {-0.1f, 1.1f}, {0.9f, 0.1f}},
        {"front, scale 2", UVMAP_FRONT, 0, 2, {0.25f, 0.75f}, {0.75f, 0.25f}},
        {"top", UVMAP_TOP, 0, 1, {0, 1}, {1, 1}},
        {"side", UVMAP_SIDE, 0, 1, {0, 1}, {0, 0}},
        {"cylinder", UVMAP_CYLINDER, 0, 1, {0.375f, 0.75f}, {0.625f, 0.25f}},
        {"sphere", UVMAP_SPHERE, 0, 1, {0.375f, 1}, {0.625f, 0}},
        {"each face", UVMAP_EACH_FACE, 0, 1, {0, 0}, {1, 1}},
    };
    for (const UvCase& c : cases) {
        SCOPED_TRACE(c.name);
        MODEL3* m = CentredCube();
        GROUP3& g = m->groups[0];
        g.uvMapping = c.type;
        g.uvOffset[0] = g.uvOffset[1] = c.offset;
        g.uvScale[0] = g.uvScale[1] = c.scale;
        Model3_MapGroupUvOf(m, 0);
        const UV2 a = m->uvs[m->faces[0].corners[0][CORNER_UV]];
        const UV2 b = m->uvs[m->faces[0].corners[2][CORNER_UV]];
        EXPECT_NEAR(c.corner0.u, a.u, 1e-5f);
        EXPECT_NEAR(c.corner0.v, a.v, 1e-5f);
        EXPECT_NEAR(c.corner2.u, b.u, 1e-5f);
        EXPECT_NEAR(c.corner2.v, b.v, 1e-5f);
        Model3_Free(m);
    }
}

TEST_F(UvMap, FlatGroupsAndZeroScalesGiveFiniteUVs)
{
    // A quad lying in z = 0 seen from the top has no height; a single point no extent at all.
    for (uint8_t type : {UVMAP_FRONT, UVMAP_TOP, UVMAP_SIDE, UVMAP_CYLINDER, UVMAP_SPHERE}) {
        SCOPED_TRACE((int)type);
        MODEL3* m = NewRecord();
        for (int i = 0; i < 4; ++i) AddVertex(m, (float)(i % 2) + 3.0f, 2.0f, 0.0f);
        AddFace(m, {0, 1, 3, 2});
        m->groups[0].uvMapping = type;
        m->groups[0].uvScale[1] = 0.0f;
        Model3_MapGroupUvOf(m, 0);
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(std::isfinite(m->uvs[i].u));
            EXPECT_TRUE(std::isfinite(m->uvs[i].v));
        }
        Model3_Free(m);
    }
}

TEST_F(UvMap, CylinderSeamCapsAndBadIndices)
{
    MODEL3* m = NewRecord();
    // A side quad across the +z seam, and a cap triangle with its centre on the axis.
    int32_t a = AddVertex(m, 0.1f, 1, 1), b = AddVertex(m, -0.1f, 1, 1), c = AddVertex(m, -0.1f, -1, 1),
            d = AddVertex(m, 0.1f, -1, 1);
    AddFace(m, {a, b, c, d});
    int32_t centre = AddVertex(m, 0, 1, 0), e = AddVertex(m, 1, 1, 0);
    AddFace(m, {centre, e, a});
    AddFace(m, {a, b, c}, 1);
    m->faces[2].corners[1][CORNER_UV] = 1000;   // names no UV: skipped
    m->groups[0].uvMapping = UVMAP_CYLINDER;
    m->groups[1].uvMapping = UVMAP_FRONT;
    Model3_MapGroupUvOf(m, 0);
    // Corner b sits just past the seam: its small u is raised past 1.
    EXPECT_GT(m->uvs[b].u, 1.0f);
    EXPECT_LT(m->uvs[b].u, 1.05f);
    EXPECT_GT(m->uvs[a].u, 0.95f);
    // The cap triangle became a quad whose corner 3 repeats corner 0; its centre took a ring u.
    EXPECT_EQ(4, m->faces[1].cornerCount);
    EXPECT_EQ(centre, m->faces[1].corners[3][CORNER_POS]);
    EXPECT_EQ(0.0f, m->uvs[centre].v);
    EXPECT_NE(0.25f, m->uvs[centre].u);
    Model3_MapGroupUvOf(m, 1);
    Model3_MapGroupUvOf(m, -1);
    Model3_MapGroupUvOf(m, 100000);
    Model3_MapGroupUvOf(nullptr, 0);
    Model3_Free(m);
}

TEST_F(UvMap, PlanarAndPerFaceFor2DModels)
{
    g_Lib.allocArrays = 1;
    MODEL2* m = Model2_NewRecord();
    m->vertexCount = 4;
    m->vertices = {{10, 10}, {30, 10}, {30, 50}, {10, 50}};
    m->uvCount = 4;
    m->uvs.assign(4, UV2D{});
    m->polygonCount = 2;
    m->polygons = {FACE2{1, 4, {{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {3, 0, 3}}, 0},
                   FACE2{1, 3, {{0, 0, 9}, {1, 0, 1}, {700, 0, 2}}, 0}};   // indices past the arrays
    Model2_MapGroupUvPlanarOf(m, 0);
    // v runs with y (2D y grows downwards); u, v are shifted by the box centre (20, 30).
    EXPECT_FLOAT_EQ(20.0f + 0.0f, m->uvs[0].u);
    EXPECT_FLOAT_EQ(30.0f + 0.0f, m->uvs[0].v);
    EXPECT_FLOAT_EQ(20.0f + 1.0f, m->uvs[2].u);
    EXPECT_FLOAT_EQ(30.0f + 1.0f, m->uvs[2].v);
    m->groups[0].uvMapping = UVMAP_EACH_FACE;
    Model2_MapGroupUvPlanarOf(m, 0);
    EXPECT_EQ(1.0f, m->uvs[1].u);
    EXPECT_EQ(0.0f, m->uvs[1].v);
    EXPECT_EQ(0.0f, m->uvs[3].u);
    EXPECT_EQ(1.0f, m->uvs[3].v);
    Model2_MapGroupUvPlanarOf(m, 256);
    Model2_MapGroupUvPlanar(-1, 0);
    Model2_Free(m);
}

} // namespace
