// The animation clock: one library tick advances every animated record, then brings the models'
// poses up to date (Anim_UpdateModels, model/gpu_update.h). Defined in model/anim_models.cpp.
#pragma once
#include <cstdint>

#include "model/model3.h"

// What the tick needs from the layers above the models; each registers its functions at start-up,
// and a null entry is skipped.
struct ANIM_HOOKS {
    bool (*videoPlaying)();          // a video plays in the media window: nothing advances
    void (*movieTick)();
    void (*effectsTick)(float step); // effect instances, then particles
    void (*model2Tick)(float step);  // the 2D one-skin models' clocks
    void (*model2Skin)();
};
extern ANIM_HOOKS g_AnimHooks;

// One step of the whole engine. `frameStep` is the 60 Hz frames of this pass; with V-sync off every
// clock advances exactly one frame.
void Anim_Tick(float frameStep);

// A clock that wraps to frame 0 at the motion's length (2D and 3D objects). perFrame runs once when
// at least one whole frame passed: the key search depends only on the frame reached.
void Anim_AdvanceWrap(int32_t* frame, float* fraction, float step, int32_t length, void (*perFrame)(int32_t),
                      int32_t arg);
// A 3D model's clock: follow-up motions, looping (the wrapped byte) and holding at the end.
void Anim_AdvanceModel3(QVL::MODEL3* m, float step);
