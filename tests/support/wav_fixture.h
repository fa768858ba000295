// Small WAV images built chunk by chunk, for the reader's tests, the fuzzer's seeds and the Wine
// sound tests. Header-only: the Windows test program uses it too.
#pragma once
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/bytes.h"

namespace wav_fixture {

struct Chunk {
    std::string id;                 // four characters
    std::vector<uint8_t> body;
    int64_t claimed = -1;           // the size field written; -1: the body's size
    bool pad = true;                // a pad byte after an odd body
};

inline std::vector<uint8_t> FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits)
{
    QVL::ByteWriter w;
    uint16_t align = (uint16_t)(channels * bits / 8);
    w.U16(tag);
    w.U16(channels);
    w.U32(rate);
    w.U32(rate * align);
    w.U16(align);
    w.U16(bits);
    return w.Data();
}

// WAVE_FORMAT_EXTENSIBLE with the given sub-format tag in the GUID's first two bytes.
inline std::vector<uint8_t> ExtensibleFmtBody(uint16_t subTag, uint16_t channels, uint32_t rate, uint16_t bits)
{
    std::vector<uint8_t> b = FmtBody(0xFFFE, channels, rate, bits);
    QVL::ByteWriter w;
    w.Bytes(b.data(), b.size());
    w.U16(22);
    w.U16(bits);
    w.U32(channels == 2 ? 3 : 4);
    static const uint8_t tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    w.U16(subTag);
    w.Bytes(tail, sizeof tail);
    return w.Data();
}

// A short 16-bit mono sine.
inline std::vector<uint8_t> ToneBody(uint32_t samples, uint32_t rate = 22050, double hz = 440.0)
{
    QVL::ByteWriter w;
    for (uint32_t i = 0; i < samples; ++i)
        w.I16((int16_t)(8000.0 * std::sin(6.283185307179586 * hz * i / rate)));
    return w.Data();
}

inline std::vector<uint8_t> Image(const std::vector<Chunk>& chunks, const char* riff = "RIFF", const char* wave = "WAVE")
{
    QVL::ByteWriter w;
    w.Bytes(riff, 4);
    w.U32(0);
    w.Bytes(wave, 4);
    for (const Chunk& c : chunks) {
        w.Bytes(c.id.data(), 4);
        w.U32(c.claimed >= 0 ? (uint32_t)c.claimed : (uint32_t)c.body.size());
        w.Bytes(c.body.data(), c.body.size());
        if ((c.body.size() & 1) && c.pad) w.U8(0);
    }
    w.PatchU32(4, (uint32_t)(w.Size() - 8));
    return w.Data();
}

// The usual file: fmt then data.
inline std::vector<uint8_t> Simple(uint32_t samples, uint32_t rate = 22050)
{
    return Image({{"fmt ", FmtBody(1, 1, rate, 16)}, {"data", ToneBody(samples, rate)}});
}

} // namespace wav_fixture
