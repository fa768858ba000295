// The mode record each editor fills with its own functions, the table the shell application lists
// the records in (mode number -> record), and the mode services the editors call.
#pragma once
#include <cstdint>

#include "frame/mode_ids.h"

typedef void (*MODE_FN)();
typedef void (*MODE_ID_FN)(int);
typedef void (*MODE_MOUSE_FN)(int32_t lParam);

// One record per editor mode; null entries do nothing.
struct MODE_HOOKS {
    MODE_FN enter, exit, frame;
    MODE_ID_FN command, keyDown, keyUp;
    MODE_MOUSE_FN lButtonDown, lButtonUp, mButtonDown, mButtonUp, rButtonDown, rButtonUp, mouseMove;
    MODE_FN draw, drawOverlay;
};

// Defined, with the editors' records, by the shell application (shell/modes.cpp); tests swap
// single entries.
extern MODE_HOOKS g_ModeHooks[kModeCount];
// The record of a mode; an empty one for a value outside the table.
const MODE_HOOKS& Mode_Hooks(int mode);

void Mode_Enter();
void Mode_Exit();
// Flags the current screen's views, render-target screen 0, the panels and dialogs for a redraw.
int View_RequestRedraw();
void Mode_UpdateCurrent();
void Preview_CloseSlotDialog();
// The press point becomes every drag origin (a button-down handler of several modes).
void Mode_StoreDragStart(int32_t lParam);
// The key handler of the modes that take a key and do nothing with it.
void Mode_IgnoreKey(int key);

// Refreshes every list and dialog of the current mode, and the two tool dialogs whose dirty flags
// are set; the shell application does these, as they name the editors' own refresh functions.
void Mode_RefreshAll();
void Mode_RefreshDialogFields();
