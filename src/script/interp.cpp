#include "script/interp.h"

#include <cstring>

#include "frame/math3d.h"
#include "frame/text.h"

using namespace QVL;

namespace {

constexpr int32_t kImageSlots = 1024;   // entries of the texture-handle table

void EndProgram(VM* vm)
{
    vm->programRunning = 0;
    vm->frameRunning = 0;
}

bool VarIndexOk(const VM* vm, int32_t i) { return i >= 0 && i < Vm_VarCount(vm); }

float Operand(const VM* vm, const PROG_BLOCK* b, int32_t line, int32_t k)
{
    const int32_t r = b->r[line][k];
    return VarIndexOk(vm, r) ? vm->varValues[r] : b->f[line][k];
}

int32_t IntOperand(const VM* vm, const PROG_BLOCK* b, int32_t line, int32_t k)
{
    return Math_TruncInt(Operand(vm, b, line, k));
}

int32_t IntF(const PROG_BLOCK* b, int32_t line, int32_t k) { return Math_TruncInt(b->f[line][k]); }

// The next line executed is m; one outside the block ends it at the next statement.
void JumpTo(VM* vm, int32_t m)
{
    if (m < 0 || m > kProgLines) m = kProgLines;
    vm->curLine = m - 1;
}

float Arith(float a, float b, int32_t op, bool* ok)
{
    *ok = true;
    switch (op) {
        case PROG_OP_ADD: return a + b;
        case PROG_OP_SUB: return a - b;
        case PROG_OP_MUL: return a * b;
        // A zero divisor gives 0: no infinities or NaN in the variables.
        case PROG_OP_DIV: return b == 0.0f ? 0.0f : a / b;
        case PROG_OP_MOD: {
            const int32_t ia = Math_TruncInt(a), ib = Math_TruncInt(b);
            // A divisor of 0 gives 0, and -1 too (INT_MIN % -1 traps like a division by 0).
            if (ib == 0 || ib == -1) return 0.0f;
            return (float)(ia % ib);
        }
        default: *ok = false; return 0.0f;
    }
}

bool Compare(int32_t a, int32_t b, int32_t cmp)
{
    switch (cmp) {
        case PROG_CMP_EQ: return a == b;
        case PROG_CMP_GT: return a > b;
        case PROG_CMP_LT: return a < b;
        default: return true;
    }
}

void Execute(VM* vm, const VM_HOST& host, const PROG_BLOCK* b, int32_t i)
{
    switch (b->command[i]) {
        case PROG_ASSIGN: {
            const int32_t v = IntF(b, i, 0);
            if (VarIndexOk(vm, v)) vm->varValues[v] = b->f[i][2];
            break;
        }
        case PROG_ARITH: {
            bool ok = false;
            const float result = Arith(Operand(vm, b, i, 2), Operand(vm, b, i, 4), IntF(b, i, 3), &ok);
            const int32_t v = b->r[i][0];
            if (ok && VarIndexOk(vm, v)) vm->varValues[v] = result;
            break;
        }
        case PROG_IF:
            if (!Compare(IntOperand(vm, b, i, 1), IntOperand(vm, b, i, 3), IntF(b, i, 2))) JumpTo(vm, IntF(b, i, 4));
            break;
        case PROG_FONT:
        case PROG_IMGLOAD:
        case PROG_POLYLOAD:
        case PROG_FOLDER: {
            // The block's text, terminated whatever the block holds.
            char text[kProgText];
            const void* end = std::memchr(b->text[i], 0, kProgText - 1);
            const size_t len = end ? (size_t)((const char*)end - b->text[i]) : (size_t)(kProgText - 1);
            Str_CopyN(text, sizeof text, b->text[i], len);
            if (b->command[i] == PROG_FONT) host.text(IntF(b, i, 0), IntF(b, i, 1), text);
            else if (b->command[i] == PROG_FOLDER) host.folder(text);
            else if (b->command[i] == PROG_POLYLOAD) host.modelLoad(IntF(b, i, 1), text);
            else if (IntF(b, i, 0) >= 0 && IntF(b, i, 0) < kImageSlots) host.imageLoad(IntF(b, i, 0), text);
            break;
        }
        case PROG_IMGDRAW:
            Vm_QueueImageDraw(vm, host, IntF(b, i, 1), IntOperand(vm, b, i, 2), IntF(b, i, 3));
            break;
        case PROG_POLYPOS:
        case PROG_POLYANG:
        case PROG_POLYSIZE:
            host.object(b->command[i], IntF(b, i, 1), Operand(vm, b, i, 2), Operand(vm, b, i, 3), Operand(vm, b, i, 4));
            break;
        case PROG_POLYLIGHT:
            host.model(PROG_POLYLIGHT, IntF(b, i, 1), Operand(vm, b, i, 2) != 0.0f ? 1 : 0);
            break;
        case PROG_POLYMOTION:
        case PROG_POLYVB:
            host.model(b->command[i], IntF(b, i, 1), IntOperand(vm, b, i, 2));
            break;
        case PROG_CAMERAS:
        case PROG_CAMERAE:
        case PROG_LIGHTPOS:
            host.point(b->command[i], Operand(vm, b, i, 1), Operand(vm, b, i, 2), Operand(vm, b, i, 3));
            break;
        case PROG_KEY:
            if (!host.keyHeld(IntF(b, i, 1))) JumpTo(vm, IntF(b, i, 2));
            break;
        case PROG_GO: {
            const int32_t target = IntF(b, i, 0);
            if (b->f[i][0] == 1.0f) {
                if (vm->callDepth > kVmCallDepth - 1 || vm->callDepth < 0) {
                    EndProgram(vm);
                    return;
                }
                vm->callBlocks[vm->callDepth] = vm->curBlock;
                vm->callLines[vm->callDepth] = vm->curLine;
                ++vm->callDepth;
            }
            // A jump into a block that does not exist ends the program instead of reading it.
            if (target < 0 || target >= kVmBlocks || !vm->blocks[target]) {
                EndProgram(vm);
                return;
            }
            vm->curBlock = target;
            JumpTo(vm, IntF(b, i, 1));
            break;
        }
        case PROG_SCREENDRAW:
            vm->frameRunning = 0;
            break;
        default:
            break;
    }
}

} // namespace

