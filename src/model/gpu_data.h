// Per-model render data and the drawable data of each render kind, as the builders make it from a
// model's faces. Everything here is platform-free: the vertex and index arrays are built on the
// processor, and model/win32/gpu_buffers.cpp copies them into Direct3D buffers. The Direct3D
// objects are held as opaque pointers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/image.h"
#include "frame/math3d.h"
#include "model/model3.h"

struct IDirect3DVertexBuffer9;
struct IDirect3DIndexBuffer9;
struct IDirect3DTexture9;
struct IUnknown;

namespace QVL {

// The layout of the buffers of kinds 2, 3, 4 and 9 (position, normal, diffuse, one UV).
struct BUFFER_VERTEX {
    float x, y, z;
    float nx, ny, nz;
    uint32_t diffuse;   // ARGB
    float u, v;
};
static_assert(sizeof(BUFFER_VERTEX) == 36, "the buffers' vertex stride");

// Kind 1 keeps, after each vertex, where it came from, so the skinning finds its position again.
struct KIND1_VERTEX {
    BUFFER_VERTEX v;
    int32_t face;
    uint8_t corner;   // 0, k + 1 or k + 2 of its fan triangle
    uint8_t pad[3];
};
static_assert(sizeof(KIND1_VERTEX) == 44, "the kind 1 draw stride");

// Kind 5: skinned on the graphics processor with two bones, A in byte 0 and B in byte 1.
struct SKIN_VERTEX {
    float x, y, z;
    float weightA;
    uint8_t bones[4];
    uint32_t diffuse;
    float u, v;
};
static_assert(sizeof(SKIN_VERTEX) == 32, "the skinning vertex stride");

// Per bone, written by the motion evaluation.
struct BONE3_POSE {
    MATRIX pose;
    MATRIX rest;
    MATRIX chain;
    QUAT rotation;
};

// One material's buffers. count: vertices for kind 2, indices for kinds 3, 4 and 5.
struct GPU_GROUP {
    IDirect3DVertexBuffer9* vertexBuffer;
    IDirect3DIndexBuffer9* indexBuffer;
    int32_t count;
    int32_t indexBytes;   // 2 or 4: the width of the index buffer's entries
};

struct MODEL3_RENDER {
    uint8_t ready;
    int32_t modelId;
    std::vector<BONE3_POSE> bonePoses;
    std::vector<GPU_GROUP> groups;
    std::vector<IDirect3DTexture9*> textures;   // entry 0 is "no texture"
    std::vector<IMAGE_INFO> textureInfos;    // as the picture loader reported them
    IUnknown* further;                          // released with the set; nothing stores one
};

// A polygon of the de-duplicated kinds: corner count, then up to four vertex indices.
struct GPU_POLYGON {
    uint8_t cornerCount;
    int32_t corners[4];
};
static_assert(sizeof(GPU_POLYGON) == 20, "polygon record");

struct GPU_KIND1_GROUP {
    std::vector<KIND1_VERTEX> vertices;   // 3 per fan triangle
    int32_t count;
};
struct GPU_KIND1 {
    GPU_KIND1_GROUP groups[kModel3Groups];
};

struct GPU_KIND3_GROUP {
    std::vector<XYZ> positions;
    std::vector<XYZ> normals;
    std::vector<RGBA> colors;       // 0..255 after the tint
    std::vector<UV2> uvs;
    std::vector<WEIGHT3> weights;   // copies of the bindings of the source positions
    int32_t vertexCount;
    std::vector<GPU_POLYGON> polygons;
    int32_t polygonCount;
    int32_t triangleCount;
    std::vector<XYZ> deformed;      // written by the skinning
};
struct GPU_KIND3 {
    GPU_KIND3_GROUP groups[kModel3Groups];
};

struct GPU_KIND9_GROUP {
    std::vector<GPU_POLYGON> polygons;
    int32_t polygonCount;
    std::vector<BUFFER_VERTEX> vertices;
    int32_t vertexCapacity;
    std::vector<uint32_t> indices;   // 3 per fan triangle
    int32_t indexCount;
};
struct GPU_KIND9 {
    GPU_KIND9_GROUP groups[kModel3Groups];
    int32_t vertexCounter;   // vertices of the material built last
};

struct GPU_DISPLACEMENT {
    MODEL3* copy;   // subdivided, welded and displaced; not in the model table
};

// The per-model tables of the renderer, indexed by model ID; null where a model has no such data.
constexpr int kGpuTableSize = 257;
struct GPU_TABLES {
    GPU_KIND3* kind3[kGpuTableSize];
    GPU_DISPLACEMENT* displacement[kGpuTableSize];
    GPU_KIND1* kind1[kGpuTableSize];
    GPU_KIND9* kind9[kGpuTableSize];
};

} // namespace QVL

