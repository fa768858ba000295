// Posing and drawing on the motion screen.
#include "edit3d/motion_pose.h"
#include "edit3d/motion_screen.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "edit3d/model3d_hooks.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "model/motion3.h"
#include "render/camera.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/grid.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/picking.h"
#include "shell/playback.h"
#include "shell/views.h"

DRAG_START_POSE g_DragStartPose[QVL::kModel3Bones];
float g_RotateAngleX = 0, g_RotateAngleY = 0, g_RotateAngleZ = 0;
int32_t g_RotateRing = -1;
uint8_t g_IkActive = 0;
float g_IkTarget[2];
float g_IkJointScreen[QVL::kModel3Bones][2];
CHILD_ROTATION g_ChildRotation = {{0, 0, 0}, {0, 0, 0, 1}};

namespace {

enum : int { TOOL_MOVE = 0, TOOL_ROTATE = 1, TOOL_SCALE = 2, TOOL_IK = 3 };

bool LeftHeld() { return g_Lib.mouse.held[0] != 0; }
bool MiddleHeld() { return g_Lib.mouse.held[1] != 0; }
bool RightHeld() { return g_Lib.mouse.held[2] != 0; }
bool Playing() { return g_PlayFlag == 1; }

bool IsOrtho(int32_t type) { return type == VIEW_FRONT || type == VIEW_TOP || type == VIEW_SIDE; }

int32_t BoneCount(const QVL::MODEL3* m)
{
    return m->boneCount < 0 ? 0 : m->boneCount > QVL::kModel3Bones ? QVL::kModel3Bones : m->boneCount;
}

bool ChildrenAffected() { return g_Motion3DState.switch57 == 1; }

void PosedJoint(const QVL::MODEL3* m, int32_t bone, float out[3])
{
    QVL::VEC3 j = {0, 0, 0};
    Motion3_GetBonePosition(&j, m->id, bone);
    out[0] = j.x, out[1] = j.y, out[2] = j.z;
}

void TurnKey(QVL::KEY3* k, const QVL::QUAT& q)
{
    QVL::QUAT r = {k->rotation[0], k->rotation[1], k->rotation[2], k->rotation[3]};
    Math_QuatMultiply(&r, q);
    k->rotation[0] = r.x, k->rotation[1] = r.y, k->rotation[2] = r.z, k->rotation[3] = r.w;
}

// The descendants of `bone` turn with it when the children-affected flag is on.
void TurnDescendants(QVL::MODEL3* m, int32_t bone, const QVL::QUAT& q)
{
    if (!ChildrenAffected()) return;
    PosedJoint(m, bone, g_ChildRotation.pivot);
    g_ChildRotation.rotation = q;
    const int32_t child = m->bones[bone].firstChild;
    if (child > 0 && child < BoneCount(m)) Motion3D_RotateSubtree(child);
}

void RotateFrom(QVL::MODEL3* m, int32_t bone, int32_t visits[1])
{
    // Links from a damaged file could loop: no walk visits more bones than there are.
    for (int32_t b = bone; b > 0 && b < BoneCount(m) && *visits < QVL::kModel3Bones; b = m->bones[b].nextSibling) {
        ++*visits;
        g_CurBone = b;
        Motion3D_CreateKey();
        if (QVL::KEY3* k = Motion3D_CurrentKey(m, b)) TurnKey(k, g_ChildRotation.rotation);
        const int32_t child = m->bones[b].firstChild;
        if (child > 0) RotateFrom(m, child, visits);
    }
}

int16_t LoWord(int32_t lParam) { return (int16_t)(uint16_t)(lParam & 0xFFFF); }
int16_t HiWord(int32_t lParam) { return (int16_t)(uint16_t)(((uint32_t)lParam >> 16) & 0xFFFF); }

void Edge(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int r, int g, int b)
{
    if (x1 == x2 && y1 == y2) Draw_Point2DSimple(x1, y1, r, g, b, 255);
    else Draw_Line2DSimple(x1, y1, x2, y2, r, g, b, 255);
}

void Rotate(QVL::MODEL3* m, QVL::KEY3* k, int axis, float a)
{
    if (axis < 0 || a == 0.0f) return;
    Motion3D_RestoreDragPose();
    float* angle = axis == 0 ? &g_RotateAngleX : axis == 1 ? &g_RotateAngleY : &g_RotateAngleZ;
    *angle = Motion3D_AccumulateAngle(*angle, a);
    QVL::QUAT q;
    Motion3D_AxisQuat(&q, axis, *angle);
    TurnKey(k, q);
    const int32_t bone = g_CurBone;
    TurnDescendants(m, bone, q);
    g_CurBone = bone;
}

void DrawWire(const QVL::MODEL3* m, const VIEW_REC& view)
{
    const bool posed = m->animated == 1 && m->deformedPositions.size() >= m->positions.size();
    const std::vector<QVL::XYZ>& src = posed ? m->deformedPositions : m->positions;
    const bool coloured = BoneCount(m) >= 2 && g_CurBone >= 1;
    for (const QVL::FACE3& f : m->faces) {
        const int corners = f.cornerCount == 4 ? 4 : 3;
        int32_t x[4], y[4], idx[4];
        for (int k = 0; k < corners; ++k) {
            idx[k] = f.corners[k][0];
            const QVL::XYZ q = idx[k] >= 0 && (size_t)idx[k] < src.size() ? src[(size_t)idx[k]] : QVL::XYZ{0, 0, 0};
            const float p[3] = {q.x, q.y, q.z};
            View_OrthoToScreen(view, p, &x[k], &y[k]);
        }
        for (int k = 0; k < corners; ++k) {
            const int e = k + 1 < corners ? k + 1 : 0;
            int r = 146, g = 146, b = 146;
            if (coloured && idx[k] >= 0 && (size_t)idx[k] < m->weights.size()) {
                const QVL::WEIGHT3& w = m->weights[(size_t)idx[k]];
                if (w.boneA == g_CurBone || w.boneB == g_CurBone) {
                    r = (int)(224.0f * w.weightA);
                    g = 0;
                    b = (int)(224.0f * (1.0f - w.weightA));
                }
            }
            Edge(x[k], y[k], x[e], y[e], r, g, b);
        }
    }
}

void DrawSkeleton(const QVL::MODEL3* m, const VIEW_REC& view)
{
    const int32_t n = BoneCount(m);
    for (int32_t i = 0; i < n; ++i) {
        float p[3];
        PosedJoint(m, i, p);
        int32_t x, y;
        View_OrthoToScreen(view, p, &x, &y);
        if (view.type == VIEW_SIDE) g_IkJointScreen[i][0] = (float)x, g_IkJointScreen[i][1] = (float)y;
        const int c = i == g_CurBone ? 255 : 180;
        Draw_Line2DSimple(x - 5, y - 5, x + 5, y + 5, c, c, 0, 255);
        Draw_Line2DSimple(x + 5, y - 5, x - 5, y + 5, c, c, 0, 255);
        const int32_t parent = m->bones[i].parent;
        if (i > 0 && parent >= 1 && parent < n) {
            float q[3];
            PosedJoint(m, parent, q);
            int32_t px, py;
            View_OrthoToScreen(view, q, &px, &py);
            Draw_Line2DSimple(x, y, px, py, 164, 164, 0, 255);
        }
    }
}

void DrawRings(const QVL::MODEL3* m)
{
    const int32_t ringAtStart = g_RotateRing;
    const bool anyHeld = LeftHeld() || MiddleHeld() || RightHeld();
    float p[3] = {0, 0, 0};
    if (g_CurBone >= 0 && g_CurBone < BoneCount(m)) PosedJoint(m, g_CurBone, p);
    static const int kColours[3][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    int64_t best = 99999;
    for (int i = 1; i <= 16; ++i) {
        for (int ring = 0; ring < 3; ++ring) {
            float a[3], b[3];
            Motion3D_RingPoint(ring, i - 1, p, a);
            Motion3D_RingPoint(ring, i, p, b);
            QVL::VEC3 sa, sb;
            Render_ProjectToScreen(&sa, a[0], a[1], a[2]);
            Render_ProjectToScreen(&sb, b[0], b[1], b[2]);
            const int32_t x1 = Sel_TruncPixel(sa.x), y1 = Sel_TruncPixel(sa.y);
            const int32_t x2 = Sel_TruncPixel(sb.x), y2 = Sel_TruncPixel(sb.y);
            if (ring == g_RotateRing) Draw_Line2DSimple(x1, y1, x2, y2, 255, 255, 0, 255);
            else
                Draw_Line2DSimple(x1, y1, x2, y2, kColours[ring][0], kColours[ring][1], kColours[ring][2],
                                  LeftHeld() ? 32 : 255);
            if (!anyHeld) {
                const int64_t d = std::llabs((int64_t)g_PressPoint.x - x1) + std::llabs((int64_t)g_PressPoint.y - y1);
                if (d < best) {
                    best = d;
                    g_RotateRing = ring;
                }
            }
        }
    }
    const int32_t n = BoneCount(m);
    if (!LeftHeld() && !MiddleHeld()) {
        for (int32_t i = 1; i < n; ++i) Model3D_DrawJointCross(i, ringAtStart);
    } else if (g_CurBone >= 1) {
        Model3D_DrawJointCross(g_CurBone, ringAtStart);
    }
    if (!anyHeld && best > 50) g_RotateRing = -1;
    if (g_CurBone == 0) g_RotateRing = -1;
}

} // namespace

// ---- the arithmetic ----------------------------------------------------------------------------

QVL::KEY3* Motion3D_CurrentKey(QVL::MODEL3* m, int32_t bone)
{
    if (!m || bone < 0 || bone >= BoneCount(m)) return nullptr;
    QVL::BONE3& b = m->bones[bone];
    const int32_t motion = m->currentMotion;
    if (motion < 0 || (size_t)motion >= b.keys.size()) return nullptr;
    std::vector<QVL::KEY3>& keys = b.keys[(size_t)motion];
    if (b.keyIndex < 0 || (size_t)b.keyIndex >= keys.size()) return nullptr;
    return &keys[(size_t)b.keyIndex];
}

float Motion3D_AccumulateAngle(float angle, float a)
{
    const float r = angle + a;
    return r > 90.0f ? 90.0f : r < -90.0f ? -90.0f : r;
}

void Motion3D_AxisQuat(QVL::QUAT* out, int axis, float degrees)
{
    QVL::MATRIX r;
    if (axis == 0) Math_MatrixRotationX(&r, degrees);
    else if (axis == 1) Math_MatrixRotationY(&r, degrees);
    else Math_MatrixRotationZ(&r, -degrees);
    Math_MatrixToQuat(out, r);
}

float Motion3D_IkDistanceStep(float dU, float dV)
{
    float s = 0;
    if (dU - 20 > dV) s = 0.3f;
    if (dV > dU + 20) s -= 0.3f;
    return s;
}

float Motion3D_IkDirectionStep(float aU, float aV)
{
    float s = 0;
    if (aU > aV + 0.1f) s = 0.6f;
    if (aU < aV - 0.1f) s -= 0.6f;
    return s;
}

void Motion3D_RingPoint(int ring, int i, const float p[3], float out[3])
{
    const double theta = -(22.5 * i) * 3.14159265358979323846 / 180.0;
    const float u = (float)(1.5 * std::cos(theta) + 1.5 * std::sin(theta));
    const float w = (float)(1.5 * std::cos(theta) - 1.5 * std::sin(theta));
    out[0] = p[0], out[1] = p[1], out[2] = p[2];
    switch (ring) {
    case 0: out[0] += u, out[2] += w; break;  // X and Z: the ring about Y
    case 1: out[1] += u, out[2] += w; break;  // Y and Z: about X
    default: out[0] += u, out[1] += w; break; // X and Y: about Z
    }
}

// ---- the subtree and the drag pose ---------------------------------------------------------------

void Motion3D_RotateSubtree(int bone)
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    int32_t visits = 0;
    RotateFrom(m, bone, &visits);
}

