#include "model/transfer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/loader.h"
#include "frame/log.h"
#include "frame/text.h"
#include "model/model_load.h"
#include "model/model_table.h"

using namespace QVL;

namespace {

// Nothing farther than this is ever taken as the nearest.
constexpr float kFarthest = 99999.9f;

// Kept in this order and in float: the grid must reproduce the plain scan to the bit.
inline float Distance(const XYZ& a, const XYZ& b)
{
    float d = std::fabs(a.y - b.y) + std::fabs(a.x - b.x);
    return d + std::fabs(a.z - b.z);
}

inline bool Finite(const XYZ& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Source positions bucketed into cubic cells. Non-finite positions are left out: their distance is
// never below the limit, so they can never be the nearest.
struct GRID {
    double origin[3] = {0, 0, 0};
    double cell = 1.0;
    int64_t dim[3] = {1, 1, 1};
    std::vector<int32_t> start;   // per cell, into order; one more entry than cells
    std::vector<int32_t> order;   // source indices by cell, ascending within a cell

    int64_t CellOf(double v, int a) const
    {
        double c = std::floor((v - origin[a]) / cell);
        // Far queries are clamped toward the grid, which only shortens their ring distances.
        c = std::max(-1e9, std::min(1e9, c));
        return (int64_t)c;
    }
    int64_t Index(int64_t x, int64_t y, int64_t z) const { return (z * dim[1] + y) * dim[0] + x; }
};

void BuildGrid(GRID& g, const XYZ* src, int32_t n)
{
    double lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    int32_t finite = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (!Finite(src[i])) continue;
        const double p[3] = {src[i].x, src[i].y, src[i].z};
        for (int a = 0; a < 3; ++a) {
            if (finite == 0 || p[a] < lo[a]) lo[a] = p[a];
            if (finite == 0 || p[a] > hi[a]) hi[a] = p[a];
        }
        ++finite;
    }
    double volume = 1.0;
    int spread = 0;
    double widest = 0.0;
    for (int a = 0; a < 3; ++a) {
        g.origin[a] = lo[a];
        double e = hi[a] - lo[a];
        widest = std::max(widest, e);
        if (e > 0) {
            volume *= e;
            ++spread;
        }
    }
    // About one position per cell; flat models spread over their own two axes.
    g.cell = spread > 0 && finite > 0 ? std::pow(volume / finite, 1.0 / spread) : 1.0;
    if (!(g.cell > 0) || !std::isfinite(g.cell)) g.cell = widest > 0 ? widest : 1.0;
    const int64_t maxCells = 4 * (int64_t)finite + 64;
    for (;;) {
        int64_t cells = 1;
        for (int a = 0; a < 3; ++a) {
            g.dim[a] = (int64_t)std::floor((hi[a] - lo[a]) / g.cell) + 1;
            cells *= g.dim[a];
        }
        if (cells <= maxCells) break;
        g.cell *= 2.0;
    }
    const int64_t cells = g.dim[0] * g.dim[1] * g.dim[2];
    std::vector<int32_t> cellOf((size_t)n, -1);
    g.start.assign((size_t)cells + 1, 0);
    for (int32_t i = 0; i < n; ++i) {
        if (!Finite(src[i])) continue;
        int64_t c[3];
        const double p[3] = {src[i].x, src[i].y, src[i].z};
        for (int a = 0; a < 3; ++a) c[a] = std::max<int64_t>(0, std::min(g.dim[a] - 1, g.CellOf(p[a], a)));
        cellOf[(size_t)i] = (int32_t)g.Index(c[0], c[1], c[2]);
        ++g.start[(size_t)cellOf[(size_t)i] + 1];
    }
    for (int64_t c = 0; c < cells; ++c) g.start[(size_t)c + 1] += g.start[(size_t)c];
    g.order.assign((size_t)finite, 0);
    std::vector<int32_t> fill(g.start.begin(), g.start.end() - 1);
    for (int32_t i = 0; i < n; ++i)
        if (cellOf[(size_t)i] >= 0) g.order[(size_t)fill[(size_t)cellOf[(size_t)i]]++] = i;
}

int32_t GridNearest(const GRID& g, const XYZ* src, const XYZ& q)
{
    if (!Finite(q)) return -1;   // every distance is then inf or NaN
    const double p[3] = {q.x, q.y, q.z};
    int64_t cq[3];
    int64_t k0 = 0, kmax = 0;
    for (int a = 0; a < 3; ++a) {
        cq[a] = g.CellOf(p[a], a);
        k0 = std::max(k0, std::max<int64_t>(-cq[a], cq[a] - (g.dim[a] - 1)));
        kmax = std::max(kmax, std::max<int64_t>(cq[a], g.dim[a] - 1 - cq[a]));
    }
    float best = kFarthest;
    int32_t bestIndex = -1;
    auto scanCell = [&](int64_t x, int64_t y, int64_t z) {
        int64_t c = g.Index(x, y, z);
        for (int32_t j = g.start[(size_t)c]; j < g.start[(size_t)c + 1]; ++j) {
            int32_t i = g.order[(size_t)j];
            float d = Distance(q, src[i]);
            // Cells come in any order, so a tie goes to the lower index explicitly.
            if (d < best || (d == best && bestIndex >= 0 && i < bestIndex)) {
                best = d;
                bestIndex = i;
            }
        }
    };
    for (int64_t k = k0; k <= kmax; ++k) {
        // Every position in ring k is at least (k - 1) cells away along one axis. The margins
        // cover the rounding of the cell arithmetic and of the float sum, so a position that
        // could tie the best is never skipped.
        double bound = ((double)(k - 1) - 1e-6) * g.cell * (1.0 - 1e-5);
        if ((double)best < bound) break;
        int64_t x0 = std::max<int64_t>(0, cq[0] - k), x1 = std::min(g.dim[0] - 1, cq[0] + k);
        int64_t y0 = std::max<int64_t>(0, cq[1] - k), y1 = std::min(g.dim[1] - 1, cq[1] + k);
        int64_t z0 = std::max<int64_t>(0, cq[2] - k), z1 = std::min(g.dim[2] - 1, cq[2] + k);
        for (int64_t x = x0; x <= x1; ++x) {
            for (int64_t y = y0; y <= y1; ++y) {
                if (x == cq[0] - k || x == cq[0] + k || y == cq[1] - k || y == cq[1] + k) {
                    for (int64_t z = z0; z <= z1; ++z) scanCell(x, y, z);
                } else {
                    int64_t zl = cq[2] - k, zh = cq[2] + k;
                    if (zl >= z0 && zl <= z1) scanCell(x, y, zl);
                    if (k > 0 && zh >= z0 && zh <= z1) scanCell(x, y, zh);
                }
            }
        }
    }
    return bestIndex;
}

void DefaultKeyLists(BONE3& b, size_t motions)
{
    size_t old = b.keys.size();
    b.keys.resize(motions);
    for (size_t m = old; m < motions; ++m) {
        b.keys[m].assign(1, KEY3());
        Key3_Default(&b.keys[m][0]);
    }
}

} // namespace

