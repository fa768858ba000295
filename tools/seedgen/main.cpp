// qv_seedgen <outdir>: writes every registered kind's seed files into <outdir>/<kind>/.
#include <sys/stat.h>
#include <cstdio>
#include <string>

#include "frame/bytes.h"
#include "seedgen.h"

namespace {

struct Entry {
    const char* kind;
    seedgen::BuildFn build;
};

std::vector<Entry>& Entries()
{
    static std::vector<Entry> entries;
    return entries;
}

} // namespace

seedgen::Registration::Registration(const char* kind, BuildFn build)
{
    Entries().push_back(Entry{kind, build});
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qv_seedgen <outdir>\n");
        return 2;
    }
    std::string root = argv[1];
    mkdir(root.c_str(), 0755);
    int failures = 0;
    for (const Entry& e : Entries()) {
        std::string dir = root + "/" + e.kind;
        mkdir(dir.c_str(), 0755);
        for (const auto& seed : e.build()) {
            std::string path = dir + "/" + seed.first;
            if (!QVL::File_WriteAll(path.c_str(), seed.second.data(), seed.second.size())) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                ++failures;
            }
        }
    }
    return failures ? 1 : 0;
}
