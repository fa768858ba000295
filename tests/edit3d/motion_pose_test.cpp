// Posing on the motion screen: the rotate drag's clamp and which views act, the move in the main
// view, the children turning with their bone, keys that are missing, the IK steps, the rotation
// rings' points and the weight-coloured wire frame.
#include <cmath>
#include <string>

#include "edit3d/edit3d_fixture.h"
#include "edit3d/motion_pose.h"
#include "edit3d/motion_screen.h"
#include "shell/grid.h"
#include "shell/hierarchy.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/playback.h"
#include "support/draw_recorder.h"

namespace {

int32_t Pack(int x, int y) { return (int32_t)(((uint32_t)(uint16_t)y << 16) | (uint16_t)x); }

class MotionPoseTest : public Edit3DTest {
protected:
    int32_t savedTool = 0, savedSwitch = 0, savedPlay = 0;
    void SetUp() override
    {
        Edit3DTest::SetUp();
        g_Screen = SCREEN_3D_MOTION;
        savedTool = g_DragTool;
        savedSwitch = g_Motion3DState.switch57;
        savedPlay = g_PlayFlag;
        g_PlayFlag = 0;
        g_Motion3DState.switch57 = 0;
        for (int i = 0; i < 3; ++i) g_Lib.mouse.held[i] = 0;
        // A chain 0 - 1 - 2 - 3 with one key each at frame 0, plus bone 4 on bone 1.
        QVL::MODEL3* m = Live();
        const int32_t parents[5] = {0, 0, 1, 2, 1};
        for (int32_t i = 0; i < 5; ++i) {
            m->bones[i].parent = parents[i];
            m->bones[i].keys.assign(m->motions.size(), std::vector<QVL::KEY3>(1));
            for (auto& l : m->bones[i].keys) Key3_Default(&l[0]);
            m->bones[i].keyIndex = 0;
        }
        m->boneCount = 5;
        m->currentMotion = 0;
        m->currentFrame = 0;
        Mode_UpdateCurrent();
        List_LinkBones3D();
        g_CurBone = 2;
        DrawRec().Clear();
    }
    void TearDown() override
    {
        g_DragTool = savedTool;
        g_Motion3DState.switch57 = savedSwitch;
        g_PlayFlag = savedPlay;
        g_IkActive = 0;
        for (int i = 0; i < 3; ++i) g_Lib.mouse.held[i] = 0;
        Edit3DTest::TearDown();
    }
    QVL::KEY3& Key(int32_t bone) { return Live()->bones[bone].keys[0][0]; }
    void ViewType(int32_t type) { View_Row()[g_PickedView].type = type; }
    // A left drag of `moves` messages of (dx, dy) each.
    void Drag(int moves, float dx, float dy)
    {
        Motion3D_LButtonDown(Pack(100, 100));
        g_Lib.mouse.held[0] = 1;
        for (int i = 0; i < moves; ++i) {
            g_MouseDelta = {dx, dy};
            Motion3D_MouseMove(Pack(100 + (int)dx * (i + 1), 100 + (int)dy * (i + 1)));
        }
        g_Lib.mouse.held[0] = 0;
    }
};

TEST_F(MotionPoseTest, RotateDragInFrontStopsAtNinetyDegreesAboutZ)
{
    g_DragTool = 1;
    ViewType(VIEW_FRONT);
    Drag(40, 10, 0);  // 400 px: 120 degrees asked
    const QVL::KEY3& k = Key(2);
    EXPECT_NEAR(0.70710678f, std::fabs(k.rotation[3]), 1e-4f);
    EXPECT_NEAR(0.70710678f, std::fabs(k.rotation[2]), 1e-4f);
    EXPECT_NEAR(0.0f, k.rotation[0], 1e-6f);
    EXPECT_NEAR(0.0f, k.rotation[1], 1e-6f);
    EXPECT_FLOAT_EQ(90.0f, g_RotateAngleZ);
    EXPECT_EQ(1, g_UndoPending);
    EXPECT_STREQ("回転 ( モーション )", g_UndoCaption);
    // The children-affected flag is off: the child keeps its key.
    EXPECT_FLOAT_EQ(1.0f, Key(3).rotation[3]);
    const int32_t before = g_UndoHistories[0].last;
    Motion3D_LButtonUp(0);
    EXPECT_EQ(before + 1, g_UndoHistories[0].last);
    EXPECT_EQ(0, g_IkActive);
}

TEST_F(MotionPoseTest, PerspectiveViewAndMissedFrameChangeNothing)
{
    g_DragTool = 1;
    ViewType(VIEW_PERS);
    Drag(10, 10, 5);
    EXPECT_FLOAT_EQ(1.0f, Key(2).rotation[3]);
    // A key at another frame than the current one is not dragged.
    ViewType(VIEW_FRONT);
    Live()->currentFrame = 5;
    Key(2).frame = 0;
    Drag(10, 10, 0);
    EXPECT_FLOAT_EQ(1.0f, Key(2).rotation[3]);
    // Nor during playback.
    Live()->currentFrame = 0;
    g_PlayFlag = 1;
    Drag(10, 10, 0);
    EXPECT_FLOAT_EQ(1.0f, Key(2).rotation[3]);
}

TEST_F(MotionPoseTest, ChildrenAffectedTurnsEveryDescendantByTheSameQuaternion)
{
    g_DragTool = 1;
    g_Motion3DState.switch57 = 1;
    g_CurBone = 1;
    ViewType(VIEW_SIDE);
    Drag(5, 0, -10);  // 15 degrees about X
    QVL::QUAT q;
    Motion3D_AxisQuat(&q, 0, 15.0f);
    for (int32_t b : {1, 2, 3, 4}) {
        SCOPED_TRACE(b);
        EXPECT_NEAR(q.x, Key(b).rotation[0], 1e-5f);
        EXPECT_NEAR(q.w, Key(b).rotation[3], 1e-5f);
    }
    EXPECT_FLOAT_EQ(1.0f, Key(0).rotation[3]);
    EXPECT_EQ(1, g_CurBone);
}

TEST_F(MotionPoseTest, MoveAndScaleTables)
{
    const struct {
        int32_t tool, type, axis;
        float dx, dy;
        float t[3], s[3];
    } cases[] = {
        {0, VIEW_MAIN, 0, 10, 4, {0.3f, 0, 0}, {1, 1, 1}},
        {0, VIEW_MAIN, 1, 10, 4, {0, 0.3f, 0}, {1, 1, 1}},
        {0, VIEW_MAIN, 2, 10, 4, {0, 0, -0.7f}, {1, 1, 1}},
        {0, VIEW_FRONT, 0, 10, 4, {0.5f, -0.2f, 0}, {1, 1, 1}},
        {0, VIEW_TOP, 0, 10, 4, {0.5f, 0, -0.2f}, {1, 1, 1}},
        {0, VIEW_SIDE, 0, 10, 4, {0, -0.2f, 0.5f}, {1, 1, 1}},
        {2, VIEW_FRONT, 0, 10, 4, {0, 0, 0}, {1.1f, 0.96f, 1}},
        {2, VIEW_SIDE, 0, 10, 4, {0, 0, 0}, {1, 0.96f, 1.1f}},
        {2, VIEW_MAIN, 0, 10, 4, {0, 0, 0}, {1.06f, 1.06f, 1.06f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.tool) + " view " + std::to_string(c.type) + " axis " + std::to_string(c.axis));
        Key3_Default(&Key(2));
        g_DragTool = c.tool;
        g_GizmoAxis = c.axis;
        ViewType(c.type);
        Drag(1, c.dx, c.dy);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(c.t[k], Key(2).translation[k], 1e-5f);
            EXPECT_NEAR(c.s[k], Key(2).scale[k], 1e-5f);
        }
    }
}

