// The open, save and folder dialogs. A file dialog returns the chosen name without its folder and
// leaves the current directory at the file's folder, which the loaders rely on. Results live in the
// shared buffers of g_FileDlg (frame/paths.h) until the next call of the same dialog.
#pragma once
#include <windows.h>
#include <cstdint>

// Filter "%s Files (*.%s)" for the extension; "" when cancelled. The chosen folder becomes the next
// dialogs' start folder (the first dialog of a run starts in the data folder).
const char* File_OpenDialog(HWND owner, const char* extension, const char* title, const char* initialName);
// The same with a filter the caller built (pairs of strings ended by an empty one).
const char* File_OpenDialogFilter(HWND owner, const char* filter, const char* title, const char* initialName);
// Asks before overwriting; starts in the start folder and does not change it.
const char* File_SaveDialog(HWND owner, const char* extension, const char* title, const char* initialName);
// The folder browser starting at the current directory; true when a folder was chosen.
bool File_ChooseFolder(char* folder /*[256]*/);
// Available physical memory in bytes.
uint32_t Lib_GetFreePhysMemory();
