// The 2D layer maps 2D coordinates 1:1 while one of these lives, and is restored after.
#pragma once
#include <cstdint>

#include "frame/lib.h"
#include "render/immediate.h"

struct Plain2D {
    float scale[2];
    int32_t toWindow, studio;
    Plain2D() : scale{g_WindowScale[0], g_WindowScale[1]}, toWindow(g_ScaleToWindow), studio(g_StudioFlag)
    {
        g_WindowScale[0] = g_WindowScale[1] = 1.0f;
        g_ScaleToWindow = 0;
        g_StudioFlag = 0;
    }
    ~Plain2D()
    {
        g_WindowScale[0] = scale[0];
        g_WindowScale[1] = scale[1];
        g_ScaleToWindow = toWindow;
        g_StudioFlag = studio;
    }
};
