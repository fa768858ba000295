#include "render/skin_palette.h"

#include <algorithm>

using namespace QVL;

int32_t Skin_BuildPalette(MATRIX out[kSkinPaletteSize], int32_t boneCount, const VEC3* rest, const MATRIX* pose,
                          int32_t available)
{
    const int32_t n = std::max(0, std::min(boneCount, kSkinPaletteSize));
    for (int32_t i = 0; i < kSkinPaletteSize; ++i) {
        Math_MatrixIdentity(&out[i]);
        if (i >= n) continue;
        MATRIX t, p;
        const bool known = rest && pose && i < available;
        Math_MatrixTranslation(&t, known ? -rest[i].x : 0.0f, known ? -rest[i].y : 0.0f, known ? -rest[i].z : 0.0f);
        if (known) p = pose[i];
        else Math_MatrixIdentity(&p);
        Math_MatrixMultiply(&out[i], t, p);
    }
    return n;
}

bool Skin_MaterialFitsPalette(const GROUP3& g, int32_t paletteSize)
{
    const size_t n = std::min((size_t)std::max(0, g.exportVertexCount), g.exportWeights.size());
    for (size_t i = 0; i < n; ++i) {
        const WEIGHT3& w = g.exportWeights[i];
        // The effect blends A by the weight and B by one minus it.
        if (w.weightA != 0.0f && w.boneA >= paletteSize) return false;
        if (w.weightA != 1.0f && w.boneB >= paletteSize) return false;
    }
    return true;
}

bool Skin_DrawCounts(int32_t exportVertices, int32_t exportTriangles, int32_t bufferVertices, int32_t indexCount,
                     uint32_t* vertices, uint32_t* triangles)
{
    const int32_t v = std::max(0, std::min(exportVertices, bufferVertices));
    const int32_t t = std::max(0, std::min(exportTriangles, indexCount / 3));
    *vertices = (uint32_t)v;
    *triangles = (uint32_t)t;
    return v > 0 && t > 0;
}
