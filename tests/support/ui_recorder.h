// Native stand-in for the shell's windows and menus (shell/ui_services.h, implemented by
// ui_recorder.cpp), and the call log that the other window recorders share so a test sees their
// order: the file dialogs (file_dialog_recorder.cpp) and the effect editor's dialogs
// (effect_ui_recorder.cpp). Every call is recorded as a line.
#pragma once
#include <string>
#include <vector>

struct UiRecorder {
    std::vector<std::string> calls;  // "MenuSet MENU_EFFECT", "ViewCreate 2", "Place 2 96 256 256 256"...
    void* active = nullptr;          // what Wnd_Active answers
    int confirmExits = 0;
    int optionsOpened = 0;
    unsigned nextHandle = 2;         // handles count up from 2 (1 is the main window)
    // File dialogs: each is recorded ("Open QVP <title> <initial>", "OpenFilter <title>",
    // "Save QVP <initial>") and answered with the next of these names ("" when none are left).
    std::vector<std::string> fileAnswers;
    std::vector<int> pixelCopies;    // model IDs given to FileCmd_CopyModelPixels
    void Clear()
    {
        fileAnswers.clear();
        pixelCopies.clear();
        calls.clear();
        active = nullptr;
        confirmExits = 0;
        optionsOpened = 0;
        nextHandle = 2;
    }
    bool Has(const std::string& line) const;
};

UiRecorder& UiRec();
// Appends a printf-formatted line to UiRec().calls.
void UiRec_Note(const char* fmt, ...);
// The handle the recorder gives the main window.
void* UiRec_MainWindow();
