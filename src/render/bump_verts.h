// The vertices of the normal-mapped model draw: position, normal, a tangent, UV (44 bytes, the
// vertex declaration of the bump-map effect).
#pragma once
#include <cstdint>
#include <vector>

#include "model/model3.h"

namespace QVL {

struct BUMP_VERTEX {
    float x, y, z;
    float nx, ny, nz;
    float tx, ty, tz;
    float u, v;
};
static_assert(sizeof(BUMP_VERTEX) == 44, "the bump vertex declaration's stride");

} // namespace QVL

// The fan triangles (0, k + 1, k + 2) of every face of material g: the face normal for flat
// shading (3), else the vertex normal; the tangent is the normal turned -90 degrees about y.
// Out-of-range indices read zeros. Replaces `out`; returns the triangle count.
int32_t Bump_BuildMaterial(const QVL::MODEL3* m, int32_t g, bool deformed, std::vector<QVL::BUMP_VERTEX>& out);