void Motion3D_RestoreDragPose()
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    for (int32_t i = 0; i < BoneCount(m); ++i) {
        const DRAG_START_POSE& s = g_DragStartPose[i];
        if (!s.hasKey) continue;
        if (QVL::KEY3* k = Motion3D_CurrentKey(m, i)) {
            std::memcpy(k->translation, s.translation, sizeof s.translation);
            std::memcpy(k->rotation, s.rotation, sizeof s.rotation);
        }
        Motion3_SetBonePoseMatrix(m->id, i, s.pose);
    }
}

// ---- the handlers ------------------------------------------------------------------------------

void Motion3D_LButtonDown(int32_t lParam)
{
    g_DragStart = g_DragCurrent = g_PrevMousePos = g_DragAnchor = g_LeftPressPoint = g_PressPoint;
    Mode_UpdateCurrent();
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    for (int32_t i = 0; i < BoneCount(m); ++i) {
        DRAG_START_POSE& s = g_DragStartPose[i];
        const QVL::KEY3* k = Motion3D_CurrentKey(m, i);
        s.hasKey = k ? 1 : 0;
        if (k) {
            std::memcpy(s.translation, k->translation, sizeof s.translation);
            std::memcpy(s.rotation, k->rotation, sizeof s.rotation);
        }
        QVL::MATRIX pose;
        Motion3_GetBonePoseMatrix(&pose, m->id, i);
        std::memcpy(s.pose, pose.m, sizeof s.pose);
    }
    g_RotateAngleX = g_RotateAngleY = g_RotateAngleZ = 0;
    if (!Playing()) Motion3D_CreateKey();
    View_RequestRedraw();
    g_IkTarget[0] = LoWord(lParam);
    g_IkTarget[1] = HiWord(lParam);
    g_IkActive = 1;
}

