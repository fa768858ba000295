// The program editor's dialog "編集" as the message loop sees it.
#pragma once
#include <windows.h>

// The open dialog, or null: its keys (Tab, Enter) go through IsDialogMessage.
HWND Prog_DialogWindow();
// Set when the dialog is created, cleared by the next message that is not a command.
bool Prog_DialogDirty();
