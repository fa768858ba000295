// The polygon screen's mesh operations and wire frame on a 65,000-quad model, each beside a plain
// copy of the model's arrays.
#include <benchmark/benchmark.h>

#include <vector>

#include "edit3d/poly_draw.h"
#include "edit3d/poly_mesh.h"
#include "support/model_builders.h"

using namespace QVL;

namespace {

constexpr int kMaxPolygons = 65000;

const MODEL3& Quads65k()
{
    static MODEL3* m = [] {
        MODEL3* r = NewRecord();
        MakeQuadGrid(r, 260, 250, 1);
        return r;
    }();
    return *m;
}

struct Flags {
    std::vector<int32_t> v = std::vector<int32_t>(4 * (size_t)kMaxPolygons);
    std::vector<int32_t> f = std::vector<int32_t>((size_t)kMaxPolygons);
    POLY_SEL Sel(int32_t faceMode) { return POLY_SEL{v.data(), f.data(), 4 * kMaxPolygons, kMaxPolygons, faceMode, 0}; }
};

void BM_PolyCopyArrays65kQuads(benchmark::State& state)
{
    const MODEL3& m = Quads65k();
    for (auto _ : state) {
        std::vector<XYZ> p = m.positions, n = m.normals;
        std::vector<RGBA> c = m.colors;
        std::vector<UV2> u = m.uvs;
        std::vector<FACE3> f = m.faces;
        benchmark::DoNotOptimize(f.data());
    }
    state.counters["quads"] = Quads65k().faceCount;
}
BENCHMARK(BM_PolyCopyArrays65kQuads)->Unit(benchmark::kMillisecond);

// Every other face selected and deleted (face mode): one compaction instead of a shift per face.
void BM_PolyDeleteHalfFaces65kQuads(benchmark::State& state)
{
    Flags flags;
    int32_t left = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MODEL3* m = new MODEL3(Quads65k());
        for (int32_t f = 0; f < m->faceCount; ++f) flags.f[(size_t)f] = f & 1;
        POLY_SEL s = flags.Sel(1);
        state.ResumeTiming();
        PolyMesh_DeleteSelection(m, s);
        left = m->faceCount;
        state.PauseTiming();
        delete m;
        state.ResumeTiming();
    }
    state.counters["faces_after"] = left;
}
BENCHMARK(BM_PolyDeleteHalfFaces65kQuads)->Unit(benchmark::kMillisecond);

// Every face selected in face mode: faces meeting at exactly equal positions merge, found through
// the position index instead of trying every pair.
void BM_PolyMergeFaces65kQuads(benchmark::State& state)
{
    Flags flags;
    int32_t left = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MODEL3* m = new MODEL3(Quads65k());
        std::fill(flags.f.begin(), flags.f.end(), 1);
        POLY_SEL s = flags.Sel(1);
        state.ResumeTiming();
        PolyMesh_MergeFaces(m, s);
        left = m->faceCount;
        state.PauseTiming();
        delete m;
        state.ResumeTiming();
    }
    state.counters["faces_after"] = left;
}
BENCHMARK(BM_PolyMergeFaces65kQuads)->Unit(benchmark::kMillisecond);

// Every position selected in vertex mode: all corners move to the picked vertex.
void BM_PolyMergeVertices65kQuads(benchmark::State& state)
{
    Flags flags;
    for (auto _ : state) {
        state.PauseTiming();
        MODEL3* m = new MODEL3(Quads65k());
        std::fill(flags.v.begin(), flags.v.end(), 1);
        POLY_SEL s = flags.Sel(0);
        state.ResumeTiming();
        benchmark::DoNotOptimize(PolyMesh_MergeVertices(m, s));
        state.PauseTiming();
        delete m;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PolyMergeVertices65kQuads)->Unit(benchmark::kMillisecond);

// The Front view's wire frame batches (the device side records nothing natively).
void BM_PolyWireFrame65kQuads(benchmark::State& state)
{
    Flags flags;
    PolyBatcher batcher;
    const POLY_WIRE_INPUT in{&Quads65k(), {VIEW_TYPE_FRONT, 400, 300, {0, 0, 0}, 0.05f}, flags.v.data(),
                             4 * kMaxPolygons, flags.f.data(), kMaxPolygons, 0};
    for (auto _ : state) {
        PolyDraw_Wire(in, batcher, nullptr, nullptr, nullptr, nullptr);
        state.counters["calls"] = (double)batcher.Batches().size();
        batcher.Clear();
    }
}
BENCHMARK(BM_PolyWireFrame65kQuads)->Unit(benchmark::kMillisecond);

} // namespace
