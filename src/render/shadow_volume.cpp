#include "render/shadow_volume.h"

#include <algorithm>

using namespace QVL;

namespace {

VEC3 At(const std::vector<XYZ>& a, int32_t i)
{
    if (i < 0 || (size_t)i >= a.size()) return VEC3{0, 0, 0};
    return VEC3{a[(size_t)i].x, a[(size_t)i].y, a[(size_t)i].z};
}

// Room for one more face (two triangles) in the work set.
bool Room(const SHADOW_GATHER& g)
{
    const int32_t v = (int32_t)g.positions.size();
    return v + 6 < kShadowVertexCap && v + 6 <= g.budget;
}

void Push(SHADOW_GATHER& g, const VEC3& p, int32_t owner)
{
    g.numbers.push_back((uint16_t)g.positions.size());
    g.positions.push_back(p);
    g.owners.push_back(owner);
}

// The fan (0, j + 1, j + 2) of one polygon whose corner positions `pos` gives.
template <class POS> int32_t Fan(SHADOW_GATHER& g, int corners, int32_t owner, POS pos)
{
    corners = std::min(corners, 4);
    int32_t n = 0;
    for (int j = 0; j + 2 < corners; ++j) {
        Push(g, pos(0), owner);
        Push(g, pos(j + 1), owner);
        Push(g, pos(j + 2), owner);
        ++n;
    }
    return n;
}

uint32_t PairKey(uint16_t a, uint16_t b)
{
    return a < b ? (uint32_t)a << 16 | b : (uint32_t)b << 16 | a;
}

} // namespace

int64_t Shadow_CasterBudget(const MODEL3* m)
{
    if (!m) return 0;
    const int32_t n = m->secondMesh == 1 ? m->secondTriangleCount : m->faceCount;
    return 6 * (int64_t)std::max(0, n);
}

int32_t Shadow_CapBudget(int64_t sum)
{
    return (int32_t)std::max<int64_t>(0, std::min<int64_t>(sum, kShadowVertexCap));
}

int32_t Shadow_GatherCaster(const MODEL3* m, const GPU_KIND3* kind3, int32_t owner, SHADOW_GATHER& g)
{
    if (!m) return 0;
    int32_t added = 0;
    const bool animated = m->animated != 0;
    if (m->secondMesh == 1) {
        const int32_t tris = std::min<int32_t>(m->secondTriangleCount, (int32_t)m->secondTriangles.size());
        for (int32_t t = 0; t < tris && Room(g); ++t) {
            const SECOND_TRI3& r = m->secondTriangles[(size_t)t];
            added += Fan(g, r.cornerCount, owner, [&](int k) {
                const int32_t i = r.corners[k][0];
                if (animated) return At(m->secondSkinned, i);
                if (i < 0 || (size_t)i >= m->secondPositions.size()) return VEC3{0, 0, 0};
                const SECOND_POS3& p = m->secondPositions[(size_t)i];
                return VEC3{p.x, p.y, p.z};
            });
        }
        return added;
    }
    switch (m->renderKind) {
    case 0:
    case 2: {
        const int32_t faces = std::min<int32_t>(m->faceCount, (int32_t)m->faces.size());
        for (int32_t f = 0; f < faces && Room(g); ++f) {
            const FACE3& face = m->faces[(size_t)f];
            added += Fan(g, face.cornerCount, owner, [&](int k) {
                const int32_t i = face.corners[k][CORNER_POS];
                if (!animated) return At(m->positions, i);
                // Pulled in a little along the normal, so the volume does not fight the surface.
                VEC3 p = At(m->deformedPositions, i), n = At(m->deformedNormals, i);
                return VEC3{p.x - 0.01f * n.x, p.y - 0.01f * n.y, p.z - 0.01f * n.z};
            });
        }
        break;
    }
    case 3: {
        if (!kind3) break;
        const int32_t groups = std::min<int32_t>(m->groupCount, kModel3Groups);
        for (int32_t gi = 0; gi < groups; ++gi) {
            const GPU_KIND3_GROUP& k = kind3->groups[gi];
            // Animated: the skinned copy; otherwise the material's own positions.
            const std::vector<XYZ>& src = animated ? k.deformed : k.positions;
            const int32_t polys = std::min<int32_t>(k.polygonCount, (int32_t)k.polygons.size());
            for (int32_t p = 0; p < polys && Room(g); ++p) {
                const GPU_POLYGON& poly = k.polygons[(size_t)p];
                added += Fan(g, poly.cornerCount, owner, [&](int c) { return At(src, poly.corners[c]); });
            }
        }
        break;
    }
    default:
        break;
    }
    return added;
}

