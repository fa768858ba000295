#include "render/material_verts.h"

#include <algorithm>

#include "model/gpu_data.h"

using namespace QVL;

void VertexSink_Flush(VERTEX_SINK& sink)
{
    if (sink.count > 0 && sink.flush) sink.flush(sink.context, sink.vertices, sink.count);
    sink.count = 0;
}

namespace {

XYZ DeformedAt(const MODEL3* m, int32_t i)
{
    return i >= 0 && (size_t)i < m->deformedPositions.size() ? m->deformedPositions[(size_t)i] : XYZ{0, 0, 0};
}

XYZ DeformedNormalAt(const MODEL3* m, int32_t i)
{
    return i >= 0 && (size_t)i < m->deformedNormals.size() ? m->deformedNormals[(size_t)i] : XYZ{0, 0, 0};
}

uint32_t Pack(const RGBA& c)
{
    return Gpu_PackColor(c);
}

RGBA Tinted(const MODEL3* m, const RGBA& c)
{
    return RGBA{c.r * m->tint[0] / 255.0f, c.g * m->tint[1] / 255.0f, c.b * m->tint[2] / 255.0f, c.a * m->tint[3] / 255.0f};
}

IMMEDIATE_VERTEX Mirrored(IMMEDIATE_VERTEX v)
{
    v.x = -v.x;
    v.nx = -v.nx;
    return v;
}

// Room for one more face, drawing what is there when it would not fit.
void Reserve(VERTEX_SINK& sink)
{
    if (sink.count + kSinkMinimum > sink.capacity) VertexSink_Flush(sink);
}

void Put(VERTEX_SINK& sink, const IMMEDIATE_VERTEX& v)
{
    sink.vertices[sink.count++] = v;
}

// Mirrors the triangles put since `start` across x = 0, in the opposite winding; how many.
int32_t PutMirrored(VERTEX_SINK& sink, int start)
{
    const int end = sink.count;
    for (int t = start; t < end; t += 3) {
        Put(sink, Mirrored(sink.vertices[t + 2]));
        Put(sink, Mirrored(sink.vertices[t + 1]));
        Put(sink, Mirrored(sink.vertices[t]));
    }
    return (end - start) / 3;
}

} // namespace

uint32_t Render_CornerDiffuse(const MODEL3* m, const GROUP3& g, const int32_t* corner, int32_t curBone)
{
    if (m->fillMode == 3) {
        if (m->boneCount < 2) return 0xFFC40000u;
        if (curBone == 0) return 0xFFC4C4C4u;
        WEIGHT3 w = Model3_WeightAt(m, corner[CORNER_POS]);
        if (w.boneA != curBone && w.boneB != curBone) return 0xFFC4C4C4u;
        uint32_t r = (uint32_t)Gpu_Truncate(w.weightA * 196.0f) & 0xFF;
        uint32_t b = (uint32_t)Gpu_Truncate((1.0f - w.weightA) * 196.0f) & 0xFF;
        return 0xFF000000u | r << 16 | b;
    }
    return Pack(Gpu_CornerColor(m, g, corner[CORNER_COLOR]));
}

