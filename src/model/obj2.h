// The 2D object (QVA): a cut-out figure of textured parts in a parent hierarchy, animated by per-part
// key frames. Records live in g_Obj2Table (the ID is the index), each paired with a render record of
// the same index in g_Obj2RenderTable that holds its matrices, textures and last drawn quads.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "frame/image.h"
#include "frame/math3d.h"
#include "frame/record_io.h"

namespace QVL {

constexpr int32_t kObj2Version = 2004050;
constexpr int32_t kObj2MaxImages = 32;
constexpr int32_t kObj2MaxParts = 32;
constexpr int32_t kObj2KeyedParts = 8;      // parts 0..7 have key lists
constexpr int32_t kObj2MaxMotions = 100;    // key lists per part

struct OBJ2_KEY {
    int32_t frame;
    int32_t shown;
    float x, y, rotation, scaleX, scaleY;
    int32_t image;
    int32_t r, g, b, a;
};

struct OBJ2_KEY_LIST {
    std::vector<OBJ2_KEY> keys;
};

struct OBJ2_PART {
    int32_t shown;
    float x, y, rotation, scaleX, scaleY;
    int32_t image;
    int32_t r, g, b, a;
    std::vector<OBJ2_KEY_LIST> keyLists;   // one per motion for parts 0..7, empty for the others
    int32_t keyIndex;
    float fraction;
    int32_t expanded, listed;
};

struct OBJ2_MOTION {
    char name[256];
    int32_t length;
    uint8_t loop;
    int16_t next;
};

struct OBJ2_NAME {
    char text[256];
};

struct OBJ2 {
    int32_t version;
    char folder[256];
    char file[256];
    char path[512];
    int32_t imageCount;
    char imageNames[kObj2MaxImages][256];
    // Pivots, the part count and the part arrays follow each other as in the file's pivot blocks,
    // which run on past their own array (see the QVA writer).
    int32_t pivotX[kObj2MaxImages];
    int32_t pivotY[kObj2MaxImages];
    int32_t partCount;
    int32_t parents[kObj2MaxParts + 1];
    int32_t firstChild[kObj2MaxParts + 1];
    int32_t nextSibling[kObj2MaxParts + 1];
    int32_t reserved[kObj2MaxParts + 1];
    char partNames[kObj2MaxParts][256];
    OBJ2_PART parts[kObj2MaxParts];
    std::vector<OBJ2_MOTION> motions;
    int32_t soundCount;
    std::vector<OBJ2_NAME> soundNames;
    int32_t id;
    uint8_t active;
    uint8_t visible;
    int32_t frame;
    int32_t motion;
    float x, y;
    float fraction;             // the animation clock's part of a frame
};

struct OBJ2_IMAGE {
    char file[256];
    int32_t width, height;
};

struct OBJ2_RENDER {
    uint8_t flag;
    uint8_t renderFlag;         // set by Obj2_SetRenderFlag
    MATRIX world[kObj2MaxParts];
    MATRIX local[kObj2MaxParts];
    int32_t corners[kObj2MaxParts][8];   // last drawn quad, screen x, y per corner
    int32_t origin[kObj2MaxParts][2];    // part origin on the screen, without the object position
    std::unique_ptr<OBJ2_IMAGE> images[kObj2MaxImages];
    int32_t textures[kObj2MaxImages];    // texture handles, -1 none
};

// One quad of a drawn part: what Obj2_Draw hands to the 2D quad drawing.
struct OBJ2_QUAD {
    int32_t part;
    int32_t texture;
    int32_t corners[8];
    int32_t r, g, b, a;
};

} // namespace QVL

// Scene tables (defined with the scene in shell/statics.cpp).
extern std::vector<std::unique_ptr<QVL::OBJ2>> g_Obj2Table;
extern std::vector<std::unique_ptr<QVL::OBJ2_RENDER>> g_Obj2RenderTable;

void Obj2_InitRecord(QVL::OBJ2* rec);
std::unique_ptr<QVL::OBJ2> Obj2_NewRecord();
void Obj2_RenderInit(QVL::OBJ2_RENDER* r);
void Obj2_RenderReset(QVL::OBJ2_RENDER* r);
int32_t Obj2_Create();
int32_t Obj2_Count();
QVL::OBJ2* Obj2_GetById(int32_t id);
QVL::OBJ2_RENDER* Obj2_GetRender(int32_t id);
// Frees every object and render record (the scene's destructor).
void Obj2_ReleaseAll();
bool Obj2_SetPosition(QVL::OBJ2* rec, float x, float y);
bool Obj2_SetPositionInt(QVL::OBJ2* rec, int32_t x, int32_t y);
void Obj2_SetRenderFlag(int32_t id);
void Obj2_SetRenderFlagFirst8();
void Obj2_LoadImage(int32_t id, int32_t image, const char* path);
int32_t Obj2_GetImageWidth(int32_t id, int32_t image);
int32_t Obj2_GetImageHeight(int32_t id, int32_t image);
void Obj2_CenterImagePivot(int32_t id, int32_t image);
// The pixel copy of one image that the 2D object key panel reads: the image's own size, each pixel
// 0xAABBGGRR. Obj2_CopyImagePixels rebuilds it from image 0..31 of the object (an index above 31
// does nothing; an image without a texture leaves no copy).
extern QVL::PIXEL_COPY g_Obj2Pixels;
void Obj2_CopyImagePixels(int32_t id, int32_t image);
// Pixel `index` of the copy, 0 when there is no copy or the index lies outside it.
uint32_t Obj2_GetLockedPixel(int32_t index);

// The QVA file. Obj2_Load reports its own errors and returns -1 (the object made for the attempt
// keeps its defaults); Obj2_Save says so when the file cannot be written.
int32_t Obj2_Load(const char* folder, const char* file);
bool Obj2_Save(QVL::OBJ2* rec, const char* path);
// The file's bytes, and the parser behind Obj2_Load (no messages, no pictures): on RECORD_OK the record
// holds what the file gives over the defaults it had.
void Qva_Write(const QVL::OBJ2& rec, std::vector<uint8_t>& out);
QVL::RECORD_STATUS Qva_Parse(const uint8_t* data, size_t size, QVL::OBJ2& rec);

// Animation and the platform-free half of drawing.
void Obj2_UpdateKeyIndices(int32_t id);
void Obj2_InterpPartKey(int32_t id, int32_t part, int32_t key, float t);
void Obj2_Animate(QVL::OBJ2* rec);
void Obj2_AnimateAll();
void Obj2_BuildPartMatrices(int32_t id);
void Obj2_MulParentMatrices(int32_t id, int32_t part, QVL::MATRIX* work);
// Builds the matrices and the quads of every shown part with a texture, keeping corners and origin
// points in the render record; nothing for a null or invisible record.
void Obj2_BuildQuads(QVL::OBJ2* rec, std::vector<QVL::OBJ2_QUAD>& out);
