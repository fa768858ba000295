// Scene objects: each places one 3D model in the world (position, Euler or quaternion rotation,
// scale) and owns the transform record whose world matrix the renderer sets before drawing it.
// Objects live for the whole run in g_ObjectTable, indexed by ID; an inactive slot is reused.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/math3d.h"

namespace QVL {

struct OBJECT {
    uint8_t active;
    int32_t transformIndex;     // into g_ObjectXforms; equals the ID
    int32_t modelId;
    uint8_t visible;
    uint8_t cullTest;           // the draw-list builder tests the object against the view
    uint8_t culled;             // written by the draw-list builder
    float position[3];
    float rotation[3];          // Euler degrees
    float quaternion[4];        // x, y, z, w; used as given, normalised only for the matrix
    float scale[3];
    uint8_t collisionState;
    float collisionVelocity[3];
    int32_t collisionLinks[2];
    uint8_t collisionFlags[2];
    float collisionFactor;
    uint8_t collisionEnabled;

    virtual void Hook1() {}
    virtual void Hook2() {}
    virtual ~OBJECT() {}
};

struct OBJECT_XFORM {
    uint8_t reserved;
    uint8_t useQuaternion;      // 1: the world matrix comes from the quaternion
    MATRIX world;
};

} // namespace QVL

constexpr int32_t kObjectMax = 256;

// Defined in shell/statics.cpp with the scene's tables.
extern std::vector<QVL::OBJECT*> g_ObjectTable;
extern QVL::OBJECT_XFORM* g_ObjectXforms[kObjectMax];

QVL::OBJECT* Object_Construct(QVL::OBJECT* o);
void Object_Destroy(QVL::OBJECT* o);
// The first inactive slot, or a new one; -1 when all 256 transform records are taken.
int32_t ObjectCreate();
int32_t Object_Count();
QVL::OBJECT* Object_GetById(int32_t id);
QVL::OBJECT* Object_Delete(int32_t id);
bool Object_SetPosition(QVL::OBJECT* o, float x, float y, float z);
bool Object_SetRotation(QVL::OBJECT* o, float x, float y, float z);
bool Object_SetQuaternion(QVL::OBJECT* o, float x, float y, float z, float w);
bool Object_SetScale(QVL::OBJECT* o, float x, float y, float z);
bool Object_SetVisible(QVL::OBJECT* o, uint8_t visible);
void Object_UpdateWorldMatrix(int32_t id);
// The transform record of an object ID, or null.
QVL::OBJECT_XFORM* Object_GetXform(int32_t id);
// The scene's destruction: every object destroyed and freed (transform records are kept).
void Object_FreeTable();
