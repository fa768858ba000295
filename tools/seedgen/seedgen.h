// Seed files for the fuzzers: each generator registers a kind and a function that returns named
// files; qv_seedgen <outdir> writes them into <outdir>/<kind>/.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace seedgen {

typedef std::vector<std::pair<std::string, std::vector<uint8_t>>> Seeds;
typedef Seeds (*BuildFn)();

struct Registration {
    Registration(const char* kind, BuildFn build);
};

} // namespace seedgen

// SEEDGEN_KIND("wav", BuildWavSeeds); at namespace scope in the generator's file.
#define SEEDGEN_KIND(kind, fn) static seedgen::Registration seedgen_reg_##fn(kind, fn)
