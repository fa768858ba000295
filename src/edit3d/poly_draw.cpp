// The polygon screen's wire frame: mapping and batching.
#include "edit3d/poly_draw.h"

#include <algorithm>
#include <cstring>

#include "frame/math3d.h"

using QVL::FACE3;
using QVL::XYZ;

const uint8_t kPolyEdgeColour[4] = {196, 196, 196, 255};
const uint8_t kPolyVertexColour[4] = {255, 255, 0, 255};
const uint8_t kPolyFaceFillColour[4] = {0, 255, 255, 96};
const uint8_t kPolyFaceEdgeColour[4] = {128, 255, 255, 255};
const uint8_t kPolyFaceNormalColour[4] = {0, 255, 255, 128};

POLY_BATCH& PolyBatcher::Open(bool points, const uint8_t rgba[4])
{
    if (m_used > 0) {
        POLY_BATCH& last = m_batches[m_used - 1];
        if (last.points == points && std::memcmp(last.rgba, rgba, 4) == 0) return last;
    }
    if (m_used == m_batches.size()) m_batches.emplace_back();
    POLY_BATCH& b = m_batches[m_used++];
    b.points = points;
    std::memcpy(b.rgba, rgba, 4);
    b.xy.clear();
    return b;
}

void PolyBatcher::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const uint8_t rgba[4])
{
    std::vector<int32_t>& xy = Open(false, rgba).xy;
    xy.insert(xy.end(), {x1, y1, x2, y2});
}

void PolyBatcher::Edge(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const uint8_t rgba[4])
{
    if (x1 == x2 && y1 == y2) Point(x1, y1, rgba);
    else Line(x1, y1, x2, y2, rgba);
}

void PolyBatcher::Point(int32_t x, int32_t y, const uint8_t rgba[4])
{
    std::vector<int32_t>& xy = Open(true, rgba).xy;
    xy.push_back(x);
    xy.push_back(y);
}

void PolyBatcher::Square(int32_t x, int32_t y, const uint8_t rgba[4])
{
    // The four sides in the order of the rectangle outline.
    Line(x - 2, y - 2, x + 2, y - 2, rgba);
    Line(x + 2, y - 2, x + 2, y + 2, rgba);
    Line(x - 2, y + 2, x + 2, y + 2, rgba);
    Line(x - 2, y - 2, x - 2, y + 2, rgba);
}

void PolyBatcher::Flush()
{
    for (size_t i = 0; i < m_used; ++i)
        if (!m_batches[i].xy.empty()) Draw_Batch2D(m_batches[i]);
    m_used = 0;
}

void PolyDraw_MapPoint(const POLY_VIEW& view, const XYZ& p, int32_t* sx, int32_t* sy)
{
    const float k = 40.0f * view.zoom;
    float h, v;
    switch (view.type) {
    case VIEW_TYPE_TOP: h = p.x - view.pan[0], v = p.z + view.pan[2]; break;
    case VIEW_TYPE_SIDE: h = p.z + view.pan[2], v = p.y - view.pan[1]; break;
    default: h = p.x - view.pan[0], v = p.y - view.pan[1]; break;
    }
    *sx = view.cx + Math_TruncInt(k * h);
    *sy = view.cy - Math_TruncInt(k * v);
}

namespace {

int32_t Corners(const FACE3& f) { return std::min<int32_t>(f.cornerCount, 4); }

int32_t Faces(const QVL::MODEL3* m) { return std::max(0, std::min(m->faceCount, (int32_t)m->faces.size())); }

void NormalAxes(const XYZ& n, int32_t type, float* h, float* v)
{
    *h = type == VIEW_TYPE_SIDE ? n.z : n.x;
    *v = type == VIEW_TYPE_TOP ? n.z : n.y;
}

} // namespace

