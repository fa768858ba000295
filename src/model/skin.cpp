#include "model/skin.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "model/gpu_services.h"
#include "model/model_table.h"

using namespace QVL;

namespace {

// Per bone, pose(b) applied to (v - rest joint of b) folded into one affine map: the 3 x 3 part of
// the pose and the translation less the rest joint turned by it.
struct BONE_MAP {
    float m[3][3];
    float t[3];
};

struct SKINNER {
    BONE_MAP bones[kModel3Bones];
    int32_t count;   // bones of the model; a binding past them means bone 0
    int32_t kind;

    void Build(const MODEL3* m, const MODEL3_RENDER* r)
    {
        count = std::max(0, std::min<int32_t>({m->boneCount, kModel3Bones, (int32_t)r->bonePoses.size()}));
        kind = m->renderKind;
        for (int32_t b = 0; b < count; ++b) {
            const MATRIX& p = r->bonePoses[(size_t)b].pose;
            const MATRIX& rest = r->bonePoses[(size_t)b].rest;
            const float rx = rest.m[3][0], ry = rest.m[3][1], rz = rest.m[3][2];
            BONE_MAP& o = bones[b];
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) o.m[i][j] = p.m[i][j];
            for (int j = 0; j < 3; ++j) o.t[j] = p.m[3][j] - (rx * p.m[0][j] + ry * p.m[1][j] + rz * p.m[2][j]);
        }
        if (count == 0) {
            // Even bone 0 is missing: vertices stay where they are.
            count = 1;
            bones[0] = BONE_MAP{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 0, 0}};
        }
    }

    XYZ Move(const XYZ& v, int32_t b) const
    {
        const BONE_MAP& o = bones[b];
        return XYZ{v.x * o.m[0][0] + v.y * o.m[1][0] + v.z * o.m[2][0] + o.t[0],
                   v.x * o.m[0][1] + v.y * o.m[1][1] + v.z * o.m[2][1] + o.t[1],
                   v.x * o.m[0][2] + v.y * o.m[1][2] + v.z * o.m[2][2] + o.t[2]};
    }

    uint8_t Fix(uint8_t& bone) const
    {
        if (bone >= count) bone = 0;
        return bone;
    }

    // One vertex with its binding; a bone past the skeleton is rewritten to 0 in the binding.
    XYZ Skin(const XYZ& v, WEIGHT3& w) const
    {
        const float a = w.weightA;
        if (a > 0.0f && a < 1.0f) {
            const XYZ pa = Move(v, Fix(w.boneA));
            const XYZ pb = Move(v, Fix(w.boneB));
            const float b = 1.0f - a;
            return XYZ{pa.x + b * (pb.x - pa.x), pa.y + b * (pb.y - pa.y), pa.z + b * (pb.z - pa.z)};
        }
        // One bone: the buffered kinds 3 and 4 always take A; the others take A only for weight 1.
        if (kind == 3 || kind == 4 || a == 1.0f) return Move(v, Fix(w.boneA));
        return Move(v, Fix(w.boneB));
    }
};

SKINNER g_Skinner;

