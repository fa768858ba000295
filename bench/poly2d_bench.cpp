// The 2D polygon operations on a 65,000-vertex set (16,250 quads, each with its own four vertices,
// colours and UVs, neighbours at equal positions), each beside a plain copy of the model's arrays.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "edit2d/poly2d_ops.h"

using namespace QVL;

namespace {

constexpr int32_t kMaxPolygons = 65000;

const MODEL2& Quads65kVertices()
{
    static const std::unique_ptr<MODEL2> m = [] {
        auto r = std::make_unique<MODEL2>();
        for (int32_t y = 0; y < 125; ++y)
            for (int32_t x = 0; x < 130; ++x) {
                FACE2 face{};
                face.used = 1;
                face.cornerCount = 4;
                const float cx[4] = {0, 1, 1, 0}, cy[4] = {0, 0, 1, 1};
                for (int k = 0; k < 4; ++k) {
                    face.corners[k][0] = face.corners[k][1] = face.corners[k][2] = r->vertexCount;
                    r->vertices.push_back({(float)x - 65 + cx[k], (float)y + cy[k]});
                    r->bindings.push_back({0, 0, 0, 1});
                    r->deformed.push_back({0, 0});
                    r->colors.push_back({255, 255, 255, 255});
                    r->uvs.push_back({cx[k], cy[k]});
                    ++r->vertexCount, ++r->colorCount, ++r->uvCount;
                }
                r->polygons.push_back(face);
                ++r->polygonCount;
            }
        return r;
    }();
    return *m;
}

struct Flags {
    std::vector<int32_t> v = std::vector<int32_t>(4 * (size_t)kMaxPolygons);
    std::vector<int32_t> f = std::vector<int32_t>((size_t)kMaxPolygons);
    POLY2D_SEL Sel(int32_t faceMode) { return POLY2D_SEL{v.data(), f.data(), 4 * kMaxPolygons, kMaxPolygons, faceMode}; }
};

// The arrays an operation reads and writes, copied.
struct ARRAYS {
    std::vector<XY2> vertices;
    std::vector<RGBA2> colors;
    std::vector<UV2D> uvs;
    std::vector<WEIGHT2> bindings;
    std::vector<FACE2> polygons;
};

void BM_Poly2DCopyArrays65kVertices(benchmark::State& state)
{
    const MODEL2& m = Quads65kVertices();
    for (auto _ : state) {
        ARRAYS a{m.vertices, m.colors, m.uvs, m.bindings, m.polygons};
        benchmark::DoNotOptimize(a.polygons.data());
    }
    state.counters["vertices"] = m.vertexCount;
}
BENCHMARK(BM_Poly2DCopyArrays65kVertices)->Unit(benchmark::kMillisecond);

// Welds the 65,000 vertices to the 16,506 distinct positions by hashing their exact bits.
void BM_Poly2DOptimise65kVertices(benchmark::State& state)
{
    Flags flags;
    int32_t left = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto m = std::make_unique<MODEL2>(Quads65kVertices());
        POLY2D_SEL s = flags.Sel(1);
        state.ResumeTiming();
        Poly2DOps_Optimise(m.get(), s);
        left = m->vertexCount;
        state.PauseTiming();
        m.reset();
        state.ResumeTiming();
    }
    state.counters["vertices_left"] = left;
}
BENCHMARK(BM_Poly2DOptimise65kVertices)->Unit(benchmark::kMillisecond);

// Every other vertex selected and deleted (vertex mode): each polygon keeps its other corners in place.
void BM_Poly2DDeleteHalfVertices65k(benchmark::State& state)
{
    Flags flags;
    for (auto _ : state) {
        state.PauseTiming();
        auto m = std::make_unique<MODEL2>(Quads65kVertices());
        for (int32_t i = 0; i < m->vertexCount; ++i) flags.v[(size_t)i] = i & 1;
        POLY2D_SEL s = flags.Sel(0);
        state.ResumeTiming();
        Poly2DOps_DeleteSelected(m.get(), s);
        state.PauseTiming();
        m.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Poly2DDeleteHalfVertices65k)->Unit(benchmark::kMillisecond);

// Every other polygon deleted in face mode, then the array packed by one optimisation.
void BM_Poly2DDeleteHalfFacesAndPack65k(benchmark::State& state)
{
    Flags flags;
    int32_t left = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto m = std::make_unique<MODEL2>(Quads65kVertices());
        for (int32_t f = 0; f < m->polygonCount; ++f) flags.f[(size_t)f] = f & 1;
        POLY2D_SEL s = flags.Sel(1);
        state.ResumeTiming();
        Poly2DOps_DeleteSelected(m.get(), s);
        Poly2DOps_Optimise(m.get(), s);
        left = m->polygonCount;
        state.PauseTiming();
        m.reset();
        state.ResumeTiming();
    }
    state.counters["polygons_left"] = left;
}
BENCHMARK(BM_Poly2DDeleteHalfFacesAndPack65k)->Unit(benchmark::kMillisecond);

void BM_Poly2DDeleteLeftHalf65kVertices(benchmark::State& state)
{
    Flags flags;
    for (auto _ : state) {
        state.PauseTiming();
        auto m = std::make_unique<MODEL2>(Quads65kVertices());
        POLY2D_SEL s = flags.Sel(1);
        state.ResumeTiming();
        Poly2DOps_DeleteLeftHalf(m.get(), s);
        state.PauseTiming();
        m.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Poly2DDeleteLeftHalf65kVertices)->Unit(benchmark::kMillisecond);

} // namespace
