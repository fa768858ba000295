// Direct3D buffers of the render kinds, filled from the platform-free builders' arrays.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "frame/lib.h"
#include "frame/log.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/image_load.h"
#include "model/win32/model_textures.h"
#include "frame/services.h"
#include "model/gpu_services.h"
#include "model/gpu_update.h"
#include "model/model_table.h"

using namespace QVL;

static_assert(sizeof(IMAGE_INFO) == sizeof(D3DXIMAGE_INFO), "the picture information is kept in D3DX's layout");

namespace {

const DWORD kBufferFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;

template <typename T>
void ReleaseOf(T*& p)
{
    if (p) p->Release();
    p = nullptr;
}

// A managed, write-only vertex buffer holding the bytes; null without a device or on failure.
IDirect3DVertexBuffer9* MakeVertexBuffer(const void* data, size_t bytes, DWORD fvf)
{
    IDirect3DVertexBuffer9* vb = nullptr;
    if (!g_Device || bytes == 0 ||
        FAILED(g_Device->CreateVertexBuffer((UINT)bytes, D3DUSAGE_WRITEONLY, fvf, D3DPOOL_MANAGED, &vb, nullptr)))
        return nullptr;
    void* p = nullptr;
    if (FAILED(vb->Lock(0, 0, &p, 0))) {
        vb->Release();
        return nullptr;
    }
    std::memcpy(p, data, bytes);
    vb->Unlock();
    return vb;
}

// An index buffer as wide as its largest index needs, with entries of that width.
IDirect3DIndexBuffer9* MakeIndexBuffer(const std::vector<uint32_t>& indices, int32_t* bytesOut)
{
    const int bytes = Gpu_IndexBytes(indices);
    *bytesOut = bytes;
    IDirect3DIndexBuffer9* ib = nullptr;
    if (!g_Device || indices.empty() ||
        FAILED(g_Device->CreateIndexBuffer((UINT)(indices.size() * (size_t)bytes), D3DUSAGE_WRITEONLY,
                                           bytes == 4 ? D3DFMT_INDEX32 : D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib,
                                           nullptr)))
        return nullptr;
    void* p = nullptr;
    if (FAILED(ib->Lock(0, 0, &p, 0))) {
        ib->Release();
        return nullptr;
    }
    Gpu_WriteIndices(indices, bytes, p);
    ib->Unlock();
    return ib;
}

bool Prepare(int32_t id, MODEL3*& m, MODEL3_RENDER*& r)
{
    m = Model3_GetById(id);
    r = Gpu_GetModelRes(id);
    return m && r;
}

int32_t Materials(const MODEL3* m, const MODEL3_RENDER* r)
{
    int32_t n = std::min<int32_t>(m->groupCount, kModel3Groups);
    return std::max(0, std::min<int32_t>(n, (int32_t)r->groups.size()));
}

} // namespace

bool Gpu_GetModelTexture(int32_t id, int32_t index, IDirect3DTexture9*** texture, D3DXIMAGE_INFO** info)
{
    MODEL3_RENDER* r = Gpu_GetModelRes(id);
    if (!r || index < 0 || index >= kModel3Textures) return false;
    // Outside the studio the lists are as long as the model's texture count; an entry named past it
    // (a model filled by code) still gets its place.
    if ((size_t)index >= r->textures.size()) r->textures.resize((size_t)index + 1, nullptr);
    if ((size_t)index >= r->textureInfos.size()) r->textureInfos.resize((size_t)index + 1, IMAGE_INFO{});
    *texture = &r->textures[(size_t)index];
    *info = reinterpret_cast<D3DXIMAGE_INFO*>(&r->textureInfos[(size_t)index]);
    return true;
}

void Gpu_ReleaseModelRes(MODEL3_RENDER* r)
{
    if (!r) return;
    r->ready = 0;
    for (GPU_GROUP& g : r->groups) {
        ReleaseOf(g.vertexBuffer);
        ReleaseOf(g.indexBuffer);
        g.count = 0;
    }
    for (IDirect3DTexture9*& t : r->textures) ReleaseOf(t);
    ReleaseOf(r->further);
}

