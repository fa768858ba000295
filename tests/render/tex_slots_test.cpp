#include <gtest/gtest.h>

#include <string>

#include "render/tex_slots.h"

namespace {

// A picture loader that succeeds for names starting with "ok", with a fake texture pointer.
bool FakeLoad(QVL::TEX_SLOT& slot, const char* file)
{
    if (std::string(file).rfind("ok", 0) != 0) return false;
    slot.texture = reinterpret_cast<IDirect3DTexture9*>(uintptr_t(0x1000));
    slot.info.width = 64;
    slot.info.height = 16;
    return true;
}

struct TexSlots : testing::Test {
    void SetUp() override { g_TexSlots.clear(); }
    void TearDown() override { g_TexSlots.clear(); }  // fake textures must not reach a release
};

} // namespace

TEST_F(TexSlots, AllocAppendsAZeroFilledSlotInUse)
{
    EXPECT_EQ(0, Tex_AllocSlot());
    EXPECT_EQ(1, Tex_AllocSlot());
    ASSERT_EQ(2u, g_TexSlots.size());
    EXPECT_EQ(1, g_TexSlots[1].inUse);
    EXPECT_EQ(0, g_TexSlots[1].name[0]);
    EXPECT_EQ(nullptr, g_TexSlots[1].texture);
    EXPECT_EQ(0u, g_TexSlots[1].info.width);
}

TEST_F(TexSlots, EveryLoadTakesASlotAndAFailedOneIs32By32)
{
    struct Step { const char* file; int32_t index; uint32_t w, h; } steps[] = {
        {"ok.bmp", 0, 64, 16},
        {"ok.bmp", 1, 64, 16},       // the same file again: a new slot
        {"missing.bmp", -1, 32, 32},  // fails, but uses slot 2
        {"ok2.png", 3, 64, 16},
    };
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        const Step& s = steps[i];
        EXPECT_EQ(s.index, Tex_LoadWith(s.file, FakeLoad)) << s.file;
        ASSERT_EQ(i + 1, g_TexSlots.size());
        EXPECT_STREQ(s.file, g_TexSlots[i].name);
        EXPECT_EQ(1, g_TexSlots[i].inUse);
        EXPECT_EQ(s.w, g_TexSlots[i].info.width);
        EXPECT_EQ(s.h, g_TexSlots[i].info.height);
    }
    EXPECT_EQ(-1, Tex_LoadWith(nullptr, FakeLoad));
}

TEST_F(TexSlots, LongNamesAreCutToTheField)
{
    std::string name = "ok" + std::string(400, 'x');
    EXPECT_EQ(0, Tex_LoadWith(name.c_str(), FakeLoad));
    EXPECT_EQ(name.substr(0, 258), std::string(g_TexSlots[0].name));
}

TEST_F(TexSlots, HandlesOutsideTheTableHaveNoSlot)
{
    QVL::TEX_HANDLE h = 5;
    Tex_InitHandle(h);
    EXPECT_EQ(-1, h);
    Tex_AllocSlot();
    g_TexSlots.push_back(QVL::TEX_SLOT{});  // a slot never allocated
    EXPECT_NE(nullptr, Tex_GetSlot(0));
    EXPECT_EQ(nullptr, Tex_GetSlot(1));
    EXPECT_EQ(nullptr, Tex_GetSlot(-1));
    EXPECT_EQ(nullptr, Tex_GetSlot(2));
}

TEST_F(TexSlots, FreeEmptiesTheTable)
{
    Tex_AllocSlot();
    Tex_AllocSlot();
    Tex_FreeSlots();
    EXPECT_TRUE(g_TexSlots.empty());
}
