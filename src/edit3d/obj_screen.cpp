// The object screen: entry, per-frame work, drawing, the mouse and keys, and the key frames of the
// current motion of object row 0.
#include "edit3d/obj_screen.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "edit3d/model3d_hooks.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/sound.h"
#include "frame/text.h"
#include "model/model_table.h"
#include "render/camera.h"
#include "render/frame_render.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/file_asks.h"
#include "shell/grid.h"
#include "shell/hierarchy.h"
#include "shell/input_state.h"
#include "shell/list_controls.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/playback.h"
#include "shell/views.h"

OBJ3D_STATE g_Obj3DState = {OBJ3D_TOOL_ROTATE, -1, {}, 0, 0, 0, -1, {}};
OBJ3D_UI g_Obj3DUi = {};

namespace {

using QVL::kObj3Keys;
using QVL::kObj3Motions;
using QVL::kObj3Parts;

enum : int {
    KEY_A = 0x41, KEY_G = 0x47, KEY_R = 0x52, KEY_T = 0x54,
    KEY_LEFT = 0x25, KEY_UP = 0x26, KEY_RIGHT = 0x27, KEY_DOWN = 0x28,
};

const char kRootLabel[] = " 0 : 親オブジェクト";
const char kRootTreeLabel[] = " 0  親オブジェクト";
const char kKeysFull[] = "キーフレームは、16個までしか作成できません。";
const char kDiscardObject[] = "編集中のオブジェクトを破棄しても、よろしいですか？";

bool LeftHeld() { return g_Lib.mouse.held[0] != 0; }
bool MiddleHeld() { return g_Lib.mouse.held[1] != 0; }
bool RightHeld() { return g_Lib.mouse.held[2] != 0; }

const QVL::OBJ3_KEY kDefaultKey = {{0, 0, 0}, {0, 0, 0, 1}, {1, 1, 1}};

int32_t PartCount(const QVL::OBJ3& o)
{
    return o.partCount < 1 ? 1 : (o.partCount > kObj3Parts ? kObj3Parts : o.partCount);
}

int32_t KeyCount(const QVL::OBJ3_MOTION& m)
{
    return m.keyCount < 0 ? 0 : (m.keyCount > kObj3Keys ? kObj3Keys : m.keyCount);
}

void FlagDialogs()
{
    g_Obj3DState.listDirty = 1;
    g_Obj3DState.keyDlgDirty = 1;
    g_PanelDirtyObj3Keys = 1;
}

// A projected coordinate as a pixel; far points are held where an int still holds them.
int Pixel(float v)
{
    if (!(v == v)) return 0;
    return v > 1.0e6f ? 1000000 : v < -1.0e6f ? -1000000 : (int)v;
}

// The key of `part` at key index k of the current motion.
QVL::OBJ3_KEY* KeyOf(QVL::OBJ3* o, int32_t part, int32_t k)
{
    return o ? Obj3_Key(o, part, o->motion, k) : nullptr;
}

// The rotation of `degrees` around one axis (0 X, 1 Y, 2 Z) as the studio turns it.
QVL::QUAT AxisQuat(int axis, float degrees)
{
    QVL::MATRIX m;
    Math_MatrixWorld(&m, 0, 0, 0, axis == 1 ? degrees : 0.0f, axis == 0 ? degrees : 0.0f, axis == 2 ? degrees : 0.0f,
                     1, 1, 1);
    QVL::QUAT q;
    Math_MatrixToQuat(&q, m);
    return q;
}

int32_t HierRowOf(int32_t part)
{
    const int32_t rows = g_HierRowCount < 0 ? 0 : (g_HierRowCount > kHierMaxRows ? kHierMaxRows : g_HierRowCount);
    for (int32_t r = 0; r < rows; ++r)
        if (g_HierRows[r].item == part) return r;
    return g_HierRowCur;
}

// The joint of a part in screen pixels.
QVL::VEC3 PartOnScreen(int32_t part)
{
    QVL::VEC3 p, s;
    Obj3_GetPartPosition(&p, 0, part);
    Render_ProjectToScreen(&s, p.x, p.y, p.z);
    return s;
}

void RotateCurrent(int axis, float degrees)
{
    QVL::OBJ3* o = Obj3D_Object();
    if (!o || degrees == 0.0f) return;
    const QVL::QUAT q = AxisQuat(axis, degrees);
    const int32_t part = g_CurPart;
    if (QVL::OBJ3_KEY* k = KeyOf(o, part, o->keyIndex)) {
        QVL::QUAT r = {k->rotation[0], k->rotation[1], k->rotation[2], k->rotation[3]};
        Math_QuatMultiply(&r, q);
        k->rotation[0] = r.x, k->rotation[1] = r.y, k->rotation[2] = r.z, k->rotation[3] = r.w;
    }
    const int32_t child = o->parts[part].firstChild;
    if (child > 0) Obj3D_RotateChildren(child, q);
    g_CurPart = part;
}

void PanView(int key)
{
    if (LeftHeld() || RightHeld() || !g_CurView) return;
    VIEW_REC& v = *g_CurView;
    if (v.type != VIEW_FRONT && v.type != VIEW_TOP && v.type != VIEW_SIDE) return;
    const float step = v.zoom != 0.0f ? 1.0f / v.zoom : 0.0f;
    switch (key) {
    case KEY_RIGHT:
        if (v.type == VIEW_SIDE) v.pan[2] -= step;
        else v.pan[0] += step;
        break;
    case KEY_LEFT:
        if (v.type == VIEW_SIDE) v.pan[2] += step;
        else v.pan[0] -= step;
        break;
    case KEY_UP:
        if (v.type == VIEW_TOP) v.pan[2] -= step;
        else v.pan[1] += step;
        break;
    case KEY_DOWN:
        if (v.type == VIEW_TOP) v.pan[2] += step;
        else v.pan[1] -= step;
        break;
    default:
        return;
    }
    View_RequestRedraw();
}

} // namespace

