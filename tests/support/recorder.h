// Native stand-in for the frame's platform seam (frame/services.h, implemented by
// services_recorder.cpp): records what the engine would have shown or logged. The other seams have
// recorders of their own: tick_recorder.h, sound_recorder.h, model_recorder.h, ui_recorder.h (and
// effect_ui_recorder.cpp, which writes into its call log).
#pragma once
#include <string>
#include <vector>

struct Recorder {
    std::vector<std::string> messageBoxes;
    std::vector<std::string> logLines;
    std::vector<std::string> shellOpened; // what Lib_ShellOpen was asked to open
    int logWindowsCreated = 0;
    void Clear()
    {
        shellOpened.clear();
        logWindowsCreated = 0;
        messageBoxes.clear();
        logLines.clear();
    }
};

// The recorder of the whole test process (tests run on one thread; the loader thread records too).
// It outlives static destruction, which still logs.
Recorder& Rec();

// A fresh empty folder under the system's temporary folder, removed at process end.
std::string Rec_TempDir();
