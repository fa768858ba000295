// The script language's two records: the compiled program (one block of up to 1000 lines) and the
// interpreter state with its labels, variables, call stack and queued image draws. Both are plain
// zero-filled records; the compiler fills them, the interpreter runs them, the QVS writer dumps them.
#pragma once
#include <cstdint>

namespace QVL {

constexpr int32_t kProgLines = 1000;      // lines of one block
constexpr int32_t kProgText = 256;        // every name and text field
constexpr int32_t kProgOperands = 5;      // operand slots of a line (and tokens of a source line)
constexpr int32_t kVmBlocks = 100;
constexpr int32_t kVmLabels = 100;
constexpr int32_t kVmVars = 100;
constexpr int32_t kVmCallDepth = 100;
constexpr int32_t kVmDrawQueue = 1023;
constexpr int32_t kVmSlice = 1000;        // statements per frame at most

enum PROG_CMD : int32_t {
    PROG_NOTHING = 0,
    PROG_LABEL = 1,
    PROG_VAR = 2,
    PROG_ASSIGN = 3,
    PROG_ARITH = 4,
    PROG_IF = 5,
    PROG_FONT = 6,
    PROG_IMGLOAD = 7,
    PROG_IMGDRAW = 8,
    PROG_POLYLOAD = 9,
    PROG_POLYPOS = 10,
    PROG_POLYANG = 11,
    PROG_POLYSIZE = 12,
    PROG_POLYLIGHT = 13,
    PROG_POLYMOTION = 14,
    PROG_POLYVB = 15,
    PROG_CAMERAS = 16,
    PROG_CAMERAE = 17,
    PROG_LIGHTPOS = 18,
    PROG_KEY = 19,
    PROG_FOLDER = 20,
    PROG_GO = 21,
    PROG_SCREENDRAW = 22,
};

// Arithmetic operators in f[3] of an arithmetic line.
enum PROG_OP : int32_t { PROG_OP_ADD = 1, PROG_OP_SUB = 2, PROG_OP_MUL = 3, PROG_OP_DIV = 4, PROG_OP_MOD = 5 };
// Comparisons in f[2] of an If line.
enum PROG_CMP : int32_t { PROG_CMP_EQ = 0, PROG_CMP_GT = 1, PROG_CMP_LT = 2 };

struct PROG_BLOCK {
    char name[kProgText];
    int32_t lineCount;
    int32_t command[kProgLines];
    float f[kProgLines][kProgOperands];
    char text[kProgLines][kProgText];
    int32_t n[kProgLines][kProgOperands];   // always 0; carried into the file
    int32_t r[kProgLines][kProgOperands];   // variable index, or -1: the float of the same slot
};

struct VM_DRAW {
    int32_t image, x, y;
};

struct VM {
    VM_DRAW draws[kVmDrawQueue];
    int32_t drawCount;
    PROG_BLOCK* blocks[kVmBlocks];
    int32_t blockCount;
    char labelNames[kVmLabels][kProgText];
    int32_t labelLines[kVmLabels];
    int32_t labelCount;
    int32_t varCount;
    char varNames[kVmVars][kProgText];
    int32_t varKinds[kVmVars];              // 0 number, 1 text
    float varValues[kVmVars];
    char varTexts[kVmVars][kProgText];
    int32_t callBlocks[kVmCallDepth];
    int32_t callLines[kVmCallDepth];
    int32_t callDepth;
    int32_t statementLimit;
    int32_t frameRunning;
    int32_t programRunning;
    int32_t curBlock;
    int32_t curLine;
};

} // namespace QVL

// The interpreter state of the program mode; null outside it.
extern QVL::VM* g_Vm;

// A zero-filled state in g_Vm; a state made before is freed first.
QVL::VM* Vm_Create();
// Frees g_Vm and its blocks.
void Vm_Free();
// A zero-filled block i of the state (one made before is replaced); null for i outside 0..99.
QVL::PROG_BLOCK* Vm_AllocBlock(QVL::VM* vm, int32_t i);
// Back to the start: block 0, line 0, every variable 0 and empty (names, kinds and count stay),
// no calls.
void Vm_Reset(QVL::VM* vm);
// The number of variables and labels as far as the tables hold them.
int32_t Vm_VarCount(const QVL::VM* vm);
int32_t Vm_LabelCount(const QVL::VM* vm);
// The block's line count as far as the block holds lines.
int32_t Prog_LineCount(const QVL::PROG_BLOCK* b);
