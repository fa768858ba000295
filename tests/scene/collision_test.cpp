// Collision resolution: the area and floor, box and circle walls, objects pushed apart, floors of
// the collision model, gravity; and the inputs that used to break it (one point, degenerate faces,
// object IDs past the last-face table, numbers that are not numbers).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "model/model_table.h"
#include "model/scene_object.h"
#include "scene/coli.h"
#include "scene/collision.h"
#include "support/model_builders.h"

using namespace QVL;

namespace {

struct CollisionTest : ::testing::Test {
    void SetUp() override
    {
        Object_FreeTable();
        Model3_ReleaseAll();
        Coli_Reset();
        g_Coli->active = 1;
    }
    void TearDown() override
    {
        Object_FreeTable();
        Model3_ReleaseAll();
        Coli_Free();
    }

    // An object with collision on, whose model has the radius given.
    OBJECT* Character(float x, float y, float z, float radius = 1.0f)
    {
        const int32_t model = Model3_Create();
        Model3_GetById(model)->radius = radius;
        OBJECT* o = Object_GetById(ObjectCreate());
        o->modelId = model;
        o->collisionEnabled = 1;
        o->position[0] = x;
        o->position[1] = y;
        o->position[2] = z;
        return o;
    }

    // A collision model of one square (or the faces `build` makes) with normal (0, 1, 0).
    MODEL3* Floor(float y, float half = 10.0f)
    {
        const int32_t id = Model3_Create();
        MODEL3* m = Model3_GetById(id);
        const int32_t a = AddVertex(m, -half, y, -half), b = AddVertex(m, half, y, -half);
        const int32_t c = AddVertex(m, half, y, half), d = AddVertex(m, -half, y, half);
        AddFace(m, {a, b, c, d});
        m->normals.assign(1, XYZ{0, 1, 0});
        m->normalCount = 1;
        g_Coli->modelId = id;
        return m;
    }
};

TEST_F(CollisionTest, OnePassAgainstTheAreaAndTheWalls)
{
    struct Case {
        const char* what;
        float x, z, radius;
        std::function<void(COLI&)> walls;
        float wantX, wantZ;
    } cases[] = {
        {"inside the area", 3, -4, 1, [](COLI&) {}, 3, -4},
        {"past x max", 40, 0, 1, [](COLI&) {}, 31, 0},
        {"past z min", 0, -40, 2, [](COLI&) {}, 0, -30},
        // The local point (2, 1) moved a third of a unit along the direction from the box's
        // quarter point, (1.70186, 0.85093), lies nearer the x sides: x goes to half side + radius.
        {"box edge", 2, 1, 1, [](COLI& c) { c.boxes[0] = COLI_BOX{1, 0, 0, 0, 0, 5}; c.boxCount = 1; }, 6.298142f, 1},
        {"box edge, turned 90 degrees", 2, 1, 1,
         [](COLI& c) { c.boxes[0] = COLI_BOX{1, 0, 0, 0, 90, 5}; c.boxCount = 1; }, 6.298142f, 1},
        {"box corner", 5.5f, 5.4f, 1, [](COLI& c) { c.boxes[0] = COLI_BOX{1, 0, 0, 0, 0, 5}; c.boxCount = 1; },
         6.237851f, 5.4f},
        {"box not in use", 2, 1, 1, [](COLI& c) { c.boxes[0] = COLI_BOX{0, 0, 0, 0, 0, 5}; }, 2, 1},
        // The shifted local point (-0.2333, 0) goes to the side at -radius.
        {"box of size 0", 0.1f, 0, 1, [](COLI& c) { c.boxes[0] = COLI_BOX{1, 0, 0, 0, 0, 0}; c.boxCount = 1; },
         -0.6666667f, 0},
        // L = 3 against radius 1 + 5: half the overlap.
        {"circle", 3, 0, 1, [](COLI& c) { c.circles[0] = COLI_CIRCLE{1, 0, 0, 0, 5}; c.circleCount = 1; }, 4.5f, 0},
        {"on a circle's centre", 0, 0, 1, [](COLI& c) { c.circles[0] = COLI_CIRCLE{1, 0, 0, 0, 5}; }, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        c.walls(*g_Coli);
        OBJECT* o = Character(c.x, 0, c.z, c.radius);
        Coli_ResolveObjects();
        EXPECT_NEAR(c.wantX, o->position[0], 1e-4);
        EXPECT_NEAR(c.wantZ, o->position[2], 1e-4);
        // On the floor: the floor stopped the fall, then gravity's first step.
        EXPECT_NEAR(-0.1f, o->position[1], 1e-6);
        TearDown();
    }
}

TEST_F(CollisionTest, NothingMovesWhileTheSetIsNotActive)
{
    OBJECT* o = Character(40, 5, 0);
    g_Coli->active = 0;
    Coli_ResolveObjects();
    EXPECT_EQ(40.0f, o->position[0]);
    EXPECT_EQ(5.0f, o->position[1]);
}

TEST_F(CollisionTest, TwoObjectsArePushedApartAlongTheLineBetweenThem)
{
    OBJECT* a = Character(0, 0, 0);
    OBJECT* b = Character(1.5f, 0, 0);
    Coli_ResolveObjects();
    // (1 + 1 - 1.5) x 0.1 per visit of the pair, once from each side.
    EXPECT_NEAR(-0.1f, a->collisionVelocity[0], 1e-6);
    EXPECT_NEAR(0.1f, b->collisionVelocity[0], 1e-6);
    EXPECT_EQ(0.0f, a->collisionVelocity[2]);
    EXPECT_EQ(1, a->collisionState);
    EXPECT_EQ(1, b->collisionState);
}

TEST_F(CollisionTest, TwoObjectsOnOnePointSeparateWithoutNaN)
{
    OBJECT* a = Character(2, 0, 2);
    OBJECT* b = Character(2, 0, 2);
    for (int frame = 0; frame < 30; ++frame) Coli_ResolveObjects();
    for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(std::isfinite(a->position[k]));
        ASSERT_TRUE(std::isfinite(b->position[k]));
    }
    EXPECT_GT(std::fabs(a->position[0] - b->position[0]), 0.5f);
}

TEST_F(CollisionTest, AnObjectStandsOnAFloorFace)
{
    Floor(2.0f);
    OBJECT* o = Character(1, 2.05f, 1);
    Coli_ResolveObjects();
    // Gravity's step down crosses the face at y 2; the object stands 0.1 above it along the normal.
    EXPECT_NEAR(2.1f, o->position[1], 1e-5);
    EXPECT_EQ(0, o->collisionLinks[0]);
    EXPECT_EQ(0.0f, o->collisionVelocity[1]);
    EXPECT_EQ(0, g_Coli->lastFace[o->transformIndex]);
    for (int frame = 0; frame < 20; ++frame) Coli_ResolveObjects();
    EXPECT_NEAR(2.1f, o->position[1], 0.11f);
    EXPECT_GT(o->position[1], 2.0f);
}

TEST_F(CollisionTest, AnObjectFallsUnderGravityUntilTheFloor)
{
    OBJECT* o = Character(0, 1, 0);
    Coli_ResolveObjects();
    EXPECT_NEAR(0.9f, o->position[1], 1e-6);
    EXPECT_NEAR(-0.1f, o->collisionVelocity[1], 1e-6);
    Coli_ResolveObjects();
    EXPECT_NEAR(0.7f, o->position[1], 1e-6);
    for (int frame = 0; frame < 20; ++frame) Coli_ResolveObjects();
    // The area's floor (y 0) holds it: at most one gravity step below.
    EXPECT_NEAR(-0.1f, o->position[1], 1e-6);
}

TEST_F(CollisionTest, ADegenerateFaceIsNeverStoodOn)
{
    MODEL3* m = Floor(2.0f);
    // Replace the square by a triangle whose corners lie on one line.
    m->faces.clear();
    m->faceCount = 0;
    const int32_t a = AddVertex(m, -10, 2, 0), b = AddVertex(m, 0, 2, 0), c = AddVertex(m, 10, 2, 0);
    AddFace(m, {a, b, c});
    OBJECT* o = Character(0, 2.05f, 0);
    Coli_ResolveObjects();
    EXPECT_EQ(-1, o->collisionLinks[0]);
    EXPECT_NEAR(1.95f, o->position[1], 1e-5);

    VEC3 hit{};
    EXPECT_FALSE(Coli_SegmentTriangle(VEC3{0, 3, 0}, VEC3{0, 1, 0}, VEC3{1, 2, 1}, VEC3{1, 2, 1}, VEC3{2, 2, 2}, &hit));
}

TEST_F(CollisionTest, ASegmentCrossesATriangleAtItsSurface)
{
    VEC3 hit{};
    const VEC3 p0{0, 1, 0}, p1{4, 1, 0}, p2{0, 1, 4};
    ASSERT_TRUE(Coli_SegmentTriangle(VEC3{1, 3, 1}, VEC3{1, -1, 1}, p0, p1, p2, &hit));
    EXPECT_NEAR(1.0f, hit.y, 1e-6);
    EXPECT_FALSE(Coli_SegmentTriangle(VEC3{3, 3, 3}, VEC3{3, -1, 3}, p0, p1, p2, &hit));
    EXPECT_FALSE(Coli_SegmentTriangle(VEC3{1, 3, 1}, VEC3{1, 2, 1}, p0, p1, p2, &hit));
}

TEST_F(CollisionTest, AnObjectIdPastTheLastFaceTableStillStands)
{
    Floor(2.0f);
    // Fill the table to 256 objects, then one more put there by hand: its ID has no table entry.
    for (int i = 0; i < kObjectMax; ++i) ASSERT_EQ(i, ObjectCreate());
    OBJECT* extra = Object_Construct(new OBJECT());
    extra->active = 1;
    extra->transformIndex = kObjectMax;
    extra->modelId = Model3_Create();
    Model3_GetById(extra->modelId)->radius = 1;
    extra->collisionEnabled = 1;
    extra->position[1] = 2.05f;
    g_ObjectTable.push_back(extra);
    Coli_ResolveObjects();
    EXPECT_EQ(0, extra->collisionLinks[0]);
    EXPECT_NEAR(2.1f, extra->position[1], 1e-5);
    for (int i = 0; i < kColiObjects; ++i) ASSERT_EQ(-1, g_Coli->lastFace[i]) << i;
    g_ObjectTable.pop_back();
    delete extra;
}

TEST_F(CollisionTest, ANaNPositionDoesNotSpread)
{
    OBJECT* bad = Character(NAN, 0, 0);
    OBJECT* good = Character(0.5f, 0, 0);
    bad->collisionVelocity[0] = INFINITY;
    g_Coli->boxes[0] = COLI_BOX{1, 20, 0, 20, NAN, 5};
    g_Coli->boxCount = 1;
    for (int frame = 0; frame < 5; ++frame) Coli_ResolveObjects();
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(std::isfinite(good->position[k])) << k;
        EXPECT_TRUE(std::isfinite(bad->position[k])) << k;
        EXPECT_TRUE(std::isfinite(good->collisionVelocity[k])) << k;
    }
}

TEST_F(CollisionTest, AMovingObjectIsStoppedByAWallFace)
{
    // A wall at x = 3 facing -x, two units high, standing on the floor.
    const int32_t id = Model3_Create();
    MODEL3* m = Model3_GetById(id);
    const int32_t a = AddVertex(m, 3, -1, -5), b = AddVertex(m, 3, -1, 5), c = AddVertex(m, 3, 3, 5),
                  d = AddVertex(m, 3, 3, -5);
    AddFace(m, {a, b, c, d});
    m->normals.assign(1, XYZ{-1, 0, 0});
    g_Coli->modelId = id;
    OBJECT* o = Character(0, 0.5f, 0);
    for (int frame = 0; frame < 40; ++frame) {
        o->collisionState = 1;
        o->collisionVelocity[0] = 0.5f;
        Coli_ResolveObjects();
        ASSERT_LT(o->position[0], 3.0f) << frame;
    }
    EXPECT_GT(o->position[0], 2.0f);
    EXPECT_EQ(0, g_Coli->lastFace[o->transformIndex]);
}

} // namespace
