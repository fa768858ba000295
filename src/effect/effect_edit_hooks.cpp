// The effect editor and the particle mode as far as the shell needs them today: their menus, screen
// group and clear colour. The editor itself fills these in.
#include "effect/effect_edit_hooks.h"

#include "frame/lib.h"
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
void EffectEdit_NewEffect() {}
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
