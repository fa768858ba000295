#include "frame/scene.h"

#include "frame/lib.h"

namespace QVL {

SCENE::SCENE()
    : eye{0.0f, 0.0f, -15.0f}, lookAt{0.0f, 0.0f, 0.0f}, up{0.0f, 1.0f, 0.0f},
      cpuPossession(0), vSync(1), shadowColor{0.0f, 0.0f, 0.0f, 0.2f}, nullTexture(nullptr)
{
    CPU_PossessionSet(0);
    // V_SyncSet(true) before any device exists only stores the switch; store it directly so that
    // static construction needs nothing of the frame.
    vSync = 1;
}

} // namespace QVL
