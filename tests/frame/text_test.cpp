#include <gtest/gtest.h>

#include <cstring>

#include "frame/text.h"

TEST(Text, FormatCutsAtCharacterBoundary)
{
    char buf[5];
    // "あい" in CP932 is 82 A0 82 A2: four bytes fit, the cut must not keep a lone lead byte.
    EXPECT_FALSE(Str_Format(buf, sizeof buf, "%s", "a\x82\xA0\x82\xA2"));
    EXPECT_STREQ("a\x82\xA0", buf);
    EXPECT_TRUE(Str_Format(buf, sizeof buf, "%d", 1234));
    EXPECT_STREQ("1234", buf);
}

TEST(Text, FindLastCharSkipsTrailBytes)
{
    // "表" is 95 5C: its second byte is a backslash that is not a separator.
    const char* path = "C:\\dir\\\x95\x5C.qvp";
    const char* sep = Str_FindLastChar(path, '\\');
    ASSERT_NE(nullptr, sep);
    EXPECT_EQ(6, sep - path);
    EXPECT_EQ(nullptr, Str_FindLastChar("\x95\x5C", '\\'));
}

TEST(Text, CopyBounded)
{
    char buf[4];
    EXPECT_FALSE(Str_CopyN(buf, sizeof buf, "abcdef"));
    EXPECT_STREQ("abc", buf);
    EXPECT_TRUE(Str_CopyN(buf, sizeof buf, nullptr));
    EXPECT_STREQ("", buf);
}

TEST(Text, CopyNStopsAtTerminatorCountAndCapacity)
{
    const size_t kWhole = (size_t)-1;
    struct Case { const char* src; size_t n; bool fits; const char* out; };
    const Case cases[] = {
        {"abc", kWhole, true, "abc"},
        {"abcdef", kWhole, false, "abc"},
        {"abcdef", 2, true, "ab"},
        {"abcdef", 0, true, ""},
        {"ab", 10, true, "ab"},                        // a count past the terminator stops at it
        {"abcdef", 4, false, "abc"},                   // the count alone does not make it fit
        {"a\x82\xA0\x82\xA2", kWhole, false, "a\x82\xA0"}, // never a lone lead byte
        {nullptr, 5, true, ""},
    };
    for (const Case& c : cases) {
        char buf[4];
        std::memset(buf, 'x', sizeof buf);
        EXPECT_EQ(c.fits, Str_CopyN(buf, sizeof buf, c.src, c.n)) << (c.src ? c.src : "(null)") << " n=" << c.n;
        EXPECT_STREQ(c.out, buf) << (c.src ? c.src : "(null)") << " n=" << c.n;
    }
}

TEST(Text, CopyNRefusesNoRoom)
{
    char buf[2] = {'x', 'x'};
    EXPECT_FALSE(Str_CopyN(buf, 0, "a"));
    EXPECT_EQ('x', buf[0]);
    EXPECT_FALSE(Str_CopyN(nullptr, 4, "a"));
}
