// One particle update over 100,000 live particles (step, emission, removal of those whose life ends)
// against a memcpy of the same particle array, in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "effect/effect.h"
#include "effect/particle.h"

namespace {

constexpr size_t kParticles = 100000;

// One effect with one emitter part, one instance, and a full particle list whose lives are spread
// over 1..90, so that about one in ninety ends in each update as in a steady stream.
std::vector<QVL::PARTICLE> MakeScene()
{
    Effect_EraseAllData();
    Effect_EraseAllInstances();
    int32_t id = Effect_DataCreate();
    QVL::EFFECT* e = Effect_GetData(id);
    QVL::EFFECT_PART& part = e->parts[(size_t)Effect_PartCreate(e)];
    part.kind = QVL::EFFECT_PART_EMITTER;
    QVL::EFFECT_KEY& k = part.keys[0];
    k.shown = 1;
    k.emitInterval = 3;
    k.speed[1] = -2.0f;
    k.speedRange[0] = 1.0f;
    k.scale[0] = k.scale[1] = 1.0f;
    k.color[3] = 128.0f;
    int32_t inst = Effect_CreateInstance(0);
    Effect_InitInstance(Effect_GetInstance(inst), id, 320.0f, 240.0f);
    Effect_FindInstanceKeys(Effect_GetInstance(inst));
    Particle_SeedRandom(1);
    std::vector<QVL::PARTICLE> v(kParticles);
    for (size_t i = 0; i < kParticles; ++i) {
        Particle_Init(v[i]);
        v[i].life = 1 + (int32_t)(i % 90);
        v[i].instance = inst;
        v[i].effect = id;
        v[i].part = 0;
        v[i].positionSpeed[0] = Particle_RandomAround(0.0f, 1.0f);
        v[i].positionSpeed[1] = -2.0f;
    }
    return v;
}

void BM_ParticleUpdate100k(benchmark::State& state)
{
    const std::vector<QVL::PARTICLE> start = MakeScene();
    // Room for the spawns, as a list that has been running for a while has.
    g_Particles.particles.reserve(start.size() + 1024);
    for (auto _ : state) {
        state.PauseTiming();
        g_Particles.particles = start;
        g_Particles.counted = (int32_t)start.size();
        state.ResumeTiming();
        Particle_StepAll(1.0f);
        benchmark::DoNotOptimize(g_Particles.particles.data());
    }
    state.counters["particles"] = (double)kParticles;
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)(kParticles * sizeof(QVL::PARTICLE)));
    Particle_ListClear();
}
BENCHMARK(BM_ParticleUpdate100k)->Unit(benchmark::kMicrosecond);

void BM_ParticleArrayMemcpy100k(benchmark::State& state)
{
    const std::vector<QVL::PARTICLE> src = MakeScene();
    std::vector<QVL::PARTICLE> dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(QVL::PARTICLE));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)(kParticles * sizeof(QVL::PARTICLE)));
}
BENCHMARK(BM_ParticleArrayMemcpy100k)->Unit(benchmark::kMicrosecond);

} // namespace
