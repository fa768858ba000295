#include "frame/image.h"

#include <cstdlib>
#include <cstring>

#include "frame/bytes.h"

QVL::PIXEL_COPY g_PixelCopies[256];

bool Image_SizeAllowed(int64_t width, int64_t height)
{
    return width >= 1 && height >= 1 && width <= kImageMaxSide && height <= kImageMaxSide &&
           width * height <= kImageMaxPixels;
}

bool Qvi_Parse(const uint8_t* data, size_t size, QVL::BGRA_IMAGE& out)
{
    QVL::ByteReader r(data, size);
    int32_t w = 0, h = 0;
    r.Skip(8);
    r.I32(w);
    r.I32(h);
    if (!r.Ok() || !Image_SizeAllowed(w, h)) return false;
    size_t bytes = (size_t)w * (size_t)h * 4;
    if (bytes > r.Left()) return false;
    QVL::BGRA_IMAGE img;
    img.width = w;
    img.height = h;
    img.pixels.resize(bytes);
    r.Bytes(img.pixels.data(), bytes);
    out = std::move(img);
    return true;
}

bool Qvi_Read(const char* path, QVL::BGRA_IMAGE& out)
{
    std::vector<uint8_t> file;
    return QVL::File_ReadAll(path, file) && Qvi_Parse(file.data(), file.size(), out);
}

// One plane of PackBits data. Rows are not told apart: runs fill the plane in order, and a run that
// would pass the end of the plane stops there.
static bool UnpackBits(QVL::ByteReader& r, uint8_t* plane, size_t count)
{
    size_t at = 0;
    while (at < count) {
        uint8_t n = 0;
        if (!r.U8(n)) return false;
        if (n == 128) continue;
        if (n < 128) {
            size_t run = (size_t)n + 1;
            if (run > count - at) run = count - at;
            if (!r.Bytes(plane + at, run)) return false;
            at += run;
        } else {
            size_t run = 257 - (size_t)n;
            if (run > count - at) run = count - at;
            uint8_t v = 0;
            if (!r.U8(v)) return false;
            std::memset(plane + at, v, run);
            at += run;
        }
    }
    return true;
}

bool PSD_Parse(const uint8_t* data, size_t size, QVL::PSD_IMAGE& out)
{
    QVL::ByteReader r(data, size, true);
    uint32_t signature = 0, height = 0, width = 0;
    uint16_t version = 0, channels = 0, bits = 0, mode = 0;
    r.U32(signature);
    r.U16(version);
    r.Skip(6);
    r.U16(channels);
    r.U32(height);
    r.U32(width);
    r.U16(bits);
    r.U16(mode);
    // No channel at all would be a picture of defaults made from no data: refused with the rest.
    if (!r.Ok() || signature != 0x38425053u || version != 1 || channels < 1 || channels > 16 || bits != 8 ||
        mode != 3)
        return false;
    if (!Image_SizeAllowed(width, height)) return false;
    // Colour-mode data, image resources, layer and mask information.
    for (int i = 0; i < 3; ++i) {
        uint32_t len = 0;
        if (!r.U32(len) || !r.Skip(len)) return false;
    }
    uint16_t compression = 0;
    if (!r.U16(compression) || compression > 1) return false;
    if (compression == 1 && !r.Skip((size_t)height * channels * 2)) return false;

    size_t count = (size_t)width * height;
    QVL::PSD_IMAGE img;
    img.width = (int32_t)width;
    img.height = (int32_t)height;
    img.channels = channels;
    for (int c = 0; c < 4; ++c) {
        if (c >= channels) {
            img.planes[c].assign(count, c == 3 ? 255 : 0);
            continue;
        }
        // Every sample costs at least 1/64 byte even packed: refuse what the file cannot hold before
        // allocating the plane.
        if (compression == 0 ? r.Left() < count : r.Left() / 2 < (count + 127) / 128) return false;
        img.planes[c].resize(count);
        bool ok = compression == 0 ? r.Bytes(img.planes[c].data(), count)
                                   : UnpackBits(r, img.planes[c].data(), count);
        if (!ok) return false;
    }
    out = std::move(img);
    return true;
}

bool PSD_Read(const char* path, QVL::PSD_IMAGE& out)
{
    std::vector<uint8_t> file;
    return QVL::File_ReadAll(path, file) && PSD_Parse(file.data(), file.size(), out);
}

