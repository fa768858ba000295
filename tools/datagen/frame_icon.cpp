// The main window's icon (resource 101): a 32 x 32 and a 16 x 16 picture of a faceted gem on a
// dark square, written as src/frame/win32/frame.ico.
#include <cmath>
#include <cstdint>
#include <vector>

#include "datagen.h"
#include "frame/bytes.h"

namespace {

// BGRA pixel of the icon at (x, y), y downwards, in a size x size picture.
uint32_t IconPixel(int size, int x, int y)
{
    float s = (float)size;
    float u = ((float)x + 0.5f) / s * 2.0f - 1.0f;  // -1..1
    float v = ((float)y + 0.5f) / s * 2.0f - 1.0f;
    // Rounded dark square.
    float edge = std::fmax(std::fabs(u), std::fabs(v));
    if (edge > 0.97f) return 0x00000000;
    uint32_t r = 24, g = 28, b = 52;
    // A diamond: four facets lit from the upper left.
    float d = std::fabs(u) + std::fabs(v) * 1.25f;
    if (d < 0.78f) {
        int facet = (u < 0 ? 0 : 1) + (v < 0 ? 0 : 2);
        static const uint32_t shade[4][3] = {{255, 196, 80}, {232, 150, 40}, {200, 110, 24}, {150, 70, 16}};
        r = shade[facet][0];
        g = shade[facet][1];
        b = shade[facet][2];
        if (d > 0.70f) { r = r * 3 / 4; g = g * 3 / 4; b = b * 3 / 4; }
    }
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

void WriteImage(QVL::ByteWriter& w, int size)
{
    w.U32(40);
    w.I32(size);
    w.I32(size * 2);  // colour and mask
    w.U16(1);
    w.U16(32);
    w.U32(0);
    w.U32((uint32_t)(size * size * 4 + ((size + 31) / 32) * 4 * size));
    w.I32(0);
    w.I32(0);
    w.U32(0);
    w.U32(0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) w.U32(IconPixel(size, x, y));
    // The mask: transparent where alpha is 0.
    int rowBytes = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row((size_t)rowBytes, 0);
        for (int x = 0; x < size; ++x)
            if ((IconPixel(size, x, y) >> 24) == 0) row[(size_t)(x / 8)] |= (uint8_t)(0x80 >> (x % 8));
        w.Bytes(row.data(), row.size());
    }
}

std::vector<uint8_t> BuildFrameIcon()
{
    const int sizes[2] = {32, 16};
    QVL::ByteWriter images;
    uint32_t lengths[2];
    for (int i = 0; i < 2; ++i) {
        size_t before = images.Size();
        WriteImage(images, sizes[i]);
        lengths[i] = (uint32_t)(images.Size() - before);
    }
    QVL::ByteWriter w;
    w.U16(0);
    w.U16(1);  // icon
    w.U16(2);
    uint32_t offset = 6 + 16 * 2;
    for (int i = 0; i < 2; ++i) {
        w.U8((uint8_t)sizes[i]);
        w.U8((uint8_t)sizes[i]);
        w.U8(0);
        w.U8(0);
        w.U16(1);
        w.U16(32);
        w.U32(lengths[i]);
        w.U32(offset);
        offset += lengths[i];
    }
    w.Bytes(images.Data().data(), images.Size());
    return w.Data();
}

} // namespace

DATAGEN_FILE("src/frame/win32/frame.ico", BuildFrameIcon);
