// The particle runtime: spawning from emitter keys, the per-update step, emission and removal.
#include <cstdint>

#include "effect/effect.h"
#include "effect/particle.h"

using QVL::EFFECT;
using QVL::EFFECT_INST;
using QVL::EFFECT_INST_PART;
using QVL::EFFECT_KEY;
using QVL::EFFECT_PART;
using QVL::PARTICLE;
using QVL::PARTICLE_LIST;

// The C library's rand() has a different range in the two builds; particles use their own source.
static uint32_t g_ParticleRandState = 1;

void Particle_SeedRandom(uint32_t seed)
{
    g_ParticleRandState = seed;
}

int32_t Particle_Random()
{
    g_ParticleRandState = g_ParticleRandState * 214013u + 2531011u;
    return (int32_t)((g_ParticleRandState >> 16) & 0x7FFF);
}

float Particle_RandomAround(float base, float range)
{
    if (!(range > 0.0f)) return base;
    int32_t r = Particle_Random();
    // r is below 32768, so any m above that gives r itself; the cap keeps the conversion defined.
    double scaled = (double)range * 2.0 * 1000.0;
    int64_t m = scaled >= 1e9 ? (int64_t)1000000000 : (int64_t)scaled;
    if (m == 0) return base - range;
    return (float)((double)base - (double)range + (double)(r % m) * 0.001);
}

void Particle_ListInit()
{
    g_Particles.particles.clear();
    g_Particles.counted = 0;
}

void Particle_ListFree()
{
    std::vector<PARTICLE>().swap(g_Particles.particles);
    g_Particles.counted = 0;
}

void Particle_ListClear()
{
    g_Particles.particles.clear();
    g_Particles.counted = 0;
}

void Particle_Init(PARTICLE& p)
{
    p = PARTICLE{};
    p.instance = p.effect = p.part = -1;
    for (int a = 0; a < 4; ++a) {
        p.scale[a] = 1.0f;
        p.color[a] = 255.0f;
    }
}

namespace {

// The emitter key a particle of (instance, effect, part) follows now, with its part and state; null
// when any of them is missing (instance gone, part without a state, key index out of range).
struct EmitterRef {
    EFFECT_INST* inst;
    EFFECT* effect;
    EFFECT_PART* part;
    EFFECT_INST_PART* state;
    const EFFECT_KEY* key;
};

bool FindEmitter(int32_t instance, int32_t effect, int32_t part, EmitterRef& ref)
{
    ref.inst = Effect_GetInstance(instance);
    ref.effect = Effect_GetData(effect);
    if (!ref.inst || !ref.effect || ref.effect->parts.empty()) return false;
    if (part < 0 || (size_t)part >= ref.effect->parts.size() || (size_t)part >= ref.inst->parts.size()) return false;
    ref.part = &ref.effect->parts[(size_t)part];
    ref.state = &ref.inst->parts[(size_t)part];
    int32_t k = ref.state->key;
    if (k < 0 || k >= ref.part->keyCount || k >= QVL::kEffectMaxKeys) return false;
    ref.key = &ref.part->keys[k];
    return true;
}

} // namespace

void Particle_Spawn(int32_t i, int32_t effect, int32_t j)
{
    EmitterRef ref;
    if (!FindEmitter(i, effect, j, ref)) return;
    Effect_InterpolatePartKey(effect, j, ref.state->key, ref.state->t);
    const EFFECT_KEY& K = *ref.key;
    const EFFECT_PART& part = *ref.part;

    PARTICLE p;
    Particle_Init(p);
    p.life = QVL::kParticleLife;
    p.instance = i;
    p.effect = effect;
    p.part = j;
    for (int a = 0; a < 3; ++a) p.position[a] = part.curPosition[a] + ref.inst->position[a];
    // The random numbers are drawn in this order.
    p.positionSpeed[0] = Particle_RandomAround(K.speed[0], K.speedRange[0]);
    p.positionSpeed[1] = Particle_RandomAround(K.speed[1], K.speedRange[1]);
    p.positionSpeed[2] = K.speed[2];
    p.rotation[2] = part.curRotation[2] + ref.inst->rotation[2];
    p.rotationSpeed[2] = Particle_RandomAround(K.rotSpeed[2], K.rotSpeedRange[2]);
    for (int a = 0; a < 3; ++a) p.scale[a] = part.curScale[a];
    p.scaleSpeed[0] = Particle_RandomAround(K.scaleSpeed[0], K.scaleSpeedRange[0]);
    p.scaleSpeed[1] = Particle_RandomAround(K.scaleSpeed[1], K.scaleSpeedRange[1]);
    p.scaleSpeed[2] = K.scaleSpeed[2];
    for (int a = 0; a < 4; ++a) p.color[a] = part.curColor[a];
    for (int a = 0; a < 4; ++a) p.colorSpeed[a] = Particle_RandomAround(K.colorSpeed[a], K.colorSpeedRange[a]);
    g_Particles.particles.push_back(p);
}

