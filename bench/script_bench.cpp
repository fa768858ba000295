// The interpreter's cost per simple statement: the four-line loop (Var x, *l, x = x + 1, Go *l) run
// for 10 million statements, against a C++ loop doing the same float additions, in the same run.
#include <benchmark/benchmark.h>

#include <cstring>

#include "script/compiler.h"
#include "script/interp.h"
#include "script/prog.h"

namespace {

constexpr int64_t kStatements = 10000000;
constexpr int64_t kFrames = kStatements / QVL::kVmSlice;

void NoImage(int32_t, const char*) {}
void NoText(int32_t, int32_t, const char*) {}
void NoModel(int32_t, const char*) {}
void NoObject(int32_t, int32_t, float, float, float) {}
void NoModelSet(int32_t, int32_t, int32_t) {}
void NoPoint(int32_t, float, float, float) {}
bool NoKey(int32_t) { return false; }
void NoFolder(const char*) {}
bool Allowed() { return true; }
const VM_HOST kHost = {NoImage, NoText, NoModel, NoObject, NoModelSet, NoPoint, NoKey, NoFolder, Allowed};

void BM_ScriptLoop10M(benchmark::State& state)
{
    QVL::VM* vm = Vm_Create();
    Vm_AllocBlock(vm, 0);
    const char src[] = "Var x\n*l\nx = x + 1\nGo *l\n";
    Prog_CompileText(g_ProgCompiler, *vm, src, sizeof src - 1);
    for (auto _ : state) {
        Vm_Reset(vm);
        vm->programRunning = 1;
        for (int64_t f = 0; f < kFrames; ++f) Vm_Run(vm, kHost);
        benchmark::DoNotOptimize(vm->varValues[0]);
    }
    state.counters["x"] = vm->varValues[0];
    state.counters["per_statement"] =
        benchmark::Counter((double)kStatements * (double)state.iterations(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    Vm_Free();
}
BENCHMARK(BM_ScriptLoop10M)->Unit(benchmark::kMillisecond);

// The same additions in C++: one float addition for every three statements of the loop.
void BM_CppLoopSameAdditions(benchmark::State& state)
{
    for (auto _ : state) {
        float x = 0.0f;
        for (int64_t i = 0; i < kStatements / 3; ++i) {
            x = x + 1.0f;
            benchmark::DoNotOptimize(x);
        }
        state.counters["x"] = x;
    }
}
BENCHMARK(BM_CppLoopSameAdditions)->Unit(benchmark::kMillisecond);

} // namespace
