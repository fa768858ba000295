// The shell application's side of the modes: the editors' records it lists in g_ModeHooks, the
// switch into 3D editing, the command table and the keys that name editors.
#pragma once
#include <cstdint>

#include "shell/mode_hooks.h"
#include "shell/mode_input.h"

void Mode_SwitchTo3DPoly();
bool Main_CommandTable(int id);   // false for an id the table does not know
void Main_LoopKeyUp(int key);     // key releases the message loop hands to screens 18, 23 and 24
// One wheel turn away from the user (forward) or towards him: the 3D motion screen steps keys, the
// effect editor the preview frame, the other views zoom.
void View_WheelForward();
void View_WheelBack();
