// Brings the studio's frame up once for the Wine tests that need a window and a device (LibInit),
// and again after a test has closed it. The current directory stays the test program's folder.
#pragma once

// True when the frame runs (window, device, ready flag).
bool WineFrame_Ensure();

#include <cstdint>
#include <vector>

#include "model/model3.h"
#include "model/model_table.h"

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
// A new ready model of render kind 0 built by fill (no groups until fill adds them), released by
// WineScene_End.
template <class F> int32_t WineScene_Model(WINE_SCENE& s, F fill)
{
    int32_t id = Model3_Create();
    QVL::MODEL3* m = Model3_GetById(id);
    m->groupCount = 0;
    fill(m);
    Model3_FitArrays(m);
    Model3_SetRenderKind(m, 0);
    Model3_SetLoaded(m);
    s.models.push_back(id);
    return id;
}
