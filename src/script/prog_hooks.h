// The program editor (mode 24): runs and stops the program of the chosen source file, one slice
// per frame, and draws its queued images in the first draw pass.
#pragma once
#include <cstddef>
#include <cstdint>

struct PROG_MODE {
    char sourceFolder[256];
    char sourceFile[256];
};
extern PROG_MODE g_ProgMode;

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
// Stops the program and releases every model it loaded.
void Prog_Stop();
// Compiles the source file again and writes "Program.QVS" in the current directory.
bool Prog_WriteQvs();
