// The 2D motion screen's dialogs for native programs: distinct fake handles, the last request kept.
#include <cstdint>

#include "edit2d/motion2d_dialogs.h"

void* Motion2DDlg_Create(int which, int, int, int, int)
{
    if (which < MOTION2D_DLG_KEYS || which > MOTION2D_DLG_LIST) return nullptr;
    return (void*)(uintptr_t)(0x7200 + which);
}

void* Motion2DDlg_CreateList(void* listDialog) { return listDialog ? (void*)(uintptr_t)0x7210 : nullptr; }