void Motion3D_LButtonUp(int32_t)
{
    g_IkActive = 0;
    if (g_UndoPending && g_CurModel3) {
        g_UndoPending = 0;
        if (g_CurLayer >= 0 && g_CurLayer < kLayerCount) Undo_Record(&g_UndoHistories[g_CurLayer]);
    }
    View_RequestRedraw();
}

void Motion3D_RButtonUp(int32_t)
{
    if (g_CurModel3) View_PickBone3D(true);
}

void Motion3D_MouseMove(int32_t lParam)
{
    g_CurView = &View_Picked();
    View_RequestRedraw();
    QVL::MODEL3* m = g_CurModel3;
    if (!m || !LeftHeld() || MiddleHeld() || RightHeld() || Playing()) return;
    QVL::KEY3* k = Motion3D_CurrentKey(m, g_CurBone);
    if (!k || k->frame != m->currentFrame) return;
    Mode_UpdateCurrent();
    if (g_CurBone == 0) {
        g_Motion3DDlgDirty = g_MotionKeyPanelDirty = 1;
        return;
    }
    const float dx = g_MouseDelta.x, dy = g_MouseDelta.y;
    const int32_t type = g_CurView->type;
    static const char* const kCaptions[4] = {"移動 ( モーション )", "回転 ( モーション )", "拡大 ( モーション )",
                                             "IK ( モーション )"};
    const int32_t tool = g_DragTool;
    if (tool < TOOL_MOVE || tool > TOOL_IK) return;
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, kCaptions[tool]);
    g_UndoPending = 1;
    float* t = k->translation;
    float* s = k->scale;
    switch (tool) {
    case TOOL_MOVE:
        switch (type) {
        case VIEW_FRONT: t[0] += 0.05f * dx, t[1] -= 0.05f * dy; break;
        case VIEW_TOP: t[0] += 0.05f * dx, t[2] -= 0.05f * dy; break;
        case VIEW_SIDE: t[2] += 0.05f * dx, t[1] -= 0.05f * dy; break;
        case VIEW_MAIN:
            if (g_GizmoAxis == 0) t[0] += 0.05f * (dx - dy);
            else if (g_GizmoAxis == 1) t[1] += 0.05f * (dx - dy);
            else if (g_GizmoAxis == 2) t[2] -= 0.05f * (dx + dy);
            break;
        default: break;
        }
        break;
    case TOOL_ROTATE: {
        const float a = 0.3f * dx - 0.3f * dy;
        int axis = -1;
        switch (type) {
        case VIEW_FRONT: axis = 2; break;
        case VIEW_TOP: axis = 1; break;
        case VIEW_SIDE: axis = 0; break;
        case VIEW_MAIN: axis = g_RotateRing == 0 ? 1 : g_RotateRing == 1 ? 0 : g_RotateRing == 2 ? 2 : -1; break;
        default: break;
        }
        Rotate(m, k, axis, a);
        break;
    }
    case TOOL_SCALE:
        switch (type) {
        case VIEW_FRONT: s[0] += 0.01f * dx, s[1] -= 0.01f * dy; break;
        case VIEW_TOP: s[0] += 0.01f * dx, s[2] -= 0.01f * dy; break;
        case VIEW_SIDE: s[2] += 0.01f * dx, s[1] -= 0.01f * dy; break;
        case VIEW_MAIN:
            for (int i = 0; i < 3; ++i) s[i] += 0.01f * (dx - dy);
            break;
        default: break;
        }
        break;
    case TOOL_IK:
        if (type == VIEW_SIDE) g_IkTarget[0] = LoWord(lParam), g_IkTarget[1] = HiWord(lParam);
        break;
    default: break;
    }
    g_Motion3DDlgDirty = 1;
    g_MotionKeyPanelDirty = 1;
}

