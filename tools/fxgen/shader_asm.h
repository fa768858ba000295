// A small assembler for vs_2_0 and ps_2_0 shader text, writing the Direct3D 9 token stream with a
// constant table ("CTAB" comment) so that an effect can bind its parameters to the registers.
// It knows the instructions the studio's effects use, not the whole language.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace fxgen {

// Register sets and type classes as the constant table stores them (D3DXREGISTER_SET,
// D3DXPARAMETER_CLASS, D3DXPARAMETER_TYPE).
enum { RS_BOOL = 0, RS_INT4 = 1, RS_FLOAT4 = 2, RS_SAMPLER = 3 };
enum { PC_SCALAR = 0, PC_VECTOR = 1, PC_MATRIX_ROWS = 2, PC_MATRIX_COLUMNS = 3, PC_OBJECT = 4 };
enum {
    PT_BOOL = 1, PT_INT = 2, PT_FLOAT = 3, PT_TEXTURE = 5, PT_SAMPLER2D = 12, PT_PIXELSHADER = 15,
    PT_VERTEXSHADER = 16
};

// One constant-table entry: an effect parameter by name and the registers it fills.
struct ShaderConstant {
    std::string name;
    int regSet;
    int regIndex;
    int regCount;
    int cls;
    int type;
    int rows;
    int columns;
    int elements;  // 1 unless an array
};

// Assembles `text` (first statement vs_2_0 or ps_2_0). False with a message naming the line when a
// statement is not understood.
bool Asm_Assemble(const std::string& text, const std::vector<ShaderConstant>& constants, std::vector<uint32_t>& tokens,
                  std::string& error);

} // namespace fxgen
