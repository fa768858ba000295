// The polygon screen's mesh operations.
#include "edit3d/poly_mesh.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <queue>

#include "model/exact_index.h"

using QVL::FACE3;
using QVL::MODEL3;

namespace {

int32_t FaceCount(const MODEL3* m)
{
    int32_t n = m->faceCount;
    if (n < 0) return 0;
    return (size_t)n > m->faces.size() ? (int32_t)m->faces.size() : n;
}

int32_t Corners(const FACE3& f) { return f.cornerCount > 4 ? 4 : f.cornerCount; }

bool FaceSelected(const POLY_SEL& s, int32_t f) { return f < s.maxPolygons && s.faceSel[f] == 1; }

bool VertexSelected(const POLY_SEL& s, int32_t p) { return p >= 0 && p < s.maxVertices && s.vertexSel[p] == 1; }

void ClearFlags(int32_t* flags, int32_t count)
{
    std::fill(flags, flags + (count > 0 ? count : 0), 0);
}

// Appends a zero-filled face record after the face count.
FACE3& AppendFace(MODEL3* m)
{
    FACE3 zero{};
    if ((size_t)m->faceCount < m->faces.size()) m->faces[(size_t)m->faceCount] = zero;
    else m->faces.push_back(zero);
    return m->faces[(size_t)m->faceCount++];
}

} // namespace

void PolyMesh_RemoveFace(MODEL3* m, POLY_SEL& s, int32_t i)
{
    const int32_t n = FaceCount(m);
    if (i < 0 || i >= n) return;
    for (int32_t f = i; f + 1 < n; ++f) {
        m->faces[(size_t)f] = m->faces[(size_t)f + 1];
        if (f + 1 < s.maxPolygons) s.faceSel[f] = s.faceSel[f + 1];
    }
    m->faceCount = n - 1;
}

void PolyMesh_Compact(MODEL3* m, POLY_SEL& s, const std::vector<uint8_t>& keep)
{
    const int32_t n = FaceCount(m);
    int32_t w = 0;
    for (int32_t f = 0; f < n; ++f) {
        if (!keep[(size_t)f]) continue;
        if (w != f) {
            m->faces[(size_t)w] = m->faces[(size_t)f];
            if (f < s.maxPolygons) s.faceSel[w] = s.faceSel[f];
        }
        ++w;
    }
    m->faceCount = w;
}

void PolyMesh_Flip(MODEL3* m, const POLY_SEL& s)
{
    if (!s.faceMode) return;
    const int32_t n = FaceCount(m);
    for (int32_t f = 0; f < n; ++f) {
        if (!FaceSelected(s, f)) continue;
        FACE3& face = m->faces[(size_t)f];
        const int32_t c = Corners(face);
        for (int32_t k = 0; k < c / 2; ++k) {
            int32_t* a = face.corners[k];
            int32_t* b = face.corners[c - 1 - k];
            std::swap(a[QVL::CORNER_POS], b[QVL::CORNER_POS]);
            std::swap(a[QVL::CORNER_COLOR], b[QVL::CORNER_COLOR]);
            std::swap(a[QVL::CORNER_UV], b[QVL::CORNER_UV]);
        }
    }
}

void PolyMesh_RotateColorNumbers(MODEL3* m, const POLY_SEL& s)
{
    if (!s.faceMode) return;
    const int32_t n = FaceCount(m);
    for (int32_t f = 0; f < n; ++f) {
        if (!FaceSelected(s, f)) continue;
        FACE3& face = m->faces[(size_t)f];
        const int32_t c = Corners(face);
        if (c < 1) continue;
        const int32_t last = face.corners[c - 1][QVL::CORNER_COLOR];
        for (int32_t k = c - 1; k > 0; --k) face.corners[k][QVL::CORNER_COLOR] = face.corners[k - 1][QVL::CORNER_COLOR];
        face.corners[0][QVL::CORNER_COLOR] = last;
    }
}

