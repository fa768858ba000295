// Processor skinning of a 65,000-quad model (260,000 positions) bound to 64 bones, two bones per
// vertex, beside a memcpy of the same position and normal arrays; and the automatic weights of the
// same model and bones, at a quarter and the whole of it (the ratio shows the growth).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "frame/lib.h"
#include "model/gpu_data.h"
#include "model/model_table.h"
#include "model/skeleton.h"
#include "model/skin.h"
#include "support/model_builders.h"

using namespace QVL;

namespace {

constexpr int kColumns = 260, kRows = 250;   // 65,000 quads
constexpr int kBones = 64;

// Bones 1..63 on an 8 x 8 lattice over the grid (bone 0 is the root); each bone turns a little.
void AddSkeleton(MODEL3* m)
{
    m->boneCount = kBones;
    for (int b = 1; b < kBones; ++b) {
        BONE3& bone = m->bones[b];
        bone.parent = 0;
        bone.rest.translation[0] = (float)(b % 8) * kColumns / 8.0f;
        bone.rest.translation[2] = (float)(b / 8) * kRows / 8.0f;
        KEY3 k;
        Key3_Default(&k);
        const float h = 0.01f * (float)b;
        k.rotation[1] = std::sin(h);
        k.rotation[3] = std::cos(h);
        k.translation[1] = 0.1f * (float)(b % 3);
        bone.keys[0].assign(1, k);
    }
}

int32_t SkinnedModel()
{
    static int32_t id = [] {
        g_StudioFlag = 0;
        int32_t i = Model3_Create();
        MODEL3* m = Model3_GetById(i);
        MakeQuadGrid(m, kColumns, kRows, 4);
        AddSkeleton(m);
        for (size_t v = 0; v < m->weights.size(); ++v) {
            const XYZ& p = m->positions[v];
            const int cx = std::min(7, (int)(p.x * 8 / kColumns)), cz = std::min(7, (int)(p.z * 8 / kRows));
            const int a = std::max(1, cz * 8 + cx);
            m->weights[v] = WEIGHT3{(uint8_t)a, (uint8_t)(a % (kBones - 1) + 1), 0.6f, 0};
        }
        m->renderKind = 0;
        m->animated = 1;
        Gpu_InitModelRes(Gpu_EnsureModelRes(i), i);
        Gpu_ResizeModelRes(Gpu_GetModelRes(i));
        Motion3_BuildRestMatrices(m, i);
        Motion3_BuildPoseMatrices(m, i);
        return i;
    }();
    return id;
}

void SkinWith(benchmark::State& state, int32_t autoNormals, int32_t option)
{
    const int32_t id = SkinnedModel();
    MODEL3* m = Model3_GetById(id);
    m->autoNormals = autoNormals;
    m->skinningOption = option;
    for (auto _ : state) {
        Motion3_SkinVertices(m, id);
        benchmark::DoNotOptimize(m->deformedPositions.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * (int64_t)m->positionCount);
}

void BM_SkinPositions(benchmark::State& state) { SkinWith(state, 0, 0); }
void BM_SkinNormalsTurnedByBones(benchmark::State& state) { SkinWith(state, 1, 1); }
void BM_SkinNormalsFromFaces(benchmark::State& state) { SkinWith(state, 1, 0); }

// What skinning writes, copied: the positions and the normals, 260,000 entries each.
void BM_MemcpyPositionsAndNormals(benchmark::State& state)
{
    const int32_t id = SkinnedModel();
    MODEL3* m = Model3_GetById(id);
    std::vector<XYZ> p(m->positions.size()), n(m->positions.size());
    std::vector<XYZ> srcN(m->positions.size(), XYZ{0, 1, 0});
    for (auto _ : state) {
        std::memcpy(p.data(), m->positions.data(), p.size() * sizeof(XYZ));
        std::memcpy(n.data(), srcN.data(), n.size() * sizeof(XYZ));
        benchmark::DoNotOptimize(p.data());
        benchmark::DoNotOptimize(n.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * (int64_t)m->positionCount);
}

// The automatic weights of every position of a grid of `rows` rows, 64 bones.
void BM_AutoWeights(benchmark::State& state)
{
    MODEL3* m = NewRecord();
    MakeQuadGrid(m, kColumns, (int)state.range(0), 1);
    AddSkeleton(m);
    for (WEIGHT3& w : m->weights) w.automatic = 1;
    for (auto _ : state) {
        Model3_AutoWeights(m);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * (int64_t)m->positionCount);
    Model3_Free(m);
}

} // namespace

BENCHMARK(BM_MemcpyPositionsAndNormals)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SkinPositions)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SkinNormalsTurnedByBones)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SkinNormalsFromFaces)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AutoWeights)->Arg(kRows / 4)->Arg(kRows)->Unit(benchmark::kMicrosecond);
