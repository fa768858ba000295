#include "model/normals.h"

#include <algorithm>
#include <cmath>

#include "frame/lib.h"
#include "model/exact_index.h"

using namespace QVL;

// The vector normalisation of the maths library: shorter than 1e-7 gives (0, 0, 0).
static XYZ NormalizeOrZero(XYZ v)
{
    float len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (len < 1e-7f) return XYZ{0.0f, 0.0f, 0.0f};
    return XYZ{v.x / len, v.y / len, v.z / len};
}

bool Model3_CalcNormals(MODEL3* m)
{
    if (!m) return false;
    Model3_FitArrays(m);
    const int32_t faces = std::min<int32_t>(m->faceCount, (int32_t)m->faces.size());

    for (int32_t f = 0; f < faces; ++f) {
        FACE3& face = m->faces[f];
        if (face.cornerCount <= 2) continue;
        XYZ p0 = Model3_PositionAt(m, face.corners[0][CORNER_POS]);
        XYZ p1 = Model3_PositionAt(m, face.corners[1][CORNER_POS]);
        XYZ p2 = Model3_PositionAt(m, face.corners[2][CORNER_POS]);
        XYZ a{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
        XYZ b{p2.x - p1.x, p2.y - p1.y, p2.z - p1.z};
        XYZ n{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
        float len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        // Collinear or coincident corners: no direction rather than NaN.
        if (!(len > 0.0f)) n = XYZ{0.0f, 0.0f, 0.0f};
        else n = XYZ{n.x / len, n.y / len, n.z / len};
        face.normal[0] = n.x;
        face.normal[1] = n.y;
        face.normal[2] = n.z;
    }

    // Per-position normals: every position a face may name has an entry (FitArrays).
    std::vector<XYZ>& pn = m->deformedNormals;
    std::fill(pn.begin(), pn.end(), XYZ{0.0f, 0.0f, 0.0f});
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[f];
        if (face.cornerCount <= 2) continue;
        int k = std::min<int>(face.cornerCount, 4);
        for (int c = 0; c < k; ++c) {
            XYZ& s = pn[(size_t)face.corners[c][CORNER_POS]];
            s.x += face.normal[0];
            s.y += face.normal[1];
            s.z += face.normal[2];
        }
    }
    for (XYZ& v : pn) v = NormalizeOrZero(v);

    if (!(g_StudioFlag == 1 || m->renderKind == 8)) return true;

    // The table never needs more entries than there are positions; grow it first so the rebuild
    // cannot write past a table read shorter from a file.
    if (m->normals.size() < m->positions.size()) m->normals.resize(m->positions.size());
    ExactIndex<3> seen(m->positions.size() / 4);
    int32_t count = 0;
    for (int32_t f = 0; f < faces; ++f) {
        FACE3& face = m->faces[f];
        if (face.cornerCount <= 2) continue;
        int k = std::min<int>(face.cornerCount, 4);
        for (int c = 0; c < k; ++c) {
            const XYZ& v = pn[(size_t)face.corners[c][CORNER_POS]];
            int32_t at = seen.FindOrAdd(&v.x, count);
            if (at < 0) {
                if ((size_t)count >= m->normals.size()) m->normals.resize((size_t)count + 1);
                m->normals[(size_t)count] = v;
                at = count++;
            }
            face.corners[c][CORNER_NORMAL] = at;
        }
    }
    m->normalCount = count;
    return true;
}

bool Model3_DeleteFace(MODEL3* m, int32_t index)
{
    if (!m || index < 0 || index >= m->faceCount || (size_t)index >= m->faces.size()) return false;
    for (int32_t i = index + 1; i < m->faceCount && (size_t)i < m->faces.size(); ++i) m->faces[i - 1] = m->faces[i];
    m->faceCount -= 1;
    return true;
}
