#include "model/curve.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "frame/lib.h"
#include "frame/services.h"
#include "model/model_table.h"
#include "model/normals.h"

using namespace QVL;

QVL::MODEL3* g_CurveBaker;

namespace {

constexpr int32_t kFail = (int32_t)0x80004005;
constexpr int32_t kMinEdge = kCurveMinLevel + 2;
constexpr int32_t kMaxEdge = kCurveMaxLevel + 2;

struct CURVE_TABLE {
    std::vector<float> weights;      // 12 per point that is no corner
    std::vector<uint16_t> triangles; // 3 per small triangle
};

CURVE_TABLE g_Tables[kMaxEdge + 1];
bool g_TablesBuilt = false;

void BuildTable(CURVE_TABLE& t, int32_t n)
{
    const float s = 1.0f / (float)(n - 1);
    t.weights.clear();
    t.weights.reserve((size_t)(n * (n + 1) / 2 - 3) * 12);
    float u = 1.0f - s;
    for (int32_t r = 1; r < n; ++r, u -= s) {
        float v = 0.0f;
        for (int32_t k = 0; k <= r; ++k, v += s) {
            // The last row's ends are corners 0 and 2, copied rather than evaluated.
            if (r == n - 1 && (k == 0 || k == r)) continue;
            float w[12];
            Curve_BernsteinWeights(w, u, v);
            t.weights.insert(t.weights.end(), w, w + 12);
        }
    }
    t.triangles.clear();
    t.triangles.reserve((size_t)(n - 1) * (n - 1) * 3);
    for (int32_t r = 0; r < n - 1; ++r) {
        const int32_t b = r * (r + 1) / 2, a = (r + 1) * (r + 2) / 2;
        for (int32_t k = 0; k < r; ++k) {
            const uint16_t tri[6] = {(uint16_t)(a + k), (uint16_t)(b + k), (uint16_t)(a + k + 1),
                                     (uint16_t)(a + k + 1), (uint16_t)(b + k), (uint16_t)(b + k + 1)};
            t.triangles.insert(t.triangles.end(), tri, tri + 6);
        }
        const uint16_t last[3] = {(uint16_t)(a + r), (uint16_t)(b + r), (uint16_t)(a + r + 1)};
        t.triangles.insert(t.triangles.end(), last, last + 3);
    }
}

void Copy(CURVE_PATCH* out, const CURVE_POINT& p, const float k[4])
{
    out->points[out->pointCount] = p;
    std::memcpy(out->colors[out->pointCount], k, sizeof(float) * 4);
    ++out->pointCount;
}

} // namespace

int32_t Curve_InitTables()
{
    if (g_TablesBuilt) return 0;
    try {
        // Only the densities the clamp to 1..8 can reach.
        for (int32_t n = kMinEdge; n <= kMaxEdge; ++n) BuildTable(g_Tables[n], n);
    } catch (const std::bad_alloc&) {
        return kFail;
    }
    g_TablesBuilt = true;
    return 0;
}

void Curve_BernsteinWeights(float out[12], float u, float v)
{
    const float w = 1.0f - u - v;
    out[0] = w * w * w;
    out[1] = u * u * u;
    out[2] = v * v * v;
    out[3] = 3.0f * w * w * u;
    out[4] = 3.0f * w * u * u;
    out[5] = 3.0f * u * u * v;
    out[6] = 3.0f * u * v * v;
    out[7] = 3.0f * w * v * v;
    out[8] = 3.0f * w * w * v;
    out[9] = 6.0f * w * u * v;
    out[10] = u;
    out[11] = v;
}

