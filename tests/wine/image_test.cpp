// Pictures into texture slots on the frame's device: BMP through D3DX, PSD and QVI through our readers.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/scene.h"
#include "frame/win32/image_load.h"
#include "model/win32/model_textures.h"
#include "model/model_table.h"
#include "model/obj2.h"
#include "render/tex_slots.h"
#include "wine/support/wine_frame.h"

namespace {

void WriteFile(const char* name, const QVL::ByteWriter& w)
{
    ASSERT_TRUE(QVL::File_WriteAll(name, w)) << name;
}

// 24-bit BMP, rows bottom-up padded to 4 bytes; pixels given top-down as 0xRRGGBB.
QVL::ByteWriter Bmp(int w, int h, const std::vector<uint32_t>& rgb)
{
    int stride = (w * 3 + 3) & ~3;
    QVL::ByteWriter b;
    b.U16(0x4D42);
    b.U32((uint32_t)(54 + stride * h));
    b.U32(0);
    b.U32(54);
    b.U32(40);
    b.I32(w);
    b.I32(h);
    b.U16(1);
    b.U16(24);
    b.U32(0);
    b.U32((uint32_t)(stride * h));
    b.I32(2835);
    b.I32(2835);
    b.U32(0);
    b.U32(0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            uint32_t c = rgb[(size_t)(y * w + x)];
            b.U8((uint8_t)c);
            b.U8((uint8_t)(c >> 8));
            b.U8((uint8_t)(c >> 16));
        }
        b.Zeros((size_t)(stride - w * 3));
    }
    return b;
}

// Raw 8-bit RGB PSD with the given planes (bits 16 makes one we do not read).
QVL::ByteWriter Psd(int w, int h, const std::vector<std::vector<uint8_t>>& planes, uint16_t bits = 8)
{
    QVL::ByteWriter p(true);
    p.U32(0x38425053);
    p.U16(1);
    p.Zeros(6);
    p.U16((uint16_t)planes.size());
    p.U32((uint32_t)h);
    p.U32((uint32_t)w);
    p.U16(bits);
    p.U16(3);
    p.U32(0);
    p.U32(0);
    p.U32(0);
    p.U16(0);
    for (const std::vector<uint8_t>& plane : planes) {
        p.Bytes(plane.data(), plane.size());
        if (bits == 16) p.Bytes(plane.data(), plane.size());
    }
    return p;
}

// A QVI whose pixel (x, y) is blue x, green y, red 0x80, alpha 0xC0.
QVL::ByteWriter Qvi(int w, int h)
{
    QVL::ByteWriter q;
    q.I32(0);
    q.I32(0);
    q.I32(w);
    q.I32(h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            q.U8((uint8_t)x);
            q.U8((uint8_t)y);
            q.U8(0x80);
            q.U8(0xC0);
        }
    return q;
}

// The A8R8G8B8 texel (x, y) of level 0, and the level's size.
uint32_t Texel(IDirect3DTexture9* tex, int x, int y)
{
    D3DLOCKED_RECT lr;
    if (FAILED(tex->LockRect(0, &lr, nullptr, D3DLOCK_READONLY))) return 0xDEADBEEF;
    uint32_t v = *reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(lr.pBits) + y * lr.Pitch + x * 4);
    tex->UnlockRect(0);
    return v;
}

SIZE LevelSize(IDirect3DTexture9* tex)
{
    D3DSURFACE_DESC d;
    tex->GetLevelDesc(0, &d);
    return SIZE{(LONG)d.Width, (LONG)d.Height};
}

struct ImageSlots : testing::Test {
    void SetUp() override { ASSERT_TRUE(WineFrame_Ensure()); }
    static void TearDownTestSuite() { Tex_FreeSlots(); }
};

} // namespace

