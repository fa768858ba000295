// The object screen's tool windows without their windows: parts and parents, key buttons, the key
// panel's scrolling, scrubbing and key dragging, and the sound list.
#include "edit3d/obj_dialogs.h"

#include <cstring>

#include "edit3d/obj_screen.h"
#include "frame/services.h"
#include "frame/sound.h"
#include "frame/text.h"
#include "model/model_table.h"
#include "model/obj3.h"
#include "shell/current.h"
#include "shell/hierarchy.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/picking.h"

OBJ3D_KEY_PANEL g_Obj3DKeyPanel = {};

namespace {

const char kPart1Parent[] = "オブジェクトNo.1 の親Noは変更できません";
const char kOwnParent[] = "自分自身は、親に設定できません。";
const char kParentLoop[] = "無限ループの可能性があります。";
const char kRootReplace[] = "親オブジェクトは、入れ替えできません。";
const char kRootDelete[] = "親オブジェクトは、消去できません。";
const char kTooManyParts[] = "オブジェクトは、32個までしか追加できません。";
const char kTooManySounds[] = "効果音は、100個までしか追加できません。";

int32_t PartCount(const QVL::OBJ3& o)
{
    return o.partCount < 1 ? 1 : (o.partCount > QVL::kObj3Parts ? QVL::kObj3Parts : o.partCount);
}

void ClampCurrentPart()
{
    QVL::OBJ3* o = Obj3D_Object();
    const int32_t n = o ? PartCount(*o) : 1;
    if (g_CurPart >= n) g_CurPart = n - 1;
    if (g_CurPart < 0) g_CurPart = 0;
}

void FlagBoth()
{
    g_Obj3DState.listDirty = 1;
    g_Obj3DState.keyDlgDirty = 1;
}

bool IsKeyFrame(const QVL::OBJ3& o, int32_t frame)
{
    const QVL::OBJ3_MOTION* m = Obj3D_Motion();
    if (!m) return false;
    const int32_t n = m->keyCount < 0 ? 0 : (m->keyCount > QVL::kObj3Keys ? QVL::kObj3Keys : m->keyCount);
    (void)o;
    return Obj3D_KeyIndexAt(m->keyFrames, n, frame) >= 0;
}

} // namespace

// ---- OBJ_LIST_DLG ----------------------------------------------------------------------------------

void Obj3DList_TakeRow(int32_t row)
{
    QVL::OBJ3* o = Obj3D_Object();
    // No selection reads as LB_ERR: that is no part.
    if (!o || row < 0 || row >= PartCount(*o)) return;
    g_CurPart = row;
    if (row == g_Obj3DState.lastListRow) return;
    g_Obj3DState.lastListRow = row;
    g_HierRowCur = row;
    Obj3D_RefreshLists();
    View_RequestRedraw();
}

const char* Obj3DList_ApplyParent(int32_t comboRow)
{
    QVL::OBJ3* o = Obj3D_Object();
    ClampCurrentPart();
    if (!o) return nullptr;
    const char* message = nullptr;
    QVL::OBJ3_PART& part = o->parts[g_CurPart];
    const int32_t old = part.parent;
    part.parent = comboRow >= 0 && comboRow < PartCount(*o) ? comboRow : 0;
    if (g_CurPart == 1) {
        part.parent = 0;
        message = kPart1Parent;
    } else if (part.parent == g_CurPart) {
        part.parent = old;
        message = kOwnParent;
    } else if (Obj3D_ParentLoops(*o, g_CurPart)) {
        part.parent = old;
        message = kParentLoop;
    }
    if (message) Lib_MessageBox(message);
    List_RebuildObj3D();
    Obj3D_RefreshLists();
    return message;
}

bool Obj3DList_RoomForPart()
{
    QVL::OBJ3* o = Obj3D_Object();
    if (!o) return false;
    if (o->partCount >= QVL::kObj3Parts) {
        Lib_MessageBox(kTooManyParts);
        return false;
    }
    return true;
}

