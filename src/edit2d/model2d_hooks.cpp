// The 2D editor hub: the screen switcher, the tool dialogs several screens share, and every shell
// event passed on to the handler of the current screen.
#include "edit2d/model2d_hooks.h"
#include "edit2d/motion2d_panel.h"
#include "edit2d/poly2d_screen.h"

#include "edit2d/bone2d.h"
#include "edit2d/model2d_dialogs.h"
#include "edit3d/model3d_dialogs.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/obj_screen.h"
#include "frame/lib.h"
#include "model/model2.h"
#include "model/obj2.h"
#include "render/immediate.h"
#include "render/text_queue.h"
#include "shell/current.h"
#include "shell/hierarchy.h"
#include "shell/input_state.h"
#include "shell/list_controls.h"
#include "shell/mode_hooks.h"
#include "shell/navigation.h"
#include "shell/ui_services.h"
#include "shell/views.h"

int32_t g_CurModel2Id = 0;
int32_t g_PlaybackOn = 0;
int32_t g_Canvas2DWidth = 640, g_Canvas2DHeight = 480;
MODEL2D_EDITOR g_Model2DEditor = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0};

// ---- the hub's own handlers --------------------------------------------------------------------

// Middle press on the object screen: every drag point takes the cursor.
static void DragPointsToCursor(int32_t lParam) { Bone2D_SetCursor(lParam); }

// One row per screen, 4 to 10; a null entry is an event the screen does not take. The rows of the
// screens built elsewhere hold only the hub's and the bone screen's handlers until theirs land.
// A middle release ends a free polygon.
static void Poly2D_FreeCreateUp(int32_t) { Poly2D_FreeCreate(); }

static const MODE_HOOKS kScreenHooks[7] = {
    // 4 object
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr, Obj3D_LButtonUp, DragPointsToCursor, nullptr, Poly3D_StoreDragStart, nullptr,
     nullptr, nullptr, nullptr},
    // 5: no screen
    {},
    // 6 polygon
    {Poly2D_Enter, Poly2D_Exit, Poly2D_Frame, nullptr, nullptr, nullptr,
     Bone2D_SetCursor, Poly2D_LButtonUp, Bone2D_SetCursor, Poly2D_FreeCreateUp, nullptr, Poly2D_RButtonUp,
     Poly2D_Drag, Poly2D_Draw, nullptr},
    // 7 texture
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
     Bone2D_SetCursor, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    // 8 bone
    {Bone2D_Enter, nullptr, Bone2D_Frame, nullptr, nullptr, nullptr,
     Bone2D_SetCursor, nullptr, Bone2D_SetCursor, nullptr, nullptr, Bone2D_RButtonUp,
     Bone2D_Drag, Bone2D_Draw, nullptr},
    // 9 weight
    {},
    // 10 motion
    {Motion2D_Enter, Motion2D_Exit, Motion2D_Frame, nullptr, nullptr, nullptr,
     Motion2D_LButtonDown, Obj3D_LButtonUp, Bone2D_SetCursor, nullptr, nullptr, nullptr, Motion2D_DragKey,
     Motion2D_Draw, nullptr},
};

static const MODE_HOOKS& Screen()
{
    static const MODE_HOOKS none = {};
    const int i = g_Screen - SCREEN_2D_OBJECT;
    return i >= 0 && i < 7 ? kScreenHooks[i] : none;
}

static void Run(MODE_FN fn) { if (fn) fn(); }
static void Run(MODE_MOUSE_FN fn, int32_t v) { if (fn) fn(v); }

static bool UsesBoneList(int s) { return s == SCREEN_2D_BONE || s == SCREEN_2D_WEIGHT; }
static bool UsesGroupDlg(int s) { return s == SCREEN_2D_POLYGON || s == SCREEN_2D_TEXTURE || s == SCREEN_2D_WEIGHT; }

// ---- enter and leave ---------------------------------------------------------------------------

void Model2D_Enter()
{
    g_Zoom2D = 1.0f;
    g_Canvas2DWidth = 640;
    g_Canvas2DHeight = 480;
    MODEL2D_EDITOR& e = g_Model2DEditor;
    if (!e.screensDlg) {
        e.screensDlg = Model2DDlg_Create(MODEL2D_DLG_SCREENS);
        if (e.screensDlg) Model3DDlg_Place(e.screensDlg, 90, 47, 90, g_Lib.osClass == 5 ? 199 : 194);
    }
    g_ScreenGroup = g_Screen == SCREEN_2D_OBJECT ? 1 : 2;
    Run(Screen().enter);
    if (UsesBoneList(g_Screen) && !e.boneListDlg) {
        const int32_t bone = g_CurBone;
        e.boneListDlg = Model2DDlg_Create(MODEL2D_DLG_BONE_LIST);
        g_CurBone = bone;
        if (e.boneListDlg) {
            Model3DDlg_Place(e.boneListDlg, Lib_GetWindowWidth() - 356, 26, 356, 573);
            Model2DDlg_MakeBoneControls(e.boneListDlg);
            g_ParentComboCtl2D = Model3DDlg_Item(e.boneListDlg, 1439);
            Mode_UpdateCurrent();
            List_FillBoneList2D();
            List_FillBoneTree2D();
            if (g_BoneListCtl2D) ListCtl_SetSel(g_BoneListCtl2D, g_CurBone);
        }
    }
    if (UsesGroupDlg(g_Screen) && !e.groupDlg) {
        const int32_t bone = g_CurBone, group = g_CurGroup;
        e.groupDlg = Model2DDlg_Create(MODEL2D_DLG_GROUP);
        g_CurBone = bone;
        g_CurGroup = group;
        if (e.groupDlg) {
            Model3DDlg_Place(e.groupDlg, e.groupLeft, e.groupTop, 262, 515);
            e.groupList = Model2DDlg_MakeGroupList(e.groupDlg);
            e.textureCombo = Model3DDlg_Item(e.groupDlg, 1394);
            e.shadingCombo = Model3DDlg_Item(e.groupDlg, 1388);
        }
    }
    View_RequestRedraw();
}

