// The motion screen's handlers: enter and exit with its dialogs, the per-frame key sync and IK hook,
// key commands over the current bone's subtree or the current group track, playback, the key
// panel's operations and the menu commands.
#include "edit3d/motion_screen.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "edit3d/model3d_dialogs.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/motion_dialogs.h"
#include "edit3d/poly_drag.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/sound.h"
#include "frame/text.h"
#include "model/motion3.h"
#include "model/normals.h"
#include "model/transfer.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/file_asks.h"
#include "shell/hierarchy.h"
#include "shell/input_state.h"
#include "shell/list_controls.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/playback.h"
#include "shell/ui_services.h"
#include "shell/views.h"

using QVL::KEY3;
using QVL::MODEL3;

MOTION3D_IK_CHAIN g_Motion3DIkChain;
int32_t g_CurKeyIndex;
int32_t g_Motion3DDlgDirty, g_MotionKeyPanelDirty, g_MotionListDirty;
KEY3 g_PoseClipboard[QVL::kModel3Bones];
uint8_t g_PoseClipboardFull;
MOTION3D_WINDOWS g_Motion3DWindows;

namespace {

bool BoneMotion() { return g_Motion3DState.motionType == 0; }
bool LeftHeld() { return g_Lib.mouse.held[0] != 0; }
bool RightHeld() { return g_Lib.mouse.held[2] != 0; }

QVL::MOTION3* CurMotion()
{
    MODEL3* m = g_CurModel3;
    if (!m || m->currentMotion < 0 || (size_t)m->currentMotion >= m->motions.size()) return nullptr;
    return &m->motions[(size_t)m->currentMotion];
}

QVL::GROUP_TRACK3* CurTrack()
{
    QVL::MOTION3* mo = CurMotion();
    if (!mo || g_CurGroup < 0 || g_CurGroup >= QVL::kModel3Groups) return nullptr;
    return &mo->tracks[g_CurGroup];
}

int32_t TrackCount(const QVL::GROUP_TRACK3& t)
{
    return t.keyCount < 0 ? 0 : t.keyCount > QVL::kModel3GroupKeys ? QVL::kModel3GroupKeys : t.keyCount;
}

constexpr int32_t kGroupStride = sizeof(QVL::GROUP_KEY3) / sizeof(int32_t);
constexpr int32_t kBoneStride = sizeof(KEY3) / sizeof(int32_t);

int32_t Frame() { return g_CurModel3 ? g_CurModel3->currentFrame : 0; }

void CreateOne(MODEL3* m, int32_t bone, void*)
{
    g_CurBone = bone;
    Mode_UpdateCurrent();
    Motion3D_CreateBoneKey(m, bone, m->currentFrame);
}

void DeleteOne(MODEL3* m, int32_t bone, void*)
{
    g_CurBone = bone;
    Mode_UpdateCurrent();
    Motion3D_DeleteBoneKey(m, bone, m->currentFrame);
}

void PasteOne(MODEL3* m, int32_t bone, void*)
{
    g_CurBone = bone;
    Mode_UpdateCurrent();
    // The key at the current frame, which the creation just before made.
    std::vector<KEY3>* keys = Motion3D_BoneKeys(m, bone);
    if (!keys) return;
    for (KEY3& k : *keys) {
        if (k.frame != m->currentFrame) continue;
        k = g_PoseClipboard[bone];
        k.frame = m->currentFrame;
        return;
    }
}

void ResetOne(MODEL3* m, int32_t bone, void*)
{
    g_CurBone = bone;
    Motion3D_CreateKey();
    std::vector<KEY3>* keys = Motion3D_BoneKeys(m, bone);
    if (!keys) return;
    for (KEY3& k : *keys) {
        if (k.frame != m->currentFrame) continue;
        k.rotation[0] = k.rotation[1] = k.rotation[2] = 0.0f;
        k.rotation[3] = 1.0f;
        return;
    }
}

void ShiftOne(MODEL3*, int32_t bone, void* ctx)
{
    g_CurBone = bone;
    Mode_UpdateCurrent();
    Motion3D_ShiftKeyTime(*(int32_t*)ctx);
}

// The nearest posed joint to the mouse in an orthographic view while the right button alone is held.
void HoverPick()
{
    MODEL3* m = g_CurModel3;
    if (!m || !g_CurView || g_PlayFlag == 1 || !RightHeld() || LeftHeld() || g_Lib.mouse.held[1]) return;
    const int32_t type = g_CurView->type;
    if (type != VIEW_TYPE_FRONT && type != VIEW_TYPE_TOP && type != VIEW_TYPE_SIDE) return;
    const int32_t id = g_LayerModelIds.empty() ? -1 : g_LayerModelIds[0];
    float best = 99999.9f;
    int32_t found = -1;
    const int32_t n = m->boneCount < QVL::kModel3Bones ? m->boneCount : QVL::kModel3Bones;
    for (int32_t b = 0; b < n; ++b) {
        QVL::VEC3 p;
        Motion3_GetBonePosition(&p, id, b);
        const float w[3] = {p.x, p.y, p.z};
        float sx, sy;
        View_WorldToScreen(*g_CurView, w, &sx, &sy);
        const float d = std::fabs(sx - (float)g_PressPoint.x) + std::fabs(sy - (float)g_PressPoint.y);
        if (d <= best) {
            best = d;
            found = b;
        }
    }
    if (found >= 0 && found != g_CurBone) g_CurBone = found;
}

// The rows carry their bones' key frames, and the current row follows the current bone, so that the
// panel and the key-time searches see the keys as they are now.
void FollowCurrentBone()
{
    List_FillRowKeys3D();
    for (int32_t r = 0; r < g_HierRowCount && r < kHierMaxRows; ++r)
        if (g_HierRows[r].item == g_CurBone) g_HierRowCur = r;
}

} // namespace