void Curve_ControlNet(float net[7][3], const CURVE_POINT& c0, const CURVE_POINT& c1, const CURVE_POINT& c2)
{
    const float third = 0.33333334f;
    const CURVE_POINT* c[3] = {&c0, &c1, &c2};
    // bij of the edge from corner i towards corner j, in the net's order b210 .. b201.
    const int edges[6][2] = {{0, 1}, {1, 0}, {1, 2}, {2, 1}, {2, 0}, {0, 2}};
    for (int e = 0; e < 6; ++e) {
        const float* pi = c[edges[e][0]]->position;
        const float* pj = c[edges[e][1]]->position;
        const float* ni = c[edges[e][0]]->normal;
        const float d[3] = {pj[0] - pi[0], pj[1] - pi[1], pj[2] - pi[2]};
        const float w = d[0] * ni[0] + d[1] * ni[1] + d[2] * ni[2];
        for (int a = 0; a < 3; ++a) net[e][a] = pi[a] + (d[a] - w * ni[a]) * third;
    }
    for (int a = 0; a < 3; ++a) {
        const float sum = net[0][a] + net[1][a] + net[2][a] + net[3][a] + net[4][a] + net[5][a];
        const float corners = c0.position[a] + c1.position[a] + c2.position[a];
        net[6][a] = sum * 0.25f - corners * 0.16666667f;
    }
}

void Curve_EvalPoint(CURVE_POINT* out, float colorOut[4], const CURVE_POINT& c0, const CURVE_POINT& c1,
                     const CURVE_POINT& c2, const float k0[4], const float k1[4], const float k2[4],
                     const float net[7][3], const float weights[12])
{
    const float u = weights[10], v = weights[11];
    for (int a = 0; a < 3; ++a) {
        float p = weights[0] * c0.position[a];
        p += weights[1] * c1.position[a];
        p += weights[2] * c2.position[a];
        for (int i = 0; i < 7; ++i) p += weights[3 + i] * net[i][a];
        out->position[a] = p;
        out->normal[a] = c0.normal[a] + (c1.normal[a] - c0.normal[a]) * u + (c2.normal[a] - c0.normal[a]) * v;
    }
    out->u = c0.u + (c1.u - c0.u) * u + (c2.u - c0.u) * v;
    out->v = c0.v + (c1.v - c0.v) * u + (c2.v - c0.v) * v;
    for (int i = 0; i < 4; ++i) colorOut[i] = k0[i] + (k1[i] - k0[i]) * u + (k2[i] - k0[i]) * v;
}

bool Curve_FillPatch(CURVE_PATCH* out, const CURVE_POINT corners[3], const float colors[3][4], int32_t level)
{
    if (!g_TablesBuilt && Curve_InitTables() != 0) return false;
    const int32_t n = std::min(std::max(level, kCurveMinLevel), kCurveMaxLevel) + 2;
    const CURVE_TABLE& t = g_Tables[n];
    float net[7][3];
    Curve_ControlNet(net, corners[0], corners[1], corners[2]);
    out->pointCount = 0;
    Copy(out, corners[1], colors[1]);
    const float* w = t.weights.data();
    const int32_t inner = (n - 1) * n / 2 - 1;   // rows 1 .. N - 2
    for (int32_t i = 0; i < inner; ++i, w += 12) {
        Curve_EvalPoint(&out->points[out->pointCount], out->colors[out->pointCount], corners[0], corners[1],
                        corners[2], colors[0], colors[1], colors[2], net, w);
        ++out->pointCount;
    }
    Copy(out, corners[0], colors[0]);
    for (int32_t i = 0; i < n - 2; ++i, w += 12) {
        Curve_EvalPoint(&out->points[out->pointCount], out->colors[out->pointCount], corners[0], corners[1],
                        corners[2], colors[0], colors[1], colors[2], net, w);
        ++out->pointCount;
    }
    Copy(out, corners[2], colors[2]);
    out->triangles = t.triangles.data();
    out->triangleCount = (int32_t)t.triangles.size() / 3;
    return true;
}

