// The MAP2 map: its file's sizes and order, round trips, and the files a reader must refuse while
// leaving the open map as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "frame/bytes.h"
#include "scene/map2.h"
#include "support/model_builders.h"
#include "support/recorder.h"

using namespace QVL;

namespace {

struct Map2Test : ::testing::Test {
    void SetUp() override
    {
        Map2_Free();
        Rec().Clear();
    }
    void TearDown() override { Map2_Free(); }
};

// A 3 x 2 map with the two sample chips and cells numbered so their order shows.
std::unique_ptr<MAP2> SmallMap()
{
    std::unique_ptr<MAP2> m(new MAP2());
    m->version = kMap2Version;
    m->chipCount = 2;
    std::strcpy(m->chipNames[0], "草.psd");
    m->attributes[0] = 1;
    std::strcpy(m->chipNames[1], "川.psd");
    m->width = 3;
    m->height = 2;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) m->cells[r][c] = (r * 3 + c) % 2;
    m->cells[0][2] = 15;
    m->cells[1][0] = 7;
    return m;
}

int32_t I32At(const std::vector<uint8_t>& b, size_t at)
{
    int32_t v;
    std::memcpy(&v, &b[at], 4);
    return v;
}

TEST_F(Map2Test, ThreeByTwoMapIsSixtySixBytesWithRowZeroFirst)
{
    std::vector<uint8_t> bytes;
    Map2_Write(*SmallMap(), bytes);
    // Magic and version 8, chip count 4, two chips of attribute 1 + length 4 + 6 name bytes (CP932),
    // width and height 8, then 3 x 2 cells of 4 bytes.
    ASSERT_EQ(8u + 4 + 2 * (1 + 4 + 6) + 8 + 4 * 3 * 2, bytes.size());
    EXPECT_EQ(66u, bytes.size());
    EXPECT_EQ(0, std::memcmp(bytes.data(), "MAP2", 4));
    EXPECT_EQ(2008000, I32At(bytes, 4));
    const size_t cells = 66 - 24;
    const int32_t want[6] = {0, 1, 15, 7, 0, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(want[i], I32At(bytes, cells + 4 * i)) << i;
}

TEST_F(Map2Test, SavedSampleMapIs16426Bytes)
{
    Map2_New();
    Map2_SetDefaults();
    const std::string path = WriteTempFile("sample.MAP2", {});
    ASSERT_TRUE(Map2_Save(path.c_str()));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(File_ReadAll(path.c_str(), bytes));
    EXPECT_EQ(8u + 4 + 2 * (1 + 4 + 6) + 8 + 4 * 64 * 64, bytes.size());
    EXPECT_EQ(16426u, bytes.size());
    // Row 0 and column 0 are chip 1, the rest chip 0.
    EXPECT_EQ(1, g_Map2->cells[0][63]);
    EXPECT_EQ(1, g_Map2->cells[63][0]);
    EXPECT_EQ(0, g_Map2->cells[1][1]);
}

TEST_F(Map2Test, SaveAndLoadGiveTheSameMapAndBytes)
{
    Map2_New();
    *g_Map2 = *SmallMap();
    const std::string path = WriteTempFile("small.MAP2", {});
    ASSERT_TRUE(Map2_Save(path.c_str()));
    std::vector<uint8_t> first;
    ASSERT_TRUE(File_ReadAll(path.c_str(), first));

    Map2_New();
    ASSERT_TRUE(Map2_Load(path.c_str()));
    EXPECT_TRUE(Rec().messageBoxes.empty());
    EXPECT_EQ(3, g_Map2->width);
    EXPECT_EQ(2, g_Map2->height);
    EXPECT_EQ(2, g_Map2->chipCount);
    EXPECT_STREQ("川.psd", g_Map2->chipNames[1]);
    EXPECT_EQ(1, g_Map2->attributes[0]);
    EXPECT_EQ(15, g_Map2->cells[0][2]);
    EXPECT_EQ(7, g_Map2->cells[1][0]);
    const std::string again = WriteTempFile("again.MAP2", {});
    ASSERT_TRUE(Map2_Save(again.c_str()));
    std::vector<uint8_t> second;
    ASSERT_TRUE(File_ReadAll(again.c_str(), second));
    EXPECT_EQ(first, second);
}

TEST_F(Map2Test, TheFileCommandsFindARecordInAnyMode)
{
    ASSERT_EQ(nullptr, g_Map2);
    const std::string path = WriteTempFile("none.MAP2", {});
    // No editor made the record: the save makes an empty one rather than reading through null.
    EXPECT_TRUE(Map2_Save(path.c_str()));
    Map2_Free();
    std::vector<uint8_t> bytes;
    Map2_Write(*SmallMap(), bytes);
    const std::string small = WriteTempFile("small.MAP2", bytes);
    EXPECT_TRUE(Map2_Load(small.c_str()));
    ASSERT_NE(nullptr, g_Map2);
    EXPECT_EQ(3, g_Map2->width);
}

std::vector<uint8_t> Patched(size_t at, int32_t v)
{
    std::vector<uint8_t> b;
    Map2_Write(*SmallMap(), b);
    std::memcpy(&b[at], &v, 4);
    return b;
}

TEST_F(Map2Test, RefusedFilesLeaveTheOpenMapAndSayWhy)
{
    std::vector<uint8_t> good;
    Map2_Write(*SmallMap(), good);
    std::vector<uint8_t> shortBy4(good.begin(), good.end() - 4), longBy4 = good;
    longBy4.insert(longBy4.end(), 4, 0);
    std::vector<uint8_t> headOnly(good.begin(), good.begin() + 6);
    // A name of 256 bytes, all present.
    std::vector<uint8_t> longName;
    {
        ByteWriter w;
        w.Bytes("MAP2", 4);
        w.I32(2008000);
        w.I32(1);
        w.U8(1);
        w.I32(256);
        w.Zeros(256);
        w.I32(1);
        w.I32(1);
        w.I32(0);
        longName = w.Data();
    }
    const size_t widthAt = 12 + 22, heightAt = widthAt + 4, cellsAt = heightAt + 4;
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* message;  // part of the message box
    } cases[] = {
        {"chip count 17", Patched(8, 17), "壊れている"},
        {"chip count -1", Patched(8, -1), "壊れている"},
        {"name of 256 bytes", longName, "壊れている"},
        {"width 0", Patched(widthAt, 0), "壊れている"},
        {"width 65", Patched(widthAt, 65), "壊れている"},
        {"height 0", Patched(heightAt, 0), "壊れている"},
        {"height 65", Patched(heightAt, 65), "壊れている"},
        {"cell 16", Patched(cellsAt, 16), "壊れている"},
        {"cell -1", Patched(cellsAt + 8, -1), "壊れている"},
        {"cells short", shortBy4, "壊れている"},
        {"cells beyond the size", longBy4, "壊れている"},
        {"cut in the header", headOnly, "壊れている"},
        {"version 2006000", Patched(4, 2006000), "バージョンが古い"},
        {"version 2004999", Patched(4, 2004999), "バージョンが古い"},
        {"version 2008001", Patched(4, 2008001), "バージョンが新しい"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Map2_New();
        Map2_SetDefaults();
        std::unique_ptr<MAP2> before(new MAP2(*g_Map2));
        Rec().Clear();
        const std::string path = WriteTempFile("bad.MAP2", c.bytes);
        EXPECT_FALSE(Map2_Load(path.c_str()));
        ASSERT_EQ(1u, Rec().messageBoxes.size());
        EXPECT_NE(std::string::npos, Rec().messageBoxes[0].find(c.message)) << Rec().messageBoxes[0];
        EXPECT_EQ(0, std::memcmp(before.get(), g_Map2, sizeof(MAP2)));
    }
}

TEST_F(Map2Test, AnEmptyOrMissingPathIsRefused)
{
    EXPECT_FALSE(Map2_Load(""));
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ("ファイル名が指定されていません。", Rec().messageBoxes[0]);
    EXPECT_FALSE(Map2_Load((Rec_TempDir() + "/missing.MAP2").c_str()));
    EXPECT_EQ(1u, Rec().messageBoxes.size());
    ASSERT_FALSE(Rec().logLines.empty());
    EXPECT_NE(std::string::npos, Rec().logLines.back().find("を開くことができませんでした"));
}

TEST_F(Map2Test, TheOlderVersionIsRead)
{
    std::vector<uint8_t> bytes = Patched(4, 2005000);
    const std::string path = WriteTempFile("old.MAP2", bytes);
    ASSERT_TRUE(Map2_Load(path.c_str()));
    EXPECT_EQ(2005000, g_Map2->version);
    EXPECT_EQ(15, g_Map2->cells[0][2]);
}

} // namespace
