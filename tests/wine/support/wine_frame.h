// Brings the studio's frame up once for the Wine tests that need a window and a device (LibInit),
// and again after a test has closed it. The current directory stays the test program's folder.
#pragma once

// True when the frame runs (window, device, ready flag).
bool WineFrame_Ensure();

#include <cstdint>
#include <vector>

// A scene of a test's own on the running frame: the objects other tests left visible, and the
// objects and models the test makes (it appends to these lists), with the flags it changes.
struct WINE_SCENE {
    std::vector<int32_t> hidden, objects, models;
    int32_t studio = 0;
};
// Brings the frame up, hides every visible object, turns the studio flag and lighting off, clears
// to black without fade and puts the camera at the eye, looking at the origin. False without a frame.
bool WineScene_Begin(WINE_SCENE& s, float eyeX, float eyeY, float eyeZ);
// Hides the test's objects, shows the others again, releases the test's models, restores the flags.
void WineScene_End(WINE_SCENE& s);
