// The program editor as far as the shell needs it today. The script language fills these in.
#include "script/prog_hooks.h"

#include "frame/lib.h"
#include "frame/services.h"
#include "shell/shell.h"

PROG_MODE g_ProgMode;

void Prog_Enter()
{
    g_ModeMenu = Svc_MenuSet("MENU_PROG");
    Log_CreateWindow();
    g_ScreenGroup = 8;
}

void Prog_Exit() { g_Lib.allocArrays = 1; }
void Prog_Frame() {}
void Prog_Draw() {}
void Prog_OnKey(int) {}
