// A dialog that hosts a painted panel registers itself with the painter on its messages.
#pragma once
#include <windows.h>

#include "shell/dlg_slot.h"

// Stores the dialog's screen position and client size in the slot and makes the slot the host of
// panel `host` (PANEL_HOST_*).
void PanelHost_Store(HWND wnd, DLG_SLOT* slot, int host);
