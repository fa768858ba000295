// The 2D bone screen: drag, pick, draw, and the joint centres behind the automatic bindings.
#include "edit2d/bone2d.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "edit2d/model2d_hooks.h"
#include "edit3d/bone_screen.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/grid.h"
#include "shell/hierarchy.h"
#include "shell/list_controls.h"
#include "shell/mode_hooks.h"
#include "shell/navigation.h"
#include "shell/ui_services.h"
#include "shell/views.h"

int32_t g_BoneSel2D[QVL::kModel2Bones];
POINT32 g_DragOrigin;

namespace {

constexpr float kFar = 99999.9f;

int32_t BoneCount(const QVL::MODEL2& m) { return std::clamp(m.boneCount, 0, QVL::kModel2Bones); }

// The vertices every per-vertex array holds.
size_t VertexCount(const QVL::MODEL2& m)
{
    return std::min({(size_t)m.vertexCount, m.vertices.size(), m.bindings.size()});
}

QVL::MODEL2* Model() { return g_Model2InUse[0] ? Model2_Get(0) : nullptr; }

bool Held(int b) { return g_Lib.mouse.held[b] != 0; }

}  // namespace

// ---- arithmetic ---------------------------------------------------------------------------------

POINT32 Cursor2D_FromPacked(int32_t lParam, float panX, float panY)
{
    const float x = (float)((uint32_t)lParam & 0xFFFFu);
    const float y = (float)(((uint32_t)lParam >> 16) & 0xFFFFu);
    return POINT32{(int32_t)(x - panX), (int32_t)(y - panY)};
}

int32_t Cursor2D_Fold(int32_t v) { return v > kCursor2DFold ? v - 65535 : v; }

POINT32 Cursor2D_Current(int32_t lParam)
{
    float px = 0.0f, py = 0.0f;
    if (g_Screen >= 0 && g_Screen < kScreenCount) {
        px = g_Views[g_Screen][0].pan[0];
        py = g_Views[g_Screen][0].pan[1];
    }
    return Cursor2D_FromPacked(lParam, px, py);
}

void Bone2D_MoveSelected(QVL::MODEL2* m, const int32_t* sel, float dx, float dy)
{
    if (!m) return;
    const int32_t n = BoneCount(*m);
    for (int32_t i = 1; i < n; ++i) {
        if (sel[i] != 1) continue;
        m->bones[i].restX += dx;
        m->bones[i].restY += dy;
    }
}

int32_t Bone2D_Nearest(const float* sx, const float* sy, int32_t count, POINT32 cursor)
{
    float best = kFar;
    int32_t pick = -1;
    for (int32_t i = 0; i < count; ++i) {
        const float d = std::fabs(sx[i] - (float)cursor.x) + std::fabs(sy[i] - (float)cursor.y);
        if (d <= best) {
            best = d;
            pick = i;
        }
    }
    return pick;
}

void Bone2D_Centres(const QVL::MODEL2& m, const QVL::XY2* joints, QVL::XY2* centres)
{
    const int32_t n = BoneCount(m);
    int32_t counter[QVL::kModel2Bones];
    for (int32_t i = 0; i < n; ++i) {
        centres[i] = joints[i];
        counter[i] = 1;
    }
    for (int32_t j = 0; j < n; ++j) {
        const int32_t p = m.bones[j].parent;
        if (p <= 0 || p >= n) continue;  // a parent from the file is not trusted
        centres[p].x += joints[j].x;
        centres[p].y += joints[j].y;
        ++counter[p];
    }
    for (int32_t i = 0; i < n; ++i) {
        centres[i].x /= (float)counter[i];
        centres[i].y /= (float)counter[i];
    }
}

void Bone2D_BindNearest(QVL::MODEL2* m, const QVL::XY2* centres)
{
    const int32_t n = BoneCount(*m);
    const size_t nv = VertexCount(*m);
    for (size_t v = 0; v < nv; ++v) {
        QVL::WEIGHT2& w = m->bindings[v];
        if (w.flag != 1) continue;
        uint16_t nearest = 1;
        float best = kFar;
        const QVL::XY2& p = m->vertices[v];
        for (int32_t b = 1; b < n; ++b) {
            const float d = std::fabs(p.x - centres[b].x) + std::fabs(p.y - centres[b].y);
            if (d < best) {
                best = d;
                nearest = (uint16_t)b;
            }
        }
        w.boneA = nearest;
        w.boneB = 0;
        w.weightA = 1.0f;
    }
}