namespace {

int32_t BakeLevel(const MODEL3* m)
{
    return std::min<int32_t>(std::max<int32_t>(m->subdivision, kCurveMinLevel), kCurveMaxLevel);
}

// Faces the bake makes: (L + 1)² per fan triangle, so 2 (L + 1)² per quad.
int64_t BakedFaces(const MODEL3* src)
{
    int64_t fans = 0;
    const int32_t faces = std::max(0, std::min<int32_t>(src->faceCount, (int32_t)src->faces.size()));
    for (int32_t f = 0; f < faces; ++f) fans += std::max(0, std::min<int>(src->faces[(size_t)f].cornerCount, 4) - 2);
    const int64_t l = BakeLevel(src) + 1;
    return fans * l * l;
}

// Whether the baked faces (3 positions and normals each) fit the limits beside what dst holds.
bool BakeFits(const MODEL3* dst, int64_t faces)
{
    const int64_t haveFaces = dst ? dst->faceCount : 0;
    const int64_t haveEntries = dst ? std::max(dst->positionCount, dst->normalCount) : 0;
    if (haveFaces + faces <= g_PolyLimit && haveEntries + faces * 3 <= g_VertexLimit) return true;
    Lib_MessageBox("ポリゴン数または頂点数が上限を超えるので\n曲面化することができません。");
    return false;
}

} // namespace

void Curve_ResetTempModel()
{
    Model3_Free(g_CurveBaker);
    g_Lib.allocArrays = 1;
    g_CurveBaker = Model3_Alloc();
}

bool Curve_BakeInto(const MODEL3* src, MODEL3* dst)
{
    if (!src || !dst) return false;
    const int32_t level = BakeLevel(src);
    const int32_t faces = std::max(0, std::min<int32_t>(src->faceCount, (int32_t)src->faces.size()));
    const int64_t baked = BakedFaces(src);
    if (!BakeFits(dst, baked)) return false;
    dst->positions.reserve((size_t)(dst->positionCount + baked * 3));
    dst->normals.reserve((size_t)(dst->normalCount + baked * 3));
    dst->faces.reserve((size_t)(dst->faceCount + baked));
    dst->positions.resize((size_t)dst->positionCount);
    dst->normals.resize((size_t)dst->normalCount);
    dst->faces.resize((size_t)dst->faceCount);
    static const float kWhite[3][4] = {{255, 255, 255, 255}, {255, 255, 255, 255}, {255, 255, 255, 255}};
    CURVE_PATCH patch;
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = src->faces[(size_t)f];
        const int corners = std::min<int>(face.cornerCount, 4);
        for (int j = 0; j + 2 < corners; ++j) {
            CURVE_POINT c[3];
            const int pick[3] = {0, j + 1, j + 2};
            for (int i = 0; i < 3; ++i) {
                const XYZ p = Model3_PositionAt(src, face.corners[pick[i]][CORNER_POS]);
                const XYZ nm = Model3_NormalAt(src, face.corners[pick[i]][CORNER_NORMAL]);
                const UV2 t = Model3_UVAt(src, face.corners[pick[i]][CORNER_UV]);
                c[i] = CURVE_POINT{{p.x, p.y, p.z}, {nm.x, nm.y, nm.z}, t.u, t.v};
            }
            if (!Curve_FillPatch(&patch, c, kWhite, level)) return false;
            for (int32_t s = 0; s < patch.triangleCount; ++s) {
                FACE3 nf = {};
                nf.cornerCount = 3;
                for (int k = 0; k < 3; ++k) {
                    const CURVE_POINT& pt = patch.points[patch.triangles[s * 3 + k]];
                    dst->positions.push_back(XYZ{pt.position[0], pt.position[1], pt.position[2]});
                    dst->normals.push_back(XYZ{pt.normal[0], pt.normal[1], pt.normal[2]});
                    nf.corners[k][CORNER_POS] = dst->positionCount++;
                    nf.corners[k][CORNER_NORMAL] = dst->normalCount++;
                }
                dst->faces.push_back(nf);
                ++dst->faceCount;
            }
        }
    }
    Model3_FitArrays(dst);
    return true;
}

bool Curve_BakeModel()
{
    const MODEL3* src = Model3_GetById(0);
    if (!src) return false;
    // Checked before the reset so that a refused bake keeps the last temporary model as it was.
    if (!BakeFits(nullptr, BakedFaces(src))) return false;
    Curve_ResetTempModel();
    return Curve_BakeInto(src, g_CurveBaker);
}

void Curve_ApplyTempModel()
{
    MODEL3* m = Model3_GetById(0);
    if (!m || !g_CurveBaker) return;
    Model3_CopyRecord(g_CurveBaker, m, true);
    Model3_CalcNormals(m);
}