// ---- the arithmetic ------------------------------------------------------------------------------

int32_t Obj3D_KeyInsertIndex(const int32_t* frames, int32_t count, int32_t frame)
{
    int32_t below = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (frames[i] == frame) return -1;
        if (frames[i] < frame) ++below;
    }
    return below;
}

int32_t Obj3D_KeyIndexAt(const int32_t* frames, int32_t count, int32_t frame)
{
    for (int32_t i = 0; i < count; ++i)
        if (frames[i] == frame) return i;
    return -1;
}

int32_t Obj3D_WrapFrame(int64_t frame, int32_t frameCount)
{
    // Adding or subtracting the count until the frame is inside comes to the remainder; a count of
    // 0 or less has no inside.
    if (frameCount <= 0) return 0;
    int64_t r = frame % frameCount;
    if (r < 0) r += frameCount;
    return (int32_t)r;
}

int32_t Obj3D_BarFrame(int32_t x, int32_t scrollX, int32_t frameCount)
{
    const int64_t f = ((int64_t)x - scrollX - kObj3DBarStart) * 4 / 10;
    return Obj3D_WrapFrame(f, frameCount);
}

bool Obj3D_ParentLoops(const QVL::OBJ3& o, int32_t part)
{
    int32_t p = part;
    for (int32_t steps = 0; p != 0; ++steps) {
        if (steps > kObj3DParentWalkLimit) return true;
        if (p < 0 || p >= kObj3Parts) return false;   // a chain that leaves the table ends there
        p = o.parts[p].parent;
    }
    return false;
}

QVL::OBJ3* Obj3D_Object() { return g_Obj3Table[0]; }

QVL::OBJ3_MOTION* Obj3D_Motion()
{
    QVL::OBJ3* o = Obj3D_Object();
    if (!o || o->motion < 0 || o->motion >= kObj3Motions) return nullptr;
    return &o->motions[o->motion];
}

bool Obj3D_Playing() { return g_PlayFlag == 1; }

// ---- key frames ----------------------------------------------------------------------------------

