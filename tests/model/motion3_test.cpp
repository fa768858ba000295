// Motion evaluation: the key search and interpolation of a bone, the matrices of a three-bone arm,
// motion selection and the guards against parents, quaternions and IDs that do not hold together.
#include <cmath>

#include "model/gpu_data.h"
#include "model/model_expect.h"
#include "model/motion3.h"

namespace {

class Motion3 : public ModelTest {
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
    // A model in the table with render data, animated, `bones` bones all on the root.
    MODEL3* Animated(int32_t bones, int32_t* idOut = nullptr)
    {
        int32_t id = Model3_Create();
        MODEL3* m = Model3_GetById(id);
        Gpu_InitModelRes(Gpu_EnsureModelRes(id), id);
        Gpu_ResizeModelRes(Gpu_GetModelRes(id));
        m->boneCount = bones;
        m->animated = 1;
        if (idOut) *idOut = id;
        return m;
    }
};

KEY3 Key(int32_t frame, float x)
{
    KEY3 k;
    Key3_Default(&k);
    k.frame = frame;
    k.translation[0] = x;
    return k;
}

// A rotation about Z as the engine's quaternions hold it.
KEY3 TurnZ(float degrees)
{
    KEY3 k;
    Key3_Default(&k);
    const double h = degrees * 3.14159265358979 / 360.0;
    k.rotation[2] = (float)std::sin(h);
    k.rotation[3] = (float)std::cos(h);
    return k;
}

struct KeyCase {
    const char* name;
    std::vector<int32_t> frames;
    std::vector<float> values;
    int32_t length;
    uint8_t loop;
    int32_t frame;
    int32_t index;
    float fraction;
    float x;
};

TEST_F(Motion3, KeyEvaluationTable)
{
    // Values by the uniform Catmull-Rom 0.5 (2 p1 + (p2 - p0) t + (2 p0 - 5 p1 + 4 p2 - p3) t^2 +
    // (3 p1 - p0 - 3 p2 + p3) t^3), with the neighbours each case names.
    const KeyCase cases[] = {
        // prev = 1, next = 1, next2 = 0: (10, 0, 10, 0) at 0.5.
        {"between keys", {0, 30}, {0, 10}, 60, 1, 15, 0, 0.5f, 5.0f},
        {"on a key", {0, 30}, {0, 10}, 60, 1, 30, 1, 0.0f, 10.0f},
        {"on the first key", {0, 30}, {0, 10}, 60, 1, 0, 0, 0.0f, 0.0f},
        // Past the last key the span runs to the first key one length later: (0, 10, 0, 10) at 0.5.
        {"after the last, looping", {0, 30}, {0, 10}, 60, 1, 45, 1, 0.5f, 5.0f},
        // Not looping, next and next2 are the last key: (0, 10, 10, 10) at 0.5.
        {"after the last, held", {0, 30}, {0, 10}, 60, 0, 45, 1, 0.5f, 10.625f},
        // (60 + 5 - 50) / (60 + 10 - 50); (0, 8, 0, 8) at 0.75.
        {"before the first", {10, 50}, {0, 8}, 60, 1, 5, 1, 0.75f, 1.25f},
        {"one key", {20}, {7}, 60, 1, 45, 0, 0.0f, 7.0f},
        {"no keys", {}, {}, 60, 1, 45, 0, 0.0f, 0.0f},
        // Held at the length with a key there: the span to the first key is 0.
        {"span of zero", {0, 60}, {0, 4}, 60, 0, 60, 1, 0.0f, 4.0f},
        {"two keys on one frame", {0, 20, 20}, {0, 3, 6}, 60, 0, 20, 2, 0.0f, 6.0f},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        MODEL3* m = Animated(2);
        m->motions[0].length = c.length;
        m->motions[0].loop = c.loop;
        std::vector<KEY3>& keys = m->bones[1].keys[0];
        keys.clear();
        for (size_t i = 0; i < c.frames.size(); ++i) keys.push_back(Key(c.frames[i], c.values[i]));
        m->currentFrame = c.frame;
        m->bones[1].keyIndex = 99;   // the search sets it wherever the rules decide
        Motion3_UpdateKeyIndex(m);
        EXPECT_EQ(c.index, m->bones[1].keyIndex);
        EXPECT_FLOAT_EQ(c.fraction, m->bones[1].fraction);
        Motion3_InterpolateBone(m, 1, m->bones[1].keyIndex, m->bones[1].fraction);
        EXPECT_FLOAT_EQ(c.x, m->bones[1].joint[0]);
        Model3_Release(m->id);
    }
}

TEST_F(Motion3, ThreeBoneArmChainMatchesHandValues)
{
    int32_t id;
    MODEL3* m = Animated(4, &id);
    // Shoulder at (1, 0, 0), elbow at (3, 0, 0), wrist at (4, 0, 0); shoulder and elbow turn 90
    // degrees about Z, which takes (1, 0, 0) to (0, -1, 0) for row vectors.
    const float rest[4][3] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 0, 0}};
    const float turn[4] = {0, 90, 90, 0};
    for (int b = 0; b < 4; ++b) {
        m->bones[b].parent = b == 0 ? 0 : b - 1;
        for (int k = 0; k < 3; ++k) m->bones[b].rest.translation[k] = rest[b][k];
        m->bones[b].keys[0].assign(1, TurnZ(turn[b]));
    }
    ASSERT_TRUE(Motion3_BuildRestMatrices(m, id));
    ASSERT_TRUE(Motion3_BuildPoseMatrices(m, id));

    const float restJoint[4][3] = {{0, 0, 0}, {1, 0, 0}, {3, 0, 0}, {4, 0, 0}};
    // joint(b) = joint(parent) + (rest(b) - rest(parent)) turned by the parent's own rotation.
    const float posed[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, -2, 0}, {1, -3, 0}};
    for (int b = 0; b < 4; ++b) {
        SCOPED_TRACE(b);
        VEC3 r, p;
        Motion3_GetBoneRestPosition(&r, id, b);
        Motion3_GetBonePosition(&p, id, b);
        EXPECT_NEAR(restJoint[b][0], r.x, 1e-6);
        EXPECT_NEAR(restJoint[b][1], r.y, 1e-6);
        EXPECT_NEAR(posed[b][0], p.x, 1e-6);
        EXPECT_NEAR(posed[b][1], p.y, 1e-6);
        EXPECT_NEAR(posed[b][2], p.z, 1e-6);
    }
    // Chains: the shoulder turns by 90, the elbow and the wrist by 180 (x and y negated).
    const float chainXX[4] = {1, 0, -1, -1}, chainXY[4] = {0, -1, 0, 0};
    for (int b = 0; b < 4; ++b) {
        SCOPED_TRACE(b);
        MATRIX c;
        Motion3_GetBoneChainMatrix(&c, id, b);
        EXPECT_NEAR(chainXX[b], c.m[0][0], 1e-6);
        EXPECT_NEAR(chainXY[b], c.m[0][1], 1e-6);
        EXPECT_NEAR(chainXX[b], c.m[1][1], 1e-6);
        EXPECT_NEAR(1.0f, c.m[2][2], 1e-6);
        // The rotation record is the whole chain's rotation.
        QUAT q;
        Motion3_GetBoneRotation(&q, id, b);
        MATRIX fromRecord;
        Math_QuatToMatrix(&fromRecord, q);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) EXPECT_NEAR(c.m[i][j], fromRecord.m[i][j], 1e-6) << i << j;
    }
    // The wrist's pose carries a point one unit past its rest joint to one unit past its posed joint.
    MATRIX pose;
    Motion3_GetBonePoseMatrix(&pose, id, 3);
    VEC3 v;
    Math_TransformPoint(&v, 5.0f - 4.0f, 0, 0, pose);
    EXPECT_NEAR(2.0f, v.x, 1e-6);
    EXPECT_NEAR(-3.0f, v.y, 1e-6);
}