// ---- enter, exit, frame ------------------------------------------------------------------------

void Motion3D_Enter()
{
    g_ScreenGroup = 4;
    g_CurLayer = 0;
    if (g_CurBone == 0) g_CurBone = 1;
    if (g_HierRowCur == 0) g_HierRowCur = 1;
    if (g_KeyHoverRow == 0) g_KeyHoverRow = 1;
    Mode_UpdateCurrent();
    if (MODEL3* m = g_CurModel3) {
        if (m->currentMotion < 0 || (size_t)m->currentMotion >= m->motions.size()) m->currentMotion = 0;
        m->currentFrame = 0;
        m->animated = 1;
        Mode_UpdateCurrent();
    }
    g_DragTool = 1;
    MOTION3D_WINDOWS& w = g_Motion3DWindows;
    const int mw = g_Lib.monitorWidth, mh = g_Lib.monitorHeight;
    if (!w.motionDlg && (w.motionDlg = Model3DDlg_Create(MODEL3D_DLG_MOTION)) != nullptr) {
        Model3DDlg_Place(w.motionDlg, mw - 273, mh - 400, 273, 370);
        w.kindCombo = Motion3DDlg_ListControl(w.motionDlg, 72);
        w.textureCombo = Motion3DDlg_ListControl(w.motionDlg, 70);
        Motion3D_FillKindCombo();
        Motion3D_FillTextureCombo();
    }
    if (!w.keyDlg && (w.keyDlg = Model3DDlg_Create(MODEL3D_DLG_MOTION_KEYS)) != nullptr)
        Model3DDlg_Place(w.keyDlg, 0, mh - 600, 400, 570);
    if (!w.listDlg && (w.listDlg = Model3DDlg_Create(MODEL3D_DLG_MOTION_LIST)) != nullptr) {
        Model3DDlg_Place(w.listDlg, mw - 228, 47, 228, 392);
        g_MotionListCtl = Motion3DDlg_ListControl(w.listDlg, 1);
        List_FillMotions3D();
        Wnd_Activate(w.listDlg);
    }
    List_RebuildBones3D();
    g_Motion3DDlgDirty = g_MotionKeyPanelDirty = g_MotionListDirty = 1;
}

