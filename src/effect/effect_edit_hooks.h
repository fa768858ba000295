// The effect editor (mode 20) and the particle mode (19) as the shell calls them.
#pragma once
#include <cstdint>

extern int32_t g_CurEffectId;
extern int32_t g_CurEffectInstIndex;

void EffectEdit_Enter();
void EffectEdit_Exit();
void EffectEdit_Frame();
void EffectEdit_Command(int id);
void EffectEdit_MouseMove(int32_t lParam);
void EffectEdit_Draw();
void EffectEdit_NewEffect();
void EffectEdit_AddParticlePart();
void EffectEdit_RefreshDialogs();
int32_t EffectEdit_PrevKeyFrame(int32_t frame);
int32_t EffectEdit_NextKeyFrame(int32_t frame);
// One wheel step of the edited instance's frame to the previous (-1) or next (1) key.
void EffectEdit_WheelKey(int dir);

void ParticleEdit_Enter();
void ParticleEdit_Exit();
void ParticleEdit_Frame();
void ParticleEdit_MouseMove(int32_t lParam);
void ParticleEdit_Draw();
