// Native side of the motion screen's seam (edit3d/motion_dialogs.h): the Yes/No box answers as the
// test sets it and counts its questions.
#include "support/motion_ui_recorder.h"

#include "edit3d/motion_dialogs.h"

MotionUiRecorder& MotionRec()
{
    static MotionUiRecorder r;
    return r;
}

bool Motion3DDlg_AskYesNo(const char* text)
{
    MotionRec().questions.push_back(text ? text : "");
    return MotionRec().answerYes;
}

void* Motion3DDlg_Create(int) { return nullptr; }

void* Motion3DDlg_ListControl(void* dialog, int id) { return dialog ? &MotionRec().controls[id] : nullptr; }
