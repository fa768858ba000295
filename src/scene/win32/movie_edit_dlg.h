// The movie editor's dialog windows, for the code that drives them.
#pragma once
#include <windows.h>
#include <cstdint>

// The tool dialog of a track kind; -2 the key dialog, -3 the rendering dialog; null when closed.
HWND MovieEditUi_Window(int32_t kind);
