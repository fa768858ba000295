#include "support/image_fixtures.h"

#include "frame/bytes.h"

std::vector<uint8_t> Fixture_Qvi(int32_t width, int32_t height, const std::vector<uint8_t>& bgra)
{
    QVL::ByteWriter w;
    w.I32(0x20495651);  // two fields the reader skips
    w.I32(1);
    w.I32(width);
    w.I32(height);
    w.Bytes(bgra.data(), bgra.size());
    return w.Data();
}

void Fixture_PackBits(const uint8_t* row, size_t n, std::vector<uint8_t>& out)
{
    size_t i = 0;
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 3) {
            out.push_back((uint8_t)(257 - run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        size_t start = i, len = 0;
        while (i < n && len < 128) {
            if (i + 2 < n && row[i] == row[i + 1] && row[i] == row[i + 2]) break;
            ++i;
            ++len;
        }
        out.push_back((uint8_t)(len - 1));
        out.insert(out.end(), row + start, row + start + len);
    }
}

std::vector<uint8_t> Fixture_Psd(const PsdSpec& s)
{
    QVL::ByteWriter w(true);
    w.U32(s.signature);
    w.U16(s.version);
    w.Zeros(6);
    w.U16(s.channels);
    w.U32(s.height);
    w.U32(s.width);
    w.U16(s.bits);
    w.U16(s.mode);
    for (uint32_t len : {s.colourModeBytes, s.resourceBytes, s.layerBytes}) {
        w.U32(len);
        for (uint32_t i = 0; i < len; ++i) w.U8((uint8_t)(0xA5 ^ i));
    }
    w.U16(s.compression);
    if (s.compression == 1) {
        std::vector<uint8_t> packed;
        std::vector<uint16_t> counts;
        for (const std::vector<uint8_t>& plane : s.planes)
            for (uint32_t y = 0; y < s.height; ++y) {
                size_t before = packed.size();
                Fixture_PackBits(plane.data() + (size_t)y * s.width, s.width, packed);
                counts.push_back((uint16_t)(packed.size() - before));
            }
        for (uint16_t c : counts) w.U16(c);
        w.Bytes(packed.data(), packed.size());
    } else {
        for (const std::vector<uint8_t>& plane : s.planes) w.Bytes(plane.data(), plane.size());
    }
    return w.Data();
}

std::vector<std::vector<uint8_t>> Fixture_PsdPlanes(uint32_t width, uint32_t height, int channels)
{
    std::vector<std::vector<uint8_t>> planes((size_t)channels);
    for (int c = 0; c < channels; ++c) {
        std::vector<uint8_t>& p = planes[(size_t)c];
        p.resize((size_t)width * height);
        for (size_t i = 0; i < p.size(); ++i) p[i] = (uint8_t)((c * 64 + i * 7) & 0xFF);
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = width / 4; x < width / 4 + width / 2; ++x) p[(size_t)y * width + x] = (uint8_t)(c + 1);
    }
    return planes;
}