void Model2D_Exit()
{
    MODEL2D_EDITOR& e = g_Model2DEditor;
    if (e.screensDlg) Wnd_Destroy(e.screensDlg);
    e.screensDlg = nullptr;
    Run(Screen().exit);
    if (e.groupDlg) {
        // The dialog is its controls' parent: ending it ends them too.
        Wnd_Destroy(e.groupDlg);
        e.groupDlg = e.groupList = e.textureCombo = e.shadingCombo = nullptr;
    }
    if (e.boneListDlg) {
        Wnd_Destroy(e.boneListDlg);
        e.boneListDlg = nullptr;
        g_BoneListCtl2D = nullptr;
        g_ParentComboCtl2D = nullptr;
        g_BoneTreeCtl = nullptr;
    }
    Render_Set3DScene(1);
    View_CloseAll();
}

int Model2D_ScreenOfButton(int id)
{
    switch (id) {
    case 1478: return SCREEN_2D_OBJECT;
    case 1480: return SCREEN_2D_POLYGON;
    case 1481: return SCREEN_2D_TEXTURE;
    case 1482: return SCREEN_2D_BONE;
    case 1483: return SCREEN_2D_WEIGHT;
    case 1484: return SCREEN_2D_MOTION;
    default: return -1;
    }
}

void Model2D_SwitchScreen(int screen)
{
    // Screen 5 and the "------------" button switch nothing.
    if (g_Mode != MODE_2D_EDIT || screen < SCREEN_2D_OBJECT || screen > SCREEN_2D_MOTION ||
        screen == SCREEN_2D_OBJECT + 1)
        return;
    // The shown screen's own button enters it again without leaving it.
    if (g_Screen != screen) Model2D_Exit();
    g_Screen = screen;
    Model2D_Enter();
}

// ---- per frame and drawing ---------------------------------------------------------------------

void Model2D_SceneSwitch() { Render_Set3DScene(1); }

void Model2D_Frame()
{
    Lib_SetClearColor(128, 128, 128);
    if (g_CurObj2) Obj2_SetPosition(g_CurObj2, 320.0f, 240.0f);
    if (g_Model2InUse[0]) Model2_SetPosition(Model2_Get(0), 320.0f, 240.0f);
    Run(Screen().frame);
}

void Model2D_Draw()
{
    if (!g_PlaybackOn) {
        Draw_Text(630, 90, "-Y");
        Draw_Text(280, 350, "-X");
        Draw_Text(975, 350, "+X");
        Draw_Text(630, 615, "+Y");
    }
    Run(Screen().draw);
}

void Model2D_DrawOverlay() {}
void Model2D_Command(int) {}

void Model2D_LButtonDown(int32_t lParam) { Run(Screen().lButtonDown, lParam); }
void Model2D_LButtonUp(int32_t lParam) { Run(Screen().lButtonUp, lParam); }
void Model2D_MButtonDown(int32_t lParam) { Run(Screen().mButtonDown, lParam); }
void Model2D_MButtonUp(int32_t lParam) { Run(Screen().mButtonUp, lParam); }
void Model2D_RButtonDown(int32_t lParam) { Run(Screen().rButtonDown, lParam); }
void Model2D_RButtonUp(int32_t lParam) { Run(Screen().rButtonUp, lParam); }
void Model2D_MouseMove(int32_t lParam) { Run(Screen().mouseMove, lParam); }

// The mode record: enter, exit, frame, command, key down and up; the mouse buttons and move; the
// two draw passes. The hub takes no keys.
const MODE_HOOKS kModel2DMode = {
    Model2D_Enter, Model2D_Exit, Model2D_Frame, Model2D_Command, nullptr, nullptr,
    Model2D_LButtonDown, Model2D_LButtonUp, Model2D_MButtonDown, Model2D_MButtonUp,
    Model2D_RButtonDown, Model2D_RButtonUp, Model2D_MouseMove,
    Model2D_Draw, Model2D_DrawOverlay};
