// The hover pick of the polygon screen on a 65,025-quad model (260,100 positions), beside a plain
// read of the positions and beside projecting every position afresh (the pick's cost when nothing
// can be reused).
#include <benchmark/benchmark.h>

#include <cstring>

#include "edit3d/model3d_hooks.h"
#include "frame/lib.h"
#include "frame/scene.h"
#include "model/model_table.h"
#include "render/camera.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/picking.h"
#include "shell/views.h"
#include "support/model_builders.h"

using namespace QVL;

namespace {

// The model on layer 0 of the polygon screen, seen from above and in front.
MODEL3* Scene65kQuads()
{
    static MODEL3* m = [] {
        Sel_AllocBuffers();
        int32_t id = Model3_Create();
        MODEL3* r = Model3_GetById(id);
        r->positions.clear();
        r->faces.clear();
        r->positionCount = r->faceCount = 0;
        MakeQuadGrid(r, 255, 255, 1);
        g_Mode = MODE_3D_EDIT;
        g_Screen = SCREEN_3D_POLYGON;
        g_LayerModelIds = {id};
        g_CurLayer = 0;
        g_CurViewIndex = 0;
        g_Views[SCREEN_3D_POLYGON][0].type = VIEW_MAIN;
        g_AutoSelect = 1;
        const float eye[3] = {127, 150, -80}, at[3] = {127, 0, 127}, up[3] = {0, 1, 0};
        std::memcpy(g_Scene.eye, eye, sizeof eye);
        std::memcpy(g_Scene.lookAt, at, sizeof at);
        std::memcpy(g_Scene.up, up, sizeof up);
        Render_ApplyCamera();
        Mode_UpdateCurrent();
        return r;
    }();
    return m;
}

void BM_ReadPositions65kQuads(benchmark::State& state)
{
    const MODEL3* m = Scene65kQuads();
    for (auto _ : state) {
        float sum = 0;
        for (const XYZ& p : m->positions) sum += p.x + p.y + p.z;
        benchmark::DoNotOptimize(sum);
    }
    state.counters["positions"] = (double)m->positions.size();
}

// A cursor that wanders over the view, one mouse move per iteration.
void MoveCursor(int i)
{
    g_PressPoint.x = 100 + (i * 37) % 1080;
    g_PressPoint.y = 80 + (i * 53) % 560;
}

void HoverPick(benchmark::State& state, int32_t selectionMode)
{
    Scene65kQuads();
    g_PolyEditState.selectionMode = selectionMode;
    int i = 0;
    View_PickVertexOrFace3D();   // the draw pass's projection, which the hover picks reuse
    for (auto _ : state) {
        MoveCursor(i++);
        View_PickVertexOrFace3D();
        benchmark::DoNotOptimize(g_CurVertex);
    }
}

void BM_HoverPickVertex65kQuads(benchmark::State& state) { HoverPick(state, 0); }
void BM_HoverPickFace65kQuads(benchmark::State& state) { HoverPick(state, 1); }

void BM_PickVertexProjectingAfresh65kQuads(benchmark::State& state)
{
    Scene65kQuads();
    g_PolyEditState.selectionMode = 0;
    int i = 0;
    for (auto _ : state) {
        Sel_ForgetProjection();
        MoveCursor(i++);
        View_PickVertexOrFace3D();
        benchmark::DoNotOptimize(g_CurVertex);
    }
}

} // namespace

BENCHMARK(BM_ReadPositions65kQuads)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HoverPickVertex65kQuads)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HoverPickFace65kQuads)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PickVertexProjectingAfresh65kQuads)->Unit(benchmark::kMicrosecond);
