#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "frame/bytes.h"
#include "frame/image.h"
#include "support/image_fixtures.h"
#include "support/recorder.h"

static std::vector<uint8_t> Pattern(size_t n)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = (uint8_t)(i * 13 + 1);
    return v;
}

TEST(Qvi, ReadsSizeAndPixelsAfterTheSkippedFields)
{
    struct Case { int32_t w, h; } cases[] = {{1, 1}, {3, 2}, {5, 7}, {300, 1}};
    for (const Case& c : cases) {
        std::vector<uint8_t> px = Pattern((size_t)c.w * c.h * 4);
        std::vector<uint8_t> file = Fixture_Qvi(c.w, c.h, px);
        QVL::BGRA_IMAGE img;
        ASSERT_TRUE(Qvi_Parse(file.data(), file.size(), img)) << c.w << "x" << c.h;
        EXPECT_EQ(c.w, img.width);
        EXPECT_EQ(c.h, img.height);
        EXPECT_EQ(px, img.pixels);
    }
}

TEST(Qvi, RefusesBadSizesAndShortFilesAndKeepsTheRecord)
{
    struct Case { int32_t w, h; size_t pixelBytes; const char* why; } cases[] = {
        {0, 4, 0, "zero width"},
        {4, 0, 0, "zero height"},
        {-2, 4, 0, "negative width"},
        {3, 2, 23, "one pixel byte short"},
        {0x10000, 0x10000, 64, "far beyond the file and the size limit"},
        {kImageMaxSide + 1, 1, 4 * (kImageMaxSide + 1), "side over the limit"},
        {0x7FFFFFFF, 0x7FFFFFFF, 16, "overflowing product"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> file = Fixture_Qvi(c.w, c.h, Pattern(c.pixelBytes));
        QVL::BGRA_IMAGE img;
        img.width = 9;
        EXPECT_FALSE(Qvi_Parse(file.data(), file.size(), img)) << c.why;
        EXPECT_EQ(9, img.width) << c.why;
    }
    for (size_t n = 0; n < 16; ++n) {
        std::vector<uint8_t> file = Fixture_Qvi(1, 1, Pattern(4));
        QVL::BGRA_IMAGE img;
        EXPECT_FALSE(Qvi_Parse(file.data(), n, img)) << "header cut at " << n;
    }
}

TEST(Qvi, ReadsFromAFile)
{
    std::string path = Rec_TempDir() + "/a.qvi";
    std::vector<uint8_t> file = Fixture_Qvi(2, 1, Pattern(8));
    ASSERT_TRUE(QVL::File_WriteAll(path.c_str(), file.data(), file.size()));
    QVL::BGRA_IMAGE img;
    EXPECT_TRUE(Qvi_Read(path.c_str(), img));
    EXPECT_EQ(2, img.width);
    EXPECT_FALSE(Qvi_Read((path + ".missing").c_str(), img));
}

static PsdSpec Spec(uint32_t w, uint32_t h, int channels, uint16_t compression)
{
    PsdSpec s;
    s.width = w;
    s.height = h;
    s.channels = (uint16_t)channels;
    s.compression = compression;
    s.planes = Fixture_PsdPlanes(w, h, channels);
    return s;
}

TEST(Psd, DecodesRawAndPackBitsPlanes)
{
    struct Case { uint32_t w, h; int channels; uint16_t compression; } cases[] = {
        {1, 1, 1, 0}, {3, 2, 3, 0}, {5, 3, 4, 0}, {7, 1, 5, 0},
        {1, 1, 1, 1}, {3, 2, 3, 1}, {5, 3, 4, 1}, {300, 2, 3, 1}, {13, 4, 6, 1}, {2, 2, 2, 1},
    };
    for (const Case& c : cases) {
        PsdSpec s = Spec(c.w, c.h, c.channels, c.compression);
        s.colourModeBytes = 3;  // skipped sections must really be skipped
        s.resourceBytes = 5;
        s.layerBytes = 1;
        std::vector<uint8_t> file = Fixture_Psd(s);
        QVL::PSD_IMAGE img;
        std::string what = std::to_string(c.w) + "x" + std::to_string(c.h) + " ch" +
                           std::to_string(c.channels) + " comp" + std::to_string(c.compression);
        ASSERT_TRUE(PSD_Parse(file.data(), file.size(), img)) << what;
        EXPECT_EQ((int32_t)c.w, img.width) << what;
        EXPECT_EQ((int32_t)c.h, img.height) << what;
        EXPECT_EQ(c.channels, img.channels) << what;
        for (int p = 0; p < 4; ++p) {
            std::vector<uint8_t> expect = p < c.channels ? s.planes[(size_t)p]
                                                         : std::vector<uint8_t>(c.w * c.h, p == 3 ? 255 : 0);
            EXPECT_EQ(expect, img.planes[p]) << what << " plane " << p;
        }
    }
}

// PackBits by hand: 128 is a no-op, a repeat and a literal that run past the end of a plane stop
// there, and the next plane starts at the next header byte.
TEST(Psd, PackBitsRunsStopAtThePlaneEnd)
{
    PsdSpec s = Spec(3, 1, 2, 1);
    std::vector<uint8_t> file = Fixture_Psd(s);
    // Replace the packed data with our own (2 row counts of 2 bytes stay in front).
    size_t dataAt = 26 + 12 + 2 + 4;
    file.resize(dataAt);
    const uint8_t packed[] = {
        128,                 // no-op
        0xFE, 9,             // repeat 9 three times (fills plane 0)
        128, 128,            // no-ops
        0x04, 1, 2, 3,       // literal of 5 bytes, cut after 3 at the plane end
    };
    file.insert(file.end(), packed, packed + sizeof packed);
    QVL::PSD_IMAGE img;
    ASSERT_TRUE(PSD_Parse(file.data(), file.size(), img));
    EXPECT_EQ((std::vector<uint8_t>{9, 9, 9}), img.planes[0]);
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), img.planes[1]);
}

