// Usage: qv_datagen <repository root> [generator...]   (no names: every generator)
#include <cstdio>
#include <cstring>
#include <vector>

#include "datagen.h"

namespace {
struct Entry {
    const char* name;
    DATAGEN_FN fn;
};
std::vector<Entry>& Entries()
{
    static std::vector<Entry> e;
    return e;
}
} // namespace

DATAGEN_ENTRY::DATAGEN_ENTRY(const char* name, DATAGEN_FN fn)
{
    Entries().push_back({name, fn});
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: qv_datagen <repository root> [generator...]\n");
        for (const Entry& e : Entries()) std::fprintf(stderr, "  %s\n", e.name);
        return 2;
    }
    int failed = 0;
    for (const Entry& e : Entries()) {
        bool wanted = argc == 2;
        for (int i = 2; i < argc; ++i) wanted = wanted || std::strcmp(argv[i], e.name) == 0;
        if (!wanted) continue;
        bool ok = e.fn(argv[1]);
        std::printf("%s: %s\n", e.name, ok ? "written" : "FAILED");
        if (!ok) ++failed;
    }
    return failed ? 1 : 0;
}
