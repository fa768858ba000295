// The animation clock and the per-frame refresh of the placed models: world matrices of every scene
// object, the GPU data of every ready model, and the pose and skinning of the animated ones.
#include <algorithm>
#include <cmath>
#include <vector>

#include "frame/lib.h"
#include "model/anim_clock.h"
#include "model/gpu_update.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "model/obj2.h"
#include "model/obj3.h"
#include "model/scene_object.h"
#include "model/skin.h"

using namespace QVL;

ANIM_HOOKS g_AnimHooks = {};

// Takes the whole frames out of the fraction; NaN and infinite steps count as no time.
static double WholeFrames(float* fraction, float step)
{
    if (!std::isfinite(step)) step = 0.0f;
    *fraction += step;
    if (!std::isfinite(*fraction)) *fraction = 0.0f;
    if (!(*fraction >= 1.0f)) return 0.0;
    const double whole = std::floor((double)*fraction);
    float rest = (float)((double)*fraction - whole);
    *fraction = rest >= 0.0f && rest < 1.0f ? rest : 0.0f;
    return whole;
}

void Anim_AdvanceWrap(int32_t* frame, float* fraction, float step, int32_t length, void (*perFrame)(int32_t),
                      int32_t arg)
{
    double whole = WholeFrames(fraction, step);
    if (whole > 0) {
        // Frame by frame the clock counts up and drops to 0 on reaching the length; the frame
        // reached is the same taken modulo the length.
        double f = *frame;
        if (f < 0) {
            const double up = std::min(whole, -f);
            f += up;
            whole -= up;
        }
        if (whole > 0) {
            if (length <= 0) f = 0;
            else if (f >= length) f = std::fmod(whole - 1.0, (double)length);
            else f = std::fmod(f + whole, (double)length);
        }
        *frame = (int32_t)f;
        if (perFrame) perFrame(arg);
    }
    if (*frame < 0) *frame = 0;
    if (*frame >= length) *frame = 0;
}

void Anim_AdvanceModel3(MODEL3* m, float step)
{
    if (!m) return;
    double whole = WholeFrames(&m->frameFraction, step);
    if (m->currentFrame < 0) m->currentFrame = 0;
    if (whole <= 0) return;
    const size_t motions = m->motions.size();
    if (motions == 0) return;
    if (m->currentMotion < 0 || (size_t)m->currentMotion >= motions) m->currentMotion = 0;
    // The frames left when each motion was entered at frame 0 by a follow-up: meeting one again
    // means a cycle of follow-ups, which the remaining frames go round whole times.
    std::vector<double> entered(motions, -1.0);
    while (whole > 0) {
        const MOTION3& mo = m->motions[(size_t)m->currentMotion];
        const int64_t length = mo.length;
        const double toEnd = std::max(1.0, (double)(length - (int64_t)m->currentFrame));
        if (whole < toEnd) {
            m->currentFrame = (int32_t)((int64_t)m->currentFrame + (int64_t)whole);
            break;
        }
        whole -= toEnd;
        const int32_t next = mo.next;
        if (next >= 0 && (size_t)next < motions && next != m->currentMotion) {
            Motion3_Select(m, next);
            double& seen = entered[(size_t)next];
            if (seen > whole) whole = std::fmod(whole, seen - whole);
            seen = whole;
        } else if (mo.loop || next == m->currentMotion) {
            // A follow-up naming the motion itself restarts it, as a loop does.
            m->currentFrame = 0;
            m->wrapped = 1;
            whole = length > 0 ? std::fmod(whole, (double)length) : 0.0;
        } else {
            m->currentFrame = (int32_t)length;
            whole = 0;
        }
    }
    Motion3_UpdateKeyIndex(m);
}

void Anim_Tick(float frameStep)
{
    if (g_AnimHooks.videoPlaying && g_AnimHooks.videoPlaying()) return;
    const float s = V_SyncGet() ? frameStep : 1.0f;
    if (g_AnimHooks.movieTick) g_AnimHooks.movieTick();
    for (int32_t id = 0; id < Obj2_Count(); ++id) {
        OBJ2* o = Obj2_GetById(id);
        if (!o || !o->active) continue;
        const int32_t length =
            o->motion >= 0 && (size_t)o->motion < o->motions.size() ? o->motions[(size_t)o->motion].length : 0;
        Anim_AdvanceWrap(&o->frame, &o->fraction, s, length, Obj2_UpdateKeyIndices, id);
    }
    if (g_AnimHooks.model2Tick) g_AnimHooks.model2Tick(s);
    if (g_AnimHooks.effectsTick) g_AnimHooks.effectsTick(s);
    for (int32_t row = 0; row < kObj3Rows; ++row) {
        OBJ3* o = g_Obj3Table[row];
        if (g_Obj3Flags[row][0] != 1 || !o) continue;
        const int32_t length = o->motion >= 0 && o->motion < kObj3Motions ? o->motions[o->motion].length : 0;
        Anim_AdvanceWrap(&o->frame, &o->fraction, s, length, Obj3_UpdateKeyIndex, row);
    }
    for (int32_t id = 0; id < Model3_Count(); ++id) {
        MODEL3* m = Model3_GetById(id);
        if (Model3_IsReady(m)) Anim_AdvanceModel3(m, s);
    }
    Obj2_AnimateAll();
    if (g_AnimHooks.model2Skin) g_AnimHooks.model2Skin();
    Obj3_UpdatePoses();
    Anim_UpdateModels();
}

void Anim_UpdateModels()
{
    if (!Lib_IsDrawAllowed()) return;
    for (int32_t id = 0; id < Object_Count(); ++id) Object_UpdateWorldMatrix(id);
    for (int32_t id = 0; id < Model3_Count(); ++id) {
        MODEL3* m = Model3_GetById(id);
        if (!Model3_IsReady(m)) continue;
        Gpu_UpdateModel(m, id);
        if (!m->animated) continue;
        Motion3_BuildRestMatrices(m, id);
        Motion3_BuildPoseMatrices(m, id);
        Motion3_SkinVertices(m, id);
    }
}