void Motion3D_IkStep()
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m || !g_IkActive) return;
    const int32_t grand = g_Motion3DIkChain.grandparent, parent = g_Motion3DIkChain.parent, end = g_Motion3DIkChain.end;
    const int32_t n = BoneCount(m);
    if (grand < 0 || grand >= n || parent < 0 || parent >= n || end < 0 || end >= n) return;
    const float ux = g_IkJointScreen[end][0] - g_IkJointScreen[parent][0];
    const float uy = g_IkJointScreen[end][1] - g_IkJointScreen[parent][1];
    const float vx = g_IkTarget[0] - g_IkJointScreen[parent][0];
    const float vy = g_IkTarget[1] - g_IkJointScreen[parent][1];
    const float steps[2] = {Motion3D_IkDistanceStep(ux * ux + uy * uy, vx * vx + vy * vy),
                            Motion3D_IkDirectionStep(std::atan2(ux, uy), std::atan2(vx, vy))};
    const int32_t bones[2] = {grand, parent};
    for (int i = 0; i < 2; ++i) {
        const float step = steps[i] > 90.0f ? 90.0f : steps[i] < -90.0f ? -90.0f : steps[i];
        // A bone whose key list was emptied has no key to turn.
        QVL::KEY3* k = Motion3D_CurrentKey(m, bones[i]);
        if (step == 0.0f || !k) continue;
        QVL::MATRIX r;
        Math_MatrixWorld(&r, 0, 0, 0, 0, step, 0, 1, 1, 1);
        QVL::QUAT q;
        Math_MatrixToQuat(&q, r);
        TurnKey(k, q);
        if (ChildrenAffected()) {
            TurnDescendants(m, bones[i], q);
            g_CurBone = bones[i];
        }
    }
}

void Motion3D_Draw()
{
    VIEW_REC* view = g_CurView;
    QVL::MODEL3* m = g_CurModel3;
    if (!view) return;
    if (view->type != VIEW_MAIN || Playing()) {
        Grid_Draw2D();
        if (m && IsOrtho(view->type)) {
            DrawWire(m, *view);
            DrawSkeleton(m, *view);
        }
        return;
    }
    if (m && g_DragTool == TOOL_ROTATE) DrawRings(m);
}
