// The seed generator: each kind of file registers a writer of seed files, made with our own writers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

typedef void (*SEED_WRITER)(const std::string& folder);

struct SeedKind {
    SeedKind(const char* kind, SEED_WRITER writer);
};

// Writes one seed file into the folder.
void Seed_Write(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes);
