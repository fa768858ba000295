// The builders' data of the 65,000-quad model (260 x 250 quads in 4 materials, every quad with its
// own corners, so the de-duplication of kinds 3 and 9 finds each inner corner three more times),
// and the immediate draw's triangles of it, each beside a sort of its 260,000 positions.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <vector>

#include "model/gpu_data.h"
#include "render/material_verts.h"
#include "support/model_builders.h"

using namespace QVL;

namespace {

constexpr int kColumns = 260, kRows = 250;

const MODEL3& Grid()
{
    static MODEL3* m = [] {
        MODEL3* r = NewRecord();
        MakeQuadGrid(r, kColumns, kRows, 4);
        return r;
    }();
    return *m;
}

void BM_SortPositions(benchmark::State& state)
{
    const MODEL3& m = Grid();
    std::vector<std::array<float, 3>> src(m.positions.size());
    for (size_t i = 0; i < src.size(); ++i) src[i] = {m.positions[i].x, m.positions[i].y, m.positions[i].z};
    for (auto _ : state) {
        state.PauseTiming();
        auto t = src;
        state.ResumeTiming();
        std::sort(t.begin(), t.end());
        benchmark::DoNotOptimize(t.data());
    }
}
BENCHMARK(BM_SortPositions)->Unit(benchmark::kMillisecond);

void BM_Kind1(benchmark::State& state)
{
    for (auto _ : state) {
        GPU_KIND1* k = Gpu_MakeKind1(&Grid());
        benchmark::DoNotOptimize(k);
        delete k;
    }
}
BENCHMARK(BM_Kind1)->Unit(benchmark::kMillisecond);

void BM_Kind2FanVertices(benchmark::State& state)
{
    std::vector<BUFFER_VERTEX> out;
    size_t n = 0;
    for (auto _ : state) {
        std::vector<std::vector<int32_t>> faces;
        Gpu_FacesByGroup(&Grid(), faces);
        n = 0;
        for (size_t g = 0; g < faces.size(); ++g) {
            Gpu_FanVertices(&Grid(), faces[g], Grid().groups[g], out);
            n += out.size();
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["vertices"] = (double)n;
}
BENCHMARK(BM_Kind2FanVertices)->Unit(benchmark::kMillisecond);

void BM_Kind3WithBufferData(benchmark::State& state)
{
    std::vector<BUFFER_VERTEX> verts;
    std::vector<uint32_t> idx;
    int32_t vertices = 0, width = 0;
    for (auto _ : state) {
        GPU_KIND3* k = Gpu_MakeKind3(&Grid());
        vertices = 0;
        for (int g = 0; g < Grid().groupCount; ++g) {
            Gpu_Kind3Vertices(k->groups[g], verts);
            Gpu_PolygonIndices(k->groups[g].polygons, k->groups[g].polygonCount, idx);
            width = std::max(width, Gpu_IndexBytes(idx));
            vertices += k->groups[g].vertexCount;
        }
        delete k;
    }
    state.counters["vertices"] = vertices;
    state.counters["index_bytes"] = width;
}
BENCHMARK(BM_Kind3WithBufferData)->Unit(benchmark::kMillisecond);

void BM_Kind9(benchmark::State& state)
{
    for (auto _ : state) {
        GPU_KIND9* k = Gpu_MakeKind9(&Grid());
        benchmark::DoNotOptimize(k);
        delete k;
    }
}
BENCHMARK(BM_Kind9)->Unit(benchmark::kMillisecond);

void Discard(void*, const IMMEDIATE_VERTEX* v, int32_t) { benchmark::DoNotOptimize(v); }

void BM_ImmediateTriangles(benchmark::State& state)
{
    // The studio's scratch array: six vertices per allowed polygon.
    std::vector<IMMEDIATE_VERTEX> scratch(65000 * 6);
    int32_t tris = 0;
    for (auto _ : state) {
        VERTEX_SINK sink{scratch.data(), (int32_t)scratch.size(), 0, Discard, nullptr};
        tris = 0;
        for (int g = 0; g < Grid().groupCount; ++g) tris += Render_EmitMaterial(&Grid(), g, MATERIAL_DRAW_OPTIONS{}, sink);
        VertexSink_Flush(sink);
    }
    state.counters["triangles"] = tris;
}
BENCHMARK(BM_ImmediateTriangles)->Unit(benchmark::kMillisecond);

} // namespace
