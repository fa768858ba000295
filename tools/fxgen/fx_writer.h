// Packs parameters, techniques, passes and states with their shader bytecode into an fx_2_0
// effect binary, the compiled form that D3DXCreateEffect and D3DXCreateEffectFromFile read.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "shader_asm.h"

namespace fxgen {

// State numbers of the effect format: render states by their place in the state table, then the
// shader and sampler states.
enum {
    ST_ZENABLE = 0x00, ST_ZWRITEENABLE = 0x03, ST_CULLMODE = 0x08, ST_ALPHABLENDENABLE = 0x0D,
    ST_VERTEXSHADER = 0x92, ST_PIXELSHADER = 0x93, ST_TEXTURE = 0xA4, ST_ADDRESSU = 0xA5, ST_ADDRESSV = 0xA6,
    ST_MAGFILTER = 0xA9, ST_MINFILTER = 0xAA, ST_MIPFILTER = 0xAB
};

struct FxState {
    enum Kind { VALUE, VERTEX_SHADER, PIXEL_SHADER, TEXTURE_PARAM };
    int op;
    Kind kind;
    uint32_t value;                 // VALUE
    std::vector<uint32_t> shader;   // the shaders; empty for none
    std::string param;              // TEXTURE_PARAM: the texture parameter a sampler reads
};

struct FxParam {
    std::string name;
    int cls;
    int type;
    int rows;
    int columns;
    int elements;                   // 0 unless an array
    std::vector<float> init;        // numeric start value; zeros when empty (bools as 0 or 1)
    std::vector<FxState> sampler;   // a sampler's states
};

struct FxPass {
    std::string name;
    std::vector<FxState> states;
};

struct FxTechnique {
    std::string name;
    std::vector<FxPass> passes;
};

struct FxEffect {
    std::vector<FxParam> params;
    std::vector<FxTechnique> techniques;
};

std::vector<uint8_t> Fx_Write(const FxEffect& effect);

// Builders for the common entries.
FxParam Fx_Matrix(const std::string& name, int elements = 0);
FxParam Fx_Vector(const std::string& name, float x = 0, float y = 0, float z = 0, float w = 0);
FxParam Fx_Float(const std::string& name, float v = 0);
FxParam Fx_Bool(const std::string& name, bool v);
FxParam Fx_Texture(const std::string& name);
// A sampler reading `texture` with linear filtering and the given address mode (1 wrap, 3 clamp).
FxParam Fx_Sampler(const std::string& name, const std::string& texture, uint32_t address, bool linear = true);
FxState Fx_Shader(bool pixel, const std::vector<uint32_t>& tokens);
FxState Fx_Value(int op, uint32_t value);

} // namespace fxgen
