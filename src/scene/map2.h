// The MAP2 tile map: one record of up to 64 x 64 cells, each naming one of up to 16 chips (32 x 32
// pixel pictures with a walkable flag), its sample contents, its drawing and its file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/record_io.h"

namespace QVL {

constexpr int32_t kMap2Chips = 16;
constexpr int32_t kMap2Side = 64;       // cells per row and per column of the grid
constexpr int32_t kMap2CellPixels = 32;
constexpr int32_t kMap2Version = 2008000;
constexpr int32_t kMap2OldVersion = 2005000;

struct MAP2 {
    int32_t version;
    char reserved[256];
    uint8_t attributes[kMap2Chips];       // 1 walkable, 0 not
    char chipNames[kMap2Chips][256];
    int32_t chipCount;                    // 0..16
    int32_t cells[kMap2Side][kMap2Side];  // [row][column], 64 columns per row whatever the width
    int32_t width, height;                // 1..64
};

// A chip's picture: a texture slot handle (-1 none) and its size in pixels.
struct MAP2_CHIP_TEXTURE {
    int32_t texture;
    int32_t width, height;
};

extern const RECORD_FORMAT kMap2Format;

} // namespace QVL

// Null until a map editor or a file command needs it.
extern QVL::MAP2* g_Map2;
extern QVL::MAP2_CHIP_TEXTURE g_Map2ChipTextures[QVL::kMap2Chips];

// Frees the record and allocates a zero-filled one.
void Map2_New();
void Map2_Free();
// The record, made (zero-filled) when there is none yet: the file commands run in every mode.
QVL::MAP2* Map2_Get();
// The sample map: chips "草.psd" (walkable) and "川.psd", row 0 and column 0 of chip 1, 64 x 64.
void Map2_SetDefaults();
// The chip's picture from the current directory; false (size 32 x 32) when no texture results.
bool Map2_LoadChip(int32_t chip, const char* file);
void Map2_Draw(int x0, int y0);

// The file's bytes of a map (the version is not touched here).
void Map2_Write(const QVL::MAP2& map, std::vector<uint8_t>& out);
// Reads the body of a file of a readable version into `map`, which keeps whatever the file does not
// hold (the cells outside its width x height). Refused as damaged: more than 16 chips, a name of
// 256 bytes or more, a width or height outside 1..64, a cell outside 0..15, bytes short of or
// beyond the W x H cells. `map` may be partly written on a refusal: parse into a copy.
QVL::RECORD_STATUS Map2_ReadBody(const uint8_t* data, size_t size, QVL::MAP2& map);
// Header and body; versions between 2005000 and 2008000 have no known layout and are refused.
QVL::RECORD_STATUS Map2_Parse(const uint8_t* data, size_t size, QVL::MAP2& map);

// Writes through a temporary file; false when it cannot be written.
bool Map2_Save(const char* path);
// Reads into the record (made when there is none); a refused file gets its message and leaves the
// record as it was. Then every chip picture is loaded again.
bool Map2_Load(const char* path);
