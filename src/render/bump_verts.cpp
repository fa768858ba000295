#include "render/bump_verts.h"

#include <algorithm>

#include "frame/math3d.h"

using namespace QVL;

namespace {

XYZ At(const std::vector<XYZ>& a, int32_t i)
{
    return i >= 0 && (size_t)i < a.size() ? a[(size_t)i] : XYZ{0, 0, 0};
}

} // namespace

int32_t Bump_BuildMaterial(const MODEL3* m, int32_t g, bool deformed, std::vector<BUMP_VERTEX>& out)
{
    out.clear();
    if (!m || g < 0 || (size_t)g >= m->groups.size()) return 0;
    const bool flat = m->groups[(size_t)g].shading == 3;
    MATRIX turn;
    Math_MatrixRotationY(&turn, -90.0f);
    turn.m[3][0] = turn.m[3][1] = turn.m[3][2] = 0.0f;
    const int32_t faces = std::min<int32_t>(m->faceCount, (int32_t)m->faces.size());
    int32_t triangles = 0;
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        const int c = std::min<int>(face.cornerCount, 4);
        if (face.group != g || c < 3) continue;
        BUMP_VERTEX corner[4];
        for (int k = 0; k < c; ++k) {
            const int32_t* ix = face.corners[k];
            XYZ p, n;
            if (deformed) {
                p = At(m->deformedPositions, ix[CORNER_POS]);
                n = At(m->deformedNormals, ix[CORNER_POS]);
            } else {
                p = At(m->positions, ix[CORNER_POS]);
                n = At(m->normals, ix[CORNER_NORMAL]);
            }
            if (flat) n = XYZ{face.normal[0], face.normal[1], face.normal[2]};
            VEC3 t;
            Math_TransformPoint(&t, n.x, n.y, n.z, turn);
            UV2 uv = Model3_UVAt(m, ix[CORNER_UV]);
            corner[k] = BUMP_VERTEX{p.x, p.y, p.z, n.x, n.y, n.z, t.x, t.y, t.z, uv.u, uv.v};
        }
        for (int k = 0; k + 2 < c; ++k) {
            out.push_back(corner[0]);
            out.push_back(corner[k + 1]);
            out.push_back(corner[k + 2]);
            ++triangles;
        }
    }
    return triangles;
}
