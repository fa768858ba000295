// The modeless tool dialogs' slots: one record per dialog, a row of them per screen.
#pragma once
#include <cstdint>

#include "frame/mode_ids.h"

struct DLG_SLOT {
    void* window;      // null while closed
    int32_t dirty;     // 1: refill the controls at the next refresh
    int32_t left, top; // last screen position
    int32_t extra[2];  // saved with the position, not used by the shell
};

constexpr int kSlotsPerScreen = 8;

extern DLG_SLOT g_DlgSlots[kScreenCount][kSlotsPerScreen];  // statics.cpp
extern DLG_SLOT g_OptionsSlot;                              // statics.cpp
extern DLG_SLOT g_PreviewSlot;                              // statics.cpp: the preview's tool dialog
extern DLG_SLOT g_SketchSlot;                               // statics.cpp: SKETCH_DLG
void Mode_InitDlgSlot(DLG_SLOT* slot);
