#include "shell/modes.h"

#include <cstring>

#include "effect/effect_edit_dialogs.h"
#include "frame/frame.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "model/model_table.h"
#include "shell/shell_needs.h"
#include "shell/ui_services.h"
#include "shell/views.h"

static void EmptyKey(int) {}

MODE_HOOKS g_ModeHooks[kModeCount] = {
    // 0 preview and converter
    {Preview_Enter, Preview_Exit, Preview_Frame, Preview_OnCommand, nullptr, nullptr,
     Preview_ButtonDown, nullptr, Preview_ButtonDown, nullptr, Preview_RButtonDown, nullptr, nullptr,
     nullptr, Preview_DrawOverlay},
    {}, {},
    // 3 2D editor hub
    {Model2D_Enter, Model2D_Exit, Model2D_Frame, Model2D_Command, nullptr, nullptr,
     Model2D_LButtonDown, Model2D_LButtonUp, Model2D_MButtonDown, Model2D_MButtonUp, Model2D_RButtonDown,
     Model2D_RButtonUp, Model2D_MouseMove, Model2D_Draw, Model2D_DrawOverlay},
    {}, {}, {}, {}, {}, {}, {},
    // 11 3D editor hub
    {Model3D_Enter, Model3D_Exit, Model3D_Frame, Model3D_Command, Model3D_KeyDown, Model3D_KeyUp,
     Model3D_LButtonDown, Model3D_LButtonUp, Model3D_MButtonDown, Model3D_MButtonUp, Model3D_RButtonDown,
     Model3D_RButtonUp, Model3D_MouseMove, Model3D_Draw, Model3D_DrawOverlay},
    {}, {}, {}, {}, {}, {}, {},
    // 19 particle mode
    {ParticleEdit_Enter, ParticleEdit_Exit, ParticleEdit_Frame, nullptr, nullptr, nullptr,
     Mode_StoreDragStart, nullptr, Mode_StoreDragStart, nullptr, Poly3D_StoreDragStart, nullptr,
     ParticleEdit_MouseMove, ParticleEdit_Draw, nullptr},
    // 20 effect editor
    {EffectEdit_Enter, EffectEdit_Exit, EffectEdit_Frame, EffectEdit_Command, nullptr, nullptr,
     Mode_StoreDragStart, nullptr, Mode_StoreDragStart, nullptr, Poly3D_StoreDragStart, nullptr,
     EffectEdit_MouseMove, EffectEdit_Draw, nullptr},
    // 21 map editor
    {Map2Edit_Enter, Map2Edit_Exit, Map2Edit_Frame, nullptr, Map2Edit_KeyDown, EmptyKey,
     Map2Edit_LButtonDown, Map2Edit_LButtonUp, ColiEdit_MButtonDown, nullptr, Poly3D_StoreDragStart, nullptr,
     Map2Edit_MouseMove, Map2Edit_Draw, nullptr},
    // 22 collision editor
    {ColiEdit_Enter, ColiEdit_Exit, ColiEdit_Frame, nullptr, ColiEdit_KeyDown, EmptyKey,
     Mode_StoreDragStart, ColiEdit_LButtonUp, ColiEdit_MButtonDown, nullptr, Poly3D_StoreDragStart, nullptr,
     ColiEdit_MouseMove, ColiEdit_Draw, ColiEdit_DrawOverlay},
    // 23 movie editor
    {MovieEdit_Enter, MovieEdit_Exit, MovieEdit_Frame, MovieEdit_Command, EmptyKey, nullptr,
     MovieEdit_LButtonDown, nullptr, Mode_StoreDragStart, nullptr, MovieEdit_RButtonDown, nullptr,
     MovieEdit_MouseMove, MovieEdit_Draw, MovieEdit_DrawOverlay},
    // 24 program editor (no mouse handlers)
    {Prog_Enter, Prog_Exit, Prog_Frame, nullptr, EmptyKey, nullptr,
     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, Prog_Draw, nullptr},
};

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
    g_ViewCount[s] = g_Mode == 23 ? 5 : g_Mode == 24 ? 1 : 4;
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

