// Native side of the frame's tick seam (frame/tick_services.h): the calls go into TickRec().calls
// and the answers come from its fields; the application time is always 1 s.
#include "support/tick_recorder.h"

#include "frame/tick_services.h"

TickRecorder& TickRec()
{
    static TickRecorder r;
    return r;
}

bool FrameTick_VideoPlaying() { return TickRec().video; }
int32_t FrameTick_TestCooperativeLevel()
{
    TickRec().calls += "T";
    return TickRec().cooperative;
}
void FrameTick_TakeDesktopModeForWindowed() { TickRec().calls += "D"; }
int32_t FrameTick_ResetDevice()
{
    TickRec().calls += "X";
    return QVL::HR_OK;
}
float FrameTick_AppTime() { return 1.0f; }
float FrameTick_ElapsedTime() { return TickRec().elapsed; }
void FrameTick_Render() { TickRec().calls += "R"; }
bool FrameTick_Recording() { return TickRec().recording; }
void FrameTick_Record() { TickRec().calls += "C"; }
int32_t FrameTick_Present()
{
    TickRec().calls += "P";
    return TickRec().presentResult;
}
