// The preview mode as far as the shell needs it today. The converter fills these in.
#include "convert/preview_hooks.h"

#include "frame/lib.h"
#include "frame/services.h"
#include "shell/modes.h"
#include "shell/shell.h"
#include "shell/views.h"

void Preview_Enter()
{
    g_ScreenGroup = 0;
    g_PrevMode = 0;
    g_CurLayer = 0;
    Mode_UpdateCurrent();
    g_ModeMenu = Svc_MenuSet("MENU_PREVIEW");
}

void Preview_Exit()
{
    Preview_CloseSlotDialog();
    View_RequestRedraw();
}

void Preview_Frame()
{
    Lib_SetClearColor(128, 128, 128);
    View_Row()[0].redraw = 1;
}

void Preview_OnCommand(int) {}
void Preview_ButtonDown(int32_t) { Mode_StoreDragStart(0); }

void Preview_RButtonDown(int32_t)
{
    Mode_StoreDragStart(0);
    View_RequestRedraw();
}

void Preview_DrawOverlay() {}
