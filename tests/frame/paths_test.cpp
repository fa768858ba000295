#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/bytes.h"
#include "frame/paths.h"
#include "frame/services.h"
#include "support/recorder.h"

// CP932 characters whose second byte is 0x5C ('\\'): ソ 83 5C, 表 95 5C, 能 94 5C.
#define SO "\x83\x5C"
#define HYO "\x95\x5C"
#define NOU "\x94\x5C"

TEST(Paths, Extension)
{
    struct Case {
        const char* in;
        const char* want;
    } cases[] = {
        {"a.b.qvp", "qvp"},
        {"model.QVP", "QVP"},
        {".qvp", ""},
        {"noext", ""},
        {"", ""},
        {"C:\\data\\" HYO ".qvp", "qvp"},
        {"C:\\" SO "\\x.wav", "wav"},
        // The trail byte is not a separator, so the dot before it still counts.
        {"a." SO, SO},
        // A dot in a folder name is no extension.
        {"C:\\v1.0\\model", ""},
        {"dir\\.hidden", ""},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.want, File_GetExtension(c.in)) << c.in;
    EXPECT_STREQ("", File_GetExtension(nullptr));
}

TEST(Paths, StripExtension)
{
    struct Case {
        const char* in;
        const char* want;
    } cases[] = {
        {"a.b.qvp", "a.b"},
        {"noext", ""},
        {".qvp", ""},
        {HYO ".qvp", HYO},
        {"dir\\" NOU ".x", "dir\\" NOU},
        {"v1.0\\model", ""},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.want, File_StripExtension(c.in)) << c.in;
}

TEST(Paths, DirPart)
{
    struct Case {
        const char* in;
        const char* want;
    } cases[] = {
        {"C:\\data\\model.qvp", "C:\\data"},
        {"model.qvp", ""},
        // Naive byte searches cut these inside a character.
        {"C:\\data\\" HYO ".qvp", "C:\\data"},
        {"C:\\data\\" SO, "C:\\data"},
        {HYO, ""},
        {"C:\\" SO "\\" NOU "\\a.qvp", "C:\\" SO "\\" NOU},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.want, File_GetDirPart(c.in)) << c.in;
}

TEST(Paths, ResultsAreBounded)
{
    std::string longName(400, 'a');
    std::string withExt = longName + ".qvp";
    std::string longDir = std::string(300, 'd') + "\\" + longName + "." + std::string(300, 'e');
    EXPECT_EQ(255u, std::strlen(File_GetExtension(longDir.c_str())));
    EXPECT_EQ(255u, std::strlen(File_StripExtension(withExt.c_str())));
    EXPECT_EQ(255u, std::strlen(File_GetDirPart(longDir.c_str())));
    // A cut never leaves half a double-byte character.
    std::string kanji;
    for (int i = 0; i < 200; ++i) kanji += HYO;
    kanji += "\\x";
    const char* dir = File_GetDirPart(kanji.c_str());
    EXPECT_EQ(254u, std::strlen(dir));
}

TEST(Paths, FilesAndCurrentDirectory)
{
    std::string dir = Rec_TempDir();
    std::string file = dir + "/five.bin";
    ASSERT_TRUE(QVL::File_WriteAll(file.c_str(), "12345", 5));
    EXPECT_TRUE(File_Exists(file.c_str()));
    EXPECT_FALSE(File_Exists((dir + "/none").c_str()));
    EXPECT_FALSE(File_Exists(""));
    EXPECT_EQ(5, File_GetSize(file.c_str()));
    EXPECT_EQ(-1, File_GetSize((dir + "/none").c_str()));

    char before[512];
    ASSERT_TRUE(Svc_GetCurrentDirectory(before, sizeof before));
    ASSERT_TRUE(File_ChDir(dir.c_str()));
    EXPECT_TRUE(File_Exists("five.bin"));
    EXPECT_FALSE(File_ChDir((dir + "/none").c_str()));
    ASSERT_TRUE(File_ChDir(before));

    File_SetDialogDir(dir.c_str());
    EXPECT_EQ(dir, g_FileDlg.startDir);
    File_SetDialogDir(std::string(300, 'x').c_str());
    EXPECT_EQ(255u, std::strlen(g_FileDlg.startDir));
    File_SetDialogDir("");
}
