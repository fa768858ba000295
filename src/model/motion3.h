// Motion evaluation of 3D models: the key search of the current frame, Catmull-Rom interpolation of
// the bones' keys, and the rest, pose and chain matrices of the skeleton in the model's render data.
//
// Parents: a bone's parent must have a smaller number (bone 0 is the root and its own parent). A
// file may say otherwise; the evaluation then hangs the bone on bone 0, so every walk is one pass
// in ascending order and no value is read before it is computed.
#pragma once
#include <cstdint>

#include "frame/math3d.h"
#include "model/model3.h"

// The key search shared by bones, group tracks and 3D objects: K keys whose frames are `frames`
// (read with the given stride in int32s), motion length L, current frame c. `keyIndex` keeps its
// value when no key qualifies and the rules do not replace it.
void Motion3_SearchKeys(const int32_t* frames, int32_t stride, int32_t count, int32_t length, int32_t frame,
                        int32_t* keyIndex, float* fraction);

// Makes a motion current: false for a null model or an index outside the list; sets the animated
// flag; false (and nothing else) when the index is already current; else frame 0, wrapped 0, true.
bool Motion3_Select(QVL::MODEL3* m, int32_t index);
// Key index and fraction of every bone and group track of the current motion (animated models only).
void Motion3_UpdateKeyIndex(QVL::MODEL3* m);
// The pose state of one bone (translation, joint, quaternion, scale) at key index i and fraction t.
void Motion3_InterpolateBone(QVL::MODEL3* m, int32_t bone, int32_t i, float t);
// The bone a bone hangs on for the evaluation: its parent when that is below it, else 0; -1 for
// bone 0.
int32_t Motion3_EvalParent(const QVL::MODEL3* m, int32_t bone);

bool Motion3_BuildRestMatrices(QVL::MODEL3* m, int32_t id);
bool Motion3_BuildPoseMatrices(QVL::MODEL3* m, int32_t id);

// Accessors by model ID and bone. An ID without render data or a bone outside its pose records
// gives the identity (or the origin) and changes nothing.
void Motion3_GetBonePoseMatrix(QVL::MATRIX* out, int32_t id, int32_t bone);
void Motion3_SetBonePoseMatrix(int32_t id, int32_t bone, const float m[16]);
void Motion3_GetBoneChainMatrix(QVL::MATRIX* out, int32_t id, int32_t bone);
void Motion3_GetBoneRotation(QVL::QUAT* out, int32_t id, int32_t bone);
void Motion3_GetBonePosition(QVL::VEC3* out, int32_t id, int32_t bone);
void Motion3_GetBoneRestPosition(QVL::VEC3* out, int32_t id, int32_t bone);