void Mode_SwitchTo3DPoly()
{
    if (g_Mode == 11) return;
    g_PrevMode = g_Mode;
    Mode_Exit();
    g_Mode = 11;
    g_Screen = 14;
    g_CurLayer = 0;
    if (!g_LayerObjectIds.empty())
        if (QVL::OBJECT* o = Object_GetById(g_LayerObjectIds[0])) Object_SetVisible(o, 1);
    Mode_UpdateCurrent();
    g_Motion3DState.frame = 0;
    for (UNDO_HISTORY& h : g_UndoHistories) h.position = h.last = -1;
    Str_Copy(g_UndoCaption, sizeof g_UndoCaption, "３Ｄモデル編集");
    Undo_Record(&g_UndoHistories[0]);
    for (VIEW_REC& v : g_Views[14]) v.pan[0] = v.pan[1] = v.pan[2] = 0.0f;
    g_Views[14][0].pan[1] = 8.0f;
    g_Views[14][0].zoom = 3.2f;
    Mode_Enter();
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
    g_CurModel2 = nullptr;  // the 2D model table lands with the 2D editors
    g_CurObj3 = nullptr;    // and the 3D object table with the 3D object
    g_CurObject = nullptr;
    if (g_Mode != 11 || (g_CurLayer >= 0 && (size_t)g_CurLayer < g_LayerObjectIds.size()))
        g_CurObject = Object_GetById(Layer_GetObjectId());
    g_CurModel3 = nullptr;
    if (g_Mode != 11 || (g_CurLayer >= 0 && (size_t)g_CurLayer < g_LayerModelIds.size()))
        g_CurModel3 = Model3_GetById(Layer_GetModelId());
    if (g_CurModel3) Motion3_UpdateKeyIndex(g_CurModel3);
    UpdateCurrentBone();
    g_CurEffect = Effect_GetData(g_CurEffectId);
    g_EffectEditPart = g_CurEffect ? At(g_CurEffect->parts, g_CurLayer) : nullptr;
    g_CurEffectInst = Effect_GetInstance(g_CurEffectInstIndex);
}

void Mode_RefreshAll()
{
    View_RequestRedraw();
    switch (g_Mode) {
    case 3:
        Obj2D_RefreshLists();
        Poly2D_Refresh();
        Motion2D_Refresh();
        break;
    case 11:
        Obj3D_RefreshLists();
        Poly3D_Refresh();
        Tex3D_Refresh();
        Motion3D_Refresh();
        Model3D_FillBoneList();
        Undo_FillList();
        break;
    case 22:
        ColiEdit_RefreshDialogs();
        break;
    default:
        break;
    }
}

void Mode_RefreshDialogFields()
{
    // The 3D group dialog's fields come with its editor.
    if (Effect_GetPartCount(g_CurEffect) > 0 && g_EffectParticleSlot.dirty) {
        g_EffectParticleSlot.dirty = 0;
        char text[64];
        for (int id = 89; id <= 107; ++id)
            if (EffectEdit_ParticleText(id, text, sizeof text)) EffectDlg_SetParticleField(id, text);
    }
}

// ---- commands ----------------------------------------------------------------------------------

struct COMMAND_ROW {
    int id;
    void (*run)();
};

static void CmdExit() { Main_ConfirmExit(); }
static void CmdDownload() { Lib_ShellOpen(g_Lib.downloadPage); }
static void CmdOptions() { Options_Open(); }

// Seeded generator of the added views' rectangles: the same in both builds (no rand()).
static uint32_t g_AddViewSeed = 1;
static int AddViewRand()
{
    g_AddViewSeed = g_AddViewSeed * 1103515245u + 12345u;
    return (int)((g_AddViewSeed >> 16) & 0x7FFF);
}

static void CmdAddView()
{
    int height = AddViewRand() % 150 + 200;
    int width = AddViewRand() % 250 + 200;
    int top = AddViewRand() % 480;
    int left = AddViewRand() % 640;
    View_Add(1, left, top, width, height);
}

static const COMMAND_ROW kCommands[] = {
    {53, FileCmd_LoadMAP2},        {54, FileCmd_SaveMAP2},     {40007, CmdExit},
    {40010, CmdDownload},          {40023, FileCmd_LoadQVP},   {40024, FileCmd_SaveQVP},
    {40025, FileCmd_LoadQVO},      {40026, FileCmd_SaveQVO},   {40032, FileCmd_ImportLWO},
    {40033, FileCmd_LoadQVV},      {40034, FileCmd_SaveQVV},   {40044, FileCmd_ImportMX},
    {40045, FileCmd_ExportMX},     {40046, FileCmd_ImportDXF}, {40047, FileCmd_ImportROK},
    {40048, FileCmd_ExportLWO},    {40053, FileCmd_ImportX},   {40054, FileCmd_ExportX},
    {40055, FileCmd_NewModel3},    {40062, FileCmd_ImportMQO}, {40063, FileCmd_LoadQVC},
    {40064, FileCmd_SaveQVC},      {40065, FileCmd_LoadColiModel}, {40066, FileCmd_LoadBackgroundModel},
    {40067, CmdOptions},           {40076, CmdAddView},        {40080, FileCmd_LoadQVM},
    {40087, FileCmd_LoadQVE},      {40088, FileCmd_SaveQVE},   {40092, FileCmd_LoadAny},
    {40095, FileCmd_LoadQVB},      {40097, FileCmd_SaveQVB},   {40099, FileCmd_SaveQVM},
    {40101, FileCmd_New2DObject},  {40104, FileCmd_LoadQVA},   {40106, FileCmd_SaveQVA},
};

