// The program entry's platform-free parts: the start-up states, the command line, and the steps of
// one idle pass (fade, frame step, view scheduler, panel counter).
#pragma once
#include <cstddef>
#include <cstdint>

// The file named on the command line: the text without its surrounding quotes, cut to the buffer.
// Quotes are dropped only where they are; an empty or one-quote line gives an empty name.
void Shell_ParseCommandLine(const char* cmdLine, char* out, size_t cap);
// True when the name's extension is "qvp" in any case.
bool Shell_IsQvpName(const char* name);

// Start-up after LibInit and before the window is shown: mode 20, the flag tables, the settings.
void Shell_StartEarly();
// Start-up after the window is shown: editor start states, default records, the start mode.
void Shell_StartLate();
// Opens the command line's .qvp file in the 3D polygon screen; other names are ignored. A relative
// name is taken from launchDir, the current directory the program was started in.
void Shell_OpenCommandLine(const char* cmdLine, const char* launchDir);

// Fade: the level moves by the step and stops at either end.
void Loop_Fade(float* level, float* step);
// The frame step from the previous pass time (a wrapped counter gives 0).
struct FRAME_CLOCK {
    double previous;
    int set;
};
extern FRAME_CLOCK g_FrameClock;
float Loop_FrameStep(FRAME_CLOCK* clock, uint32_t now);
// Steps 1 to 4 of the idle pass up to the choice of the view. Returns the view to render in this
// pass, or -1 when nothing is rendered.
int Loop_PickView();
// The panel counter: true on the passes that repaint the panels.
bool Loop_PanelPass();
extern int32_t g_PanelPassCounter;
