// Polygon creation and the face split on small models: the shapes they make, the limits they
// refuse, and the modelling dialog's commands over them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_create.h"
#include "edit3d/poly_create_cmds.h"
#include "edit3d/poly_dialogs.h"
#include "edit3d/poly_drag.h"
#include "edit3d/poly_screen.h"
#include "edit3d/poly_split.h"
#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "model/model_table.h"
#include "model/normals.h"
#include "model/qvp_file.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/picking.h"
#include "shell/views.h"
#include "support/model_builders.h"
#include "support/recorder.h"

using QVL::MODEL3;

namespace {

struct ModelDeleter {
    void operator()(MODEL3* m) const { Model3_Free(m); }
};
using ModelPtr = std::unique_ptr<MODEL3, ModelDeleter>;

struct LocalSel {
    std::vector<int32_t> v, f;
    POLY_SEL s;
    LocalSel(int32_t maxPolygons, int32_t faceMode) : v(4 * (size_t)maxPolygons), f((size_t)maxPolygons)
    {
        s = POLY_SEL{v.data(), f.data(), 4 * maxPolygons, maxPolygons, faceMode, -1};
    }
};

QVL::XYZ P(const MODEL3* m, int32_t face, int32_t corner)
{
    return Model3_PositionAt(m, m->faces[(size_t)face].corners[corner][QVL::CORNER_POS]);
}

// The one-quad model of the drive tests: 4 positions and UVs, one normal, one colour.
ModelPtr OneQuad(float size = 1)
{
    ModelPtr m(NewRecord());
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        const float x = (i == 1 || i == 2) ? size : 0, y = i >= 2 ? size : 0;
        AddVertex(m.get(), x, y, 0, uv[i][0], uv[i][1]);
    }
    AddFace(m.get(), {0, 1, 2, 3});
    for (int c = 0; c < 4; ++c) m->faces[0].corners[c][QVL::CORNER_COLOR] = 0;
    m->colorCount = 1;
    m->colors.resize(1);
    return m;
}

bool SameXYZ(const QVL::XYZ& a, float x, float y, float z) { return a.x == x && a.y == y && a.z == z; }

} // namespace

// ---- split

TEST(PolySplit, ASquareBecomesFourFacesMeetingAtItsCentre)
{
    ModelPtr m = OneQuad(2);
    m->faces[0].group = 5;
    LocalSel sel(16, 1);
    sel.f[0] = 1;
    const POLY_SPLIT_RESULT r = PolyMesh_SplitFaces(m.get(), sel.s);
    EXPECT_EQ(1, r.split);
    EXPECT_FALSE(r.otherCorners);
    ASSERT_EQ(4, m->faceCount);
    EXPECT_EQ(20, m->positionCount);
    EXPECT_EQ(17, m->colorCount);
    EXPECT_EQ(20, m->uvCount);
    const float want[4][4][2] = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}},
                                 {{1, 0}, {2, 0}, {2, 1}, {1, 1}},
                                 {{1, 1}, {2, 1}, {2, 2}, {1, 2}},
                                 {{0, 1}, {1, 1}, {1, 2}, {0, 2}}};
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(0, m->faces[f].group);
        EXPECT_EQ(1, sel.f[f]);
        for (int c = 0; c < 4; ++c)
            EXPECT_TRUE(SameXYZ(P(m.get(), f, c), want[f][c][0], want[f][c][1], 0)) << f << " " << c;
    }
    const QVL::UV2 centre = Model3_UVAt(m.get(), m->faces[0].corners[2][QVL::CORNER_UV]);
    EXPECT_EQ(0.5f, centre.u);
    EXPECT_EQ(0.5f, centre.v);
    // No two corners share an entry.
    for (int k = 0; k < 16; ++k) EXPECT_EQ(4 + k, m->faces[k / 4].corners[k % 4][QVL::CORNER_POS]);
}

