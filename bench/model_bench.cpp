// A 65,000-quad model of 260,000 positions (every quad with its own four corners): weld, normals,
// save and load, measured beside a std::sort of the same 260,000 float triples.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "frame/lib.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/normals.h"
#include "model/qvp_file.h"
#include "support/model_builders.h"
#include "support/recorder.h"

using namespace QVL;

namespace {

constexpr int kColumns = 260, kRows = 250;   // 65,000 quads

const MODEL3& SourceModel()
{
    static MODEL3* m = [] {
        MODEL3* r = NewRecord();
        MakeQuadGrid(r, kColumns, kRows, 4);
        g_StudioFlag = 1;   // as in the studio: the normal table is rebuilt
        return r;
    }();
    return *m;
}

std::vector<std::array<float, 3>> Triples()
{
    const MODEL3& m = SourceModel();
    std::vector<std::array<float, 3>> t(m.positions.size());
    for (size_t i = 0; i < t.size(); ++i) t[i] = {m.positions[i].x, m.positions[i].y, m.positions[i].z};
    return t;
}

void SortTriples(std::vector<std::array<float, 3>>& t)
{
    std::sort(t.begin(), t.end());
}

double SortMs()
{
    static double ms = [] {
        double best = 1e30;
        for (int i = 0; i < 5; ++i) {
            auto t = Triples();
            auto a = std::chrono::steady_clock::now();
            SortTriples(t);
            auto b = std::chrono::steady_clock::now();
            best = std::min(best, std::chrono::duration<double, std::milli>(b - a).count());
        }
        return best;
    }();
    return ms;
}

void BM_SortFloatTriples(benchmark::State& state)
{
    auto source = Triples();
    for (auto _ : state) {
        state.PauseTiming();
        auto t = source;
        state.ResumeTiming();
        SortTriples(t);
        benchmark::DoNotOptimize(t.data());
    }
    state.counters["positions"] = (double)source.size();
}
BENCHMARK(BM_SortFloatTriples)->Unit(benchmark::kMillisecond);

void Pipeline(MODEL3* m, int32_t slot, const std::string& path)
{
    Model3_Weld(m);
    Model3_CalcNormals(m);
    Model3_SaveQvp(m, path.c_str());
    Model3_Load(slot, path.c_str());
}

void BM_WeldNormalsSaveLoad(benchmark::State& state)
{
    const std::string path = Rec_TempDir() + "/bench.qvp";
    Model3_ReleaseAll();
    int32_t slot = Model3_Create();
    // Two runs first, untimed: the first touch of a fresh process's memory is not the work measured.
    for (int i = 0; i < 2; ++i) {
        MODEL3* warm = new MODEL3(SourceModel());
        Pipeline(warm, slot, path);
        delete warm;
    }
    double totalMs = 0;
    int64_t runs = 0;
    int32_t welded = 0, exported = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MODEL3* m = new MODEL3(SourceModel());
        state.ResumeTiming();
        auto a = std::chrono::steady_clock::now();
        Pipeline(m, slot, path);
        auto b = std::chrono::steady_clock::now();
        totalMs += std::chrono::duration<double, std::milli>(b - a).count();
        ++runs;
        welded = m->positionCount;
        exported = m->groups[0].exportVertexCount;
        state.PauseTiming();
        delete m;
        Rec().Clear();
        state.ResumeTiming();
    }
    double ms = totalMs / (double)runs;
    state.counters["quads"] = kColumns * kRows;
    state.counters["welded_positions"] = welded;
    state.counters["group0_export_vertices"] = exported;
    state.counters["sort_ms"] = SortMs();
    state.counters["times_sort"] = ms / SortMs();
    Model3_ReleaseAll();
}
BENCHMARK(BM_WeldNormalsSaveLoad)->Unit(benchmark::kMillisecond);

} // namespace
