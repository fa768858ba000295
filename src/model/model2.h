// The 2D one-skin model (QVB): a flat textured mesh deformed by up to 128 bones keyed per motion.
// Records live in g_Model2Table (model IDs 0..31). Arrays are sized by what they hold; every reader
// and writer keeps each array at least as long as its count, and readers refuse a file whose counts
// pass the limits below, so code indexing the arrays may rely on them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/math3d.h"

namespace QVL {

constexpr int32_t kModel2Slots = 32;
constexpr int32_t kModel2Bones = 128;
constexpr int32_t kModel2Groups = 256;
constexpr int32_t kModel2Textures = 256;
constexpr int32_t kModel2Motions = 100;
constexpr int32_t kModel2Sounds = 100;
constexpr int32_t kModel2KeySounds = 16;
constexpr int32_t kModel2KeysPerList = 16;   // capacity of a key list made with the arrays
constexpr int32_t kModel2Version = 2009000;
constexpr int32_t kModel2FileVersion = 2004000;
constexpr int32_t kModel2FileVersion2 = 2004020;

struct XY2 { float x, y; };
struct RGBA2 { float r, g, b, a; };
struct UV2D { float u, v; };

struct WEIGHT2 {
    uint16_t boneA, boneB;
    float weightA;       // 0 < w < 1 blends the two bones; any other value uses bone A alone
    int32_t flag;
};

struct FACE2 {
    int32_t used;
    uint8_t cornerCount;          // 3 or 4
    uint16_t corners[4][3];       // vertex, colour, UV
    int32_t group;
};

struct TEXTURE2 {
    int32_t used;
    char file[256];
    int32_t width, height;
};

struct GROUP2 {
    char name[256];
    int32_t texture;
    float r, g, b, a;
    int32_t shading;              // 0 hidden
    uint8_t uvMapping;
    float uvOffset[2];
    float uvScale[2];
    int32_t reserved;
};

struct MOTION2 {
    int32_t used;
    int32_t spare;
    char name[256];
    int32_t length;               // frames
};

struct KEY2 {
    int32_t frame;
    float x, y, rotation, scaleX, scaleY;
};

struct KEY2_LIST {
    std::vector<KEY2> keys;
};

struct BONE2 {
    char name[256];
    int32_t editorState;
    float restX, restY, restRotation, restScaleX, restScaleY;
    int32_t parent;               // smaller than the bone's own number
    int32_t firstChild, nextSibling;
    int32_t editorBits;
    std::vector<KEY2_LIST> keyLists;   // one per motion; empty when the record has no arrays
    float x, y, rotation, scaleX, scaleY;   // the interpolated pose
    int32_t keyIndex;
    float fraction;
    int32_t expanded, listed;
};

struct MODEL2 {
    int32_t version;
    char path[256];
    uint16_t vertexCount, colorCount, uvCount;
    std::vector<XY2> vertices;
    std::vector<RGBA2> colors;
    std::vector<UV2D> uvs;
    std::vector<WEIGHT2> bindings;       // one per vertex
    int32_t polygonCount;
    std::vector<FACE2> polygons;
    int32_t textureCount;
    TEXTURE2 textures[kModel2Textures];
    int32_t groupCount;
    GROUP2 groups[kModel2Groups];
    float tint[4];
    int32_t motionCount;
    MOTION2 motions[kModel2Motions];
    int32_t keyListsPerBone;
    int32_t soundCount;
    char soundNames[kModel2Sounds][256];
    int32_t keySounds[kModel2KeySounds];
    int32_t light;
    int32_t vertexColorFlag;
    int32_t reserved;
    float reservedF;
    int32_t boneCount;
    BONE2 bones[kModel2Bones];
    int32_t id;
    int32_t loaded;
    int32_t editorState[4];
    std::vector<XY2> deformed;           // one per vertex, written by the skinning
    int32_t displayState;
    int32_t currentFrame;
    float frameFraction;
    int32_t currentMotion;
    float x, y;
    float rotation;
    float scaleX, scaleY;
    bool hasArrays;                      // made with the allocate-arrays flag
};

} // namespace QVL

extern QVL::MODEL2* g_Model2Table[QVL::kModel2Slots];
extern int32_t g_Model2InUse[QVL::kModel2Slots];
extern int32_t g_LastModel2Id;
// Texture handles of each slot's pictures (-1 none), set by Model2_Load.
extern int32_t g_Model2TexHandles[QVL::kModel2Slots][QVL::kModel2Textures];

// A new record with the defaults; its arrays, key lists, texture and group entries only when the
// library's allocate-arrays flag is set (which it consumes).
QVL::MODEL2* Model2_NewRecord();
QVL::MODEL2* Model2_Free(QVL::MODEL2* m);
QVL::MODEL2* Model2_Create(int32_t id);
void Model2_FreeSlot(int32_t id);
// The record of a slot, or null for an ID outside 0..31 or an empty slot.
QVL::MODEL2* Model2_Get(int32_t id);
bool Model2_SetPosition(QVL::MODEL2* m, float x, float y);
bool Model2_SetRotation(QVL::MODEL2* m, float degrees);
bool Model2_SetScale(QVL::MODEL2* m, float sx, float sy);
void Group2_Reset(QVL::GROUP2* g, int index);

// The QVB file. Model2_Load reports every failure and leaves the slot's record untouched on one.
bool Model2_Load(int32_t id, const char* path);
bool Model2_Save(int32_t id, const char* path);
QVL::MODEL2* Model2_ReadV2004000(const char* path);
QVL::MODEL2* Model2_ReadV2004020(const char* path);
// The parser behind the readers: a new record from the bytes, or null when they do not hold
// together (a count or name past its limit, a short file). No messages.
QVL::MODEL2* Model2_Parse(const uint8_t* data, size_t size, int32_t version);
// The record in the QVB layout (the version field is set to 2004000).
std::vector<uint8_t> Model2_Write(QVL::MODEL2* m);

// Animation and skinning.
extern QVL::MATRIX g_Model2PoseMatrices[QVL::kModel2Slots * QVL::kModel2Bones];
extern QVL::MATRIX g_Model2RestMatrices[QVL::kModel2Slots * QVL::kModel2Bones];
extern QVL::MATRIX g_Model2WorldMatrices[QVL::kModel2Slots];
void Model2_UpdateKeyIndices(int32_t id);
void Model2_InterpBoneKey(int32_t id, int32_t bone, int32_t key, float fraction);
void Model2_InterpBoneKeyAt(int32_t id, int32_t bone, int32_t key, float fraction);
void Model2_BuildPoseMatrices();
void Model2_BuildRestMatrices();
void Model2_BuildWorldMatrix(int32_t id);
void Model2_SkinAll();
// The skinning pass without the draw-allowed check (the studio's Model2_SkinAll runs it).
void Model2_SkinModels();
void Model2_PoseTransform(QVL::VEC3* out, int32_t id, int32_t bone, float x, float y, float z);
void Model2_RestTransform(QVL::VEC3* out, int32_t id, int32_t bone, float x, float y, float z);
// One step of the animation clock: the fraction grows by step and whole frames advance, looping.
void Model2_AdvanceFrame(QVL::MODEL2* m, float step);
