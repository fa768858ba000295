// QVB reader: any bytes give a 2D model that writes back to the same bytes when read again, and
// that animates, skins and maps its UVs without leaving its arrays; or a refusal.
#include <cstdio>
#include <cstdlib>

#include "frame/lib.h"
#include "model/model2.h"
#include "model/uv_map.h"
#include "support/recorder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Rec().Clear();
    for (int32_t i = 0; i < QVL::kModel2Slots; ++i) Model2_FreeSlot(i);
    // The first byte picks the reader's rule for empty bone names and whether the record has arrays.
    if (size == 0) return 0;
    const int32_t version = data[0] & 1 ? QVL::kModel2FileVersion2 : QVL::kModel2FileVersion;
    const bool arrays = (data[0] & 2) != 0;
    ++data, --size;
    g_Lib.allocArrays = arrays ? 1 : 0;
    QVL::MODEL2* m = Model2_Parse(data, size, version);
    g_Lib.allocArrays = 0;
    if (!m) return 0;

    std::vector<uint8_t> once = Model2_Write(m);
    g_Lib.allocArrays = arrays ? 1 : 0;
    QVL::MODEL2* again = Model2_Parse(once.data(), once.size(), version);
    g_Lib.allocArrays = 0;
    if (!again) std::abort();
    const std::vector<uint8_t> twice = Model2_Write(again);
    if (twice != once) {
        size_t at = 0;
        while (at < once.size() && at < twice.size() && once[at] == twice[at]) ++at;
        std::fprintf(stderr, "rewritten file differs at byte %zu\n", at);
        std::abort();
    }
    Model2_Free(again);

    g_Model2Table[0] = m;
    g_Model2InUse[0] = 1;
    m->id = 0;
    const int32_t frames[] = {0, 1, 29, 59, 60, 100000};
    for (int32_t motion = 0; motion < 3; ++motion)
        for (int32_t f : frames) {
            m->currentMotion = motion;
            m->currentFrame = f;
            Model2_SkinModels();
            Model2_AdvanceFrame(m, 1.5f);
        }
    for (int32_t g = 0; g < m->groupCount && g < 4; ++g) Model2_MapGroupUvPlanar(0, g);
    Model2_FreeSlot(0);
    return 0;
}
