// QVC readers: any bytes give a collision set within the record's limits, or a refusal; what was
// read writes back to bytes that read the same.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "scene/coli.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<QVL::COLI> c(new QVL::COLI);
    Coli_Defaults(*c);
    if (Coli_Parse(data, size, *c) != QVL::RECORD_OK) return 0;
    if (c->boxCount < 0 || c->boxCount > QVL::kColiWalls || c->circleCount < 0 || c->circleCount > QVL::kColiWalls)
        std::abort();
    if (std::memchr(c->modelFile, 0, sizeof c->modelFile) == nullptr) std::abort();
    c->version = QVL::kColiVersion;
    std::vector<uint8_t> bytes;
    Coli_Write(*c, bytes);
    std::unique_ptr<QVL::COLI> back(new QVL::COLI);
    Coli_Defaults(*back);
    if (Coli_Parse(bytes.data(), bytes.size(), *back) != QVL::RECORD_OK) std::abort();
    if (back->boxCount != c->boxCount || back->circleCount != c->circleCount) std::abort();
    return 0;
}
