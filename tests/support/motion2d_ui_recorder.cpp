// The 2D motion screen's dialogs for native programs: each request is noted in the UI call log
// ("Motion2DDlg <kind> <left> <top> <width> <height>", "Motion2DList <dialog>") and answered with a
// fresh handle.
#include <cstdint>

#include "edit2d/motion2d_dialogs.h"
#include "support/ui_recorder.h"

void* Motion2DDlg_Create(int which, int left, int top, int width, int height)
{
    UiRec_Note("Motion2DDlg %d %d %d %d %d", which, left, top, width, height);
    if (which < MOTION2D_DLG_KEYS || which > MOTION2D_DLG_LIST) return nullptr;
    return (void*)(uintptr_t)UiRec().nextHandle++;
}

void* Motion2DDlg_CreateList(void* listDialog)
{
    UiRec_Note("Motion2DList %d", (int)(uintptr_t)listDialog);
    return listDialog ? (void*)(uintptr_t)UiRec().nextHandle++ : nullptr;
}
