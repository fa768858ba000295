// The polygon screen's batches on the device: the vertex layout and 2D mapping of the immediate
// lines and points, many primitives per call.
#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <vector>

#include "edit3d/poly_draw.h"
#include "frame/win32/app_frame.h"
#include "render/immediate.h"

namespace {

struct VERTEX2D {
    float x, y, z, rhw;
    DWORD color;
    float u, v;
};
static_assert(sizeof(VERTEX2D) == 28, "2D vertex stride");

// Primitives per call: well under the device's primitive limit, and a small upload each.
constexpr size_t kChunk = 8192;

} // namespace

void Draw_Batch2D(const POLY_BATCH& batch)
{
    if (!g_Device) return;
    const QVL::MAP2D map = Draw_Current2DMap();
    const DWORD color = Draw_PackColor(batch.rgba[0], batch.rgba[1], batch.rgba[2], batch.rgba[3]);
    const size_t perPrim = batch.points ? 1 : 2;
    const size_t vertices = batch.xy.size() / 2;
    static std::vector<VERTEX2D> v;
    v.resize(vertices);
    for (size_t i = 0; i < vertices; ++i) {
        VERTEX2D& o = v[i];
        Draw_Map2DPoint(map, (float)batch.xy[2 * i], (float)batch.xy[2 * i + 1], &o.x, &o.y);
        o.z = 0.0f, o.rhw = 1.0f, o.color = color, o.u = 0.0f, o.v = 0.0f;
    }
    g_Device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    const D3DPRIMITIVETYPE type = batch.points ? D3DPT_POINTLIST : D3DPT_LINELIST;
    const size_t prims = vertices / perPrim;
    for (size_t at = 0; at < prims; at += kChunk) {
        const size_t n = std::min(kChunk, prims - at);
        g_Device->DrawPrimitiveUP(type, (UINT)n, &v[at * perPrim], sizeof(VERTEX2D));
    }
}
