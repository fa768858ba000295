#include <gtest/gtest.h>

#include "frame/timer.h"

using namespace QVL;

namespace {
// A counter of 1000 ticks per second started at 5000.
TIMER_STATE Fresh()
{
    TIMER_STATE t = {};
    t.initialised = true;
    t.highResolution = true;
    t.frequency = 1000;
    Timer_Run(t, TIMER_RESET, 5000);
    return t;
}
} // namespace

TEST(Timer, AppAndElapsedTimeFollowTheClock)
{
    TIMER_STATE t = Fresh();
    EXPECT_FLOAT_EQ(1.5f, Timer_Run(t, TIMER_GETAPPTIME, 6500));
    EXPECT_FLOAT_EQ(0.25f, Timer_Run(t, TIMER_GETELAPSEDTIME, 5250));
    EXPECT_FLOAT_EQ(0.75f, Timer_Run(t, TIMER_GETELAPSEDTIME, 6000));
    EXPECT_FLOAT_EQ(6.0f, Timer_Run(t, TIMER_GETABSOLUTETIME, 6000));
    EXPECT_FLOAT_EQ(-1.0f, Timer_Run(t, 7, 6000));
}

TEST(Timer, StoppedTimeIsFrozenAndTheStopIsNotCounted)
{
    TIMER_STATE t = Fresh();
    Timer_Run(t, TIMER_STOP, 6000);
    // While stopped the clock reads the stop time, except the absolute time.
    EXPECT_FLOAT_EQ(1.0f, Timer_Run(t, TIMER_GETAPPTIME, 9000));
    EXPECT_FLOAT_EQ(9.0f, Timer_Run(t, TIMER_GETABSOLUTETIME, 9000));
    EXPECT_FLOAT_EQ(0.0f, Timer_Run(t, TIMER_GETELAPSEDTIME, 9000));
    EXPECT_FLOAT_EQ(0.0f, Timer_Run(t, TIMER_GETELAPSEDTIME, 9500));
    // A second stop does not move the stop time.
    Timer_Run(t, TIMER_STOP, 9700);
    Timer_Run(t, TIMER_START, 10000);
    // Four stopped seconds are taken out of the application time.
    EXPECT_FLOAT_EQ(1.5f, Timer_Run(t, TIMER_GETAPPTIME, 10500));
}

TEST(Timer, AdvanceWhileStoppedMovesTheFrozenTimeByATenth)
{
    TIMER_STATE t = Fresh();
    Timer_Run(t, TIMER_STOP, 6000);
    Timer_Run(t, TIMER_ADVANCE, 7000);
    // Elapsed time since the stop, then nothing.
    EXPECT_NEAR(0.1f, Timer_Run(t, TIMER_GETELAPSEDTIME, 8000), 1e-6);
    EXPECT_FLOAT_EQ(0.0f, Timer_Run(t, TIMER_GETELAPSEDTIME, 8000));
    EXPECT_NEAR(1.1f, Timer_Run(t, TIMER_GETAPPTIME, 8000), 1e-6);
}

TEST(Timer, StartWithoutStopKeepsTheBase)
{
    TIMER_STATE t = Fresh();
    Timer_Run(t, TIMER_START, 7000);
    EXPECT_FLOAT_EQ(3.0f, Timer_Run(t, TIMER_GETAPPTIME, 8000));
    EXPECT_FLOAT_EQ(1.0f, Timer_Run(t, TIMER_GETELAPSEDTIME, 8000));
}
