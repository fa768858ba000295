// The shell's side of every mode: entry and exit through the mode's record, the redraw request,
// the current records, and the mouse and draw passes routed to the mode's record.
#include "shell/mode_hooks.h"

#include "frame/frame.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "shell/ui_services.h"
#include "model/model2.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "model/obj3.h"
#include "model/scene_object.h"
#include "render/screens.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/input_state.h"
#include "shell/mode_input.h"
#include "shell/panels.h"
#include "shell/picking.h"
#include "shell/views.h"

const MODE_HOOKS& Mode_Hooks(int mode)
{
    static const MODE_HOOKS none = {};
    return mode >= 0 && mode < kModeCount ? g_ModeHooks[mode] : none;
}

static void Run(MODE_FN fn) { if (fn) fn(); }

void Mode_Enter()
{
    View_RequestRedraw();
    int s = g_Screen >= 0 && g_Screen < kScreenCount ? g_Screen : 0;
    g_ViewCount[s] = g_Mode == MODE_MOVIE ? 5 : g_Mode == MODE_PROGRAM ? 1 : 4;
    Run(Mode_Hooks(g_Mode).enter);
    g_OptionsSlot.dirty = 1;
    Wnd_Activate(Wnd_Main());
}

void Mode_Exit()
{
    if (g_ModeMenu) Menu_Destroy(g_ModeMenu);
    g_ModeMenu = nullptr;
    Run(Mode_Hooks(g_Mode).exit);
}

int View_RequestRedraw()
{
    VIEW_REC* row = View_Row();
    int n = View_CountOfScreen();
    for (int i = 0; i < n; ++i)
        if (row[i].window && row[i].exists == 1) row[i].redraw = 1;
    Render_MarkScreenDirty(0);
    Panel_FlagAllDirty();
    g_SketchSlot.dirty = 1;
    return 1;
}

// Element i of a list, or null when the index is outside it.
template <class T> static T* At(std::vector<T>& list, int32_t i)
{
    return i >= 0 && (size_t)i < list.size() ? &list[(size_t)i] : nullptr;
}

// The current bone of the current model and the records hanging off it.
static void UpdateCurrentBone()
{
    g_CurBone3 = nullptr;
    g_CurRestKey3 = nullptr;
    g_CurMotion3 = nullptr;
    g_CurKeys3 = nullptr;
    g_CurKey3 = nullptr;
    QVL::MODEL3* m = g_CurModel3;
    if (!m) return;
    int32_t bones = m->boneCount < QVL::kModel3Bones ? m->boneCount : QVL::kModel3Bones;
    if (g_CurBone >= 0 && g_CurBone < bones) {
        g_CurBone3 = &m->bones[g_CurBone];
        g_CurRestKey3 = &g_CurBone3->rest;
    }
    g_CurMotion3 = At(m->motions, m->currentMotion);
    if (!g_CurBone3 || !g_CurMotion3) return;
    g_CurKeys3 = At(g_CurBone3->keys, m->currentMotion);
    if (g_CurKeys3) g_CurKey3 = At(*g_CurKeys3, g_CurBone3->keyIndex);
}

static void UpdateCurrentObj2()
{
    g_CurObj2 = Obj2_GetById(g_CurObj2Id);
    g_CurObj2Part = nullptr;
    g_CurObjKeyList = nullptr;
    g_CurObjKey = nullptr;
    g_CurObj2Motion = nullptr;
    QVL::OBJ2* o = g_CurObj2;
    if (!o) return;
    if (g_CurPart >= 0 && g_CurPart < QVL::kObj2MaxParts) g_CurObj2Part = &o->parts[g_CurPart];
    g_CurObj2Motion = At(o->motions, o->motion);
    if (!g_CurObj2Part) return;
    g_CurObjKeyList = At(g_CurObj2Part->keyLists, o->motion);
    if (g_CurObjKeyList) g_CurObjKey = At(g_CurObjKeyList->keys, g_CurObj2Part->keyIndex);
}