// The mesh kinds' loop. Each bone's map is held as four rows of four floats, so one point is three
// packed multiplies and three adds: every lane computes exactly what the scalar expression would,
// in the same order, so the result does not depend on the build.
// With normals given (skinning option 1), each normal is also turned by bone A's pose, in the same
// pass over the bindings.
void SkinArray(const XYZ* in, WEIGHT3* w, XYZ* out, size_t n, const XYZ* normalsIn = nullptr,
               size_t normalCount = 0, XYZ* normalsOut = nullptr)
{
    const int32_t count = g_Skinner.count;
    const bool alwaysA = g_Skinner.kind == 3 || g_Skinner.kind == 4;
#if defined(__SSE2__) || defined(_M_X64)
    struct alignas(16) ROWS { __m128 r[4]; };
    ROWS maps[kModel3Bones];
    for (int32_t b = 0; b < count; ++b) {
        const BONE_MAP& o = g_Skinner.bones[b];
        for (int i = 0; i < 3; ++i) maps[b].r[i] = _mm_setr_ps(o.m[i][0], o.m[i][1], o.m[i][2], 0.0f);
        maps[b].r[3] = _mm_setr_ps(o.t[0], o.t[1], o.t[2], 0.0f);
    }
    auto move = [&](const XYZ& v, const ROWS& o) {
        __m128 p = _mm_add_ps(_mm_mul_ps(_mm_set1_ps(v.x), o.r[0]), _mm_mul_ps(_mm_set1_ps(v.y), o.r[1]));
        p = _mm_add_ps(p, _mm_mul_ps(_mm_set1_ps(v.z), o.r[2]));
        return _mm_add_ps(p, o.r[3]);
    };
    auto store = [](XYZ& d, __m128 p) {
        _mm_storel_pi(reinterpret_cast<__m64*>(&d.x), p);
        _mm_store_ss(&d.z, _mm_movehl_ps(p, p));
    };
    for (size_t i = 0; i < n; ++i) {
        WEIGHT3& b = w[i];
        const XYZ v = in[i];
        const float a = b.weightA;
        if (normalsOut) {
            const XYZ nv = i < normalCount ? normalsIn[i] : XYZ{0, 0, 0};
            const ROWS& o = maps[b.boneA < count ? b.boneA : 0];
            __m128 p = _mm_add_ps(_mm_mul_ps(_mm_set1_ps(nv.x), o.r[0]), _mm_mul_ps(_mm_set1_ps(nv.y), o.r[1]));
            store(normalsOut[i], _mm_add_ps(p, _mm_mul_ps(_mm_set1_ps(nv.z), o.r[2])));
        }
        if (a > 0.0f && a < 1.0f) {
            if (b.boneA >= count) b.boneA = 0;
            if (b.boneB >= count) b.boneB = 0;
            const __m128 pa = move(v, maps[b.boneA]);
            const __m128 pb = move(v, maps[b.boneB]);
            store(out[i], _mm_add_ps(pa, _mm_mul_ps(_mm_set1_ps(1.0f - a), _mm_sub_ps(pb, pa))));
        } else if (alwaysA || a == 1.0f) {
            if (b.boneA >= count) b.boneA = 0;
            store(out[i], move(v, maps[b.boneA]));
        } else {
            if (b.boneB >= count) b.boneB = 0;
            store(out[i], move(v, maps[b.boneB]));
        }
    }
#else
    for (size_t i = 0; i < n; ++i) {
        if (normalsOut) {
            const XYZ nv = i < normalCount ? normalsIn[i] : XYZ{0, 0, 0};
            const BONE_MAP& o = g_Skinner.bones[w[i].boneA < count ? w[i].boneA : 0];
            normalsOut[i] = XYZ{nv.x * o.m[0][0] + nv.y * o.m[1][0] + nv.z * o.m[2][0],
                                nv.x * o.m[0][1] + nv.y * o.m[1][1] + nv.z * o.m[2][1],
                                nv.x * o.m[0][2] + nv.y * o.m[1][2] + nv.z * o.m[2][2]};
        }
        out[i] = g_Skinner.Skin(in[i], w[i]);
    }
#endif
}

int32_t Materials(const MODEL3* m)
{
    return std::max(0, std::min<int32_t>(m->groupCount, kModel3Groups));
}

// Math_Vec3Normalize's rule (shorter than 1e-7 gives zero), with one division per vector.
inline XYZ Normalized(XYZ v)
{
    const float len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(len >= 1e-7f)) return XYZ{0, 0, 0};
    const float r = 1.0f / len;
    return XYZ{v.x * r, v.y * r, v.z * r};
}

