// The movie editor's dialog windows, for the code that drives them.
#pragma once
#include <windows.h>
#include <cstdint>

// The tool dialog of a track kind; -2 the key dialog, -3 the rendering dialog; null when closed.
HWND MovieEditUi_Window(int32_t kind);
// The main view of the current frame as a 1280 x 720 bitmap in the program's folder; false when
// it could not be written.
bool MovieEdit_RenderPicture(const char* name);
// Every interval-th frame of the movie as "<base>0000.BMP", "<base>0001.BMP", ...; the count
// written, or -1 when a picture could not be written (the run stops there).
int32_t MovieEdit_RenderPictures(const char* base, int32_t interval);
