// Skinning on the processor: each vertex follows at most two bones (A with its weight, B with the
// rest), from the pose and rest matrices of the motion evaluation; the results go to the model's
// deformed arrays and to the drawable data of its render kind.
#pragma once
#include <cstdint>

#include "frame/math3d.h"
#include "model/gpu_data.h"
#include "model/model3.h"

// False for a null model, a model without render data or one whose animated flag is 0.
bool Motion3_SkinVertices(QVL::MODEL3* m, int32_t id);
// The kind 1 lists take the deformed position (or normal) of the position each vertex names.
bool Gpu_RefreshKind1Positions(QVL::GPU_KIND1* k, int32_t id);
bool Gpu_RefreshKind1Normals(QVL::GPU_KIND1* k, int32_t id);
