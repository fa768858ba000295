#include "frame/scene.h"

namespace QVL {

SCENE::SCENE() {}
SCENE::~SCENE() {}

} // namespace QVL