int32_t Render_EmitMaterial(const MODEL3* m, int32_t gi, const MATERIAL_DRAW_OPTIONS& o, VERTEX_SINK& sink)
{
    if (gi < 0 || gi >= kModel3Groups || (size_t)gi >= m->groups.size()) return 0;
    const GROUP3& g = m->groups[(size_t)gi];
    const uint32_t specular = 0xFF000000u | (uint32_t)(g.specularColor[0] & 0xFF) << 16 |
                              (uint32_t)(g.specularColor[1] & 0xFF) << 8 | (uint32_t)(g.specularColor[2] & 0xFF);
    const bool flat = g.shading == 3;
    int32_t triangles = 0;
    const int32_t faces = std::min<int32_t>(m->faceCount, (int32_t)m->faces.size());
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        const int c = std::min<int>(face.cornerCount, 4);
        if (face.group != gi || c < 3) continue;
        Reserve(sink);
        const XYZ faceNormal{face.normal[0], face.normal[1], face.normal[2]};
        IMMEDIATE_VERTEX front[4];
        for (int k = 0; k < c; ++k) {
            const int32_t* corner = face.corners[k];
            XYZ p, n;
            if (o.deformed) {
                p = DeformedAt(m, corner[CORNER_POS]);
                n = flat ? faceNormal : DeformedNormalAt(m, corner[CORNER_POS]);
            } else {
                p = Model3_PositionAt(m, corner[CORNER_POS]);
                n = !flat && m->normalCount != 0 ? Model3_NormalAt(m, corner[CORNER_NORMAL]) : faceNormal;
            }
            UV2 t = Model3_UVAt(m, corner[CORNER_UV]);
            IMMEDIATE_VERTEX v{p.x, p.y, p.z, n.x, n.y, n.z, Render_CornerDiffuse(m, g, corner, o.curBone), specular, t.u, t.v};
            if (o.highlight) {
                v.x += 0.1f * n.x, v.y += 0.1f * n.y, v.z += 0.1f * n.z;
                v.diffuse = 0x00FF00FFu;
            }
            front[k] = v;
        }
        const int start = sink.count;
        for (int j = 0; j + 2 < c; ++j) {
            Put(sink, front[0]);
            Put(sink, front[j + 1]);
            Put(sink, front[j + 2]);
            ++triangles;
        }
        if (g.mirror == 1) triangles += PutMirrored(sink, start);
        if (g.doubleSided == 1) {
            for (int j = 0; j + 2 < c; ++j) {
                const int order[3] = {c - 1, c - 2 - j, c - 3 - j};
                for (int k : order) {
                    const int32_t* corner = face.corners[k];
                    // The same positions as the front, so the back is the front's other side also
                    // for a model that is not posed (its deformed arrays are not kept then).
                    XYZ p, n;
                    if (o.deformed) {
                        p = DeformedAt(m, corner[CORNER_POS]);
                        n = DeformedNormalAt(m, corner[CORNER_POS]);
                    } else {
                        p = Model3_PositionAt(m, corner[CORNER_POS]);
                        n = Model3_NormalAt(m, corner[CORNER_NORMAL]);
                    }
                    uint32_t diffuse;
                    if (m->fillMode == 3)
                        diffuse = Model3_WeightAt(m, corner[CORNER_POS]).boneA == o.curBone ? 0xFFFF0000u : 0xFFFFFFFFu;
                    else
                        diffuse = Pack(Tinted(m, Model3_ColorAt(m, corner[CORNER_COLOR])));
                    UV2 t = Model3_UVAt(m, corner[CORNER_UV]);
                    Put(sink, IMMEDIATE_VERTEX{p.x, p.y, p.z, -n.x, -n.y, -n.z, diffuse, 0u, t.u, t.v});
                }
                ++triangles;
            }
        }
    }
    return triangles;
}

int32_t Render_EmitOutline(const MODEL3* m, int32_t gi, bool deformed, VERTEX_SINK& sink)
{
    if (gi < 0 || gi >= kModel3Groups || (size_t)gi >= m->groups.size()) return 0;
    const GROUP3& g = m->groups[(size_t)gi];
    const float push = m->edgeWidth * 0.05f;
    int32_t triangles = 0;
    const int32_t faces = std::min<int32_t>(m->faceCount, (int32_t)m->faces.size());
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        const int c = std::min<int>(face.cornerCount, 4);
        if (face.group != gi || c < 3) continue;
        Reserve(sink);
        const int start = sink.count;
        for (int j = 0; j + 2 < c; ++j) {
            const int order[3] = {c - 1, c - 2 - j, c - 3 - j};
            for (int k : order) {
                const int32_t* corner = face.corners[k];
                XYZ p, n;
                if (deformed) {
                    p = DeformedAt(m, corner[CORNER_POS]);
                    n = DeformedNormalAt(m, corner[CORNER_POS]);
                } else {
                    p = Model3_PositionAt(m, corner[CORNER_POS]);
                    n = g.shading == 3 ? XYZ{face.normal[0], face.normal[1], face.normal[2]}
                                       : Model3_NormalAt(m, corner[CORNER_NORMAL]);
                }
                UV2 t = Model3_UVAt(m, corner[CORNER_UV]);
                Put(sink, IMMEDIATE_VERTEX{p.x + n.x * push, p.y + n.y * push, p.z + n.z * push, n.x, n.y, n.z,
                                           0xFF000000u, 0u, t.u, t.v});
            }
            ++triangles;
        }
        if (g.mirror == 1) triangles += PutMirrored(sink, start);
    }
    return triangles;
}
