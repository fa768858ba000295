// The scene object: the camera the frame renders with and the owner of the engine's record tables.
#pragma once
#include <cstdint>

namespace QVL {

struct SCENE {
    SCENE();
    ~SCENE();
};

} // namespace QVL

extern QVL::SCENE g_Scene;
