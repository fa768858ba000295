// LightWave objects of the LWOB kind (an IFF form): points, polygons and one colour per surface.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "convert/import_model.h"

IMPORT_RESULT Lwo_Read(const uint8_t* data, size_t size, IMPORT_MODEL& im);
// Reads the file into the model of `id`; 1 when read, 0 (with a message, model untouched) otherwise.
int32_t Lwo_Import(int32_t id, const char* path);

// The model as an LWOB file: positions x 0.1, faces, one surface per distinct face colour. False
// for a null model or one whose positions do not fit 16-bit point numbers.
bool Lwo_Write(const QVL::MODEL3* m, std::vector<uint8_t>& out);
// Writes the model of `id` (through a temporary file); 1 when written, 0 otherwise.
int32_t Lwo_Export(int32_t id, const char* path);
