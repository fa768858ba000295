// Picture files for the generators: PNG (stored deflate), TGA (uncompressed) and a baseline JPEG
// of flat 8 x 8 blocks. Pixels are RGBA, top row first.
#pragma once
#include <cstdint>
#include <vector>

namespace datagen {

struct Pixel {
    uint8_t r, g, b, a;
};

std::vector<uint8_t> PngFile(const std::vector<Pixel>& px, int w, int h);
// 24-bit, bottom-up rows.
std::vector<uint8_t> TgaFile(const std::vector<Pixel>& px, int w, int h);
// Baseline JPEG (YCbCr, no subsampling) that keeps each 8 x 8 block's mean colour only: exact for
// pictures drawn in flat blocks. w and h are multiples of 8.
std::vector<uint8_t> JpegFlatBlocks(const std::vector<Pixel>& px, int w, int h);

} // namespace datagen
