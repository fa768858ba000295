// The 3D polygon model record: shared attribute arrays, faces that index them, material groups,
// texture entries, bones with per-motion keys, motions with per-group key tracks, and run-time state.
//
// Arrays are sized by what they hold (the studio is a 32-bit program: arrays sized for the vertex
// limit would make every record and undo copy 20 MB). The invariant every reader, copy and mesh
// operation keeps, and that code indexing the arrays may rely on:
//   - each attribute array holds at least its count entries and every index a face uses;
//   - the weights and the two deformed arrays are as long as the position array;
//   - the face list holds at least the face count entries, each with 0..4 corners;
//   - every bone below the bone count has one key list per motion; the motion list is never empty.
// Model3_FitArrays restores the first three after an edit that appended by index.
// Bone numbers in weights may name bones at or above the bone count (deleted bones): users treat
// such a bone as bone 0.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace QVL {

constexpr int kModel3Bones = 128;
constexpr int kModel3Groups = 256;
constexpr int kModel3Textures = 256;
constexpr int kModel3GroupKeys = 16;
constexpr int kModel3Sounds = 100;
constexpr int kModel3KeySounds = 16;
// The motion list has no limit of its own; the readers stop at this many (each motion carries 256
// group tracks, about 106 KB).
constexpr int kModel3MaxMotions = 256;
constexpr int32_t kModel3Version = 2009000;

struct XYZ { float x, y, z; };
struct RGBA { float r, g, b, a; };
struct UV2 { float u, v; };

// The skinning binding of one position: bone B gets 1 - weightA.
struct WEIGHT3 {
    uint8_t boneA;
    uint8_t boneB;
    float weightA;
    uint8_t automatic;   // 1: the automatic weights may overwrite this binding
};

// The four indices of a face corner.
enum { CORNER_POS = 0, CORNER_NORMAL = 1, CORNER_COLOR = 2, CORNER_UV = 3 };

struct FACE3 {
    uint8_t cornerCount;      // 3 or 4
    int32_t corners[4][4];    // [corner][CORNER_POS..CORNER_UV]
    int32_t group;
    float normal[3];
};

struct TEXTURE3 {
    int32_t used;             // 1 when the entry names a file
    char folder[256];
    char file[256];
    char path[512];           // folder and file joined when loaded
    int32_t width, height;    // of the loaded picture
};

struct GROUP3 {
    char name[256];
    int32_t texture;          // index into the textures; 0 none
    float color[3];           // R, G, B 0..255
    float alpha;              // 0..255; below 255 the group is drawn as transparent
    int32_t shading;          // 0 hidden, 1 points, 2 wireframe, 3 flat, 4 Gouraud, 5 curved surface
    uint8_t uvMapping;
    float uvOffset[2];
    float uvScale[2];
    int32_t doubleSided;
    int32_t reserved0;        // 4
    int32_t mirror;
    int32_t specular;
    int32_t specularColor[3];
    uint8_t textureSwitch;
    uint16_t reserved1;       // 0
    uint8_t reserved2;        // 0
    uint16_t reserved3;       // 1
    uint8_t selfIllumination;
    float reserved4;          // 1.0
    uint8_t reserved5;        // 0
    float reserved6;          // 1.0
    uint8_t normalMap;
    uint16_t normalMapTexture;
    uint8_t reserved7;        // 0
    uint16_t reserved8;       // 0
    float reserved9;          // 1.0
    uint8_t reserved10;       // 0
    uint16_t reserved11;      // 1
    uint8_t reserved12;       // 0
    float reserved13;         // 1.0
    uint8_t alphaTest;
    uint16_t alphaRef;
    // The group's own de-duplicated vertices and triangles, built before every save.
    int32_t exportVertexCount;
    std::vector<XYZ> exportPositions;
    std::vector<XYZ> exportNormals;
    std::vector<RGBA> exportColors;
    std::vector<UV2> exportUVs;
    std::vector<WEIGHT3> exportWeights;
    std::vector<FACE3> exportTriangles;   // corner count 3; only the position index is used
    int32_t exportTriangleCount;
    std::vector<XYZ> exportDeformedPositions;
    std::vector<XYZ> exportDeformedNormals;
    float centre[3];
    float minimum[3], maximum[3];
    uint8_t reserved14;       // 1
};

struct KEY3 {
    int32_t frame;
    float translation[3];
    float rotation[4];        // quaternion x, y, z, w
    float scale[3];
};

struct GROUP_KEY3 {
    int32_t frame;
    uint16_t reserved;
    uint16_t texture;         // below 257
    float reservedF[4];
};

struct GROUP_TRACK3 {
    GROUP_KEY3 keys[kModel3GroupKeys];
    int32_t keyCount;         // 0..16
    int32_t reserved[6];
    int32_t keyIndex;
    float fraction;
    int32_t reserved2;
};

struct MOTION3 {
    char name[256];
    int32_t length;           // frames
    uint8_t loop;
    int16_t next;             // -1 none
    GROUP_TRACK3 tracks[kModel3Groups];
};

struct BONE3 {
    char name[256];
    KEY3 rest;
    int32_t parent;           // smaller than the bone's own index; bone 0 is its own parent
    int32_t firstChild;
    int32_t nextSibling;
    int32_t reserved;
    std::vector<std::vector<KEY3>> keys;   // one list per motion
    // Pose state written by the motion evaluation.
    float poseTranslation[3];
    float joint[3];
    float poseRotation[4];
    float poseScale[3];
    int32_t keyIndex;
    float fraction;
    int32_t expanded;
    int32_t listed;
};

