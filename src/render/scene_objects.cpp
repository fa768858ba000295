// The scene objects as the frame reads them: the object table and the transform records.
#include "model/scene_object.h"
#include "render/frame_render.h"

int32_t Render_ObjectCount() { return Object_Count(); }

bool Render_GetObject(int32_t id, RENDER_OBJECT* out)
{
    const QVL::OBJECT* o = Object_GetById(id);
    if (!o) return false;
    out->active = o->active != 0;
    out->visible = o->visible != 0;
    out->cullTest = o->cullTest != 0;
    out->culled = o->culled != 0;
    out->model = o->modelId;
    for (int k = 0; k < 3; ++k) out->position[k] = o->position[k];
    return true;
}

void Render_SetObjectCulled(int32_t id, bool culled)
{
    QVL::OBJECT* o = Object_GetById(id);
    if (o) o->culled = culled ? 1 : 0;
}

const QVL::MATRIX* Render_ObjectWorld(int32_t id)
{
    const QVL::OBJECT_XFORM* xf = Object_GetById(id) ? Object_GetXform(id) : nullptr;
    return xf ? &xf->world : nullptr;
}
