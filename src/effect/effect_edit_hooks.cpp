// The effect editor and the particle mode as far as the shell needs them today: their menus, screen
// group and clear colour, and a new effect for the QVE open command. The editor itself fills these in.
#include "effect/effect_edit_hooks.h"

#include "effect/effect.h"
#include "frame/lib.h"
#include "frame/paths.h"
#include "frame/services.h"
#include "shell/modes.h"
#include "shell/shell.h"

int32_t g_CurEffectId = -1;
int32_t g_CurEffectInstIndex = -1;

void EffectEdit_Enter()
{
    g_ModeMenu = Svc_MenuSet("MENU_EFFECT");
    g_ScreenGroup = 6;
}

void EffectEdit_Exit() { g_PlayFlag = 0; }
void EffectEdit_Frame() { Lib_SetClearColor(64, 64, 64); }
void EffectEdit_Command(int) {}
void EffectEdit_MouseMove(int32_t) {}
void EffectEdit_Draw() {}
void EffectEdit_NewEffect()
{
    Effect_EraseAllData();
    Effect_EraseAllInstances();
    g_CurEffectInstIndex = Effect_CreateInstance(0);
    g_CurEffectId = Effect_DataCreate();
    Mode_UpdateCurrent();
    File_SetDialogDir(g_Lib.dataFolder);
    if (QVL::EFFECT* e = Effect_GetData(g_CurEffectId))
        if (!Svc_GetCurrentDirectory(e->folder, sizeof e->folder)) e->folder[0] = 0;
    g_DragTool = 0;
    EffectEdit_RefreshDialogs();
}
void EffectEdit_AddParticlePart() {}
void EffectEdit_RefreshDialogs() { View_RequestRedraw(); }
int32_t EffectEdit_PrevKeyFrame(int32_t frame) { return frame; }
int32_t EffectEdit_NextKeyFrame(int32_t frame) { return frame; }
void EffectEdit_WheelKey(int) { EffectEdit_RefreshDialogs(); }

void ParticleEdit_Enter()
{
    g_ModeMenu = Svc_MenuSet("MENU_PARTICLE");
    g_ScreenGroup = 6;
}

void ParticleEdit_Exit() { g_PlayFlag = 0; }
void ParticleEdit_Frame() { Lib_SetClearColor(0, 0, 0); }
void ParticleEdit_MouseMove(int32_t) {}
void ParticleEdit_Draw() {}
