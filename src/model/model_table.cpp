#include "model/model_table.h"

#include <cstddef>

#include "frame/lib.h"
#include "model/loader.h"
#include "frame/log.h"
#include "frame/services.h"
#include "model/gpu_services.h"

using namespace QVL;

int32_t Model3_Create()
{
    int32_t id = -1;
    {
        LOADER_GUARD guard;
        for (size_t i = 0; i < g_Model3Table.size(); ++i) {
            MODEL3* old = g_Model3Table[i];
            if (old && old->inUse) continue;
            Model3_Free(old);
            g_Model3Table[i] = Model3_Alloc();
            id = (int32_t)i;
            break;
        }
        if (id < 0) {
            id = (int32_t)g_Model3Table.size();
            g_Model3Table.push_back(Model3_Alloc());
        }
        g_Model3Table[id]->id = id;
    }
    Model3_Notify(id, MODEL3_EVENT_CREATED);
    Log_DebugPrintf("QV.Model3_Create() ID:%d", id);
    return id;
}

bool Model3_Copy(int32_t s, int32_t d)
{
    if (s < 0 || d < 0 || s > 255 || d > 255) return false;
    MODEL3* src = Model3_GetById(s);
    if (!src || d >= Model3_Count()) return false;
    MODEL3* dst = Model3_GetById(d);
    if (!dst) {
        if (g_StudioFlag == 1) g_Lib.allocArrays = 1;
        dst = Model3_Alloc();
        // The copy lives in slot d: its ID must say so, or lookups by the record's ID go astray.
        dst->id = d;
        LOADER_GUARD guard;
        g_Model3Table[d] = dst;
    }
    Model3_CopyRecord(src, dst, g_Lib.allocArrays != 0);
    return true;
}

MODEL3* Model3_GetById(int32_t id)
{
    LOADER_GUARD guard;
    if (id < 0 || (size_t)id >= g_Model3Table.size()) return nullptr;
    return g_Model3Table[id];
}

int Model3_Count()
{
    LOADER_GUARD guard;
    return (int)g_Model3Table.size();
}

void Model3_SetLoaded(MODEL3* m)
{
    __atomic_store_n(&m->loaded, (uint8_t)1, __ATOMIC_RELEASE);
}

bool Model3_IsReady(const MODEL3* m)
{
    return m && m->inUse && __atomic_load_n(&m->loaded, __ATOMIC_ACQUIRE);
}

bool Model3_IsReadyById(int32_t id)
{
    return Model3_IsReady(Model3_GetById(id));
}

void Model3_WaitLoaded(int32_t id)
{
    if (id == -1) return;
    for (;;) {
        if (Svc_PumpMessage()) continue;
        MODEL3* m = Model3_GetById(id);
        if (!m || !m->inUse || __atomic_load_n(&m->releaseRequest, __ATOMIC_ACQUIRE)) return;
        if (Model3_IsReady(m)) return;
        Svc_Sleep(1);
    }
}

MODEL3* Model3_Release(int32_t id)
{
    MODEL3* m = Model3_GetById(id);
    if (m) __atomic_store_n(&m->releaseRequest, (uint8_t)1, __ATOMIC_RELEASE);
    return m;
}

static void FreeSlot(size_t i)
{
    Model3_Notify((int32_t)i, MODEL3_EVENT_FREED);
    Model3_Free(g_Model3Table[i]);
    g_Model3Table[i] = nullptr;
}

void Model3_ProcessReleases()
{
    if (Loader_QueueLength() > 0) return;
    for (int i = 0; i < Model3_Count(); ++i) {
        LOADER_GUARD guard;
        MODEL3* m = g_Model3Table[i];
        if (m && m->inUse && m->releaseRequest) FreeSlot((size_t)i);
    }
}

void Model3_ReleaseAll()
{
    // Requests not yet started would load into slots that no longer exist; the one in progress
    // writes into its record until it ends, so wait for it before freeing anything.
    while (QVL::Loader_DropPending(g_Loader) > 0) Svc_Sleep(1);
    LOADER_GUARD guard;
    for (size_t i = 0; i < g_Model3Table.size(); ++i)
        if (g_Model3Table[i]) FreeSlot(i);
    std::vector<MODEL3*>().swap(g_Model3Table);
}

void Model3_FreeTable()
{
    for (MODEL3*& m : g_Model3Table) {
        Model3_Free(m);
        m = nullptr;
    }
    std::vector<MODEL3*>().swap(g_Model3Table);
}