TEST(Psd, RefusesWhatItDoesNotReadAndKeepsTheRecord)
{
    struct Case { const char* why; void (*edit)(PsdSpec&); } cases[] = {
        {"signature", [](PsdSpec& s) { s.signature = 0x38425052; }},
        {"version 2", [](PsdSpec& s) { s.version = 2; }},
        {"17 channels", [](PsdSpec& s) { s.channels = 17; }},
        {"no channel", [](PsdSpec& s) { s.channels = 0; }},
        {"16 bits", [](PsdSpec& s) { s.bits = 16; }},
        {"CMYK", [](PsdSpec& s) { s.mode = 4; }},
        {"compression 2", [](PsdSpec& s) { s.compression = 2; }},
        {"zero width", [](PsdSpec& s) { s.width = 0; }},
        {"zero height", [](PsdSpec& s) { s.height = 0; }},
        {"side over the limit", [](PsdSpec& s) { s.width = kImageMaxSide + 1; }},
        {"too many pixels", [](PsdSpec& s) { s.width = kImageMaxSide; s.height = kImageMaxSide; }},
        {"huge width", [](PsdSpec& s) { s.width = 0xFFFFFFFF; }},
        // Packed planes claiming 16M samples from a few bytes: refused before allocating.
        {"packed picture larger than its data", [](PsdSpec& s) {
             s.width = 4096; s.height = 4096; s.compression = 1; s.planes.assign(3, std::vector<uint8_t>(4096 * 4096, 0)); }},
    };
    for (const Case& c : cases) {
        PsdSpec s = Spec(4, 3, 3, 0);
        c.edit(s);
        std::vector<uint8_t> file = Fixture_Psd(s);
        if (std::string(c.why) == "packed picture larger than its data") file.resize(26 + 12 + 2 + 4096 * 3 * 2 + 100);
        QVL::PSD_IMAGE img;
        img.width = 77;
        EXPECT_FALSE(PSD_Parse(file.data(), file.size(), img)) << c.why;
        EXPECT_EQ(77, img.width) << c.why;
    }
}

