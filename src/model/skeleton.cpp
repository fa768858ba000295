#include "model/skeleton.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/gpu_data.h"

using namespace QVL;

namespace {

int32_t BoneCount(const MODEL3* m)
{
    return std::max(0, std::min<int32_t>(m->boneCount, kModel3Bones));
}

// The rest joint from the render data; a model without it (not in the table) sums the rest
// translations along its chain, which is what the rest matrices hold.
VEC3 RestJoint(const MODEL3* m, int32_t b)
{
    const MODEL3_RENDER* r = Gpu_GetModelRes(m->id);
    if (r && (size_t)b < r->bonePoses.size()) {
        VEC3 v;
        Math_TransformPoint(&v, 0, 0, 0, r->bonePoses[(size_t)b].rest);
        return v;
    }
    VEC3 v{0, 0, 0};
    for (int32_t i = b; i > 0; i = Motion3_EvalParent(m, i)) {
        v.x += m->bones[i].rest.translation[0];
        v.y += m->bones[i].rest.translation[1];
        v.z += m->bones[i].rest.translation[2];
    }
    return v;
}

bool Finite(float v) { return std::isfinite(v); }

// Bone centres bucketed in a uniform grid; a position visits rings of cells around its own until
// no unvisited cell can hold a centre as near as the best found.
class CentreGrid {
public:
    CentreGrid(const float (*centres)[3], int32_t first, int32_t count) : m_c(centres)
    {
        float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
        bool any = false;
        std::vector<int32_t> bones;
        for (int32_t l = first; l < count; ++l) {
            const float* c = centres[l];
            // A centre that is not finite is at an infinite or undefined distance: it never wins.
            if (!Finite(c[0]) || !Finite(c[1]) || !Finite(c[2])) continue;
            for (int k = 0; k < 3; ++k) {
                lo[k] = any ? std::min(lo[k], c[k]) : c[k];
                hi[k] = any ? std::max(hi[k], c[k]) : c[k];
            }
            any = true;
            bones.push_back(l);
        }
        int g = 1;
        while (g * g * g < (int)bones.size()) ++g;
        float extent = 0;
        for (int k = 0; k < 3; ++k) extent = std::max(extent, hi[k] - lo[k]);
        m_g = g;
        m_cell = extent > 0 && Finite(extent) ? extent / (float)g : 1.0f;
        std::memcpy(m_lo, lo, sizeof lo);
        m_start.assign((size_t)(g * g * g) + 1, 0);
        for (int32_t l : bones) ++m_start[(size_t)CellOf(centres[l]) + 1];
        for (size_t i = 1; i < m_start.size(); ++i) m_start[i] += m_start[i - 1];
        m_ids.resize(bones.size());
        std::vector<int32_t> fill(m_start.begin(), m_start.end() - 1);
        // Ascending bone order within each cell.
        for (int32_t l : bones) m_ids[(size_t)fill[(size_t)CellOf(centres[l])]++] = l;
    }

    // The nearest centre by the sum of absolute differences, as a scan of the bones in ascending
    // order with a strict test would find it.
    int32_t Nearest(const XYZ& p) const
    {
        int32_t nearest = 1;
        float best = 99999.9f;
        if (!Finite(p.x) || !Finite(p.y) || !Finite(p.z) || m_ids.empty()) return nearest;
        const float pv[3] = {p.x, p.y, p.z};
        int home[3];
        for (int k = 0; k < 3; ++k) home[k] = Axis(pv[k], k);
        for (int r = 0; r <= m_g; ++r) {
            for (int x = home[0] - r; x <= home[0] + r; ++x) {
                if (x < 0 || x >= m_g) continue;
                for (int y = home[1] - r; y <= home[1] + r; ++y) {
                    if (y < 0 || y >= m_g) continue;
                    for (int z = home[2] - r; z <= home[2] + r; ++z) {
                        if (z < 0 || z >= m_g) continue;
                        if (std::max({std::abs(x - home[0]), std::abs(y - home[1]), std::abs(z - home[2])}) != r)
                            continue;
                        const size_t cell = (size_t)((x * m_g + y) * m_g + z);
                        for (int32_t i = m_start[cell]; i < m_start[cell + 1]; ++i) {
                            const int32_t l = m_ids[(size_t)i];
                            const float* c = m_c[l];
                            const float d = std::fabs(p.x - c[0]) + std::fabs(p.y - c[1]) + std::fabs(p.z - c[2]);
                            if (d < best || (d == best && l < nearest && best < 99999.9f)) {
                                best = d;
                                nearest = l;
                            }
                        }
                    }
                }
            }
            // Every centre not yet visited lies outside the visited block of cells, at least this far
            // along one axis; the margin covers the rounding of the distances.
            float bound = INFINITY;
            for (int k = 0; k < 3; ++k) {
                if (home[k] + r < m_g - 1) {
                    const float edge = m_lo[k] + (float)(home[k] + r + 1) * m_cell;
                    bound = std::min(bound, std::max(0.0f, edge - pv[k]));
                }
                if (home[k] - r > 0) {
                    const float edge = m_lo[k] + (float)(home[k] - r) * m_cell;
                    bound = std::min(bound, std::max(0.0f, pv[k] - edge));
                }
            }
            if (bound == INFINITY || best < bound * 0.9999f) break;
        }
        return nearest;
    }

private:
    const float (*m_c)[3];
    float m_lo[3];
    float m_cell;
    int m_g;
    std::vector<int32_t> m_start;
    std::vector<int32_t> m_ids;