bool Obj3D_InsertKey()
{
    QVL::OBJ3* o = Obj3D_Object();
    QVL::OBJ3_MOTION* m = Obj3D_Motion();
    if (!o || !m || Obj3D_Playing()) return false;
    const int32_t count = KeyCount(*m);
    const int32_t j = Obj3D_KeyInsertIndex(m->keyFrames, count, o->frame);
    if (j < 0) return true;
    if (count >= kObj3Keys) {
        // The motion has room for 16 key frames and no more.
        Lib_MessageBox(kKeysFull);
        return false;
    }
    Obj3_UpdateKeyIndex(0);
    const int32_t saved = g_CurPart;
    for (int32_t k = count; k > j; --k) m->keyFrames[k] = m->keyFrames[k - 1];
    for (int32_t p = 0; p < kObj3Parts; ++p) {
        g_CurPart = p;
        QVL::OBJ3_KEY value = kDefaultKey;
        if (count > 0) {
            Obj3_InterpolatePart(0, p, o->keyIndex, o->keyFraction);
            const QVL::OBJ3_PART& pt = o->parts[p];
            std::memcpy(value.position, pt.position, sizeof value.position);
            std::memcpy(value.rotation, pt.rotation, sizeof value.rotation);
            std::memcpy(value.scale, pt.scale, sizeof value.scale);
        }
        for (int32_t k = count; k > j; --k) *KeyOf(o, p, k) = *KeyOf(o, p, k - 1);
        *KeyOf(o, p, j) = value;
    }
    m->keyFrames[j] = o->frame;
    m->keyCount = count + 1;
    g_CurPart = saved;
    Obj3_UpdateKeyIndex(0);
    g_PanelDirtyObj3Keys = 1;
    return true;
}

void Obj3D_CopyKeys()
{
    QVL::OBJ3* o = Obj3D_Object();
    if (!o || Obj3D_Playing()) return;
    Obj3_UpdateKeyIndex(0);
    for (int32_t p = 0; p < kObj3Parts; ++p)
        if (const QVL::OBJ3_KEY* k = KeyOf(o, p, o->keyIndex)) g_Obj3DState.clipboard[p] = *k;
}

void Obj3D_DeleteKey()
{
    QVL::OBJ3* o = Obj3D_Object();
    QVL::OBJ3_MOTION* m = Obj3D_Motion();
    if (!o || !m || Obj3D_Playing()) return;
    const int32_t count = KeyCount(*m);
    const int32_t at = Obj3D_KeyIndexAt(m->keyFrames, count, o->frame);
    if (at < 0) return;
    for (int32_t k = at; k + 1 < count; ++k) {
        m->keyFrames[k] = m->keyFrames[k + 1];
        for (int32_t p = 0; p < kObj3Parts; ++p) *KeyOf(o, p, k) = *KeyOf(o, p, k + 1);
    }
    m->keyCount = count - 1;
    Obj3_UpdateKeyIndex(0);
    g_PanelDirtyObj3Keys = 1;
}

void Obj3D_CutKeys()
{
    if (Obj3D_Playing()) return;
    Obj3D_CopyKeys();
    Obj3D_DeleteKey();
}

void Obj3D_PasteKeys()
{
    QVL::OBJ3* o = Obj3D_Object();
    if (!o || Obj3D_Playing()) return;
    // A refused insertion leaves no key at the frame: nothing is overwritten then.
    if (!Obj3D_InsertKey()) return;
    Obj3_UpdateKeyIndex(0);
    QVL::OBJ3_MOTION* m = Obj3D_Motion();
    const int32_t at = Obj3D_KeyIndexAt(m->keyFrames, KeyCount(*m), o->frame);
    if (at < 0) return;
    for (int32_t p = 0; p < PartCount(*o); ++p) *KeyOf(o, p, at) = g_Obj3DState.clipboard[p];
    g_PanelDirtyObj3Keys = 1;
}

// ---- playback ------------------------------------------------------------------------------------

void Obj3D_PlayStart()
{
    g_LoopPlay = g_Obj3DUi.loopChecked && g_Obj3DUi.loopChecked() ? 1 : 0;
    if (QVL::OBJ3* o = Obj3D_Object()) {
        o->frame = 0;
        o->fraction = 0.0f;
    }
    g_PlayFlag = 1;
    g_PanelDirtyObj3Keys = 1;
}

void Obj3D_PlayStop()
{
    g_PlayFlag = 0;
    g_PanelDirtyObj3Keys = 1;
    View_RequestRedraw();
}

void Obj3D_PlayToggle()
{
    if (Obj3D_Playing()) Obj3D_PlayStop();
    else Obj3D_PlayStart();
}

