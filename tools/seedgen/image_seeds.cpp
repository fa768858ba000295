// QVI and PSD seeds: small pictures of each layout the readers take (no QVI writer exists in the
// studio, so its bytes are made here from the format).
#include "seedgen.h"
#include "support/image_fixtures.h"

static void WriteQviSeeds(SeedSink& sink)
{
    const int sizes[][2] = {{1, 1}, {3, 2}, {5, 7}, {16, 16}};
    for (const auto& s : sizes) {
        std::vector<uint8_t> px((size_t)s[0] * s[1] * 4);
        for (size_t i = 0; i < px.size(); ++i) px[i] = (uint8_t)(i * 31);
        sink.Write("qvi_" + std::to_string(s[0]) + "x" + std::to_string(s[1]) + ".qvi", Fixture_Qvi(s[0], s[1], px));
    }
}

static void WritePsdSeeds(SeedSink& sink)
{
    struct S { uint32_t w, h; int channels; uint16_t compression; uint32_t sections; } seeds[] = {
        {1, 1, 1, 0, 0}, {3, 2, 3, 0, 4}, {5, 3, 4, 1, 0}, {7, 4, 3, 1, 2}, {9, 2, 5, 1, 0}, {4, 4, 1, 1, 0},
    };
    for (const S& s : seeds) {
        PsdSpec spec;
        spec.width = s.w;
        spec.height = s.h;
        spec.channels = (uint16_t)s.channels;
        spec.compression = s.compression;
        spec.colourModeBytes = spec.resourceBytes = spec.layerBytes = s.sections;
        spec.planes = Fixture_PsdPlanes(s.w, s.h, s.channels);
        sink.Write("psd_" + std::to_string(s.w) + "x" + std::to_string(s.h) + "_c" + std::to_string(s.channels) +
                       (s.compression ? "_rle" : "_raw") + ".psd",
                   Fixture_Psd(spec));
    }
}

static SeedKind s_qvi("qvi", WriteQviSeeds);
static SeedKind s_psd("psd", WritePsdSeeds);
