// The bone screen's handlers and the bone list's behaviour.
#include "edit3d/bone_screen.h"

#include <cstdlib>
#include <cstring>

#include "edit3d/model3d_hooks.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/gpu_update.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "model/skeleton.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/grid.h"
#include "shell/hierarchy.h"
#include "shell/input_state.h"
#include "shell/list_controls.h"
#include "shell/mode_hooks.h"
#include "shell/picking.h"
#include "shell/views.h"

uint8_t g_BoneChildrenFollow = 0;
int32_t g_BoneListShownBone = 0;
int32_t g_BoneListDirty = 0;

namespace {

enum : int { KEY_LEFT = 0x25, KEY_UP = 0x26, KEY_RIGHT = 0x27, KEY_DOWN = 0x28, KEY_A = 0x41 };

// Set by a drag, cleared by the release: the automatic weights follow the bones once per drag.
bool s_WeightsPending = false;

bool LeftHeld() { return g_Lib.mouse.held[0] != 0; }
bool MiddleHeld() { return g_Lib.mouse.held[1] != 0; }
bool RightHeld() { return g_Lib.mouse.held[2] != 0; }

bool IsOrtho(int32_t type) { return type == VIEW_FRONT || type == VIEW_TOP || type == VIEW_SIDE; }

int32_t BoneCount(const QVL::MODEL3* m)
{
    return m->boneCount < 0 ? 0 : m->boneCount > QVL::kModel3Bones ? QVL::kModel3Bones : m->boneCount;
}

UNDO_HISTORY* CurHistory() { return g_CurLayer >= 0 && g_CurLayer < kLayerCount ? &g_UndoHistories[g_CurLayer] : nullptr; }

void Record(const char* caption)
{
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, caption);
    if (UNDO_HISTORY* h = CurHistory()) Undo_Record(h);
}

void Joint(int32_t id, int32_t bone, bool posed, float out[3])
{
    QVL::VEC3 j = {0, 0, 0};
    if (posed) Motion3_GetBonePosition(&j, id, bone);
    else Motion3_GetBoneRestPosition(&j, id, bone);
    out[0] = j.x, out[1] = j.y, out[2] = j.z;
}

void Cross(int32_t x, int32_t y, int r, int g, int b)
{
    Draw_Line2DSimple(x - 5, y - 5, x + 5, y + 5, r, g, b, 255);
    Draw_Line2DSimple(x + 5, y - 5, x - 5, y + 5, r, g, b, 255);
}

void Edge(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int r, int g, int b)
{
    if (x1 == x2 && y1 == y2) Draw_Point2DSimple(x1, y1, r, g, b, 255);
    else Draw_Line2DSimple(x1, y1, x2, y2, r, g, b, 255);
}

void RefreshAfterSkeletonChange(QVL::MODEL3* m)
{
    Anim_UpdateModels();
    Model3_AutoWeights(m);
    List_LinkBones3D();
}

} // namespace

// ---- the pieces --------------------------------------------------------------------------------

void Bone3D_DragOffset(int32_t viewType, int32_t dx, int32_t dy, float zoom, float out[3])
{
    out[0] = out[1] = out[2] = 0;
    if (zoom == 0.0f) return;
    const float h = 0.025f * (float)dx / zoom;
    const float v = -0.025f * (float)dy / zoom;
    switch (viewType) {
    case VIEW_FRONT: out[0] = h, out[1] = v; break;
    case VIEW_TOP: out[0] = h, out[2] = v; break;
    case VIEW_SIDE: out[1] = v, out[2] = h; break;
    default: break;
    }
}

void Bone3D_MoveBone(QVL::MODEL3* m, int32_t bone, const float offset[3], bool childrenFollow)
{
    const int32_t n = m ? BoneCount(m) : 0;
    if (bone < 1 || bone >= n) return;
    for (int k = 0; k < 3; ++k) m->bones[bone].rest.translation[k] += offset[k];
    if (childrenFollow) return;
    for (int32_t i = 1; i < n; ++i)
        if (i != bone && m->bones[i].parent == bone)
            for (int k = 0; k < 3; ++k) m->bones[i].rest.translation[k] -= offset[k];
}

int32_t Bone3D_NearestJoint(const QVL::MODEL3* m, const VIEW_REC& view, int32_t x, int32_t y)
{
    if (!m || !IsOrtho(view.type)) return -1;
    int64_t best = 99999;
    int32_t found = -1;
    for (int32_t i = 0; i < BoneCount(m); ++i) {
        float p[3];
        Joint(m->id, i, true, p);
        int32_t sx, sy;
        View_OrthoToScreen(view, p, &sx, &sy);
        const int64_t d = std::llabs((int64_t)sx - x) + std::llabs((int64_t)sy - y);
        if (d <= best) {
            best = d;
            found = i;
        }
    }
    return found;
}

