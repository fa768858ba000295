#include "model/scene_object.h"

#include "frame/log.h"

using namespace QVL;

OBJECT* Object_Construct(OBJECT* o)
{
    o->active = 0;
    o->transformIndex = -1;
    o->modelId = -1;
    o->visible = 1;
    o->cullTest = 0;
    o->culled = 0;
    for (int k = 0; k < 3; ++k) {
        o->position[k] = 0.0f;
        o->rotation[k] = 0.0f;
        o->scale[k] = 1.0f;
        o->collisionVelocity[k] = 0.0f;
    }
    o->quaternion[0] = o->quaternion[1] = o->quaternion[2] = 0.0f;
    o->quaternion[3] = 1.0f;
    o->collisionState = 0;
    o->collisionLinks[0] = o->collisionLinks[1] = -1;
    o->collisionFlags[0] = 1;
    o->collisionFlags[1] = 0;
    o->collisionFactor = 0.0f;
    o->collisionEnabled = 0;
    return o;
}

void Object_Destroy(OBJECT*) {}

int32_t ObjectCreate()
{
    int32_t id = -1;
    for (size_t i = 0; i < g_ObjectTable.size(); ++i) {
        if (!g_ObjectTable[i]->active) {
            id = (int32_t)i;
            break;
        }
    }
    if (id < 0) {
        // The transform table has 256 records: a 257th object would have none.
        if ((int32_t)g_ObjectTable.size() >= kObjectMax) return -1;
        g_ObjectTable.push_back(Object_Construct(new OBJECT()));
        id = (int32_t)g_ObjectTable.size() - 1;
        // A new ID gets a zero-filled record (the one a freed table left behind is reused).
        if (g_ObjectXforms[id]) *g_ObjectXforms[id] = OBJECT_XFORM();
        else g_ObjectXforms[id] = new OBJECT_XFORM();
    }
    OBJECT* o = g_ObjectTable[(size_t)id];
    o->active = 1;
    o->visible = 1;
    o->transformIndex = id;
    o->modelId = id;
    for (int k = 0; k < 3; ++k) {
        o->position[k] = 0.0f;
        o->rotation[k] = 0.0f;
        o->scale[k] = 1.0f;
    }
    o->quaternion[0] = o->quaternion[1] = o->quaternion[2] = 0.0f;
    o->quaternion[3] = 1.0f;
    Log_DebugPrintf("QV.ObjectCreate() ID:%d", id);
    return id;
}

int32_t Object_Count()
{
    return (int32_t)g_ObjectTable.size();
}

OBJECT* Object_GetById(int32_t id)
{
    if (id < 0 || id >= Object_Count()) return nullptr;
    return g_ObjectTable[(size_t)id];
}

OBJECT* Object_Delete(int32_t id)
{
    OBJECT* o = Object_GetById(id);
    if (o) o->active = 0;
    return o;
}

OBJECT_XFORM* Object_GetXform(int32_t id)
{
    if (id < 0 || id >= kObjectMax) return nullptr;
    return g_ObjectXforms[id];
}

bool Object_SetPosition(OBJECT* o, float x, float y, float z)
{
    if (!o) return false;
    o->position[0] = x, o->position[1] = y, o->position[2] = z;
    return true;
}

bool Object_SetRotation(OBJECT* o, float x, float y, float z)
{
    if (!o) return false;
    o->rotation[0] = x, o->rotation[1] = y, o->rotation[2] = z;
    if (OBJECT_XFORM* t = Object_GetXform(o->transformIndex)) t->useQuaternion = 0;
    return true;
}

bool Object_SetQuaternion(OBJECT* o, float x, float y, float z, float w)
{
    if (!o) return false;
    o->quaternion[0] = x, o->quaternion[1] = y, o->quaternion[2] = z, o->quaternion[3] = w;
    if (OBJECT_XFORM* t = Object_GetXform(o->transformIndex)) t->useQuaternion = 1;
    return true;
}

bool Object_SetScale(OBJECT* o, float x, float y, float z)
{
    if (!o) return false;
    o->scale[0] = x, o->scale[1] = y, o->scale[2] = z;
    return true;
}

bool Object_SetVisible(OBJECT* o, uint8_t visible)
{
    if (!o) return false;
    o->visible = visible;
    return true;
}

void Object_UpdateWorldMatrix(int32_t id)
{
    OBJECT* o = Object_GetById(id);
    OBJECT_XFORM* t = Object_GetXform(id);
    if (!o || !t) return;
    if (t->useQuaternion) {
        QUAT q{o->quaternion[0], o->quaternion[1], o->quaternion[2], o->quaternion[3]};
        Math_QuatNormalize(&q);
        Math_MatrixCompose(&t->world, o->position[0], o->position[1], o->position[2], q.x, q.y, q.z, q.w,
                           o->scale[0], o->scale[1], o->scale[2]);
    } else {
        Math_MatrixWorld(&t->world, o->position[0], o->position[1], o->position[2], o->rotation[0], o->rotation[1],
                         o->rotation[2], o->scale[0], o->scale[1], o->scale[2]);
    }
}

void Object_FreeTable()
{
    for (OBJECT*& o : g_ObjectTable) {
        Object_Destroy(o);
        delete o;
        o = nullptr;
    }
    std::vector<OBJECT*>().swap(g_ObjectTable);
}
