#include "frame/scene.h"

#include "frame/lib.h"
#include "effect/effect.h"
#include "effect/particle.h"
#include "model/obj2.h"
#include "render/tex_slots.h"

namespace QVL {

SCENE::SCENE()
    : eye{0.0f, 0.0f, -15.0f}, lookAt{0.0f, 0.0f, 0.0f}, up{0.0f, 1.0f, 0.0f},
      cpuPossession(0), vSync(1), shadowColor{0.0f, 0.0f, 0.0f, 0.2f}, nullTexture(nullptr)
{
    CPU_PossessionSet(0);
    // V_SyncSet(true) before any device exists only stores the switch; store it directly so that
    // static construction needs nothing of the frame.
    vSync = 1;
    Particle_ListInit();
    Effect_EraseAllInstances();
    Effect_EraseAllData();
}

SCENE::~SCENE()
{
    Effect_EraseAllInstances();
    Effect_EraseAllData();
    Particle_ListFree();
    Obj2_ReleaseAll();
    Tex_FreeSlots();
}

} // namespace QVL
