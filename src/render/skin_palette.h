// The bone palette of the GPU-skinned draw (render kind 5): 32 matrices, as many as the skinning
// effect's constants hold. Platform-free, so the palette and the checks run on fixtures natively.
#pragma once
#include <cstdint>

#include "frame/math3d.h"
#include "model/model3.h"

constexpr int32_t kSkinPaletteSize = 32;

// Entry i = Translation(-rest[i]) x pose[i] for the first min(boneCount, 32) bones (bones past the
// rest or pose arrays count as the origin and the identity); the entries after them are the identity,
// so a bone number the palette does not cover never reads a stale matrix. Returns the entries set
// from bones.
int32_t Skin_BuildPalette(QVL::MATRIX out[kSkinPaletteSize], int32_t boneCount, const QVL::VEC3* rest,
                          const QVL::MATRIX* pose, int32_t available);

// True when every export vertex of the material blends only bones below paletteSize: a bone past
// the palette would read the effect's last matrix and tear the mesh, so such a material is not
// drawn. A bone whose weight is 0 does not count.
bool Skin_MaterialFitsPalette(const QVL::GROUP3& g, int32_t paletteSize);

// The counts of the indexed draw, from the export counts but never past what the buffers hold:
// vertices at most bufferVertices, triangles at most indexCount / 3. False when nothing is left.
bool Skin_DrawCounts(int32_t exportVertices, int32_t exportTriangles, int32_t bufferVertices, int32_t indexCount,
                     uint32_t* vertices, uint32_t* triangles);
