// The 3D editor hub: the screen switcher, the tool dialogs each screen keeps open, and every shell
// event passed on to the handler of the current screen.
#include "edit3d/model3d_hooks.h"

#include "edit3d/bone_screen.h"
#include "edit3d/model3d_dialogs.h"
#include "edit3d/poly_screen.h"
#include "edit3d/weight_screen.h"
#include "edit3d/tex_screen.h"
#include "edit3d/motion_screen.h"
#include "edit3d/motion_pose.h"
#include "edit3d/obj_screen.h"
#include "frame/lib.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "model/scene_object.h"
#include "render/camera.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/grid.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/ui_services.h"
#include "shell/views.h"

MODEL3D_EDITOR g_Model3DEditor;
char g_UndoCaption[256];
POLY_EDIT_STATE g_PolyEditState = {0, 1, 1, 0};
MOTION3D_STATE g_Motion3DState = {0, 0, 0, 0};

// The dialog slots of the 3D screens.
enum { kUndoSlot = 0, kGroupSlot = 1 };

static bool IsEditScreen(int s) { return s >= SCREEN_3D_POLYGON && s <= SCREEN_3D_MOTION; }

static DLG_SLOT* Slot(int index)
{
    return g_Screen >= 0 && g_Screen < kScreenCount ? &g_DlgSlots[g_Screen][index] : nullptr;
}

static void ShowLayerObject(uint8_t visible)
{
    if (g_CurLayer < 0 || (size_t)g_CurLayer >= g_LayerObjectIds.size()) return;
    if (QVL::OBJECT* o = Object_GetById(g_LayerObjectIds[(size_t)g_CurLayer])) Object_SetVisible(o, visible);
}

// ---- the screens' handlers ---------------------------------------------------------------------

// Press point: every drag origin takes the mouse position.
static void PressPoint(int32_t)
{
    g_DragStart = g_DragCurrent = g_PrevMousePos = g_DragAnchor = g_PressPoint;
}

static void DragStartAndRedraw(int32_t lParam)
{
    Poly3D_StoreDragStart(lParam);
    View_RequestRedraw();
}

// One row per screen, 12 to 18; a null entry is an event the screen does not take. Screens whose
// editors are not built yet have only the hub's own press-point handlers.
static const MODE_HOOKS kScreenHooks[7] = {
    // 12 object
    {Obj3D_Enter, Obj3D_Exit, Obj3D_Frame, Obj3D_Command, Obj3D_KeyDown, nullptr,
     Obj3D_LButtonDown, Obj3D_LButtonUp, PressPoint, nullptr, DragStartAndRedraw, Obj3D_RButtonUp,
     Obj3D_MouseMove, Obj3D_Draw, Obj3D_DrawOverlay},
    // 13: no screen
    {},
    // 14 polygon
    {Poly3D_Enter, Poly3D_Exit, Poly3D_Frame, nullptr, nullptr, Poly3D_KeyUp,
     Mode_StoreDragStart, Poly3D_LButtonUp, Poly3D_MButtonDown, Poly3D_MButtonUp, Poly3D_StoreDragStart,
     Poly3D_RButtonUp, Poly3D_MouseMove,
     Poly3D_Draw, Poly3D_DrawSelection},
    // 15 texture
    {Tex3D_Enter, Tex3D_Exit, Tex3D_Frame, nullptr, nullptr, Tex3D_KeyUp,
     Mode_StoreDragStart, nullptr, PressPoint, nullptr, Poly3D_StoreDragStart, Tex3D_RButtonUp, Tex3D_MouseMove,
     Poly3D_Draw, Poly3D_DrawSelection},
    // 16 bone
    {Bone3D_Enter, nullptr, Bone3D_Frame, nullptr, nullptr, Bone3D_KeyUp,
     Mode_StoreDragStart, Bone3D_LButtonUp, Mode_StoreDragStart, nullptr, Poly3D_StoreDragStart, Bone3D_RButtonUp,
     Bone3D_MouseMove, Bone3D_Draw, Poly3D_DrawSelection},
    // 17 weight
    {Weight3D_Enter, Weight3D_Exit, Weight3D_Frame, nullptr, Weight3D_KeyDown, nullptr,
     Mode_StoreDragStart, nullptr, PressPoint, nullptr, Poly3D_StoreDragStart, Weight3D_RButtonUp,
     Weight3D_MouseMove, Weight3D_Draw, Poly3D_DrawSelection},
    // 18 motion; the main loop passes its key releases to Motion3D_KeyUp itself
    {Motion3D_Enter, Motion3D_Exit, Motion3D_Frame, Motion3D_Command, nullptr, nullptr,
     Motion3D_LButtonDown, Motion3D_LButtonUp, Mode_StoreDragStart, nullptr, DragStartAndRedraw, Motion3D_RButtonUp,
     Motion3D_MouseMove, Motion3D_Draw, Poly3D_DrawSelection},
};