bool Bone3D_PanView(VIEW_REC* view, int key)
{
    if (!view || !IsOrtho(view->type) || view->zoom == 0.0f) return false;
    const float s = 2.0f / view->zoom;
    // Per key: the pan axis and sign in the Front, Top and Side views.
    struct MOVE { int axis; float sign; };
    static const MOVE kMoves[4][3] = {
        /* left  */ {{0, -1}, {0, -1}, {2, +1}},
        /* up    */ {{1, +1}, {2, -1}, {1, +1}},
        /* right */ {{0, +1}, {0, +1}, {2, -1}},
        /* down  */ {{1, -1}, {2, +1}, {1, -1}},
    };
    if (key < KEY_LEFT || key > KEY_DOWN) return false;
    const MOVE& mv = kMoves[key - KEY_LEFT][view->type - VIEW_FRONT];
    view->pan[mv.axis] += mv.sign * s;
    return true;
}

bool Bone3D_TakeListRow(int32_t row)
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m || row < 0 || row >= BoneCount(m)) return false;
    const int32_t before = g_CurBone;
    g_CurBone = row;
    // The dialog refreshes also when only the current bone moved (a key or a view pick changes it
    // without the list): else it would go on naming the old bone.
    if (row == g_BoneListShownBone && row == before) return false;
    g_BoneListShownBone = row;
    View_RequestRedraw();
    g_BoneListDirty = 1;
    return true;
}

bool Bone3D_Apply(float x, float y, float z, const char* name, bool hasCombo, int32_t comboRow)
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m || g_CurBone < 0 || g_CurBone >= BoneCount(m)) return true;
    QVL::BONE3& b = m->bones[g_CurBone];
    b.rest.translation[0] = x, b.rest.translation[1] = y, b.rest.translation[2] = z;
    Str_CopyN(b.name, sizeof b.name, name ? name : "");
    bool accepted = true;
    // No row chosen in the combo leaves the parent as it is.
    if (hasCombo && comboRow >= 0) {
        const int32_t old = b.parent;
        b.parent = comboRow >= 0 && comboRow < BoneCount(m) ? comboRow : 0;
        if (b.parent >= g_CurBone) {
            b.parent = old;
            accepted = false;
            Lib_MessageBox("同じNo 又は、選択しているボーンより\n大きなNoのボーンは、親にすることができません。");
        }
    }
    Model3D_FillBoneList();
    List_FillBoneTree3D();
    Model3D_FillParentCombo();
    g_BoneListDirty = 1;
    return accepted;
}

bool Bone3D_DeleteCurrent()
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return false;
    if (g_CurBone == 0) {
        Lib_MessageBox("親ボーンは、消去できません。");
        return false;
    }
    if (!Model3_DeleteBone(m, g_CurBone)) return false;
    // The highest bone gone, the number would name no bone: the new highest becomes current.
    if (g_CurBone >= BoneCount(m)) g_CurBone = BoneCount(m) - 1;
    RefreshAfterSkeletonChange(m);
    Record("ボーン消去");
    Mode_RefreshAll();
    g_BoneListDirty = 1;
    return true;
}

bool Bone3D_SelectByTreeText(const char* text)
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m || !text) return false;
    for (int32_t i = 0; i < BoneCount(m); ++i)
        if (std::strcmp(List_TreeLabel(i), text) == 0) {
            g_CurBone = i;
            g_BoneListDirty = 1;
            View_RequestRedraw();
            return true;
        }
    return false;
}

void Bone3D_NumberText(char* out, size_t cap) { Str_Format(out, cap, "ボーンNo.%d", g_CurBone); }

// ---- the list fillers --------------------------------------------------------------------------

void Model3D_FillBoneList()
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    void* list = g_Model3DEditor.boneList;
    if (list) {
        ListCtl_Reset(list);
        char label[256], line[300];
        for (int32_t i = 0; i < BoneCount(m); ++i) {
            List_BoneLabel(label, sizeof label, i, m->bones[i].name);
            const int32_t p = m->bones[i].parent;
            if (i > 0 && p > 0) Str_Format(line, sizeof line, "%s ( %d )", label, p);
            else Str_CopyN(line, sizeof line, label);
            ListCtl_Add(list, line);
        }
        if (g_CurBone >= 0 && g_CurBone < BoneCount(m)) ListCtl_SetSel(list, g_CurBone);
    }
    Model3D_FillParentCombo();
}

void Model3D_FillParentCombo()
{
    QVL::MODEL3* m = g_CurModel3;
    void* combo = g_Model3DEditor.boneTree;  // control 1439
    if (!m || !combo) return;
    ListCtl_Reset(combo);
    char label[256];
    for (int32_t i = 0; i < BoneCount(m); ++i) {
        List_BoneLabel(label, sizeof label, i, m->bones[i].name);
        ListCtl_Add(combo, label);
    }
    if (g_CurBone >= 0 && g_CurBone < BoneCount(m)) ListCtl_Select(combo, m->bones[g_CurBone].parent);
}