void Motion3D_Exit()
{
    g_PlayFlag = 0;
    MOTION3D_WINDOWS& w = g_Motion3DWindows;
    if (w.motionDlg) Wnd_Destroy(w.motionDlg);
    w.motionDlg = w.kindCombo = w.textureCombo = nullptr;
    // The list box is a child of its dialog and goes with it.
    g_MotionListCtl = nullptr;
    if (w.listDlg) Wnd_Destroy(w.listDlg);
    w.listDlg = nullptr;
    if (w.keyDlg) Wnd_Destroy(w.keyDlg);
    w.keyDlg = nullptr;
}

void Motion3D_Frame()
{
    g_PanelDirtyMotion3Keys = 1;
    Motion3D_SyncCurrentKey();
    Render_Set3DScene(1);
    MODEL3* m = g_CurModel3;
    if (!m) return;
    m->animated = 1;  // the pose is rebuilt every frame
    if (g_DragTool == 3 && g_CurView && g_CurView->type == VIEW_TYPE_SIDE && g_CurBone > 0 &&
        g_CurBone < m->boneCount && g_CurBone < QVL::kModel3Bones) {
        MOTION3D_IK_CHAIN& c = g_Motion3DIkChain;
        c.end = g_CurBone;
        c.parent = Motion3_EvalParent(m, c.end);
        if (c.parent < 0) c.parent = 0;
        c.grandparent = Motion3_EvalParent(m, c.parent);
        if (c.grandparent < 0) c.grandparent = 0;
        g_CurBone = c.grandparent;
        Motion3D_IkStep();
        g_CurBone = c.end;
        View_RequestRedraw();
    }
    m->fillMode = g_PlayFlag == 1 || LeftHeld() ? 2 : 3;
    HoverPick();
    FollowCurrentBone();
}

void Motion3D_SyncCurrentKey()
{
    Mode_UpdateCurrent();
    MODEL3* m = g_CurModel3;
    if (!m) return;
    g_CurKeyIndex = 0;
    if (BoneMotion()) {
        std::vector<KEY3>* keys = Motion3D_BoneKeys(m, g_CurBone);
        g_CurKeys3 = keys;
        if (keys && !keys->empty())
            g_CurKeyIndex = Motion3D_KeyIndexAt(&(*keys)[0].frame, kBoneStride, (int32_t)keys->size(), m->currentFrame);
    } else if (QVL::GROUP_TRACK3* t = CurTrack()) {
        g_CurKeyIndex = Motion3D_KeyIndexAt(&t->keys[0].frame, kGroupStride, TrackCount(*t), m->currentFrame);
    }
}

void Motion3D_Refresh()
{
    g_Motion3DDlgDirty = g_MotionKeyPanelDirty = g_MotionListDirty = 1;
    g_PanelDirtyMotion3Keys = 1;
    List_FillMotions3D();
    Motion3D_FillSoundList();
    View_RequestRedraw();
}

void Motion3D_RecordUndo(const char* caption)
{
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, caption);
    if (g_CurLayer >= 0 && g_CurLayer < kLayerCount) Undo_Record(&g_UndoHistories[g_CurLayer]);
}

// ---- keys --------------------------------------------------------------------------------------

void Motion3D_CreateKey()
{
    // A drag creates its keys at the press; only playback stops key creation.
    if (g_PlayFlag == 1) return;
    Mode_UpdateCurrent();
    MODEL3* m = g_CurModel3;
    if (!m) return;
    if (BoneMotion()) {
        if (g_CurBone == 0) return;
        const int32_t bone = g_CurBone;
        Motion3D_VisitSubtree(m, bone, CreateOne, nullptr);
        g_CurBone = bone;
        Mode_UpdateCurrent();
        return;
    }
    if (Motion3D_InsertGroupKey(CurMotion(), g_CurGroup, m->currentFrame) == GROUP_KEY_FULL)
        Lib_MessageBox("キーは、16個までしか作成できません。");
}