TEST_F(ImageSlots, LoadsBmpPsdAndQviIntoSlots)
{
    ASSERT_NE(nullptr, g_Device);
    // BMP 4x2 through D3DX: opaque black becomes transparent.
    WriteFile("img_t.bmp", Bmp(4, 2, {0x102030, 0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x405060, 0x708090, 0xFFFFFF}));
    // PSD 3x2, 3 channels: the black pixel (1, 0) becomes transparent.
    WriteFile("img_t.psd", Psd(3, 2, {{10, 0, 30, 40, 50, 60}, {11, 0, 31, 41, 51, 61}, {12, 0, 32, 42, 52, 62}}));
    // QVI 3x5: a 4x8 texture filled by stretching.
    WriteFile("img_t.qvi", Qvi(3, 5));

    size_t first = g_TexSlots.size();
    int32_t bmp = Tex_Load("img_t.bmp");
    int32_t psd = Tex_Load("img_t.psd");
    int32_t h = 99;
    int32_t qvi = Tex_LoadFile(&h, "IMG_T.QvI");  // the extension in any case
    ASSERT_EQ((int32_t)first, bmp);
    ASSERT_EQ(bmp + 1, psd);
    ASSERT_EQ(psd + 1, qvi);
    EXPECT_EQ(qvi, h);
    EXPECT_EQ(bmp, g_TexTable[bmp]);
    EXPECT_EQ(psd, g_TexTable[psd]);

    struct Case { int32_t slot; float w, h; LONG texW, texH; int x, y; uint32_t texel; } cases[] = {
        {bmp, 4, 2, 4, 2, 0, 0, 0xFF102030},
        {bmp, 4, 2, 4, 2, 1, 0, 0x00000000},
        {bmp, 4, 2, 4, 2, 1, 1, 0xFF405060},
        {psd, 3, 2, 4, 2, 0, 0, 0xFF0A0B0C},
        {psd, 3, 2, 4, 2, 1, 0, 0xFF0A0B0C},  // texels 0 and 1 both take pixel 0
        {psd, 3, 2, 4, 2, 2, 0, 0x00000000},
        {psd, 3, 2, 4, 2, 3, 1, 0xFF3C3D3E},
        {qvi, 3, 5, 4, 8, 0, 0, 0xC0800000},
        {qvi, 3, 5, 4, 8, 3, 7, 0xC0800402},
        {qvi, 3, 5, 4, 8, 2, 3, 0xC0800101},
    };
    for (const Case& c : cases) {
        float w = 0, hh = 0;
        ASSERT_TRUE(Tex_GetSize(c.slot, &w, &hh)) << c.slot;
        EXPECT_EQ(c.w, w) << c.slot;
        EXPECT_EQ(c.h, hh) << c.slot;
        IDirect3DTexture9* tex = g_TexSlots[(size_t)c.slot].texture;
        ASSERT_NE(nullptr, tex) << c.slot;
        SIZE s = LevelSize(tex);
        EXPECT_EQ(c.texW, s.cx) << c.slot;
        EXPECT_EQ(c.texH, s.cy) << c.slot;
        EXPECT_EQ(c.texel, Texel(tex, c.x, c.y)) << "slot " << c.slot << " texel " << c.x << "," << c.y;
    }

    // Stage 0 gets the slot's texture, and nothing for -1.
    Tex_Set(qvi);
    IDirect3DBaseTexture9* bound = nullptr;
    g_Device->GetTexture(0, &bound);
    EXPECT_EQ(static_cast<IDirect3DBaseTexture9*>(g_TexSlots[(size_t)qvi].texture), bound);
    if (bound) bound->Release();
    Tex_Set(-1);
    g_Device->GetTexture(0, &bound);
    EXPECT_EQ(nullptr, bound);
    Tex_Set(qvi);
    Tex_Set(1 << 20);  // beyond the table: binds nothing rather than reading past it
    g_Device->GetTexture(0, &bound);
    EXPECT_EQ(nullptr, bound);

    // The CPU copy of the QVI texture in its picture size: 0xAABBGGRR.
    Image_CopyTexturePixels(4, g_TexSlots[(size_t)qvi].texture, 3, 5);
    EXPECT_EQ(0xC0020480u, Image_GetCopyPixel(4, 4 * 3 + 2));  // pixel (2, 4): blue 2, green 4
    Image_FreePixelCopies();

    // The slot's texels as they lie in the texture, and a 2D object's copy of the same picture.
    std::vector<uint8_t> texels;
    int32_t tw = 0, th = 0;
    ASSERT_TRUE(Tex_ReadTexels(psd, texels, &tw, &th));
    ASSERT_EQ(4, tw);
    ASSERT_EQ(2, th);
    ASSERT_EQ(32u, texels.size());
    uint32_t last;
    std::memcpy(&last, texels.data() + 28, 4);
    EXPECT_EQ(0xFF3C3D3Eu, last);
    EXPECT_FALSE(Tex_ReadTexels(-1, texels, &tw, &th));
    EXPECT_TRUE(texels.empty());
    int32_t obj = Obj2_Create();
    Obj2_LoadImage(obj, 0, "img_t.qvi");
    Obj2_CopyImagePixels(obj, 0);
    EXPECT_EQ(0xC0020480u, Obj2_GetLockedPixel(4 * 3 + 2));
}