TEST_F(MotionPoseTest, EmptyKeyListsAreSkippedByThePressTheDragAndTheIk)
{
    QVL::MODEL3* m = Live();
    m->bones[1].keys[0].clear();
    m->bones[2].keys[0].clear();
    g_DragTool = 1;
    ViewType(VIEW_FRONT);
    g_CurBone = 2;
    Drag(3, 10, 0);
    EXPECT_EQ(0, g_DragStartPose[1].hasKey);
    EXPECT_EQ(1, g_DragStartPose[3].hasKey);
    // The press keys the dragged bone's subtree at the frame, so its emptied list gets that key.
    EXPECT_EQ(1u, m->bones[2].keys[0].size());

    // The IK with an empty grandparent list still turns the parent.
    g_Motion3DIkChain = {1, 3, 4};
    g_IkJointScreen[3][0] = 0, g_IkJointScreen[3][1] = 0;
    g_IkJointScreen[4][0] = 0, g_IkJointScreen[4][1] = 10;
    g_IkTarget[0] = 50, g_IkTarget[1] = 50;
    g_IkActive = 1;
    Motion3D_IkStep();
    QVL::MATRIX r;
    Math_MatrixWorld(&r, 0, 0, 0, 0, -0.6f, 0, 1, 1, 1);
    QVL::QUAT q;
    Math_MatrixToQuat(&q, r);
    EXPECT_NEAR(q.x, Key(3).rotation[0], 1e-6f);
    EXPECT_NE(0.0f, Key(3).rotation[0]);
    EXPECT_TRUE(m->bones[1].keys[0].empty());
    // Inactive, or with a chain outside the skeleton, nothing turns.
    const float before = Key(3).rotation[0];
    g_IkActive = 0;
    Motion3D_IkStep();
    g_IkActive = 1;
    g_Motion3DIkChain.end = 200;
    Motion3D_IkStep();
    EXPECT_FLOAT_EQ(before, Key(3).rotation[0]);
}

