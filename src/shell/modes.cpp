#include "shell/modes.h"

#include <cstring>

#include "convert/preview_hooks.h"
#include "edit2d/model2d_hooks.h"
#include "edit3d/model3d_hooks.h"
#include "effect/effect_edit_hooks.h"
#include "effect/effect_edit_dialogs.h"
#include "frame/frame.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "model/scene_object.h"
#include "scene/scene_edit_hooks.h"
#include "script/prog_hooks.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/file_commands.h"
#include "model/model_table.h"
#include "shell/ui_services.h"
#include "shell/views.h"

// The mode table: each editor's record under its mode number; the other numbers stay empty.
struct MODE_ROW {
    int mode;
    const MODE_HOOKS* hooks;
};
static const MODE_ROW kModeRows[] = {
    {MODE_PREVIEW, &kPreviewMode},          {MODE_2D_EDIT, &kModel2DMode},
    {MODE_3D_EDIT, &kModel3DMode},          {MODE_PARTICLE, &kParticleEditMode},
    {MODE_EFFECT_EDIT, &kEffectEditMode},   {MODE_MAP_EDIT, &kMap2EditMode},
    {MODE_COLLISION_EDIT, &kColiEditMode},  {MODE_MOVIE, &kMovieEditMode},
    {MODE_PROGRAM, &kProgMode},
};

MODE_HOOKS g_ModeHooks[kModeCount];

// The records are constant-initialised, so they are complete before this copy runs.
static const bool g_ModeHooksFilled = [] {
    for (const MODE_ROW& row : kModeRows) g_ModeHooks[row.mode] = *row.hooks;
    return true;
}();

void Mode_SwitchTo3DPoly()
{
    if (g_Mode == MODE_3D_EDIT) return;
    g_PrevMode = g_Mode;
    Mode_Exit();
    g_Mode = MODE_3D_EDIT;
    g_Screen = SCREEN_3D_POLYGON;
    g_CurLayer = 0;
    if (!g_LayerObjectIds.empty())
        if (QVL::OBJECT* o = Object_GetById(g_LayerObjectIds[0])) Object_SetVisible(o, 1);
    Mode_UpdateCurrent();
    g_Motion3DState.frame = 0;
    for (UNDO_HISTORY& h : g_UndoHistories) h.position = h.last = -1;
    Str_CopyN(g_UndoCaption, sizeof g_UndoCaption, "３Ｄモデル編集");
    Undo_Record(&g_UndoHistories[0]);
    for (VIEW_REC& v : g_Views[SCREEN_3D_POLYGON]) v.pan[0] = v.pan[1] = v.pan[2] = 0.0f;
    g_Views[SCREEN_3D_POLYGON][0].pan[1] = 8.0f;
    g_Views[SCREEN_3D_POLYGON][0].zoom = 3.2f;
    Mode_Enter();
}

void Mode_RefreshAll()
{
    View_RequestRedraw();
    switch (g_Mode) {
    case MODE_2D_EDIT:
        Obj2D_RefreshLists();
        Poly2D_Refresh();
        Motion2D_Refresh();
        break;
    case MODE_3D_EDIT:
        Obj3D_RefreshLists();
        Poly3D_Refresh();
        Tex3D_Refresh();
        Motion3D_Refresh();
        Model3D_FillBoneList();
        Undo_FillList();
        break;
    case MODE_COLLISION_EDIT:
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
        if (g_Mode == MODE_3D_EDIT) g_ShaderMode = 1;
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
    if (g_Screen == SCREEN_3D_MOTION) Motion3D_KeyUp(key);
    else if (g_Screen == SCREEN_MOVIE) MovieEdit_KeyUp(key);
    else if (g_Screen == SCREEN_PROGRAM) Prog_OnKey(key);
}

// ---- wheel ------------------------------------------------------------------------------------

// Zoom factors of one wheel turn: forward = true for a turn away from the user.
static void WheelZoom(bool forward)
{
    VIEW_REC& v = *g_CurView;
    bool r = g_App.reverseWheel != 0;
    float f = 1.0f;
    if (g_Mode == MODE_PREVIEW || g_Mode == MODE_COLLISION_EDIT) {
        f = (forward != r) ? 0.8f : 1.2f;
    } else if (g_Mode == MODE_2D_EDIT && g_Screen >= SCREEN_2D_POLYGON && g_Screen <= SCREEN_2D_WEIGHT) {
        bool in = (v.type == VIEW_MAIN) == forward;
        f = in ? 1.2f : 0.8f;
    } else if (g_Mode == MODE_3D_EDIT && g_Screen >= SCREEN_3D_POLYGON && g_Screen <= SCREEN_3D_WEIGHT) {
        bool nearer = forward != r;  // the main view comes nearer, the others magnify
        f = v.type == VIEW_MAIN ? (nearer ? 0.8f : 1.2f) : (nearer ? 1.2f : 0.8f);
    } else {
        return;
    }
    v.zoom *= f;
    View_RequestRedraw();
}

static void WheelTurn(bool forward)
{
    Mode_UpdateCurrent();
    if (g_Mode == MODE_3D_EDIT && g_Screen == SCREEN_3D_MOTION) {
        if (forward) Motion3D_PrevKey();
        else Motion3D_NextKey();
        View_RequestRedraw();
        return;
    }
    if (g_Mode == MODE_EFFECT_EDIT) {
        EffectEdit_WheelKey(forward ? -1 : 1);
        return;
    }
    WheelZoom(forward);
}

void View_WheelForward() { WheelTurn(true); }
void View_WheelBack() { WheelTurn(false); }