void Shadow_AddEdge(SHADOW_EDGES& edges, uint16_t a, uint16_t b)
{
    const uint32_t key = PairKey(a, b);
    auto it = edges.where.find(key);
    if (it == edges.where.end()) {
        edges.where.emplace(key, (int32_t)edges.list.size());
        edges.list.push_back(SHADOW_EDGE{a, b});
        return;
    }
    // Shared: drop it, moving the last edge into its place.
    const int32_t at = it->second;
    edges.where.erase(it);
    const int32_t last = (int32_t)edges.list.size() - 1;
    if (at != last) {
        edges.list[(size_t)at] = edges.list[(size_t)last];
        edges.where[PairKey(edges.list[(size_t)at].a, edges.list[(size_t)at].b)] = at;
    }
    edges.list.pop_back();
}

void Shadow_CollectEdges(const SHADOW_GATHER& g, const VEC3* lightOf, SHADOW_EDGES& edges)
{
    const size_t tris = g.positions.size() / 3;
    edges.list.reserve(tris * 3);
    for (size_t t = 0; t < tris; ++t) {
        const VEC3& p0 = g.positions[3 * t];
        const VEC3& p1 = g.positions[3 * t + 1];
        const VEC3& p2 = g.positions[3 * t + 2];
        const int32_t o = g.owners[3 * t];
        if (o < 0 || o >= kShadowObjects) continue;
        const VEC3 e1{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
        const VEC3 e2{p2.x - p1.x, p2.y - p1.y, p2.z - p1.z};
        const VEC3 n{e1.z * e2.y - e1.y * e2.z, e1.x * e2.z - e1.z * e2.x, e1.y * e2.x - e1.x * e2.y};
        const VEC3& l = lightOf[o];
        if (n.x * l.x + n.y * l.y + n.z * l.z >= 0.0f) {
            Shadow_AddEdge(edges, g.numbers[3 * t], g.numbers[3 * t + 1]);
            Shadow_AddEdge(edges, g.numbers[3 * t + 1], g.numbers[3 * t + 2]);
            Shadow_AddEdge(edges, g.numbers[3 * t + 2], g.numbers[3 * t]);
        }
    }
}

void Shadow_Extrude(const SHADOW_GATHER& g, const SHADOW_EDGES& edges, const VEC3* lightOf, SHADOW_VOLUME* volumes)
{
    int32_t per[kShadowObjects] = {};
    for (const SHADOW_EDGE& e : edges.list) {
        if (e.a >= g.owners.size() || e.b >= g.owners.size()) continue;
        const int32_t o = g.owners[e.a];
        if (o >= 0 && o < kShadowObjects) ++per[o];
    }
    for (int i = 0; i < kShadowObjects; ++i) {
        volumes[i].count = 0;
        volumes[i].positions.clear();
        volumes[i].positions.reserve((size_t)per[i] * 6);
    }
    for (const SHADOW_EDGE& e : edges.list) {
        if (e.a >= g.owners.size() || e.b >= g.owners.size()) continue;
        const int32_t o = g.owners[e.a];
        if (o < 0 || o >= kShadowObjects) continue;
        const VEC3 d{10 * lightOf[o].x, 10 * lightOf[o].y, 10 * lightOf[o].z};
        const VEC3& a = g.positions[e.a];
        const VEC3& b = g.positions[e.b];
        const VEC3 ad{a.x - d.x, a.y - d.y, a.z - d.z}, bd{b.x - d.x, b.y - d.y, b.z - d.z};
        std::vector<VEC3>& v = volumes[o].positions;
        v.insert(v.end(), {a, b, ad, b, bd, ad});
        volumes[o].count += 6;
    }
}
