#include "frame/scene.h"

#include "render/tex_slots.h"

namespace QVL {

SCENE::SCENE()
    : eye{0.0f, 0.0f, -15.0f}, lookAt{0.0f, 0.0f, 0.0f}, up{0.0f, 1.0f, 0.0f},
      cpuPossession(0), vSync(1), shadowColor{0.0f, 0.0f, 0.0f, 0.2f}, nullTexture(nullptr)
{
}

SCENE::~SCENE()
{
    Tex_FreeSlots();
}

} // namespace QVL