void Motion3D_DeleteKey()
{
    if (g_PlayFlag == 1) return;
    Mode_UpdateCurrent();
    MODEL3* m = g_CurModel3;
    if (!m) return;
    if (BoneMotion()) {
        if (g_CurBone == 0) return;
        const int32_t bone = g_CurBone;
        Motion3D_VisitSubtree(m, bone, DeleteOne, nullptr);
        g_CurBone = bone;
        Mode_UpdateCurrent();
        return;
    }
    Motion3D_DeleteGroupKey(CurMotion(), g_CurGroup, m->currentFrame);
}

void Motion3D_CopyPose()
{
    if (!BoneMotion()) return;
    Mode_UpdateCurrent();
    MODEL3* m = g_CurModel3;
    if (!m) return;
    const int32_t n = m->boneCount < QVL::kModel3Bones ? m->boneCount : QVL::kModel3Bones;
    for (int32_t i = 0; i < n; ++i) {
        const QVL::BONE3& b = m->bones[i];
        KEY3& k = g_PoseClipboard[i];
        k.frame = m->currentFrame;
        std::memcpy(k.translation, b.poseTranslation, sizeof k.translation);
        std::memcpy(k.rotation, b.poseRotation, sizeof k.rotation);
        std::memcpy(k.scale, b.poseScale, sizeof k.scale);
    }
    // Bones past the model's count paste as the rest pose, never as zeros.
    for (int32_t i = n < 0 ? 0 : n; i < QVL::kModel3Bones; ++i) Key3_Default(&g_PoseClipboard[i]);
    g_PoseClipboardFull = 1;
}

void Motion3D_CutKey()
{
    Motion3D_CopyPose();
    Motion3D_DeleteKey();
}

bool Motion3D_PasteKey()
{
    if (g_PlayFlag == 1 || g_CurBone == 0) return false;
    // Before any copy the clipboard holds zero keys (scale 0, a zero quaternion).
    if (BoneMotion() && !g_PoseClipboardFull) return false;
    Motion3D_CreateKey();
    MODEL3* m = g_CurModel3;
    if (!m || !BoneMotion()) return m != nullptr;
    const int32_t bone = g_CurBone;
    Motion3D_VisitSubtree(m, bone, PasteOne, nullptr);
    g_CurBone = bone;
    Mode_UpdateCurrent();
    return true;
}

void Motion3D_ResetRotationTree(int bone)
{
    MODEL3* m = g_CurModel3;
    if (!m) return;
    const int32_t saved = g_CurBone;
    Motion3D_VisitDescendants(m, bone, ResetOne, nullptr);
    g_CurBone = saved;
    Mode_UpdateCurrent();
}

int32_t Motion3D_PrevKeyTime(int32_t frame)
{
    if (BoneMotion()) {
        if (g_HierRowCur < 0 || g_HierRowCur >= g_HierRowCount || g_HierRowCur >= kHierMaxRows) return frame;
        const HIER_ROW& r = g_HierRows[g_HierRowCur];
        const int32_t n = r.keyCount < 0 ? 0 : r.keyCount > kHierMaxKeys ? kHierMaxKeys : r.keyCount;
        return Motion3D_PrevFrameIn(r.keyFrames, 1, n, frame);
    }
    const QVL::GROUP_TRACK3* t = CurTrack();
    return t ? Motion3D_PrevFrameIn(&t->keys[0].frame, kGroupStride, TrackCount(*t), frame) : frame;
}

