// The generators of files the repository keeps: each registers one file (a path under the repository
// root, such as data/System/x.bmp, and a function that
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

// DATAGEN_FILE("data/System/x.bmp", BuildX); at namespace scope in the generator's file.
#define DATAGEN_FILE(path, fn) static datagen::Registration datagen_reg_##fn(path, fn)