bool Obj3DList_AddPart(const char* path)
{
    QVL::OBJ3* o = Obj3D_Object();
    if (!Obj3DList_RoomForPart() || !path || !path[0]) return false;
    const bool ok = Obj3_LoadPartModel(0, o->partCount < 1 ? 1 : o->partCount, path);
    g_CurPart = PartCount(*o) - 1;
    List_RebuildObj3D();
    Obj3D_RefreshLists();
    View_RequestRedraw();
    return ok;
}

bool Obj3DList_ReplacePart(const char* path)
{
    ClampCurrentPart();
    if (g_CurPart == 0) {
        Lib_MessageBox(kRootReplace);
        return false;
    }
    if (!path || !path[0]) return false;
    const bool ok = Obj3_LoadPartModel(0, g_CurPart, path);
    Obj3D_RefreshLists();
    return ok;
}

bool Obj3DList_DeletePart()
{
    QVL::OBJ3* o = Obj3D_Object();
    ClampCurrentPart();
    if (g_CurPart == 0) {
        Lib_MessageBox(kRootDelete);
        return false;
    }
    if (!o) return false;
    const int32_t before = PartCount(*o);
    if (!Obj3_DeletePart(o, g_CurPart)) return false;
    // The part that moved down left its old place empty.
    if (PartCount(*o) < before) {
        g_Obj3Flags[0][before - 1] = 0;
        o->parts[before - 1].parent = 0;
    }
    ClampCurrentPart();
    List_RebuildObj3D();
    Obj3D_RefreshLists();
    View_RequestRedraw();
    return true;
}

void Obj3DList_PivotTool()
{
    g_Obj3DState.tool = OBJ3D_TOOL_PIVOT;
    FlagBoth();
    View_RequestRedraw();
}

int32_t Obj3DList_SelectByTreeText(const char* text)
{
    if (!text) return -1;
    for (int32_t p = 0; p < QVL::kObj3Parts; ++p) {
        if (g_Obj3DState.treeLabels[p][0] && std::strcmp(g_Obj3DState.treeLabels[p], text) == 0) {
            g_CurPart = p;
            g_Obj3DState.lastListRow = p;
            View_RequestRedraw();
            g_Obj3DState.listDirty = 1;
            return p;
        }
    }
    return -1;
}

// ---- 3D_OBJ_DLG ------------------------------------------------------------------------------------

void Obj3DKeys_Command(int id)
{
    switch (id) {
    case 1444: Obj3D_PlayStart(); break;
    case 1445: Obj3D_PlayStop(); break;
    case 1446: Obj3D_InsertKey(); Obj3D_RefreshLists(); break;
    case 1447: Obj3D_CopyKeys(); break;
    case 1448: Obj3D_CutKeys(); Obj3D_RefreshLists(); break;
    case 1449: Obj3D_PasteKeys(); Obj3D_RefreshLists(); break;
    case 1450: Obj3D_DeleteKey(); Obj3D_RefreshLists(); break;
    case 1451:
    case 1452:
    case 1453:
        g_Obj3DState.tool = id - 1451;
        FlagBoth();
        View_RequestRedraw();
        break;
    default: break;
    }
}

// ---- OBJ_KEY_DLG -----------------------------------------------------------------------------------

void Obj3DPanel_HScroll(int kind, int32_t thumb)
{
    OBJ3D_KEY_PANEL& k = g_Obj3DKeyPanel;
    int32_t pos = k.scrollPos;
    switch (kind) {
    case OBJ3D_SCROLL_LINE_LEFT: pos -= 1; break;
    case OBJ3D_SCROLL_LINE_RIGHT: pos += 1; break;
    case OBJ3D_SCROLL_PAGE_LEFT: pos -= 60; break;
    case OBJ3D_SCROLL_PAGE_RIGHT: pos += 60; break;
    case OBJ3D_SCROLL_THUMB: pos = thumb; break;
    default: return;
    }
    if (pos > k.scrollMax) pos = k.scrollMax;
    if (pos < 0) pos = 0;
    k.scrollPos = pos;
    if (QVL::OBJ3* o = Obj3D_Object()) o->frame = pos;
    g_Obj3DState.keyDlgDirty = 1;
    g_PanelDirtyObj3Keys = 1;
}