void Mode_UpdateCurrent()
{
    if (g_CurViewIndex < 0 || g_CurViewIndex >= kViewsPerScreen) g_CurViewIndex = 0;
    g_CurView = &View_Row()[g_CurViewIndex];
    UpdateCurrentObj2();
    // The 2D editor always works on model slot 0.
    g_CurModel2 = g_Mode == MODE_2D_EDIT ? Model2_Get(0) : nullptr;
    // The 3D object editor works on object row 0.
    g_CurObj3 = g_Mode == MODE_3D_EDIT ? g_Obj3Table[0] : nullptr;
    g_CurObject = nullptr;
    if (g_Mode != MODE_3D_EDIT || (g_CurLayer >= 0 && (size_t)g_CurLayer < g_LayerObjectIds.size()))
        g_CurObject = Object_GetById(Layer_GetObjectId());
    g_CurModel3 = nullptr;
    if (g_Mode != MODE_3D_EDIT || (g_CurLayer >= 0 && (size_t)g_CurLayer < g_LayerModelIds.size()))
        g_CurModel3 = Model3_GetById(Layer_GetModelId());
    if (g_CurModel3) Motion3_UpdateKeyIndex(g_CurModel3);
    UpdateCurrentBone();
    g_CurEffect = Effect_GetData(g_CurEffectId);
    g_EffectEditPart = g_CurEffect ? At(g_CurEffect->parts, g_CurLayer) : nullptr;
    g_CurEffectInst = Effect_GetInstance(g_CurEffectInstIndex);
}

// ---- mouse -------------------------------------------------------------------------------------

static POINT32 g_MoveLast;  // the point of the previous mouse move

static void StorePoint(int32_t lParam)
{
    g_PressPoint.x = QVL::Frame_MouseCoord((uint32_t)lParam);
    g_PressPoint.y = QVL::Frame_MouseCoord((uint32_t)lParam >> 16);
}

static void Dispatch(MODE_MOUSE_FN fn, int32_t lParam)
{
    if (g_Mode > MODE_MOVIE) return;
    if (fn) fn(lParam);
}

void Mode_StoreDragStart(int32_t)
{
    g_DragStart = g_PressPoint;
    g_DragCurrent = g_PrevMousePos = g_DragAnchor = g_LeftPressPoint = g_PressPoint;
}

void Mode_LButtonDown(int32_t lParam)
{
    StorePoint(lParam);
    Dispatch(Mode_Hooks(g_Mode).lButtonDown, lParam);
}

void Mode_LButtonUp(int32_t lParam)
{
    StorePoint(lParam);
    if (g_Lib.mouse.held[2]) {
        g_Lib.mouse.held[2] = 0;
        return;
    }
    View_RequestRedraw();
    Mode_UpdateCurrent();
    Dispatch(Mode_Hooks(g_Mode).lButtonUp, lParam);
}

void Mode_MButtonDown(int32_t lParam)
{
    StorePoint(lParam);
    Dispatch(Mode_Hooks(g_Mode).mButtonDown, lParam);
}

void Mode_MButtonUp(int32_t lParam)
{
    View_RequestRedraw();
    Dispatch(Mode_Hooks(g_Mode).mButtonUp, lParam);
}

void Mode_RButtonDown(int32_t lParam)
{
    StorePoint(lParam);
    Dispatch(Mode_Hooks(g_Mode).rButtonDown, lParam);
}

void Mode_RButtonUp(int32_t lParam)
{
    StorePoint(lParam);
    if (g_Lib.mouse.held[0]) {
        g_Lib.mouse.held[0] = 0;
        return;
    }
    View_RequestRedraw();
    Dispatch(Mode_Hooks(g_Mode).rButtonUp, lParam);
}

void Mode_MouseMove(int32_t lParam)
{
    UpdateCurrentBone();
    const int32_t* held = g_Lib.mouse.held;
    bool any = held[0] || held[1] || held[2];
    if (any) View_RequestRedraw();
    StorePoint(lParam);
    g_MouseDelta.x = (float)(g_PressPoint.x - g_MoveLast.x);
    g_MouseDelta.y = (float)(g_PressPoint.y - g_MoveLast.y);
    g_MoveLast = g_PressPoint;
    Dispatch(Mode_Hooks(g_Mode).mouseMove, lParam);
    if (g_AutoSelect != 0 && !any) View_PickVertexOrFace3D();
}

// ---- draw passes -------------------------------------------------------------------------------

static void PointAtPickedView()
{
    g_CurView = &View_Picked();
}

void Mode_Draw()
{
    if (g_Screen >= SCREEN_3D_POLYGON && g_Screen <= SCREEN_3D_MOTION && !g_CurModel3) return;
    PointAtPickedView();
    if (g_Mode == MODE_PREVIEW) return;  // the preview draws only in the 3D part
    Run(Mode_Hooks(g_Mode).draw);
}

void Mode_DrawOverlay()
{
    PointAtPickedView();
    Run(Mode_Hooks(g_Mode).drawOverlay);
}

void Mode_DrawCallback() { Mode_Draw(); }
void Mode_DrawOverlayCallback() { Mode_DrawOverlay(); }

void Mode_IgnoreKey(int) {}

void Preview_CloseSlotDialog()
{
    if (g_PreviewSlot.window) Wnd_Destroy(g_PreviewSlot.window);
    g_PreviewSlot.window = nullptr;
}