TEST_F(Motion3, SelectSetsTheFlagAndRestartsOnlyAnotherMotion)
{
    MODEL3* m = Animated(2);
    Motion3_ResizeList(m->motions, 2);
    m->animated = 0;
    m->currentFrame = 12;
    m->wrapped = 1;
    EXPECT_FALSE(Motion3_Select(m, 0));   // already current
    EXPECT_EQ(1, m->animated);
    EXPECT_EQ(12, m->currentFrame);
    EXPECT_FALSE(Motion3_Select(m, 2));   // past the list
    EXPECT_FALSE(Motion3_Select(m, -1));
    EXPECT_EQ(0, m->currentMotion);
    EXPECT_TRUE(Motion3_Select(m, 1));
    EXPECT_EQ(1, m->currentMotion);
    EXPECT_EQ(0, m->currentFrame);
    EXPECT_EQ(0, m->wrapped);
    EXPECT_FALSE(Motion3_Select(nullptr, 0));
}

TEST_F(Motion3, RootJointDoesNotDriftAndZeroQuaternionIsNoTurn)
{
    int32_t id;
    MODEL3* m = Animated(2, &id);
    m->bones[0].keys[0].assign(1, Key(0, 2.0f));
    KEY3 zero = Key(0, 0.0f);
    zero.rotation[3] = 0.0f;
    m->bones[1].keys[0].assign(1, zero);
    m->bones[1].rest.translation[1] = 1.0f;
    Motion3_BuildRestMatrices(m, id);
    for (int pass = 0; pass < 3; ++pass) ASSERT_TRUE(Motion3_BuildPoseMatrices(m, id));
    EXPECT_EQ(2.0f, m->bones[0].joint[0]);
    EXPECT_EQ(2.0f, m->bones[1].joint[0]);
    EXPECT_EQ(1.0f, m->bones[1].joint[1]);
    EXPECT_EQ(1.0f, m->bones[1].poseRotation[3]);
    MATRIX root;
    Motion3_GetBonePoseMatrix(&root, id, 0);
    EXPECT_EQ(1.0f, root.m[0][0]);
    EXPECT_EQ(0.0f, root.m[3][0]);   // the root's pose stays at the origin
}

