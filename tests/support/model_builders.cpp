#include "support/model_builders.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "model/qvp_file.h"
#include "support/recorder.h"

using namespace QVL;

MODEL3* NewRecord()
{
    return Model3_Alloc();
}

int32_t AddVertex(MODEL3* m, float x, float y, float z, float u, float v, uint8_t bone)
{
    int32_t i = m->positionCount;
    m->positions.resize((size_t)i + 1);
    m->positions[i] = XYZ{x, y, z};
    m->weights.resize((size_t)i + 1);
    m->weights[i] = WEIGHT3{bone, 0, 1.0f, 0};
    m->positionCount = i + 1;
    m->colors.resize((size_t)i + 1);
    m->colors[i] = RGBA{255, 255, 255, 255};
    m->colorCount = i + 1;
    m->uvs.resize((size_t)i + 1);
    m->uvs[i] = UV2{u, v};
    m->uvCount = i + 1;
    if (m->normals.empty()) {
        m->normals.push_back(XYZ{0, 0, 1});
        m->normalCount = 1;
    }
    m->deformedPositions.resize(m->positions.size());
    m->deformedNormals.resize(m->positions.size());
    return i;
}

void AddFace(MODEL3* m, std::initializer_list<int32_t> corners, int32_t group)
{
    FACE3 f = {};
    f.cornerCount = (uint8_t)corners.size();
    int c = 0;
    for (int32_t v : corners) {
        f.corners[c][CORNER_POS] = v;
        f.corners[c][CORNER_NORMAL] = 0;
        f.corners[c][CORNER_COLOR] = v;
        f.corners[c][CORNER_UV] = v;
        ++c;
    }
    f.group = group;
    m->faces.resize((size_t)m->faceCount + 1);
    m->faces[m->faceCount++] = f;
}

void MakeCube(MODEL3* m)
{
    // Each side: four corners counter-clockwise seen from outside.
    const float s[6][4][3] = {
        {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
        {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, {{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}},
        {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}}, {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}},
    };
    for (const auto& side : s) {
        int32_t v[4];
        for (int c = 0; c < 4; ++c) v[c] = AddVertex(m, side[c][0], side[c][1], side[c][2]);
        AddFace(m, {v[0], v[1], v[2], v[3]});
    }
}

static float RandomFloat(std::mt19937& rng)
{
    static const float special[] = {0.0f, -0.0f, 1.0f, -1.5f, 1e-40f, 3.4e38f, INFINITY, -INFINITY, NAN};
    uint32_t pick = rng() % 16;
    if (pick < 3) return special[rng() % (sizeof special / sizeof special[0])];
    return std::uniform_real_distribution<float>(-100.0f, 100.0f)(rng);
}

static void RandomName(char* dst, size_t cap, std::mt19937& rng)
{
    size_t n = rng() % 40;
    if (n >= cap) n = cap - 1;
    for (size_t i = 0; i < n; ++i) dst[i] = (char)('a' + rng() % 26);
    dst[n] = 0;
}

