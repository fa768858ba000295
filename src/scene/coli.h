// The collision set: an area with a floor, box and circle walls standing on the ground, a 3D model
// whose faces act as floors and walls, up to ten display models; and its QVC file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/record_io.h"

namespace QVL {

constexpr int32_t kColiWalls = 100;        // boxes, and circles
constexpr int32_t kColiSlots = 10;         // display models; slot 0 is the background
constexpr int32_t kColiObjects = 256;      // entries of the last-face table, one per object ID
constexpr int32_t kColiVersion = 2002010;
constexpr int32_t kColiOldVersion = 2002000;

struct COLI_BOX {
    int32_t used;
    float x, y, z;
    float angle;   // degrees about the vertical axis
    float size;    // half the side
};

struct COLI_CIRCLE {
    int32_t used;
    float x, y, z;
    float size;    // radius
};

struct COLI {
    int32_t version;
    float area[6];                        // x min, floor y, z min, x max, y max, z max
    COLI_BOX boxes[kColiWalls];
    int32_t boxCount;
    COLI_CIRCLE circles[kColiWalls];
    int32_t circleCount;
    char modelFile[256];                  // the collision model's QVP ("" none)
    int32_t slotFlags[kColiSlots];
    char slotFiles[kColiSlots][256];
    int32_t active;                       // 1 while resolution runs
    char fileName[256];
    int32_t reserved1;
    int32_t backgroundModelId;            // -1 none
    int32_t reserved2;
    int32_t modelId;                      // the collision model, -1 none
    int32_t backgroundObjectId;
    float wallHeight;                     // top of the walls the editor draws
    int32_t lastFace[kColiObjects];       // per object ID; -1 none
};

extern const RECORD_FORMAT kColiFormat;

} // namespace QVL

// Null until the collision editor or a file command needs it.
extern QVL::COLI* g_Coli;

// The defaults of a new record.
void Coli_Defaults(QVL::COLI& c);
// Replaces the record with a new one holding the defaults.
void Coli_Reset();
// The record, made with the defaults when there is none yet.
QVL::COLI* Coli_Get();
void Coli_Free();

// The file's bytes (version 2002010 layout; the version field is written as the record holds it).
void Coli_Write(const QVL::COLI& c, std::vector<uint8_t>& out);
// The two layouts, from their bytes into a record that holds the defaults. Counts past 100 walls
// or 10 slots, strings of 256 bytes or more, and bytes short of the layout are refused as damaged.
QVL::RECORD_STATUS Coli_Read2002000(const uint8_t* data, size_t size, QVL::COLI& c);
QVL::RECORD_STATUS Coli_Read2002010(const uint8_t* data, size_t size, QVL::COLI& c);
// Header and the reader of its version; versions between the two have no known layout and are
// refused.
QVL::RECORD_STATUS Coli_Parse(const uint8_t* data, size_t size, QVL::COLI& c);

// Writes through a temporary file; false when it cannot be written.
bool Coli_Save(const char* path);
// A refused file gets its message and leaves the open record untouched. A loaded one replaces it,
// takes the path as its file name, loads its collision and background models and becomes active.
bool Coli_Load(const char* path);
