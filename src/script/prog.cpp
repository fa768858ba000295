#include "script/prog.h"

#include <cstring>

using namespace QVL;

VM* g_Vm = nullptr;

static void FreeState(VM* vm)
{
    if (!vm) return;
    for (PROG_BLOCK*& b : vm->blocks) {
        delete b;
        b = nullptr;
    }
    delete vm;
}

VM* Vm_Create()
{
    // Entering the program mode again must not leak the state of the last visit.
    FreeState(g_Vm);
    g_Vm = new VM();
    return g_Vm;
}

void Vm_Free()
{
    FreeState(g_Vm);
    g_Vm = nullptr;
}

PROG_BLOCK* Vm_AllocBlock(VM* vm, int32_t i)
{
    if (!vm || i < 0 || i >= kVmBlocks) return nullptr;
    delete vm->blocks[i];
    vm->blocks[i] = new PROG_BLOCK();
    return vm->blocks[i];
}

void Vm_Reset(VM* vm)
{
    if (!vm) return;
    vm->curBlock = 0;
    vm->curLine = 0;
    for (int32_t i = 0; i < kVmVars; ++i) {
        vm->varValues[i] = 0.0f;
        vm->varTexts[i][0] = 0;
    }
    vm->callDepth = 0;
    std::memset(vm->callBlocks, 0, sizeof vm->callBlocks);
    std::memset(vm->callLines, 0, sizeof vm->callLines);
}

static int32_t Clamp(int32_t v, int32_t hi) { return v < 0 ? 0 : v > hi ? hi : v; }

int32_t Vm_VarCount(const VM* vm) { return vm ? Clamp(vm->varCount, kVmVars) : 0; }
int32_t Vm_LabelCount(const VM* vm) { return vm ? Clamp(vm->labelCount, kVmLabels) : 0; }
int32_t Prog_LineCount(const PROG_BLOCK* b) { return b ? Clamp(b->lineCount, kProgLines) : 0; }