void PolyDraw_Wire(const POLY_WIRE_INPUT& in, PolyBatcher& out, float* centres, float* normals2D,
                   void (*corner)(int32_t, int32_t, int32_t, int32_t, void*), void* user)
{
    const QVL::MODEL3* m = in.model;
    const int32_t n = Faces(m);
    // Screen points per corner are computed once and reused for the edge that ends there.
    int32_t sx[4], sy[4];
    for (int32_t f = 0; f < n; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        const int32_t c = Corners(face);
        float ch = 0, cv = 0, nh = 0, nv = 0;
        for (int32_t k = 0; k < c; ++k) {
            PolyDraw_MapPoint(in.view, Model3_PositionAt(m, face.corners[k][QVL::CORNER_POS]), &sx[k], &sy[k]);
            ch += (float)sx[k], cv += (float)sy[k];
            float h, v;
            NormalAxes(Model3_NormalAt(m, face.corners[k][QVL::CORNER_NORMAL]), in.view.type, &h, &v);
            nh += h, nv += v;
        }
        if (f < in.maxPolygons && c > 0) {
            if (centres) centres[2 * f] = ch / (float)c, centres[2 * f + 1] = cv / (float)c;
            if (normals2D) normals2D[2 * f] = nh / (float)c, normals2D[2 * f + 1] = nv / (float)c;
        }
    }
    for (int32_t f = 0; f < n; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        const int32_t c = Corners(face);
        for (int32_t k = 0; k < c; ++k)
            PolyDraw_MapPoint(in.view, Model3_PositionAt(m, face.corners[k][QVL::CORNER_POS]), &sx[k], &sy[k]);
        for (int32_t k = 0; k < c; ++k) {
            // The rectangle test may select the face on the way.
            if (corner) corner(f, k, sx[k], sy[k], user);
            const int32_t q = k + 1 < c ? k + 1 : 0;
            if (!(in.faceMode && f < in.maxPolygons && in.faceSel[f] == 1)) out.Edge(sx[k], sy[k], sx[q], sy[q], kPolyEdgeColour);
            const int32_t p = face.corners[k][QVL::CORNER_POS];
            if (!in.faceMode && p >= 0 && p < in.maxVertices && in.vertexSel[p] == 1)
                out.Square(sx[k], sy[k], kPolyVertexColour);
        }
    }
}

void PolyDraw_SelectedEdges(const POLY_WIRE_INPUT& in, const float* centres, const float* normals2D,
                            int32_t showNormals, PolyBatcher& out,
                            void (*fill)(PolyBatcher&, const int32_t*, const int32_t*, int32_t))
{
    const QVL::MODEL3* m = in.model;
    const int32_t n = std::min(Faces(m), in.maxPolygons);
    int32_t sx[4], sy[4];
    for (int32_t f = 0; f < n; ++f) {
        if (in.faceSel[f] != 1) continue;
        const FACE3& face = m->faces[(size_t)f];
        const int32_t c = Corners(face);
        for (int32_t k = 0; k < c; ++k)
            PolyDraw_MapPoint(in.view, Model3_PositionAt(m, face.corners[k][QVL::CORNER_POS]), &sx[k], &sy[k]);
        if (fill) fill(out, sx, sy, c);
        for (int32_t k = 0; k < c; ++k) {
            const int32_t q = k + 1 < c ? k + 1 : 0;
            out.Edge(sx[k], sy[k], sx[q], sy[q], kPolyFaceEdgeColour);
        }
        if (showNormals == 1 && c >= 3 && centres && normals2D) {
            const int32_t fx = (int32_t)centres[2 * f], fy = (int32_t)centres[2 * f + 1];
            const int32_t ex = (int32_t)(centres[2 * f] + 12.0f * normals2D[2 * f]);
            const int32_t ey = (int32_t)(centres[2 * f + 1] - 12.0f * normals2D[2 * f + 1]);
            out.Edge(fx, fy, ex, ey, kPolyFaceNormalColour);
        }
    }
}