void Particle_Step(PARTICLE& p)
{
    p.life -= 1;
    for (int a = 0; a < 4; ++a) {
        p.position[a] += p.positionSpeed[a];
        p.rotation[a] += p.rotationSpeed[a];
        p.scale[a] += p.scaleSpeed[a];
        p.color[a] += p.colorSpeed[a];
    }
    EmitterRef ref;
    if (!FindEmitter(p.instance, p.effect, p.part, ref)) return;
    // The key in force now, not the one at birth: its speeds are also a constant acceleration.
    const EFFECT_KEY& K = *ref.key;
    p.positionSpeed[0] += 0.01f * K.speed[0];
    p.positionSpeed[1] += 0.01f * K.speed[1];
    p.rotationSpeed[2] += 0.01f * K.rotSpeed[2];
    p.scaleSpeed[0] += 0.01f * K.scaleSpeed[0];
    p.scaleSpeed[1] += 0.01f * K.scaleSpeed[1];
    for (int a = 0; a < 4; ++a) p.colorSpeed[a] += 0.01f * K.colorSpeed[a];
}

void Particle_Update(PARTICLE_LIST& list)
{
    list.counted = (int32_t)list.particles.size();
    for (int32_t n = 0; n < list.counted; ++n) Particle_Step(list.particles[(size_t)n]);

    for (size_t i = 0; i < g_EffectInstances.size(); ++i) {
        EFFECT_INST& inst = g_EffectInstances[i];
        EFFECT* e = Effect_GetData(inst.effect);
        if (!e || e->parts.empty() || inst.frame >= e->frameCount) continue;
        for (size_t j = 0; j < e->parts.size() && j < inst.parts.size(); ++j) {
            const EFFECT_PART& part = e->parts[j];
            if (part.kind != QVL::EFFECT_PART_EMITTER) continue;
            EFFECT_INST_PART& st = inst.parts[j];
            if (st.key < 0 || st.key >= part.keyCount || st.key >= QVL::kEffectMaxKeys) continue;
            const EFFECT_KEY& K = part.keys[st.key];
            if (!K.shown) continue;   // a hidden key freezes the counter
            st.emitCounter += 1;
            if (st.emitCounter >= K.emitInterval) {
                st.emitCounter = 0;
                Particle_Spawn((int32_t)i, inst.effect, (int32_t)j);
            }
        }
    }

    // Removal: one stable pass over the counted particles; those spawned above follow behind.
    std::vector<PARTICLE>& v = list.particles;
    size_t counted = (size_t)list.counted, w = 0;
    for (size_t n = 0; n < counted; ++n) {
        if (v[n].life < 1) continue;
        if (w != n) v[w] = v[n];
        ++w;
    }
    if (w != counted) v.erase(v.begin() + (ptrdiff_t)w, v.begin() + (ptrdiff_t)counted);
    list.counted = (int32_t)w;
}

void Particle_StepAll(float)
{
    Particle_Update(g_Particles);
}

bool Particle_PrepareDraw(PARTICLE& p, QVL::PARTICLE_SPRITE& out)
{
    EmitterRef ref;
    if (!FindEmitter(p.instance, p.effect, p.part, ref)) return false;
    const EFFECT_KEY& K = *ref.key;
    if (K.texture < 0 || (size_t)K.texture >= ref.effect->textures.size()) return false;
    int32_t handle = ref.effect->textures[(size_t)K.texture].texture;
    if (handle < 0) return false;
    // Clamped in the record: a scale that went negative grows again from 0.
    for (int a = 0; a < 3; ++a)
        if (p.scale[a] < 0.0f) p.scale[a] = 0.0f;
    for (int a = 0; a < 4; ++a) {
        if (p.color[a] < 0.0f) p.color[a] = 0.0f;
        if (p.color[a] > 255.0f) p.color[a] = 255.0f;
    }
    out.texture = handle;
    out.blend = K.blend;
    out.x = p.position[0];
    out.y = p.position[1];
    out.angle = p.rotation[2];
    out.scaleX = p.scale[0];
    out.scaleY = p.scale[1];
    out.r = p.color[0];
    out.g = p.color[1];
    out.b = p.color[2];
    out.a = p.color[3];
    return true;
}
