// qv_datagen <repository root>          writes every generated file under the root
// qv_datagen --check <repository root>  fails when a committed file differs from what its generator builds
#include <cstdio>
#include <cstring>
#include <string>

#include "frame/bytes.h"
#include "datagen.h"

namespace {

struct Entry {
    const char* path;
    datagen::BuildFn build;
};

std::vector<Entry>& Entries()
{
    static std::vector<Entry> entries;
    return entries;
}

} // namespace

datagen::Registration::Registration(const char* path, BuildFn build)
{
    Entries().push_back(Entry{path, build});
}

int main(int argc, char** argv)
{
    bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: qv_datagen [--check] <repository root>\n");
        return 2;
    }
    std::string root = argv[argc - 1];
    int failures = 0;
    for (const Entry& e : Entries()) {
        std::string path = root + "/" + e.path;
        std::vector<uint8_t> bytes = e.build();
        if (check) {
            std::vector<uint8_t> have;
            if (!QVL::File_ReadAll(path.c_str(), have) || have != bytes) {
                std::fprintf(stderr, "%s differs from its generator: run qv_datagen %s\n", path.c_str(), root.c_str());
                ++failures;
            }
        } else if (!QVL::File_WriteAll(path.c_str(), bytes.data(), bytes.size())) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failures;
        } else {
            std::printf("%s (%zu bytes)\n", path.c_str(), bytes.size());
        }
    }
    return failures ? 1 : 0;
}