// Render data by model ID, beside the model table (defined in shell/statics.cpp).
extern std::vector<QVL::MODEL3_RENDER*> g_Model3RenderTable;
extern QVL::GPU_TABLES g_GpuTables;

// ---- render data (platform-free part; releasing the Direct3D objects is gpu_buffers.cpp's) ----

// The render data of a model ID, or null.
QVL::MODEL3_RENDER* Gpu_GetModelRes(int32_t id);
// The render data of a model ID, made when the slot has none yet; null for a negative ID.
QVL::MODEL3_RENDER* Gpu_EnsureModelRes(int32_t id);
QVL::MODEL3_RENDER* Gpu_InitModelRes(QVL::MODEL3_RENDER* r, int32_t id);
// Forgets every Direct3D object without releasing it; ready 0.
void Gpu_ClearModelRes(QVL::MODEL3_RENDER* r);
// Sizes the vectors to the model of the stored ID (256/128 entries in the studio); ready 1.
void Gpu_ResizeModelRes(QVL::MODEL3_RENDER* r);
void Gpu_ResizeBonePoses(QVL::MODEL3_RENDER* r, int32_t count);
// Frees the four per-model table records of an ID (their memory only: they hold no Direct3D object).
void Gpu_FreeKind1(int32_t id);
void Gpu_FreeKind3(int32_t id);
void Gpu_FreeDisplacement(int32_t id);
void Gpu_FreeKind9(int32_t id);

// ---- builders' data ----

// The colour of a corner as four floats 0..255: the corner's colour (vertex-colour mode 1) or the
// material's, times the tint / 255.
QVL::RGBA Gpu_CornerColor(const QVL::MODEL3* m, const QVL::GROUP3& g, int32_t colorIndex);
// A << 24 | R << 16 | G << 8 | B, each truncated toward zero, keeping its low 8 bits. Values
// outside the range of an int (and NaN) count as 0 rather than being undefined.
uint32_t Gpu_PackColor(const QVL::RGBA& c);
// A float truncated toward zero into an int; 0 for NaN and for values outside the int range.
int32_t Gpu_Truncate(float f);

// The faces of each material, in face order (faces outside the groups are in no list).
void Gpu_FacesByGroup(const QVL::MODEL3* m, std::vector<std::vector<int32_t>>& out);

// Kind 2: 3 vertices per fan triangle of the material's faces.
void Gpu_FanVertices(const QVL::MODEL3* m, const std::vector<int32_t>& faces, const QVL::GROUP3& g,
                     std::vector<QVL::BUFFER_VERTEX>& out);
QVL::GPU_KIND1* Gpu_MakeKind1(const QVL::MODEL3* m);
QVL::GPU_KIND3* Gpu_MakeKind3(const QVL::MODEL3* m);
QVL::GPU_KIND9* Gpu_MakeKind9(const QVL::MODEL3* m);
// The buffer vertices of one kind 3 material (colours packed from its floats).
void Gpu_Kind3Vertices(const QVL::GPU_KIND3_GROUP& g, std::vector<QVL::BUFFER_VERTEX>& out);
// 3 indices per fan triangle of every polygon, in order.
void Gpu_PolygonIndices(const std::vector<QVL::GPU_POLYGON>& polygons, int32_t count, std::vector<uint32_t>& out);
// Kinds 4 and 5 from a material's export arrays (colours without the tint).
void Gpu_ExportVertices(const QVL::GROUP3& g, std::vector<QVL::BUFFER_VERTEX>& out);
void Gpu_ExportSkinVertices(const QVL::GROUP3& g, std::vector<QVL::SKIN_VERTEX>& out);
// The position indices of corners 0, 1, 2 of every export triangle. An index outside the export
// vertices becomes 0: a buffer draw must never address past its vertices.
void Gpu_ExportIndices(const QVL::GROUP3& g, std::vector<uint32_t>& out);

// Index width: 2 bytes while every index fits in 16 bits, else 4.
int Gpu_IndexBytes(const std::vector<uint32_t>& indices);
// Writes the indices at that width (2 or 4 bytes each).
void Gpu_WriteIndices(const std::vector<uint32_t>& indices, int bytes, void* out);

// Displacement: the subdivided and welded copy of a model (a new record, not in the table).
QVL::MODEL3* Gpu_MakeDisplacementCopy(const QVL::MODEL3* m);
// Moves each position of the copy, the first time a corner names it, along its face's normal by
// the low byte of the texel under the corner's wrapped UV times height * 0.0005. The texel is
// looked up at u * entryWidth, v * entryHeight and kept inside the texW x texH level.
void Gpu_DisplaceCopy(QVL::MODEL3* copy, const uint8_t* texels, int32_t pitch, int32_t texW, int32_t texH,
                      int32_t entryWidth, int32_t entryHeight, float height);

// The scene's destruction: frees every render record and table record. The Direct3D objects are
// not released: the device is gone by then.
void Gpu_FreeRenderTable();