bool Bone2D_ParentAllowed(int32_t bone, int32_t parent) { return parent >= 0 && parent < bone; }

bool Bone2D_ApplyParent(QVL::MODEL2* m, int32_t bone, int32_t sel)
{
    if (!m || bone < 0 || bone >= BoneCount(*m)) return false;
    const int32_t parent = sel >= 0 && sel < BoneCount(*m) ? sel : 0;
    if (!Bone2D_ParentAllowed(bone, parent)) return false;
    m->bones[bone].parent = parent;
    return true;
}

bool Bone2D_Append(QVL::MODEL2* m)
{
    if (!m || m->boneCount < 0 || m->boneCount >= QVL::kModel2Bones) return false;
    ++m->boneCount;
    return true;
}

// ---- the screen -----------------------------------------------------------------------------------

void Bone2D_Enter()
{
    g_CurLayer = 0;
    g_CurModel2Id = 0;
    g_ScreenGroup = 2;
    if (g_ModeMenu) Menu_Destroy(g_ModeMenu);
    g_ModeMenu = Menu_Set("MENU_2D_BONE");
}

void Bone2D_SetCursor(int32_t lParam)
{
    g_PressPoint = Cursor2D_Current(lParam);
    g_DragStart = g_DragCurrent = g_PrevMousePos = g_DragAnchor = g_LeftPressPoint = g_PressPoint;
}

void Bone2D_Drag(int32_t lParam)
{
    POINT32 c = Cursor2D_Current(lParam);
    c.x = Cursor2D_Fold(c.x);
    c.y = Cursor2D_Fold(c.y);
    g_PressPoint = c;
    if (!Held(0) || Held(1) || Held(2)) return;
    g_DragOrigin = c;
    QVL::MODEL2* m = Model();
    if (!m) return;
    Bone2D_MoveSelected(m, g_BoneSel2D, g_MouseDelta.x, g_MouseDelta.y);
    Bone2D_UpdateJoints();
    g_PrevMousePos = c;
    g_BoneListDirty = 1;
}

void Bone2D_RButtonUp(int32_t) { View_RequestRedraw(); }

void Bone2D_Draw()
{
    Grid_Draw2D();
    QVL::MODEL2* m = Model();
    if (!m) return;
    const int ox = (int)m->x, oy = (int)m->y;
    const size_t nv = std::min((size_t)m->vertexCount, m->vertices.size());
    const size_t np = std::min((size_t)std::max(m->polygonCount, 0), m->polygons.size());
    for (size_t f = 0; f < np; ++f) {
        const QVL::FACE2& face = m->polygons[f];
        const int k = std::min<int>(face.cornerCount, 4);
        if (!face.used || k < 1) continue;
        for (int c = 0; c < k; ++c) {
            const uint16_t a = face.corners[c][0], b = face.corners[(c + 1) % k][0];
            if (a >= nv || b >= nv) continue;
            const int x1 = (int)m->vertices[a].x + ox, y1 = (int)m->vertices[a].y + oy;
            const int x2 = (int)m->vertices[b].x + ox, y2 = (int)m->vertices[b].y + oy;
            if (x1 == x2 && y1 == y2) Draw_Point2DSimple(x1, y1, 160, 160, 160, 255);
            else Draw_Line2DSimple(x1, y1, x2, y2, 160, 160, 160, 255);
        }
    }
    const int32_t n = BoneCount(*m);
    int jx[QVL::kModel2Bones], jy[QVL::kModel2Bones];
    for (int32_t i = 0; i < n; ++i) {
        QVL::VEC3 j{};
        Model2_RestTransform(&j, 0, i, 0.0f, 0.0f, 0.0f);
        jx[i] = (int)(m->x + j.x);
        jy[i] = (int)(m->y + j.y);
    }
    for (int32_t i = 0; i < n; ++i) {
        const int g = i == g_CurBone ? 255 : 180, r = g;
        Draw_Line2DSimple(jx[i] - 5, jy[i] - 5, jx[i] + 5, jy[i] + 5, r, g, 0, 255);
        Draw_Line2DSimple(jx[i] + 5, jy[i] - 5, jx[i] - 5, jy[i] + 5, r, g, 0, 255);
        const int32_t p = m->bones[i].parent;
        if (p > 0 && p < n) Draw_Line2DSimple(jx[i], jy[i], jx[p], jy[p], 125, 125, 0, 255);
    }
}

