// The 2D editor hub (mode 3, screens 4 to 10) as the shell calls it.
#pragma once
#include <cstdint>

#include "shell/mode_hooks.h"

// The mode record the shell application lists under its mode number.
extern const MODE_HOOKS kModel2DMode;

extern int32_t g_CurModel2Id;  // always 0

void Model2D_Enter();
void Model2D_Exit();
void Model2D_Frame();
void Model2D_Command(int id);
void Model2D_Draw();
void Model2D_DrawOverlay();
void Model2D_LButtonDown(int32_t lParam);
void Model2D_LButtonUp(int32_t lParam);
void Model2D_MButtonDown(int32_t lParam);
void Model2D_MButtonUp(int32_t lParam);
void Model2D_RButtonDown(int32_t lParam);
void Model2D_RButtonUp(int32_t lParam);
void Model2D_MouseMove(int32_t lParam);
void Obj2D_RefreshLists();
void Poly2D_Refresh();
void Motion2D_Refresh();
int32_t Model2D_PrevKeyFrame(int32_t frame);
int32_t Model2D_NextKeyFrame(int32_t frame);
