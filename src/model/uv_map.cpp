#include "model/uv_map.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/model_table.h"

using namespace QVL;

namespace {

constexpr float kTwoPi = 6.28318f;

// A flat group (zero width or height) has every corner at the centre: its offset from the centre
// counts as 0 instead of 0 / 0.
float Ratio(float d, float extent)
{
    return extent != 0.0f ? d / extent : 0.0f;
}

struct Box {
    float minA = 99999.0f, minB = 99999.0f, maxA = -99999.0f, maxB = -99999.0f;
    void Add(float a, float b)
    {
        if (a < minA) minA = a;
        if (a > maxA) maxA = a;
        if (b < minB) minB = b;
        if (b > maxB) maxB = b;
    }
};

void Axes(int type, const XYZ& p, float& a, float& b)
{
    switch (type) {
    case UVMAP_TOP: a = p.x, b = p.z; break;
    case UVMAP_SIDE: a = p.z, b = p.y; break;
    default: a = p.x, b = p.y; break;
    }
}

float AroundU(const XYZ& p)
{
    float t = (float)std::atan2((double)p.z, (double)p.x);
    if (t < 0.0f) t += kTwoPi;
    float u = t / kTwoPi - 0.25f;
    if (u < 0.0f) u += 1.0f;
    return u;
}

bool OnAxis(const XYZ& p)
{
    return std::fabs(p.x) + std::fabs(p.z) < 0.1f;
}

int Corners(const FACE3& f)
{
    return f.cornerCount > 4 ? 4 : f.cornerCount;
}

bool ValidUv(const MODEL3* m, int32_t i)
{
    return i >= 0 && (size_t)i < m->uvs.size() && i < m->uvCount;
}

// Pass 3 of the cylinder and sphere: cap centres take a ring neighbour's u, and a face across the
// seam runs past 1 instead of wrapping back over the texture.
void MendSeam(MODEL3* m, FACE3& f)
{
    if (f.cornerCount < 3) return;
    if (f.cornerCount == 3) {
        f.cornerCount = 4;
        for (int i = 0; i < 4; ++i) f.corners[3][i] = f.corners[0][i];
    }
    int32_t uv[4];
    for (int c = 0; c < 4; ++c) {
        uv[c] = f.corners[c][CORNER_UV];
        if (!ValidUv(m, uv[c])) return;
    }
    auto U = [&](int c) -> float& { return m->uvs[(size_t)uv[c]].u; };
    int axis[2] = {0, 0}, ring[2] = {0, 0}, axisCount = 0, ringCount = 0;
    bool axisFlag = false;
    for (int c = 0; c < 4; ++c) {
        if (OnAxis(Model3_PositionAt(m, f.corners[c][CORNER_POS]))) {
            axisFlag = true;
            if (axisCount < 2) axis[axisCount++] = c;
        } else if (ringCount < 2) {
            ring[ringCount++] = c;
        }
    }
    if (U(ring[1]) < U(ring[0])) std::swap(ring[0], ring[1]);
    if (U(axis[1]) < U(axis[0])) std::swap(axis[0], axis[1]);
    if (axisFlag) {
        U(axis[0]) = U(ring[0]);
        U(axis[1]) = U(ring[1]);
    }
    bool high = false;
    for (int c = 0; c < 4; ++c) high = high || U(c) > 0.75f;
    if (!high) return;
    for (int c = 0; c < 4; ++c) {
        bool raised = false;
        for (int e = 0; e < c; ++e) raised = raised || uv[e] == uv[c];
        if (!raised && U(c) < 0.25f) U(c) += 1.0f;
    }
}

} // namespace