void PSD_ToBgra(const QVL::PSD_IMAGE& psd, QVL::BGRA_IMAGE& out)
{
    size_t count = (size_t)psd.width * (size_t)psd.height;
    out.width = psd.width;
    out.height = psd.height;
    out.pixels.resize(count * 4);
    for (int c = 0; c < 4; ++c)
        if (psd.planes[c].size() < count) {
            out.pixels.assign(count * 4, 0);
            return;
        }
    const uint8_t* R = psd.planes[0].data();
    const uint8_t* G = psd.planes[1].data();
    const uint8_t* B = psd.planes[2].data();
    const uint8_t* A = psd.planes[3].data();
    uint8_t* p = out.pixels.data();
    for (size_t i = 0; i < count; ++i, p += 4) {
        p[0] = B[i];
        p[1] = G[i];
        p[2] = R[i];
        if (psd.channels == 3)
            p[3] = (R[i] | G[i] | B[i]) ? 255 : 0;
        else
            p[3] = A[i];
    }
}

int32_t Image_TextureSide(int32_t side)
{
    if (side <= 1 || side >= 512) return side;
    int32_t p = 1;
    while (p < side) p *= 2;
    return p;
}

void Image_Stretch(const QVL::BGRA_IMAGE& picture, uint8_t* texels, int32_t pitch, int32_t texW,
                   int32_t texH)
{
    int64_t w = picture.width, h = picture.height;
    if (w <= 0 || h <= 0 || texW <= 0 || texH <= 0 || picture.pixels.size() < (size_t)(w * h * 4))
        return;
    for (int32_t y = 0; y < texH; ++y) {
        const uint8_t* srcRow = picture.pixels.data() + (size_t)(y * h / texH) * (size_t)w * 4;
        uint8_t* dst = texels + (size_t)y * (size_t)pitch;
        for (int32_t x = 0; x < texW; ++x)
            std::memcpy(dst + (size_t)x * 4, srcRow + (size_t)(x * w / texW) * 4, 4);
    }
}

void Image_FreeCopy(QVL::PIXEL_COPY& copy)
{
    std::free(copy.pixels);
    copy = QVL::PIXEL_COPY{nullptr, 0, 0};
}

void Image_FreePixelCopy(int entry)
{
    if (entry < 0 || entry >= 256) return;
    Image_FreeCopy(g_PixelCopies[entry]);
}

void Image_FreePixelCopies()
{
    for (int i = 0; i < 256; ++i) Image_FreePixelCopy(i);
}

void Image_MakeCopy(QVL::PIXEL_COPY& out, const uint8_t* texels, int32_t pitch, int32_t texW, int32_t texH,
                    int32_t width, int32_t height)
{
    Image_FreeCopy(out);
    // The size comes from a file: bound it before allocating.
    if (!texels || texW <= 0 || texH <= 0 || !Image_SizeAllowed(width, height)) return;
    uint32_t* copy = static_cast<uint32_t*>(std::calloc((size_t)width * (size_t)height, 4));
    if (!copy) return;
    for (int32_t y = 0; y < texH; ++y) {
        const uint8_t* t = texels + (size_t)y * (size_t)pitch;
        size_t row = (size_t)((int64_t)y * height / texH) * (size_t)width;
        for (int32_t x = 0; x < texW; ++x, t += 4) {
            size_t col = (size_t)((int64_t)x * width / texW);
            copy[row + col] = (uint32_t)t[3] << 24 | (uint32_t)t[0] << 16 | (uint32_t)t[1] << 8 | t[2];
        }
    }
    out = QVL::PIXEL_COPY{copy, width, height};
}

void Image_BuildPixelCopy(int entry, const uint8_t* texels, int32_t pitch, int32_t texW, int32_t texH,
                          int32_t entryW, int32_t entryH)
{
    if (entry < 0 || entry >= 256) return;
    Image_MakeCopy(g_PixelCopies[entry], texels, pitch, texW, texH, entryW, entryH);
}

uint32_t Image_GetCopyPixel(int entry, int32_t index)
{
    if (entry < 0 || entry >= 256) return 0;
    const QVL::PIXEL_COPY& c = g_PixelCopies[entry];
    if (!c.pixels || index < 0 || (int64_t)index >= (int64_t)c.width * c.height) return 0;
    return c.pixels[index];
}
