// The particle mode (19): a preview that bursts copies of one explosion picture at random points
// around the screen centre, each after a short delay, fading out. It keeps no effect records.
#include "effect/effect_edit_hooks.h"

#include "edit3d/model3d_hooks.h"
#include "effect/effect_edit_dialogs.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "model/gpu_services.h"
#include "render/immediate.h"
#include "render/sprite.h"
#include "render/text_queue.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/mode_hooks.h"
#include "shell/playback.h"
#include "shell/views.h"

PARTICLE_MODE g_ParticleMode;
DLG_SLOT g_ParticleModeSlot;

// Its own sequence, so that the effect particles' sequence does not depend on this mode.
static uint32_t s_RandomState = 1;

void ParticleEdit_SeedRandom(uint32_t seed) { s_RandomState = seed; }

int32_t ParticleEdit_Random()
{
    s_RandomState = s_RandomState * 214013u + 2531011u;
    return (int32_t)((s_RandomState >> 16) & 0x7FFF);
}

void ParticleEdit_InitParams()
{
    g_ParticleMode.frames = 180;
    g_ParticleMode.count = 300;
    g_ParticleModeSlot.dirty = 1;
}

void ParticleEdit_Enter()
{
    EffectEdit_EnterCanvas("MENU_PARTICLE");
    g_CurLayer = 0;
    if (g_Lib.dataFolder[0]) Svc_SetCurrentDirectory(g_Lib.dataFolder);
    Tex_LoadFile(&g_TexTable[0], "爆発.png");
    ParticleDlg_Open();
    View_RequestRedraw();
}

void ParticleEdit_Exit()
{
    g_PlayFlag = 0;
    ParticleDlg_Close();
}

void ParticleEdit_Spawn(PARTICLE_SPRITE_COPY& c, int32_t radius, int32_t delay)
{
    c.active = 1;
    c.delay = delay;
    const int64_t r2 = (int64_t)radius * radius;
    int32_t a, b;
    do {
        a = ParticleEdit_Random() % 320 - 160;
        b = ParticleEdit_Random() % 240 - 120;
    } while ((int64_t)a * a + (int64_t)b * b > r2);
    // The picture's top-left corner, 32 pixels up and left of the point around (320, 240).
    c.x = (float)(a + 320 - 32);
    c.y = (float)(b + 240 - 32);
    c.alpha = 255.0f;
}

void ParticleEdit_Tick(PARTICLE_SPRITE_COPY& c)
{
    if (!c.active) return;
    if (c.delay > 0) {
        c.delay -= 1;
        return;
    }
    c.alpha -= 4.0f;
    if (c.alpha <= 0.0f) c.active = 0;
}

void ParticleEdit_Frame()
{
    Lib_SetClearColor(0, 0, 0);
    PARTICLE_MODE& m = g_ParticleMode;
    m.counter += 1;
    if (m.counter > m.frames) {
        m.counter = 0;
        for (PARTICLE_SPRITE_COPY& c : m.copies) c.active = 0;
        for (int32_t i = 0; i < m.count && i < kParticleModeCopies; ++i)
            ParticleEdit_Spawn(m.copies[i], i < 72 ? i : 72, (int32_t)((double)i * 0.04));
    }
    for (PARTICLE_SPRITE_COPY& c : m.copies) ParticleEdit_Tick(c);
    View_RequestRedraw();
}

void ParticleEdit_MouseMove(int32_t) {}

void ParticleEdit_Draw()
{
    Draw_Text(8, 8, "パーティクル編集モードは、現在開発中です。");
    if (!V_SyncGet())
        Draw_Text(10, -32, "オプション -> 垂直同期 -> ONにされないと、時の流れ(タイミング)が合いません。");
    for (const PARTICLE_SPRITE_COPY& c : g_ParticleMode.copies) {
        if (!c.active || c.delay != 0) continue;
        // A blend lasts for one quad.
        Draw_SetBlendMode(QVL::BLEND_ADDITIVE);
        Tex_DrawColor(g_TexTable[0], (int)c.x, (int)c.y, 128, 128, 128, (int)c.alpha);
    }
    Draw_SetBlendMode(QVL::BLEND_ALPHA);
}

// The mode record: enter, exit, frame, command, key down and up; the mouse buttons and move; the
// two draw passes.
const MODE_HOOKS kParticleEditMode = {
    ParticleEdit_Enter, ParticleEdit_Exit, ParticleEdit_Frame, nullptr, nullptr, nullptr,
    Mode_StoreDragStart, nullptr, Mode_StoreDragStart, nullptr, Poly3D_StoreDragStart, nullptr, ParticleEdit_MouseMove,
    ParticleEdit_Draw, nullptr};
