#include "model/export_dedup.h"

#include <algorithm>
#include <vector>

#include "model/exact_index.h"

using namespace QVL;

namespace {

int32_t Clamp(int32_t n, int32_t lo, size_t hi)
{
    if (n < lo) return lo;
    return (size_t)n > hi ? (int32_t)hi : n;
}

struct CornerValues {
    float v[12];   // position, normal, colour, UV
};

CornerValues ValuesOf(const MODEL3* m, const int32_t* corner)
{
    XYZ p = Model3_PositionAt(m, corner[CORNER_POS]);
    XYZ n = Model3_NormalAt(m, corner[CORNER_NORMAL]);
    RGBA c = Model3_ColorAt(m, corner[CORNER_COLOR]);
    UV2 t = Model3_UVAt(m, corner[CORNER_UV]);
    return CornerValues{{p.x, p.y, p.z, n.x, n.y, n.z, c.r, c.g, c.b, c.a, t.u, t.v}};
}

void ReserveVertices(GROUP3& g, size_t n)
{
    g.exportPositions.reserve(n);
    g.exportNormals.reserve(n);
    g.exportColors.reserve(n);
    g.exportUVs.reserve(n);
    g.exportWeights.reserve(n);
}

void BuildGroupExport(MODEL3* m, GROUP3& g, const std::vector<int32_t>& faces, size_t corners)
{
    // The arrays of the previous save go.
    std::vector<XYZ>().swap(g.exportPositions);
    std::vector<XYZ>().swap(g.exportNormals);
    std::vector<RGBA>().swap(g.exportColors);
    std::vector<UV2>().swap(g.exportUVs);
    std::vector<WEIGHT3>().swap(g.exportWeights);
    std::vector<FACE3>().swap(g.exportTriangles);
    // Sized by the group's own fan corners: a triangle per three, and at most a vertex per corner
    // (a closed mesh of quads has about one per six, so the vertex arrays start there and grow).
    g.exportTriangles.reserve(corners / 3);
    size_t room = std::min(corners, corners / 6 + 16);
    ReserveVertices(g, room);
    ExactIndex<12> seen(room);
    for (int32_t f : faces) {
        const FACE3& face = m->faces[f];
        int k = std::min<int>(face.cornerCount, 4);
        // A corner the fan takes twice finds the vertex it found the first time, unless a NaN keeps
        // it from matching anything: then it is a new vertex every time, as with a linear search.
        int32_t taken[4] = {-1, -1, -1, -1};
        for (int t = 0; t + 2 < k; ++t) {
            const int take[3] = {0, t + 1, t + 2};
            FACE3 tri = {};
            tri.cornerCount = 3;
            for (int c = 0; c < 3; ++c) {
                const int32_t* corner = face.corners[take[c]];
                int32_t at = taken[take[c]];
                if (at < 0) {
                    CornerValues cv = ValuesOf(m, corner);
                    int32_t next = (int32_t)g.exportPositions.size();
                    at = seen.FindOrAdd(cv.v, next);
                    if (at < 0) {
                        at = next;
                        if (g.exportPositions.size() == room) {
                            room = std::min(corners, 2 * room);
                            ReserveVertices(g, room);
                        }
                        g.exportPositions.push_back(XYZ{cv.v[0], cv.v[1], cv.v[2]});
                        g.exportNormals.push_back(XYZ{cv.v[3], cv.v[4], cv.v[5]});
                        g.exportColors.push_back(RGBA{cv.v[6], cv.v[7], cv.v[8], cv.v[9]});
                        g.exportUVs.push_back(UV2{cv.v[10], cv.v[11]});
                        g.exportWeights.push_back(Model3_WeightAt(m, corner[CORNER_POS]));
                    }
                    if (ExactIndex<12>::Comparable(cv.v)) taken[take[c]] = at;
                }
                tri.corners[c][CORNER_POS] = at;
            }
            g.exportTriangles.push_back(tri);
        }
    }
    g.exportVertexCount = (int32_t)g.exportPositions.size();
    g.exportTriangleCount = (int32_t)g.exportTriangles.size();
    g.exportDeformedPositions.assign(g.exportPositions.size(), XYZ());
    g.exportDeformedNormals.assign(g.exportPositions.size(), XYZ());
}

} // namespace

void Model3_BuildExports(MODEL3* m)
{
    if (!m) return;
    Model3_FitArrays(m);
    int32_t groups = Clamp(m->groupCount, 0, std::min<size_t>(kModel3Groups, m->groups.size()));
    // Faces bucketed by group in face order, with each group's fan corner count.
    std::vector<std::vector<int32_t>> byGroup((size_t)groups);
    std::vector<size_t> corners((size_t)groups, 0);
    for (int32_t f = 0; f < m->faceCount; ++f) {
        const FACE3& face = m->faces[f];
        if (face.group < 0 || face.group >= groups) continue;
        byGroup[face.group].push_back(f);
        int k = std::min<int>(face.cornerCount, 4);
        if (k > 2) corners[face.group] += 3 * (size_t)(k - 2);
    }
    for (int32_t g = 0; g < groups; ++g) BuildGroupExport(m, m->groups[g], byGroup[g], corners[g]);
}
