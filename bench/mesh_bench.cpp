// Mesh operations on a 10,000-quad model, each beside a plain copy of the model's arrays.
#include <benchmark/benchmark.h>

#include <vector>

#include "frame/lib.h"
#include "model/subdivide.h"
#include "support/model_builders.h"

using namespace QVL;

namespace {

const MODEL3& TenThousandQuads()
{
    static MODEL3* m = [] {
        MODEL3* r = NewRecord();
        MakeQuadGrid(r, 100, 100, 1);
        return r;
    }();
    return *m;
}

struct Arrays {
    std::vector<XYZ> positions, normals;
    std::vector<RGBA> colors;
    std::vector<UV2> uvs;
    std::vector<FACE3> faces;
};

void BM_CopyArrays10kQuads(benchmark::State& state)
{
    const MODEL3& m = TenThousandQuads();
    for (auto _ : state) {
        Arrays a{m.positions, m.normals, m.colors, m.uvs, m.faces};
        benchmark::DoNotOptimize(a.faces.data());
    }
    state.counters["quads"] = m.faceCount;
}
BENCHMARK(BM_CopyArrays10kQuads)->Unit(benchmark::kMillisecond);

void BM_SubdivideOnePass10kQuads(benchmark::State& state)
{
    const MODEL3& src = TenThousandQuads();
    int32_t faces = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MODEL3* m = new MODEL3(src);
        state.ResumeTiming();
        Model3_SubdivideQuads(m);
        faces = m->faceCount;
        state.PauseTiming();
        delete m;
        state.ResumeTiming();
    }
    state.counters["faces_after"] = faces;
}
BENCHMARK(BM_SubdivideOnePass10kQuads)->Unit(benchmark::kMillisecond);

} // namespace
