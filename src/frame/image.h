// Picture decoding the studio does itself (QVI and PSD), the texture sizing rule, and the CPU copies
// of model textures that the software-painted panels read. Platform-free: the Direct3D side of
// picture loading is in frame/win32/image_load.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace QVL {

// What the picture loader reports with each texture; the layout of D3DXIMAGE_INFO, so records that
// keep it need no platform header. Only width and height are read by the studio.
struct IMAGE_INFO {
    uint32_t width;
    uint32_t height;
    uint32_t depth;
    uint32_t mipLevels;
    uint32_t format;
    uint32_t resourceType;
    uint32_t fileFormat;
};

// A picture as 4-byte pixels in the memory order of A8R8G8B8 (blue, green, red, alpha), rows from
// the top.
struct BGRA_IMAGE {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

// A decoded PSD: planes red, green, blue, alpha of width x height samples. Planes the file does not
// hold keep their default (0 for the colours, 255 for alpha).
struct PSD_IMAGE {
    int32_t width = 0;
    int32_t height = 0;
    int32_t channels = 0;
    std::vector<uint8_t> planes[4];
};

// One CPU copy of a model texture: pixels 0xAABBGGRR (red in the low byte), width x height, row by
// row in the size recorded in the model's texture entry.
struct PIXEL_COPY {
    uint32_t* pixels;
    int32_t width;
    int32_t height;
};

} // namespace QVL

// Pictures larger than this are refused before anything is allocated: each side at most
// kImageMaxSide, and at most kImageMaxPixels in all (64 MB of pixels; the studio is 32-bit).
constexpr int32_t kImageMaxSide = 16384;
constexpr int32_t kImageMaxPixels = 16 * 1024 * 1024;
// True when a picture of width x height may be allocated.
bool Image_SizeAllowed(int64_t width, int64_t height);

// QVI: a 16-byte header (two int32 the reader skips, width, height) and width x height pixels of
// blue, green, red, alpha. False for a file that is short, empty or too large.
bool Qvi_Parse(const uint8_t* data, size_t size, QVL::BGRA_IMAGE& out);
bool Qvi_Read(const char* path, QVL::BGRA_IMAGE& out);

// PSD: 8-bit RGB only, raw or PackBits. False (out untouched) for anything else, and for a file whose
// lengths do not fit its bytes.
bool PSD_Parse(const uint8_t* data, size_t size, QVL::PSD_IMAGE& out);
bool PSD_Read(const char* path, QVL::PSD_IMAGE& out);
// Interleaves the planes into BGRA pixels. A 3-channel picture has no alpha of its own: its pure
// black pixels become transparent, every other pixel opaque.
void PSD_ToBgra(const QVL::PSD_IMAGE& psd, QVL::BGRA_IMAGE& out);

// The texture side for a picture side: a size strictly between two powers of two up to 512 is raised
// to the upper one (3 -> 4, 300 -> 512); others stay (512, 600).
int32_t Image_TextureSide(int32_t side);

// Fills a texture level of texW x texH texels (pitch bytes per row) from the picture by nearest
// neighbour: texel (x, y) takes picture pixel (x * w / texW, y * h / texH), bytes unchanged.
void Image_Stretch(const QVL::BGRA_IMAGE& picture, uint8_t* texels, int32_t pitch, int32_t texW,
                   int32_t texH);

// CPU pixel copies, one per model texture entry.
extern QVL::PIXEL_COPY g_PixelCopies[256];

// Rebuilds copy `entry` in the entry's size (entryW x entryH) from a locked texture level of
// texW x texH BGRA texels: every texel lands on copy pixel
// (x * entryW / texW, y * entryH / texH). A size that may not be allocated leaves no copy.
void Image_BuildPixelCopy(int entry, const uint8_t* texels, int32_t pitch, int32_t texW, int32_t texH,
                          int32_t entryW, int32_t entryH);
void Image_FreePixelCopy(int entry);
// The same into any copy (the 2D object's image copy, say), in width x height pixels; out is freed
// first and left empty when there is nothing to copy.
void Image_MakeCopy(QVL::PIXEL_COPY& out, const uint8_t* texels, int32_t pitch, int32_t texW, int32_t texH,
                    int32_t width, int32_t height);
void Image_FreeCopy(QVL::PIXEL_COPY& copy);
void Image_FreePixelCopies();
// Pixel `index` of copy `entry`; 0 when the entry has no copy or the index lies outside it.
uint32_t Image_GetCopyPixel(int entry, int32_t index);
