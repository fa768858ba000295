// QVE reader: any bytes give an effect that writes back to the same bytes when read again, and that
// plays (keys, time tables, particles) without leaving its tables; or a refusal.
#include <cstdlib>

#include "effect/effect.h"
#include "effect/particle.h"
#include "support/recorder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Effect_EraseAllData();
    Effect_EraseAllInstances();
    Particle_ListClear();
    Rec().Clear();
    int32_t id = Effect_DataCreate();
    if (QVE_Parse(data, size, g_EffectData[(size_t)id]) != QVL::RECORD_OK) return 0;

    QVL::EFFECT& e = g_EffectData[(size_t)id];
    std::vector<uint8_t> once, twice;
    QVE_Write(e, once);
    QVL::EFFECT again;
    Effect_InitData(again);
    if (QVE_Parse(once.data(), once.size(), again) != QVL::RECORD_OK) std::abort();
    QVE_Write(again, twice);
    if (once != twice) std::abort();

    for (size_t t = 0; t < e.textures.size(); ++t) e.textures[t].texture = (int32_t)(t % 3) - 1;
    Effect_BuildPartTimeTables(&e);
    int32_t inst = Effect_CreateInstance(0);
    Effect_InitInstance(Effect_GetInstance(inst), id, 320.0f, 240.0f);
    Effect_CreateInstance(0);   // an instance without part states
    const int32_t frames[] = {0, 1, 7, 30, 59, e.frameCount - 1, e.frameCount};
    for (int32_t f : frames) {
        g_EffectInstances[0].frame = f;
        g_EffectInstances[1].frame = f;
        for (QVL::EFFECT_INST& in : g_EffectInstances) Effect_FindInstanceKeys(&in);
        const QVL::EFFECT_INST& in = g_EffectInstances[0];
        for (size_t j = 0; j < e.parts.size(); ++j)
            Effect_InterpolatePartKey(id, (int32_t)j, in.parts[j].key, in.parts[j].t);
        Particle_StepAll(1.0f);
        QVL::PARTICLE_SPRITE s;
        for (int32_t n = 0; n < g_Particles.counted; ++n) Particle_PrepareDraw(g_Particles.particles[(size_t)n], s);
        for (QVL::EFFECT_PART& p : e.parts) {
            EffectPart_CreateKey(&p, f);
            EffectPart_DeleteKey(&p, f + 1);
            EffectPart_PrevKeyFrame(&p, f);
            EffectPart_NextKeyFrame(&p, f);
            if (p.keyCount < 1 || p.keyCount > QVL::kEffectMaxKeys) std::abort();
        }
    }
    Effect_AdvanceInstances(100.0f);
    return 0;
}
