// Polygon creation on one model.
#include "edit3d/poly_create.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "edit3d/poly_append.h"

using QVL::FACE3;
using QVL::MODEL3;
using QVL::XYZ;

namespace {

int32_t Corners(const FACE3& f) { return f.cornerCount > 4 ? 4 : f.cornerCount; }

bool VertexSelected(const POLY_SEL& s, int32_t p) { return p >= 0 && p < s.maxVertices && s.vertexSel[p] == 1; }

bool FaceSelected(const POLY_SEL& s, int32_t f) { return f >= 0 && f < s.maxPolygons && s.faceSel[f] == 1; }

// The offset of an extruded face, or false for a face without a usable normal.
bool ExtrudeOffset(const MODEL3* m, const FACE3& f, float zoom, XYZ* d)
{
    const XYZ p0 = Model3_PositionAt(m, f.corners[0][QVL::CORNER_POS]);
    const XYZ p1 = Model3_PositionAt(m, f.corners[1][QVL::CORNER_POS]);
    const XYZ p2 = Model3_PositionAt(m, f.corners[2][QVL::CORNER_POS]);
    const XYZ a{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
    const XYZ b{p2.x - p1.x, p2.y - p1.y, p2.z - p1.z};
    const XYZ n{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    const float len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    // A face of no area has no direction to move in (0/0 would make every new position NaN).
    if (!(len > 0.0f) || !std::isfinite(len) || !(zoom != 0.0f) || !std::isfinite(zoom)) return false;
    const float k = 0.25f / len / zoom;
    *d = XYZ{n.x * k, n.y * k, n.z * k};
    return std::isfinite(d->x) && std::isfinite(d->y) && std::isfinite(d->z);
}

int64_t CornerTotal(const MODEL3* src)
{
    int64_t corners = 0;
    const int32_t n = PolyAppend_FaceCount(src);
    for (int32_t f = 0; f < n; ++f) corners += Corners(src->faces[(size_t)f]);
    return corners;
}

// Appends the source's faces with their corners' normals, colours and UVs as new entries.
void AppendFaces(MODEL3* m, POLY_SEL& s, const MODEL3* src, int32_t v0, int32_t groupBase, int32_t fixedGroup)
{
    const int32_t n = PolyAppend_FaceCount(src);
    const int32_t groups = std::max(src->groupCount, 1);
    for (int32_t f = 0; f < n; ++f) {
        const FACE3& in = src->faces[(size_t)f];
        FACE3 out{};
        out.cornerCount = in.cornerCount > 4 ? 4 : in.cornerCount;
        if (fixedGroup >= 0) out.group = fixedGroup;
        else out.group = groupBase + (in.group >= 0 && in.group < groups ? in.group : 0);
        for (int32_t c = 0; c < Corners(in); ++c) {
            const int32_t* idx = in.corners[c];
            out.corners[c][QVL::CORNER_POS] = idx[QVL::CORNER_POS] + v0;
            out.corners[c][QVL::CORNER_NORMAL] = PolyAppend_Normal(m, Model3_NormalAt(src, idx[QVL::CORNER_NORMAL]));
            out.corners[c][QVL::CORNER_COLOR] = PolyAppend_Color(m, Model3_ColorAt(src, idx[QVL::CORNER_COLOR]));
            out.corners[c][QVL::CORNER_UV] = PolyAppend_UV(m, Model3_UVAt(src, idx[QVL::CORNER_UV]));
            // A corner past the source's positions would point past the added ones.
            if (idx[QVL::CORNER_POS] < 0 || idx[QVL::CORNER_POS] >= src->positionCount) out.corners[c][QVL::CORNER_POS] = v0;
        }
        s.faceSel[PolyAppend_Face(m, out)] = 1;
    }
}

} // namespace

void PolyMesh_ExtrudeVertices(MODEL3* m, const POLY_SEL& s)
{
    const int32_t n = PolyAppend_FaceCount(m);
    std::vector<uint8_t> moved((size_t)std::max(m->positionCount, 0), 0);
    for (int32_t f = 0; f < n; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        if (face.cornerCount < 3) continue;
        for (int32_t c = 0; c < Corners(face); ++c) {
            const int32_t p = face.corners[c][QVL::CORNER_POS];
            if (!VertexSelected(s, p) || (size_t)p >= moved.size() || (size_t)p >= m->positions.size() || moved[(size_t)p])
                continue;
            moved[(size_t)p] = 1;
            const XYZ d = Model3_NormalAt(m, face.corners[c][QVL::CORNER_NORMAL]);
            XYZ& pos = m->positions[(size_t)p];
            pos.x += d.x, pos.y += d.y, pos.z += d.z;
        }
    }
}

POLY_EXTRUDE_RESULT PolyMesh_ExtrudeFaces(MODEL3* m, POLY_SEL& s, float zoom)
{
    POLY_EXTRUDE_RESULT r{0, 0, false};
    if (!s.faceMode) return r;
    const int32_t n = PolyAppend_FaceCount(m);
    std::vector<int32_t> faces;
    std::vector<XYZ> offsets;
    int64_t corners = 0;
    for (int32_t f = 0; f < n; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        if (!FaceSelected(s, f) || face.cornerCount < 3) continue;
        XYZ d;
        if (!ExtrudeOffset(m, face, zoom, &d)) {
            ++r.skipped;
            continue;
        }
        faces.push_back(f);
        offsets.push_back(d);
        corners += Corners(face);
    }
    if (!PolyAppend_Fits(m, s, corners, 0, 0, 0, corners)) {
        r.refused = true;
        return r;
    }
    if (faces.empty()) return r;
    PolyAppend_Begin(m, corners, corners);
    for (size_t i = 0; i < faces.size(); ++i) {
        const int32_t f = faces[i];
        FACE3 face = m->faces[(size_t)f];
        const int32_t c = Corners(face);
        const XYZ d = offsets[i];
        int32_t v[4];
        for (int32_t k = 0; k < c; ++k) {
            const int32_t old = face.corners[k][QVL::CORNER_POS];
            const XYZ p = Model3_PositionAt(m, old);
            v[k] = PolyAppend_Position(m, XYZ{p.x + d.x, p.y + d.y, p.z + d.z});
        }
        for (int32_t k = 0; k < c; ++k) {
            const int32_t j = k + 1 == c ? 0 : k + 1;
            FACE3 side{};
            side.cornerCount = 4;
            side.group = face.group;
            const int32_t* from[4] = {face.corners[k], face.corners[j], face.corners[j], face.corners[k]};
            const int32_t pos[4] = {face.corners[k][QVL::CORNER_POS], face.corners[j][QVL::CORNER_POS], v[j], v[k]};
            for (int q = 0; q < 4; ++q) {
                side.corners[q][QVL::CORNER_POS] = pos[q];
                side.corners[q][QVL::CORNER_COLOR] = from[q][QVL::CORNER_COLOR];
                side.corners[q][QVL::CORNER_UV] = from[q][QVL::CORNER_UV];
            }
            PolyAppend_Face(m, side);
        }
        FACE3& moved = m->faces[(size_t)f];
        for (int32_t k = 0; k < c; ++k) {
            const int32_t old = moved.corners[k][QVL::CORNER_POS];
            if (old >= 0 && old < s.maxVertices) s.vertexSel[old] = 0;
            moved.corners[k][QVL::CORNER_POS] = v[k];
        }
        ++r.extruded;
    }
    PolyAppend_End(m);
    return r;
}

POLY_CREATE_RESULT PolyMesh_CreateFace(MODEL3* m, const POLY_SEL& s, int32_t group)
{
    POLY_CREATE_RESULT r{0, false};
    const int32_t n = PolyAppend_FaceCount(m);
    FACE3 face{};
    for (int32_t f = 0; f < n && r.corners <= 4; ++f) {
        const FACE3& in = m->faces[(size_t)f];
        for (int32_t c = 0; c < Corners(in) && r.corners <= 4; ++c) {
            const int32_t p = in.corners[c][QVL::CORNER_POS];
            if (!VertexSelected(s, p)) continue;
            bool seen = false;
            for (int32_t k = 0; k < std::min(r.corners, 4); ++k) seen = seen || face.corners[k][QVL::CORNER_POS] == p;
            if (seen) continue;
            if (r.corners < 4) std::copy(in.corners[c], in.corners[c] + 4, face.corners[r.corners]);
            ++r.corners;
        }
    }
    if (r.corners != 3 && r.corners != 4) return r;
    if (!PolyAppend_Fits(m, s, 0, 0, 0, 0, 1)) {
        r.refused = true;
        return r;
    }
    face.cornerCount = (uint8_t)r.corners;
    face.group = group;
    PolyAppend_Begin(m, 0, 1);
    PolyAppend_Face(m, face);
    return r;
}

bool PolyMesh_AddFreePolygon(MODEL3* m, POLY_SEL& s, const float points[4][3], int32_t n, const float pan[3],
                             int32_t group)
{
    if (n < 1 || n > 4) return false;
    int32_t white = -1;
    const int32_t colors = std::min<int32_t>(m->colorCount, (int32_t)m->colors.size());
    for (int32_t i = 0; i < colors; ++i) {
        const QVL::RGBA& c = m->colors[(size_t)i];
        if (c.r == 255.0f && c.g == 255.0f && c.b == 255.0f && c.a == 255.0f) white = i;
    }
    if (!PolyAppend_Fits(m, s, n, 0, white < 0 ? 1 : 0, n, 1)) return false;
    PolyAppend_Begin(m, n, 1);
    if (white < 0) white = PolyAppend_Color(m, QVL::RGBA{255, 255, 255, 255});
    FACE3 face{};
    face.cornerCount = (uint8_t)n;
    face.group = group;
    for (int32_t i = 0; i < n; ++i) {
        const XYZ p{pan[0] + points[i][0], pan[1] + points[i][1], points[i][2] - pan[2]};
        const int32_t v = PolyAppend_Position(m, p, QVL::WEIGHT3{0, 0, 0.0f, 1});
        face.corners[i][QVL::CORNER_POS] = v;
        face.corners[i][QVL::CORNER_COLOR] = white;
        face.corners[i][QVL::CORNER_UV] = PolyAppend_UV(m, QVL::UV2{0, 0});
        if (!s.faceMode) s.vertexSel[v] = 1;
    }
    const int32_t f = PolyAppend_Face(m, face);
    if (s.faceMode) s.faceSel[f] = 1;
    PolyAppend_End(m);
    return true;
}

bool PolyMesh_AddPrimitive(MODEL3* m, POLY_SEL& s, const MODEL3* src, float zoom, const float pan[3], int32_t group)
{
    const int32_t positions = std::max(src->positionCount, 0);
    const int64_t corners = CornerTotal(src);
    const int32_t faces = PolyAppend_FaceCount(src);
    if (!PolyAppend_Fits(m, s, positions, corners, corners, corners, faces)) return false;
    PolyAppend_Begin(m, std::max<int64_t>(positions, corners), faces);
    const int32_t v0 = m->positionCount;
    for (int32_t p = 0; p < positions; ++p) {
        const XYZ q = Model3_PositionAt(src, p);
        const int32_t v = PolyAppend_Position(
            m, XYZ{zoom * q.x * 0.25f + pan[0], zoom * q.y * 0.25f + pan[1], zoom * q.z * 0.25f + pan[2]},
            QVL::WEIGHT3{1, 0, 1.0f, 1});
        s.vertexSel[v] = 1;
    }
    AppendFaces(m, s, src, v0, 0, group);
    PolyAppend_End(m);
    return true;
}

POLY_ADD_RESULT PolyMesh_AddModel(MODEL3* m, POLY_SEL& s, const MODEL3* src)
{
    const int32_t positions = std::max(src->positionCount, 0);
    const int64_t corners = CornerTotal(src);
    const int32_t faces = PolyAppend_FaceCount(src);
    if (!PolyAppend_Fits(m, s, positions, corners, corners, corners, faces)) return ADD_TOO_MANY_VERTICES;
    const int32_t g0 = std::max(m->groupCount, 0);
    const int32_t t0 = std::max<int32_t>(m->textureCount, 0);
    const int32_t groups = std::clamp(src->groupCount, 0, QVL::kModel3Groups);
    const int32_t textures = std::clamp<int32_t>(src->textureCount, 0, QVL::kModel3Textures);
    if (g0 + groups > QVL::kModel3Groups || (size_t)(g0 + groups) > m->groups.size() ||
        (size_t)groups > src->groups.size())
        return ADD_TOO_MANY_GROUPS;
    if (t0 + textures > QVL::kModel3Textures || (size_t)(t0 + textures) > m->textures.size() ||
        (size_t)textures > src->textures.size())
        return ADD_TOO_MANY_TEXTURES;
    PolyAppend_Begin(m, std::max<int64_t>(positions, corners), faces);
    const int32_t v0 = m->positionCount;
    for (int32_t p = 0; p < positions; ++p) {
        const int32_t v = PolyAppend_Position(m, Model3_PositionAt(src, p), Model3_WeightAt(src, p));
        s.vertexSel[v] = 1;
    }
    AppendFaces(m, s, src, v0, g0, -1);
    for (int32_t g = 0; g < groups; ++g) {
        QVL::GROUP3& out = m->groups[(size_t)(g0 + g)];
        out = src->groups[(size_t)g];
        const int32_t t = out.texture;
        out.texture = t >= 0 && t < textures ? t + t0 : 0;
    }
    m->groupCount = g0 + groups;
    for (int32_t t = 0; t < textures; ++t) m->textures[(size_t)(t0 + t)] = src->textures[(size_t)t];
    m->textureCount = (int16_t)(t0 + textures);
    PolyAppend_End(m);
    return ADD_DONE;
}