static const MODE_HOOKS& Screen()
{
    static const MODE_HOOKS none = {};
    const int i = g_Screen - SCREEN_3D_OBJECT;
    return i >= 0 && i < 7 ? kScreenHooks[i] : none;
}

static void Run(MODE_FN fn) { if (fn) fn(); }
static void Run(MODE_ID_FN fn, int v) { if (fn) fn(v); }

// ---- enter and leave ---------------------------------------------------------------------------

static const char* ScreenMenu(int screen)
{
    switch (screen) {
    case SCREEN_3D_OBJECT: return "MENU_3D_OBJ";
    case SCREEN_3D_POLYGON: return "MENU_3D_POLY";
    case SCREEN_3D_TEXTURE:
    case SCREEN_3D_BONE:
    case SCREEN_3D_WEIGHT: return "MENU_3D_BONE";
    case SCREEN_3D_MOTION: return "MENU_3D_MOTION";
    default: return nullptr;
    }
}

static void* s_ScreensDlg;   // MODEL_3D_DLG
static void* s_BoneListDlg;  // BONE_LIST_DLG

void Model3D_Enter()
{
    const bool tall = g_Lib.osClass == 5;
    Mode_UpdateCurrent();
    ShowLayerObject(1);
    if (!s_ScreensDlg) {
        s_ScreensDlg = Model3DDlg_Create(MODEL3D_DLG_SCREENS);
        if (s_ScreensDlg) Model3DDlg_Place(s_ScreensDlg, 90, 47, 90, tall ? 199 : 194);
    }
    if (const char* menu = ScreenMenu(g_Screen)) {
        if (g_ModeMenu) Menu_Destroy(g_ModeMenu);
        g_ModeMenu = Menu_Set(menu);
    }
    g_ScreenGroup = g_Screen == SCREEN_3D_OBJECT ? 3 : 4;
    Run(Screen().enter);
    if (g_Screen == SCREEN_3D_POLYGON && !g_Model3DEditor.layerSlot.window) {
        g_Model3DEditor.layerSlot.window = Model3DDlg_Create(MODEL3D_DLG_LAYER);
        if (void* w = g_Model3DEditor.layerSlot.window)
            Model3DDlg_Place(w, Lib_GetWindowWidth() - 300, 4, 186, tall ? 48 : 44);
    }
    if ((g_Screen == SCREEN_3D_BONE || g_Screen == SCREEN_3D_WEIGHT) && !s_BoneListDlg) {
        const int32_t bone = g_CurBone;
        void* dlg = s_BoneListDlg = Model3DDlg_Create(MODEL3D_DLG_BONE_LIST);
        g_CurBone = bone;
        if (dlg) {
            Model3DDlg_Place(dlg, Lib_GetWindowWidth() - 356, 26, 356, 573);
            g_Model3DEditor.boneTree = Model3DDlg_Item(dlg, 1439);
            g_Model3DEditor.boneList = Model3DDlg_Item(dlg, 1);
            Model3D_FillBoneList();
        }
    }
    DLG_SLOT* group = Slot(kGroupSlot);
    if (group && (g_Screen == SCREEN_3D_POLYGON || g_Screen == SCREEN_3D_TEXTURE || g_Screen == SCREEN_3D_WEIGHT) &&
        !group->window) {
        group->window = Model3DDlg_Create(MODEL3D_DLG_GROUP);
        if (group->window) {
            Model3DDlg_Place(group->window, group->left, group->top, 262, 586);
            g_Model3DEditor.groupList = Model3DDlg_Item(group->window, 1373);
        }
    }
    DLG_SLOT* undo = Slot(kUndoSlot);
    if (undo && IsEditScreen(g_Screen)) {
        if (!undo->window) {
            undo->window = Model3DDlg_Create(MODEL3D_DLG_UNDO);
            if (undo->window) {
                g_Model3DEditor.undoList = Model3DDlg_Item(undo->window, 1373);
                Model3DDlg_Place(undo->window, undo->left, undo->top, 144, tall ? 176 : 172);
            }
        }
        Undo_FillList();
    }
    // The screen's dialogs open over the switcher (they are larger than their rectangles with this
    // machine's fonts); it stays reachable above them, and the views come above it.
    Model3DDlg_Raise(s_ScreensDlg);
    if (undo && IsEditScreen(g_Screen)) View_CreateAll();
    g_Model3DEditor.layerSlot.dirty = 1;
    View_RequestRedraw();
}

