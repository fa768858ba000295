// The drawable data of each render kind, built on the processor from a model's faces.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/lib.h"
#include "model/exact_index.h"
#include "model/gpu_data.h"
#include "model/model_load.h"
#include "model/normals.h"
#include "model/subdivide.h"

using namespace QVL;

int32_t Gpu_Truncate(float f)
{
    // A float outside the int range converts to an undefined value; file data may hold anything.
    if (!(f > -2147483648.0f && f < 2147483648.0f)) return 0;
    return (int32_t)f;
}

RGBA Gpu_CornerColor(const MODEL3* m, const GROUP3& g, int32_t colorIndex)
{
    RGBA c;
    if (m->vertexColorMode == 1) c = Model3_ColorAt(m, colorIndex);
    else c = RGBA{g.color[0], g.color[1], g.color[2], g.alpha};
    return RGBA{c.r * m->tint[0] / 255.0f, c.g * m->tint[1] / 255.0f, c.b * m->tint[2] / 255.0f,
                c.a * m->tint[3] / 255.0f};
}

uint32_t Gpu_PackColor(const RGBA& c)
{
    uint32_t a = (uint32_t)Gpu_Truncate(c.a), r = (uint32_t)Gpu_Truncate(c.r);
    uint32_t g = (uint32_t)Gpu_Truncate(c.g), b = (uint32_t)Gpu_Truncate(c.b);
    return a << 24 | (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF);
}

void Gpu_FacesByGroup(const MODEL3* m, std::vector<std::vector<int32_t>>& out)
{
    const int32_t groups = std::max(0, std::min<int32_t>(m->groupCount, kModel3Groups));
    out.assign((size_t)groups, std::vector<int32_t>());
    const int32_t faces = std::min<int32_t>(m->faceCount, (int32_t)m->faces.size());
    for (int32_t f = 0; f < faces; ++f) {
        int32_t g = m->faces[f].group;
        if (g >= 0 && g < groups) out[(size_t)g].push_back(f);
    }
}

namespace {

int Corners(const FACE3& f)
{
    return std::min<int>(f.cornerCount, 4);
}

int FanTriangles(const MODEL3* m, const std::vector<int32_t>& faces)
{
    int n = 0;
    for (int32_t f : faces) n += std::max(0, Corners(m->faces[f]) - 2);
    return n;
}

BUFFER_VERTEX CornerVertex(const MODEL3* m, const GROUP3& g, const FACE3& face, int c)
{
    const int32_t* k = face.corners[c];
    XYZ p = Model3_PositionAt(m, k[CORNER_POS]);
    XYZ n = Model3_NormalAt(m, k[CORNER_NORMAL]);
    UV2 t = Model3_UVAt(m, k[CORNER_UV]);
    return BUFFER_VERTEX{p.x, p.y, p.z, n.x, n.y, n.z, Gpu_PackColor(Gpu_CornerColor(m, g, k[CORNER_COLOR])), t.u, t.v};
}

// Equal position and UV (float equality), hashed: the first vertex remembered for a value wins,
// as a first-match linear search over the material's vertices would.
struct VERTEX_KEY {
    float v[5];
};
VERTEX_KEY KeyOf(const MODEL3* m, const int32_t* corner)
{
    XYZ p = Model3_PositionAt(m, corner[CORNER_POS]);
    UV2 t = Model3_UVAt(m, corner[CORNER_UV]);
    return VERTEX_KEY{{p.x, p.y, p.z, t.u, t.v}};
}

// The polygons of one material over vertices shared by equal position and UV, numbered from
// `count` on: addVertex (corner, key) is called once per new vertex, in the order they first appear.
template <class ADD_VERTEX>
void SharedVertexPolygons(const MODEL3* m, const std::vector<int32_t>& faces, int32_t& count,
                          std::vector<GPU_POLYGON>& polygons, int32_t& polygonCount, ADD_VERTEX addVertex)
{
    ExactIndex<5> seen(faces.size() * 2);
    for (int32_t f : faces) {
        const FACE3& face = m->faces[f];
        const int corners = Corners(face);
        if (corners < 3) continue;
        GPU_POLYGON poly = {};
        for (int c = 0; c < corners; ++c) {
            const int32_t* k = face.corners[c];
            VERTEX_KEY key = KeyOf(m, k);
            int32_t at = seen.FindOrAdd(key.v, count);
            if (at < 0) {
                at = count++;
                addVertex(k, key);
            }
            poly.corners[c] = at;
        }
        poly.cornerCount = (uint8_t)corners;
        polygons.push_back(poly);
        polygonCount++;
    }
}

} // namespace

