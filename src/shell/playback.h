// Playback state shared by the shell's per-frame update and the editors.
#pragma once
#include <cstdint>

extern float g_FrameStep;       // 60 Hz frames since the previous idle pass
extern int32_t g_PlayFlag;      // 1: one playback tick in the next per-frame update
extern int32_t g_LoopPlay;
extern int32_t g_SavedFrame;
extern int32_t g_MoviePlayStart, g_MoviePlayEnd;