TEST(PolySplit, OtherFacesStayAndTheLaterOnesMoveDown)
{
    ModelPtr m(NewRecord());
    for (int i = 0; i < 8; ++i) AddVertex(m.get(), (float)(i % 4), (float)(i / 4), 0);
    AddFace(m.get(), {0, 1, 2});          // selected triangle: passed over
    AddFace(m.get(), {0, 1, 5, 4});       // split
    AddFace(m.get(), {2, 3, 7, 6});       // not selected
    AddFace(m.get(), {4, 5, 6});          // selected triangle: one message only
    LocalSel sel(32, 1);
    sel.f[0] = sel.f[1] = sel.f[3] = 1;
    const POLY_SPLIT_RESULT r = PolyMesh_SplitFaces(m.get(), sel.s);
    EXPECT_TRUE(r.otherCorners);
    EXPECT_EQ(1, r.split);
    ASSERT_EQ(7, m->faceCount);
    EXPECT_EQ(3, m->faces[0].cornerCount);
    EXPECT_EQ(1, sel.f[0]);
    EXPECT_EQ(2, m->faces[1].corners[0][QVL::CORNER_POS]) << "the unselected quad moved down one place";
    EXPECT_EQ(0, sel.f[1]);
    EXPECT_EQ(3, m->faces[2].cornerCount);
    EXPECT_EQ(1, sel.f[2]);
    for (int f = 3; f < 7; ++f) EXPECT_EQ(1, sel.f[f]);
}

TEST(PolySplit, PastTheLimitsNothingChanges)
{
    ModelPtr m = OneQuad();
    const std::vector<uint8_t> before = SaveBytes(m.get());
    struct Case { int32_t maxPolygons; int32_t maxVertices; };
    // Faces: 1 + 3 > 3; entries: 4 + 16 > 19.
    for (const Case c : {Case{3, 64}, Case{16, 19}}) {
        SCOPED_TRACE(c.maxPolygons);
        LocalSel sel(c.maxPolygons, 1);
        sel.s.maxVertices = c.maxVertices;
        sel.f[0] = 1;
        EXPECT_TRUE(PolyMesh_SplitFaces(m.get(), sel.s).refused);
        EXPECT_EQ(before, SaveBytes(m.get()));
        EXPECT_EQ(1, sel.f[0]);
    }
}

TEST(PolySplit, TheFinalCountMayReachTheLimit)
{
    ModelPtr m = OneQuad();
    LocalSel sel(16, 1);
    sel.s.maxPolygons = 4;   // 1 + 3 faces: exactly the limit
    sel.f[0] = 1;
    EXPECT_EQ(1, PolyMesh_SplitFaces(m.get(), sel.s).split);
    EXPECT_EQ(4, m->faceCount);
    for (int f = 0; f < 4; ++f) EXPECT_EQ(1, sel.f[f]);
}

// The split with the normals recomputed after every face (the face removed each time) gives the
// same file as the split that computes them once.
TEST(PolySplit, NormalsOnceAtTheEndGiveTheSameBytes)
{
    const int32_t saved = g_StudioFlag;
    for (int32_t studio : {0, 1}) {
        SCOPED_TRACE(studio);
        g_StudioFlag = studio;
        ModelPtr once(NewRecord()), each(NewRecord());
        MakeQuadGrid(once.get(), 3, 2);
        MakeQuadGrid(each.get(), 3, 2);
        // Bend the grid so that the normals differ between faces.
        for (MODEL3* m : {once.get(), each.get()})
            for (int32_t p = 0; p < m->positionCount; ++p) m->positions[(size_t)p].z = 0.1f * (float)(p % 5);
        LocalSel a(64, 1), b(64, 1);
        for (int f = 0; f < 6; f += 2) a.f[f] = b.f[f] = 1;
        PolyMesh_SplitFaces(once.get(), a.s);
        Model3_CalcNormals(once.get());
        for (int32_t j = 0, bound = 6; j < bound;) {
            if (!b.f[j]) {
                ++j;
                continue;
            }
            LocalSel one(64, 1);
            one.f[j] = 1;
            PolyMesh_SplitFaces(each.get(), one.s);   // appends four, removes j
            for (int k = 0; k < 64; ++k) b.f[k] = k < j ? b.f[k] : (k + 1 < 64 ? b.f[k + 1] : 0);
            --bound;
            Model3_CalcNormals(each.get());
        }
        EXPECT_EQ(SaveBytes(once.get()), SaveBytes(each.get()));
    }
    g_StudioFlag = saved;
}

// ---- extrusion

