// MAP2 reader: any bytes give a map within the record's limits, or a refusal.
#include <cstdlib>
#include <memory>

#include "scene/map2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<QVL::MAP2> m(new QVL::MAP2());
    if (Map2_Parse(data, size, *m) == QVL::RECORD_OK) {
        if (m->chipCount < 0 || m->chipCount > QVL::kMap2Chips) std::abort();
        if (m->width < 1 || m->width > QVL::kMap2Side || m->height < 1 || m->height > QVL::kMap2Side) std::abort();
        for (int32_t r = 0; r < m->height; ++r)
            for (int32_t c = 0; c < m->width; ++c)
                if (m->cells[r][c] < 0 || m->cells[r][c] >= QVL::kMap2Chips) std::abort();
        std::vector<uint8_t> again;
        Map2_Write(*m, again);
        if (again.size() < 20) std::abort();
    }
    return 0;
}