int32_t Motion3D_NextKeyTime(int32_t frame)
{
    if (BoneMotion()) {
        if (g_HierRowCur < 0 || g_HierRowCur >= g_HierRowCount || g_HierRowCur >= kHierMaxRows) return frame;
        const HIER_ROW& r = g_HierRows[g_HierRowCur];
        const int32_t n = r.keyCount < 0 ? 0 : r.keyCount > kHierMaxKeys ? kHierMaxKeys : r.keyCount;
        return Motion3D_NextFrameIn(r.keyFrames, 1, n, frame);
    }
    const QVL::GROUP_TRACK3* t = CurTrack();
    return t ? Motion3D_NextFrameIn(&t->keys[0].frame, kGroupStride, TrackCount(*t), frame) : frame;
}

static void StepKey(bool forward)
{
    if (LeftHeld() || RightHeld()) return;
    MOTION3D_WINDOWS& w = g_Motion3DWindows;
    void* active = Wnd_Active();
    if (active != w.keyDlg && g_CurViewIndex == 0 && active != Wnd_Main()) return;
    Mode_UpdateCurrent();
    MODEL3* m = g_CurModel3;
    if (!m) return;
    FollowCurrentBone();
    m->currentFrame = forward ? Motion3D_NextKeyTime(m->currentFrame) : Motion3D_PrevKeyTime(m->currentFrame);
    Motion3_UpdateKeyIndex(m);
    Motion3D_Refresh();
    View_RequestRedraw();
}

void Motion3D_PrevKey() { StepKey(false); }
void Motion3D_NextKey() { StepKey(true); }

// ---- playback and tools ------------------------------------------------------------------------

void Motion3D_StartPlay()
{
    if (void* b = Model3DDlg_Item(g_Motion3DWindows.motionDlg, 1255)) Wnd_SetText(b, "停止(A)");
    g_SavedFrame = Frame();
    if (g_CurModel3) g_CurModel3->currentFrame = 0;
    g_PlayFlag = 1;
    g_MotionKeyPanelDirty = 1;
}

void Motion3D_StopPlay()
{
    g_PlayFlag = 0;
    if (void* b = Model3DDlg_Item(g_Motion3DWindows.motionDlg, 1255)) Wnd_SetText(b, "再生(A)");
    if (g_CurModel3) g_CurModel3->currentFrame = g_SavedFrame;
    g_MotionKeyPanelDirty = 1;
    View_RequestRedraw();
}

void Motion3D_TogglePlay()
{
    void* active = Wnd_Active();
    const MOTION3D_WINDOWS& w = g_Motion3DWindows;
    if (g_CurViewIndex == 0 && active != Wnd_Main() && active != w.motionDlg && active != w.keyDlg) return;
    if (g_PlayFlag == 1) Motion3D_StopPlay();
    else Motion3D_StartPlay();
}

void Motion3D_ToolMove() { g_DragTool = 0; }
void Motion3D_ToolRotate() { g_DragTool = g_DragTool == 1 ? 3 : 1; }
void Motion3D_ToolScale() { g_DragTool = 2; }

enum { kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27 };

void Motion3D_KeyUp(int key)
{
    switch (key) {
    case kVkLeft: Motion3D_PrevKey(); break;
    case kVkRight: Motion3D_NextKey(); break;
    case kVkUp:
        if (!LeftHeld() && !RightHeld()) View_RequestRedraw();
        break;
    case 'A': Motion3D_TogglePlay(); break;
    case 'T': Motion3D_ToolMove(); g_Motion3DDlgDirty = 1; break;
    case 'R': Motion3D_ToolRotate(); g_Motion3DDlgDirty = 1; break;
    case 'G': Motion3D_ToolScale(); g_Motion3DDlgDirty = 1; break;
    default: break;
    }
}

// ---- key panel ---------------------------------------------------------------------------------

void Motion3D_SetFrameFromPanel(int32_t x)
{
    MODEL3* m = g_CurModel3;
    if (!m) return;
    if (x > 188) {
        const QVL::MOTION3* mo = CurMotion();
        m->currentFrame = Motion3D_PanelFrame(x, g_KeyScrollX, Panel_TimeScale(), mo ? mo->length : 0);
    } else if (g_CurBone3 && g_CurBone3->keyIndex == 0) {
        m->currentFrame = 0;
    }
    List_RebuildBones3D();
}

