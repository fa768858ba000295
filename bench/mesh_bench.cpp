// Mesh operations on a 10,000-quad model, each beside a plain copy of the model's arrays.
#include <benchmark/benchmark.h>

#include <vector>

#include "frame/lib.h"
#include "model/curve.h"
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

// Level 4 makes 50 triangles of each quad (500,000 faces): past the studio's limits, which the
// benchmark lifts to measure the work itself.
void BM_CurveBakeLevel4_10kQuads(benchmark::State& state)
{
    const MODEL3& src = TenThousandQuads();
    const int32_t polyLimit = g_PolyLimit, vertexLimit = g_VertexLimit;
    g_PolyLimit = 1000000;
    g_VertexLimit = 4000000;
    MODEL3 leveled(src);
    leveled.subdivision = 4;
    int32_t faces = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MODEL3* dst = NewRecord();
        state.ResumeTiming();
        Curve_BakeInto(&leveled, dst);
        faces = dst->faceCount;
        state.PauseTiming();
        Model3_Free(dst);
        state.ResumeTiming();
    }
    g_PolyLimit = polyLimit;
    g_VertexLimit = vertexLimit;
    state.counters["faces_after"] = faces;
}
BENCHMARK(BM_CurveBakeLevel4_10kQuads)->Unit(benchmark::kMillisecond);

} // namespace
