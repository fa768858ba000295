#include "frame/scene.h"

#include "frame/lib.h"
#include "effect/effect.h"
#include "effect/particle.h"
#include "model/gpu_data.h"
#include "model/model_table.h"
#include "model/scene_object.h"
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
    Loader_Construct(loader);
}

SCENE::~SCENE()
{
    // The loader first: a load in progress writes into its model until it ends.
    Loader_Destroy(loader);
    Effect_EraseAllInstances();
    Effect_EraseAllData();
    Particle_ListFree();
    Obj2_ReleaseAll();
    Gpu_FreeRenderTable();
    Model3_FreeTable();
    Object_FreeTable();
    Tex_FreeSlots();
}

} // namespace QVL