void PolyMesh_DeleteSelection(MODEL3* m, POLY_SEL& s)
{
    const int32_t n = FaceCount(m);
    std::vector<uint8_t> keep((size_t)n, 1);
    for (int32_t f = 0; f < n; ++f) {
        FACE3& face = m->faces[(size_t)f];
        if (s.faceMode) {
            keep[(size_t)f] = !FaceSelected(s, f);
            continue;
        }
        const int32_t c = Corners(face);
        int32_t gathered[4][4];
        int32_t g = 0;
        for (int32_t k = 0; k < c; ++k) {
            if (VertexSelected(s, face.corners[k][QVL::CORNER_POS])) continue;
            std::copy(face.corners[k], face.corners[k] + 4, gathered[g++]);
        }
        if (g == c) continue;
        face.cornerCount = (uint8_t)g;
        if (g < 3) {
            keep[(size_t)f] = 0;
            continue;
        }
        for (int32_t k = 0; k < 3; ++k) std::copy(gathered[k], gathered[k] + 4, face.corners[k]);
    }
    PolyMesh_Compact(m, s, keep);
    ClearFlags(s.faceSel, std::min(FaceCount(m), s.maxPolygons));
    ClearFlags(s.vertexSel, s.maxVertices);
}

void PolyMesh_DeleteLeftHalf(MODEL3* m, POLY_SEL& s)
{
    ClearFlags(s.faceSel, s.maxPolygons);
    ClearFlags(s.vertexSel, s.maxVertices);
    const int32_t n = FaceCount(m);
    std::vector<uint8_t> keep((size_t)n, 1);
    for (int32_t f = 0; f < n; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        bool left = true;
        for (int32_t k = 0; k < Corners(face) && left; ++k)
            left = Model3_PositionAt(m, face.corners[k][QVL::CORNER_POS]).x <= 0.0f;
        keep[(size_t)f] = !left;
    }
    PolyMesh_Compact(m, s, keep);
}

POLY_MERGE_RESULT PolyMesh_MergeVertices(MODEL3* m, POLY_SEL& s)
{
    const int32_t n = FaceCount(m);
    int32_t on = 0;
    for (int32_t f = 0; f < n && on < 2; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        for (int32_t k = 0; k < Corners(face); ++k)
            if (VertexSelected(s, face.corners[k][QVL::CORNER_POS])) ++on;
    }
    if (on < 2) return MERGE_TOO_FEW;
    // Corners must never point at no position.
    const int32_t pick = s.pickedVertex;
    if (pick < 0 || pick >= m->positionCount || (size_t)pick >= m->positions.size() || pick >= s.maxVertices)
        return MERGE_NO_PICK;
    for (int32_t f = 0; f < n; ++f) {
        FACE3& face = m->faces[(size_t)f];
        for (int32_t k = 0; k < Corners(face); ++k)
            if (VertexSelected(s, face.corners[k][QVL::CORNER_POS])) face.corners[k][QVL::CORNER_POS] = pick;
    }
    ClearFlags(s.vertexSel, std::min(m->positionCount, s.maxVertices));
    s.vertexSel[pick] = 1;
    return MERGE_DONE;
}

namespace {

// Equal-position classes of the positions: two corners match when their classes are equal and not
// -1 (a NaN coordinate matches nothing, as with ==).
struct POSITION_CLASSES {
    std::vector<int32_t> ofPosition;
    int32_t zeroClass;   // an index outside the array reads as (0, 0, 0)

