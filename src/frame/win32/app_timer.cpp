// The frame's animation timer on the machine's clock.
#include <windows.h>

#include "frame/timer.h"

using namespace QVL;

static TIMER_STATE s_Timer;

static int64_t ReadClock()
{
    if (s_Timer.highResolution) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return now.QuadPart;
    }
    return (int64_t)timeGetTime();
}

float App_Timer(int command)
{
    if (!s_Timer.initialised) {
        LARGE_INTEGER f;
        s_Timer.initialised = true;
        s_Timer.highResolution = QueryPerformanceFrequency(&f) && f.QuadPart > 0;
        // Without the counter the clock is timeGetTime() in milliseconds.
        s_Timer.frequency = s_Timer.highResolution ? f.QuadPart : 1000;
    }
    return Timer_Run(s_Timer, command, ReadClock());
}
