// What the per-frame tick (Frame_Tick, frame/frame.h) needs from Direct3D and the rest of the
// studio: the frame's tick seam. The studio implements it in frame/win32/app_frame.cpp; native
// programs link tests/support/tick_recorder.cpp, which records the calls and answers as scripted.
#pragma once
#include <cstdint>

bool FrameTick_VideoPlaying();
int32_t FrameTick_TestCooperativeLevel();
void FrameTick_TakeDesktopModeForWindowed();
int32_t FrameTick_ResetDevice();
float FrameTick_AppTime();
float FrameTick_ElapsedTime();
void FrameTick_Render();      // Render_Frame and the statistics
bool FrameTick_Recording();
void FrameTick_Record();      // adds the rendered back buffer to the AVI file
int32_t FrameTick_Present();