    int Axis(float v, int k) const
    {
        float f = (v - m_lo[k]) / m_cell;
        if (!(f >= 0)) return 0;
        if (f >= (float)(m_g - 1)) return m_g - 1;
        return (int)f;
    }
    int CellOf(const float* c) const { return (Axis(c[0], 0) * m_g + Axis(c[1], 1)) * m_g + Axis(c[2], 2); }
};

} // namespace

bool Model3_AutoWeights(MODEL3* m)
{
    if (!m) return false;
    const int32_t n = BoneCount(m);
    for (int32_t i = 0; i < n; ++i) {
        VEC3 v = RestJoint(m, i);
        m->boneCentreSums[i][0] = v.x;
        m->boneCentreSums[i][1] = v.y;
        m->boneCentreSums[i][2] = v.z;
        m->boneCentreCounts[i] = 1;
    }
    for (int32_t j = 0; j < n; ++j) {
        // A parent from a file may name any number: only bones of the skeleton collect children.
        const int32_t p = m->bones[j].parent;
        if (p <= 0 || p >= n || p == j) continue;
        VEC3 v = RestJoint(m, j);
        m->boneCentreSums[p][0] += v.x;
        m->boneCentreSums[p][1] += v.y;
        m->boneCentreSums[p][2] += v.z;
        m->boneCentreCounts[p] += 1;
    }
    float centres[kModel3Bones][3];
    for (int32_t i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) centres[i][k] = m->boneCentreSums[i][k] / (float)m->boneCentreCounts[i];

    const CentreGrid grid(centres, 1, n);
    const size_t count = std::min(m->weights.size(), m->positions.size());
    const size_t positions = std::min(count, (size_t)std::max(0, m->positionCount));
    for (size_t i = 0; i < positions; ++i) {
        WEIGHT3& w = m->weights[i];
        if (w.automatic != 1) continue;
        w.boneA = (uint8_t)grid.Nearest(m->positions[i]);
        w.boneB = 0;
        w.weightA = 1.0f;
    }
    return true;
}

bool Model3_CopyBone(MODEL3* m, int32_t src, int32_t dst)
{
    if (!m || src < 0 || src >= kModel3Bones || dst < 0 || dst >= kModel3Bones) return false;
    if (src == dst) return true;
    const BONE3& a = m->bones[src];
    BONE3& b = m->bones[dst];
    b.rest = a.rest;
    std::memcpy(b.name, a.name, sizeof b.name);
    b.parent = a.parent;
    const size_t motions = m->motions.size();
    if (b.keys.size() < motions) b.keys.resize(motions);
    for (size_t mo = 0; mo < motions; ++mo) {
        if (mo < a.keys.size()) b.keys[mo] = a.keys[mo];
        else b.keys[mo].clear();
    }
    return true;
}

bool Model3_DeleteBone(MODEL3* m, int32_t s)
{
    if (!m) return false;
    const int32_t n = BoneCount(m);
    if (s < 0 || s >= n) return false;
    for (int32_t i = s; i <= n - 2; ++i) {
        Model3_CopyBone(m, i + 1, i);
        int32_t& parent = m->bones[i].parent;
        if (parent == s) parent = 0;
        else if (parent > s) parent -= 1;
    }
    if (n > 1) {
        // One pass over the bindings: bones s + 1 .. n - 1 move down one row; the deleted bone's
        // vertices keep the number s, the bones past the count keep theirs.
        uint8_t renumber[256];
        for (int b = 0; b < 256; ++b) renumber[b] = (uint8_t)(b > s && b < n ? b - 1 : b);
        for (WEIGHT3& w : m->weights) {
            w.boneA = renumber[w.boneA];
            w.boneB = renumber[w.boneB];
        }
        m->boneCount = n - 1;
    }
    return true;
}
