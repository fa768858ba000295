// The face split.
#include "edit3d/poly_split.h"

#include <algorithm>
#include <vector>

#include "edit3d/poly_append.h"

using QVL::FACE3;
using QVL::MODEL3;
using QVL::RGBA;
using QVL::UV2;
using QVL::XYZ;

namespace {

XYZ Mix(const XYZ& a, const XYZ& b, float k) { return XYZ{(a.x + b.x) * k, (a.y + b.y) * k, (a.z + b.z) * k}; }
UV2 Mix(const UV2& a, const UV2& b, float k) { return UV2{(a.u + b.u) * k, (a.v + b.v) * k}; }

} // namespace

POLY_SPLIT_RESULT PolyMesh_SplitFaces(MODEL3* m, POLY_SEL& s)
{
    POLY_SPLIT_RESULT r{0, false, false};
    if (!s.faceMode) return r;
    const int32_t n = PolyAppend_FaceCount(m);
    std::vector<int32_t> quads;
    for (int32_t f = 0; f < n && f < s.maxPolygons; ++f) {
        if (s.faceSel[f] != 1) continue;
        if (m->faces[(size_t)f].cornerCount == 4) quads.push_back(f);
        else r.otherCorners = true;
    }
    const int64_t k = (int64_t)quads.size();
    if (!PolyAppend_Fits(m, s, 16 * k, 16 * k, 16 * k, 16 * k, 3 * k)) {
        r.refused = true;
        return r;
    }
    if (k == 0) return r;
    // The split faces leave first, so that the list never holds more than its final count.
    std::vector<FACE3> split;
    split.reserve(quads.size());
    std::vector<uint8_t> keep((size_t)n, 1);
    for (int32_t f : quads) {
        split.push_back(m->faces[(size_t)f]);
        s.faceSel[f] = 0;
        keep[(size_t)f] = 0;
    }
    PolyMesh_Compact(m, s, keep);
    PolyAppend_Begin(m, 16 * k, 4 * k);
    for (const FACE3& face : split) {
        XYZ p[4];
        UV2 t[4];
        XYZ nrm[4];
        RGBA col[4];
        for (int c = 0; c < 4; ++c) {
            const int32_t* idx = face.corners[c];
            p[c] = Model3_PositionAt(m, idx[QVL::CORNER_POS]);
            nrm[c] = Model3_NormalAt(m, idx[QVL::CORNER_NORMAL]);
            col[c] = Model3_ColorAt(m, idx[QVL::CORNER_COLOR]);
            t[c] = Model3_UVAt(m, idx[QVL::CORNER_UV]);
        }
        const XYZ pc = Mix(Mix(p[0], p[1], 1.0f), Mix(p[2], p[3], 1.0f), 0.25f);
        const UV2 tc = Mix(Mix(t[0], t[1], 1.0f), Mix(t[2], t[3], 1.0f), 0.25f);
        const XYZ m01 = Mix(p[0], p[1], 0.5f), m12 = Mix(p[1], p[2], 0.5f), m23 = Mix(p[2], p[3], 0.5f),
                  m30 = Mix(p[3], p[0], 0.5f);
        const UV2 t01 = Mix(t[0], t[1], 0.5f), t12 = Mix(t[1], t[2], 0.5f), t23 = Mix(t[2], t[3], 0.5f),
                  t30 = Mix(t[3], t[0], 0.5f);
        const XYZ cornersP[4][4] = {{p[0], m01, pc, m30}, {m01, p[1], m12, pc}, {pc, m12, p[2], m23}, {m30, pc, m23, p[3]}};
        const UV2 cornersT[4][4] = {{t[0], t01, tc, t30}, {t01, t[1], t12, tc}, {tc, t12, t[2], t23}, {t30, tc, t23, t[3]}};
        for (int q = 0; q < 4; ++q) {
            FACE3 out{};
            out.cornerCount = 4;
            out.group = 0;
            for (int c = 0; c < 4; ++c) {
                int32_t* idx = out.corners[c];
                idx[QVL::CORNER_POS] = PolyAppend_Position(m, cornersP[q][c]);
                idx[QVL::CORNER_NORMAL] = PolyAppend_Normal(m, nrm[q]);
                idx[QVL::CORNER_COLOR] = PolyAppend_Color(m, col[q]);
                idx[QVL::CORNER_UV] = PolyAppend_UV(m, cornersT[q][c]);
                s.vertexSel[idx[QVL::CORNER_POS]] = 1;
            }
            s.faceSel[PolyAppend_Face(m, out)] = 1;
        }
    }
    PolyAppend_End(m);
    r.split = (int32_t)k;
    return r;
}