int32_t Transfer_NearestScan(const XYZ* source, int32_t sourceCount, const XYZ& query)
{
    float best = kFarthest;
    int32_t bestIndex = -1;
    for (int32_t i = 0; i < sourceCount; ++i) {
        float d = Distance(query, source[i]);
        if (d < best) {
            best = d;
            bestIndex = i;
        }
    }
    return bestIndex;
}

void Transfer_NearestPositions(const XYZ* source, int32_t sourceCount, const XYZ* queries, int32_t queryCount,
                               std::vector<int32_t>& nearest)
{
    nearest.assign((size_t)std::max(queryCount, 0), -1);
    if (sourceCount <= 0 || queryCount <= 0) return;
    GRID g;
    BuildGrid(g, source, sourceCount);
    if (g.order.empty()) return;
    for (int32_t r = 0; r < queryCount; ++r) nearest[(size_t)r] = GridNearest(g, source, queries[r]);
}

void Model3_TransferFrom(const MODEL3* src, MODEL3* dst)
{
    if (!src || !dst || src == dst) return;

    int32_t sn = std::min<int32_t>(src->positionCount, (int32_t)std::min(src->positions.size(), src->weights.size()));
    int32_t dn = std::min<int32_t>(dst->positionCount, (int32_t)dst->positions.size());
    sn = std::max(sn, 0);
    dn = std::max(dn, 0);
    if (dst->weights.size() < (size_t)dn) dst->weights.resize((size_t)dn);
    std::vector<int32_t> nearest;
    Transfer_NearestPositions(src->positions.data(), sn, dst->positions.data(), dn, nearest);
    for (int32_t r = 0; r < dn; ++r) {
        WEIGHT3& w = dst->weights[(size_t)r];
        int32_t i = nearest[(size_t)r];
        if (i >= 0) {
            const WEIGHT3& s = src->weights[(size_t)i];
            w.boneA = s.boneA;
            w.boneB = s.boneB;
            w.weightA = s.weightA;
        } else {
            // Nothing near enough to copy: the root bone carries it.
            w.boneA = 0;
            w.boneB = 0;
            w.weightA = 1.0f;
        }
        w.automatic = 0;
    }

    const size_t motions = std::max<size_t>(src->motions.size(), 1);
    Motion3_ResizeList(dst->motions, (int32_t)motions);
    for (size_t m = 0; m < src->motions.size(); ++m) dst->motions[m] = src->motions[m];

    int32_t bones = std::max(0, std::min(src->boneCount, kModel3Bones));
    dst->boneCount = bones;
    for (int32_t k = 0; k < kModel3Bones; ++k) {
        BONE3& d = dst->bones[k];
        if (k >= bones) {
            // Unused now, but they keep a key list per motion should the count grow again.
            DefaultKeyLists(d, motions);
            continue;
        }
        const BONE3& s = src->bones[k];
        Str_CopyN(d.name, sizeof d.name, s.name, strnlen(s.name, sizeof s.name));
        std::memcpy(d.rest.translation, s.rest.translation, sizeof d.rest.translation);
        std::memcpy(d.rest.rotation, s.rest.rotation, sizeof d.rest.rotation);
        std::memcpy(d.rest.scale, s.rest.scale, sizeof d.rest.scale);
        d.parent = s.parent;
        d.keys.resize(motions);
        for (size_t m = 0; m < motions; ++m) {
            if (m < s.keys.size()) d.keys[m] = s.keys[m];
            else {
                d.keys[m].assign(1, KEY3());
                Key3_Default(&d.keys[m][0]);
            }
        }
    }
}

void Model3_TransferVertexData(int32_t targetId, const char* file)
{
    MODEL3* target = Model3_GetById(targetId);
    if (!target || targetId == kTransferSlot) return;
    {
        LOADER_GUARD guard;
        if (g_Model3Table.size() <= (size_t)kTransferSlot) g_Model3Table.resize((size_t)kTransferSlot + 1, nullptr);
        MODEL3* old = g_Model3Table[kTransferSlot];
        // A live model that happens to hold the slot is not thrown away for a scratch copy.
        if (old && old->inUse && !old->releaseRequest) {
            Log_DebugPrintf("QV.Model3_TransferVertexData() slot %d is in use", kTransferSlot);
            return;
        }
        Model3_Free(old);
        MODEL3* scratch = Model3_Alloc();
        scratch->id = kTransferSlot;
        g_Model3Table[kTransferSlot] = scratch;
    }
    MODEL3* src = nullptr;
    if (Model3_Load(kTransferSlot, file) == kTransferSlot) src = Model3_GetById(kTransferSlot);
    // A file that could not be read leaves the target as it was.
    if (Model3_IsReady(src)) Model3_TransferFrom(src, target);
    Model3_Release(kTransferSlot);
}
