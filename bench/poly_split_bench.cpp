// The face split of every face of a 65,000-quad model (the normals computed once at the end),
// beside a plain copy of the model's arrays in the same run.
#include <benchmark/benchmark.h>

#include <vector>

#include "edit3d/poly_split.h"
#include "model/normals.h"
#include "support/model_builders.h"

using namespace QVL;

namespace {

constexpr int kQuads = 65000;
constexpr int kMaxPolygons = 4 * kQuads;   // room for the split (positions: 8 per face slot)

const MODEL3& Quads()
{
    static MODEL3* m = [] {
        MODEL3* r = NewRecord();
        MakeQuadGrid(r, 260, 250, 1);
        return r;
    }();
    return *m;
}

void BM_SplitBaselineCopyArrays65kQuads(benchmark::State& state)
{
    const MODEL3& m = Quads();
    for (auto _ : state) {
        std::vector<XYZ> p = m.positions, n = m.normals;
        std::vector<RGBA> c = m.colors;
        std::vector<UV2> u = m.uvs;
        std::vector<FACE3> f = m.faces;
        benchmark::DoNotOptimize(f.data());
    }
}
BENCHMARK(BM_SplitBaselineCopyArrays65kQuads)->Unit(benchmark::kMillisecond);

void SplitEveryFace(benchmark::State& state, bool normals)
{
    std::vector<int32_t> v(8 * (size_t)kMaxPolygons), f((size_t)kMaxPolygons);
    int32_t faces = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MODEL3* m = new MODEL3(Quads());
        std::fill(v.begin(), v.end(), 0);
        std::fill(f.begin(), f.end(), 0);
        std::fill(f.begin(), f.begin() + m->faceCount, 1);
        POLY_SEL s{v.data(), f.data(), 8 * kMaxPolygons, kMaxPolygons, 1, -1};
        state.ResumeTiming();
        PolyMesh_SplitFaces(m, s);
        if (normals) Model3_CalcNormals(m);
        faces = m->faceCount;
        state.PauseTiming();
        delete m;
        state.ResumeTiming();
    }
    state.counters["faces after"] = faces;
}

void BM_SplitEveryFace65kQuads(benchmark::State& state) { SplitEveryFace(state, true); }
BENCHMARK(BM_SplitEveryFace65kQuads)->Unit(benchmark::kMillisecond);
// The split alone, without the one normal computation at the end.
void BM_SplitEveryFaceNoNormals65kQuads(benchmark::State& state) { SplitEveryFace(state, false); }
BENCHMARK(BM_SplitEveryFaceNoNormals65kQuads)->Unit(benchmark::kMillisecond);

} // namespace
