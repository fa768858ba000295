// Scene objects: slot reuse, getters and setters, and world matrices from Euler angles or quaternions.
#include <cmath>

#include <gtest/gtest.h>

#include "model/scene_object.h"

namespace {

class SceneObject : public ::testing::Test {
protected:
    void SetUp() override { Object_FreeTable(); }
    void TearDown() override { Object_FreeTable(); }
};

QVL::VEC3 Apply(int32_t id, float x, float y, float z)
{
    QVL::VEC3 out;
    Math_TransformPoint(&out, x, y, z, Object_GetXform(id)->world);
    return out;
}

TEST_F(SceneObject, CreateReusesTheFirstInactiveSlotAndResetsIt)
{
    EXPECT_EQ(0, ObjectCreate());
    EXPECT_EQ(1, ObjectCreate());
    EXPECT_EQ(2, ObjectCreate());
    EXPECT_EQ(3, ObjectCreate());
    QVL::OBJECT* o = Object_GetById(1);
    Object_SetPosition(o, 1, 2, 3);
    Object_SetScale(o, 2, 2, 2);
    Object_SetQuaternion(o, 0, 1, 0, 0);
    o->modelId = 7;
    o->cullTest = 1;
    ASSERT_EQ(o, Object_Delete(1));
    EXPECT_EQ(0, o->active);
    EXPECT_EQ(1, ObjectCreate());
    EXPECT_EQ(1, o->active);
    EXPECT_EQ(1, o->modelId);
    EXPECT_EQ(0.0f, o->position[0]);
    EXPECT_EQ(1.0f, o->scale[2]);
    EXPECT_EQ(1.0f, o->quaternion[3]);
    EXPECT_EQ(0.0f, o->quaternion[1]);
    EXPECT_EQ(1, o->cullTest);   // kept by a reused slot
    // The reused transform record still says quaternion: the (identity) quaternion places it.
    EXPECT_EQ(1, Object_GetXform(1)->useQuaternion);
    Object_SetRotation(o, 0, 0, 90);
    EXPECT_EQ(0, Object_GetXform(1)->useQuaternion);
}

TEST_F(SceneObject, GettersAndSettersRefuseWhatIsNotThere)
{
    EXPECT_EQ(0, Object_Count());
    EXPECT_EQ(nullptr, Object_GetById(0));
    ObjectCreate();
    EXPECT_EQ(nullptr, Object_GetById(-1));
    EXPECT_EQ(nullptr, Object_GetById(Object_Count()));
    EXPECT_EQ(nullptr, Object_Delete(5));
    EXPECT_FALSE(Object_SetPosition(nullptr, 0, 0, 0));
    EXPECT_FALSE(Object_SetRotation(nullptr, 0, 0, 0));
    EXPECT_FALSE(Object_SetQuaternion(nullptr, 0, 0, 0, 1));
    EXPECT_FALSE(Object_SetScale(nullptr, 1, 1, 1));
    EXPECT_FALSE(Object_SetVisible(nullptr, 0));
    EXPECT_TRUE(Object_SetVisible(Object_GetById(0), 0));
    EXPECT_EQ(0, Object_GetById(0)->visible);
    Object_UpdateWorldMatrix(9);   // nothing there: nothing happens
}

TEST_F(SceneObject, TheTransformTableBoundsTheObjects)
{
    for (int i = 0; i < kObjectMax; ++i) ASSERT_EQ(i, ObjectCreate());
    EXPECT_EQ(-1, ObjectCreate());
    Object_Delete(100);
    EXPECT_EQ(100, ObjectCreate());
}

struct WorldCase {
    const char* name;
    float rotation[3];
    float point[3];
    float expect[3];
};

TEST_F(SceneObject, EulerWorldMatrixTurnsAsTheEngineDoes)
{
    // Rotation x turns about Y, rotation y about X, rotation z about Z by the negated angle; then
    // scale 2 and the position (10, 0, 0).
    const WorldCase cases[] = {
        {"x 90 about Y", {90, 0, 0}, {1, 0, 0}, {10, 0, -2}},
        {"y 90 about X", {0, 90, 0}, {0, 1, 0}, {10, 0, 2}},
        {"z 90 about Z, negated", {0, 0, 90}, {1, 0, 0}, {10, -2, 0}},
    };
    int32_t id = ObjectCreate();
    for (const WorldCase& c : cases) {
        QVL::OBJECT* o = Object_GetById(id);
        Object_SetRotation(o, c.rotation[0], c.rotation[1], c.rotation[2]);
        Object_SetScale(o, 2, 2, 2);
        Object_SetPosition(o, 10, 0, 0);
        Object_UpdateWorldMatrix(id);
        QVL::VEC3 p = Apply(id, c.point[0], c.point[1], c.point[2]);
        EXPECT_NEAR(c.expect[0], p.x, 1e-5f) << c.name;
        EXPECT_NEAR(c.expect[1], p.y, 1e-5f) << c.name;
        EXPECT_NEAR(c.expect[2], p.z, 1e-5f) << c.name;
    }
}

TEST_F(SceneObject, QuaternionIsNormalisedForTheMatrixOnly)
{
    int32_t id = ObjectCreate();
    QVL::OBJECT* o = Object_GetById(id);
    // Twice the length of a quarter turn about Z.
    const float h = std::sqrt(0.5f) * 2.0f;
    Object_SetQuaternion(o, 0, 0, h, h);
    Object_SetPosition(o, 0, 0, 5);
    Object_UpdateWorldMatrix(id);
    EXPECT_EQ(h, o->quaternion[2]);
    QVL::VEC3 p = Apply(id, 1, 0, 0);
    QVL::MATRIX r;
    Math_QuatToMatrix(&r, QVL::QUAT{0, 0, std::sqrt(0.5f), std::sqrt(0.5f)});
    QVL::VEC3 q;
    Math_TransformPoint(&q, 1, 0, 0, r);
    EXPECT_NEAR(q.x, p.x, 1e-6f);
    EXPECT_NEAR(q.y, p.y, 1e-6f);
    EXPECT_NEAR(5.0f, p.z, 1e-6f);
    // A zero quaternion is the identity rotation.
    Object_SetQuaternion(o, 0, 0, 0, 0);
    Object_UpdateWorldMatrix(id);
    p = Apply(id, 1, 2, 3);
    EXPECT_EQ(1.0f, p.x);
    EXPECT_EQ(2.0f, p.y);
    EXPECT_EQ(8.0f, p.z);
}

} // namespace
