// Rebuilding a model's drawable data when its GPU-rebuild flag is raised, and releasing it. The
// data comes from the platform-free builders (model/gpu_data.h); the kinds with graphics buffers
// are built through the platform seam (Gpu_BuildBuffers, model/gpu_services.h).
#pragma once
#include <cstdint>

#include "model/gpu_data.h"

// Rebuilds the data of the model's render kind when its rebuild flag is set (kinds 4 and 5 of an
// old file are built as kind 3 outside the studio; a kind 1, 8 or 9 build that fails falls back to
// kind 0). False for a null model or a model without render data.
bool Gpu_UpdateModel(QVL::MODEL3* m, int32_t id);
bool Gpu_BuildKind1(int32_t id);
bool Gpu_BuildKind9(int32_t id);
// The studio's (model/win32/gpu_buffers.cpp).
bool Gpu_BuildKind2(int32_t id);
bool Gpu_BuildKind3(int32_t id);
bool Gpu_BuildKind4(int32_t id);
bool Gpu_BuildKind5(int32_t id);
bool Gpu_BuildDisplacement(int32_t id);
// Releases every buffer, texture and the further object; ready 0.
void Gpu_ReleaseModelRes(QVL::MODEL3_RENDER* r);
// Releases, then frees the vectors' storage.
void Gpu_DestroyModelRes(QVL::MODEL3_RENDER* r);

// Once per frame (model/anim_models.cpp): every object's world matrix, then the GPU data of
// every ready model; nothing while frames are skipped.
void Anim_UpdateModels();
