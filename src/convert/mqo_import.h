// Metasequoia text documents: materials become groups with colours and textures, the objects'
// vertices and faces become positions and faces, and textured faces keep their UVs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/import_model.h"

// The next token of a line from `pos` into `token`: a quoted text without its quotes, or characters
// up to a blank, with everything from a '(' to its ')' kept in one token. False when none is left.
bool Mqo_NextToken(const std::string& line, size_t& pos, std::string& token);

IMPORT_RESULT Mqo_Read(const uint8_t* data, size_t size, IMPORT_MODEL& im);
// Reads the file into the model of `id`; 1 when read, 0 (with a message, model untouched) otherwise.
int32_t Mqo_Import(int32_t id, const char* path);