void Gpu_FanVertices(const MODEL3* m, const std::vector<int32_t>& faces, const GROUP3& g, std::vector<BUFFER_VERTEX>& out)
{
    out.clear();
    out.reserve((size_t)FanTriangles(m, faces) * 3);
    for (int32_t f : faces) {
        const FACE3& face = m->faces[f];
        for (int k = 0; k + 2 < Corners(face); ++k) {
            out.push_back(CornerVertex(m, g, face, 0));
            out.push_back(CornerVertex(m, g, face, k + 1));
            out.push_back(CornerVertex(m, g, face, k + 2));
        }
    }
}

GPU_KIND1* Gpu_MakeKind1(const MODEL3* m)
{
    GPU_KIND1* r = new GPU_KIND1();
    std::vector<std::vector<int32_t>> byGroup;
    Gpu_FacesByGroup(m, byGroup);
    for (size_t gi = 0; gi < byGroup.size(); ++gi) {
        const GROUP3& g = m->groups[gi];
        GPU_KIND1_GROUP& e = r->groups[gi];
        e.vertices.reserve((size_t)FanTriangles(m, byGroup[gi]) * 3);
        for (int32_t f : byGroup[gi]) {
            const FACE3& face = m->faces[f];
            for (int k = 0; k + 2 < Corners(face); ++k) {
                const int corners[3] = {0, k + 1, k + 2};
                for (int c : corners) {
                    KIND1_VERTEX v = {};
                    v.v = CornerVertex(m, g, face, c);
                    v.face = f;
                    v.corner = (uint8_t)c;
                    e.vertices.push_back(v);
                }
            }
        }
        e.count = (int32_t)e.vertices.size();
    }
    return r;
}

GPU_KIND3* Gpu_MakeKind3(const MODEL3* m)
{
    GPU_KIND3* r = new GPU_KIND3();
    std::vector<std::vector<int32_t>> byGroup;
    Gpu_FacesByGroup(m, byGroup);
    const bool hasNormals = m->normalCount > 0;
    for (size_t gi = 0; gi < byGroup.size(); ++gi) {
        const GROUP3& g = m->groups[gi];
        GPU_KIND3_GROUP& e = r->groups[gi];
        SharedVertexPolygons(m, byGroup[gi], e.vertexCount, e.polygons, e.polygonCount,
                             [&](const int32_t* k, const VERTEX_KEY& key) {
                                 e.positions.push_back(XYZ{key.v[0], key.v[1], key.v[2]});
                                 e.normals.push_back(hasNormals ? Model3_NormalAt(m, k[CORNER_NORMAL]) : XYZ{0, 0, 0});
                                 e.colors.push_back(Gpu_CornerColor(m, g, k[CORNER_COLOR]));
                                 e.uvs.push_back(UV2{key.v[3], key.v[4]});
                                 e.weights.push_back(Model3_WeightAt(m, k[CORNER_POS]));
                             });
        for (const GPU_POLYGON& poly : e.polygons) e.triangleCount += poly.cornerCount - 2;
        e.deformed.assign((size_t)e.vertexCount, XYZ{0, 0, 0});
    }
    return r;
}

void Gpu_Kind3Vertices(const GPU_KIND3_GROUP& g, std::vector<BUFFER_VERTEX>& out)
{
    out.resize((size_t)g.vertexCount);
    for (int32_t i = 0; i < g.vertexCount; ++i) {
        const XYZ& p = g.positions[(size_t)i];
        const XYZ& n = g.normals[(size_t)i];
        const UV2& t = g.uvs[(size_t)i];
        out[(size_t)i] = BUFFER_VERTEX{p.x, p.y, p.z, n.x, n.y, n.z, Gpu_PackColor(g.colors[(size_t)i]), t.u, t.v};
    }
}

