// The log window ("LogWin"): a list box collecting one line per Log_Printf. It exists only after
// Log_CreateWindow (the program editor's entry); lines written before, or after it closed, are dropped.
#pragma once
#include <windows.h>
#include <cstdint>

#include "frame/services.h"  // Log_CreateWindow

struct LOG_WND {
    HWND wnd;
    HWND list;
    int32_t lines;     // running line counter: the item selected after each line
    DWORD thread;      // the thread that owns the window
    bool created;      // once created, a closed log window is not created again
};

extern LOG_WND g_LogWnd;

// Closes the log window (for the shell's shut-down; it is not created again).
void Log_DestroyWindow();
