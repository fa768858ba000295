#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "frame/bytes.h"
#include "support/recorder.h"

using QVL::ByteReader;
using QVL::ByteWriter;

TEST(ByteReader, ReadsLittleAndBigEndian)
{
    const uint8_t data[] = {0x01, 0x02, 0x03, 0x04};
    ByteReader le(data, 4), be(data, 4, true);
    int32_t a = 0, b = 0;
    EXPECT_TRUE(le.I32(a));
    EXPECT_TRUE(be.I32(b));
    EXPECT_EQ(0x04030201, a);
    EXPECT_EQ(0x01020304, b);
}

TEST(ByteReader, ShortReadFailsAndStaysFailed)
{
    const uint8_t data[] = {1, 2, 3};
    ByteReader r(data, 3);
    int32_t v = 0;
    uint8_t b = 0;
    EXPECT_FALSE(r.I32(v));
    EXPECT_FALSE(r.Ok());
    EXPECT_FALSE(r.U8(b));
    EXPECT_EQ(0u, r.Left());
}

TEST(ByteReader, CountIsCheckedAgainstLimitAndBytesLeft)
{
    struct Case { int32_t count; int32_t max; size_t each; size_t extra; bool ok; } cases[] = {
        {0, 10, 4, 0, true},
        {10, 10, 4, 40, true},
        {11, 10, 4, 44, false},   // over the record's limit
        {10, 10, 4, 39, false},   // elements do not fit in the file
        {-1, 10, 4, 0, false},    // negative
        {0x7FFFFFFF, 0x7FFFFFFF, 8, 0, false},
    };
    for (const Case& c : cases) {
        ByteWriter w;
        w.I32(c.count);
        w.Zeros(c.extra);
        ByteReader r(w.Data().data(), w.Size());
        int32_t n = -5;
        EXPECT_EQ(c.ok, r.Count(n, c.max, c.each)) << c.count << " of max " << c.max;
    }
}

TEST(ByteReader, StringsAreBoundedByFieldAndFile)
{
    struct Case { int32_t len; size_t avail; size_t cap; bool ok; bool cutOk; } cases[] = {
        {3, 3, 256, true, true},
        {255, 255, 256, true, true},
        {256, 256, 256, false, true},   // does not fit the field with its terminator
        {5, 4, 256, false, false},      // runs past the end of the file
        {-1, 0, 256, false, false},
    };
    for (const Case& c : cases) {
        ByteWriter w;
        w.I32(c.len);
        w.Data().resize(w.Size() + c.avail, 'a');
        char field[256];
        ByteReader r(w.Data().data(), w.Size());
        EXPECT_EQ(c.ok, r.Str(field, c.cap)) << c.len;
        if (c.ok) {
            EXPECT_EQ((size_t)c.len, std::strlen(field));
        }
        ByteReader r2(w.Data().data(), w.Size());
        EXPECT_EQ(c.cutOk, r2.StrCut(field, c.cap)) << c.len;
        if (c.cutOk) {
            EXPECT_EQ(std::min((size_t)c.len, c.cap - 1), std::strlen(field));
            EXPECT_TRUE(r2.AtEnd());
        }
    }
}

TEST(ByteWriter, RoundTripsEveryKind)
{
    ByteWriter w;
    w.U8(7);
    w.I16(-2);
    w.I32(-123456);
    w.F32(-0.0f);
    w.F64(1.5);
    w.Str("名前");
    w.FixedStr("ab", 8);
    ByteReader r(w.Data().data(), w.Size());
    uint8_t a; int16_t b; int32_t c; float d; double e; char s[256]; char f[8];
    ASSERT_TRUE(r.U8(a) && r.I16(b) && r.I32(c) && r.F32(d) && r.F64(e) && r.Str(s, sizeof s) && r.FixedStr(f, 8));
    EXPECT_EQ(7, a);
    EXPECT_EQ(-2, b);
    EXPECT_EQ(-123456, c);
    EXPECT_TRUE(std::signbit(d));
    EXPECT_EQ(1.5, e);
    EXPECT_STREQ("名前", s);
    EXPECT_STREQ("ab", f);
    EXPECT_TRUE(r.AtEnd());
}

TEST(ByteWriter, PatchesBigEndianSizes)
{
    ByteWriter w(true);
    w.U32(0);
    w.U32(0xAABBCCDD);
    w.PatchU32(0, 8);
    ByteReader r(w.Data().data(), w.Size(), true);
    uint32_t a, b;
    ASSERT_TRUE(r.U32(a) && r.U32(b));
    EXPECT_EQ(8u, a);
    EXPECT_EQ(0xAABBCCDDu, b);
}

TEST(FileWriteAll, ReplacesWholeFileOrLeavesOldOne)
{
    std::string dir = Rec_TempDir();
    std::string path = dir + "/x.bin";
    ASSERT_TRUE(QVL::File_WriteAll(path.c_str(), "old!", 4));
    ASSERT_TRUE(QVL::File_WriteAll(path.c_str(), "new", 3));
    std::vector<uint8_t> got;
    ASSERT_TRUE(QVL::File_ReadAll(path.c_str(), got));
    EXPECT_EQ(std::string("new"), std::string(got.begin(), got.end()));
    // A folder that does not exist: failure reported, nothing written.
    std::string bad = dir + "/missing/y.bin";
    EXPECT_FALSE(QVL::File_WriteAll(bad.c_str(), "z", 1));
    EXPECT_FALSE(QVL::File_ReadAll(bad.c_str(), got));
}
