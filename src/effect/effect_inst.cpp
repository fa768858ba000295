// Playing effect instances: the key pair around each part's frame, Catmull-Rom interpolation between
// keys, the per-part time tables and the advance of instances with the removal of finished ones.
#include <cmath>

#include "effect/effect.h"
#include "effect/particle.h"
#include "frame/math3d.h"

using QVL::EFFECT;
using QVL::EFFECT_INST;
using QVL::EFFECT_INST_PART;
using QVL::EFFECT_KEY;
using QVL::EFFECT_PART;

int32_t Effect_CreateInstance(int32_t projected)
{
    g_EffectInstances.emplace_back();
    g_EffectInstances.back() = EFFECT_INST{};
    g_EffectInstances.back().projected = projected;
    return (int32_t)g_EffectInstances.size() - 1;
}

EFFECT_INST* Effect_GetInstance(int32_t index)
{
    if (index < 0 || (size_t)index >= g_EffectInstances.size()) return nullptr;
    return &g_EffectInstances[(size_t)index];
}

void Effect_EraseAllInstances()
{
    g_EffectInstances.clear();
}

void Effect_DeleteInstance(int32_t index)
{
    if (index < 0 || (size_t)index >= g_EffectInstances.size()) return;
    // Every particle follows its instance, counted or not: later ones move down with the table,
    // and particles of the deleted instance name none from now on.
    for (QVL::PARTICLE& p : g_Particles.particles) {
        if (p.instance == index) p.instance = -1;
        else if (p.instance > index) p.instance -= 1;
    }
    g_EffectInstances.erase(g_EffectInstances.begin() + index);
}

void Effect_SizeInstanceStates(EFFECT_INST* inst)
{
    if (!inst) return;
    const EFFECT* e = Effect_GetData(inst->effect);
    inst->parts.resize(e ? e->parts.size() : 0, EFFECT_INST_PART{});
}

void Effect_InitInstance(EFFECT_INST* inst, int32_t effect, float x, float y)
{
    if (!inst) return;
    inst->effect = effect;
    inst->frame = 0;
    inst->fraction = 0.0f;
    inst->position[0] = x;
    inst->position[1] = y;
    inst->position[2] = 0.0f;
    inst->parts.clear();
    Effect_SizeInstanceStates(inst);
}

void Effect_FindInstanceKeys(EFFECT_INST* inst)
{
    if (!inst) return;
    const EFFECT* e = Effect_GetData(inst->effect);
    if (!e || e->parts.empty()) return;
    // Parts without a state (an instance made before the part was added) are left alone.
    size_t count = e->parts.size() < inst->parts.size() ? e->parts.size() : inst->parts.size();
    const int64_t frame = inst->frame;
    for (size_t i = 0; i < count; ++i) {
        const EFFECT_PART& part = e->parts[i];
        EFFECT_INST_PART& st = inst->parts[i];
        int32_t n = part.keyCount < 1 ? 1 : (part.keyCount > QVL::kEffectMaxKeys ? QVL::kEffectMaxKeys : part.keyCount);
        int32_t key = n - 1, next = n - 1;
        for (int32_t k = 0; k + 1 < n; ++k) {
            if (part.keys[k].frame <= frame && frame < part.keys[k + 1].frame) {
                key = k;
                next = k + 1;
                break;
            }
        }
        int64_t span = (int64_t)part.keys[next].frame - part.keys[key].frame;
        st.key = key;
        st.next = next;
        st.t = span == 0 ? 0.0f : (float)(frame - part.keys[key].frame) / (float)span;
    }
}

void Effect_InterpolatePartKey(int32_t effect, int32_t partIndex, int32_t c, float t)
{
    EFFECT* e = Effect_GetData(effect);
    if (!e || partIndex < 0 || (size_t)partIndex >= e->parts.size()) return;
    EFFECT_PART& part = e->parts[(size_t)partIndex];
    int32_t n = part.keyCount < 1 ? 1 : (part.keyCount > QVL::kEffectMaxKeys ? QVL::kEffectMaxKeys : part.keyCount);
    if (c < 0 || c >= n) return;
    // The first and the last key are taken again at the ends; nothing wraps.
    int32_t p = c - 1 < 0 ? 0 : c - 1;
    int32_t f = c + 1 >= n ? n - 1 : c + 1;
    int32_t g = f + 1 < n ? f + 1 : n - 1;
    const EFFECT_KEY& k0 = part.keys[p];
    const EFFECT_KEY& k1 = part.keys[c];
    const EFFECT_KEY& k2 = part.keys[f];
    const EFFECT_KEY& k3 = part.keys[g];
    for (int a = 0; a < 3; ++a) {
        float o = part.origin[a];
        part.curPosition[a] = Anim_CatmullRom(k0.position[a] + o, k1.position[a] + o, k2.position[a] + o,
                                              k3.position[a] + o, t);
        part.curRotation[a] = Anim_CatmullRom(k0.rotation[a], k1.rotation[a], k2.rotation[a], k3.rotation[a], t);
        part.curScale[a] = Anim_CatmullRom(k0.scale[a], k1.scale[a], k2.scale[a], k3.scale[a], t);
    }
    for (int a = 0; a < 4; ++a)
        part.curColor[a] = Anim_CatmullRom(k0.color[a], k1.color[a], k2.color[a], k3.color[a], t);
}

void Effect_BuildPartTimeTables(EFFECT* e)
{
    if (!e) return;
    int64_t frames = e->frameCount;
    if (frames < 0) frames = 0;
    if (frames > QVL::kEffectMaxFrames) frames = QVL::kEffectMaxFrames;
    for (EFFECT_PART& part : e->parts) {
        part.timeTable.clear();
        part.timeTable.reserve((size_t)frames);
        const int64_t first = part.keys[0].frame;
        for (int64_t n = 0; n < frames; ++n)
            part.timeTable.push_back(first <= n && n <= first + e->frameCount ? (int32_t)(n - first) : -1);
    }
}

// True when any particle, counted or spawned in the last update, still belongs to the instance.
static bool InstanceHasParticles(int32_t index)
{
    for (const QVL::PARTICLE& p : g_Particles.particles)
        if (p.instance == index) return true;
    return false;
}

void Effect_AdvanceInstances(float step)
{
    for (size_t i = 0; i < g_EffectInstances.size();) {
        EFFECT_INST& inst = g_EffectInstances[i];
        const EFFECT* e = Effect_GetData(inst.effect);
        if (!e) {
            ++i;
            continue;
        }
        Anim_AdvanceFrames(&inst.frame, &inst.fraction, step);
        if (inst.frame < e->frameCount || InstanceHasParticles((int32_t)i)) {
            ++i;
            continue;
        }
        Effect_DeleteInstance((int32_t)i);
    }
}