void Gpu_DestroyModelRes(MODEL3_RENDER* r)
{
    if (!r) return;
    Gpu_ReleaseModelRes(r);
    std::vector<BONE3_POSE>().swap(r->bonePoses);
    std::vector<GPU_GROUP>().swap(r->groups);
    std::vector<IDirect3DTexture9*>().swap(r->textures);
    std::vector<IMAGE_INFO>().swap(r->textureInfos);
}

bool Gpu_BuildKind2(int32_t id)
{
    MODEL3* m;
    MODEL3_RENDER* r;
    if (!Prepare(id, m, r)) return false;
    std::vector<std::vector<int32_t>> faces;
    Gpu_FacesByGroup(m, faces);
    std::vector<BUFFER_VERTEX> verts;
    for (int32_t g = 0; g < Materials(m, r); ++g) {
        GPU_GROUP& e = r->groups[(size_t)g];
        Gpu_FanVertices(m, faces[(size_t)g], m->groups[(size_t)g], verts);
        if (!verts.empty()) {
            ReleaseOf(e.vertexBuffer);
            e.vertexBuffer = MakeVertexBuffer(verts.data(), verts.size() * sizeof(BUFFER_VERTEX), kBufferFvf);
        }
        e.count = e.vertexBuffer ? (int32_t)verts.size() : 0;
    }
    return true;
}

bool Gpu_BuildKind3(int32_t id)
{
    MODEL3* m;
    MODEL3_RENDER* r;
    if (!Prepare(id, m, r) || id >= kGpuTableSize) return false;
    Gpu_FreeKind3(id);
    GPU_KIND3* k = Gpu_MakeKind3(m);
    g_GpuTables.kind3[id] = k;
    std::vector<BUFFER_VERTEX> verts;
    std::vector<uint32_t> indices;
    for (int32_t g = 0; g < Materials(m, r); ++g) {
        const GPU_KIND3_GROUP& src = k->groups[g];
        GPU_GROUP& e = r->groups[(size_t)g];
        if (src.vertexCount < 1) {
            // Nothing of an earlier build may be drawn with this build's (zero) counts.
            e.count = 0;
            continue;
        }
        ReleaseOf(e.vertexBuffer);
        Gpu_Kind3Vertices(src, verts);
        e.vertexBuffer = MakeVertexBuffer(verts.data(), verts.size() * sizeof(BUFFER_VERTEX), kBufferFvf);
        ReleaseOf(e.indexBuffer);
        Gpu_PolygonIndices(src.polygons, src.polygonCount, indices);
        e.count = 0;
        if (!indices.empty()) {
            e.indexBuffer = MakeIndexBuffer(indices, &e.indexBytes);
            if (e.indexBuffer && e.vertexBuffer) e.count = (int32_t)indices.size();
        }
    }
    return true;
}

static bool BuildExportKind(int32_t id, bool skin)
{
    MODEL3* m;
    MODEL3_RENDER* r;
    if (!Prepare(id, m, r)) return false;
    std::vector<BUFFER_VERTEX> verts;
    std::vector<SKIN_VERTEX> skinVerts;
    std::vector<uint32_t> indices;
    for (int32_t g = 0; g < Materials(m, r); ++g) {
        const GROUP3& src = m->groups[(size_t)g];
        GPU_GROUP& e = r->groups[(size_t)g];
        if (src.exportVertexCount < 1) continue;
        ReleaseOf(e.vertexBuffer);
        ReleaseOf(e.indexBuffer);
        if (skin) {
            Gpu_ExportSkinVertices(src, skinVerts);
            e.vertexBuffer = MakeVertexBuffer(skinVerts.data(), skinVerts.size() * sizeof(SKIN_VERTEX), 0);
        } else {
            Gpu_ExportVertices(src, verts);
            e.vertexBuffer = MakeVertexBuffer(verts.data(), verts.size() * sizeof(BUFFER_VERTEX), kBufferFvf);
        }
        Gpu_ExportIndices(src, indices);
        e.indexBuffer = MakeIndexBuffer(indices, &e.indexBytes);
        e.count = e.vertexBuffer && e.indexBuffer ? (int32_t)indices.size() : 0;
    }
    return true;
}

