// Editor modes and screens: the per-mode dispatch tables, the switch into 3D editing, the redraw
// request, the current records, and the dispatch of commands, keys, mouse and draw passes.
#pragma once
#include <cstdint>

#include "convert/preview_hooks.h"
#include "edit2d/model2d_hooks.h"
#include "edit3d/model3d_hooks.h"
#include "effect/effect_edit_hooks.h"
#include "scene/scene_edit_hooks.h"
#include "script/prog_hooks.h"
#include "shell/shell.h"

typedef void (*MODE_FN)();
typedef void (*MODE_ID_FN)(int);
typedef void (*MODE_MOUSE_FN)(int32_t lParam);

// One row per editor mode; null entries do nothing.
struct MODE_HOOKS {
    MODE_FN enter, exit, frame;
    MODE_ID_FN command, keyDown, keyUp;
    MODE_MOUSE_FN lButtonDown, lButtonUp, mButtonDown, mButtonUp, rButtonDown, rButtonUp, mouseMove;
    MODE_FN draw, drawOverlay;
};

constexpr int kModeCount = 25;
extern MODE_HOOKS g_ModeHooks[kModeCount];
// The row of a mode; an empty row for a value outside the table.
const MODE_HOOKS& Mode_Hooks(int mode);

void Mode_Enter();
void Mode_Exit();
void Mode_SwitchTo3DPoly();
int View_RequestRedraw();
void Mode_UpdateCurrent();
void Mode_RefreshAll();
void Mode_RefreshDialogFields();
void Preview_CloseSlotDialog();

// Commands, keys and mouse of the main window and the view windows.
void Main_Command(int id);        // the command table, then the mode's handler
bool Main_CommandTable(int id);   // false for an id the table does not know
void Main_KeyDown(int key);
void Main_KeyUp(int key);
void Main_LoopKeyUp(int key);     // key releases the message loop hands to screens 18, 23 and 24
void Mode_LButtonDown(int32_t lParam);
void Mode_LButtonUp(int32_t lParam);
void Mode_MButtonDown(int32_t lParam);
void Mode_MButtonUp(int32_t lParam);
void Mode_RButtonDown(int32_t lParam);
void Mode_RButtonUp(int32_t lParam);
void Mode_MouseMove(int32_t lParam);
void Mode_StoreDragStart(int32_t lParam);

// The renderer's two draw passes.
void Mode_DrawCallback();
void Mode_DrawOverlayCallback();
void Mode_Draw();
void Mode_DrawOverlay();

// Shell windows the portable code opens (the studio's dialogs; recorded in native programs).
void Main_ConfirmExit();
void Options_Open();