TEST(PolyExtrude, AQuadRisesAQuarterAlongItsNormalAtZoomOne)
{
    ModelPtr m = OneQuad();
    LocalSel sel(16, 1);
    sel.f[0] = 1;
    for (int p = 0; p < 4; ++p) sel.v[p] = 1;
    const POLY_EXTRUDE_RESULT r = PolyMesh_ExtrudeFaces(m.get(), sel.s, 1.0f);
    EXPECT_EQ(1, r.extruded);
    EXPECT_EQ(8, m->positionCount);
    ASSERT_EQ(5, m->faceCount);
    // (1,0,0) x (0,1,0) = +z.
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(4 + c, m->faces[0].corners[c][QVL::CORNER_POS]);
        EXPECT_EQ(0.25f, P(m.get(), 0, c).z);
        EXPECT_EQ(0, sel.v[c]) << "the old positions are deselected";
    }
    EXPECT_EQ(1, sel.f[0]);
    // Side face k: old k, old k+1, new k+1, new k.
    const int32_t side1[4] = {1, 2, 6, 5};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(side1[c], m->faces[2].corners[c][QVL::CORNER_POS]);
    EXPECT_EQ(0, sel.f[1]);
    // Zoom 4: a sixteenth.
    ModelPtr z = OneQuad();
    LocalSel sel4(16, 1);
    sel4.f[0] = 1;
    PolyMesh_ExtrudeFaces(z.get(), sel4.s, 4.0f);
    EXPECT_EQ(0.0625f, P(z.get(), 0, 0).z);
}

TEST(PolyExtrude, FacesWithoutAreaOrFewCornersArePassedOver)
{
    ModelPtr m(NewRecord());
    AddVertex(m.get(), 0, 0, 0);
    AddVertex(m.get(), 1, 0, 0);
    AddVertex(m.get(), 2, 0, 0);
    AddVertex(m.get(), 0, 1, 0);
    AddFace(m.get(), {0, 1, 2});   // on one line: no normal
    AddFace(m.get(), {0, 1});      // two corners
    AddFace(m.get(), {0, 1, 3});   // a triangle: three sides
    m->faces[1].cornerCount = 2;
    LocalSel sel(16, 1);
    sel.f[0] = sel.f[1] = sel.f[2] = 1;
    const POLY_EXTRUDE_RESULT r = PolyMesh_ExtrudeFaces(m.get(), sel.s, 1.0f);
    EXPECT_EQ(1, r.skipped);
    EXPECT_EQ(1, r.extruded);
    EXPECT_EQ(7, m->positionCount);
    EXPECT_EQ(6, m->faceCount);
    for (int32_t p = 0; p < m->positionCount; ++p) {
        const QVL::XYZ q = m->positions[(size_t)p];
        EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z)) << p;
    }
    // Zoom 0 would divide by zero: nothing moves.
    ModelPtr q = OneQuad();
    LocalSel s0(16, 1);
    s0.f[0] = 1;
    EXPECT_EQ(0, PolyMesh_ExtrudeFaces(q.get(), s0.s, 0.0f).extruded);
    EXPECT_EQ(4, q->positionCount);
}

TEST(PolyExtrude, PastTheFaceLimitNothingChanges)
{
    ModelPtr m = OneQuad();
    const std::vector<uint8_t> before = SaveBytes(m.get());
    LocalSel sel(4, 1);   // 1 + 4 side faces > 4
    sel.f[0] = 1;
    EXPECT_TRUE(PolyMesh_ExtrudeFaces(m.get(), sel.s, 1.0f).refused);
    EXPECT_EQ(before, SaveBytes(m.get()));
}

TEST(PolyExtrude, AVertexMovesOnceByTheNormalOfItsFirstCorner)
{
    ModelPtr m(NewRecord());
    for (int i = 0; i < 4; ++i) AddVertex(m.get(), (float)i, 0, 0);
    m->normals = {QVL::XYZ{0, 0, 1}, QVL::XYZ{0, 1, 0}};
    m->normalCount = 2;
    AddFace(m.get(), {0, 1, 2});
    AddFace(m.get(), {1, 2, 3});
    for (int c = 0; c < 3; ++c) m->faces[1].corners[c][QVL::CORNER_NORMAL] = 1;
    LocalSel sel(8, 0);
    sel.v[1] = sel.v[3] = 1;
    PolyMesh_ExtrudeVertices(m.get(), sel.s);
    EXPECT_TRUE(SameXYZ(m->positions[1], 1, 0, 1));
    EXPECT_TRUE(SameXYZ(m->positions[3], 3, 1, 0));
    EXPECT_TRUE(SameXYZ(m->positions[2], 2, 0, 0));
}