void Gpu_PolygonIndices(const std::vector<GPU_POLYGON>& polygons, int32_t count, std::vector<uint32_t>& out)
{
    out.clear();
    count = std::min<int32_t>(count, (int32_t)polygons.size());
    for (int32_t p = 0; p < count; ++p) {
        const GPU_POLYGON& poly = polygons[(size_t)p];
        for (int k = 0; k + 2 < std::min<int>(poly.cornerCount, 4); ++k) {
            out.push_back((uint32_t)poly.corners[0]);
            out.push_back((uint32_t)poly.corners[k + 1]);
            out.push_back((uint32_t)poly.corners[k + 2]);
        }
    }
}

GPU_KIND9* Gpu_MakeKind9(const MODEL3* m)
{
    GPU_KIND9* r = new GPU_KIND9();
    std::vector<std::vector<int32_t>> byGroup;
    Gpu_FacesByGroup(m, byGroup);
    const bool hasNormals = m->normalCount > 0;
    for (size_t gi = 0; gi < byGroup.size(); ++gi) {
        const GROUP3& g = m->groups[gi];
        GPU_KIND9_GROUP& e = r->groups[gi];
        e.vertexCapacity = FanTriangles(m, byGroup[gi]) * 3;
        e.vertices.reserve((size_t)e.vertexCapacity);
        r->vertexCounter = 0;
        SharedVertexPolygons(m, byGroup[gi], r->vertexCounter, e.polygons, e.polygonCount,
                             [&](const int32_t* k, const VERTEX_KEY& key) {
                                 XYZ n = hasNormals ? Model3_NormalAt(m, k[CORNER_NORMAL]) : XYZ{0, 0, 0};
                                 e.vertices.push_back(BUFFER_VERTEX{key.v[0], key.v[1], key.v[2], n.x, n.y, n.z,
                                                                    Gpu_PackColor(Gpu_CornerColor(m, g, k[CORNER_COLOR])),
                                                                    key.v[3], key.v[4]});
                             });
        Gpu_PolygonIndices(e.polygons, e.polygonCount, e.indices);
        e.indexCount = (int32_t)e.indices.size();
    }
    return r;
}

void Gpu_ExportVertices(const GROUP3& g, std::vector<BUFFER_VERTEX>& out)
{
    const size_t n = (size_t)std::max(0, g.exportVertexCount);
    out.assign(n, BUFFER_VERTEX{});
    for (size_t i = 0; i < n; ++i) {
        BUFFER_VERTEX& v = out[i];
        if (i < g.exportPositions.size()) v.x = g.exportPositions[i].x, v.y = g.exportPositions[i].y, v.z = g.exportPositions[i].z;
        if (i < g.exportNormals.size()) v.nx = g.exportNormals[i].x, v.ny = g.exportNormals[i].y, v.nz = g.exportNormals[i].z;
        if (i < g.exportColors.size()) v.diffuse = Gpu_PackColor(g.exportColors[i]);
        if (i < g.exportUVs.size()) v.u = g.exportUVs[i].u, v.v = g.exportUVs[i].v;
    }
}

void Gpu_ExportSkinVertices(const GROUP3& g, std::vector<SKIN_VERTEX>& out)
{
    const size_t n = (size_t)std::max(0, g.exportVertexCount);
    out.assign(n, SKIN_VERTEX{});
    for (size_t i = 0; i < n; ++i) {
        SKIN_VERTEX& v = out[i];
        if (i < g.exportPositions.size()) v.x = g.exportPositions[i].x, v.y = g.exportPositions[i].y, v.z = g.exportPositions[i].z;
        if (i < g.exportWeights.size()) {
            v.weightA = g.exportWeights[i].weightA;
            v.bones[0] = g.exportWeights[i].boneA;
            // Bone B too: without it a blend mixes bone A with bone 0.
            v.bones[1] = g.exportWeights[i].boneB;
        }
        if (i < g.exportColors.size()) v.diffuse = Gpu_PackColor(g.exportColors[i]);
        if (i < g.exportUVs.size()) v.u = g.exportUVs[i].u, v.v = g.exportUVs[i].v;
    }
}

