// The motion screen's platform seam: its dialogs are made through Model3DDlg_Create
// (edit3d/model3d_dialogs.h); the studio implements the rest in edit3d/win32/motion_dialogs.cpp,
// native programs link tests/support/motion_ui_recorder.cpp.
#pragma once

// A Yes/No message box with the product caption; true for Yes.
bool Motion3DDlg_AskYesNo(const char* text);
// Creates one of the motion screen's dialogs (a MODEL3D_DLG_MOTION* kind); null for other kinds.
void* Motion3DDlg_Create(int which);
// The list or combo box `id` of one of those dialogs, as shell/list_controls.h takes it; null when
// there is none.
void* Motion3DDlg_ListControl(void* dialog, int id);
