// The script compiler: source text into block 0 of the interpreter state. A program is a list of
// lines of at most five tokens: a keyword with operands, an assignment, a label, or nothing.
// Faults a source can hold (tables overflowing, names never declared, If or Key without End, a Go
// to a missing label, missing operands) are listed as errors with their line; the line still gets
// a defined encoding, so the program runs as far as it can.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "script/prog.h"

struct PROG_LINE {
    char tokens[QVL::kProgOperands][QVL::kProgText];
    int32_t tokenCount;
    int32_t length;                      // of the text read for the line
    int32_t refs[QVL::kProgOperands];    // per token: variable index, -1 none, -2 operator
};

struct PROG_ERROR {
    int32_t line;                        // 1-based, as an editor counts
    char text[256];
};

struct PROG_COMPILER {
    PROG_LINE lines[QVL::kProgLines];
    char lineBuf[QVL::kProgText];
    int32_t curLine;
    int32_t endOf[QVL::kProgLines];      // the End line that closes an If or Key line; -1 none
    std::vector<PROG_ERROR> errors;
};

extern PROG_COMPILER g_ProgCompiler;

// Splits text (at most 255 bytes are looked at) into the record's tokens.
void Prog_Tokenize(PROG_LINE& line, const char* text);
// Compiles source text into block 0 of vm: labels are collected again, variables already declared
// stay declared. False (nothing changed) when vm has no block 0.
bool Prog_CompileText(PROG_COMPILER& c, QVL::VM& vm, const char* text, size_t size);
// The Windows virtual-key code of a key name of the Key statement; 0 for a name not in the table.
int32_t Prog_KeyCode(const char* name);
