#include "shell/anim_hooks.h"

#include "effect/effect.h"
#include "effect/particle.h"
#include "frame/lib.h"
#include "model/anim_clock.h"
#include "model/model2.h"
#include "shell/frame_update.h"

namespace {

// The movie runs only while it plays and the frames are not laid out in the studio's views.
void MovieTick()
{
    if (g_MoviePlayState == 1 && g_Lib.layoutFlag != 1) Play_TickMovie();
}

void EffectsTick(float step)
{
    Effect_AdvanceInstances(step);
    Particle_StepAll(step);
}

void Model2Tick(float step)
{
    for (int32_t id = 0; id < QVL::kModel2Slots; ++id) Model2_AdvanceFrame(Model2_Get(id), step);
}

} // namespace

void Shell_RegisterAnimHooks()
{
    // The video check is the platform's and is set by the program entry.
    g_AnimHooks.movieTick = MovieTick;
    g_AnimHooks.effectsTick = EffectsTick;
    g_AnimHooks.model2Tick = Model2Tick;
    g_AnimHooks.model2Skin = Model2_SkinAll;
}