TEST_F(MotionPoseTest, IkSignTable)
{
    const struct {
        float dU, dV, step;
    } distance[] = {{100, 50, 0.3f}, {100, 79, 0.3f}, {100, 80, 0}, {100, 100, 0}, {100, 120, 0}, {100, 121, -0.3f}};
    for (const auto& c : distance) {
        SCOPED_TRACE(std::to_string(c.dU) + " " + std::to_string(c.dV));
        EXPECT_FLOAT_EQ(c.step, Motion3D_IkDistanceStep(c.dU, c.dV));
    }
    const struct {
        float aU, aV, step;
    } direction[] = {{1.0f, 0.85f, 0.6f}, {1.0f, 0.95f, 0}, {1.0f, 1.0f, 0}, {1.0f, 1.05f, 0}, {1.0f, 1.15f, -0.6f},
                     {-3.0f, 3.0f, -0.6f}};
    for (const auto& c : direction) {
        SCOPED_TRACE(std::to_string(c.aU) + " " + std::to_string(c.aV));
        EXPECT_FLOAT_EQ(c.step, Motion3D_IkDirectionStep(c.aU, c.aV));
    }
    EXPECT_FLOAT_EQ(90.0f, Motion3D_AccumulateAngle(89.0f, 3.0f));
    EXPECT_FLOAT_EQ(-90.0f, Motion3D_AccumulateAngle(-89.0f, -3.0f));
    EXPECT_FLOAT_EQ(87.0f, Motion3D_AccumulateAngle(90.0f, -3.0f));
}

TEST_F(MotionPoseTest, RingPointsTable)
{
    const float p[3] = {1, 2, 3};
    const float r = 2.12132034f;
    const struct {
        int ring, i;
        float x, y, z;
    } cases[] = {
        {0, 0, 2.5f, 2, 4.5f},  {0, 4, -0.5f, 2, 4.5f}, {0, 8, -0.5f, 2, 1.5f}, {0, 2, 1, 2, 3 + r},
        {0, 16, 2.5f, 2, 4.5f}, {1, 0, 1, 3.5f, 4.5f},  {1, 4, 1, 0.5f, 4.5f},  {2, 0, 2.5f, 3.5f, 3},
        {2, 6, 1 - r, 2, 3},    {2, 12, 2.5f, 0.5f, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.ring) + " point " + std::to_string(c.i));
        float o[3];
        Motion3D_RingPoint(c.ring, c.i, p, o);
        EXPECT_NEAR(c.x, o[0], 1e-5f);
        EXPECT_NEAR(c.y, o[1], 1e-5f);
        EXPECT_NEAR(c.z, o[2], 1e-5f);
    }
}

TEST_F(MotionPoseTest, WireEdgesTakeTheCurrentBonesWeightColour)
{
    QVL::MODEL3* m = Live();
    m->positions.assign({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    m->positionCount = 3;
    QVL::FACE3 f{};
    f.cornerCount = 3;
    for (int k = 0; k < 3; ++k) f.corners[k][0] = k;
    m->faces.assign(1, f);
    m->faceCount = 1;
    Model3_FitArrays(m);
    m->weights[0].boneA = 2, m->weights[0].boneB = 0, m->weights[0].weightA = 0.5f;
    m->weights[1].boneA = 1, m->weights[1].boneB = 3, m->weights[1].weightA = 1.0f;
    m->weights[2].boneA = 0, m->weights[2].boneB = 2, m->weights[2].weightA = 0.25f;
    VIEW_REC& v = View_Row()[g_PickedView];
    v.type = VIEW_FRONT;
    v.zoom = 1.0f;
    g_CurView = &v;
    g_CurBone = 2;
    Motion3D_Draw();
    int coloured = 0, grey = 0, quarter = 0;
    for (const DrawCall& c : DrawRec().Of("line")) {
        if (c.r == 112 && c.g == 0 && c.b == 112) ++coloured;
        if (c.r == 146 && c.g == 146 && c.b == 146) ++grey;
        if (c.r == 56 && c.g == 0 && c.b == 168) ++quarter;
    }
    EXPECT_EQ(1, coloured);
    EXPECT_EQ(1, grey);
    EXPECT_EQ(1, quarter);
}

} // namespace
