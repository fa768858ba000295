// The 2D motion screen's platform seam: the studio implements it in edit2d/win32/motion2d_dialogs.cpp,
// native programs link tests/support/motion2d_ui_recorder.cpp. Wnd_Destroy (shell/ui_services.h)
// ends a dialog.
#pragma once

enum { MOTION2D_DLG_KEYS = 0, MOTION2D_DLG_PANEL = 1, MOTION2D_DLG_LIST = 2 };
// Creates 2D_MOTION_DLG, MOTION_KEY_DLG or 2D_MOTION_LIST_DLG (a MOTION2D_DLG_* kind) at the place
// given; null for another kind or a failure.
void* Motion2DDlg_Create(int which, int left, int top, int width, int height);
// The motion list's list box, made as the list dialog's child at (0, 105), 222 x 265.
void* Motion2DDlg_CreateList(void* listDialog);
