// The file commands' platform seam (shell/win32/file_asks.cpp; native programs answer from a
// script): the open and save dialogs over the main window and the texture panels' pixel copies.
#pragma once
#include <cstdint>

// Each returns the chosen name without its folder, "" when cancelled.
const char* FileCmd_AskOpen(const char* extension, const char* title, const char* initialName);
// filter: pairs of description and pattern, each terminated, ended by an empty string.
const char* FileCmd_AskOpenFilter(const char* filter, const char* title);
const char* FileCmd_AskSave(const char* extension, const char* initialName);
// Rebuilds the texture panels' pixel copies from the model's textures (the studio's textures).
void FileCmd_CopyModelPixels(int32_t id);
