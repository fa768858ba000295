// The 2D group dialog's operations on a model.
#include "edit2d/group2d.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using QVL::FACE2;
using QVL::MODEL2;

GROUP2D_DLG g_Group2DDlg;
int32_t g_Group2DPrevGroup = -1;

namespace {

int32_t Faces(const MODEL2* m)
{
    const int64_t n = m->polygonCount < 0 ? 0 : m->polygonCount;
    return (int32_t)(n < (int64_t)m->polygons.size() ? n : (int64_t)m->polygons.size());
}

} // namespace

void Group2D_CountFaces(const MODEL2* m, int32_t counts[QVL::kModel2Groups])
{
    memset(counts, 0, sizeof(int32_t) * QVL::kModel2Groups);
    if (!m) return;
    for (int32_t f = 0; f < Faces(m); ++f) {
        const FACE2& face = m->polygons[(size_t)f];
        if (face.used && face.group >= 0 && face.group < QVL::kModel2Groups) ++counts[face.group];
    }
}

void Group2D_ListLabel(char* out, size_t cap, int32_t index, const char* name, int32_t faces)
{
    if (faces > 0)
        snprintf(out, cap, "%2d : %.255s ( %d )", index, name, faces);
    else
        snprintf(out, cap, "%2d : %.255s", index, name);
}

void Group2D_TextureLabel(char* out, size_t cap, int32_t index, const QVL::TEXTURE2& tex)
{
    if (index == 0)
        snprintf(out, cap, " 0 : テクスチャ無し");
    else if (tex.used)
        snprintf(out, cap, "%2d : %.255s", index, tex.file);
    else
        snprintf(out, cap, "%2d :", index);
}

void Group2D_SelectGroup(const MODEL2* m, int32_t group, int32_t* faceSel, int32_t faceCap, int32_t* vertexSel,
                         int32_t vertexCap)
{
    if (faceSel && faceCap > 0) memset(faceSel, 0, sizeof(int32_t) * (size_t)faceCap);
    if (vertexSel && vertexCap > 0) memset(vertexSel, 0, sizeof(int32_t) * (size_t)vertexCap);
    if (!m) return;
    for (int32_t f = 0; f < Faces(m); ++f) {
        const FACE2& face = m->polygons[(size_t)f];
        if (!face.used || face.group != group) continue;
        if (faceSel && f < faceCap) faceSel[f] = 1;
        const int corners = face.cornerCount < 4 ? face.cornerCount : 4;
        for (int c = 0; c < corners; ++c) {
            const int32_t v = face.corners[c][0];
            if (vertexSel && v < vertexCap) vertexSel[v] = 1;
        }
    }
}

bool Group2D_ParseColour(const char* const text[4], float out[4])
{
    float v[4];
    for (int i = 0; i < 4; ++i) {
        const char* s = text[i];
        while (*s == ' ') ++s;
        if (!isdigit((unsigned char)*s)) return false;
        char* end = nullptr;
        const unsigned long long n = strtoull(s, &end, 10);
        while (*end == ' ') ++end;
        if (*end) return false;
        v[i] = n > 255 ? 255.0f : (float)n;
    }
    memcpy(out, v, sizeof v);
    return true;
}

void Group2D_AssignSelected(MODEL2* m, int32_t group, const int32_t* faceSel, int32_t faceCap)
{
    if (!m || !faceSel) return;
    for (int32_t f = 0; f < Faces(m) && f < faceCap; ++f)
        if (faceSel[f] == 1) m->polygons[(size_t)f].group = group;
}

int32_t Group2D_Add(MODEL2* m)
{
    if (!m) return -1;
    if (m->groupCount < QVL::kModel2Groups) ++m->groupCount;
    return m->groupCount - 1;
}

bool Group2D_Mirror(MODEL2* m, int32_t group, int32_t* faceSel, int32_t faceCap, int32_t* vertexSel,
                    int32_t vertexCap)
{
    if (!m) return false;
    const int32_t n = m->vertexCount, c = m->colorCount, t = m->uvCount;
    const int32_t faces = Faces(m);
    int32_t added = 0;
    for (int32_t f = 0; f < faces; ++f)
        if (m->polygons[(size_t)f].group == group) ++added;
    // The counts are 16-bit: doubling past 65,535 would wrap and point faces at the wrong vertices.
    if (2 * n > 0xFFFF || 2 * c > 0xFFFF || 2 * t > 0xFFFF) return false;
    if ((int64_t)faces + added > faceCap || 2 * n > vertexCap) return false;
    if (faceSel) memset(faceSel, 0, sizeof(int32_t) * (size_t)faceCap);
    if (vertexSel) memset(vertexSel, 0, sizeof(int32_t) * (size_t)vertexCap);

    m->vertices.resize((size_t)(2 * n));
    if (m->bindings.size() < (size_t)n) m->bindings.resize((size_t)n);
    m->bindings.resize((size_t)(2 * n));
    if (m->deformed.size() < (size_t)(2 * n)) m->deformed.resize((size_t)(2 * n));
    for (int32_t j = 0; j < n; ++j) {
        m->vertices[(size_t)(n + j)] = {-m->vertices[(size_t)j].x, m->vertices[(size_t)j].y};
        // The copy follows the bones of its original, so the mirrored half moves with the model.
        m->bindings[(size_t)(n + j)] = m->bindings[(size_t)j];
        if (vertexSel) vertexSel[n + j] = 1;
    }
    m->colors.resize((size_t)(2 * c));
    for (int32_t j = 0; j < c; ++j) m->colors[(size_t)(c + j)] = m->colors[(size_t)j];
    m->uvs.resize((size_t)(2 * t));
    for (int32_t j = 0; j < t; ++j) m->uvs[(size_t)(t + j)] = m->uvs[(size_t)j];

    if (m->polygons.size() < (size_t)(faces + added)) m->polygons.resize((size_t)(faces + added));
    int32_t out = faces;
    for (int32_t f = 0; f < faces; ++f) {
        const FACE2 src = m->polygons[(size_t)f];
        if (src.group != group) continue;
        FACE2 copy = src;
        const int k = src.cornerCount < 4 ? src.cornerCount : 4;
        for (int i = 0; i < k; ++i) {
            copy.corners[i][0] = (uint16_t)(src.corners[k - 1 - i][0] + n);
            copy.corners[i][1] = (uint16_t)(src.corners[k - 1 - i][1] + c);
            copy.corners[i][2] = (uint16_t)(src.corners[k - 1 - i][2] + t);
        }
        m->polygons[(size_t)out] = copy;
        if (faceSel) faceSel[out] = 1;
        ++out;
    }
    m->polygonCount = out;
    m->vertexCount = (uint16_t)(2 * n);
    m->colorCount = (uint16_t)(2 * c);
    m->uvCount = (uint16_t)(2 * t);
    return true;
}