void Model3_MapGroupUvOf(MODEL3* m, int32_t group)
{
    if (!m || group < 0 || (size_t)group >= m->groups.size()) return;
    const GROUP3& g = m->groups[(size_t)group];
    const int type = g.uvMapping;
    if (type > UVMAP_EACH_FACE) return;
    const int32_t faces = std::max(0, std::min<int32_t>(m->faceCount, (int32_t)m->faces.size()));
    Box box;
    if (type <= UVMAP_SPHERE) {
        for (int32_t f = 0; f < faces; ++f) {
            const FACE3& face = m->faces[(size_t)f];
            if (face.group != group) continue;
            for (int c = 0; c < Corners(face); ++c) {
                float a, b;
                Axes(type, Model3_PositionAt(m, face.corners[c][CORNER_POS]), a, b);
                box.Add(a, b);
            }
        }
    }
    const float w = box.maxA - box.minA, h = box.maxB - box.minB;
    const float ca = (box.maxA + box.minA) * 0.5f, cb = (box.maxB + box.minB) * 0.5f;
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        if (face.group != group) continue;
        for (int c = 0; c < Corners(face); ++c) {
            const int32_t t = face.corners[c][CORNER_UV];
            if (!ValidUv(m, t)) continue;
            const XYZ p = Model3_PositionAt(m, face.corners[c][CORNER_POS]);
            float a, b;
            Axes(type, p, a, b);
            UV2 uv;
            switch (type) {
            case UVMAP_CYLINDER:
                if (OnAxis(p)) {
                    uv = UV2{0.25f, p.y > 0.0f ? 0.0f : 1.0f};
                } else {
                    uv = UV2{AroundU(p), 0.25f + 0.5f * Ratio(box.maxB - p.y, h)};
                }
                break;
            case UVMAP_SPHERE: uv = UV2{AroundU(p), Ratio(box.maxB - p.y, h)}; break;
            case UVMAP_EACH_FACE: {
                static const UV2 kCorners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
                uv = kCorners[c];
                break;
            }
            default:
                uv.u = ca + Ratio(Ratio(a - ca, w), g.uvScale[0]) + 0.5f - g.uvOffset[0];
                uv.v = cb - Ratio(Ratio(b - cb, h), g.uvScale[1]) + 0.5f + g.uvOffset[1];
                break;
            }
            m->uvs[(size_t)t] = uv;
        }
    }
    if (type != UVMAP_CYLINDER && type != UVMAP_SPHERE) return;
    Model3_MendGroupSeams(m, group);
}

void Model3_MendGroupSeams(MODEL3* m, int32_t group)
{
    if (!m) return;
    const int32_t faces = std::max(0, std::min<int32_t>(m->faceCount, (int32_t)m->faces.size()));
    for (int32_t f = 0; f < faces; ++f)
        if (m->faces[(size_t)f].group == group) MendSeam(m, m->faces[(size_t)f]);
}

void Model3_MapGroupUv(int32_t id, int32_t group)
{
    Model3_MapGroupUvOf(Model3_GetById(id), group);
}

void Model2_MapGroupUvPlanarOf(MODEL2* m, int32_t group)
{
    if (!m || group < 0 || group >= kModel2Groups) return;
    const GROUP2& g = m->groups[group];
    const int type = g.uvMapping;
    if (type != UVMAP_FRONT && type != UVMAP_EACH_FACE && type != UVMAP_CYLINDER && type != UVMAP_SPHERE) return;
    const int32_t polys = std::max(0, std::min<int32_t>(m->polygonCount, (int32_t)m->polygons.size()));
    const size_t vertices = std::min<size_t>(m->vertexCount, m->vertices.size());
    const size_t uvs = std::min<size_t>(m->uvCount, m->uvs.size());
    auto Live = [&](const FACE2& f) { return f.used == 1 && f.group == group; };
    Box box;
    for (int32_t i = 0; i < polys; ++i) {
        const FACE2& f = m->polygons[(size_t)i];
        if (!Live(f)) continue;
        for (int c = 0; c < std::min<int>(f.cornerCount, 4); ++c)
            if (f.corners[c][0] < vertices) box.Add(m->vertices[f.corners[c][0]].x, m->vertices[f.corners[c][0]].y);
    }
    if (type != UVMAP_FRONT && type != UVMAP_EACH_FACE) return;
    const float w = box.maxA - box.minA, h = box.maxB - box.minB;
    const float cx = (box.maxA + box.minA) * 0.5f, cy = (box.maxB + box.minB) * 0.5f;
    for (int32_t i = 0; i < polys; ++i) {
        const FACE2& f = m->polygons[(size_t)i];
        if (!Live(f)) continue;
        for (int c = 0; c < std::min<int>(f.cornerCount, 4); ++c) {
            const uint16_t t = f.corners[c][2], v = f.corners[c][0];
            if (t >= uvs) continue;
            if (type == UVMAP_EACH_FACE) {
                static const UV2D kCorners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
                m->uvs[t] = kCorners[c];
            } else if (v < vertices) {
                const XY2 p = m->vertices[v];
                m->uvs[t].u = cx + Ratio(Ratio(p.x - cx, w), g.uvScale[0]) + 0.5f - g.uvOffset[0];
                m->uvs[t].v = cy + Ratio(Ratio(p.y - cy, h), g.uvScale[1]) + 0.5f + g.uvOffset[1];
            }
        }
    }
}

void Model2_MapGroupUvPlanar(int32_t slot, int32_t group)
{
    Model2_MapGroupUvPlanarOf(Model2_Get(slot), group);
}
