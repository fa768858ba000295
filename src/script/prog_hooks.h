// The program editor (mode 24) as the shell calls it.
#pragma once
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
