// The preview and converter mode (mode 0) as the shell calls it.
#pragma once
#include <cstdint>

void Preview_Enter();
void Preview_Exit();
void Preview_Frame();
void Preview_OnCommand(int id);
void Preview_ButtonDown(int32_t lParam);
void Preview_RButtonDown(int32_t lParam);
void Preview_DrawOverlay();

// Opens the rendering dialog unless it is open (convert/win32 registers it at start-up; native
// programs have none).
extern void (*g_PreviewRenderDlgOpen)();
