// The scene object: the camera the frame renders with and the scene switches. The engine's record
// tables and the loader belong to their subsystems; the shell's statics.cpp defines them in
// construction order and frees their records at exit.
#pragma once
#include <cstdint>

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

    SCENE();
};

} // namespace QVL

extern QVL::SCENE g_Scene;