void Motion3D_PanelRowClick(int32_t x, int32_t row)
{
    MODEL3* m = g_CurModel3;
    if (!m || row < 0 || row >= g_HierRowCount || row >= kHierMaxRows) return;
    g_HierRowCur = row;
    const HIER_ROW& r = g_HierRows[row];
    if (r.item < 0 || r.item >= QVL::kModel3Bones) return;
    g_CurBone = r.item;
    const int32_t depth = r.depth < 0 ? 0 : r.depth;
    if (x > 16 * depth + 1 && x < 16 * depth + 16) m->bones[r.item].expanded = 1 - m->bones[r.item].expanded;
    Mode_UpdateCurrent();
}

void Motion3D_SnapToKey()
{
    MODEL3* m = g_CurModel3;
    if (!m) return;
    if (BoneMotion()) {
        std::vector<KEY3>* keys = Motion3D_BoneKeys(m, g_CurBone);
        if (keys && !keys->empty())
            m->currentFrame = Motion3D_SnapFrame(&(*keys)[0].frame, kBoneStride, (int32_t)keys->size(), m->currentFrame);
    } else if (const QVL::GROUP_TRACK3* t = CurTrack()) {
        m->currentFrame = Motion3D_SnapFrame(&t->keys[0].frame, kGroupStride, TrackCount(*t), m->currentFrame);
    }
}

void Motion3D_ShiftKeyTime(int32_t v)
{
    MODEL3* m = g_CurModel3;
    if (!m) return;
    const int32_t c = m->currentFrame;
    Mode_UpdateCurrent();
    if (BoneMotion()) Motion3D_ShiftBoneKey(m, g_CurBone, c, v);
    else Motion3D_ShiftGroupKey(CurMotion(), g_CurGroup, g_CurKeyIndex, c, v);
    m->currentFrame = c;
}

void Motion3D_ShiftKeyTimeTree(int32_t v)
{
    MODEL3* m = g_CurModel3;
    if (!m || g_HierRowCount >= 256) return;
    const int32_t saved = g_CurBone;
    Motion3D_VisitDescendants(m, saved, ShiftOne, &v);
    g_CurBone = saved;
    Mode_UpdateCurrent();
}

void Motion3D_PanelKeyTiming(int32_t dx)
{
    MODEL3* m = g_CurModel3;
    if (!m || dx == 0) return;
    const int32_t v = Motion3D_KeyTimingStep(dx, Panel_TimeScale());
    const int32_t bone = g_CurBone;
    Motion3D_ShiftKeyTime(v);
    if (BoneMotion() && g_Motion3DState.switch57 == 1 && bone >= 0 && bone < QVL::kModel3Bones &&
        m->bones[bone].firstChild > 0)
        Motion3D_ShiftKeyTimeTree(v);
    const int64_t f = (int64_t)m->currentFrame + v;
    m->currentFrame = f < 0 ? 0 : f > INT32_MAX ? INT32_MAX : (int32_t)f;
    g_CurBone = bone;
    Mode_UpdateCurrent();
}

// ---- combos and the sound list -----------------------------------------------------------------

void Motion3D_FillKindCombo()
{
    void* c = g_Motion3DWindows.kindCombo;
    if (!c) return;
    ListCtl_Reset(c);
    ListCtl_Add(c, " ボーン　モーション");
    ListCtl_Add(c, "グループ モーション");
    ListCtl_Select(c, g_Motion3DState.motionType);
}

