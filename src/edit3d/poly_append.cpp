// Appends by count over arrays that may already hold more entries than their counts.
#include "edit3d/poly_append.h"

#include <algorithm>

using QVL::MODEL3;

namespace {

template <class T>
int32_t Put(std::vector<T>& array, int32_t& count, const T& value)
{
    if (count < 0) count = 0;
    if ((size_t)count < array.size()) array[(size_t)count] = value;
    else {
        array.resize((size_t)count);
        array.push_back(value);
    }
    return count++;
}

} // namespace

int32_t PolyAppend_FaceCount(const MODEL3* m)
{
    int32_t n = m->faceCount;
    if (n < 0) return 0;
    return (size_t)n > m->faces.size() ? (int32_t)m->faces.size() : n;
}

bool PolyAppend_Fits(const MODEL3* m, const POLY_SEL& s, int64_t positions, int64_t normals, int64_t colors, int64_t uvs,
                     int64_t faces)
{
    const int64_t limit = s.maxVertices;
    return (int64_t)std::max(m->positionCount, 0) + positions <= limit &&
           (int64_t)std::max(m->normalCount, 0) + normals <= limit &&
           (int64_t)std::max(m->colorCount, 0) + colors <= limit && (int64_t)std::max(m->uvCount, 0) + uvs <= limit &&
           (int64_t)PolyAppend_FaceCount(m) + faces <= s.maxPolygons;
}

void PolyAppend_Begin(MODEL3* m, int64_t entries, int64_t faces)
{
    Model3_FitArrays(m);
    m->faceCount = PolyAppend_FaceCount(m);
    auto room = [entries](auto& array, int32_t count) {
        array.reserve(std::max(array.size(), (size_t)(count + entries)));
    };
    room(m->positions, m->positionCount);
    room(m->normals, m->normalCount);
    room(m->colors, m->colorCount);
    room(m->uvs, m->uvCount);
    room(m->weights, m->positionCount);
    m->faces.reserve(std::max(m->faces.size(), (size_t)(m->faceCount + faces)));
}

int32_t PolyAppend_Position(MODEL3* m, const QVL::XYZ& p, const QVL::WEIGHT3& w)
{
    const int32_t i = Put(m->positions, m->positionCount, p);
    if (m->weights.size() <= (size_t)i) m->weights.resize((size_t)i + 1, QVL::WEIGHT3{0, 0, 0.0f, 1});
    m->weights[(size_t)i] = w;
    return i;
}

int32_t PolyAppend_Normal(MODEL3* m, const QVL::XYZ& n) { return Put(m->normals, m->normalCount, n); }
int32_t PolyAppend_Color(MODEL3* m, const QVL::RGBA& c) { return Put(m->colors, m->colorCount, c); }
int32_t PolyAppend_UV(MODEL3* m, const QVL::UV2& t) { return Put(m->uvs, m->uvCount, t); }
int32_t PolyAppend_Face(MODEL3* m, const QVL::FACE3& f) { return Put(m->faces, m->faceCount, f); }

void PolyAppend_End(MODEL3* m) { Model3_FitArrays(m); }
