// The MAP2 editor's data: the two chips of the sample map (grass, water), the walking cat's three
// poses, and the sample map itself as the editor saves it.
#include <cstdint>
#include <memory>
#include <vector>

#include "datagen.h"
#include "scene/map2.h"
#include "support/image_fixtures.h"

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

std::vector<uint8_t> Psd(int w, int h, int channels, Rgba (*paint)(int x, int y))
{
    PsdSpec spec;
    spec.width = (uint32_t)w;
    spec.height = (uint32_t)h;
    spec.channels = (uint16_t)channels;
    spec.compression = 1;
    spec.planes.assign((size_t)channels, std::vector<uint8_t>((size_t)w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba p = paint(x, y);
            const uint8_t v[4] = {p.r, p.g, p.b, p.a};
            for (int c = 0; c < channels; ++c) spec.planes[(size_t)c][(size_t)y * w + x] = v[c];
        }
    return Fixture_Psd(spec);
}

// Grass: green with darker blades in a fixed scatter.
Rgba Grass(int x, int y)
{
    const bool blade = ((x * 7 + y * 13) % 11 == 0) || ((x * 5 + y * 3) % 17 == 0);
    return blade ? Rgba{40, 120, 30, 255} : Rgba{90, 180, 60, 255};
}

// Water: blue with lighter wave rows.
Rgba Water(int x, int y)
{
    const bool wave = (y % 8 == 2 && (x / 4) % 2 == 0) || (y % 8 == 6 && (x / 4) % 2 == 1);
    return wave ? Rgba{150, 200, 255, 255} : Rgba{40, 90, 200, 255};
}

// The cat: three 64 x 64 poses one under the other (the editor shows rows 0, 64, 0, 128), an orange
// body and head on a clear ground, the legs apart in pose 1 and crossed in pose 2.
Rgba Cat(int x, int y)
{
    const int pose = y / 64, py = y % 64;
    const Rgba clear{0, 0, 0, 0}, fur{230, 140, 40, 255}, dark{60, 40, 20, 255};
    auto in = [](int px, int py2, int x0, int y0, int x1, int y1) { return px >= x0 && px < x1 && py2 >= y0 && py2 < y1; };
    if (in(x, py, 22, 10, 42, 28)) return (in(x, py, 27, 16, 30, 19) || in(x, py, 34, 16, 37, 19)) ? dark : fur;
    if (in(x, py, 22, 6, 26, 10) || in(x, py, 38, 6, 42, 10)) return fur;     // ears
    if (in(x, py, 18, 28, 46, 48)) return fur;                                // body
    const int spread = pose == 1 ? 4 : (pose == 2 ? -2 : 0);
    if (in(x, py, 22 - spread, 48, 27 - spread, 58) || in(x, py, 37 + spread, 48, 42 + spread, 58)) return fur;
    return clear;
}

std::vector<uint8_t> BuildGrass() { return Psd(32, 32, 3, Grass); }
std::vector<uint8_t> BuildWater() { return Psd(32, 32, 3, Water); }
std::vector<uint8_t> BuildCat() { return Psd(64, 192, 4, Cat); }

std::vector<uint8_t> BuildSampleMap()
{
    Map2_New();
    Map2_SetDefaults();
    g_Map2->version = QVL::kMap2Version;
    std::vector<uint8_t> bytes;
    Map2_Write(*g_Map2, bytes);
    Map2_Free();
    return bytes;
}

} // namespace

DATAGEN_FILE(u8"data/MAP2_2Dマップ/草.psd", BuildGrass);
DATAGEN_FILE(u8"data/MAP2_2Dマップ/川.psd", BuildWater);
DATAGEN_FILE(u8"data/MAP2_2Dマップ/cat.psd", BuildCat);
DATAGEN_FILE(u8"data/MAP2_2Dマップ/サンプル.MAP2", BuildSampleMap);
