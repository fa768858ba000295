// qv_seedgen <outdir>: writes the seed files of every fuzzed kind into <outdir>/<kind>/.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "seedgen.h"

static std::vector<std::pair<std::string, SEED_WRITER>>& Kinds()
{
    static std::vector<std::pair<std::string, SEED_WRITER>> kinds;
    return kinds;
}

SeedKind::SeedKind(const char* kind, SEED_WRITER writer)
{
    Kinds().emplace_back(kind, writer);
}

void Seed_Write(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::string path = folder + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "seedgen: cannot write %s\n", path.c_str());
        return;
    }
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: qv_seedgen <outdir>\n");
        return 2;
    }
    std::string out = argv[1];
    mkdir(out.c_str(), 0755);
    for (auto& k : Kinds()) {
        std::string folder = out + "/" + k.first;
        mkdir(folder.c_str(), 0755);
        k.second(folder);
    }
    return 0;
}
