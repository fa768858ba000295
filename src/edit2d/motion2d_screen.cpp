// The 2D motion screen's handlers for the hub, its key panel and its motion list.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "edit2d/model2d_hooks.h"
#include "edit2d/motion2d.h"
#include "edit2d/motion2d_dialogs.h"
#include "edit2d/motion2d_panel.h"
#include "edit3d/bone_screen.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/motion_screen.h"
#include "edit3d/weight_screen.h"
#include "frame/lib.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/grid.h"
#include "shell/hierarchy.h"
#include "shell/input_state.h"
#include "shell/list_controls.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/playback.h"
#include "shell/ui_services.h"
#include "shell/views.h"

using QVL::KEY2;
using QVL::MODEL2;

MOTION2D_WINDOWS g_Motion2DWindows;
MOTION2D_PANEL g_Motion2DPanel;

namespace {

MODEL2* Model() { return Model2_Get(g_CurModel2Id); }
bool LeftAlone() { return g_Lib.mouse.held[0] && !g_Lib.mouse.held[1] && !g_Lib.mouse.held[2]; }
bool RightAlone() { return g_Lib.mouse.held[2] && !g_Lib.mouse.held[0] && !g_Lib.mouse.held[1]; }
int32_t Length(const MODEL2* m)
{
    if (!m || m->currentMotion < 0 || m->currentMotion >= QVL::kModel2Motions) return 0;
    return m->motions[m->currentMotion].length;
}

// The bone nearest to (x, y) in Manhattan distance over the current-pose joints; a later bone wins a
// tie. -1 without bones.
int32_t PickBone(const MODEL2* m, float x, float y, float zoom)
{
    float best = 99999.9f;
    int32_t found = -1;
    const int32_t n = std::min(std::max(m->boneCount, 0), QVL::kModel2Bones);
    for (int32_t b = 0; b < n; ++b) {
        QVL::VEC3 p{};
        Model2_PoseTransform(&p, g_CurModel2Id, b, 0, 0, 0);
        const float d = std::abs(32.0f * zoom * p.x - x) + std::abs(-32.0f * zoom * p.y - y);
        if (d <= best) {
            best = d;
            found = b;
        }
    }
    return found;
}

} // namespace

void Motion2D_Refresh()
{
    g_Motion2DDlgDirty = g_Motion2DKeyDlgDirty = g_Motion2DListDirty = 1;
    g_PanelDirtyMotion2Keys = 1;
    List_FillMotions2D();
}

void Motion2D_Enter()
{
    g_CurLayer = 0;
    g_ScreenGroup = 2;
    g_CurModel2Id = 0;
    // The old menu goes only once the new one is up: a missing resource keeps the bar as it is.
    if (void* menu = Menu_Set("MENU_2D_MOTION")) {
        if (g_ModeMenu) Menu_Destroy(g_ModeMenu);
        g_ModeMenu = menu;
    }
    g_DragTool = 1;
    g_TimelineLabelWidth = 0;
    g_TimelineTop = 90;
    if (g_CurPart == 0) g_CurPart = 1;
    if (g_HierRowCur == 0) g_HierRowCur = 1;
    if (g_KeyHoverRow == 0) g_KeyHoverRow = 1;
    g_LoopPlay = 1;
    const int32_t w = g_Lib.monitorWidth, h = g_Lib.monitorHeight;
    MOTION2D_WINDOWS& win = g_Motion2DWindows;
    if (!win.motionDlg) win.motionDlg = Motion2DDlg_Create(MOTION2D_DLG_KEYS, w - 273, h - 336, 273, 307);
    if (!win.keyDlg) win.keyDlg = Motion2DDlg_Create(MOTION2D_DLG_PANEL, 0, h - 200, 678, 170);
    if (!win.listDlg) {
        win.listDlg = Motion2DDlg_Create(MOTION2D_DLG_LIST, w - 228, 47, 228, 392);
        win.list = win.listDlg ? Motion2DDlg_CreateList(win.listDlg) : nullptr;
        g_MotionListCtl = win.list;
        List_FillMotions2D();
        if (win.listDlg) Wnd_Activate(win.listDlg);
    }
    List_RebuildBones2D();
}

void Motion2D_Exit()
{
    g_PlayFlag = 0;
    MOTION2D_WINDOWS& win = g_Motion2DWindows;
    if (win.list) Wnd_Destroy(win.list);
    if (g_MotionListCtl == win.list) g_MotionListCtl = nullptr;
    for (void* w : {win.motionDlg, win.keyDlg, win.listDlg})
        if (w) Wnd_Destroy(w);
    win = MOTION2D_WINDOWS{};
}

void Motion2D_Frame()
{
    MODEL2* m = Model();
    if (!m || !g_Model2InUse[g_CurModel2Id]) return;
    Motion2D_SyncCurrentKey();
    m->displayState = g_PlayFlag == 1 || g_Lib.mouse.held[0] ? 2 : 3;
    if (RightAlone() && g_CurView) {
        const int32_t found = PickBone(m, (float)g_PressPoint.x, (float)g_PressPoint.y, g_CurView->zoom);
        if (found >= 0 && found != g_CurBone) {
            g_PrevBone = g_CurBone;
            g_CurBone = found;
            g_BoneListDirty = 1;
        }
    }
}

