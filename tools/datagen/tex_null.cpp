// data/System/tex_null.bmp: the placeholder texture of untextured materials. Plain white, so that drawing
// with it shows the material colour unchanged; 32 x 32, 24-bit, bottom-up rows.
#include "frame/bytes.h"
#include "datagen.h"

namespace {

std::vector<uint8_t> BuildTexNull()
{
    const int w = 32, h = 32;
    const uint32_t rowBytes = (w * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * h;
    QVL::ByteWriter out;
    // BITMAPFILEHEADER
    out.Bytes("BM", 2);
    out.U32(14 + 40 + pixelBytes);
    out.U32(0);
    out.U32(14 + 40);
    // BITMAPINFOHEADER
    out.U32(40);
    out.I32(w);
    out.I32(h);
    out.U16(1);
    out.U16(24);
    out.U32(0);  // BI_RGB
    out.U32(pixelBytes);
    out.I32(2835);  // 72 dpi
    out.I32(2835);
    out.U32(0);
    out.U32(0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            out.U8(0xFF);
            out.U8(0xFF);
            out.U8(0xFF);
        }
        out.Zeros(rowBytes - w * 3);
    }
    return out.Data();
}

} // namespace

DATAGEN_FILE("data/System/tex_null.bmp", BuildTexNull);