bool Gpu_BuildKind4(int32_t id)
{
    return BuildExportKind(id, false);
}

bool Gpu_BuildKind5(int32_t id)
{
    return BuildExportKind(id, true);
}

bool Gpu_BuildDisplacement(int32_t id)
{
    MODEL3* m;
    MODEL3_RENDER* r;
    if (!Prepare(id, m, r) || id >= kGpuTableSize) return false;
    const int32_t t = m->displacement;
    if (t < 0 || t >= kModel3Textures || (size_t)t >= m->textures.size() || m->textures[(size_t)t].used != 1) return false;
    Gpu_FreeDisplacement(id);
    GPU_DISPLACEMENT* d = new GPU_DISPLACEMENT();
    d->copy = Gpu_MakeDisplacementCopy(m);
    g_GpuTables.displacement[id] = d;
    IDirect3DTexture9* tex = (size_t)t < r->textures.size() ? r->textures[(size_t)t] : nullptr;
    if (!tex) {
        Log_Printf("Displacement用Tex == NULL");
        return false;
    }
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT lr;
    if (FAILED(tex->GetLevelDesc(0, &desc))) return false;
    // The texel's low byte is read as 4-byte pixels: pictures load as A8R8G8B8.
    if (desc.Format != D3DFMT_A8R8G8B8 && desc.Format != D3DFMT_X8R8G8B8) return false;
    if (FAILED(tex->LockRect(0, &lr, nullptr, 0))) return false;
    const TEXTURE3& entry = m->textures[(size_t)t];
    Gpu_DisplaceCopy(d->copy, static_cast<const uint8_t*>(lr.pBits), lr.Pitch, (int32_t)desc.Width,
                     (int32_t)desc.Height, entry.width, entry.height, m->displacementHeight);
    tex->UnlockRect(0);
    return true;
}

bool Gpu_BuildBuffers(int32_t id, int32_t kind)
{
    switch (kind) {
    case 2: return Gpu_BuildKind2(id);
    case 3: return Gpu_BuildKind3(id);
    case 4: return Gpu_BuildKind4(id);
    case 5: return Gpu_BuildKind5(id);
    case 8: return Gpu_BuildDisplacement(id);
    default: return false;
    }
}

bool Gpu_WriteVertices(int32_t id, int32_t group, const float* positions, const float* normals, int32_t count)
{
    MODEL3_RENDER* r = Gpu_GetModelRes(id);
    if (!r || group < 0 || (size_t)group >= r->groups.size() || !positions || count <= 0) return false;
    IDirect3DVertexBuffer9* vb = r->groups[(size_t)group].vertexBuffer;
    D3DVERTEXBUFFER_DESC desc;
    if (!vb || FAILED(vb->GetDesc(&desc))) return false;
    // The buffer's own size bounds the writes, whatever the faces say now.
    const int32_t n = std::min<int32_t>(count, (int32_t)(desc.Size / sizeof(BUFFER_VERTEX)));
    void* p = nullptr;
    if (FAILED(vb->Lock(0, 0, &p, 0))) return false;
    BUFFER_VERTEX* v = static_cast<BUFFER_VERTEX*>(p);
    for (int32_t i = 0; i < n; ++i) {
        v[i].x = positions[i * 3 + 0];
        v[i].y = positions[i * 3 + 1];
        v[i].z = positions[i * 3 + 2];
        if (normals) {
            v[i].nx = normals[i * 3 + 0];
            v[i].ny = normals[i * 3 + 1];
            v[i].nz = normals[i * 3 + 2];
        }
    }
    vb->Unlock();
    return true;
}
