#include "model/subdivide.h"

#include <algorithm>

#include "frame/lib.h"
#include "frame/services.h"
#include "model/normals.h"

using namespace QVL;

namespace {

int32_t Append(std::vector<XYZ>& a, int32_t& count, const XYZ& v)
{
    if (a.size() < (size_t)count + 1) a.resize((size_t)count + 1);
    a[(size_t)count] = v;
    return count++;
}

template <typename T>
int32_t AppendT(std::vector<T>& a, int32_t& count, const T& v)
{
    if (a.size() < (size_t)count + 1) a.resize((size_t)count + 1);
    a[(size_t)count] = v;
    return count++;
}

XYZ Mid(const XYZ& a, const XYZ& b)
{
    return XYZ{(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, (a.z + b.z) * 0.5f};
}

UV2 MidUV(const UV2& a, const UV2& b)
{
    return UV2{(a.u + b.u) * 0.5f, (a.v + b.v) * 0.5f};
}

} // namespace

bool Model3_SplitsFace(const FACE3& face)
{
    // A face of more corners than a quad is split as the quad of its first four.
    return face.cornerCount >= 4;
}

bool Model3_SubdivisionFits(const MODEL3* m, int64_t splits)
{
    const int64_t entries = 16 * splits;
    const int32_t counts[4] = {m->positionCount, m->normalCount, m->colorCount, m->uvCount};
    for (int32_t c : counts)
        if ((int64_t)c + entries > g_VertexLimit) return false;
    return (int64_t)m->faceCount + 3 * splits <= g_PolyLimit;
}

bool Model3_SubdivideQuads(MODEL3* m)
{
    if (!m) return false;
    const int32_t n = std::max(0, std::min<int32_t>(m->faceCount, (int32_t)m->faces.size()));
    // Each split adds 3 faces and 16 entries to each attribute array: refuse a pass that would go
    // past the limits before anything is touched (the level-4 passes multiply faces by 256).
    int64_t splits = 0;
    for (int32_t f = 0; f < n; ++f)
        if (Model3_SplitsFace(m->faces[(size_t)f])) ++splits;
    if (!Model3_SubdivisionFits(m, splits)) {
        Lib_MessageBox("ポリゴン数または頂点数が上限を超えるので\n面を分割することができません。");
        return false;
    }
    Model3_FitArrays(m);
    // Room for the whole pass at once: growing four arrays entry by entry costs more than the work.
    const size_t more = (size_t)(16 * splits);
    m->positions.reserve((size_t)m->positionCount + more);
    m->normals.reserve((size_t)m->normalCount + more);
    m->colors.reserve((size_t)m->colorCount + more);
    m->uvs.reserve((size_t)m->uvCount + more);
    // One pass over the faces, keeping the ones left in place and collecting the new ones: the
    // result is that of deleting each replaced face in turn, without moving the list each time.
    std::vector<FACE3> kept, added;
    kept.reserve((size_t)(n + 3 * splits));
    added.reserve((size_t)(4 * splits));
    for (int32_t f = 0; f < n; ++f) {
        const FACE3 face = m->faces[(size_t)f];
        if (!Model3_SplitsFace(face)) {
            // Triangles stay; so do points and lines, which have no quad to split.
            kept.push_back(face);
            continue;
        }
        XYZ p[4];
        UV2 t[4];
        for (int k = 0; k < 4; ++k) {
            p[k] = Model3_PositionAt(m, face.corners[k][CORNER_POS]);
            t[k] = Model3_UVAt(m, face.corners[k][CORNER_UV]);
        }
        XYZ pc{(p[0].x + p[1].x + p[2].x + p[3].x) * 0.25f, (p[0].y + p[1].y + p[2].y + p[3].y) * 0.25f,
               (p[0].z + p[1].z + p[2].z + p[3].z) * 0.25f};
        UV2 tc{(t[0].u + t[1].u + t[2].u + t[3].u) * 0.25f, (t[0].v + t[1].v + t[2].v + t[3].v) * 0.25f};
        XYZ mp[4];
        UV2 mt[4];
        for (int k = 0; k < 4; ++k) {
            mp[k] = Mid(p[k], p[(k + 1) & 3]);
            mt[k] = MidUV(t[k], t[(k + 1) & 3]);
        }
        for (int k = 0; k < 4; ++k) {
            XYZ cp[4];
            UV2 ct[4];
            cp[k] = p[k], ct[k] = t[k];
            cp[(k + 1) & 3] = mp[k], ct[(k + 1) & 3] = mt[k];
            cp[(k + 2) & 3] = pc, ct[(k + 2) & 3] = tc;
            cp[(k + 3) & 3] = mp[(k + 3) & 3], ct[(k + 3) & 3] = mt[(k + 3) & 3];
            const XYZ normal = Model3_NormalAt(m, face.corners[k][CORNER_NORMAL]);
            const RGBA color = Model3_ColorAt(m, face.corners[k][CORNER_COLOR]);
            FACE3 nf = {};
            nf.cornerCount = 4;
            nf.group = 0;
            for (int c = 0; c < 4; ++c) {
                nf.corners[c][CORNER_POS] = Append(m->positions, m->positionCount, cp[c]);
                nf.corners[c][CORNER_NORMAL] = Append(m->normals, m->normalCount, normal);
                nf.corners[c][CORNER_COLOR] = AppendT(m->colors, m->colorCount, color);
                nf.corners[c][CORNER_UV] = AppendT(m->uvs, m->uvCount, ct[c]);
            }
            added.push_back(nf);
        }
    }
    if (added.empty()) return true;
    kept.insert(kept.end(), added.begin(), added.end());
    m->faces.swap(kept);
    m->faceCount = (int32_t)m->faces.size();
    Model3_FitArrays(m);
    Model3_CalcNormals(m);
    return true;
}