bool Main_CommandTable(int id)
{
    for (const COMMAND_ROW& row : kCommands)
        if (row.id == id) {
            row.run();
            return true;
        }
    return false;
}

void Main_Command(int id)
{
    Main_CommandTable(id);
    // Every command also reaches the mode's own handler, known to the table or not.
    if (MODE_ID_FN fn = Mode_Hooks(g_Mode).command) fn(id);
}

// ---- keys --------------------------------------------------------------------------------------

enum { KEY_SHIFT = 0x10, KEY_ESCAPE = 0x1B, KEY_F2 = 0x71, KEY_F3, KEY_F4, KEY_F5, KEY_F6, KEY_F7, KEY_F8 };

// At most one key-down reaches the handlers between two idle passes: auto-repeats queued in one
// turn are dropped. A key-up is never dropped, or a release that comes in the same turn as a
// repeat (a held key) or as its own key-down (a quick tap) would lose its action and leave Shift
// or Z held.
static bool TakeLatch()
{
    if (g_App.keyLatch) return false;
    g_App.keyLatch = 1;
    return true;
}

void Main_KeyDown(int key)
{
    if (!TakeLatch()) return;
    if (key == KEY_SHIFT) g_App.shiftHeld = 1;
    if (key == 'Z') g_App.zHeld = 1;
    if (MODE_ID_FN fn = Mode_Hooks(g_Mode).keyDown) fn(key);
}

void Main_KeyUp(int key)
{
    g_App.keyLatch = 1;
    int s = g_Screen >= 0 && g_Screen < kScreenCount ? g_Screen : 0;
    switch (key) {
    case KEY_ESCAPE: Main_ConfirmExit(); break;
    case KEY_F2:
        Lib_SetAntiAlias(g_Lib.antiAlias != 1 ? 1 : 0);
        g_OptionsSlot.dirty = 1;
        View_RequestRedraw();
        break;
    case KEY_F3:
        g_App.vsyncByScreen[s] = !V_SyncGet();
        V_SyncSet(g_App.vsyncByScreen[s]);
        break;
    case KEY_F4:
        g_App.cpuByScreen[s] = !CPU_PossessionGet();
        CPU_PossessionSet(g_App.cpuByScreen[s]);
        break;
    case KEY_F5: Mode_RefreshAll(); break;
    case KEY_F8:
        if (g_Mode == 11) g_ShaderMode = 1;
        break;
    case 'F': View_Fit(); break;
    case 'U':
    case 'I':
        if (g_CurLayer >= 0 && g_CurLayer < 10) {
            if (key == 'U') Undo_StepBack(&g_UndoHistories[g_CurLayer]);
            else Undo_StepForward(&g_UndoHistories[g_CurLayer]);
        }
        break;
    case 'O': Options_Open(); break;
    case 'Z': g_App.zHeld = 0; break;
    case KEY_SHIFT: g_App.shiftHeld = 0; break;
    default: break;
    }
    if (MODE_ID_FN fn = Mode_Hooks(g_Mode).keyUp) fn(key);
}

void Main_LoopKeyUp(int key)
{
    if (g_Screen == 18) Motion3D_KeyUp(key);
    else if (g_Screen == 23) MovieEdit_KeyUp(key);
    else if (g_Screen == 24) Prog_OnKey(key);
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
    if (g_Mode > 23) return;
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
    if (g_Screen >= 14 && g_Screen <= 18 && !g_CurModel3) return;
    PointAtPickedView();
    if (g_Mode == 0) return;  // the preview draws only in the 3D part
    Run(Mode_Hooks(g_Mode).draw);
}

void Mode_DrawOverlay()
{
    PointAtPickedView();
    Run(Mode_Hooks(g_Mode).drawOverlay);
}

void Mode_DrawCallback() { Mode_Draw(); }
void Mode_DrawOverlayCallback() { Mode_DrawOverlay(); }

void Preview_CloseSlotDialog()
{
    if (g_PreviewSlot.window) Wnd_Destroy(g_PreviewSlot.window);
    g_PreviewSlot.window = nullptr;
}
