// The frame's animation timer: the pause, single-step and per-frame code drive it. The arithmetic is
// here; App_Timer (frame/win32) feeds it the clock.
#pragma once
#include <cstdint>

namespace QVL {

enum TIMER_COMMAND {
    TIMER_RESET = 0,
    TIMER_START = 1,
    TIMER_STOP = 2,
    TIMER_ADVANCE = 3,
    TIMER_GETABSOLUTETIME = 4,
    TIMER_GETAPPTIME = 5,
    TIMER_GETELAPSEDTIME = 6,
};

// Times are clock ticks: counter values of the high-resolution counter, or milliseconds when the
// machine has none (frequency 1000).
struct TIMER_STATE {
    bool initialised;
    bool highResolution;
    int64_t frequency;
    int64_t baseTime;
    int64_t lastElapsedTime;
    int64_t stopTime;     // 0: not stopped by a stop command; else the frozen clock
    bool stopped;
};

// Runs one command with the clock reading now; seconds as a float, -1 for an unknown command.
float Timer_Run(TIMER_STATE& t, int command, int64_t now);

} // namespace QVL

// The frame's timer (process-wide, created on first use).
float App_Timer(int command);
