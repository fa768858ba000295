#include "script/qvs_file.h"

#include "frame/record_io.h"

using namespace QVL;

static const int32_t kQvsVersions[] = {kQvsVersion};
static const RECORD_FORMAT kQvs = {"QVS", "QVS ", 4, 3, kQvsVersions, 1, kQvsVersion};

static void WriteBlock(const PROG_BLOCK* b, ByteWriter& w)
{
    w.Str(b ? b->name : "", kProgText);
    const int32_t lines = Prog_LineCount(b);
    w.I32(lines);
    for (int32_t i = 0; i < lines; ++i) {
        w.I32(b->command[i]);
        w.F32s(b->f[i], kProgOperands);
        w.Str(b->text[i], kProgText);
        w.I32s(b->n[i], kProgOperands);
        w.I32s(b->r[i], kProgOperands);
    }
}

void Qvs_Write(const VM& vm, ByteWriter& w)
{
    Record_WriteHeader(w, kQvs);
    const int32_t vars = Vm_VarCount(&vm);
    w.I32(vars);
    for (int32_t i = 0; i < vars; ++i) {
        w.Str(vm.varNames[i], kProgText);
        w.I32(vm.varKinds[i]);
        if (vm.varKinds[i] == 0) w.F32(vm.varValues[i]);
        else if (vm.varKinds[i] == 1) w.Str(vm.varTexts[i], kProgText);
    }
    // Only block 0 is ever compiled.
    w.I32(1);
    WriteBlock(vm.blocks[0], w);
}

bool Qvs_WriteFile(const VM& vm, const char* path)
{
    if (!vm.blocks[0] || !path || !*path) return false;
    ByteWriter w;
    Qvs_Write(vm, w);
    return File_WriteAll(path, w);
}