static void DestroySlot(DLG_SLOT* slot)
{
    if (!slot || !slot->window) return;
    Wnd_Destroy(slot->window);
    slot->window = nullptr;
}

void Model3D_Exit()
{
    ShowLayerObject(0);
    if (s_ScreensDlg) Wnd_Destroy(s_ScreensDlg);
    s_ScreensDlg = nullptr;
    // A screen switch keeps the mode: the screen's menu goes with the screen.
    if (g_ModeMenu) Menu_Destroy(g_ModeMenu);
    g_ModeMenu = nullptr;
    Run(Screen().exit);
    DestroySlot(&g_Model3DEditor.layerSlot);
    if (DLG_SLOT* group = Slot(kGroupSlot); group && group->window) {
        g_Model3DEditor.groupList = nullptr;
        DestroySlot(group);
    }
    if (s_BoneListDlg) {
        // The dialog is the controls' parent: ending it ends the tree and the list with it.
        Wnd_Destroy(s_BoneListDlg);
        s_BoneListDlg = nullptr;
        g_Model3DEditor.boneTree = nullptr;
        g_Model3DEditor.boneList = nullptr;
    }
    if (DLG_SLOT* undo = Slot(kUndoSlot); undo && undo->window) {
        g_Model3DEditor.undoList = nullptr;
        DestroySlot(undo);
    }
    Render_Set3DScene(1);
    View_CloseAll();
}

int Model3D_ScreenOfButton(int id)
{
    switch (id) {
    case 1096: return SCREEN_3D_OBJECT;
    case 1093: return SCREEN_3D_POLYGON;
    case 1098: return SCREEN_3D_TEXTURE;
    case 1097: return SCREEN_3D_BONE;
    case 1102: return SCREEN_3D_WEIGHT;
    case 1094: return SCREEN_3D_MOTION;
    default: return -1;
    }
}

void Model3D_SwitchScreen(int screen)
{
    if (g_Mode != MODE_3D_EDIT || screen < SCREEN_3D_OBJECT || screen > SCREEN_3D_MOTION) return;
    // The current screen's own button re-enters it without leaving: each enter makes only what is
    // missing.
    if (g_Screen != screen) Model3D_Exit();
    g_Screen = screen;
    Model3D_Enter();
}

// ---- per frame and drawing ---------------------------------------------------------------------