TEST(Psd, SectionLengthsAreCheckedAgainstTheFile)
{
    for (int section = 0; section < 3; ++section) {
        std::vector<uint8_t> file = Fixture_Psd(Spec(2, 2, 3, 0));
        size_t at = 26 + 4 * (size_t)section;
        file[at] = file[at + 1] = file[at + 2] = file[at + 3] = 0xFF;  // length 4 GB
        QVL::PSD_IMAGE img;
        EXPECT_FALSE(PSD_Parse(file.data(), file.size(), img)) << "section " << section;
    }
}

TEST(Psd, EveryTruncationFails)
{
    for (uint16_t compression : {0, 1})
        for (int channels : {1, 3, 4}) {
            std::vector<uint8_t> file = Fixture_Psd(Spec(5, 3, channels, compression));
            for (size_t n = 0; n < file.size(); ++n) {
                QVL::PSD_IMAGE img;
                EXPECT_FALSE(PSD_Parse(file.data(), n, img)) << "cut at " << n << " of " << file.size();
            }
        }
}

TEST(Psd, ReadsFromAFile)
{
    std::string path = Rec_TempDir() + "/a.psd";
    std::vector<uint8_t> file = Fixture_Psd(Spec(3, 3, 3, 1));
    ASSERT_TRUE(QVL::File_WriteAll(path.c_str(), file.data(), file.size()));
    QVL::PSD_IMAGE img;
    EXPECT_TRUE(PSD_Read(path.c_str(), img));
    EXPECT_EQ(3, img.width);
    EXPECT_FALSE(PSD_Read((path + ".missing").c_str(), img));
}

TEST(Psd, ThreeChannelsMakePureBlackTransparent)
{
    QVL::PSD_IMAGE psd;
    psd.width = 4;
    psd.height = 1;
    psd.channels = 3;
    psd.planes[0] = {0, 1, 0, 0};
    psd.planes[1] = {0, 0, 2, 0};
    psd.planes[2] = {0, 0, 0, 3};
    psd.planes[3] = {255, 255, 255, 255};
    QVL::BGRA_IMAGE out;
    PSD_ToBgra(psd, out);
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 1, 255, 0, 2, 0, 255, 3, 0, 0, 255}), out.pixels);

    psd.channels = 4;  // the alpha plane is kept, black or not
    psd.planes[3] = {10, 20, 30, 40};
    PSD_ToBgra(psd, out);
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 10, 0, 0, 1, 20, 0, 2, 0, 30, 3, 0, 0, 40}), out.pixels);
}

TEST(Image, TextureSideRaisesToPowersOfTwoUpTo512)
{
    struct Case { int32_t side, texture; } cases[] = {
        {1, 1}, {2, 2}, {3, 4}, {5, 8}, {8, 8}, {9, 16}, {200, 256}, {300, 512}, {511, 512},
        {512, 512}, {513, 513}, {600, 600}, {1024, 1024},
    };
    for (const Case& c : cases) EXPECT_EQ(c.texture, Image_TextureSide(c.side)) << c.side;
}

