// The preview and converter mode (mode 0) as the shell calls it.
#pragma once
#include <cstdint>

#include "shell/mode_hooks.h"

// The mode record the shell application lists under its mode number.
extern const MODE_HOOKS kPreviewMode;

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
