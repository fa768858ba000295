// The settings file "System/System<monitor width>.dat": the options, the per-screen V-sync and CPU
// choices, the view layouts and the tool dialogs' positions, read at start over the defaults and
// written when the main window is destroyed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int32_t kSettingsVersion = 2005060;

void Settings_SetDefaults();
// Reads the bytes of a settings file over the current values, as Settings_Load does after its
// defaults. False when the file counts as bad (the defaults are then applied again).
bool Settings_Parse(const uint8_t* data, size_t size);
void Settings_Build(std::vector<uint8_t>& out);
// The file's name for the monitor width, relative to the data folder.
void Settings_FileName(char* out, size_t cap, int monitorWidth);
void Settings_Load();
void Settings_Save();
