// The textured cube the render tests draw: a 4 x 4 picture of one colour, and a unit cube QVP
// textured with it, written into the test's folder.
#pragma once
#include <cstdint>
#include <string>

const uint32_t kWineCubeTexel = 0xE6781E;   // red 230, green 120, blue 30

// A 4 x 4 24-bit BMP of one colour (0xRRGGBB).
bool WineCube_WriteBmp(const std::string& path, uint32_t texel = kWineCubeTexel);
bool WineCube_WriteQvp(const std::string& path, const char* textureFile);