void Obj3D_SetFrameFromBar(int32_t cursorX)
{
    QVL::OBJ3* o = Obj3D_Object();
    QVL::OBJ3_MOTION* m = Obj3D_Motion();
    if (!o || !m) return;
    o->frame = Obj3D_BarFrame(cursorX, g_KeyScrollX, m->length);
    Obj3_UpdateKeyIndex(0);
    List_RebuildObj3D();
}

void Obj3D_RotateChildren(int32_t part, const QVL::QUAT& rotation)
{
    QVL::OBJ3* o = Obj3D_Object();
    if (!o || g_HierRowCount >= kHierMaxRows) return;
    // The links come from the part tree; a walk that visits more parts than exist is a loop.
    int32_t stack[kObj3Parts];
    int32_t top = 0, visits = 0;
    stack[top++] = part;
    while (top > 0) {
        const int32_t p = stack[--top];
        if (p <= 0 || p >= kObj3Parts || ++visits > kObj3Parts) continue;
        g_CurPart = p;
        if (!Obj3D_InsertKey()) continue;
        Obj3_UpdateKeyIndex(0);
        if (QVL::OBJ3_KEY* k = KeyOf(o, p, o->keyIndex)) {
            QVL::QUAT r = {k->rotation[0], k->rotation[1], k->rotation[2], k->rotation[3]};
            Math_QuatMultiply(&r, rotation);
            k->rotation[0] = r.x, k->rotation[1] = r.y, k->rotation[2] = r.z, k->rotation[3] = r.w;
        }
        // Depth first: the first child before the next sibling.
        if (top < kObj3Parts && o->parts[p].nextSibling > 0) stack[top++] = o->parts[p].nextSibling;
        if (top < kObj3Parts && o->parts[p].firstChild > 0) stack[top++] = o->parts[p].firstChild;
    }
}

// ---- lists ---------------------------------------------------------------------------------------

static void FillPartRows(void* ctl, int32_t selected)
{
    QVL::OBJ3* o = Obj3D_Object();
    if (!ctl || !o) return;
    ListCtl_Reset(ctl);
    char text[300];
    for (int32_t p = 0; p < PartCount(*o); ++p) {
        if (p == 0) Str_CopyN(text, sizeof text, kRootLabel);
        else Str_Format(text, sizeof text, "%2d : %.255s", p, o->parts[p].file);
        ListCtl_Add(ctl, text);
    }
    ListCtl_Select(ctl, selected);
}

void Obj3D_FillParentCombo()
{
    QVL::OBJ3* o = Obj3D_Object();
    if (!o) return;
    const int32_t parent = g_CurPart >= 0 && g_CurPart < kObj3Parts ? o->parts[g_CurPart].parent : 0;
    FillPartRows(g_Obj3DUi.parentCombo, parent);
}

void Obj3D_FillPartList()
{
    FillPartRows(g_Obj3DUi.partList, g_CurPart);
    // The part list takes several selections: the current row is selected as one of them.
    if (g_Obj3DUi.partList) ListCtl_SetSel(g_Obj3DUi.partList, g_CurPart);
}

void Obj3D_FillPartTree()
{
    QVL::OBJ3* o = Obj3D_Object();
    void* tree = g_Obj3DUi.partTree;
    if (!o || !tree) return;
    TreeCtl_Clear(tree);
    void* items[kObj3Parts] = {};
    for (int32_t p = 0; p < kObj3Parts; ++p) g_Obj3DState.treeLabels[p][0] = 0;
    for (int32_t p = 0; p < kObj3Parts; ++p) {
        char* label = g_Obj3DState.treeLabels[p];
        if (p == 0) Str_CopyN(label, 256, kRootTreeLabel);
        else if (g_Obj3Flags[0][p] == 1) Str_Format(label, 256, "%2d  %.250s", p, o->parts[p].file);
        else continue;
        const int32_t parent = o->parts[p].parent;
        void* under = parent > 0 && parent < kObj3Parts ? items[parent] : nullptr;
        items[p] = TreeCtl_Insert(tree, under, label);
        if (under) TreeCtl_Expand(tree, under);
    }
    if (g_CurPart >= 0 && g_CurPart < kObj3Parts && items[g_CurPart]) TreeCtl_Select(tree, items[g_CurPart]);
}

