// The 3D object: up to 32 QVP models as rigid parts in a hierarchy, animated by the object's own
// motions (key frames shared by all parts, keys per part), and its QVO file. Sixteen object rows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/math3d.h"
#include "frame/record_io.h"
#include "model/model3.h"

struct IDirect3DTexture9;

namespace QVL {

constexpr int kObj3Rows = 16;
constexpr int kObj3Parts = 32;
constexpr int kObj3Motions = 100;
constexpr int kObj3Keys = 16;
constexpr int kObj3Sounds = 100;
constexpr int32_t kObj3Version = 2005000;

struct OBJ3_KEY {
    float position[3];
    float rotation[4];   // quaternion x, y, z, w
    float scale[3];
};
static_assert(sizeof(OBJ3_KEY) == 40, "a key as the file holds it");

struct OBJ3_MOTION {
    int32_t used;
    int32_t reserved;
    char name[256];
    int32_t length;                 // frames
    int32_t keyCount;               // 0..16
    int32_t keyFrames[kObj3Keys];   // shared by every part
};

struct OBJ3_PART {
    std::vector<OBJ3_KEY> keys;     // kObj3Motions x kObj3Keys, motion by motion
    char file[256];                 // the part's QVP; part 0 holds the object's own path
    int32_t reserved;
    int32_t parent;
    int32_t firstChild, nextSibling;
    // Pose state written by Obj3_InterpolatePart.
    float position[3];
    float joint[3];
    float rotation[4];
    float scale[3];
    int32_t reserved2;
    int32_t expanded, listed;
};

struct OBJ3 {
    int32_t version;
    int32_t partCount;
    float pivots[kObj3Parts][3];
    OBJ3_PART parts[kObj3Parts];
    OBJ3_MOTION motions[kObj3Motions];
    int32_t motionCount;
    int32_t motionCapacity;
    char soundNames[kObj3Sounds][32];
    int32_t soundCount;
    int32_t frame;
    float fraction;
    int32_t motion;
    int32_t keyIndex;
    float keyFraction;
    float position[3], rotation[3];
    float scale[3];
};

struct OBJ3_POSE {
    uint8_t flag;
    MATRIX pose[kObj3Parts];
    MATRIX rest[kObj3Parts];
    MATRIX rotation[kObj3Parts];
    IDirect3DTexture9* textures[kObj3Parts * 256];   // part a's texture t at a * 256 + t
};

} // namespace QVL

// The object rows (statics of model/obj3.cpp); entries are null until first used.
extern QVL::OBJ3* g_Obj3Table[QVL::kObj3Rows];
extern int32_t g_Obj3Flags[QVL::kObj3Rows][QVL::kObj3Parts];   // [row][0] loaded, [row][p] part p loaded
extern QVL::MODEL3* g_Obj3PartModels[QVL::kObj3Rows][QVL::kObj3Parts];
extern QVL::OBJ3_POSE* g_Obj3Poses[QVL::kObj3Rows];

// The key of part p, motion mo, key k; null outside the tables.
QVL::OBJ3_KEY* Obj3_Key(QVL::OBJ3* o, int32_t part, int32_t motion, int32_t key);

// Sets part p of the row to its defaults (p = 0: the whole object), releasing what it replaces.
void Obj3_InitPart(int32_t row, int32_t p);
// Every row's records freed (the scene's end).
void Obj3_ReleaseAll();

// QVO. Loading reads the whole file and its part models aside and replaces the row only when all of
// it fitted; otherwise a message and false, the row as it was.
bool Obj3_Load(int32_t row, const char* path);
// False (with a message) when there is no object in the row or the file cannot be written; the
// file is written beside its place and then renamed over it.
bool Obj3_Save(int32_t row, const char* path);
bool Obj3_LoadPartModel(int32_t row, int32_t p, const char* path);
bool Obj3_CopyPart(QVL::OBJ3* o, int32_t src, int32_t dst);
bool Obj3_DeletePart(QVL::OBJ3* o, int32_t p);

// The file's bytes from a record and its part flags, and the reader behind Obj3_Load: fills `o` and
// `flags` (o must hold the defaults of Obj3_InitPart) and answers whether everything fitted.
void Qvo_Write(QVL::OBJ3& o, const int32_t flags[QVL::kObj3Parts], std::vector<uint8_t>& out);
QVL::RECORD_STATUS Qvo_Parse(const uint8_t* data, size_t size, QVL::OBJ3& o, int32_t flags[QVL::kObj3Parts]);
// A record with the defaults of a fresh object (all 32 parts initialised), not in a row.
QVL::OBJ3* Obj3_NewRecord();
void Obj3_FreeRecord(QVL::OBJ3* o);

// Animation.
void Obj3_UpdateKeyIndex(int32_t row);
void Obj3_InterpolatePart(int32_t row, int32_t part, int32_t key, float t);
void Obj3_UpdatePoses();
void Obj3_GetPartPosition(QVL::VEC3* out, int32_t row, int32_t part);
void Obj3_GetPartRestPosition(QVL::VEC3* out, int32_t row, int32_t part);
