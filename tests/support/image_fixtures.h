// Small QVI and PSD files made by code, for the reader tests, the fuzzers' seeds and the Wine tests.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A QVI file: two unread int32, width, height, then the pixels (4 bytes each, blue green red alpha).
std::vector<uint8_t> Fixture_Qvi(int32_t width, int32_t height, const std::vector<uint8_t>& bgra);

struct PsdSpec {
    uint32_t width = 1, height = 1;
    uint16_t channels = 3;
    uint16_t compression = 0;     // 0 raw, 1 PackBits (each row packed on its own, as files do)
    uint16_t bits = 8, mode = 3, version = 1;
    uint32_t signature = 0x38425053;
    // Lengths of the three skipped sections (filled with junk bytes).
    uint32_t colourModeBytes = 0, resourceBytes = 0, layerBytes = 0;
    // One plane per channel, width x height samples each.
    std::vector<std::vector<uint8_t>> planes;
};
std::vector<uint8_t> Fixture_Psd(const PsdSpec& spec);

// PackBits of one row: runs of 3 or more equal bytes repeat, the rest are literals.
void Fixture_PackBits(const uint8_t* row, size_t n, std::vector<uint8_t>& out);

// Planes with a recognisable pattern: sample i of channel c is (c * 64 + i * 7) & 0xFF, with a run of
// equal bytes in the middle of each row so that PackBits uses both kinds of run.
std::vector<std::vector<uint8_t>> Fixture_PsdPlanes(uint32_t width, uint32_t height, int channels);
