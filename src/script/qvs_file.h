// The QVS file: a dump of the compiled program with its variables. The studio writes it each time
// a program starts ("Program.QVS" in the source folder) and never reads it back.
#pragma once
#include "frame/bytes.h"
#include "script/prog.h"

constexpr int32_t kQvsVersion = 2003050;

// The file's bytes: header, variables, then block 0 (the block count written is 1).
void Qvs_Write(const QVL::VM& vm, QVL::ByteWriter& w);
// Writes the file; false (and nothing replaced) when it cannot be written or there is no block 0.
bool Qvs_WriteFile(const QVL::VM& vm, const char* path);
