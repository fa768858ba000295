// Curved triangles on the device: one patch, sampled from the weight tables, drawn in one call.
#include <windows.h>
#include <d3d9.h>

#include "frame/win32/app_frame.h"
#include "model/curve.h"
#include "render/model_draw.h"

namespace {

struct CURVE_VERTEX {
    float position[3];
    float normal[3];
    DWORD diffuse;
    DWORD specular;
    float u, v;
};
static_assert(sizeof(CURVE_VERTEX) == 40, "the stride of the vertex format");

DWORD Channel(float c)
{
    // Truncated towards zero; the low 8 bits kept.
    return (DWORD)(int32_t)c & 0xFF;
}

} // namespace

void Curve_TessellateTriangle(const CURVE_CORNER& c0, const CURVE_CORNER& c1, const CURVE_CORNER& c2, int16_t level)
{
    if (!g_Device) return;
    static QVL::CURVE_PATCH patch;
    static CURVE_VERTEX verts[(QVL::kCurveMaxLevel + 1) * (QVL::kCurveMaxLevel + 1) * 3];
    const CURVE_CORNER* c[3] = {&c0, &c1, &c2};
    QVL::CURVE_POINT corners[3];
    float colors[3][4];
    for (int i = 0; i < 3; ++i) {
        corners[i] = QVL::CURVE_POINT{{c[i]->position[0], c[i]->position[1], c[i]->position[2]},
                                      {c[i]->normal[0], c[i]->normal[1], c[i]->normal[2]}, c[i]->u, c[i]->v};
        for (int k = 0; k < 4; ++k) colors[i][k] = (float)c[i]->diffuse[k];
    }
    if (!Curve_FillPatch(&patch, corners, colors, level)) return;
    const DWORD specular = (DWORD)(c0.specular[0] & 0xFF) << 16 | (DWORD)(c0.specular[1] & 0xFF) << 8 |
                           (DWORD)(c0.specular[2] & 0xFF);
    const int32_t count = patch.triangleCount * 3;
    for (int32_t i = 0; i < count; ++i) {
        const uint16_t p = patch.triangles[i];
        const QVL::CURVE_POINT& pt = patch.points[p];
        const float* k = patch.colors[p];
        CURVE_VERTEX& v = verts[i];
        for (int a = 0; a < 3; ++a) v.position[a] = pt.position[a], v.normal[a] = pt.normal[a];
        v.diffuse = (DWORD)(int32_t)k[3] << 24 | Channel(k[0]) << 16 | Channel(k[1]) << 8 | Channel(k[2]);
        v.specular = specular;
        v.u = pt.u;
        v.v = pt.v;
    }
    g_Device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1);
    // The whole patch in one call rather than one per small triangle.
    g_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, (UINT)patch.triangleCount, verts, sizeof verts[0]);
}
