// DXF drawings: the 3DFACE entities become four-corner faces; everything else is ignored.
#pragma once
#include <cstddef>
#include <cstdint>

#include "convert/import_model.h"

IMPORT_RESULT Dxf_Read(const uint8_t* data, size_t size, IMPORT_MODEL& im);
// Reads the file into the model of `id`; 1 when read, 0 (with a message, model untouched) otherwise.
int32_t Dxf_Import(int32_t id, const char* path);
