// Posing on the motion screen (screen 18): the left-button drags that move, rotate and scale the
// current bone's key at the current frame, the two-joint IK the screen's frame runs while the IK
// tool drags in a Side view, and the screen's first draw pass (the posed wire frame coloured by the
// current bone's weights, the skeleton, and the rotation rings in the main view).
#pragma once
#include <cstdint>

#include "frame/math3d.h"
#include "model/model3.h"

struct DRAG_START_POSE {
    int32_t hasKey;          // 0: the bone had no current key at the press; restoring skips it
    float translation[3];
    float rotation[4];
    float pose[16];
};

struct CHILD_ROTATION {
    float pivot[3];
    QVL::QUAT rotation;
};

extern DRAG_START_POSE g_DragStartPose[QVL::kModel3Bones];
extern float g_RotateAngleX, g_RotateAngleY, g_RotateAngleZ;  // degrees, each within -90..90
extern int32_t g_RotateRing;        // -1 none, 0 the ring about Y, 1 about X, 2 about Z
extern uint8_t g_IkActive;
extern float g_IkTarget[2];         // view client pixels
extern float g_IkJointScreen[QVL::kModel3Bones][2];  // joints in the last drawn Side view
extern CHILD_ROTATION g_ChildRotation;

// Screen 18's mouse handlers and first draw pass.
void Motion3D_LButtonDown(int32_t lParam);
void Motion3D_LButtonUp(int32_t lParam);
void Motion3D_RButtonUp(int32_t lParam);
void Motion3D_MouseMove(int32_t lParam);
void Motion3D_Draw();
// One IK step over g_Motion3DIkChain (which the motion screen's frame sets) while g_IkActive.
void Motion3D_IkStep();
// Puts every bone's current key and pose matrix back as the left press found them.
void Motion3D_RestoreDragPose();
// Turns the current keys of `bone`, its descendants and its later siblings with theirs by
// g_ChildRotation (called with a bone's first child: the bone's descendants).
void Motion3D_RotateSubtree(int bone);

// ---- the arithmetic --------------------------------------------------------------------------

// The key of `bone` at its current key index in the model's current motion; null when the list is
// missing or empty or the index is outside it.
QVL::KEY3* Motion3D_CurrentKey(QVL::MODEL3* m, int32_t bone);
// An accumulated rotate angle after adding a (degrees), clamped to -90..90.
float Motion3D_AccumulateAngle(float angle, float a);
// The rotation quaternion of a rotate drag about axis 0 X, 1 Y, 2 Z by the accumulated angle.
void Motion3D_AxisQuat(QVL::QUAT* out, int axis, float degrees);
// The IK's grandparent step from the squared screen lengths of end - parent (dU) and target -
// parent (dV): 0.3, -0.3 or 0 degrees.
float Motion3D_IkDistanceStep(float dU, float dV);
// The IK's parent step from the screen angles atan2(x, y) of end - parent (aU) and target - parent
// (aV): 0.6, -0.6 or 0 degrees.
float Motion3D_IkDirectionStep(float aU, float aV);
// Point i (0..16) of rotation ring `ring` (0 about Y, 1 about X, 2 about Z) around P.
void Motion3D_RingPoint(int ring, int i, const float p[3], float out[3]);
