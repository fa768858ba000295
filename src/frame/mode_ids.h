// The editor modes (g_Mode) and screens (g_Screen) by name. They live this low because the
// renderer and the model drawing test the mode too; the shell's mode table is shell/mode_hooks.h.
#pragma once

enum MODE_ID {
    MODE_PREVIEW = 0,         // preview and converter
    MODE_2D_EDIT = 3,         // 2D editor hub (screens 4 to 10)
    MODE_3D_EDIT = 11,        // 3D editor hub (screens 12 to 18)
    MODE_PARTICLE = 19,       // particle mode
    MODE_EFFECT_EDIT = 20,    // effect editor, the start mode
    MODE_MAP_EDIT = 21,       // MAP2 map editor
    MODE_COLLISION_EDIT = 22, // collision editor
    MODE_MOVIE = 23,          // movie editor
    MODE_PROGRAM = 24,        // program editor
};
constexpr int kModeCount = 25;

enum SCREEN_ID {
    SCREEN_START = 0,         // the value of a fresh start; the modes outside the hubs keep it
    SCREEN_2D_OBJECT = 4,
    SCREEN_2D_POLYGON = 6,
    SCREEN_2D_TEXTURE = 7,
    SCREEN_2D_BONE = 8,
    SCREEN_2D_WEIGHT = 9,
    SCREEN_2D_MOTION = 10,
    SCREEN_3D_OBJECT = 12,
    SCREEN_3D_POLYGON = 14,
    SCREEN_3D_TEXTURE = 15,
    SCREEN_3D_BONE = 16,
    SCREEN_3D_WEIGHT = 17,
    SCREEN_3D_MOTION = 18,
    SCREEN_MOVIE = 23,        // the rows the message loop hands key releases to
    SCREEN_PROGRAM = 24,
};
constexpr int kScreenCount = 25;