void Motion3D_FillTextureCombo()
{
    Mode_UpdateCurrent();
    void* c = g_Motion3DWindows.textureCombo;
    MODEL3* m = g_CurModel3;
    if (!c || !m) return;
    ListCtl_Reset(c);
    const int32_t n = m->textureCount < 0 ? 0 : m->textureCount > QVL::kModel3Textures ? QVL::kModel3Textures : m->textureCount;
    char row[300];
    for (int32_t i = 0; i < n || i == 0; ++i) {
        if (i == 0) Str_CopyN(row, sizeof row, " 0 : なし");
        else if ((size_t)i < m->textures.size() && m->textures[(size_t)i].used)
            Str_Format(row, sizeof row, "%2d : %.255s", i, m->textures[(size_t)i].file);
        else Str_Format(row, sizeof row, "%2d :", i);
        ListCtl_Add(c, row);
    }
    if (g_CurGroup >= 0 && (size_t)g_CurGroup < m->groups.size()) ListCtl_Select(c, m->groups[(size_t)g_CurGroup].texture);
}

void Motion3D_FillSoundList()
{
    void* list = g_Motion3DWindows.soundList;
    if (!list) return;
    ListCtl_Reset(list);
    const MODEL3* m = g_CurModel3;
    if (!m) return;
    const int32_t n = m->soundCount < 0 ? 0 : m->soundCount > QVL::kModel3Sounds ? QVL::kModel3Sounds : m->soundCount;
    char row[300];
    for (int32_t i = 0; i < n; ++i) {
        Str_Format(row, sizeof row, "%2d : %.255s", i, m->soundNames[i]);
        ListCtl_Add(list, row);
    }
}

// ---- menu commands -----------------------------------------------------------------------------

static void CopyMotionData()
{
    const char* name = FileCmd_AskOpen("qvp", "コピー元 QVP ファイルを選択して下さい", "");
    if (name && name[0]) {
        const int32_t id = g_CurLayer >= 0 && (size_t)g_CurLayer < g_LayerModelIds.size() ? g_LayerModelIds[(size_t)g_CurLayer] : -1;
        Model3_TransferVertexData(id, name);
        Mode_UpdateCurrent();
        if (MODEL3* m = g_CurModel3) {
            m->currentFrame = 0;
            Motion3D_RecordUndo("モーションデータ読み込み");
            g_CurBone = 0;
            const int32_t n = m->soundCount > QVL::kModel3Sounds ? QVL::kModel3Sounds : m->soundCount;
            for (int32_t i = 1; i < n; ++i) Wave_LoadModelSound(id, i, m->soundNames[i]);
        }
    }
    Motion3D_Refresh();
    Lib_ResetFrameTimer();
}

static void Freeze()
{
    Mode_UpdateCurrent();
    MODEL3* m = g_CurModel3;
    if (m && Motion3DDlg_AskYesNo("フリーズしてもいいですか？")) {
        for (const QVL::FACE3& f : m->faces) {
            const int corners = f.cornerCount > 4 ? 4 : f.cornerCount;
            for (int c = 0; c < corners; ++c) {
                const int32_t p = f.corners[c][QVL::CORNER_POS];
                if (p >= 0 && (size_t)p < m->positions.size() && (size_t)p < m->deformedPositions.size())
                    m->positions[(size_t)p] = m->deformedPositions[(size_t)p];
            }
        }
        Model3_CalcNormals(m);
        m->currentFrame = 0;
    }
    Motion3D_Refresh();
}

void Motion3D_Command(int id)
{
    switch (id) {
    case 40040:
        if (!g_Motion3DWindows.waveDlg) {
            g_Motion3DWindows.waveDlg = Model3DDlg_Create(MODEL3D_DLG_MOTION_WAVE);
            if (g_Motion3DWindows.waveDlg) {
                Model3DDlg_Place(g_Motion3DWindows.waveDlg, 0, 26, 206, 380);
                g_Motion3DWindows.soundList = Motion3DDlg_ListControl(g_Motion3DWindows.waveDlg, 1);
            }
        }
        Motion3D_FillSoundList();
        break;
    case 40072: CopyMotionData(); break;
    case 40089: Freeze(); break;
    default: break;
    }
}
