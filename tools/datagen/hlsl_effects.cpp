// The effect binaries under data/System/HLSL, built by tools/fxgen.
#include <cstdio>

#include "datagen.h"
#include "../fxgen/effects.h"

namespace {

template <int N>
std::vector<uint8_t> BuildEffect()
{
    std::string error;
    std::vector<uint8_t> bytes = fxgen::Fxgen_Files()[N].build(error);
    if (!error.empty()) std::fprintf(stderr, "%s: %s\n", fxgen::Fxgen_Files()[N].path, error.c_str());
    return bytes;
}

std::vector<uint8_t> (*const kHlsl3D)() = BuildEffect<0>;
std::vector<uint8_t> (*const kHlsl2D)() = BuildEffect<1>;
std::vector<uint8_t> (*const kBone)() = BuildEffect<2>;
std::vector<uint8_t> (*const kBumpMap)() = BuildEffect<3>;
std::vector<uint8_t> (*const kBumpGround)() = BuildEffect<4>;

} // namespace

DATAGEN_FILE("data/System/HLSL/HLSL_3D.fxo", kHlsl3D);
DATAGEN_FILE("data/System/HLSL/HLSL_2D.fxo", kHlsl2D);
DATAGEN_FILE("data/System/HLSL/Bone.fxo", kBone);
DATAGEN_FILE("data/System/HLSL/BumpMap.fxo", kBumpMap);
DATAGEN_FILE("data/System/HLSL/BumpGround.fx", kBumpGround);
