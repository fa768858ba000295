// The settings file: defaults, round trip, damaged files.
#include <sys/stat.h>
#include <cstring>
#include <vector>

#include "frame/bytes.h"
#include "frame/scene.h"
#include "frame/services.h"
#include "script/prog_hooks.h"
#include "shell_fixture.h"

namespace {

using Settings = ShellTest;

std::vector<uint8_t> Built()
{
    std::vector<uint8_t> b;
    Settings_Build(b);
    return b;
}

void Put32(std::vector<uint8_t>& b, size_t at, int32_t v) { std::memcpy(&b[at], &v, 4); }

// Offsets in a default file: 25 screens of 4 existing views each.
constexpr size_t kViewBlock = 88;
constexpr size_t kScreenBytes = 4 + 4 * 68;
constexpr size_t kSlotCounts = kViewBlock + 25 * kScreenBytes;
constexpr size_t kPaths = kSlotCounts + 8 + 25 * 8 * 16;
constexpr size_t kScreenByteCount = kPaths + 512 + 2;

TEST_F(Settings, DefaultFileHasTheLayoutLength)
{
    std::vector<uint8_t> b = Built();
    ASSERT_EQ(b.size(), 10765u);
    int32_t v;
    std::memcpy(&v, b.data(), 4);
    EXPECT_EQ(v, 2005060);
    std::memcpy(&v, &b[kSlotCounts], 4);
    EXPECT_EQ(v, 25);
    std::memcpy(&v, &b[kScreenByteCount], 4);
    EXPECT_EQ(v, 25);
}

TEST_F(Settings, RoundTripRestoresViewsSlotsAndOptions)
{
    g_Views[SCREEN_3D_POLYGON][1].left = 333;
    g_Views[SCREEN_3D_POLYGON][1].type = VIEW_SIDE;
    g_Views[SCREEN_3D_POLYGON][2].exists = 0;
    g_ViewCount[SCREEN_MOVIE] = 5;
    g_Views[SCREEN_MOVIE][4].exists = 1;
    g_Views[SCREEN_MOVIE][4].width = 77;
    g_DlgSlots[SCREEN_3D_POLYGON][1].left = -20;
    g_DlgSlots[SCREEN_PROGRAM][7].extra[1] = 9;
    g_App.vsyncByScreen[SCREEN_3D_POLYGON] = 1;
    g_App.cpuByScreen[3] = 1;
    g_App.reverseWheel = 1;
    g_App.gridOn = 0;
    g_UpdateEditedViewOnly = 1;
    g_WindowRect[0] = 10; g_WindowRect[1] = 20; g_WindowRect[2] = 800; g_WindowRect[3] = 600;
    std::strcpy(g_ProgMode.sourceFile, "main.txt");
    std::vector<uint8_t> b = Built();
    EXPECT_EQ(b.size(), 10765u - 68 + 72);

    Settings_SetDefaults();
    std::memset(g_ProgMode.sourceFile, 0, sizeof g_ProgMode.sourceFile);
    ASSERT_TRUE(Settings_Parse(b.data(), b.size()));
    EXPECT_EQ(g_Views[SCREEN_3D_POLYGON][1].left, 333);
    EXPECT_EQ(g_Views[SCREEN_3D_POLYGON][1].type, VIEW_SIDE);
    EXPECT_EQ(g_Views[SCREEN_3D_POLYGON][2].exists, 0);
    EXPECT_EQ(g_ViewCount[SCREEN_MOVIE], 5);
    EXPECT_EQ(g_Views[SCREEN_MOVIE][4].width, 77);
    EXPECT_EQ(g_DlgSlots[SCREEN_3D_POLYGON][1].left, -20);
    EXPECT_EQ(g_DlgSlots[SCREEN_PROGRAM][7].extra[1], 9);
    EXPECT_EQ(g_App.vsyncByScreen[SCREEN_3D_POLYGON], 1);
    EXPECT_EQ(g_App.cpuByScreen[3], 1);
    EXPECT_EQ(g_App.reverseWheel, 1);
    EXPECT_EQ(g_App.gridOn, 0);
    EXPECT_EQ(g_UpdateEditedViewOnly, 1);
    EXPECT_EQ(g_WindowRect[2], 800);
    EXPECT_STREQ(g_ProgMode.sourceFile, "main.txt");
    EXPECT_EQ(Built(), b);
}

TEST_F(Settings, DamagedCountsFallBackToTheDefaults)
{
    struct Damage { const char* name; size_t at; int32_t value; };
    const Damage cases[] = {
        {"view count above 8", kViewBlock + kScreenBytes * 3, 9},
        {"negative view count", kViewBlock, -1},
        {"huge view count", kViewBlock + kScreenBytes * 24, 0x7fffffff},
        {"exists neither 0 nor 1", kViewBlock + 4, 2},
        {"slot rows above 25", kSlotCounts, 26},
        {"slots above 8", kSlotCounts + 4, 9},
        {"per-screen bytes above 25", kScreenByteCount, 4096},
        {"wrong version", 0, 2005061},
        {"window left of -32", 4, -33},
    };
    g_App.gridOn = 0;
    g_Views[5][1].left = 4321;
    const std::vector<uint8_t> good = Built();
    for (const Damage& d : cases) {
        std::vector<uint8_t> b = good;
        Put32(b, d.at, d.value);
        Settings_SetDefaults();
        EXPECT_FALSE(Settings_Parse(b.data(), b.size())) << d.name;
        EXPECT_EQ(g_App.gridOn, 1) << d.name;
        EXPECT_EQ(g_Views[5][1].left, 96) << d.name;
        for (int s = 0; s < kScreenCount; ++s) EXPECT_EQ(g_ViewCount[s], 4) << d.name;
    }
    // The window values read stay until the first window message overwrites them.
    EXPECT_EQ(g_WindowRect[0], -33);
}

TEST_F(Settings, ShortFileKeepsWhatItDidNotReach)
{
    g_App.gridOn = 0;
    g_App.reverseWheel = 1;
    std::vector<uint8_t> b = Built();
    b.resize(kViewBlock);  // the options, no views
    Settings_SetDefaults();
    g_Views[3][2].left = 55;
    EXPECT_TRUE(Settings_Parse(b.data(), b.size()));
    EXPECT_EQ(g_App.gridOn, 0);
    EXPECT_EQ(g_App.reverseWheel, 0);
    EXPECT_EQ(g_Views[3][2].left, 55);
    std::vector<uint8_t> tiny(3, 0);
    EXPECT_FALSE(Settings_Parse(tiny.data(), tiny.size()));
}

TEST_F(Settings, FileIsNamedAfterTheMonitorWidthAndWrittenInTheDataFolder)
{
    std::string dir = Rec_TempDir();
    ASSERT_EQ(0, ::mkdir((dir + "/System").c_str(), 0755));
    std::strcpy(g_Lib.dataFolder, dir.c_str());
    g_Lib.monitorWidth = 1920;
    g_App.toonOption = 1;
    char before[512], after[512];
    ASSERT_TRUE(Svc_GetCurrentDirectory(before, sizeof before));
    Settings_Save();
    ASSERT_TRUE(Svc_GetCurrentDirectory(after, sizeof after));
    EXPECT_STREQ(after, before);  // the writer gives the current directory back
    std::vector<uint8_t> b;
    ASSERT_TRUE(QVL::File_ReadAll((dir + "/System/System1920.dat").c_str(), b));
    EXPECT_EQ(b.size(), 10765u);
    g_App.toonOption = 0;
    Settings_Load();
    EXPECT_EQ(g_App.toonOption, 1);
    EXPECT_EQ(g_App.toonActive, 1);
    EXPECT_TRUE(UiRec().Has("ApplyRect"));
    g_Lib.monitorWidth = 1280;  // another monitor: another file, the defaults
    Settings_Load();
    EXPECT_EQ(g_App.toonOption, 0);
    g_Lib.dataFolder[0] = 0;
}

} // namespace
