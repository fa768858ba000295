// The 2D editor hub as far as the shell needs it today. The editors fill these in.
#include "edit2d/model2d_hooks.h"

#include "frame/lib.h"
#include "shell/mode_hooks.h"
#include "shell/views.h"

int32_t g_CurModel2Id = 0;

void Model2D_Enter() { g_ScreenGroup = g_Screen == SCREEN_2D_OBJECT ? 1 : 2; }
void Model2D_Exit() { View_CloseAll(); }
void Model2D_Frame() {}
void Model2D_Command(int) {}
void Model2D_Draw() {}
void Model2D_DrawOverlay() {}
void Model2D_LButtonDown(int32_t) {}
void Model2D_LButtonUp(int32_t) {}
void Model2D_MButtonDown(int32_t) {}
void Model2D_MButtonUp(int32_t) {}
void Model2D_RButtonDown(int32_t) {}
void Model2D_RButtonUp(int32_t) {}
void Model2D_MouseMove(int32_t) {}
void Obj2D_RefreshLists() {}
void Poly2D_Refresh() {}

// The mode record: enter, exit, frame, command, key down and up; the mouse buttons and move; the
// two draw passes.
const MODE_HOOKS kModel2DMode = {
    Model2D_Enter, Model2D_Exit, Model2D_Frame, Model2D_Command, nullptr, nullptr,
    Model2D_LButtonDown, Model2D_LButtonUp, Model2D_MButtonDown, Model2D_MButtonUp,
    Model2D_RButtonDown, Model2D_RButtonUp, Model2D_MouseMove,
    Model2D_Draw, Model2D_DrawOverlay};