void Obj3D_FillSoundList()
{
    void* list = g_Obj3DUi.soundList;
    const QVL::MODEL3* m = Model3_GetById(g_CurLayer);
    if (!list) return;
    ListCtl_Reset(list);
    if (!m) return;
    const int32_t n = m->soundCount < 0 ? 0 : (m->soundCount > QVL::kModel3Sounds ? QVL::kModel3Sounds : m->soundCount);
    char text[300];
    for (int32_t i = 0; i < n; ++i) {
        Str_Format(text, sizeof text, "%2d : %.255s", i, m->soundNames[i]);
        ListCtl_Add(list, text);
    }
}

void Obj3D_RefreshLists()
{
    if (g_Screen != SCREEN_3D_OBJECT) return;
    FlagDialogs();
    Obj3D_FillPartList();
    Obj3D_FillSoundList();
    Obj3D_FillPartTree();
    List_FillMotionsObj3D();
    Obj3D_FillParentCombo();
}

// ---- the screen ----------------------------------------------------------------------------------

void Obj3D_Enter()
{
    g_CurLayer = 0;
    if (g_HierRowCur == 0) g_HierRowCur = 1;
    if (g_KeyHoverRow == 0) g_KeyHoverRow = 1;
    QVL::OBJ3* old = Obj3D_Object();
    // Entering starts a new object; one with parts is only thrown away when the user agrees.
    const bool keep = old && g_Obj3Flags[0][0] == 1 && old->partCount > 1 && g_Obj3DUi.askYesNo &&
                      !g_Obj3DUi.askYesNo(kDiscardObject);
    if (!keep) {
        for (int32_t p = 0; p < kObj3Parts; ++p) {
            Obj3_InitPart(0, p);
            g_Obj3Flags[0][p] = 0;
        }
        g_Obj3Flags[0][0] = 1;
        QVL::OBJ3* o = Obj3D_Object();
        o->partCount = 1;
        o->frame = 0;
        o->fraction = 0.0f;
        o->motion = 0;
        g_CurPart = 0;
    }
    if (QVL::MODEL3* m = Model3_GetById(0)) m->currentMotion = 0;
    Mode_UpdateCurrent();
    g_Obj3DState.tool = OBJ3D_TOOL_ROTATE;
    g_Obj3DState.ring = -1;
    g_Obj3DState.lastListRow = -1;
    if (g_Obj3DUi.createWindows) g_Obj3DUi.createWindows();
    List_RebuildObj3D();
    Obj3D_RefreshLists();
}

void Obj3D_Exit()
{
    Obj3D_PlayStop();
    if (g_Obj3DUi.destroyWindows) g_Obj3DUi.destroyWindows();
    g_Obj3DUi.partTree = g_Obj3DUi.partList = g_Obj3DUi.parentCombo = g_Obj3DUi.soundList = nullptr;
    g_ObjMotionListCtl = nullptr;
}

void Obj3D_Frame()
{
    g_PanelDirtyObj3Keys = 1;
    g_Obj3DState.keyDlgKey = 0;
    Render_Set3DScene(1);
}

