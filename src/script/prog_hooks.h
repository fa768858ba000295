// The program editor (mode 24): runs and stops the program of the chosen source file, one slice
// per frame, and draws its queued images in the first draw pass.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "shell/app_state.h"  // g_ProgMode, kept with the options
#include "shell/mode_hooks.h"

// The mode record the shell application lists under its mode number.
extern const MODE_HOOKS kProgMode;

void Prog_Enter();
void Prog_Exit();
void Prog_Frame();
void Prog_Draw();
void Prog_OnKey(int key);

// Starts the program: the source text (size bytes, no terminator needed) is written over the
// source file byte for byte, compiled, the interpreter reset and "Program.QVS" written beside it.
// A null text compiles the file as it stands. False, and nothing started, when no source file is
// chosen or the file cannot be written or read back.
bool Prog_Run(const char* text, size_t size);
// Prog_Run with the edit box's text (the file as it stands without the dialog): F5 and "実行(F5)".
void Prog_RunEdited();
// Stops the program and releases every model it loaded.
void Prog_Stop();
// The edit dialog "編集" with the source text (script/win32 registers it at start-up; native
// programs have none, and F5 then runs the source file as it stands).
struct PROG_EDIT_DIALOG {
    void (*open)();                                   // creates and shows it unless it is open
    void (*close)();                                  // destroys it
    void (*setText)(const char* text, size_t size);   // the whole text, whatever its length
    bool (*getText)(std::string* out);                // false when the dialog is not open
    void (*activate)();
};
extern const PROG_EDIT_DIALOG* g_ProgEditDialog;

// Puts the source file into the edit box (empty when no file is chosen or it cannot be read).
void Prog_LoadSource();
// Compiles the source file again and writes "Program.QVS" in the current directory.
bool Prog_WriteQvs();
