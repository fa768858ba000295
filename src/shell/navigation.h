// The views' navigation state.
#pragma once
#include <cstdint>

extern float g_OrbitYaw, g_OrbitPitch; // degrees
extern float g_Zoom2D;
extern int32_t g_HalfMonitorW, g_HalfMonitorH;  // for the 2D pan clamp
