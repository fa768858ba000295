#include "picture_files.h"

#include <cmath>

#include "frame/bytes.h"

namespace datagen {

namespace {

uint32_t Crc32(const uint8_t* p, size_t n)
{
    uint32_t crc = ~0u;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void Be32(std::vector<uint8_t>& out, uint32_t v)
{
    out.insert(out.end(), {(uint8_t)(v >> 24), (uint8_t)(v >> 16), (uint8_t)(v >> 8), (uint8_t)v});
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body)
{
    Be32(out, (uint32_t)body.size());
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    Be32(out, Crc32(typed.data(), typed.size()));
}

// MSB-first bit writer of JPEG entropy data, with 0xFF stuffing.
struct Bits {
    std::vector<uint8_t>& out;
    uint32_t acc = 0;
    int n = 0;
    void Put(uint32_t code, int len)
    {
        for (int i = len - 1; i >= 0; --i) {
            acc = acc << 1 | (code >> i & 1u);
            if (++n == 8) Byte();
        }
    }
    void Byte()
    {
        out.push_back((uint8_t)acc);
        if ((uint8_t)acc == 0xFF) out.push_back(0);
        acc = 0;
        n = 0;
    }
    void Finish()
    {
        while (n != 0) Put(1, 1);
    }
};

// The DC table of the JPEG standard's annex K (luminance): code lengths for categories 0..11.
const uint8_t kDcBits[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
const uint8_t kDcVals[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

void Marker(std::vector<uint8_t>& out, uint8_t m, const std::vector<uint8_t>& body)
{
    out.push_back(0xFF);
    out.push_back(m);
    out.push_back((uint8_t)((body.size() + 2) >> 8));
    out.push_back((uint8_t)(body.size() + 2));
    out.insert(out.end(), body.begin(), body.end());
}

} // namespace

std::vector<uint8_t> PngFile(const std::vector<Pixel>& px, int w, int h)
{
    std::vector<uint8_t> raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x) {
            const Pixel& p = px[(size_t)(y * w + x)];
            raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
        }
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    for (size_t at = 0; at < raw.size();) {
        size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.insert(z.end(), {(uint8_t)n, (uint8_t)(n >> 8), (uint8_t)~n, (uint8_t)(~n >> 8)});
        z.insert(z.end(), raw.begin() + (ptrdiff_t)at, raw.begin() + (ptrdiff_t)(at + n));
        at += n;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    Be32(z, b << 16 | a);
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> ihdr;
    Be32(ihdr, (uint32_t)w);
    Be32(ihdr, (uint32_t)h);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});   // 8 bits, RGBA
    Chunk(out, "IHDR", ihdr);
    Chunk(out, "IDAT", z);
    Chunk(out, "IEND", {});
    return out;
}

std::vector<uint8_t> TgaFile(const std::vector<Pixel>& px, int w, int h)
{
    QVL::ByteWriter out;
    out.U8(0);   // no image ID
    out.U8(0);   // no colour map
    out.U8(2);   // uncompressed true colour
    out.Zeros(5);
    out.U16(0);
    out.U16(0);
    out.U16((uint16_t)w);
    out.U16((uint16_t)h);
    out.U8(24);
    out.U8(0);   // bottom-left origin
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Pixel& p = px[(size_t)(y * w + x)];
            out.U8(p.b);
            out.U8(p.g);
            out.U8(p.r);
        }
    return out.Data();
}

std::vector<uint8_t> JpegFlatBlocks(const std::vector<Pixel>& px, int w, int h)
{
    std::vector<uint8_t> out = {0xFF, 0xD8};
    Marker(out, 0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
    // One quantisation table of ones: the DC values are stored exactly.
    std::vector<uint8_t> dqt = {0};
    dqt.insert(dqt.end(), 64, 1);
    Marker(out, 0xDB, dqt);
    std::vector<uint8_t> sof = {8, (uint8_t)(h >> 8), (uint8_t)h, (uint8_t)(w >> 8), (uint8_t)w, 3};
    for (uint8_t c = 1; c <= 3; ++c) sof.insert(sof.end(), {c, 0x11, 0});
    Marker(out, 0xC0, sof);
    // DC table 0 (annex K); AC table 0 holds end-of-block alone, code "0".
    std::vector<uint8_t> dht = {0x00};
    dht.insert(dht.end(), kDcBits, kDcBits + 16);
    dht.insert(dht.end(), kDcVals, kDcVals + 12);
    dht.push_back(0x10);
    const uint8_t acBits[16] = {1};
    dht.insert(dht.end(), acBits, acBits + 16);
    dht.push_back(0x00);
    Marker(out, 0xC4, dht);
    Marker(out, 0xDA, {3, 1, 0x00, 2, 0x00, 3, 0x00, 0, 63, 0});
    // The annex K DC codes by category.
    uint32_t dcCode[12];
    int dcLen[12];
    {
        uint32_t code = 0;
        int k = 0;
        for (int len = 1; len <= 16; ++len) {
            for (int i = 0; i < kDcBits[len - 1]; ++i) {
                dcCode[kDcVals[k]] = code++;
                dcLen[kDcVals[k]] = len;
                ++k;
            }
            code <<= 1;
        }
    }
    Bits bits{out};
    int prev[3] = {0, 0, 0};
    for (int by = 0; by < h; by += 8)
        for (int bx = 0; bx < w; bx += 8) {
            double sum[3] = {0, 0, 0};
            for (int y = by; y < by + 8; ++y)
                for (int x = bx; x < bx + 8; ++x) {
                    const Pixel& p = px[(size_t)(y * w + x)];
                    sum[0] += 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
                    sum[1] += -0.168736 * p.r - 0.331264 * p.g + 0.5 * p.b + 128.0;
                    sum[2] += 0.5 * p.r - 0.418688 * p.g - 0.081312 * p.b + 128.0;
                }
            for (int c = 0; c < 3; ++c) {
                // The DC coefficient of a flat block of level v is 8 (v - 128).
                int dc = (int)std::lround((sum[c] / 64.0 - 128.0) * 8.0);
                int diff = dc - prev[c];
                prev[c] = dc;
                int mag = diff < 0 ? -diff : diff, cat = 0;
                while (mag >> cat) ++cat;
                bits.Put(dcCode[cat], dcLen[cat]);
                if (cat) bits.Put(diff < 0 ? (uint32_t)(diff + (1 << cat) - 1) : (uint32_t)diff, cat);
                bits.Put(0, 1);   // end of block
            }
        }
    bits.Finish();
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
}

} // namespace datagen