TEST_F(ImageSlots, FailedLoadsTakeASlotOf32By32)
{
    // 16-bit PSD: our reader declines and D3DX has no PSD loader here.
    WriteFile("img_t16.psd", Psd(2, 2, {{1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}}, 16));
    WriteFile("img_bad.qvi", Qvi(3, 5));
    {
        std::vector<uint8_t> cut;
        ASSERT_TRUE(QVL::File_ReadAll("img_bad.qvi", cut));
        cut.resize(cut.size() - 1);
        ASSERT_TRUE(QVL::File_WriteAll("img_bad.qvi", cut.data(), cut.size()));
    }
    for (const char* name : {"img_t16.psd", "img_bad.qvi", "img_missing.qvi", "img_missing.png"}) {
        size_t slot = g_TexSlots.size();
        EXPECT_EQ(-1, Tex_Load(name)) << name;
        ASSERT_EQ(slot + 1, g_TexSlots.size()) << name;
        EXPECT_EQ(nullptr, g_TexSlots[slot].texture) << name;
        EXPECT_EQ(32u, g_TexSlots[slot].info.width) << name;
        EXPECT_EQ(32u, g_TexSlots[slot].info.height) << name;
        float w = 1, h = 1;
        EXPECT_FALSE(Tex_GetSize(-1, &w, &h));
        EXPECT_EQ(0.0f, w);
    }

    // Slots past the texture table keep it untouched.
    WriteFile("img_t.qvi", Qvi(1, 1));
    while (g_TexSlots.size() < 1500) Tex_AllocSlot();
    std::vector<QVL::TEX_HANDLE> before(g_TexTable, g_TexTable + 1024);
    EXPECT_EQ(1500, Tex_Load("img_t.qvi"));
    EXPECT_EQ(before, std::vector<QVL::TEX_HANDLE>(g_TexTable, g_TexTable + 1024));
}

TEST_F(ImageSlots, ToonRampComesFromTheDataFolder)
{
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    std::string with = std::string(cwd) + "\\img_data", without = std::string(cwd) + "\\img_nodata";
    CreateDirectoryA(with.c_str(), nullptr);
    CreateDirectoryA((with + "\\System").c_str(), nullptr);
    CreateDirectoryA(without.c_str(), nullptr);
    // D3DX knows pictures by their contents: a BMP serves as the ramp.
    WriteFile((with + "\\System\\Toon.JPG").c_str(), Bmp(2, 4, {0xFFFFFF, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x808080, 0x404040, 0x404040}));

    char saved[256];
    memcpy(saved, g_Lib.dataFolder, sizeof saved);
    snprintf(g_Lib.dataFolder, sizeof g_Lib.dataFolder, "%s", with.c_str());
    Image_LoadToonRamp();
    ASSERT_NE(nullptr, g_ToonTexture);
    EXPECT_EQ(1, g_ToonShading);
    EXPECT_EQ(2u, g_ToonImageInfo.Width);
    EXPECT_EQ(4u, g_ToonImageInfo.Height);

    g_ToonShading = 0;
    snprintf(g_Lib.dataFolder, sizeof g_Lib.dataFolder, "%s", without.c_str());
    Image_LoadToonRamp();  // missing: no texture, a 32 x 32 ramp, toon shading stays off
    EXPECT_EQ(nullptr, g_ToonTexture);
    EXPECT_EQ(32u, g_ToonImageInfo.Width);
    EXPECT_EQ(32u, g_ToonImageInfo.Height);
    EXPECT_EQ(0, g_ToonShading);
    memcpy(g_Lib.dataFolder, saved, sizeof saved);
}

TEST_F(ImageSlots, ModelTexturesTakeTheirPictureSizeAndPixelCopies)
{
    WriteFile("img_m.qvi", Qvi(3, 5));
    int32_t id = Model3_Create();
    QVL::MODEL3* m = Model3_GetById(id);
    ASSERT_NE(nullptr, m);
    m->textures[1].used = 1;
    m->textures[2].used = 1;  // named but never loaded: no copy
    Image_LoadModel3Texture(id, 1, "img_m.qvi");
    Image_LoadModel3Texture(id, 256, "img_m.qvi");  // beyond the entries: nothing
    EXPECT_EQ(3, m->textures[1].width);
    EXPECT_EQ(5, m->textures[1].height);

    Image_CopyModel3Pixels(id);
    EXPECT_EQ(0xC0020480u, Image_GetCopyPixel(1, 4 * 3 + 2));  // pixel (2, 4): blue 2, green 4
    EXPECT_EQ(0xC0000080u, Image_GetCopyPixel(1, 0));
    EXPECT_EQ(0u, Image_GetCopyPixel(2, 0));
    Image_CopyModel3Pixels(9999);  // no such model: the copies stay
    EXPECT_EQ(0xC0000080u, Image_GetCopyPixel(1, 0));
    Image_FreePixelCopies();
}