void Bone2D_Frame()
{
    if (QVL::MODEL2* m = Model()) {
        if (Held(2) && !Held(0) && !Held(1)) {
            const int32_t n = BoneCount(*m);
            float sx[QVL::kModel2Bones], sy[QVL::kModel2Bones];
            for (int32_t i = 0; i < n; ++i) {
                QVL::VEC3 j{};
                Model2_PoseTransform(&j, 0, i, 0.0f, 0.0f, 0.0f);
                sx[i] = 32.0f * g_Zoom2D * j.x;
                sy[i] = -32.0f * g_Zoom2D * j.y;
            }
            const int32_t pick = Bone2D_Nearest(sx, sy, n, g_PressPoint);
            if (pick >= 0 && pick != g_CurBone) {
                g_BoneListShownBone = g_CurBone;
                g_CurBone = pick;
                g_BoneListDirty = 1;
            }
        }
        m->displayState = 3;
    }
    Model2D_SceneSwitch();
}

void Bone2D_UpdateJoints()
{
    if (!Lib_IsDrawAllowed()) return;
    QVL::MODEL2* m = Model();
    if (!m) return;
    const int32_t n = BoneCount(*m);
    QVL::XY2 joints[QVL::kModel2Bones], centres[QVL::kModel2Bones];
    for (int32_t i = 0; i < n; ++i) {
        QVL::VEC3 j{};
        Model2_RestTransform(&j, 0, i, 0.0f, 0.0f, 0.0f);
        joints[i] = QVL::XY2{j.x, j.y};
    }
    Bone2D_Centres(*m, joints, centres);
    Bone2D_BindNearest(m, centres);
}

// ---- the bone list dialog ---------------------------------------------------------------------

static void MakeCurrent(int32_t bone)
{
    g_BoneListShownBone = g_CurBone;
    g_CurBone = bone;
    View_RequestRedraw();
    g_BoneListDirty = 1;
}

static void SelectParentRow(const QVL::MODEL2& m)
{
    if (g_ParentComboCtl2D && g_CurBone >= 0 && g_CurBone < BoneCount(m))
        ListCtl_Select(g_ParentComboCtl2D, m.bones[g_CurBone].parent);
}

bool Bone2D_TakeListRow(int32_t caret)
{
    QVL::MODEL2* m = g_CurModel2;
    // The row is read as 16 bits unsigned: LB_ERR would name bone 65535.
    const int32_t row = caret & 0xFFFF;
    if (!m || caret < 0 || row >= BoneCount(*m) || row == g_CurBone) return false;
    MakeCurrent(row);
    g_HierRowCur = row;
    SelectParentRow(*m);
    return true;
}

bool Bone2D_ApplyDialog(const char* name, int32_t comboSel)
{
    QVL::MODEL2* m = g_CurModel2;
    if (!m || g_CurBone < 0 || g_CurBone >= BoneCount(*m)) return true;
    QVL::BONE2& b = m->bones[g_CurBone];
    Str_CopyN(b.name, sizeof b.name, name ? name : "");
    const bool accepted = Bone2D_ApplyParent(m, g_CurBone, comboSel);
    if (!accepted)
        Lib_MessageBox("同じNo 又は、選択しているボーンより\n大きなNoのボーンは、親にすることができません。");
    List_FillBoneList2D();
    List_FillBoneTree2D();
    List_FillParentCombo2D();
    return accepted;
}

bool Bone2D_AddBone()
{
    QVL::MODEL2* m = g_CurModel2;
    if (!Bone2D_Append(m)) return false;
    Bone2D_UpdateJoints();
    List_FillBoneList2D();
    List_FillBoneTree2D();
    List_LinkBones2D();
    List_RebuildBones2D();
    return true;
}

bool Bone2D_TakeTreeLabel(const char* text)
{
    QVL::MODEL2* m = g_CurModel2;
    if (!m || !text) return false;
    const int32_t n = BoneCount(*m);
    for (int32_t i = 0; i < n; ++i) {
        if (std::strncmp(List_TreeLabel(i), text, 40) != 0) continue;
        MakeCurrent(i);
        if (g_BoneListCtl2D) ListCtl_SetSel(g_BoneListCtl2D, i);
        SelectParentRow(*m);
        return true;
    }
    return false;
}

void Bone2D_SetTint(uint8_t r, uint8_t g, uint8_t b)
{
    if (QVL::MODEL2* m = g_CurModel2) {
        m->tint[0] = r;
        m->tint[1] = g;
        m->tint[2] = b;
    }
}
