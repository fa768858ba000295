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
    EXPECT_FALSE(Str_Copy(buf, sizeof buf, "abcdef"));
    EXPECT_STREQ("abc", buf);
    EXPECT_TRUE(Str_Copy(buf, sizeof buf, nullptr));
    EXPECT_STREQ("", buf);
}
