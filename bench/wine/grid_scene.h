// The 65,000-polygon scene of the frame benchmark: 260 x 250 quads, each with its own corners, in
// 4 materials, placed by a scene object and seen whole.
#pragma once
#include <cstdint>

// Shows the grid drawn as render kind 3 (buffers) or 0 (immediate, as the 3D editors draw).
void GridScene_SetupKind3();
void GridScene_SetupKind0();
// The grid bound to two bones and posed: skinned on the processor every frame (render kind 3 with
// GridScene_SkinOnCpu), or on the graphics card (kind 5, through the bone palette).
void GridScene_SetupCpuSkinned();
void GridScene_SetupGpuSkinned();
void GridScene_SkinOnCpu();
// Hides it again.
void GridScene_Teardown();
// Shows the polygon screen's wire frame of the grid (Top view).
void GridScene_SetupWire();
void GridScene_TeardownWire();
