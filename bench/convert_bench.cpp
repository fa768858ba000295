// Reading an LWO and a DXF file of 65,000 quads, each beside the floor of any reader: the file's
// bytes read and its positions sorted (std::sort), measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "convert/dxf_import.h"
#include "convert/lwo_file.h"
#include "frame/bytes.h"
#include "model/model_table.h"
#include "support/model_builders.h"
#include "support/recorder.h"

using namespace QVL;

namespace {

constexpr int kColumns = 260, kRows = 250;   // 65,000 quads

// Quads over a shared grid of 261 x 251 points: LWOB point numbers are 16 bits.
MODEL3* SharedGrid()
{
    MODEL3* m = NewRecord();
    for (int r = 0; r <= kRows; ++r)
        for (int c = 0; c <= kColumns; ++c) m->positions.push_back(XYZ{(float)c * 0.37f, (float)r * 0.53f, (float)((c * r) % 7)});
    m->positionCount = (int32_t)m->positions.size();
    for (int i = 0; i < 8; ++i) m->colors.push_back(RGBA{(float)(i * 30), 100, 200, 255});
    m->colorCount = 8;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            FACE3 f = {};
            f.cornerCount = 4;
            const int32_t a = r * (kColumns + 1) + c;
            const int32_t idx[4] = {a, a + 1, a + kColumns + 2, a + kColumns + 1};
            for (int k = 0; k < 4; ++k) {
                f.corners[k][CORNER_POS] = idx[k];
                f.corners[k][CORNER_COLOR] = (r + c) % 8;
            }
            m->faces.push_back(f);
        }
    }
    m->faceCount = (int32_t)m->faces.size();
    return m;
}

const std::string& LwoPath()
{
    static std::string path = [] {
        MODEL3* m = SharedGrid();
        std::vector<uint8_t> bytes;
        Lwo_Write(m, bytes);
        Model3_Free(m);
        return WriteTempFile("grid.lwo", bytes);
    }();
    return path;
}

const std::string& DxfPath()
{
    static std::string path = [] {
        std::string text = "  0\nSECTION\n  2\nENTITIES\n";
        char value[64];
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kColumns; ++c) {
                text += "  0\n3DFACE\n  8\n0\n";
                const float x[4] = {(float)c, (float)c + 1, (float)c + 1, (float)c};
                const float y[4] = {(float)r, (float)r, (float)r + 1, (float)r + 1};
                for (int k = 0; k < 4; ++k) {
                    const float v[3] = {x[k] * 0.37f, y[k] * 0.53f, 0.25f};
                    for (int a = 0; a < 3; ++a) {
                        std::snprintf(value, sizeof value, " %d\n%.17g\n", (a + 1) * 10 + k, (double)v[a]);
                        text += value;
                    }
                }
            }
        }
        text += "  0\nENDSEC\n  0\nEOF\n";
        return WriteTempFile("grid.dxf", std::vector<uint8_t>(text.begin(), text.end()));
    }();
    return path;
}

void Import(benchmark::State& state, const std::string& path, int32_t (*import)(int32_t, const char*))
{
    int32_t id = Model3_Create();
    for (auto _ : state) {
        if (!import(id, path.c_str())) state.SkipWithError("not read");
        benchmark::DoNotOptimize(Model3_GetById(id)->faceCount);
    }
    Model3_Release(id);
    Model3_ProcessReleases();
    Rec().Clear();
}

// The floor: the bytes read and the model's positions (as the reader would make them) sorted.
void ReadAndSort(benchmark::State& state, const std::string& path, size_t positions)
{
    for (auto _ : state) {
        std::vector<uint8_t> bytes;
        File_ReadAll(path.c_str(), bytes);
        std::vector<std::array<float, 3>> t(positions);
        for (size_t i = 0; i < positions; ++i)
            t[i] = {(float)(i % 261) * 0.37f, (float)(i / 261) * 0.53f, (float)(bytes[i % bytes.size()] & 7)};
        std::sort(t.begin(), t.end());
        benchmark::DoNotOptimize(t.data());
    }
}

void BM_LwoImport65000Quads(benchmark::State& state) { Import(state, LwoPath(), Lwo_Import); }
void BM_LwoReadBytesAndSort(benchmark::State& state) { ReadAndSort(state, LwoPath(), (kColumns + 1) * (kRows + 1)); }
void BM_DxfImport65000Quads(benchmark::State& state) { Import(state, DxfPath(), Dxf_Import); }
void BM_DxfReadBytesAndSort(benchmark::State& state) { ReadAndSort(state, DxfPath(), 4 * kColumns * kRows); }

BENCHMARK(BM_LwoImport65000Quads)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LwoReadBytesAndSort)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DxfImport65000Quads)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DxfReadBytesAndSort)->Unit(benchmark::kMillisecond);

} // namespace
