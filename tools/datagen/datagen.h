// The generators of the Data folder: each registers one file (a path under data/ and a function that
// builds its bytes); qv_datagen writes them all, or checks the committed copies against them.
#pragma once
#include <cstdint>
#include <vector>

namespace datagen {

typedef std::vector<uint8_t> (*BuildFn)();

struct Registration {
    Registration(const char* path, BuildFn build);
};

} // namespace datagen

// DATAGEN_FILE("System/x.bmp", BuildX); at namespace scope in the generator's file.
#define DATAGEN_FILE(path, fn) static datagen::Registration datagen_reg_##fn(path, fn)