void NormalsFromFaces(MODEL3* m, size_t positions)
{
    std::vector<XYZ>& dn = m->deformedNormals;
    const std::vector<XYZ>& dp = m->deformedPositions;
    std::fill(dn.begin(), dn.begin() + (ptrdiff_t)positions, XYZ{0, 0, 0});
    const int32_t faces = std::max(0, std::min<int32_t>(m->faceCount, (int32_t)m->faces.size()));
    auto valid = [&](int32_t i) { return i >= 0 && (size_t)i < positions; };
    for (int32_t f = 0; f < faces; ++f) {
        FACE3& face = m->faces[(size_t)f];
        if (face.cornerCount <= 2) continue;
        const int32_t i0 = face.corners[0][CORNER_POS], i1 = face.corners[1][CORNER_POS],
                      i2 = face.corners[2][CORNER_POS];
        if (!valid(i0) || !valid(i1) || !valid(i2)) continue;
        const XYZ p0 = dp[(size_t)i0], p1 = dp[(size_t)i1], p2 = dp[(size_t)i2];
        const XYZ a{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
        const XYZ b{p2.x - p1.x, p2.y - p1.y, p2.z - p1.z};
        XYZ n{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
        const float len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        // A face collapsed by the pose has no direction: it adds nothing rather than NaN.
        if (len > 0.0f && std::isfinite(len)) n = XYZ{n.x / len, n.y / len, n.z / len};
        else n = XYZ{0, 0, 0};
        face.normal[0] = n.x;
        face.normal[1] = n.y;
        face.normal[2] = n.z;
        const int corners = std::min<int>(face.cornerCount, 4);
        for (int c = 0; c < corners; ++c) {
            const int32_t i = face.corners[c][CORNER_POS];
            if (!valid(i)) continue;
            XYZ& s = dn[(size_t)i];
            s.x += n.x;
            s.y += n.y;
            s.z += n.z;
        }
    }
    for (size_t i = 0; i < positions; ++i) dn[i] = Normalized(dn[i]);
}

std::vector<float> g_Positions, g_Normals;

void RefreshKind2(MODEL3* m, const MODEL3_RENDER* r, int32_t id)
{
    std::vector<std::vector<int32_t>> byGroup;
    Gpu_FacesByGroup(m, byGroup);
    const size_t positions = m->deformedPositions.size();
    const bool normals = m->autoNormals == 1;
    for (size_t g = 0; g < byGroup.size() && g < r->groups.size(); ++g) {
        if (r->groups[g].count <= 0) continue;
        g_Positions.clear();
        g_Normals.clear();
        for (int32_t f : byGroup[g]) {
            const FACE3& face = m->faces[(size_t)f];
            const int corners = std::min<int>(face.cornerCount, 4);
            for (int k = 0; k + 2 < corners; ++k) {
                for (int c : {0, k + 1, k + 2}) {
                    const int32_t i = face.corners[c][CORNER_POS];
                    const bool ok = i >= 0 && (size_t)i < positions;
                    const XYZ p = ok ? m->deformedPositions[(size_t)i] : XYZ{0, 0, 0};
                    const XYZ n = ok && (size_t)i < m->deformedNormals.size() ? m->deformedNormals[(size_t)i] : XYZ{0, 0, 0};
                    g_Positions.insert(g_Positions.end(), {p.x, p.y, p.z});
                    g_Normals.insert(g_Normals.end(), {n.x, n.y, n.z});
                }
            }
        }
        Gpu_WriteVertices(id, (int32_t)g, g_Positions.data(), normals ? g_Normals.data() : nullptr,
                             (int32_t)(g_Positions.size() / 3));
    }
}

void WritePositions(int32_t id, int32_t g, const std::vector<XYZ>& deformed, size_t count)
{
    g_Positions.clear();
    for (size_t i = 0; i < count; ++i) g_Positions.insert(g_Positions.end(), {deformed[i].x, deformed[i].y, deformed[i].z});
    Gpu_WriteVertices(id, g, g_Positions.data(), nullptr, (int32_t)count);
}

void RefreshKind3(MODEL3* m, const MODEL3_RENDER* r, int32_t id)
{
    GPU_KIND3* k = id >= 0 && id < kGpuTableSize ? g_GpuTables.kind3[id] : nullptr;
    if (!k) return;
    for (int32_t g = 0; g < Materials(m); ++g) {
        GPU_KIND3_GROUP& e = k->groups[g];
        const size_t n = std::min({(size_t)std::max(0, e.vertexCount), e.positions.size(), e.weights.size()});
        if (e.deformed.size() < n) e.deformed.resize(n);
        for (size_t i = 0; i < n; ++i) e.deformed[i] = g_Skinner.Skin(e.positions[i], e.weights[i]);
        if ((size_t)g < r->groups.size() && r->groups[(size_t)g].count > 0) WritePositions(id, g, e.deformed, n);
    }
}

void RefreshKind4(MODEL3* m, const MODEL3_RENDER* r, int32_t id)
{
    for (int32_t g = 0; g < Materials(m); ++g) {
        GROUP3& e = m->groups[(size_t)g];
        const size_t n =
            std::min({(size_t)std::max(0, e.exportVertexCount), e.exportPositions.size(), e.exportWeights.size()});
        if (e.exportDeformedPositions.size() < n) e.exportDeformedPositions.resize(n);
        for (size_t i = 0; i < n; ++i) e.exportDeformedPositions[i] = g_Skinner.Skin(e.exportPositions[i], e.exportWeights[i]);
        if ((size_t)g < r->groups.size() && r->groups[(size_t)g].count > 0)
            WritePositions(id, g, e.exportDeformedPositions, n);
    }
}

} // namespace

bool Motion3_SkinVertices(MODEL3* m, int32_t id)
{
    if (!m || !m->animated) return false;
    MODEL3_RENDER* r = Gpu_GetModelRes(id);
    if (!r) return false;
    g_Skinner.Build(m, r);
    const int32_t kind = m->renderKind;
    const bool meshKinds = kind == 0 || kind == 1 || kind == 2 || kind == 6 || kind == 9;
    if (meshKinds) {
        size_t n = std::min({(size_t)std::max(0, m->positionCount), m->positions.size(), m->weights.size()});
        if (m->deformedPositions.size() < n) m->deformedPositions.resize(n);
        if (m->deformedNormals.size() < n) m->deformedNormals.resize(n);
        // Option 1 turns the rest normals with bone A's pose (the table of poses without their
        // translations is the bone maps' 3 x 3 part); option 0 recomputes them from the faces.
        const bool turned = m->autoNormals == 1 && m->skinningOption == 1;
        SkinArray(m->positions.data(), m->weights.data(), m->deformedPositions.data(), n,
                  turned ? m->normals.data() : nullptr, turned ? m->normals.size() : 0,
                  turned ? m->deformedNormals.data() : nullptr);
        if (m->autoNormals == 1 && m->skinningOption == 0) NormalsFromFaces(m, n);
    }
    switch (kind) {
    case 1:
        if (id >= 0 && id < kGpuTableSize && g_GpuTables.kind1[id]) {
            Gpu_RefreshKind1Positions(g_GpuTables.kind1[id], id);
            Gpu_RefreshKind1Normals(g_GpuTables.kind1[id], id);
        }
        break;
    case 2: RefreshKind2(m, r, id); break;
    case 3: RefreshKind3(m, r, id); break;
    case 4: RefreshKind4(m, r, id); break;
    default: break;
    }
    return true;
}

namespace {

// The position a kind 1 vertex stands for, or -1.
int32_t Kind1Position(const MODEL3* m, const KIND1_VERTEX& v)
{
    if (v.face < 0 || v.face >= m->faceCount || (size_t)v.face >= m->faces.size() || v.corner >= 4) return -1;
    return m->faces[(size_t)v.face].corners[v.corner][CORNER_POS];
}

template <class F>
bool RefreshKind1(GPU_KIND1* k, int32_t id, const std::vector<XYZ> MODEL3::*array, F write)
{
    MODEL3* m = Model3_GetById(id);
    if (!k || !m) return true;
    const std::vector<XYZ>& src = m->*array;
    for (int32_t g = 0; g < Materials(m); ++g)
        for (KIND1_VERTEX& v : k->groups[g].vertices) {
            const int32_t i = Kind1Position(m, v);
            if (i >= 0 && (size_t)i < src.size()) write(v.v, src[(size_t)i]);
        }
    return true;
}

} // namespace

bool Gpu_RefreshKind1Positions(GPU_KIND1* k, int32_t id)
{
    return RefreshKind1(k, id, &MODEL3::deformedPositions, [](BUFFER_VERTEX& v, const XYZ& p) {
        v.x = p.x;
        v.y = p.y;
        v.z = p.z;
    });
}

bool Gpu_RefreshKind1Normals(GPU_KIND1* k, int32_t id)
{
    return RefreshKind1(k, id, &MODEL3::deformedNormals, [](BUFFER_VERTEX& v, const XYZ& n) {
        v.nx = n.x;
        v.ny = n.y;
        v.nz = n.z;
    });
}
