// The per-frame refresh of the placed models: world matrices of every scene object, then the GPU
// data of every ready model whose rebuild flag is raised.
#include "frame/lib.h"
#include "model/gpu_update.h"
#include "model/model_table.h"
#include "model/scene_object.h"

void Anim_UpdateModels()
{
    if (!Lib_IsDrawAllowed()) return;
    for (int32_t id = 0; id < Object_Count(); ++id) Object_UpdateWorldMatrix(id);
    for (int32_t id = 0; id < Model3_Count(); ++id) {
        QVL::MODEL3* m = Model3_GetById(id);
        if (!Model3_IsReady(m)) continue;
        Gpu_UpdateModel(m, id);
        // The pose and the skinning of animated models come with the motion evaluation.
    }
}