void Motion2D_Draw()
{
    MODEL2* m = Model();
    if (!m || !g_Model2InUse[g_CurModel2Id] || g_PlayFlag == 1) return;
    Grid_Draw2D();
    const float s = 32.0f * (g_CurView ? g_CurView->zoom : 1.0f);
    const int32_t faces = std::min<int64_t>(std::max(m->polygonCount, 0), (int64_t)m->polygons.size());
    const int32_t verts = std::min<int32_t>(m->vertexCount, (int32_t)m->deformed.size());
    for (int32_t f = 0; f < faces; ++f) {
        const QVL::FACE2& face = m->polygons[(size_t)f];
        if (!face.used) continue;
        const int k = std::min<int>(face.cornerCount, 4);
        for (int c = 0; c < k; ++c) {
            const int32_t a = face.corners[c][0], b = face.corners[(c + 1) % k][0];
            if (a >= verts || b >= verts) continue;   // a corner past the vertices draws nothing
            const int x1 = (int)(s * m->deformed[(size_t)a].x), y1 = (int)(s * m->deformed[(size_t)a].y);
            const int x2 = (int)(s * m->deformed[(size_t)b].x), y2 = (int)(s * m->deformed[(size_t)b].y);
            if (x1 == x2 && y1 == y2)
                Draw_Point2DSimple(x1, y1, 146, 146, 146, 255);
            else
                Draw_Line2DSimple(x1, y1, x2, y2, 146, 146, 146, 255);
        }
    }
    const int32_t n = std::min(std::max(m->boneCount, 0), QVL::kModel2Bones);
    for (int32_t b = 0; b < n; ++b) {
        QVL::VEC3 p{};
        Model2_PoseTransform(&p, g_CurModel2Id, b, 0, 0, 0);
        const int x = (int)(m->x + p.x), y = (int)(m->y + p.y);
        const int g = b == g_CurBone ? 255 : 180;
        Draw_Line2DSimple(x - 5, y - 5, x + 5, y + 5, g, g, 0, 255);
        Draw_Line2DSimple(x - 5, y + 5, x + 5, y - 5, g, g, 0, 255);
        const int32_t parent = m->bones[b].parent;
        if (parent > 0 && parent < n) {
            QVL::VEC3 q{};
            Model2_PoseTransform(&q, g_CurModel2Id, parent, 0, 0, 0);
            Draw_Line2DSimple(x, y, (int)(m->x + q.x), (int)(m->y + q.y), 164, 164, 0, 255);
        }
    }
}

void Motion2D_LButtonDown(int32_t lParam)
{
    const POINT32 p{(int16_t)(lParam & 0xFFFF), (int16_t)((lParam >> 16) & 0xFFFF)};
    g_PressPoint = g_DragStart = g_DragCurrent = g_PrevMousePos = g_DragAnchor = p;
    Motion2D_InsertKey();
    View_RequestRedraw();
    Motion2D_Refresh();
}

void Motion2D_DragKey(int32_t lParam)
{
    if (!LeftAlone()) return;
    MODEL2* m = Model();
    std::vector<KEY2>* keys = Motion2D_BoneKeys(m, g_CurBone);
    const KEY2* cur = nullptr;
    if (keys && !keys->empty()) {
        const int32_t i = std::min<int32_t>(std::max(m->bones[g_CurBone].keyIndex, 0), (int32_t)keys->size() - 1);
        if ((*keys)[(size_t)i].frame == m->currentFrame) cur = &(*keys)[(size_t)i];
    }
    if (cur && g_CurBone != 0) {
        const char* caption = Motion2D_DragChange(const_cast<KEY2*>(cur), g_DragTool, g_MouseDelta.x, g_MouseDelta.y);
        if (caption) {
            snprintf(g_UndoCaption, sizeof g_UndoCaption, "%s", caption);
            g_UndoPending = 1;
        }
    }
    g_PrevMousePos = POINT32{(int16_t)(lParam & 0xFFFF), (int16_t)((lParam >> 16) & 0xFFFF)};
    g_Motion2DDlgDirty = 1;
    View_RequestRedraw();
}

int32_t Model2D_PrevKeyFrame(int32_t frame)
{
    if (g_HierRowCur < 0 || g_HierRowCur >= std::min(g_HierRowCount, kHierMaxRows)) return frame;
    return Motion2D_PrevKeyFrameIn(Motion2D_BoneKeys(Model(), g_HierRows[g_HierRowCur].item), frame);
}

int32_t Model2D_NextKeyFrame(int32_t frame)
{
    if (g_HierRowCur < 0 || g_HierRowCur >= std::min(g_HierRowCount, kHierMaxRows)) return frame;
    return Motion2D_NextKeyFrameIn(Motion2D_BoneKeys(Model(), g_HierRows[g_HierRowCur].item), frame);
}