// ---- the screen --------------------------------------------------------------------------------

void Bone3D_Enter() { g_ScreenGroup = 4; }

void Bone3D_AddBone()
{
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    if (m->boneCount >= 0 && m->boneCount < QVL::kModel3Bones) {
        const int32_t n = m->boneCount;
        QVL::BONE3& b = m->bones[n];
        b.parent = g_CurBone >= 0 && g_CurBone < n ? g_CurBone : 0;
        g_CurBone = n;
        m->boneCount = n + 1;
        // One key list per motion, each with the default key.
        QVL::KEY3 k;
        Key3_Default(&k);
        b.keys.assign(m->motions.size(), std::vector<QVL::KEY3>(1, k));
    }
    Anim_UpdateModels();
    Model3_AutoWeights(m);
    List_LinkBones3D();
    List_RebuildBones3D();
    Record("ボーン追加");
    Mode_RefreshAll();
    g_BoneListDirty = 1;
}

void Bone3D_Frame()
{
    if (!g_CurModel3) return;
    g_CurModel3->fillMode = 3;
    Render_Set3DScene(1);
    if (!RightHeld() || LeftHeld() || MiddleHeld() || !g_CurView) return;
    const int32_t before = g_CurBone;
    const int32_t found = Bone3D_NearestJoint(g_CurModel3, *g_CurView, g_PressPoint.x, g_PressPoint.y);
    if (found >= 0) g_CurBone = found;
    if (g_CurBone != before) {
        g_BoneListShownBone = before;
        g_BoneListDirty = 1;
    }
}

void Bone3D_MouseMove(int32_t)
{
    g_CurView = &View_Picked();
    if (!LeftHeld() || MiddleHeld() || RightHeld() || g_CurBone < 1) return;
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    float off[3];
    Bone3D_DragOffset(g_CurView->type, g_PressPoint.x - g_PrevMousePos.x, g_PressPoint.y - g_PrevMousePos.y,
                      g_CurView->zoom, off);
    Bone3D_MoveBone(m, g_CurBone, off, g_BoneChildrenFollow == 1);
    // The joints drawn and picked come from the rest matrices: O(bones), kept current per move.
    Motion3_BuildRestMatrices(m, m->id);
    // The binding search over every position waits for the release: once per drag, not per move.
    s_WeightsPending = true;
    g_PrevMousePos = g_PressPoint;
    g_BoneListDirty = 1;
}

void Bone3D_LButtonUp(int32_t)
{
    if (s_WeightsPending && g_CurModel3) {
        Motion3_BuildRestMatrices(g_CurModel3, g_CurModel3->id);
        Model3_AutoWeights(g_CurModel3);
    }
    s_WeightsPending = false;
    Record("移動 ( ボーン )");
}

void Bone3D_RButtonUp(int32_t) { View_PickBone3D(false); }

void Bone3D_KeyUp(int key)
{
    if (key == KEY_A) {
        Bone3D_AddBone();
        return;
    }
    if (LeftHeld() || RightHeld()) return;
    Bone3D_PanView(g_CurView, key);
}

void Bone3D_Draw()
{
    VIEW_REC* view = g_CurView;
    if (!view) return;
    Grid_Draw2D();
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    const int32_t id = m->id;
    const int32_t n = BoneCount(m);
    if (IsOrtho(view->type)) {
        for (const QVL::FACE3& f : m->faces) {
            const int corners = f.cornerCount == 4 ? 4 : 3;
            int32_t x[4], y[4];
            for (int k = 0; k < corners; ++k) {
                const QVL::XYZ q = Model3_PositionAt(m, f.corners[k][0]);
                const float p[3] = {q.x, q.y, q.z};
                View_OrthoToScreen(*view, p, &x[k], &y[k]);
            }
            for (int k = 0; k < corners; ++k) {
                const int e = k + 1 < corners ? k + 1 : 0;
                Edge(x[k], y[k], x[e], y[e], 160, 160, 160);
            }
        }
        for (int32_t i = 0; i < n; ++i) {
            float p[3];
            Joint(id, i, false, p);
            int32_t x, y;
            View_OrthoToScreen(*view, p, &x, &y);
            if (i == g_CurBone) Cross(x, y, 255, 255, 0);
            else Cross(x, y, 180, 180, 0);
            const int32_t parent = m->bones[i].parent;
            if (i > 0 && parent >= 1 && parent < n) {
                float q[3];
                Joint(id, parent, false, q);
                int32_t px, py;
                View_OrthoToScreen(*view, q, &px, &py);
                Draw_Line2DSimple(x, y, px, py, 125, 125, 0, 255);
            }
        }
    }
    if (!LeftHeld() && !MiddleHeld()) {
        for (int32_t i = 1; i < n; ++i) Model3D_DrawJointCross(i, -1);
    } else if (g_CurBone >= 1) {
        Model3D_DrawJointCross(g_CurBone, -1);
    }
}
