// What the main window and the view windows hand on: commands, keys, mouse and the renderer's two
// draw passes, each routed to the current mode's record.
#pragma once
#include <cstdint>

void Main_Command(int id);        // the command table, then the mode's handler
void Main_KeyDown(int key);
void Main_KeyUp(int key);
void Mode_LButtonDown(int32_t lParam);
void Mode_LButtonUp(int32_t lParam);
void Mode_MButtonDown(int32_t lParam);
void Mode_MButtonUp(int32_t lParam);
void Mode_RButtonDown(int32_t lParam);
void Mode_RButtonUp(int32_t lParam);
void Mode_MouseMove(int32_t lParam);

void Mode_DrawCallback();
void Mode_DrawOverlayCallback();
void Mode_Draw();
void Mode_DrawOverlay();

// Shell windows the portable code opens (the studio's dialogs; recorded in native programs).
void Main_ConfirmExit();
void Options_Open();