void RandomModel(MODEL3* m, std::mt19937& rng)
{
    auto below = [&](uint32_t n) { return (int32_t)(rng() % n); };
    int32_t p = 1 + below(60), n = 1 + below(20), q = 1 + below(10), u = 1 + below(30);
    m->positionCount = p;
    m->normalCount = n;
    m->colorCount = q;
    m->uvCount = u;
    m->positions.resize((size_t)p);
    m->normals.resize((size_t)n);
    m->colors.resize((size_t)q);
    m->uvs.resize((size_t)u);
    m->weights.resize((size_t)p);
    for (XYZ& v : m->positions) v = XYZ{RandomFloat(rng), RandomFloat(rng), RandomFloat(rng)};
    for (XYZ& v : m->normals) v = XYZ{RandomFloat(rng), RandomFloat(rng), RandomFloat(rng)};
    for (RGBA& c : m->colors) c = RGBA{RandomFloat(rng), RandomFloat(rng), RandomFloat(rng), RandomFloat(rng)};
    for (UV2& t : m->uvs) t = UV2{RandomFloat(rng), RandomFloat(rng)};
    for (WEIGHT3& w : m->weights) w = WEIGHT3{(uint8_t)below(256), (uint8_t)below(256), RandomFloat(rng), (uint8_t)below(2)};
    m->groupCount = 1 + below(8);
    m->faceCount = below(80);
    m->faces.assign((size_t)m->faceCount, FACE3());
    for (FACE3& f : m->faces) {
        f.cornerCount = (uint8_t)(3 + below(2));
        for (int c = 0; c < f.cornerCount; ++c) {
            f.corners[c][CORNER_POS] = below((uint32_t)p);
            f.corners[c][CORNER_NORMAL] = below((uint32_t)n);
            f.corners[c][CORNER_COLOR] = below((uint32_t)q);
            f.corners[c][CORNER_UV] = below((uint32_t)u);
        }
        f.group = below((uint32_t)m->groupCount + 1);   // now and then a group not in use
    }
    m->textureCount = (int16_t)(1 + below(6));
    for (int i = 1; i < m->textureCount; ++i) {
        m->textures[i].used = below(2);
        RandomName(m->textures[i].file, sizeof m->textures[i].file, rng);
    }
    m->displacement = (int16_t)below(3);
    m->displacementHeight = RandomFloat(rng);
    for (int i = 0; i < m->groupCount; ++i) {
        GROUP3& g = m->groups[i];
        RandomName(g.name, sizeof g.name, rng);
        g.texture = below(256);
        for (float& c : g.color) c = RandomFloat(rng);
        g.alpha = RandomFloat(rng);
        g.shading = below(6);
        g.uvMapping = (uint8_t)below(4);
        g.uvOffset[0] = RandomFloat(rng);
        g.uvScale[1] = RandomFloat(rng);
        g.doubleSided = below(2);
        g.reserved0 = (int32_t)rng();
        g.mirror = below(2);
        g.specular = below(2);
        g.specularColor[2] = below(256);
        g.textureSwitch = (uint8_t)below(2);
        g.reserved1 = (uint16_t)rng();
        g.reserved3 = (uint16_t)rng();
        g.selfIllumination = (uint8_t)below(2);
        g.reserved6 = RandomFloat(rng);
        g.normalMap = (uint8_t)below(2);
        g.normalMapTexture = (uint16_t)below(256);
        g.reserved9 = RandomFloat(rng);
        g.reserved11 = (uint16_t)rng();
        g.reserved13 = RandomFloat(rng);
        g.alphaTest = (uint8_t)below(2);
        g.alphaRef = (uint16_t)rng();
    }
    m->light = below(2);
    m->vertexColorMode = below(2);
    m->edge = below(2);
    m->edgeWidth = RandomFloat(rng);
    m->subdivision = (int16_t)below(9);
    Motion3_ResizeList(m->motions, 1 + below(3));
    int32_t mc = (int32_t)m->motions.size();
    for (MOTION3& mo : m->motions) {
        RandomName(mo.name, sizeof mo.name, rng);
        mo.length = below(500);
        mo.loop = (uint8_t)below(2);
        mo.next = (int16_t)(below((uint32_t)mc + 1) - 1);
        for (int i = 0; i < m->groupCount; ++i) {
            GROUP_TRACK3& t = mo.tracks[i];
            t.keyCount = below(17);
            for (int k = 0; k < t.keyCount; ++k) {
                t.keys[k].frame = below(500);
                t.keys[k].reserved = (uint16_t)rng();
                t.keys[k].texture = (uint16_t)below(257);
                t.keys[k].reservedF[3] = RandomFloat(rng);
            }
        }
    }
    m->boneCount = 1 + below(10);
    for (int b = 0; b < m->boneCount; ++b) {
        BONE3& bone = m->bones[b];
        RandomName(bone.name, sizeof bone.name, rng);
        bone.parent = b == 0 ? 0 : below((uint32_t)b);
        bone.rest.translation[1] = RandomFloat(rng);
        bone.rest.rotation[2] = RandomFloat(rng);
        bone.rest.scale[0] = RandomFloat(rng);
        bone.keys.assign((size_t)mc, std::vector<KEY3>());
        for (auto& list : bone.keys) {
            list.resize((size_t)below(5));
            for (KEY3& k : list) {
                Key3_Default(&k);
                k.frame = below(500);
                k.translation[0] = RandomFloat(rng);
                k.rotation[3] = RandomFloat(rng);
                k.scale[2] = RandomFloat(rng);
            }
        }
    }
    Model3_FitArrays(m);
}

std::vector<uint8_t> SaveBytes(MODEL3* m)
{
    ByteWriter w;
    Qvp_Write(m, w);
    return w.Data();
}

std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::string path = Rec_TempDir() + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}

void MakeQuadGrid(MODEL3* m, int columns, int rows, int groups)
{
    int n = columns * rows;
    m->positions.reserve((size_t)n * 4);
    m->faces.reserve((size_t)n);
    if (groups > m->groupCount) m->groupCount = groups;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            // A height per grid point, so neighbouring quads share their corners exactly.
            auto h = [](int i, int j) { return (float)((i * 7 + j * 3) % 5) * 0.25f; };
            float x = (float)c, y = (float)r;
            int32_t a = AddVertex(m, x, h(c, r), y, x / columns, y / rows);
            int32_t b = AddVertex(m, x, h(c, r + 1), y + 1, x / columns, (y + 1) / rows);
            int32_t d = AddVertex(m, x + 1, h(c + 1, r + 1), y + 1, (x + 1) / columns, (y + 1) / rows);
            int32_t e = AddVertex(m, x + 1, h(c + 1, r), y, (x + 1) / columns, y / rows);
            AddFace(m, {a, b, d, e}, r * groups / rows);   // bands of rows
        }
    }
}
