// The studio's effect binaries: each file's parameters, techniques and passes with the shaders
// behind them, written in shader assembly beside the HLSL they stand for (data/System/HLSL).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace fxgen {

struct EffectFile {
    const char* path;  // under the repository root
    std::vector<uint8_t> (*build)(std::string& error);
};

// Every effect binary the studio loads, in a fixed order.
const std::vector<EffectFile>& Fxgen_Files();

// One shader of the effects by name ("HLSL_3D.vs_scene" and so on), as assembly text, so that a
// test can assemble it with the platform's assembler and compare.
struct ShaderText {
    const char* name;
    const char* text;
};
const std::vector<ShaderText>& Fxgen_ShaderTexts();

} // namespace fxgen
