// The object screen's key panel arithmetic: the frame under the cursor wrapped by the motion's frame
// count, beside the loop that adds the count until the frame is inside, for a cursor near the bar
// and far left of it; and a key inserted into a motion of 15 keys and deleted again across all 32
// parts, beside plain copies of the same keys.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "edit3d/obj_screen.h"
#include "model/obj3.h"

namespace {

int32_t LoopWrap(int32_t frame, int32_t count)
{
    while (frame < 0) frame += count;
    while (frame >= count) frame -= count;
    return frame;
}

void BM_BarFrame(benchmark::State& state)
{
    const int32_t x = (int32_t)state.range(0);
    for (auto _ : state) benchmark::DoNotOptimize(Obj3D_BarFrame(x, 0, 60));
}
BENCHMARK(BM_BarFrame)->Arg(179)->Arg(-30000);

void BM_BarFrameLoopBaseline(benchmark::State& state)
{
    const int32_t x = (int32_t)state.range(0);
    for (auto _ : state) benchmark::DoNotOptimize(LoopWrap((x - 189) * 4 / 10, 60));
}
BENCHMARK(BM_BarFrameLoopBaseline)->Arg(179)->Arg(-30000);

void BM_InsertIndex(benchmark::State& state)
{
    int32_t frames[16];
    for (int i = 0; i < 15; ++i) frames[i] = i * 4;
    for (auto _ : state) benchmark::DoNotOptimize(Obj3D_KeyInsertIndex(frames, 15, 57));
}
BENCHMARK(BM_InsertIndex);

// An insertion and its deletion at frame 57 of 15 keys, every part's keys moved both ways.
void BM_InsertDeleteKey(benchmark::State& state)
{
    for (int32_t p = 0; p < QVL::kObj3Parts; ++p) Obj3_InitPart(0, p);
    g_Obj3Flags[0][0] = 1;
    QVL::OBJ3* o = g_Obj3Table[0];
    o->partCount = QVL::kObj3Parts;
    QVL::OBJ3_MOTION& m = o->motions[0];
    m.keyCount = 15;
    for (int i = 0; i < 15; ++i) m.keyFrames[i] = i * 3;
    for (auto _ : state) {
        o->frame = 57;
        Obj3D_InsertKey();
        Obj3D_DeleteKey();
    }
    Obj3_ReleaseAll();
}
BENCHMARK(BM_InsertDeleteKey);

void BM_InsertDeleteCopyBaseline(benchmark::State& state)
{
    std::vector<QVL::OBJ3_KEY> keys(32 * 16);
    for (auto _ : state) {
        for (int p = 0; p < 32; ++p) std::memmove(&keys[p * 16 + 1], &keys[p * 16], 15 * sizeof(QVL::OBJ3_KEY));
        for (int p = 0; p < 32; ++p) std::memmove(&keys[p * 16], &keys[p * 16 + 1], 15 * sizeof(QVL::OBJ3_KEY));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_InsertDeleteCopyBaseline);

} // namespace