// ---- face creation, free polygon

TEST(PolyCreateFace, ThreeOrFourDistinctSelectedPositionsMakeAFace)
{
    ModelPtr m(NewRecord());
    for (int i = 0; i < 6; ++i) AddVertex(m.get(), (float)i, (float)(i % 2), 0);
    AddFace(m.get(), {0, 1, 2, 3});
    AddFace(m.get(), {2, 3, 4, 5});
    m->faces[0].corners[2][QVL::CORNER_UV] = 9;   // corner data are copied as met
    struct Case { std::vector<int> selected; int32_t corners; int32_t faces; };
    const Case cases[] = {
        {{3, 2, 1}, 3, 3},
        {{1, 2, 3, 4}, 4, 3},
        {{0, 1, 2, 3, 4}, 5, 2},
        {{0, 1}, 2, 2},
    };
    for (const Case& c : cases) {
        ModelPtr copy(NewRecord());
        Model3_CopyRecord(m.get(), copy.get(), true);
        const size_t listSize = copy->faces.size();
        LocalSel sel(16, 0);
        for (int p : c.selected) sel.v[p] = 1;
        const POLY_CREATE_RESULT r = PolyMesh_CreateFace(copy.get(), sel.s, 0);
        EXPECT_EQ(c.corners, r.corners);
        EXPECT_EQ(c.faces, copy->faceCount);
        if (c.faces == 2) {
            EXPECT_EQ(listSize, copy->faces.size()) << "a refused face leaves the list as it was";
        }
    }
    LocalSel sel(16, 0);
    sel.v[1] = sel.v[2] = sel.v[3] = 1;
    PolyMesh_CreateFace(m.get(), sel.s, 0);
    const QVL::FACE3& f = m->faces[2];
    ASSERT_EQ(3, f.cornerCount);
    EXPECT_EQ(1, f.corners[0][QVL::CORNER_POS]);
    EXPECT_EQ(2, f.corners[1][QVL::CORNER_POS]);
    EXPECT_EQ(9, f.corners[1][QVL::CORNER_UV]);
    EXPECT_EQ(3, f.corners[2][QVL::CORNER_POS]);
}

TEST(PolyFreePolygon, PointsBecomeAWhiteFaceSharingOneWhiteEntry)
{
    ModelPtr m = OneQuad();
    m->colors[0] = QVL::RGBA{200, 200, 200, 255};
    LocalSel sel(16, 0);
    const float pts[4][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {0, 0, 0}};
    const float pan[3] = {10, 20, 30};
    ASSERT_TRUE(PolyMesh_AddFreePolygon(m.get(), sel.s, pts, 1, pan, 0));
    EXPECT_EQ(2, m->faceCount);
    EXPECT_EQ(1, m->faces[1].cornerCount);
    EXPECT_TRUE(SameXYZ(P(m.get(), 1, 0), 11, 22, -27));
    EXPECT_EQ(2, m->colorCount);
    EXPECT_EQ(1, sel.v[4]);
    ASSERT_TRUE(PolyMesh_AddFreePolygon(m.get(), sel.s, pts, 3, pan, 0));
    EXPECT_EQ(2, m->colorCount) << "the white entry is shared";
    EXPECT_EQ(8, m->positionCount);
    EXPECT_EQ(8, m->uvCount);
    EXPECT_EQ(1, m->faces[2].corners[2][QVL::CORNER_COLOR]);
    // Full: refused.
    LocalSel full(3, 1);
    EXPECT_FALSE(PolyMesh_AddFreePolygon(m.get(), full.s, pts, 3, pan, 0));
    EXPECT_EQ(3, m->faceCount);
}

// ---- primitives and model files

TEST(PolyPrimitive, AddedAtZoomTimesAQuarterAboutThePanPoint)
{
    ModelPtr src = OneQuad(4);
    ModelPtr m = OneQuad();
    LocalSel sel(16, 1);
    const float pan[3] = {1, 2, 3};
    ASSERT_TRUE(PolyMesh_AddPrimitive(m.get(), sel.s, src.get(), 4.0f, pan, 0));
    EXPECT_EQ(2, m->faceCount);
    EXPECT_TRUE(SameXYZ(P(m.get(), 1, 0), 1, 2, 3));
    EXPECT_TRUE(SameXYZ(P(m.get(), 1, 2), 5, 6, 3));
    EXPECT_EQ(1, sel.f[1]);
    EXPECT_EQ(1, m->weights[4].boneA);
    EXPECT_EQ(1.0f, m->weights[4].weightA);
    LocalSel full(16, 1);
    full.s.maxVertices = 9;
    EXPECT_FALSE(PolyMesh_AddPrimitive(m.get(), full.s, src.get(), 1.0f, pan, 0));
    EXPECT_EQ(2, m->faceCount);
}

