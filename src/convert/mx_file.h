// MX models: a 32-byte header, an object record, 168-byte four-corner face records and 16-byte
// texture names, little-endian. UVs are stored in texels of the ".bmp" picture of each texture.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/import_model.h"

// The pixel size of a BMP file from its header; false when it is not one.
bool Bmp_ReadSize(const char* path, int32_t& width, int32_t& height);

// `folder` is where the pictures of the texture names are looked for ("" the current folder).
IMPORT_RESULT Mx_Read(const uint8_t* data, size_t size, const char* folder, IMPORT_MODEL& im);
// Reads the file into the model of `id`; 1 when read, 0 (with a message, model untouched) otherwise.
int32_t Mx_Import(int32_t id, const char* path);

bool Mx_Write(const QVL::MODEL3* m, std::vector<uint8_t>& out);
// Writes the model of `id` (through a temporary file); 1 when written, 0 otherwise.
int32_t Mx_Export(int32_t id, const char* path);