TEST(Image, StretchPicksNearestPixelsAndHonoursThePitch)
{
    QVL::BGRA_IMAGE pic;
    pic.width = 3;
    pic.height = 2;
    for (int i = 0; i < 6; ++i) {
        uint8_t v = (uint8_t)(i + 1);
        pic.pixels.insert(pic.pixels.end(), {v, (uint8_t)(v + 10), (uint8_t)(v + 20), (uint8_t)(v + 30)});
    }
    // 3x2 onto 4x4 texels, 20 bytes a row (4 bytes of padding).
    std::vector<uint8_t> tex(20 * 4, 0xEE);
    Image_Stretch(pic, tex.data(), 20, 4, 4);
    const int expect[4][4] = {{1, 1, 2, 3}, {1, 1, 2, 3}, {4, 4, 5, 6}, {4, 4, 5, 6}};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const uint8_t* t = &tex[(size_t)y * 20 + (size_t)x * 4];
            EXPECT_EQ(expect[y][x], t[0]) << x << "," << y;
            EXPECT_EQ(expect[y][x] + 30, t[3]) << x << "," << y;
        }
        EXPECT_EQ(0xEE, tex[(size_t)y * 20 + 16]) << "padding of row " << y;
    }
    // 300x200 into 512x256: the last texel takes the last pixel.
    pic.width = 300;
    pic.height = 200;
    pic.pixels.assign(300 * 200 * 4, 0);
    pic.pixels[(199 * 300 + 299) * 4] = 0x77;
    tex.assign(512 * 256 * 4, 0);
    Image_Stretch(pic, tex.data(), 512 * 4, 512, 256);
    EXPECT_EQ(0x77, tex[(255 * 512 + 511) * 4]);
    EXPECT_EQ(0x00, tex[(255 * 512 + 509) * 4]);  // 509 * 300 / 512 = 298
}

TEST(Image, PixelCopiesPackRgbaAndResampleToTheEntrySize)
{
    // A 4x2 texture (blue, green, red, alpha bytes) copied into a 2x1 entry and into a 4x4 entry.
    std::vector<uint8_t> tex(4 * 2 * 4);
    for (int i = 0; i < 8; ++i) {
        tex[(size_t)i * 4 + 0] = (uint8_t)(0x10 + i);  // blue
        tex[(size_t)i * 4 + 1] = (uint8_t)(0x20 + i);  // green
        tex[(size_t)i * 4 + 2] = (uint8_t)(0x30 + i);  // red
        tex[(size_t)i * 4 + 3] = (uint8_t)(0x40 + i);  // alpha
    }
    Image_BuildPixelCopy(5, tex.data(), 16, 4, 2, 2, 1);
    // The last texel landing on a copy pixel wins: texels x 1 and 3 of row 1.
    EXPECT_EQ(0x45152535u, Image_GetCopyPixel(5, 0));
    EXPECT_EQ(0x47172737u, Image_GetCopyPixel(5, 1));
    EXPECT_EQ(0u, Image_GetCopyPixel(5, 2)) << "past the copy";
    EXPECT_EQ(0u, Image_GetCopyPixel(5, -1));

    Image_BuildPixelCopy(6, tex.data(), 16, 4, 2, 4, 4);
    EXPECT_EQ(0x40102030u, Image_GetCopyPixel(6, 0));
    EXPECT_EQ(0u, Image_GetCopyPixel(6, 4)) << "rows the smaller texture does not reach stay 0";
    EXPECT_EQ(0x44142434u, Image_GetCopyPixel(6, 8));

    EXPECT_EQ(0u, Image_GetCopyPixel(7, 0)) << "no copy";
    EXPECT_EQ(0u, Image_GetCopyPixel(256, 0));
    Image_FreePixelCopies();
    EXPECT_EQ(0u, Image_GetCopyPixel(5, 0));
}

TEST(Image, PixelCopySizesFromTheModelAreBounded)
{
    std::vector<uint8_t> tex(4, 0xFF);
    struct Case { int32_t w, h; } cases[] = {{0, 4}, {4, 0}, {-1, 4}, {kImageMaxSide + 1, 1}, {100000, 100000}};
    for (const Case& c : cases) {
        Image_BuildPixelCopy(3, tex.data(), 4, 1, 1, c.w, c.h);
        EXPECT_EQ(nullptr, g_PixelCopies[3].pixels) << c.w << "x" << c.h;
    }
    Image_BuildPixelCopy(300, tex.data(), 4, 1, 1, 1, 1);  // no such entry: nothing happens
    Image_FreePixelCopies();
}
