// The scene object: the camera the frame renders with, the scene switches, and the owner of the
// engine's record tables (the tables themselves are declared by their subsystems and defined, in
// construction order, in statics.cpp; the scene frees their records when it is destroyed).
#pragma once
#include <cstdint>

#include "frame/loader.h"

struct IDirect3DTexture9;

namespace QVL {

struct SCENE {
    float eye[3];          // 0, 0, -15
    float lookAt[3];       // 0, 0, 0
    float up[3];           // 0, 1, 0
    uint8_t cpuPossession; // false
    uint8_t vSync;         // true
    float shadowColor[4];  // 0, 0, 0, 0.2 (0..1)
    IDirect3DTexture9* nullTexture;  // "tex_null.bmp", loaded by LibInit
    LOADER loader;         // the background model loader; its thread runs from construction on

    SCENE();
    ~SCENE();
};

} // namespace QVL

extern QVL::SCENE g_Scene;