struct SECOND_POS3 { float x, y, z, w; };
struct SECOND_TRI3 {
    uint8_t cornerCount;
    int32_t corners[4][4];
};

struct MODEL3 {
    int32_t version;
    char folder[256];
    char file[256];
    char path[512];
    int32_t positionCount, normalCount, colorCount, uvCount;
    std::vector<XYZ> positions;
    std::vector<XYZ> normals;
    std::vector<RGBA> colors;
    std::vector<UV2> uvs;
    std::vector<WEIGHT3> weights;      // one per position
    std::vector<FACE3> faces;
    int32_t faceCount;
    std::vector<GROUP3> groups;        // always 256 entries
    int32_t groupCount;
    std::vector<TEXTURE3> textures;    // always 256 entries; entry 0 means no texture
    int16_t textureCount;
    int16_t displacement;              // above 0 from a file: render kind 8
    float displacementHeight;
    BONE3 bones[kModel3Bones];
    int32_t boneCount;
    int16_t subdivision;
    float tint[4];
    int32_t soundCount;
    char soundNames[kModel3Sounds][256];
    int32_t keySounds[kModel3KeySounds];
    int32_t light;
    int32_t vertexColorMode;
    int32_t edge;
    float edgeWidth;
    std::vector<MOTION3> motions;      // never empty
    int32_t motionListValues[3];
    int32_t shadowKind;
    float shadowHeight;
    float shadowFactor;
    float shadowNormal[3];
    int32_t secondMesh;
    std::vector<SECOND_POS3> secondPositions;
    int32_t secondTriangleCount;
    std::vector<SECOND_TRI3> secondTriangles;
    std::vector<XYZ> secondSkinned;
    int32_t id;
    uint8_t inUse;
    uint8_t loaded;                    // set last by a completed load (read with Model3_IsReady)
    uint8_t visible;
    uint8_t releaseRequest;
    int32_t autoNormals;
    int32_t skinningOption;
    int32_t renderKind;                // 0..9
    int32_t gpuRebuild;
    int32_t animated;
    float boneCentreSums[kModel3Bones][3];
    int32_t boneCentreCounts[kModel3Bones];
    std::vector<XYZ> deformedPositions;
    std::vector<XYZ> deformedNormals;  // also the per-position normals of Model3_CalcNormals
    int32_t fillMode;
    int32_t currentFrame;
    float frameFraction;
    int32_t currentMotion;
    uint8_t wrapped;
    float boundsMin[3], boundsMax[3];
    float radius;
};

} // namespace QVL

// A zero-filled record, in use, then reset. When the library's allocate-arrays flag is set, the
// flag is consumed (the arrays themselves grow with what they hold).
QVL::MODEL3* Model3_Alloc();
void Model3_Reset(QVL::MODEL3* m);
// Deep copy of the modelled content (not folder, path, sounds, switches, ID, lifecycle bytes,
// bounds). With reallocate set, the destination's arrays are sized to the source's counts plus one.
void Model3_CopyRecord(const QVL::MODEL3* src, QVL::MODEL3* dst, bool reallocate);
void Model3_Free(QVL::MODEL3* m);
void Model3_ClearTexture(QVL::TEXTURE3* t);
bool Model3_SetLight(QVL::MODEL3* m, uint8_t on);
bool Model3_SetRenderKind(QVL::MODEL3* m, int32_t kind);
void Motion3_ResizeList(std::vector<QVL::MOTION3>& motions, int32_t count);

// Group, key and motion defaults.
void Group3_Reset(QVL::GROUP3* g, int index);
void Key3_Default(QVL::KEY3* k);
void Motion3_Default(QVL::MOTION3* mo);

// Restores the array invariant above: pads the attribute arrays with zeros to cover their counts
// and every face index, and sizes the weights (new entries automatic) and deformed arrays.
void Model3_FitArrays(QVL::MODEL3* m);

// Values at an index, or zeros for an index outside the array (never reads past it).
inline QVL::XYZ Model3_PositionAt(const QVL::MODEL3* m, int32_t i)
{
    return i >= 0 && (size_t)i < m->positions.size() ? m->positions[(size_t)i] : QVL::XYZ{0, 0, 0};
}
inline QVL::XYZ Model3_NormalAt(const QVL::MODEL3* m, int32_t i)
{
    return i >= 0 && (size_t)i < m->normals.size() ? m->normals[(size_t)i] : QVL::XYZ{0, 0, 0};
}
inline QVL::RGBA Model3_ColorAt(const QVL::MODEL3* m, int32_t i)
{
    return i >= 0 && (size_t)i < m->colors.size() ? m->colors[(size_t)i] : QVL::RGBA{0, 0, 0, 0};
}
inline QVL::UV2 Model3_UVAt(const QVL::MODEL3* m, int32_t i)
{
    return i >= 0 && (size_t)i < m->uvs.size() ? m->uvs[(size_t)i] : QVL::UV2{0, 0};
}
inline QVL::WEIGHT3 Model3_WeightAt(const QVL::MODEL3* m, int32_t i)
{
    if (i >= 0 && (size_t)i < m->weights.size()) return m->weights[(size_t)i];
    return QVL::WEIGHT3{0, 0, 0.0f, 1};
}