TEST_F(Motion3, ParentsNotBelowTheBoneHangOnTheRoot)
{
    int32_t id;
    MODEL3* m = Animated(3, &id);
    // Bone 1 names bone 2 as parent and bone 2 names itself: a loop a walk would follow forever.
    m->bones[1].parent = 2;
    m->bones[2].parent = 2;
    m->bones[1].rest.translation[0] = 1.0f;
    m->bones[2].rest.translation[0] = 5.0f;
    ASSERT_TRUE(Motion3_BuildRestMatrices(m, id));
    ASSERT_TRUE(Motion3_BuildPoseMatrices(m, id));
    VEC3 r1, r2;
    Motion3_GetBoneRestPosition(&r1, id, 1);
    Motion3_GetBoneRestPosition(&r2, id, 2);
    EXPECT_EQ(1.0f, r1.x);
    EXPECT_EQ(5.0f, r2.x);
    EXPECT_EQ(5.0f, m->bones[2].joint[0]);
    EXPECT_EQ(-1, Motion3_EvalParent(m, 0));
    EXPECT_EQ(0, Motion3_EvalParent(m, 1));
}

TEST_F(Motion3, AccessorsOutsideTheTablesGiveIdentityAndWriteNothing)
{
    int32_t id;
    MODEL3* m = Animated(2, &id);
    MATRIX out;
    out.m[0][0] = 7;
    for (int32_t bad : {-1, 128, 100000}) {
        Motion3_GetBonePoseMatrix(&out, id, bad);
        EXPECT_EQ(1.0f, out.m[0][0]);
        Motion3_GetBoneChainMatrix(&out, id + 50, 0);
        EXPECT_EQ(1.0f, out.m[1][1]);
        VEC3 v{9, 9, 9};
        Motion3_GetBonePosition(&v, bad, 0);
        EXPECT_EQ(0.0f, v.x);
        const float junk[16] = {5};
        Motion3_SetBonePoseMatrix(id, bad, junk);
        QUAT q;
        Motion3_GetBoneRotation(&q, bad, 0);
        EXPECT_EQ(1.0f, q.w);
    }
    // A current motion past a bone's key lists is a bone without keys.
    m->currentMotion = 5;
    EXPECT_TRUE(Motion3_BuildPoseMatrices(m, id));
    EXPECT_EQ(0.0f, m->bones[1].joint[0]);
    m->animated = 0;
    EXPECT_FALSE(Motion3_BuildPoseMatrices(m, id));
    EXPECT_FALSE(Motion3_BuildRestMatrices(nullptr, id));
}

TEST_F(Motion3, GroupTracksGetKeyIndicesByTheSameRules)
{
    MODEL3* m = Animated(1);
    GROUP_TRACK3& t = m->motions[0].tracks[3];
    t.keyCount = 2;
    t.keys[0].frame = 0;
    t.keys[1].frame = 30;
    m->currentFrame = 45;
    Motion3_UpdateKeyIndex(m);
    EXPECT_EQ(1, t.keyIndex);
    EXPECT_FLOAT_EQ(0.5f, t.fraction);
    t.keyCount = 500;   // more than a track holds: only its 16 are searched
    for (int i = 2; i < kModel3GroupKeys; ++i) t.keys[i].frame = 40;
    Motion3_UpdateKeyIndex(m);
    EXPECT_EQ(kModel3GroupKeys - 1, t.keyIndex);
}

} // namespace
