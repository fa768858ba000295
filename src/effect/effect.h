// Effects: parts (images, particle emitters, 2D objects) animated by key frames on one timeline, the
// pictures they draw with, and the playing instances of effects. Platform-free; drawing is done by the
// renderer's 2D layer from these records.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/record_io.h"

namespace QVL {

constexpr int32_t kEffectVersion = 2009000;
constexpr int32_t kEffectMaxKeys = 16;
// Longest timeline an effect may have (10 minutes): every part keeps one int32 per frame.
constexpr int32_t kEffectMaxFrames = 36000;
// Most parts and pictures a file may give an effect.
constexpr int32_t kEffectMaxParts = 256;
constexpr int32_t kEffectMaxTextures = 1024;

enum EFFECT_PART_KIND : int32_t { EFFECT_PART_IMAGE = 0, EFFECT_PART_EMITTER = 1, EFFECT_PART_OBJ2 = 2 };

struct EFFECT_TEX {
    char folder[256];      // relative to the data folder
    char file[256];
    char path[512];        // never filled
    int32_t texture;       // Tex_Load handle, -1 when not loaded
};

struct EFFECT_KEY {
    int32_t frame;
    int32_t reserved;
    uint8_t shown;
    int32_t blend;              // QVL::BLEND
    float position[3];          // pixels from the instance position, y downwards
    float rotation[3];          // degrees; z turns the picture
    float scale[3];
    float color[4];             // 0..255
    int32_t texture;            // index into the effect's texture table
    float reservedVec[3];
    // Emitter parameters (kind 1 only).
    int32_t emitInterval;
    float speed[3];
    float speedRange[3];
    float rotSpeed[3];
    float rotSpeedRange[3];
    float scaleSpeed[3];
    float scaleSpeedRange[3];
    float colorSpeed[4];
    float colorSpeedRange[4];
};

struct EFFECT_PART {
    char name[256];
    int32_t kind;               // EFFECT_PART_KIND
    char folder[256];           // 2D-object parts: folder of the QVA, relative to the effect file's
    char file[256];
    int32_t keyCount;           // 1..16
    EFFECT_KEY keys[kEffectMaxKeys];
    std::vector<int32_t> timeTable;   // local time per effect frame, -1 before the first key
    // Values of the last interpolation.
    float curPosition[3];
    float curReserved[3];       // nothing computes it
    float curRotation[3];
    float curScale[3];
    float curColor[4];
    float origin[3];            // added to every interpolated position
    int32_t object;             // 2D-object ID, -1 none
};

struct EFFECT {
    std::vector<EFFECT_TEX> textures;
    std::vector<EFFECT_PART> parts;
    int32_t version;
    char folder[256];
    char file[256];
    char path[512];
    int32_t frameCount;
};

struct EFFECT_INST_PART {
    int32_t key;
    int32_t next;
    float t;
    int32_t emitCounter;
};

struct EFFECT_INST {
    int32_t effect;
    int32_t frame;
    float fraction;
    int32_t projected;
    float position[3];
    float rotation[3];
    std::vector<EFFECT_INST_PART> parts;   // one per part of the effect
};

} // namespace QVL

// Scene tables (defined with the scene in shell/statics.cpp).
extern std::vector<QVL::EFFECT> g_EffectData;
extern std::vector<QVL::EFFECT_INST> g_EffectInstances;

// Effect records: IDs are positions in g_EffectData, valid until Effect_EraseAllData.
int32_t Effect_DataCreate();
QVL::EFFECT* Effect_GetData(int32_t id);
void Effect_EraseAllData();
void Effect_InitData(QVL::EFFECT& e);
void Effect_InitPart(QVL::EFFECT_PART& part);
// Appends a default part and returns its index; -1 with a message when the effect already holds
// kEffectMaxParts parts.
int32_t Effect_PartCreate(QVL::EFFECT* e);
// Appends a picture entry (texture -1, not loaded) and returns its index; -1 with a message when the
// effect already holds kEffectMaxTextures entries, -1 when a name does not fit its field.
int32_t Effect_AddTexture(QVL::EFFECT* e, const char* folder, const char* file);
int32_t Effect_GetPartCount(const QVL::EFFECT* e);
int32_t Effect_GetTextureCount(const QVL::EFFECT* e);

// The QVE file. Effect_Save says so when the file cannot be written; QVE_Load reports its own
// errors and leaves the record as it was (apart from folder, file and path) when it returns -1.
bool Effect_Save(QVL::EFFECT* e, const char* folder, const char* file);
int32_t QVE_Load(int32_t id, const char* folder, const char* file);
// The file's bytes, and the parser behind QVE_Load (no messages, no loading of pictures or objects):
// parts are appended to the textures and parts the record already holds only on success.
void QVE_Write(const QVL::EFFECT& e, std::vector<uint8_t>& out);
QVL::RECORD_STATUS QVE_Parse(const uint8_t* data, size_t size, QVL::EFFECT& e);

// Instances.
int32_t Effect_CreateInstance(int32_t projected);
QVL::EFFECT_INST* Effect_GetInstance(int32_t index);
void Effect_EraseAllInstances();
void Effect_DeleteInstance(int32_t index);
// Gives the instance exactly one part state per part of its effect (new states zero).
void Effect_SizeInstanceStates(QVL::EFFECT_INST* inst);
// Points an instance at an effect from its first frame: effect, position, frame 0, states sized.
void Effect_InitInstance(QVL::EFFECT_INST* inst, int32_t effect, float x, float y);
void Effect_FindInstanceKeys(QVL::EFFECT_INST* inst);
void Effect_InterpolatePartKey(int32_t effect, int32_t part, int32_t key, float t);
void Effect_BuildPartTimeTables(QVL::EFFECT* e);
void Effect_AdvanceInstances(float step);

// Key operations of the effect editor on one part (frame F = the preview frame). Keys stay sorted by
// frame, one per frame, 1..16 of them.
enum EFFECT_KEY_RESULT { EFFECT_KEY_DONE, EFFECT_KEY_NONE, EFFECT_KEY_FULL, EFFECT_KEY_LAST };
// A new key on F from the part's current values (position without the part's origin).
EFFECT_KEY_RESULT EffectPart_CreateKey(QVL::EFFECT_PART* part, int32_t frame);
// Removes the key on F; the only key of a part is kept.
EFFECT_KEY_RESULT EffectPart_DeleteKey(QVL::EFFECT_PART* part, int32_t frame);
// Creates a key on F and makes it a copy of clip standing on F.
EFFECT_KEY_RESULT EffectPart_PasteKey(QVL::EFFECT_PART* part, int32_t frame, const QVL::EFFECT_KEY& clip);
// Index of the key standing on F, or -1.
int32_t EffectPart_FindKey(const QVL::EFFECT_PART* part, int32_t frame);
int32_t EffectPart_PrevKeyFrame(const QVL::EFFECT_PART* part, int32_t frame);
int32_t EffectPart_NextKeyFrame(const QVL::EFFECT_PART* part, int32_t frame);
// The frame count a typed value gives: at least 1, at most kEffectMaxFrames.
int32_t Effect_ClampFrameCount(int64_t n);
