// Script sources: any text compiles within the tables, writes a QVS file of the size its layout
// gives, and runs for a few frames without leaving the block, the variables or the draw queue.
#include <cstdlib>
#include <cstring>

#include "frame/bytes.h"
#include "script/compiler.h"
#include "script/interp.h"
#include "script/prog.h"
#include "script/qvs_file.h"

namespace {

int g_frame;

void NoImage(int32_t image, const char*)
{
    if (image < 0 || image >= 1024) std::abort();
}
void NoText(int32_t, int32_t, const char* t)
{
    if (std::strlen(t) > 255) std::abort();
}
void NoModel(int32_t, const char*) {}
void NoObject(int32_t c, int32_t, float, float, float)
{
    if (c < QVL::PROG_POLYPOS || c > QVL::PROG_POLYSIZE) std::abort();
}
void NoModelSet(int32_t, int32_t, int32_t) {}
void NoPoint(int32_t, float, float, float) {}
// Keys change from frame to frame so both paths of Key lines run.
bool Held(int32_t code) { return ((code + g_frame) & 1) != 0; }
void NoFolder(const char*) {}
bool Allowed() { return true; }
const VM_HOST kHost = {NoImage, NoText, NoModel, NoObject, NoModelSet, NoPoint, Held, NoFolder, Allowed};

void Draw(int32_t image, int32_t, int32_t)
{
    if (image < 0 || image >= 1024) std::abort();
}

size_t QvsSize(const QVL::VM& vm)
{
    size_t size = 24;
    for (int32_t i = 0; i < vm.varCount; ++i)
        size += 8 + std::strlen(vm.varNames[i]) + (vm.varKinds[i] == 0 ? 4 : 0);
    const QVL::PROG_BLOCK& b = *vm.blocks[0];
    for (int32_t i = 0; i < b.lineCount; ++i) size += 68 + std::strlen(b.text[i]);
    return size;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One state for the whole run (it is large); each input starts with empty tables.
    static QVL::VM* vm = nullptr;
    if (!vm) {
        vm = Vm_Create();
        Vm_AllocBlock(vm, 0);
    }
    vm->varCount = 0;
    vm->drawCount = 0;
    const char* text = (const char*)data;
    // Twice: the second compilation sees the variables the first declared.
    for (int pass = 0; pass < 2; ++pass) {
        if (!Prog_CompileText(g_ProgCompiler, *vm, text, size)) std::abort();
        if (vm->varCount > QVL::kVmVars || vm->labelCount > QVL::kVmLabels) std::abort();
        if (vm->blocks[0]->lineCount > QVL::kProgLines) std::abort();
        for (const PROG_ERROR& e : g_ProgCompiler.errors)
            if (e.line < 1 || e.line > QVL::kProgLines + 1) std::abort();
    }
    QVL::ByteWriter w;
    Qvs_Write(*vm, w);
    if (w.Size() != QvsSize(*vm)) std::abort();

    Vm_Reset(vm);
    vm->programRunning = 1;
    for (g_frame = 0; g_frame < 8 && vm->programRunning; ++g_frame) {
        Vm_Run(vm, kHost);
        if (vm->drawCount < 0 || vm->drawCount > QVL::kVmDrawQueue) std::abort();
        if (vm->callDepth != 0 || vm->curBlock != 0) std::abort();   // the compiler makes no calls
        Vm_DrawQueue(vm, Draw);
    }
    return 0;
}
