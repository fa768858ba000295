// The effect binaries under data/System/HLSL, built by tools/fxgen.
#include <cstdio>

#include "datagen.h"
#include "../fxgen/effects.h"

namespace {

template <int N>
std::vector<uint8_t> BuildEffect()
{
    const fxgen::EffectFile& file = fxgen::Fxgen_Files()[N];
    std::string error;
    std::vector<uint8_t> bytes = file.build(error);
    if (!error.empty()) std::fprintf(stderr, "%s: %s\n", file.path, error.c_str());
    return bytes;
}

const datagen::Registration kEffects[] = {
    {fxgen::Fxgen_Files()[0].path, BuildEffect<0>}, {fxgen::Fxgen_Files()[1].path, BuildEffect<1>},
    {fxgen::Fxgen_Files()[2].path, BuildEffect<2>}, {fxgen::Fxgen_Files()[3].path, BuildEffect<3>},
    {fxgen::Fxgen_Files()[4].path, BuildEffect<4>},
};

} // namespace