void Obj3D_DrawJointCross(int32_t part, int32_t ring)
{
    QVL::VEC3 j;
    Obj3_GetPartPosition(&j, 0, part);
    // Y, X, Z, each red, green, blue unless it is the active ring's axis of the current part.
    const float dirs[3][3] = {{0, 0.5f, 0}, {0.5f, 0, 0}, {0, 0, 0.5f}};
    const int colours[3][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    for (int k = 0; k < 3; ++k) {
        QVL::VEC3 a, b;
        Render_ProjectToScreen(&a, j.x + dirs[k][0], j.y + dirs[k][1], j.z + dirs[k][2]);
        Render_ProjectToScreen(&b, j.x - dirs[k][0], j.y - dirs[k][1], j.z - dirs[k][2]);
        const bool lit = part == g_CurPart && ring == k;
        Draw_Line2DSimple(Pixel(a.x), Pixel(a.y), Pixel(b.x), Pixel(b.y), lit ? 255 : colours[k][0],
                          lit ? 255 : colours[k][1], lit ? 0 : colours[k][2], 255);
    }
}

void Obj3D_Draw()
{
    QVL::OBJ3* o = Obj3D_Object();
    if (!o || Render_PickedViewType() != VIEW_MAIN || Obj3D_Playing()) return;
    QVL::VEC3 c;
    Obj3_GetPartPosition(&c, 0, g_CurPart >= 0 && g_CurPart < kObj3Parts ? g_CurPart : 0);
    const bool anyHeld = LeftHeld() || MiddleHeld() || RightHeld();
    int32_t nearest = 99999, nearRing = -1;
    const int colours[3][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    for (int ring = 0; ring < 3; ++ring) {
        int px[17], py[17];
        for (int s = 0; s <= 16; ++s) {
            const float a = (float)s * 22.5f * 3.14159265f / 180.0f;
            const float u = 1.5f * (std::cos(a) + std::sin(a)), v = 1.5f * (std::cos(a) - std::sin(a));
            float p[3] = {c.x, c.y, c.z};
            if (ring == 0) p[0] += u, p[2] += v;        // around Y
            else if (ring == 1) p[1] += u, p[2] += v;   // around X
            else p[0] += u, p[1] += v;                  // around Z
            QVL::VEC3 sp;
            Render_ProjectToScreen(&sp, p[0], p[1], p[2]);
            px[s] = Pixel(sp.x), py[s] = Pixel(sp.y);
            const int32_t d = std::abs(px[s] - g_PressPoint.x) + std::abs(py[s] - g_PressPoint.y);
            if (d < nearest) nearest = d, nearRing = ring;
        }
        const bool active = ring == g_Obj3DState.ring;
        const int alpha = LeftHeld() && !active ? 32 : 255;
        for (int s = 0; s < 16; ++s)
            Draw_Line2DSimple(px[s], py[s], px[s + 1], py[s + 1], active ? 255 : colours[ring][0],
                              active ? 255 : colours[ring][1], active ? 0 : colours[ring][2], alpha);
    }
    if (!anyHeld) {
        g_Obj3DState.ring = nearRing;
        if (nearest > 50 || g_CurPart == 0 || g_Obj3DState.tool != OBJ3D_TOOL_ROTATE) g_Obj3DState.ring = -1;
    }
    if (!LeftHeld() && !MiddleHeld()) {
        for (int32_t p = 1; p < PartCount(*o); ++p) Obj3D_DrawJointCross(p, g_Obj3DState.ring);
    } else if (g_CurPart > 0 && g_CurPart < kObj3Parts) {
        Obj3D_DrawJointCross(g_CurPart, g_Obj3DState.ring);
    }
}

void Obj3D_DrawOverlay() { Grid_DrawGround3D(); }

void Obj3D_LButtonDown(int32_t)
{
    g_DragCurrent = g_DragStart = g_PrevMousePos = g_DragAnchor = g_LeftPressPoint = g_PressPoint;
    Mode_UpdateCurrent();
    Obj3D_InsertKey();
    View_RequestRedraw();
}

void Obj3D_LButtonUp(int32_t) { View_RequestRedraw(); }

void Obj3D_RButtonUp(int32_t)
{
    QVL::OBJ3* o = Obj3D_Object();
    if (!o || !g_CurView || g_CurView->type != VIEW_MAIN || Obj3D_Playing()) return;
    if (g_PrevMousePos.x != g_PressPoint.x || g_PrevMousePos.y != g_PressPoint.y) return;
    int32_t best = 99999, pick = -1;
    for (int32_t p = 1; p < PartCount(*o); ++p) {
        const QVL::VEC3 s = PartOnScreen(p);
        const int32_t d = std::abs(Pixel(s.x) - g_PressPoint.x) + std::abs(Pixel(s.y) - g_PressPoint.y);
        if (d < best) best = d, pick = p;
    }
    if (pick < 0) return;
    g_CurPart = pick;
    g_HierRowCur = HierRowOf(pick);
    Mode_RefreshAll();
}

void Obj3D_MouseMove(int32_t)
{
    QVL::OBJ3* o = Obj3D_Object();
    QVL::OBJ3_MOTION* m = Obj3D_Motion();
    if (!o || !m || !g_CurView || !LeftHeld() || MiddleHeld() || RightHeld() || Obj3D_Playing()) return;
    if (g_CurPart <= 0 || g_CurPart >= PartCount(*o)) return;
    if (Obj3D_KeyIndexAt(m->keyFrames, KeyCount(*m), o->frame) < 0) return;
    Obj3_UpdateKeyIndex(0);
    QVL::OBJ3_KEY* key = KeyOf(o, g_CurPart, o->keyIndex);
    if (!key) return;
    const float dx = g_MouseDelta.x, dy = g_MouseDelta.y;
    const int type = g_CurView->type;
    const int32_t tool = g_Obj3DState.tool;
    if (tool == OBJ3D_TOOL_MOVE || tool == OBJ3D_TOOL_PIVOT) {
        float d[3] = {0, 0, 0};
        if (type == VIEW_MAIN) {
            if (g_GizmoAxis == 0) d[0] = (dx - dy) * 0.05f;
            else if (g_GizmoAxis == 1) d[1] = (dx - dy) * 0.05f;
            else if (g_GizmoAxis == 2) d[2] = -(dx + dy) * 0.05f;
        } else if (type == VIEW_FRONT) {
            d[0] = dx * 0.05f, d[1] = -dy * 0.05f;
        } else if (type == VIEW_TOP) {
            d[0] = dx * 0.05f, d[2] = -dy * 0.05f;
        } else if (type == VIEW_SIDE) {
            d[2] = dx * 0.05f, d[1] = -dy * 0.05f;
        }
        float* target = tool == OBJ3D_TOOL_MOVE ? key->position : o->pivots[g_CurPart];
        for (int i = 0; i < 3; ++i) target[i] += d[i];
    } else if (tool == OBJ3D_TOOL_ROTATE) {
        float angle[3] = {0, 0, 0};   // around X, Y, Z
        if (type == VIEW_MAIN) {
            if (g_Obj3DState.ring == 0) angle[1] = (dy - dx) * 0.3f;
            else if (g_Obj3DState.ring == 1) angle[0] = (dx - dy) * 0.3f;
            else if (g_Obj3DState.ring == 2) angle[2] = (dx - dy) * 0.3f;
        } else if (type == VIEW_FRONT) {
            angle[2] = (dx - dy) * 0.3f;
        } else if (type == VIEW_TOP) {
            angle[1] = (dx - dy) * 0.3f;
        } else if (type == VIEW_SIDE) {
            angle[0] = (dx - dy) * 0.3f;
        }
        for (int axis = 0; axis < 3; ++axis) RotateCurrent(axis, angle[axis]);
    } else if (tool == OBJ3D_TOOL_SCALE && type == VIEW_MAIN) {
        for (float& s : key->scale) s += dx * 0.01f - dy * 0.01f;
    }
    g_Obj3DState.keyDlgDirty = 1;
    g_PanelDirtyObj3Keys = 1;
}

void Obj3D_KeyDown(int key)
{
    switch (key) {
    case KEY_T: g_Obj3DState.tool = OBJ3D_TOOL_MOVE; g_Obj3DState.keyDlgDirty = 1; break;
    case KEY_R: g_Obj3DState.tool = OBJ3D_TOOL_ROTATE; g_Obj3DState.keyDlgDirty = 1; break;
    case KEY_G: g_Obj3DState.tool = OBJ3D_TOOL_SCALE; g_Obj3DState.keyDlgDirty = 1; break;
    case KEY_A: Obj3D_PlayToggle(); break;
    case KEY_LEFT:
    case KEY_RIGHT:
    case KEY_UP:
    case KEY_DOWN: PanView(key); break;
    default: break;
    }
}

void Obj3D_Command(int id)
{
    switch (id) {
    case 40040:
        if (g_Obj3DUi.openWaveDialog) g_Obj3DUi.openWaveDialog();
        Obj3D_FillSoundList();
        break;
    case 40094: {
        const char* answer = FileCmd_AskOpen("QVP", "コピー元 QVP ファイルを選択して下さい", "");
        if (answer && answer[0]) {
            if (QVL::OBJ3* o = Obj3D_Object()) o->frame = 0;
            g_CurBone = 0;
            if (QVL::MODEL3* m = Model3_GetById(g_CurLayer)) {
                const int32_t n = m->soundCount > QVL::kModel3Sounds ? QVL::kModel3Sounds : m->soundCount;
                for (int32_t i = 1; i < n; ++i) Wave_LoadModelSound(m->id, i, m->soundNames[i]);
            }
        }
        Obj3D_RefreshLists();
        Lib_ResetFrameTimer();
        break;
    }
    default:
        break;
    }
}
