// The bump-mapped ground of render kind 7: "BumpGround/BumpGround.jpg" (stone tiles), its normal map
// "BumpGroundNormal.tga" (bevelled tile edges, tangent space) and the mesh "BumpGround.x" (a flat
// grid facing up with normals and texture coordinates, one material without a texture file).
// D3DX's mesh writer is not used: the text .x is written here.
#include <cmath>
#include <cstdio>
#include <string>

#include "datagen.h"
#include "picture_files.h"

namespace {

const int kSize = 256;
const int kTile = 64;     // tiles of 64 pixels, their joints 8 pixels wide
const int kJoint = 8;

uint32_t Hash(uint32_t v)
{
    v ^= v >> 16;
    v *= 0x7FEB352Du;
    v ^= v >> 15;
    v *= 0x846CA68Bu;
    v ^= v >> 16;
    return v;
}

// Drawn in flat 8 x 8 blocks, which the block JPEG keeps exactly.
std::vector<uint8_t> BuildDecal()
{
    std::vector<datagen::Pixel> px((size_t)kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int tx = x / kTile, ty = y / kTile;
            const bool joint = x % kTile >= kTile - kJoint || y % kTile >= kTile - kJoint;
            const uint32_t tile = Hash((uint32_t)(tx * 31 + ty * 17 + 5));
            const uint32_t block = Hash((uint32_t)((x / 8) * 131 + (y / 8) * 71 + 3));
            const int base = joint ? 70 : 150 + (int)(tile % 50);
            const int grain = (int)(block % 17) - 8;
            const int r = base + grain + (joint ? 0 : 20), g = base + grain + (joint ? 0 : 8), b = base + grain - (joint ? 0 : 10);
            px[(size_t)(y * kSize + x)] = datagen::Pixel{(uint8_t)r, (uint8_t)g, (uint8_t)b, 255};
        }
    return datagen::JpegFlatBlocks(px, kSize, kSize);
}

// Height: 1 on a tile, falling to 0 across a bevel of 6 pixels into the joint.
float Height(float x, float y)
{
    auto edge = [](float v) {
        float t = std::fmod(v, (float)kTile);
        float inside = (float)(kTile - kJoint);
        float d = t < inside ? std::fmin(t + 0.5f, inside - t) : 0.0f;   // distance into the tile
        return std::fmin(d / 6.0f, 1.0f);
    };
    return std::fmin(edge(x), edge(y));
}

std::vector<uint8_t> BuildNormalMap()
{
    std::vector<datagen::Pixel> px((size_t)kSize * kSize);
    const float depth = 4.0f;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float fx = (float)x, fy = (float)y;
            const float dx = (Height(fx + 1, fy) - Height(fx - 1 + kSize, fy)) * 0.5f * depth;
            const float dy = (Height(fx, fy + 1) - Height(fx, fy - 1 + kSize)) * 0.5f * depth;
            float nx = -dx, ny = -dy, nz = 1.0f;
            const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
            nx /= len, ny /= len, nz /= len;
            auto enc = [](float v) { return (uint8_t)std::lround((v * 0.5f + 0.5f) * 255.0f); };
            px[(size_t)(y * kSize + x)] = datagen::Pixel{enc(nx), enc(ny), enc(nz), 255};
        }
    return datagen::TgaFile(px, kSize, kSize);
}

// 16 x 16 quads over x, z in -50..50 at y 0, the texture repeated four times across; front faces
// clockwise seen from above.
std::vector<uint8_t> BuildMesh()
{
    const int n = 16;
    const float half = 50.0f, repeat = 4.0f;
    std::string s = "xof 0303txt 0032\n\n";
    s += "Material GroundMaterial {\n 1.000000;1.000000;1.000000;1.000000;;\n 0.000000;\n 0.000000;0.000000;0.000000;;\n"
         " 0.000000;0.000000;0.000000;;\n}\n\n";
    s += "Mesh Ground {\n";
    char line[160];
    const int verts = (n + 1) * (n + 1);
    std::snprintf(line, sizeof line, " %d;\n", verts);
    s += line;
    auto coord = [&](int i) { return -half + 2.0f * half * (float)i / (float)n; };
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            std::snprintf(line, sizeof line, " %.6f;%.6f;%.6f;%s\n", coord(i), 0.0, coord(j),
                          j == n && i == n ? ";" : ",");
            s += line;
        }
    const int faces = n * n * 2;
    std::string faceList;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const int v00 = j * (n + 1) + i, v10 = v00 + 1, v01 = v00 + (n + 1), v11 = v01 + 1;
            const bool last = j == n - 1 && i == n - 1;
            std::snprintf(line, sizeof line, " 3;%d,%d,%d;,\n 3;%d,%d,%d;%s\n", v01, v11, v10, v01, v10, v00,
                          last ? ";" : ",");
            faceList += line;
        }
    std::snprintf(line, sizeof line, " %d;\n", faces);
    s += line + faceList;
    s += "\n MeshNormals {\n  1;\n  0.000000;1.000000;0.000000;;\n";
    std::snprintf(line, sizeof line, "  %d;\n", faces);
    s += line;
    for (int f = 0; f < faces; ++f) s += f + 1 == faces ? "  3;0,0,0;;\n" : "  3;0,0,0;,\n";
    s += " }\n\n MeshTextureCoords {\n";
    std::snprintf(line, sizeof line, "  %d;\n", verts);
    s += line;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            std::snprintf(line, sizeof line, "  %.6f;%.6f;%s\n", repeat * (float)i / (float)n,
                          repeat * (float)(n - j) / (float)n, j == n && i == n ? ";" : ",");
            s += line;
        }
    s += " }\n\n MeshMaterialList {\n  1;\n";
    std::snprintf(line, sizeof line, "  %d;\n", faces);
    s += line;
    for (int f = 0; f < faces; ++f) s += f + 1 == faces ? "  0;\n" : "  0,\n";
    s += "  {GroundMaterial}\n }\n}\n";
    return std::vector<uint8_t>(s.begin(), s.end());
}

} // namespace

DATAGEN_FILE("data/BumpGround/BumpGround.jpg", BuildDecal);
DATAGEN_FILE("data/BumpGround/BumpGroundNormal.tga", BuildNormalMap);
DATAGEN_FILE("data/BumpGround/BumpGround.x", BuildMesh);