    explicit POSITION_CLASSES(const MODEL3* m)
    {
        const int32_t count = (int32_t)m->positions.size();
        QVL::ExactIndex<3> index((size_t)count + 1);
        ofPosition.resize((size_t)count);
        for (int32_t p = 0; p < count; ++p) {
            const float* v = &m->positions[(size_t)p].x;
            if (!QVL::ExactIndex<3>::Comparable(v)) {
                ofPosition[(size_t)p] = -1;
                continue;
            }
            int32_t found = index.FindOrAdd(v, p);
            ofPosition[(size_t)p] = found < 0 ? p : found;
        }
        const float zero[3] = {0, 0, 0};
        int32_t found = index.FindOrAdd(zero, count);
        zeroClass = found < 0 ? count : found;
    }
    int32_t Of(int32_t p) const
    {
        return p >= 0 && (size_t)p < ofPosition.size() ? ofPosition[(size_t)p] : zeroClass;
    }
    int32_t Count() const { return (int32_t)ofPosition.size() + 1; }
};

// One step of the pairwise merge: A takes two of B's positions when the faces share exactly two
// corner matches. True when B is to be removed.
bool MergePair(FACE3& a, const FACE3& b, const POSITION_CLASSES& cls)
{
    int32_t matches = 0, a1 = 0, b1 = 0, a2 = 0, b2 = 0;
    const int32_t na = Corners(a), nb = Corners(b);
    for (int32_t i = 0; i < na; ++i) {
        const int32_t ca = cls.Of(a.corners[i][QVL::CORNER_POS]);
        if (ca < 0) continue;
        for (int32_t j = 0; j < nb; ++j) {
            if (cls.Of(b.corners[j][QVL::CORNER_POS]) != ca) continue;
            if (matches == 0) a1 = i, b1 = j;
            a2 = i, b2 = j;
            ++matches;
        }
    }
    if (matches != 2) return false;
    auto next = [nb](int32_t k) { return k + 1 >= nb ? 0 : k + 1; };
    auto prev = [nb](int32_t k) { return k - 1 < 0 ? nb - 1 : k - 1; };
    int32_t f1 = next(b1);
    if (f1 == b2) f1 = prev(b1);
    int32_t f2 = next(b2);
    if (f2 == b1) f2 = prev(b2);
    a.corners[a1][QVL::CORNER_POS] = b.corners[f1][QVL::CORNER_POS];
    a.corners[a2][QVL::CORNER_POS] = b.corners[f2][QVL::CORNER_POS];
    return true;
}

// One pass over the selected faces in list order. Faces sharing a position are found through an
// index of the positions' classes instead of trying every later face; B runs over the later faces
// in order, as the pairwise walk would, and positions A takes on the way add their faces.
int32_t MergePass(MODEL3* m, POLY_SEL& s)
{
    const int32_t n = FaceCount(m);
    const POSITION_CLASSES cls(m);
    std::vector<std::vector<int32_t>> facesAt((size_t)cls.Count());
    for (int32_t f = 0; f < n; ++f) {
        if (!FaceSelected(s, f)) continue;
        const FACE3& face = m->faces[(size_t)f];
        for (int32_t k = 0; k < Corners(face); ++k) {
            int32_t c = cls.Of(face.corners[k][QVL::CORNER_POS]);
            if (c < 0) continue;
            std::vector<int32_t>& list = facesAt[(size_t)c];
            if (list.empty() || list.back() != f) list.push_back(f);
        }
    }
    std::vector<uint8_t> keep((size_t)n, 1);
    std::vector<int32_t> queuedFor((size_t)n, -1);
    std::priority_queue<int32_t, std::vector<int32_t>, std::greater<int32_t>> later;
    int32_t merged = 0;
    for (int32_t a = 0; a < n; ++a) {
        if (!keep[(size_t)a] || !FaceSelected(s, a)) continue;
        FACE3& fa = m->faces[(size_t)a];
        auto queue = [&](int32_t after) {
            for (int32_t k = 0; k < Corners(fa); ++k) {
                int32_t c = cls.Of(fa.corners[k][QVL::CORNER_POS]);
                if (c < 0) continue;
                const std::vector<int32_t>& list = facesAt[(size_t)c];
                for (auto it = std::upper_bound(list.begin(), list.end(), after); it != list.end(); ++it) {
                    if (queuedFor[(size_t)*it] == a) continue;
                    queuedFor[(size_t)*it] = a;
                    later.push(*it);
                }
            }
        };
        queue(a);
        while (!later.empty()) {
            const int32_t b = later.top();
            later.pop();
            if (!keep[(size_t)b]) continue;
            if (!MergePair(fa, m->faces[(size_t)b], cls)) continue;
            keep[(size_t)b] = 0;
            ++merged;
            queue(b);
        }
    }
    if (merged) PolyMesh_Compact(m, s, keep);
    return merged;
}

} // namespace

