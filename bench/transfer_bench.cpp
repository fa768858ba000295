// Transfer of bindings between two 65,000-quad models, beside a sort of the same 260,000 positions.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "model/transfer.h"
#include "support/model_builders.h"

using namespace QVL;

namespace {

MODEL3* Grid65kQuads(float shift)
{
    MODEL3* m = NewRecord();
    MakeQuadGrid(m, 255, 255, 1);   // 65,025 quads, 260,100 positions
    for (int32_t i = 0; i < m->positionCount; ++i) {
        m->positions[i].x += shift;
        m->positions[i].z -= shift * 0.5f;
        m->weights[i].boneA = (uint8_t)(i % 5);
    }
    return m;
}

const MODEL3& Source()
{
    static MODEL3* m = Grid65kQuads(0.0f);
    return *m;
}

void BM_SortPositions260k(benchmark::State& state)
{
    const MODEL3& m = Source();
    std::vector<XYZ> p;
    for (auto _ : state) {
        state.PauseTiming();
        p.assign(m.positions.begin(), m.positions.begin() + m.positionCount);
        state.ResumeTiming();
        std::sort(p.begin(), p.end(), [](const XYZ& a, const XYZ& b) {
            if (a.x != b.x) return a.x < b.x;
            if (a.y != b.y) return a.y < b.y;
            return a.z < b.z;
        });
        benchmark::DoNotOptimize(p.data());
    }
    state.counters["positions"] = m.positionCount;
}
BENCHMARK(BM_SortPositions260k)->Unit(benchmark::kMillisecond);

void BM_Transfer65kQuads(benchmark::State& state)
{
    const MODEL3& src = Source();
    MODEL3* dst = Grid65kQuads(0.1f);   // a moved copy
    for (auto _ : state) {
        Model3_TransferFrom(&src, dst);
        benchmark::DoNotOptimize(dst->weights.data());
    }
    state.counters["positions"] = dst->positionCount;
    Model3_Free(dst);
}
BENCHMARK(BM_Transfer65kQuads)->Unit(benchmark::kMillisecond);

} // namespace