void Model3D_Frame()
{
    Lib_SetClearColor(128, 128, 128);
    Run(Screen().frame);
}

void Model3D_Draw() { Run(Screen().draw); }

void Model3D_DrawOverlay()
{
    Run(Screen().drawOverlay);
    View_DrawAxisGizmo();
}

// A projected coordinate as a pixel; points far off screen are held where the int still holds them.
static int Pixel(float v)
{
    if (!(v == v)) return 0;
    return v > 1.0e6f ? 1000000 : v < -1.0e6f ? -1000000 : (int)v;
}

void Model3D_DrawJointCross(int bone, int axis)
{
    const int32_t id = g_CurLayer >= 0 && (size_t)g_CurLayer < g_LayerModelIds.size() ? g_LayerModelIds[(size_t)g_CurLayer] : -1;
    QVL::VEC3 joint = {0, 0, 0};
    if (g_Screen == SCREEN_3D_MOTION) Motion3_GetBonePosition(&joint, id, bone);
    else Motion3_GetBoneRestPosition(&joint, id, bone);
    // Y, X, Z in this order, each red, green, blue unless it is the highlighted axis.
    const float dirs[3][3] = {{0, 0.5f, 0}, {0.5f, 0, 0}, {0, 0, 0.5f}};
    const int colours[3][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    for (int k = 0; k < 3; ++k) {
        QVL::VEC3 a, b;
        Render_ProjectToScreen(&a, joint.x + dirs[k][0], joint.y + dirs[k][1], joint.z + dirs[k][2]);
        Render_ProjectToScreen(&b, joint.x - dirs[k][0], joint.y - dirs[k][1], joint.z - dirs[k][2]);
        const bool lit = bone == g_CurBone && axis == k;
        Draw_Line2DSimple(Pixel(a.x), Pixel(a.y), Pixel(b.x), Pixel(b.y), lit ? 255 : colours[k][0],
                          lit ? 255 : colours[k][1], lit ? 0 : colours[k][2], 255);
    }
}

// ---- events ------------------------------------------------------------------------------------

void Model3D_Command(int id) { Run(Screen().command, id); }
void Model3D_KeyDown(int key) { Run(Screen().keyDown, key); }
void Model3D_KeyUp(int key) { Run(Screen().keyUp, key); }
void Model3D_LButtonDown(int32_t lParam) { Run(Screen().lButtonDown, lParam); }
void Model3D_LButtonUp(int32_t lParam) { Run(Screen().lButtonUp, lParam); }
void Model3D_MButtonDown(int32_t lParam) { Run(Screen().mButtonDown, lParam); }
void Model3D_MButtonUp(int32_t lParam) { Run(Screen().mButtonUp, lParam); }
void Model3D_RButtonDown(int32_t lParam) { Run(Screen().rButtonDown, lParam); }
void Model3D_RButtonUp(int32_t lParam) { Run(Screen().rButtonUp, lParam); }
void Model3D_MouseMove(int32_t lParam) { Run(Screen().mouseMove, lParam); }


// Drag start: the previous point and both drag corners take the mouse position.
void Poly3D_StoreDragStart(int32_t)
{
    g_DragStart = g_PressPoint;
    g_DragCurrent = g_PressPoint;
    g_PrevMousePos = g_PressPoint;
    g_DragAnchor = g_PressPoint;
}

// The mode record: enter, exit, frame, command, key down and up; the mouse buttons and move; the
// two draw passes.
const MODE_HOOKS kModel3DMode = {
    Model3D_Enter, Model3D_Exit, Model3D_Frame, Model3D_Command, Model3D_KeyDown, Model3D_KeyUp,
    Model3D_LButtonDown, Model3D_LButtonUp, Model3D_MButtonDown, Model3D_MButtonUp,
    Model3D_RButtonDown, Model3D_RButtonUp, Model3D_MouseMove,
    Model3D_Draw, Model3D_DrawOverlay};
