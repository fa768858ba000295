#include "frame/scene.h"

#include "model/model_table.h"

namespace QVL {

SCENE::SCENE()
    : eye{0.0f, 0.0f, -15.0f}, lookAt{0.0f, 0.0f, 0.0f}, up{0.0f, 1.0f, 0.0f},
      cpuPossession(0), vSync(1), shadowColor{0.0f, 0.0f, 0.0f, 0.2f}, nullTexture(nullptr)
{
    Loader_Construct(loader);
}

SCENE::~SCENE()
{
    // The loader first: a load in progress writes into its model until it ends.
    Loader_Destroy(loader);
    Model3_FreeTable();
}

} // namespace QVL
