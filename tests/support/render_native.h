// Native stand-in for the renderer's device side: the camera goes into a VIEW matrix of its own and
// points are projected with the frame's projection (45 degrees, 0.1 .. 65000) on a viewport whose
// size the tests choose (1280 x 720 until they do).
#pragma once

#include "frame/math3d.h"

void RenderNative_SetViewport(int width, int height);
// The VIEW matrix the last Render_ApplyCamera built, and how many times it ran.
const QVL::MATRIX& RenderNative_View();
int RenderNative_ApplyCount();
