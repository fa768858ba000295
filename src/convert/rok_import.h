// ROK models: numbered points, edges between them, faces made of edges and a palette of 13 colours.
#pragma once
#include <cstddef>
#include <cstdint>

#include "convert/import_model.h"

// Reads a ROK file's bytes; every face gets four position and four colour slots.
IMPORT_RESULT Rok_Read(const uint8_t* data, size_t size, IMPORT_MODEL& im);
// Reads the file into the model of `id`; 1 when read, 0 (with a message, model untouched) otherwise.
int32_t Rok_Import(int32_t id, const char* path);
