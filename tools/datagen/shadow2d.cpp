// data/System/shadow2d.png: the drop shadow's picture, a soft dark disc. Its alpha stays below full,
// so no pixel is opaque black, the colour key that loading turns transparent.
#include <cmath>

#include "datagen.h"
#include "picture_files.h"

namespace {

std::vector<uint8_t> BuildShadow2d()
{
    const int size = 64;
    std::vector<datagen::Pixel> px((size_t)size * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float fx = ((float)x + 0.5f) / (float)size * 2.0f - 1.0f;
            const float fy = ((float)y + 0.5f) / (float)size * 2.0f - 1.0f;
            const float r = std::sqrt(fx * fx + fy * fy);
            float t = (r - 0.45f) / (0.95f - 0.45f);
            t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
            const float a = 0.75f * (1.0f - t * t * (3.0f - 2.0f * t));
            px[(size_t)(y * size + x)] = datagen::Pixel{0, 0, 0, (uint8_t)std::lround(a * 255.0f)};
        }
    return datagen::PngFile(px, size, size);
}

} // namespace

DATAGEN_FILE("data/System/shadow2d.png", BuildShadow2d);
