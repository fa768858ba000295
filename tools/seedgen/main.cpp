#include <sys/stat.h>
#include <cstdio>

#include "frame/bytes.h"
#include "seedgen.h"

namespace {
struct Entry {
    const char* kind;
    SEED_WRITER writer;
};
std::vector<Entry>& Kinds()
{
    static std::vector<Entry> kinds;
    return kinds;
}
} // namespace

SeedKind::SeedKind(const char* kind, SEED_WRITER writer) { Kinds().push_back({kind, writer}); }

void SeedSink::Write(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::string path = dir + "/" + name;
    if (QVL::File_WriteAll(path.c_str(), bytes.data(), bytes.size()))
        ++written;
    else
        ok = false;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qv_seedgen <outdir>\n");
        return 2;
    }
    std::string out = argv[1];
    mkdir(out.c_str(), 0755);
    int rc = 0;
    for (const Entry& e : Kinds()) {
        SeedSink sink;
        sink.dir = out + "/" + e.kind;
        mkdir(sink.dir.c_str(), 0755);
        e.writer(sink);
        std::printf("%s: %d seeds\n", e.kind, sink.written);
        if (!sink.ok || sink.written == 0) rc = 1;
    }
    return rc;
}
