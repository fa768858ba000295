// The collision record's QVC file: sizes, round trips, the older layout, and refusals that leave the
// open collision set as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "frame/bytes.h"
#include "scene/coli.h"
#include "support/model_builders.h"
#include "support/recorder.h"

using namespace QVL;

namespace {

struct ColiTest : ::testing::Test {
    void SetUp() override
    {
        Coli_Free();
        Rec().Clear();
    }
    void TearDown() override { Coli_Free(); }
};

TEST_F(ColiTest, ANewRecordSavesTo87Bytes)
{
    Coli_Reset();
    const std::string path = WriteTempFile("new.QVC", {});
    ASSERT_TRUE(Coli_Save(path.c_str()));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(File_ReadAll(path.c_str(), bytes));
    // Magic 3, version 4, area 24, box count 4, circle count 4, empty model file 4, slot count 4,
    // ten slot flags of 4 with no file.
    EXPECT_EQ(3u + 4 + 24 + 4 + 4 + 4 + 4 + 10 * 4, bytes.size());
    EXPECT_EQ(87u, bytes.size());
    EXPECT_EQ(0, std::memcmp(bytes.data(), "QVC", 3));
}

TEST_F(ColiTest, TheDefaults)
{
    COLI* c = Coli_Get();
    EXPECT_EQ(2002010, c->version);
    EXPECT_STREQ("新規.QVC", c->fileName);
    EXPECT_EQ(-1, c->modelId);
    EXPECT_EQ(-1, c->backgroundModelId);
    EXPECT_EQ(5.0f, c->boxes[99].size);
    EXPECT_EQ(5.0f, c->circles[0].size);
    EXPECT_EQ(-1, c->lastFace[255]);
    const float area[6] = {-32, 0, -32, 32, 32, 32};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(area[i], c->area[i]);
}

std::unique_ptr<COLI> Sample()
{
    std::unique_ptr<COLI> c(new COLI);
    Coli_Defaults(*c);
    c->area[0] = -10;
    c->area[1] = 1.5f;
    c->boxes[0] = COLI_BOX{1, 3, 0, -4, 30, 2.5f};
    c->boxes[1] = COLI_BOX{1, -7, 1, 8, -45, 6};
    c->boxCount = 2;
    c->circles[0] = COLI_CIRCLE{1, 9, 0, 9, 1.25f};
    c->circleCount = 1;
    std::strcpy(c->modelFile, "床.QVP");
    c->slotFlags[0] = 1;
    std::strcpy(c->slotFiles[0], "背景.QVP");
    c->slotFlags[3] = 1;
    std::strcpy(c->slotFiles[3], "x.QVP");
    return c;
}

TEST_F(ColiTest, WriteAndParseGiveTheSameSet)
{
    std::vector<uint8_t> bytes;
    Coli_Write(*Sample(), bytes);
    std::unique_ptr<COLI> back(new COLI);
    Coli_Defaults(*back);
    ASSERT_EQ(RECORD_OK, Coli_Parse(bytes.data(), bytes.size(), *back));
    std::unique_ptr<COLI> want = Sample();
    EXPECT_EQ(0, std::memcmp(want.get(), back.get(), sizeof(COLI)));
    std::vector<uint8_t> again;
    Coli_Write(*back, again);
    EXPECT_EQ(bytes, again);
}

// Version 2002000: no area and no circles.
std::vector<uint8_t> OldFile(const char* modelFile)
{
    ByteWriter w;
    w.Bytes("QVC", 3);
    w.I32(2002000);
    w.I32(1);
    w.I32(1);
    w.F32(4);
    w.F32(0);
    w.F32(-2);
    w.F32(90);
    w.F32(3);
    w.Str(modelFile);
    w.I32(2);
    w.I32(0);
    w.I32(0);
    return w.Data();
}

TEST_F(ColiTest, TheOlderLayoutKeepsTheDefaultArea)
{
    const std::string path = WriteTempFile("old.QVC", OldFile(""));
    ASSERT_TRUE(Coli_Load(path.c_str()));
    EXPECT_TRUE(Rec().messageBoxes.empty());
    const COLI* c = g_Coli;
    EXPECT_EQ(2002000, c->version);
    EXPECT_EQ(1, c->boxCount);
    EXPECT_EQ(90.0f, c->boxes[0].angle);
    EXPECT_EQ(-2.0f, c->boxes[0].z);
    EXPECT_EQ(0, c->circleCount);
    const float area[6] = {-32, 0, -32, 32, 32, 32};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(area[i], c->area[i]);
    EXPECT_EQ(1, c->active);
    EXPECT_STREQ(path.c_str(), c->fileName);

    std::vector<uint8_t> named = OldFile("床.QVP");
    std::unique_ptr<COLI> p(new COLI);
    Coli_Defaults(*p);
    ASSERT_EQ(RECORD_OK, Coli_Parse(named.data(), named.size(), *p));
    EXPECT_STREQ("床.QVP", p->modelFile);
}

std::vector<uint8_t> WithCount(int32_t boxes, int32_t slots, int32_t nameLength)
{
    ByteWriter w;
    w.Bytes("QVC", 3);
    w.I32(2002010);
    w.Zeros(24);
    w.I32(boxes);
    w.Zeros(24 * (size_t)(boxes > 0 ? boxes : 0));
    w.I32(0);
    w.I32(nameLength);
    w.Zeros((size_t)nameLength);
    w.I32(slots);
    w.Zeros(4 * (size_t)slots);
    return w.Data();
}

TEST_F(ColiTest, RefusedFilesLeaveTheOpenSetAndSayWhy)
{
    std::vector<uint8_t> good;
    Coli_Write(*Sample(), good);
    std::vector<uint8_t> cut(good.begin(), good.end() - 3);
    std::vector<uint8_t> between = good;
    const int32_t v = 2002005;
    std::memcpy(&between[3], &v, 4);
    ASSERT_EQ(RECORD_OK, [&] {
        std::vector<uint8_t> b = WithCount(100, 10, 255);
        std::unique_ptr<COLI> c(new COLI);
        Coli_Defaults(*c);
        return Coli_Parse(b.data(), b.size(), *c);
    }());
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* message;
    } cases[] = {
        {"101 boxes", WithCount(101, 10, 0), "壊れている"},
        {"11 slots", WithCount(0, 11, 0), "壊れている"},
        {"a model file of 256 bytes", WithCount(0, 10, 256), "壊れている"},
        {"cut short", cut, "壊れている"},
        {"version 2002005", between, "バージョンが古い"},
        {"version 2001999", [] { std::vector<uint8_t> b = OldFile(""); const int32_t o = 2001999; std::memcpy(&b[3], &o, 4); return b; }(), "バージョンが古い"},
        {"version 2002011", [] { std::vector<uint8_t> b = OldFile(""); const int32_t n = 2002011; std::memcpy(&b[3], &n, 4); return b; }(), "バージョンが新しい"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Coli_Free();
        Coli_Get()->boxCount = 1;
        Coli_Get()->boxes[0].used = 1;
        std::unique_ptr<COLI> before(new COLI(*g_Coli));
        Rec().Clear();
        const std::string path = WriteTempFile("bad.QVC", c.bytes);
        EXPECT_FALSE(Coli_Load(path.c_str()));
        ASSERT_EQ(1u, Rec().messageBoxes.size());
        EXPECT_NE(std::string::npos, Rec().messageBoxes[0].find(c.message)) << Rec().messageBoxes[0];
        EXPECT_EQ(0, std::memcmp(before.get(), g_Coli, sizeof(COLI)));
    }
}

} // namespace
