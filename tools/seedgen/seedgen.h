// Seed files for the fuzzers: each kind registers a writer, and qv_seedgen <outdir> runs them all,
// each into <outdir>/<kind>/.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct SeedSink {
    std::string dir;  // <outdir>/<kind>
    int written = 0;
    bool ok = true;
    void Write(const std::string& name, const std::vector<uint8_t>& bytes);
};

typedef void (*SEED_WRITER)(SeedSink& sink);

struct SeedKind {
    SeedKind(const char* kind, SEED_WRITER writer);
};

// At file scope: static SeedKind s_kind("qvi", WriteQviSeeds);
