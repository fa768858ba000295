// Per-model render data: sizing and forgetting. Releasing the Direct3D objects it holds is done by
// model/win32/gpu_buffers.cpp.
#include <algorithm>
#include <cstring>

#include "frame/lib.h"
#include "model/loader.h"
#include "model/gpu_data.h"
#include "model/model_table.h"

using namespace QVL;

GPU_TABLES g_GpuTables;

MODEL3_RENDER* Gpu_GetModelRes(int32_t id)
{
    // The loader thread reads entries while the main thread may grow the table.
    LOADER_GUARD guard;
    if (id < 0 || (size_t)id >= g_Model3RenderTable.size()) return nullptr;
    return g_Model3RenderTable[(size_t)id];
}

MODEL3_RENDER* Gpu_EnsureModelRes(int32_t id)
{
    if (id < 0) return nullptr;
    LOADER_GUARD guard;
    if ((size_t)id >= g_Model3RenderTable.size()) g_Model3RenderTable.resize((size_t)id + 1, nullptr);
    MODEL3_RENDER*& r = g_Model3RenderTable[(size_t)id];
    if (!r) r = Gpu_InitModelRes(new MODEL3_RENDER(), id);
    return r;
}

MODEL3_RENDER* Gpu_InitModelRes(MODEL3_RENDER* r, int32_t id)
{
    r->bonePoses.clear();
    r->groups.clear();
    r->textures.clear();
    r->textureInfos.clear();
    r->modelId = id;
    Gpu_ClearModelRes(r);
    return r;
}

void Gpu_ClearModelRes(MODEL3_RENDER* r)
{
    if (!r) return;
    r->ready = 0;
    r->bonePoses.clear();
    r->groups.clear();
    r->textures.clear();
    r->textureInfos.clear();
    r->further = nullptr;
}

void Gpu_ResizeModelRes(MODEL3_RENDER* r)
{
    if (!r) return;
    const MODEL3* m = Model3_GetById(r->modelId);
    if (m) {
        // Only growing: the entries hold Direct3D objects, which only their release may drop.
        const bool studio = g_StudioFlag != 0;
        auto atLeast = [](size_t have, int32_t want) { return std::max(have, (size_t)std::max(0, want)); };
        Gpu_ResizeBonePoses(r, (int32_t)atLeast(r->bonePoses.size(), studio ? kModel3Bones : m->boneCount));
        r->groups.resize(atLeast(r->groups.size(), studio ? kModel3Groups : m->groupCount), GPU_GROUP{});
        size_t textures = atLeast(r->textures.size(), studio ? kModel3Textures : m->textureCount);
        r->textures.resize(textures, nullptr);
        r->textureInfos.resize(textures, IMAGE_INFO{});
    } else {
        r->bonePoses.clear();
        r->groups.clear();
        r->textures.clear();
        r->textureInfos.clear();
    }
    r->ready = 1;
}

void Gpu_ResizeBonePoses(MODEL3_RENDER* r, int32_t count)
{
    if (!r) return;
    BONE3_POSE zero;
    std::memset(&zero, 0, sizeof zero);
    r->bonePoses.resize((size_t)std::max(0, count), zero);
}

namespace {

bool InTable(int32_t id)
{
    return id >= 0 && id < kGpuTableSize;
}

template <class T>
void FreeEntry(T* (&table)[kGpuTableSize], int32_t id)
{
    if (!InTable(id)) return;
    delete table[id];
    table[id] = nullptr;
}

} // namespace

void Gpu_FreeKind1(int32_t id) { FreeEntry(g_GpuTables.kind1, id); }

void Gpu_FreeKind3(int32_t id) { FreeEntry(g_GpuTables.kind3, id); }

void Gpu_FreeDisplacement(int32_t id)
{
    if (InTable(id) && g_GpuTables.displacement[id]) Model3_Free(g_GpuTables.displacement[id]->copy);
    FreeEntry(g_GpuTables.displacement, id);
}

void Gpu_FreeKind9(int32_t id) { FreeEntry(g_GpuTables.kind9, id); }

void Gpu_FreeRenderTable()
{
    for (int32_t id = 0; id < kGpuTableSize; ++id) {
        Gpu_FreeKind1(id);
        Gpu_FreeKind3(id);
        Gpu_FreeDisplacement(id);
        Gpu_FreeKind9(id);
    }
    for (MODEL3_RENDER*& r : g_Model3RenderTable) {
        delete r;
        r = nullptr;
    }
    std::vector<MODEL3_RENDER*>().swap(g_Model3RenderTable);
}