int32_t PolyMesh_MergeFaces(MODEL3* m, POLY_SEL& s)
{
    int32_t total = 0;
    for (;;) {
        int32_t merged = MergePass(m, s);
        if (!merged) return total;
        total += merged;
    }
}

bool PolyMesh_FacesToPoints(MODEL3* m, POLY_SEL& s)
{
    if (!s.faceMode) return true;
    const int32_t n = FaceCount(m);
    int64_t added = 0;
    for (int32_t f = 0; f < n; ++f) {
        const int32_t c = Corners(m->faces[(size_t)f]);
        if (FaceSelected(s, f) && c > 1) added += c - 1;
    }
    if (m->faceCount + added > s.maxPolygons) return false;
    m->faceCount = n;
    for (int32_t f = 0; f < n; ++f) {
        const int32_t c = Corners(m->faces[(size_t)f]);
        if (!FaceSelected(s, f) || c <= 1) continue;
        for (int32_t k = 1; k < c; ++k) {
            FACE3& point = AppendFace(m);
            const FACE3& face = m->faces[(size_t)f];   // AppendFace may move the list
            point.cornerCount = 1;
            point.group = face.group;
            std::copy(face.corners[k], face.corners[k] + 4, point.corners[0]);
        }
        m->faces[(size_t)f].cornerCount = 1;
    }
    return true;
}

void PolyMesh_Copy(const MODEL3* m, const POLY_SEL& s, MODEL3* clip)
{
    clip->positionCount = m->positionCount;
    clip->normalCount = m->normalCount;
    clip->colorCount = m->colorCount;
    clip->uvCount = m->uvCount;
    clip->positions = m->positions;
    clip->normals = m->normals;
    clip->colors = m->colors;
    clip->uvs = m->uvs;
    clip->faces.clear();
    clip->faceCount = 0;
    const int32_t n = FaceCount(m);
    for (int32_t f = 0; f < n; ++f) {
        if (!FaceSelected(s, f)) continue;
        const FACE3& face = m->faces[(size_t)f];
        FACE3& out = AppendFace(clip);
        out.cornerCount = face.cornerCount;
        out.group = face.group;
        std::copy(&face.corners[0][0], &face.corners[0][0] + 16, &out.corners[0][0]);
    }
}

bool PolyMesh_Paste(MODEL3* m, const POLY_SEL& s, const MODEL3* clip)
{
    const int32_t n = FaceCount(clip);
    int64_t corners = 0;
    for (int32_t f = 0; f < n; ++f) corners += Corners(clip->faces[(size_t)f]);
    const int64_t limit = s.maxVertices;
    if ((int64_t)m->faceCount + n > s.maxPolygons || m->positionCount + corners > limit ||
        m->normalCount + corners > limit || m->colorCount + corners > limit || m->uvCount + corners > limit)
        return false;
    Model3_FitArrays(m);
    m->faceCount = FaceCount(m);
    auto put = [](auto& array, int32_t& count, const auto& value) {
        if ((size_t)count < array.size()) array[(size_t)count] = value;
        else {
            array.resize((size_t)count);
            array.push_back(value);
        }
        return count++;
    };
    for (int32_t f = 0; f < n; ++f) {
        const FACE3& src = clip->faces[(size_t)f];
        FACE3 face{};
        face.cornerCount = src.cornerCount;
        face.group = src.group;
        for (int32_t k = 0; k < Corners(src); ++k) {
            const int32_t* c = src.corners[k];
            face.corners[k][QVL::CORNER_POS] = put(m->positions, m->positionCount, Model3_PositionAt(clip, c[0]));
            face.corners[k][QVL::CORNER_NORMAL] = put(m->normals, m->normalCount, Model3_NormalAt(clip, c[1]));
            face.corners[k][QVL::CORNER_COLOR] = put(m->colors, m->colorCount, Model3_ColorAt(clip, c[2]));
            face.corners[k][QVL::CORNER_UV] = put(m->uvs, m->uvCount, Model3_UVAt(clip, c[3]));
        }
        AppendFace(m) = face;
    }
    Model3_FitArrays(m);
    return true;
}

