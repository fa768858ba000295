// Stand-ins for what other parts of the frame provide; removed when those parts land.
#include <windows.h>

void Lib_ResetFrameTimer() {}  // stand-in: the frame timer (zeroes the frame time, new base)