TEST(PolyPrimitive, TheDataFilesAreClosedShapesFacingOutward)
{
    const char* names[] = {u8"３角形", u8"４角形", u8"立方体", u8"球", u8"円柱", u8"円錐"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes;
        const std::string path = std::string(QV_SOURCE_DIR) + u8"/data/System/プリミティブ/" + name + ".QVP";
        ASSERT_TRUE(QVL::File_ReadAll(path.c_str(), bytes));
        ModelPtr m(NewRecord());
        ASSERT_TRUE(Qvp_ReadBytes(m.get(), bytes.data(), bytes.size(), 2009000, path.c_str()));
        ASSERT_GT(m->faceCount, 0);
        for (int32_t f = 0; f < m->faceCount; ++f) {
            const QVL::XYZ n = Model3_NormalAt(m.get(), m->faces[(size_t)f].corners[0][QVL::CORNER_NORMAL]);
            QVL::XYZ c{0, 0, 0};
            for (int k = 0; k < m->faces[(size_t)f].cornerCount; ++k) {
                const QVL::XYZ p = P(m.get(), f, k);
                EXPECT_LE(std::fabs(p.x), 2.0001f);
                c.x += p.x, c.y += p.y, c.z += p.z;
            }
            const float out = m->faceCount == 1 ? -n.z : n.x * c.x + n.y * c.y + n.z * c.z;
            EXPECT_GT(out, 0.0f) << "face " << f;
        }
    }
}

TEST(PolyAddModel, GroupsAndTexturesFollowTheModelsOwn)
{
    ModelPtr m = OneQuad(), src = OneQuad();
    m->groupCount = 5;
    m->textureCount = 2;
    src->groupCount = 2;
    src->textureCount = 3;
    src->groups[1].texture = 2;
    src->faces[0].group = 1;
    src->weights[2] = QVL::WEIGHT3{7, 3, 0.25f, 0};
    std::strcpy(src->textures[2].file, "b.bmp");
    LocalSel sel(16, 1);
    ASSERT_EQ(ADD_DONE, PolyMesh_AddModel(m.get(), sel.s, src.get()));
    EXPECT_EQ(7, m->groupCount);
    EXPECT_EQ(5, m->textureCount);
    EXPECT_EQ(4, m->groups[6].texture);
    EXPECT_STREQ("b.bmp", m->textures[4].file);
    EXPECT_EQ(6, m->faces[1].group);
    EXPECT_EQ(7, m->weights[6].boneA) << "the weights come with the positions";
    EXPECT_EQ(0.25f, m->weights[6].weightA);
    EXPECT_EQ(1, sel.v[7]);
    EXPECT_EQ(1, sel.f[1]);
}

TEST(PolyAddModel, PastTheGroupOrTextureListsNothingChanges)
{
    struct Case { int32_t groups; int16_t textures; POLY_ADD_RESULT result; };
    const Case cases[] = {
        {255, 2, ADD_TOO_MANY_GROUPS},   // 255 + 2 groups
        {5, 254, ADD_TOO_MANY_TEXTURES}, // 254 + 3 entries: the last at 256
        {5, 253, ADD_DONE},              // the last at 255
    };
    for (const Case& c : cases) {
        ModelPtr m = OneQuad(), src = OneQuad();
        m->groupCount = c.groups;
        m->textureCount = c.textures;
        src->groupCount = 2;
        src->textureCount = 3;
        const std::vector<uint8_t> before = SaveBytes(m.get());
        LocalSel sel(16, 1);
        EXPECT_EQ(c.result, PolyMesh_AddModel(m.get(), sel.s, src.get()));
        if (c.result != ADD_DONE) {
            EXPECT_EQ(before, SaveBytes(m.get()));
            EXPECT_EQ(1, m->faceCount);
        }
    }
}
