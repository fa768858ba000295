// The shell's part of every idle pass: current records, V-sync and CPU choice, view navigation,
// playback clocks, the window title and the mode's frame function.
#pragma once
#include <cstddef>
#include <cstdint>

void Mode_Frame();
void Mode_FrameCallback();

// One playback clock: fraction += step, whole frames advance the frame (perFrame runs once when
// any did); at the end the length is subtracted once when the frame has reached it.
void Play_AdvanceWrap(int32_t* frame, float* fraction, float step, int32_t length, void (*perFrame)());
// The effect clock: whole frames advance, and the frame jumps to 0 at the frame count.
void Play_AdvanceReset(int32_t* frame, float* fraction, float step, int32_t frameCount);

void Play_TickObj2();
void Play_TickModel2();
void Play_TickObj3();
void Play_TickModel3();
void Play_TickEffect();
void Play_TickMovie();

// The window title " %s   %s ( Ver %4.3f )", or " %s   %s" without a version, or " %s" without a
// name; always terminated within cap.
void Title_Format(char* out, size_t cap, const char* name, int32_t version, int withVersion);
// The title of the current mode; false when the mode keeps its title unchanged.
bool Title_Build(char* out, size_t cap);
extern int32_t g_TitleCounter;
extern char g_TitleText[256];

// The pan of the current view by the mouse (the 2D canvas clamp and the 3D mappings).
void View_Navigate();