void Obj3DPanel_LButtonDown()
{
    g_Obj3DKeyPanel.left = 1;
    if (QVL::OBJ3* o = Obj3D_Object()) g_Obj3DKeyPanel.pressFrame = o->frame;
    Obj3D_SetFrameFromBar(g_Obj3DKeyPanel.cursorX);
    View_RequestRedraw();
    View_ClassifyDrag();
}

void Obj3DPanel_LButtonUp()
{
    g_Obj3DKeyPanel.left = 0;
    View_RequestRedraw();
    View_ClassifyDrag();
}

void Obj3DPanel_DoubleClick()
{
    Obj3D_InsertKey();
    Obj3D_RefreshLists();
}

int32_t Obj3DPanel_DragStep(int32_t dx)
{
    int32_t step = dx * 4 / 12;
    // A slow drag still moves: at least one frame in the drag's direction.
    if (step == 0 && dx > 0) step = 1;
    if (step == 0 && dx < 0) step = -1;
    return step;
}

bool Obj3DPanel_MoveKey(int32_t step)
{
    QVL::OBJ3* o = Obj3D_Object();
    if (!o || step == 0 || !IsKeyFrame(*o, o->frame)) return false;
    int64_t target = (int64_t)o->frame + step;
    if (target < 0) target = 0;
    if (target > INT32_MAX) target = INT32_MAX;
    if (target == o->frame || IsKeyFrame(*o, (int32_t)target)) return false;
    Obj3D_CutKeys();
    o->frame = (int32_t)target;
    Obj3D_PasteKeys();
    return true;
}

void Obj3DPanel_MouseMove(int32_t x, int32_t y)
{
    OBJ3D_KEY_PANEL& k = g_Obj3DKeyPanel;
    View_RequestRedraw();
    k.prevX = k.cursorX, k.prevY = k.cursorY;
    k.cursorX = x, k.cursorY = y;
    const int32_t rowsTop = kKeyRowsTop + g_KeyScrollY;
    g_KeyHoverRow = y >= rowsTop ? (y - rowsTop) / kKeyRowHeight : -1;
    const int32_t dx = k.cursorX - k.prevX, dy = k.cursorY - k.prevY;
    if (k.left && !k.middle && !k.right) {
        Obj3D_SetFrameFromBar(x);
    } else if (k.middle && !k.left) {
        Obj3DPanel_MoveKey(Obj3DPanel_DragStep(dx));
    } else if (k.right && !k.left && !k.middle) {
        g_KeyScrollX += dx;
        g_KeyScrollY += dy;
        if (g_KeyScrollX > 0) g_KeyScrollX = 0;
        if (g_KeyScrollY > 0) g_KeyScrollY = 0;
    }
}

// ---- OBJ_WAVE_DLG ----------------------------------------------------------------------------------

bool Obj3DWave_AddSound(const char* path)
{
    QVL::MODEL3* m = Model3_GetById(g_CurLayer);
    if (!m || !path || !path[0]) return false;
    if (m->soundCount >= kObj3DMaxSounds || m->soundCount >= QVL::kModel3Sounds) {
        Lib_MessageBox(kTooManySounds);
        return false;
    }
    const int32_t index = m->soundCount < 0 ? 0 : m->soundCount;
    Wave_LoadModelSound(m->id, index, path);
    Str_CopyN(m->soundNames[index], sizeof m->soundNames[index], path);
    m->soundCount = index + 1;
    Obj3D_FillSoundList();
    return true;
}
