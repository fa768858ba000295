// DirectX .x meshes. The writer is our own (binary "xof 0303bin 0032" with the standard templates);
// reading goes through D3DX (win32/x_import.cpp).
#pragma once
#include <cstdint>
#include <vector>

#include "model/model3.h"

// The model as one mesh of fan triangles, one vertex per corner (positions / 5, the corner's
// normal and UV), one white material naming texture entry 1's file when it is used. False for a
// null model or one without a triangle.
bool X_Write(const QVL::MODEL3* m, std::vector<uint8_t>& out);
// Writes the model of `id` (through a temporary file); 1 when written, 0 otherwise.
int32_t X_Export(int32_t id, const char* path);
// Reads the file through D3DX into the model of `id` (the studio only); 1 when read.
int32_t X_Import(int32_t id, const char* path);