void Gpu_ExportIndices(const GROUP3& g, std::vector<uint32_t>& out)
{
    const int32_t tris = std::max(0, std::min<int32_t>(g.exportTriangleCount, (int32_t)g.exportTriangles.size()));
    const int32_t verts = std::max(0, g.exportVertexCount);
    out.resize((size_t)tris * 3);
    for (int32_t t = 0; t < tris; ++t)
        for (int c = 0; c < 3; ++c) {
            int32_t i = g.exportTriangles[(size_t)t].corners[c][CORNER_POS];
            out[(size_t)t * 3 + (size_t)c] = i >= 0 && i < verts ? (uint32_t)i : 0u;
        }
}

int Gpu_IndexBytes(const std::vector<uint32_t>& indices)
{
    for (uint32_t i : indices)
        if (i > 0xFFFFu) return 4;
    return 2;
}

void Gpu_WriteIndices(const std::vector<uint32_t>& indices, int bytes, void* out)
{
    if (bytes == 4) {
        std::memcpy(out, indices.data(), indices.size() * 4);
        return;
    }
    uint8_t* p = static_cast<uint8_t*>(out);
    for (size_t i = 0; i < indices.size(); ++i) {
        uint16_t v = (uint16_t)indices[i];
        std::memcpy(p + i * 2, &v, 2);
    }
}

MODEL3* Gpu_MakeDisplacementCopy(const MODEL3* m)
{
    // A record of our own rather than a slot of the model table: the slot may hold a live model.
    g_Lib.allocArrays = 1;
    MODEL3* copy = Model3_Alloc();
    Model3_CopyRecord(m, copy, false);
    for (int pass = 0; pass < m->subdivision; ++pass) {
        // Each quad becomes four (16 new positions, 3 more faces): stop before the limits.
        int64_t quads = 0;
        for (int32_t f = 0; f < copy->faceCount; ++f)
            if (Model3_SplitsFace(copy->faces[(size_t)f])) ++quads;
        if (quads == 0 || !Model3_SubdivisionFits(copy, quads)) break;
        Model3_SubdivideQuads(copy);
    }
    Model3_Weld(copy);
    return copy;
}

namespace {

// Into 0..1 by whole steps, as adding or subtracting 1 until it lies there would (1 stays 1), but
// in one step: huge values and NaN must not loop.
float WrapUnit(float u)
{
    if (u > 1.0f) {
        u = u - std::floor(u);
        if (u == 0.0f) u = 1.0f;
    } else if (u < 0.0f) {
        u = u - std::floor(u);
    }
    return u;
}

int32_t TexelIndex(float t, int32_t entrySize, int32_t levelSize)
{
    int32_t i = Gpu_Truncate(t * (float)entrySize);
    // u = 1 gives the entry's size, and the entry may be larger than the level: stay inside it.
    return std::max(0, std::min(i, levelSize - 1));
}

} // namespace

void Gpu_DisplaceCopy(MODEL3* copy, const uint8_t* texels, int32_t pitch, int32_t texW, int32_t texH,
                      int32_t entryWidth, int32_t entryHeight, float height)
{
    if (!copy || !texels || texW <= 0 || texH <= 0) return;
    Model3_FitArrays(copy);
    std::vector<uint8_t> visited(copy->positions.size(), 0);
    const int32_t faces = std::min<int32_t>(copy->faceCount, (int32_t)copy->faces.size());
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = copy->faces[(size_t)f];
        for (int c = 0; c < Corners(face); ++c) {
            int32_t p = face.corners[c][CORNER_POS];
            int32_t t = face.corners[c][CORNER_UV];
            if (p < 0 || (size_t)p >= visited.size() || visited[(size_t)p]) continue;
            visited[(size_t)p] = 1;
            if (t < 0 || (size_t)t >= copy->uvs.size()) continue;
            UV2& uv = copy->uvs[(size_t)t];
            uv.u = WrapUnit(uv.u);
            uv.v = WrapUnit(uv.v);
            int32_t col = TexelIndex(uv.u, entryWidth, texW);
            int32_t row = TexelIndex(uv.v, entryHeight, texH);
            uint32_t texel;
            std::memcpy(&texel, texels + (size_t)row * (size_t)pitch + (size_t)col * 4, 4);
            float d = (float)(texel & 0xFF) * height * 0.0005f;
            XYZ& pos = copy->positions[(size_t)p];
            pos.x += face.normal[0] * d;
            pos.y += face.normal[1] * d;
            pos.z += face.normal[2] * d;
        }
    }
    Model3_CalcNormals(copy);
    copy->groups[0].shading = 4;
}