// ---- the key panel (MOTION_KEY_DLG) ------------------------------------------------------------

namespace {

void FrameFromStrip(int32_t x)
{
    MODEL2* m = Model();
    if (m) m->currentFrame = Motion2D_StripFrame(x, g_KeyScrollX, g_TimelineLabelWidth, g_KeyTimeScale, Length(m));
    List_RebuildBones2D();
}

void PickRow(int32_t x)
{
    const int32_t row = g_KeyHoverRow;
    if (row < 0 || row >= std::min(g_HierRowCount, kHierMaxRows)) return;   // -1: no row under the cursor
    g_HierRowCur = row;
    g_CurBone = g_HierRows[row].item;
    const int32_t box = g_TimelineLabelWidth + g_HierRows[row].depth * 16 + 1;
    MODEL2* m = Model();
    if (x > box && x < box + 15 && m && g_CurBone >= 0 && g_CurBone < QVL::kModel2Bones)
        m->bones[g_CurBone].expanded = m->bones[g_CurBone].expanded ? 0 : 1;
}

int32_t Fold(int32_t v) { return v > 10000 ? v - 65536 : v; }

} // namespace

void Motion2D_PanelMouseMove(int32_t x, int32_t y)
{
    View_RequestRedraw();
    MOTION2D_PANEL& p = g_Motion2DPanel;
    x = Fold(x);
    y = Fold(y);
    g_KeyHoverRow = Motion2D_PanelRowAt(y, g_KeyScrollY, kTimelineRowHeight, std::min(g_HierRowCount, kHierMaxRows));
    const int32_t dx = x - p.x, dy = y - p.y;
    p.x = x;
    p.y = y;
    if (p.left) {
        if (!p.middle && !p.right) FrameFromStrip(x);
        return;
    }
    MODEL2* m = Model();
    if (p.middle && !p.right && m) {
        int32_t to = 0;
        const int32_t step = Motion2D_KeyTimingStep(dx, g_KeyTimeScale);
        if (Motion2D_MoveKeyTime(m, g_CurBone, m->currentFrame, step, &to)) m->currentFrame = to;
    } else if (p.right && !p.middle) {
        g_KeyScrollX = std::min(g_KeyScrollX + dx, 0);
        g_KeyScrollY = std::min(g_KeyScrollY + dy, 0);
    }
    Motion2D_Refresh();
}

void Motion2D_PanelLButtonDown(int32_t x)
{
    MOTION2D_PANEL& p = g_Motion2DPanel;
    p.left = 1;
    MODEL2* m = Model();
    p.pressFrame = m ? m->currentFrame : 0;
    PickRow(Fold(x));
    FrameFromStrip(Fold(x));
    View_RequestRedraw();
    Motion2D_Refresh();
}

void Motion2D_PanelLButtonUp()
{
    g_Motion2DPanel.left = 0;
    MODEL2* m = Model();
    if (m && m->currentFrame == g_Motion2DPanel.pressFrame) Motion2D_SnapToKey();
    View_RequestRedraw();
    Motion2D_Refresh();
}

void Motion2D_PanelDoubleClick()
{
    Motion2D_InsertKey();
    Motion2D_Refresh();
}

// ---- the motion list (2D_MOTION_LIST_DLG) ------------------------------------------------------

void Motion2D_ListTakeRow(int32_t row)
{
    MODEL2* m = Model();
    // LB_ERR (-1) and rows past the motions leave the current motion as it is.
    if (!m || row < 0 || row >= QVL::kModel2Motions || row == m->currentMotion) return;
    m->currentMotion = row;
    m->currentFrame = 0;
    g_Motion2DDlgDirty = g_Motion2DKeyDlgDirty = g_Motion2DListDirty = 1;
    View_RequestRedraw();
}

void Motion2D_ListApply(const char* name, const char* length)
{
    MODEL2* m = Model();
    if (!m || m->currentMotion < 0 || m->currentMotion >= QVL::kModel2Motions) return;
    QVL::MOTION2& mo = m->motions[m->currentMotion];
    snprintf(mo.name, sizeof mo.name, "%.255s", name);
    mo.length = (int32_t)strtol(length, nullptr, 10);
    List_FillMotions2D();
}

bool Motion2D_ListAdd(const char* name, const char* length)
{
    MODEL2* m = Model();
    if (!m) return false;
    Motion2D_ListApply(name, length);
    if (m->motionCount >= QVL::kModel2Motions || m->motionCount < 0) return false;
    ++m->motionCount;
    m->currentMotion = m->motionCount - 1;
    m->motions[m->currentMotion].used = 1;
    // Every bone needs a key list for the new motion (the arrays may have fewer).
    for (int32_t b = 0; b < QVL::kModel2Bones; ++b) {
        std::vector<QVL::KEY2_LIST>& lists = m->bones[b].keyLists;
        if (!lists.empty() && lists.size() < (size_t)m->motionCount) lists.resize((size_t)m->motionCount);
    }
    List_FillMotions2D();
    g_Motion2DListDirty = 1;
    return true;
}
