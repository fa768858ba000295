// One bone drag step on the bone screen over a 65,000-quad model (260,000 positions) bound to 64
// bones, beside a copy of the position array: the step alone (the weights wait for the release),
// and the step followed by the automatic weights the release runs once per drag.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "edit3d/bone_screen.h"
#include "frame/lib.h"
#include "model/gpu_data.h"
#include "model/model_table.h"
#include "model/motion3.h"
#include "model/skeleton.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/views.h"
#include "support/model_builders.h"

using namespace QVL;

namespace {

constexpr int kColumns = 260, kRows = 250;  // 65,000 quads
constexpr int kBones = 64;

MODEL3* DragModel()
{
    static MODEL3* model = [] {
        g_StudioFlag = 0;
        const int32_t id = Model3_Create();
        MODEL3* m = Model3_GetById(id);
        MakeQuadGrid(m, kColumns, kRows, 4);
        m->boneCount = kBones;
        // Bones 1..63 on an 8 x 8 lattice, each hung on the one before it in its row.
        for (int b = 1; b < kBones; ++b) {
            BONE3& bone = m->bones[b];
            bone.parent = b % 8 == 1 ? 0 : b - 1;
            bone.rest.translation[0] = b % 8 == 1 ? (float)(b % 8) * kColumns / 8.0f : kColumns / 8.0f;
            bone.rest.translation[2] = b % 8 == 1 ? (float)(b / 8) * kRows / 8.0f : 0.0f;
        }
        for (WEIGHT3& w : m->weights) w.automatic = 1;
        Gpu_InitModelRes(Gpu_EnsureModelRes(id), id);
        Gpu_ResizeModelRes(Gpu_GetModelRes(id));
        Motion3_BuildRestMatrices(m, id);
        Model3_AutoWeights(m);
        return m;
    }();
    return model;
}

// The screen's state for a left drag of bone 20 in a Front view.
void PrepareDrag(MODEL3* m)
{
    g_Mode = MODE_3D_EDIT;
    g_Screen = SCREEN_3D_BONE;
    VIEW_REC& v = View_Picked();
    v.type = VIEW_FRONT;
    v.zoom = 1.0f;
    g_CurModel3 = m;
    g_CurBone = 20;
    g_Lib.mouse.held[0] = 1;
    g_Lib.mouse.held[1] = g_Lib.mouse.held[2] = 0;
}

// One mouse move of one pixel, alternately right and left, so the bone stays near its place.
void Step(int i)
{
    g_PrevMousePos = {100, 100};
    g_PressPoint = {i & 1 ? 99 : 101, 100};
    Bone3D_MouseMove(0);
}

void BM_CopyPositions(benchmark::State& state)
{
    const MODEL3* m = DragModel();
    std::vector<XYZ> copy(m->positions.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), m->positions.data(), copy.size() * sizeof(XYZ));
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * (int64_t)m->positions.size());
}

void BM_BoneDragStep(benchmark::State& state)
{
    MODEL3* m = DragModel();
    PrepareDrag(m);
    int i = 0;
    for (auto _ : state) {
        Step(i++);
        benchmark::DoNotOptimize(m->bones[20].rest.translation);
    }
    g_Lib.mouse.held[0] = 0;
}

// What the release adds once per drag (and what every move paid when the weights ran per move).
void BM_BoneDragStepWithWeights(benchmark::State& state)
{
    MODEL3* m = DragModel();
    PrepareDrag(m);
    int i = 0;
    for (auto _ : state) {
        Step(i++);
        Model3_AutoWeights(m);
        benchmark::DoNotOptimize(m->weights.data());
    }
    g_Lib.mouse.held[0] = 0;
    state.SetItemsProcessed(state.iterations() * (int64_t)m->positions.size());
}

} // namespace

BENCHMARK(BM_CopyPositions)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BoneDragStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BoneDragStepWithWeights)->Unit(benchmark::kMicrosecond);
