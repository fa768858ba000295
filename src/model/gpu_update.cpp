// Rebuilding a model's drawable data when its GPU-rebuild flag is raised. The system-memory kinds
// are built here; the kinds with graphics buffers through the platform seam.
#include "model/gpu_update.h"

#include "frame/lib.h"
#include "model/gpu_services.h"
#include "model/model_table.h"

using namespace QVL;

bool Gpu_BuildKind1(int32_t id)
{
    MODEL3* m = Model3_GetById(id);
    if (!m || id < 0 || id >= kGpuTableSize) return false;
    Gpu_FreeKind1(id);
    g_GpuTables.kind1[id] = Gpu_MakeKind1(m);
    return true;
}

bool Gpu_BuildKind9(int32_t id)
{
    MODEL3* m = Model3_GetById(id);
    if (!m || id < 0 || id >= kGpuTableSize) return false;
    Gpu_FreeKind9(id);
    g_GpuTables.kind9[id] = Gpu_MakeKind9(m);
    return true;
}

bool Gpu_UpdateModel(MODEL3* m, int32_t id)
{
    MODEL3_RENDER* r = Gpu_GetModelRes(id);
    if (!m || !r) return false;
    if (m->positionCount <= 0 || m->gpuRebuild == 0) return true;
    m->gpuRebuild = 0;
    // The data was sized when the slot was made or loaded; a model grown since by code (more
    // materials, say) needs entries for what it has now.
    Gpu_ResizeModelRes(r);
    Gpu_FreeKind3(id);
    if (g_StudioFlag == 0 && m->version < kModel3Version && (m->renderKind == 4 || m->renderKind == 5))
        m->renderKind = 3;
    bool ok = true;
    switch (m->renderKind) {
    case 1: ok = Gpu_BuildKind1(id); break;
    case 2:
    case 3:
    case 4:
    case 5: Gpu_BuildBuffers(id, m->renderKind); break;
    case 8: ok = Gpu_BuildBuffers(id, 8); break;
    case 9: ok = Gpu_BuildKind9(id); break;
    default: break;
    }
    if (!ok) m->renderKind = 0;
    return true;
}
