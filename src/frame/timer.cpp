#include "frame/timer.h"

namespace QVL {

static float Seconds(int64_t ticks, int64_t frequency)
{
    return (float)((double)ticks / (double)frequency);
}

float Timer_Run(TIMER_STATE& t, int command, int64_t clock)
{
    if (command < TIMER_RESET || command > TIMER_GETELAPSEDTIME) return -1.0f;
    // A stopped timer reads its frozen time, except where the real clock is asked for.
    int64_t now = (t.stopTime != 0 && command != TIMER_START && command != TIMER_GETABSOLUTETIME) ? t.stopTime : clock;

    switch (command) {
    case TIMER_RESET:
        t.baseTime = now;
        t.lastElapsedTime = now;
        t.stopTime = 0;
        t.stopped = false;
        return 0.0f;
    case TIMER_START:
        if (t.stopped) t.baseTime += now - t.stopTime;
        t.stopTime = 0;
        t.lastElapsedTime = now;
        t.stopped = false;
        return 0.0f;
    case TIMER_STOP:
        if (!t.stopped) {
            t.stopTime = now;
            t.lastElapsedTime = now;
            t.stopped = true;
        }
        return 0.0f;
    case TIMER_ADVANCE:
        t.stopTime += t.frequency / 10;
        return 0.0f;
    case TIMER_GETABSOLUTETIME:
        return Seconds(now, t.frequency);
    case TIMER_GETAPPTIME:
        return Seconds(now - t.baseTime, t.frequency);
    default: {  // TIMER_GETELAPSEDTIME
        int64_t elapsed = now - t.lastElapsedTime;
        t.lastElapsedTime = now;
        return Seconds(elapsed, t.frequency);
    }
    }
}

} // namespace QVL
