// The polygon screen's two modeless dialogs, "モデリング" and POLY_NUM_DLG: their lifetime with the
// screen, the modelling dialog's command table and the texts it shows, and the numeric input.
// The dialog procedures are in edit3d/win32/poly_dialogs.cpp.
#pragma once
#include <cstdint>

extern void* g_Poly3DDlg;     // the modelling dialog; null when closed
extern void* g_Poly3DNumDlg;  // POLY_NUM_DLG; null when closed

// The modelling dialog's commands that need no platform input (file and colour dialogs, edit
// texts and button labels are read by the dialog procedure first). False for another control,
// and for every control while an added file is loading.
bool Poly3D_DlgCommand(int id);

// The four counters of a refresh: 1160 positions, 1178 normals, 1179 colours, 1180 UVs.
void Poly3D_CounterTexts(char out[4][64]);

// The checked state of the push-like buttons at a refresh: 1 for the button of the selection mode,
// of the tool and of the move mode, 0 for the others of the group.
bool Poly3D_ButtonChecked(int id);

// "決定" of POLY_NUM_DLG with the texts of the X, Y and Z edits (an empty text leaves the axis alone
// for move and scale).
void Poly3D_ApplyNumbers(const char* const fields[3]);