bool PolyMesh_ApplyVertexColor(MODEL3* m, const POLY_SEL& s, const float rgba[4])
{
    int32_t index = -1;
    const int32_t count = std::min<int32_t>(m->colorCount, (int32_t)m->colors.size());
    for (int32_t i = 0; i < count; ++i) {
        const QVL::RGBA& c = m->colors[(size_t)i];
        if (c.r == rgba[0] && c.g == rgba[1] && c.b == rgba[2] && c.a == rgba[3]) index = i;
    }
    const bool added = index < 0;
    if (added) {
        if (m->colorCount < 0 || m->colorCount >= s.maxVertices) return false;
        index = m->colorCount;
        if ((size_t)index >= m->colors.size()) m->colors.resize((size_t)index + 1);
        m->colors[(size_t)index] = QVL::RGBA{rgba[0], rgba[1], rgba[2], rgba[3]};
    }
    const int32_t n = FaceCount(m);
    for (int32_t f = 0; f < n; ++f) {
        if (s.faceMode && !FaceSelected(s, f)) continue;
        FACE3& face = m->faces[(size_t)f];
        for (int32_t k = 0; k < Corners(face); ++k)
            if (VertexSelected(s, face.corners[k][QVL::CORNER_POS])) face.corners[k][QVL::CORNER_COLOR] = index;
    }
    if (added) ++m->colorCount;
    return true;
}

void PolyMesh_SelectAll(POLY_SEL& s)
{
    const bool anyClear = std::find(s.vertexSel, s.vertexSel + s.maxVertices, 0) != s.vertexSel + s.maxVertices ||
                          std::find(s.faceSel, s.faceSel + s.maxPolygons, 0) != s.faceSel + s.maxPolygons;
    std::fill(s.vertexSel, s.vertexSel + s.maxVertices, anyClear ? 1 : 0);
    std::fill(s.faceSel, s.faceSel + s.maxPolygons, anyClear ? 1 : 0);
}

void PolyMesh_InvertSelection(POLY_SEL& s)
{
    for (int32_t i = 0; i < s.maxVertices; ++i) s.vertexSel[i] = 1 - s.vertexSel[i];
    for (int32_t i = 0; i < s.maxPolygons; ++i) s.faceSel[i] = 1 - s.faceSel[i];
}

void PolyMesh_CountText(const MODEL3* m, const POLY_SEL& s, char* out, int cap)
{
    if (cap <= 0) return;
    if (s.faceMode) {
        const int32_t n = std::min(FaceCount(m), s.maxPolygons);
        int32_t on = 0;
        for (int32_t f = 0; f < n; ++f) on += s.faceSel[f] == 1;
        std::snprintf(out, (size_t)cap, "面  %4d / %4d", on, m->faceCount);
    } else {
        const int32_t n = std::min(m->positionCount, s.maxVertices);
        int32_t on = 0;
        for (int32_t p = 0; p < n; ++p) on += s.vertexSel[p] == 1;
        std::snprintf(out, (size_t)cap, "頂点  %4d / %4d", on, m->positionCount);
    }
}
