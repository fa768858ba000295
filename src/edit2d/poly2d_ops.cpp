// The 2D polygon operations.
#include "edit2d/poly2d_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <queue>
#include <vector>

#include "model/exact_index.h"

using QVL::FACE2;
using QVL::MODEL2;
using QVL::RGBA2;
using QVL::UV2D;
using QVL::WEIGHT2;
using QVL::XY2;

namespace {

constexpr WEIGHT2 kNewBinding{0, 0, 0.0f, 1};

int32_t PolyCount(const MODEL2* m)
{
    return std::max(0, std::min(m->polygonCount, (int32_t)m->polygons.size()));
}
int32_t Corners(const FACE2& f) { return std::min<int32_t>(f.cornerCount, 4); }
bool FaceSelected(const POLY2D_SEL& s, int32_t f) { return f >= 0 && f < s.maxPolygons && s.faceSel[f]; }
bool VertexSelected(const POLY2D_SEL& s, int32_t v) { return v < s.maxVertices && s.vertexSel[v]; }
void SelectVertex(const POLY2D_SEL& s, int32_t v)
{
    if (v < s.maxVertices) s.vertexSel[v] = 1;
}
void SelectFace(const POLY2D_SEL& s, int32_t f)
{
    if (f >= 0 && f < s.maxPolygons) s.faceSel[f] = 1;
}

XY2 VertexAt(const MODEL2* m, int32_t i)
{
    return (size_t)i < m->vertices.size() && i < m->vertexCount ? m->vertices[(size_t)i] : XY2{0, 0};
}
RGBA2 ColourAt(const MODEL2* m, int32_t i)
{
    return (size_t)i < m->colors.size() && i < m->colorCount ? m->colors[(size_t)i] : RGBA2{0, 0, 0, 0};
}
UV2D UvAt(const MODEL2* m, int32_t i)
{
    return (size_t)i < m->uvs.size() && i < m->uvCount ? m->uvs[(size_t)i] : UV2D{0, 0};
}

// Keeps every array at least as long as its count before entries are written at the counts.
void Fit(MODEL2* m)
{
    if (m->vertices.size() < m->vertexCount) m->vertices.resize(m->vertexCount, XY2{0, 0});
    if (m->bindings.size() < m->vertexCount) m->bindings.resize(m->vertexCount, kNewBinding);
    if (m->deformed.size() < m->vertexCount) m->deformed.resize(m->vertexCount, XY2{0, 0});
    if (m->colors.size() < m->colorCount) m->colors.resize(m->colorCount, RGBA2{0, 0, 0, 0});
    if (m->uvs.size() < m->uvCount) m->uvs.resize(m->uvCount, UV2D{0, 0});
    if (m->polygonCount < 0) m->polygonCount = 0;
    if (m->polygons.size() < (size_t)m->polygonCount) m->polygons.resize((size_t)m->polygonCount, FACE2{});
}

template <class T>
uint16_t Put(std::vector<T>& array, uint16_t& count, const T& value)
{
    if (array.size() > count) array[count] = value;
    else array.push_back(value);
    return count++;
}

uint16_t AddVertex(MODEL2* m, XY2 p, WEIGHT2 binding = kNewBinding)
{
    const uint16_t i = m->vertexCount;
    if (m->bindings.size() > i) m->bindings[i] = binding;
    else m->bindings.push_back(binding);
    if (m->deformed.size() > i) m->deformed[i] = p;
    else m->deformed.push_back(p);
    return Put(m->vertices, m->vertexCount, p);
}
uint16_t AddColour(MODEL2* m, RGBA2 c) { return Put(m->colors, m->colorCount, c); }
uint16_t AddUv(MODEL2* m, UV2D uv) { return Put(m->uvs, m->uvCount, uv); }

int32_t AppendPolygon(MODEL2* m, const FACE2& f)
{
    const int32_t i = m->polygonCount;
    if (m->polygons.size() > (size_t)i) m->polygons[(size_t)i] = f;
    else m->polygons.push_back(f);
    ++m->polygonCount;
    return i;
}

bool SameColour(const RGBA2& a, const RGBA2& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

// The last colour equal to c, or -1.
int32_t FindColour(const MODEL2* m, const RGBA2& c)
{
    for (int32_t i = std::min<int32_t>(m->colorCount, (int32_t)m->colors.size()) - 1; i >= 0; --i)
        if (SameColour(m->colors[(size_t)i], c)) return i;
    return -1;
}

} // namespace

bool Poly2DOps_HasRoom(const MODEL2* m, const POLY2D_SEL& s, int64_t vertices, int64_t colours, int64_t uvs,
                       int64_t polygons)
{
    const int64_t vertexLimit = std::min<int64_t>(kPoly2DCountLimit, s.maxVertices);
    return m->vertexCount + vertices <= vertexLimit && m->colorCount + colours <= kPoly2DCountLimit &&
           m->uvCount + uvs <= kPoly2DCountLimit && (int64_t)std::max(0, m->polygonCount) + polygons <= s.maxPolygons;
}

void Poly2DOps_ClearSelection(const POLY2D_SEL& s)
{
    std::fill(s.vertexSel, s.vertexSel + s.maxVertices, 0);
    std::fill(s.faceSel, s.faceSel + s.maxPolygons, 0);
}

void Poly2DOps_SetMode(POLY2D_SEL& s, int32_t faceMode)
{
    if (s.faceMode != faceMode) Poly2DOps_ClearSelection(s);
    s.faceMode = faceMode;
}

void Poly2DOps_SelectAll(const POLY2D_SEL& s)
{
    const bool anyClear = std::find(s.vertexSel, s.vertexSel + s.maxVertices, 0) != s.vertexSel + s.maxVertices ||
                          std::find(s.faceSel, s.faceSel + s.maxPolygons, 0) != s.faceSel + s.maxPolygons;
    std::fill(s.vertexSel, s.vertexSel + s.maxVertices, anyClear ? 1 : 0);
    std::fill(s.faceSel, s.faceSel + s.maxPolygons, anyClear ? 1 : 0);
}

void Poly2DOps_InvertSelection(const POLY2D_SEL& s)
{
    for (int32_t i = 0; i < s.maxVertices; ++i) s.vertexSel[i] = !s.vertexSel[i];
    for (int32_t i = 0; i < s.maxPolygons; ++i) s.faceSel[i] = !s.faceSel[i];
}

void Poly2DOps_DeleteLeftHalf(MODEL2* m, const POLY2D_SEL& s)
{
    Poly2DOps_ClearSelection(s);
    const int32_t n = PolyCount(m);
    for (int32_t f = 0; f < n; ++f) {
        FACE2& face = m->polygons[(size_t)f];
        if (!face.used) continue;
        bool left = true;
        for (int32_t k = 0; k < Corners(face) && left; ++k) left = VertexAt(m, face.corners[k][0]).x <= 0;
        if (left) face.used = 0;
    }
}

POLY2D_RESULT Poly2DOps_Flip(MODEL2* m, const POLY2D_SEL& s)
{
    if (!s.faceMode) return POLY2D_NEED_FACE_MODE;
    const int32_t n = PolyCount(m);
    for (int32_t f = 0; f < n; ++f) {
        FACE2& face = m->polygons[(size_t)f];
        if (!face.used || !FaceSelected(s, f)) continue;
        const int32_t c = Corners(face);
        for (int32_t k = 0; k < c / 2; ++k)
            for (int32_t j = 0; j < 3; ++j) std::swap(face.corners[k][j], face.corners[c - 1 - k][j]);
    }
    return POLY2D_DONE;
}

POLY2D_RESULT Poly2DOps_RemoveFaces(MODEL2* m, const POLY2D_SEL& s)
{
    if (!s.faceMode) return POLY2D_NEED_FACE_MODE;
    Fit(m);
    const int32_t n = PolyCount(m);
    int64_t added = 0;
    for (int32_t f = 0; f < n; ++f) {
        const FACE2& face = m->polygons[(size_t)f];
        if (face.used && FaceSelected(s, f) && Corners(face) >= 2) added += Corners(face) - 1;
    }
    if (!Poly2DOps_HasRoom(m, s, 0, 0, 0, added)) return POLY2D_LIMIT;
    for (int32_t f = 0; f < n; ++f) {
        FACE2 face = m->polygons[(size_t)f];
        if (!face.used || !FaceSelected(s, f) || Corners(face) < 2) continue;
        for (int32_t k = 1; k < Corners(face); ++k) {
            FACE2 point{};
            point.used = 1;
            point.cornerCount = 1;
            point.group = face.group;
            std::memcpy(point.corners[0], face.corners[k], sizeof point.corners[0]);
            AppendPolygon(m, point);
        }
        m->polygons[(size_t)f].cornerCount = 1;
    }
    return POLY2D_DONE;
}

void Poly2DOps_DeleteSelected(MODEL2* m, const POLY2D_SEL& s)
{
    const int32_t n = PolyCount(m);
    for (int32_t f = 0; f < n; ++f) {
        FACE2& face = m->polygons[(size_t)f];
        if (s.faceMode) {
            if (FaceSelected(s, f)) face.used = 0;
            continue;
        }
        int32_t kept = 0;
        for (int32_t k = 0; k < Corners(face); ++k) {
            if (VertexSelected(s, face.corners[k][0])) continue;
            if (kept != k) std::memcpy(face.corners[kept], face.corners[k], sizeof face.corners[0]);
            ++kept;
        }
        face.cornerCount = (uint8_t)kept;
        if (!kept) face.used = 0;
    }
    std::fill(s.faceSel, s.faceSel + std::min(n, s.maxPolygons), 0);
    std::fill(s.vertexSel, s.vertexSel + s.maxVertices, 0);
}

POLY2D_RESULT Poly2DOps_Copy(const MODEL2* m, const POLY2D_SEL& s, MODEL2* clip)
{
    if (!s.faceMode) return POLY2D_NEED_FACE_MODE;
    clip->vertexCount = m->vertexCount;
    clip->colorCount = m->colorCount;
    clip->uvCount = m->uvCount;
    clip->vertices = m->vertices;
    clip->colors = m->colors;
    clip->uvs = m->uvs;
    clip->bindings = m->bindings;
    clip->polygons.clear();
    clip->polygonCount = 0;
    Fit(clip);
    const int32_t n = PolyCount(m);
    for (int32_t f = 0; f < n; ++f)
        if (FaceSelected(s, f)) AppendPolygon(clip, m->polygons[(size_t)f]);
    return POLY2D_DONE;
}

POLY2D_RESULT Poly2DOps_Paste(MODEL2* m, const POLY2D_SEL& s, const MODEL2* clip)
{
    const int32_t n = PolyCount(clip);
    if (!Poly2DOps_HasRoom(m, s, clip->vertexCount, clip->colorCount, clip->uvCount, n)) return POLY2D_LIMIT;
    Fit(m);
    const int32_t v0 = m->vertexCount, c0 = m->colorCount, u0 = m->uvCount;
    for (int32_t i = 0; i < clip->vertexCount; ++i) AddVertex(m, VertexAt(clip, i));
    for (int32_t i = 0; i < clip->colorCount; ++i) AddColour(m, ColourAt(clip, i));
    for (int32_t i = 0; i < clip->uvCount; ++i) AddUv(m, UvAt(clip, i));
    for (int32_t f = 0; f < n; ++f) {
        FACE2 face = clip->polygons[(size_t)f];
        if (face.used) {
            for (int32_t k = 0; k < 4; ++k) {
                face.corners[k][0] = (uint16_t)(face.corners[k][0] + v0);
                face.corners[k][1] = (uint16_t)(face.corners[k][1] + c0);
                face.corners[k][2] = (uint16_t)(face.corners[k][2] + u0);
            }
        } else {
            face = FACE2{};
        }
        AppendPolygon(m, face);
    }
    Poly2DOps_Optimise(m, s);
    return POLY2D_DONE;
}

void Poly2DOps_Optimise(MODEL2* m, const POLY2D_SEL& s)
{
    Fit(m);
    const int32_t n = PolyCount(m);
    std::fill(s.faceSel, s.faceSel + std::min(n, s.maxPolygons), 0);
    std::fill(s.vertexSel, s.vertexSel + s.maxVertices, 0);
    // The scratch copy the new arrays are built from.
    const std::vector<XY2> oldVertices(m->vertices.begin(), m->vertices.begin() + m->vertexCount);
    const std::vector<RGBA2> oldColours(m->colors.begin(), m->colors.begin() + m->colorCount);
    const std::vector<UV2D> oldUvs(m->uvs.begin(), m->uvs.begin() + m->uvCount);
    std::vector<FACE2> oldPolygons(m->polygons.begin(), m->polygons.begin() + n);
    auto at = [](const auto& array, uint16_t i, auto zero) { return i < array.size() ? array[i] : zero; };
    QVL::ExactIndex<2> vertexIndex(oldVertices.size());
    QVL::ExactIndex<4> colourIndex(oldColours.size());
    QVL::ExactIndex<2> uvIndex(oldUvs.size());
    m->vertexCount = m->colorCount = m->uvCount = 0;
    for (FACE2& face : m->polygons) face.used = 0;
    m->polygonCount = 0;
    for (FACE2& face : oldPolygons) {
        if (!face.used || !Corners(face)) continue;
        for (int32_t k = 0; k < Corners(face); ++k) {
            uint16_t* c = face.corners[k];
            const XY2 p = at(oldVertices, c[0], XY2{0, 0});
            const RGBA2 col = at(oldColours, c[1], RGBA2{0, 0, 0, 0});
            const UV2D uv = at(oldUvs, c[2], UV2D{0, 0});
            const int32_t vi = vertexIndex.FindOrAdd(&p.x, m->vertexCount);
            const int32_t ci = colourIndex.FindOrAdd(&col.r, m->colorCount);
            const int32_t ui = uvIndex.FindOrAdd(&uv.u, m->uvCount);
            // Bindings stay where they are: binding i goes with whatever vertex gets index i.
            if (vi < 0) c[0] = Put(m->vertices, m->vertexCount, p);
            else c[0] = (uint16_t)vi;
            c[1] = ci < 0 ? AddColour(m, col) : (uint16_t)ci;
            c[2] = ui < 0 ? AddUv(m, uv) : (uint16_t)ui;
        }
        AppendPolygon(m, face);
    }
}

POLY2D_RESULT Poly2DOps_AddPrimitive(MODEL2* m, const POLY2D_SEL& s, int32_t corners, int32_t group)
{
    static const float kTriangle[3][2] = {{0, -1}, {1, 1}, {-1, 1}};
    static const float kQuad[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    const float(*unit)[2] = corners == 3 ? kTriangle : kQuad;
    if (corners != 3) corners = 4;
    if (!Poly2DOps_HasRoom(m, s, corners, corners, corners, 1)) return POLY2D_LIMIT;
    Fit(m);
    Poly2DOps_ClearSelection(s);
    FACE2 face{};
    face.used = 1;
    face.cornerCount = (uint8_t)corners;
    face.group = group;
    for (int32_t k = 0; k < corners; ++k) {
        face.corners[k][0] = AddVertex(m, XY2{unit[k][0] * 32, unit[k][1] * 32});
        face.corners[k][1] = AddColour(m, RGBA2{255, 255, 255, 255});
        face.corners[k][2] = AddUv(m, UV2D{(unit[k][0] + 1) / 2, (unit[k][1] + 1) / 2});
        SelectVertex(s, face.corners[k][0]);
    }
    SelectFace(s, AppendPolygon(m, face));
    return POLY2D_DONE;
}

POLY2D_RESULT Poly2DOps_AddCircle(MODEL2* m, const POLY2D_SEL& s, int32_t group)
{
    if (!Poly2DOps_HasRoom(m, s, 48, 48, 48, 16)) return POLY2D_LIMIT;
    Fit(m);
    Poly2DOps_ClearSelection(s);
    auto point = [](double degrees) {
        const double r = degrees * 3.14159265358979323846 / 180.0;
        return XY2{(float)(32 * std::sin(r)), (float)(-32 * std::cos(r))};
    };
    for (int32_t i = 1; i <= 16; ++i) {
        const double a = 22.5 * i;
        const XY2 p[3] = {point(a - 22.5), point(a), XY2{0, 0}};
        FACE2 face{};
        face.used = 1;
        face.cornerCount = 3;
        face.group = group;
        for (int32_t k = 0; k < 3; ++k) {
            face.corners[k][0] = AddVertex(m, p[k]);
            face.corners[k][1] = AddColour(m, RGBA2{255, 255, 255, 255});
            face.corners[k][2] = AddUv(m, UV2D{0, 0});
            SelectVertex(s, face.corners[k][0]);
        }
        SelectFace(s, AppendPolygon(m, face));
    }
    return POLY2D_DONE;
}

POLY2D_RESULT Poly2DOps_FreeCreate(MODEL2* m, const POLY2D_SEL& s, const float (*points)[3], int32_t n, int32_t group)
{
    n = std::max(1, std::min(n, 4));
    const RGBA2 white{255, 255, 255, 255};
    int32_t colour = FindColour(m, white);
    if (!Poly2DOps_HasRoom(m, s, n, colour < 0 ? 1 : 0, 0, 1)) return POLY2D_LIMIT;
    Fit(m);
    if (colour < 0) colour = AddColour(m, white);
    // The corner UVs are left as the slot holds them.
    FACE2 face = m->polygons.size() > (size_t)m->polygonCount ? m->polygons[(size_t)m->polygonCount] : FACE2{};
    face.used = 1;
    face.cornerCount = (uint8_t)n;
    face.group = group;
    for (int32_t j = 0; j < n; ++j) {
        face.corners[j][0] = AddVertex(m, XY2{points[j][0], points[j][1]}, WEIGHT2{0, 0, 0.0f, 1});
        face.corners[j][1] = (uint16_t)colour;
        if (!s.faceMode) SelectVertex(s, face.corners[j][0]);
    }
    const int32_t f = AppendPolygon(m, face);
    if (s.faceMode) SelectFace(s, f);
    return POLY2D_DONE;
}

POLY2D_RESULT Poly2DOps_MakeFace(MODEL2* m, const POLY2D_SEL& s)
{
    const int32_t n = PolyCount(m);
    FACE2 face{};
    int32_t corners = 0;
    for (int32_t f = 0; f < n && corners < 4; ++f) {
        const FACE2& src = m->polygons[(size_t)f];
        for (int32_t k = 0; k < Corners(src) && corners < 4; ++k)
            if (VertexSelected(s, src.corners[k][0]))
                std::memcpy(face.corners[corners++], src.corners[k], sizeof face.corners[0]);
    }
    if (corners < 2) return POLY2D_TOO_FEW;
    if (!Poly2DOps_HasRoom(m, s, 0, 0, 0, 1)) return POLY2D_LIMIT;
    Fit(m);
    face.used = 1;
    face.cornerCount = (uint8_t)corners;
    face.group = 0;
    AppendPolygon(m, face);
    return POLY2D_DONE;
}

POLY2D_RESULT Poly2DOps_ApplyColour(MODEL2* m, const POLY2D_SEL& s, const int32_t rgba[4])
{
    const RGBA2 c{(float)std::clamp(rgba[0], 0, 255), (float)std::clamp(rgba[1], 0, 255),
                  (float)std::clamp(rgba[2], 0, 255), (float)std::clamp(rgba[3], 0, 255)};
    int32_t colour = FindColour(m, c);
    if (colour < 0) {
        if (!Poly2DOps_HasRoom(m, s, 0, 1, 0, 0)) return POLY2D_LIMIT;
        Fit(m);
        colour = AddColour(m, c);
    }
    const int32_t n = PolyCount(m);
    for (int32_t f = 0; f < n; ++f) {
        FACE2& face = m->polygons[(size_t)f];
        if (s.faceMode && (!face.used || !FaceSelected(s, f))) continue;
        for (int32_t k = 0; k < Corners(face); ++k)
            if (VertexSelected(s, face.corners[k][0])) face.corners[k][1] = (uint16_t)colour;
    }
    return POLY2D_DONE;
}

namespace {

POLY2D_RESULT MergeVertices(MODEL2* m, const POLY2D_SEL& s)
{
    const int32_t n = PolyCount(m);
    int32_t count = 0, target = 0;
    for (int32_t f = 0; f < n; ++f) {
        const FACE2& face = m->polygons[(size_t)f];
        for (int32_t k = 0; k < Corners(face); ++k)
            if (VertexSelected(s, face.corners[k][0])) ++count, target = face.corners[k][0];
    }
    if (count < 2) return POLY2D_NOTHING;
    for (int32_t f = 0; f < n; ++f) {
        FACE2& face = m->polygons[(size_t)f];
        int32_t redirected = 0, second = -1;
        for (int32_t k = 0; k < Corners(face); ++k) {
            if (!VertexSelected(s, face.corners[k][0])) continue;
            face.corners[k][0] = (uint16_t)target;
            if (++redirected == 2) second = k;
        }
        if (second < 0) continue;
        for (int32_t k = second; k + 1 < Corners(face); ++k)
            std::memcpy(face.corners[k], face.corners[k + 1], sizeof face.corners[0]);
        face.cornerCount = (uint8_t)(Corners(face) - 1);
        if (!face.cornerCount) face.used = 0;
    }
    return POLY2D_DONE;
}

// Vertex indices grouped by exact position: equal class, equal position. -1 for an index past the
// vertex array, which matches nothing.
struct VERTEX_CLASSES {
    std::vector<int32_t> of;
    explicit VERTEX_CLASSES(const MODEL2* m)
    {
        const int32_t count = std::min<int32_t>(m->vertexCount, (int32_t)m->vertices.size());
        of.assign((size_t)count, -1);
        QVL::ExactIndex<2> index((size_t)count);
        for (int32_t i = 0; i < count; ++i) {
            const int32_t seen = index.FindOrAdd(&m->vertices[(size_t)i].x, i);
            of[(size_t)i] = seen < 0 ? (QVL::ExactIndex<2>::Comparable(&m->vertices[(size_t)i].x) ? i : -1) : seen;
        }
    }
    int32_t Of(int32_t v) const { return (size_t)v < of.size() ? of[(size_t)v] : -1; }
};

// Earlier polygon j takes two of later polygon b's vertices when they share exactly two corner
// positions. True when b is to be dropped.
bool MergePair(FACE2& j, const FACE2& b, const VERTEX_CLASSES& cls)
{
    int32_t matches = 0, a1 = 0, b1 = 0, a2 = 0, b2 = 0;
    const int32_t nj = Corners(j), nb = Corners(b);
    for (int32_t i = 0; i < nj; ++i) {
        const int32_t c = cls.Of(j.corners[i][0]);
        if (c < 0) continue;
        for (int32_t k = 0; k < nb; ++k) {
            if (cls.Of(b.corners[k][0]) != c) continue;
            if (matches == 0) b1 = i, a1 = k;
            b2 = i, a2 = k;
            ++matches;
        }
    }
    if (matches != 2) return false;
    auto next = [nb](int32_t k) { return k + 1 >= nb ? 0 : k + 1; };
    auto prev = [nb](int32_t k) { return k - 1 < 0 ? nb - 1 : k - 1; };
    int32_t t1 = next(a1);
    if (t1 == a1 || t1 == a2) t1 = prev(a1);
    int32_t t2 = next(a2);
    if (t2 == a2 || t2 == a1) t2 = prev(a2);
    const uint16_t v1 = b.corners[t1][0], v2 = b.corners[t2][0];
    j.corners[b1][0] = v1;
    j.corners[b2][0] = v2;
    return true;
}

// One pass in pair order; the later polygons sharing a position with j are found through the
// position classes instead of trying every pair.
int32_t MergePass(MODEL2* m, const POLY2D_SEL& s, const VERTEX_CLASSES& cls)
{
    const int32_t n = PolyCount(m);
    auto live = [&](int32_t f) { return m->polygons[(size_t)f].used && FaceSelected(s, f); };
    std::vector<std::vector<int32_t>> facesAt(cls.of.size());
    for (int32_t f = 0; f < n; ++f) {
        if (!live(f)) continue;
        const FACE2& face = m->polygons[(size_t)f];
        for (int32_t k = 0; k < Corners(face); ++k) {
            const int32_t c = cls.Of(face.corners[k][0]);
            if (c < 0) continue;
            std::vector<int32_t>& list = facesAt[(size_t)c];
            if (list.empty() || list.back() != f) list.push_back(f);
        }
    }
    std::vector<int32_t> queuedFor((size_t)n, -1);
    std::priority_queue<int32_t, std::vector<int32_t>, std::greater<int32_t>> later;
    int32_t merged = 0;
    for (int32_t j = 0; j < n; ++j) {
        if (!live(j)) continue;
        FACE2& fj = m->polygons[(size_t)j];
        auto queue = [&](int32_t after) {
            for (int32_t k = 0; k < Corners(fj); ++k) {
                const int32_t c = cls.Of(fj.corners[k][0]);
                if (c < 0) continue;
                const std::vector<int32_t>& list = facesAt[(size_t)c];
                for (auto it = std::upper_bound(list.begin(), list.end(), after); it != list.end(); ++it) {
                    if (queuedFor[(size_t)*it] == j) continue;
                    queuedFor[(size_t)*it] = j;
                    later.push(*it);
                }
            }
        };
        queue(j);
        while (!later.empty()) {
            const int32_t b = later.top();
            later.pop();
            if (!live(b) || !MergePair(fj, m->polygons[(size_t)b], cls)) continue;
            m->polygons[(size_t)b].used = 0;
            ++merged;
            queue(b);
        }
    }
    return merged;
}

} // namespace

POLY2D_RESULT Poly2DOps_Merge(MODEL2* m, const POLY2D_SEL& s)
{
    if (!s.faceMode) return MergeVertices(m, s);
    const VERTEX_CLASSES cls(m);
    while (MergePass(m, s, cls)) {
    }
    return POLY2D_DONE;
}

POLY2D_RESULT Poly2DOps_Split(MODEL2* m, const POLY2D_SEL& s)
{
    if (!s.faceMode) return POLY2D_NEED_FACE_MODE;
    const int32_t n = PolyCount(m);
    int64_t quads = 0;
    bool triangle = false;
    for (int32_t f = 0; f < n; ++f) {
        const FACE2& face = m->polygons[(size_t)f];
        if (!face.used || !FaceSelected(s, f)) continue;
        if (face.cornerCount == 4) ++quads;
        else if (face.cornerCount == 3) triangle = true;
    }
    if (!Poly2DOps_HasRoom(m, s, 16 * quads, 16 * quads, 16 * quads, 4 * quads)) return POLY2D_LIMIT;
    Fit(m);
    for (int32_t f = 0; f < n; ++f) {
        const FACE2 face = m->polygons[(size_t)f];
        if (!face.used || !FaceSelected(s, f) || face.cornerCount != 4) continue;
        XY2 p[4];
        for (int32_t k = 0; k < 4; ++k) p[k] = VertexAt(m, face.corners[k][0]);
        const XY2 z{(p[0].x + p[1].x + p[2].x + p[3].x) / 4, (p[0].y + p[1].y + p[2].y + p[3].y) / 4};
        auto mid = [](XY2 a, XY2 b) { return XY2{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
        for (int32_t k = 0; k < 4; ++k) {
            XY2 q[4];
            q[k] = p[k];
            q[(k + 2) & 3] = z;
            q[(k + 1) & 3] = mid(p[k], p[(k + 1) & 3]);
            q[(k + 3) & 3] = mid(p[(k + 3) & 3], p[k]);
            const RGBA2 colour = ColourAt(m, face.corners[k][1]);
            const UV2D uv = UvAt(m, face.corners[k][2]);
            FACE2 quad{};
            quad.used = 1;
            quad.cornerCount = 4;
            quad.group = 0;
            for (int32_t c = 0; c < 4; ++c) {
                quad.corners[c][0] = AddVertex(m, q[c]);
                quad.corners[c][1] = AddColour(m, colour);
                quad.corners[c][2] = AddUv(m, uv);
                SelectVertex(s, quad.corners[c][0]);
            }
            SelectFace(s, AppendPolygon(m, quad));
        }
        m->polygons[(size_t)f].used = 0;
        s.faceSel[f] = 0;
    }
    return triangle ? POLY2D_ONLY_QUADS : POLY2D_DONE;
}

POLY2D_RESULT Poly2DOps_AddModel3(MODEL2* m, const POLY2D_SEL& s, const QVL::MODEL3* src, int32_t group)
{
    const int32_t positions = std::max(0, src->positionCount);
    const int32_t faces = std::max(0, std::min(src->faceCount, (int32_t)src->faces.size()));
    int64_t corners = 0;
    for (int32_t j = 0; j < faces; ++j) corners += std::min<int32_t>(src->faces[(size_t)j].cornerCount, 4);
    if (!Poly2DOps_HasRoom(m, s, positions, corners, corners, faces)) return POLY2D_LIMIT;
    Poly2DOps_ClearSelection(s);
    Fit(m);
    const int32_t v0 = m->vertexCount;
    for (int32_t i = 0; i < positions; ++i) {
        const QVL::XYZ p = Model3_PositionAt(src, i);
        SelectVertex(s, AddVertex(m, XY2{p.x, p.y}));
    }
    for (int32_t j = 0; j < faces; ++j) {
        const QVL::FACE3& f3 = src->faces[(size_t)j];
        FACE2 face{};
        face.used = 1;
        face.cornerCount = (uint8_t)std::min<int32_t>(f3.cornerCount, 4);
        face.group = group;
        for (int32_t k = 0; k < face.cornerCount; ++k) {
            const int32_t p = f3.corners[k][QVL::CORNER_POS];
            // A corner naming no position of the file takes the first new vertex.
            face.corners[k][0] = (uint16_t)(v0 + (p >= 0 && p < positions ? p : 0));
            const QVL::RGBA c = Model3_ColorAt(src, f3.corners[k][QVL::CORNER_COLOR]);
            const QVL::UV2 uv = Model3_UVAt(src, f3.corners[k][QVL::CORNER_UV]);
            face.corners[k][1] = AddColour(m, RGBA2{c.r, c.g, c.b, c.a});
            face.corners[k][2] = AddUv(m, UV2D{uv.u, uv.v});
        }
        SelectFace(s, AppendPolygon(m, face));
    }
    return POLY2D_DONE;
}