void Vm_QueueImageDraw(VM* vm, const VM_HOST& host, int32_t image, int32_t x, int32_t y)
{
    if (!vm || image < 0 || image >= kImageSlots) return;
    if (vm->drawCount < 0) vm->drawCount = 0;
    if (vm->drawCount >= kVmDrawQueue || !host.drawAllowed()) return;
    vm->draws[vm->drawCount++] = VM_DRAW{image, x, y};
}

void Vm_DrawQueue(VM* vm, void (*draw)(int32_t image, int32_t x, int32_t y))
{
    if (!vm) return;
    const int32_t count = vm->drawCount < 0 ? 0 : vm->drawCount > kVmDrawQueue ? kVmDrawQueue : vm->drawCount;
    for (int32_t i = 0; i < count; ++i) draw(vm->draws[i].image, vm->draws[i].x, vm->draws[i].y);
    vm->drawCount = 0;
}

void Vm_Run(VM* vm, const VM_HOST& host)
{
    if (!vm || !vm->programRunning) return;
    vm->statementLimit = kVmSlice;
    vm->frameRunning = 1;
    int32_t n = 0;
    while (vm->frameRunning == 1) {
        if (++n > vm->statementLimit) vm->frameRunning = 0;
        const PROG_BLOCK* b = vm->curBlock >= 0 && vm->curBlock < kVmBlocks ? vm->blocks[vm->curBlock] : nullptr;
        // Past the block's last line: block 0 ends the program, another block returns from its call.
        while (b && (vm->curLine < 0 || vm->curLine >= Prog_LineCount(b))) {
            if (vm->curBlock == 0 || vm->callDepth <= 0 || vm->callDepth > kVmCallDepth) {
                b = nullptr;
                break;
            }
            --vm->callDepth;
            vm->curBlock = vm->callBlocks[vm->callDepth];
            vm->curLine = vm->callLines[vm->callDepth] + 1;
            b = vm->curBlock >= 0 && vm->curBlock < kVmBlocks ? vm->blocks[vm->curBlock] : nullptr;
        }
        if (!b) {
            EndProgram(vm);
            break;
        }
        if (vm->frameRunning != 1) break;
        Execute(vm, host, b, vm->curLine);
        ++vm->curLine;
    }
}
