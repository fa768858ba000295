// The program mode's start and stop: the source saved byte for byte, the program compiled and
// written as Program.QVS, errors logged with their lines, the stopped screen, the draw pass.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/anim_clock.h"
#include "model/model3.h"
#include "model/model_table.h"
#include "render/frame_render.h"
#include "render/text_queue.h"
#include "script/interp.h"
#include "script/prog_hooks.h"
#include "shell/app_state.h"
#include "shell/playback.h"
#include "shell/views.h"
#include "support/recorder.h"

namespace {

std::vector<std::string> g_drawn;

struct ProgMode : testing::Test {
    char oldDir[512] = {};
    char oldData[256] = {};
    std::string dir;
    void SetUp() override
    {
        ASSERT_TRUE(Svc_GetCurrentDirectory(oldDir, sizeof oldDir));
        std::memcpy(oldData, g_Lib.dataFolder, sizeof oldData);
        Str_CopyN(g_Lib.dataFolder, sizeof g_Lib.dataFolder, oldDir);
        dir = Rec_TempDir();
        Str_CopyN(g_ProgMode.sourceFolder, sizeof g_ProgMode.sourceFolder, dir.c_str());
        Str_CopyN(g_ProgMode.sourceFile, sizeof g_ProgMode.sourceFile, "main.txt");
        Prog_Enter();
        Rec().Clear();
        g_TextQueue.clear();
        g_drawn.clear();
        Lib_SetFrameSkip(0);
    }
    void TearDown() override
    {
        Prog_Stop();
        Vm_Free();
        Svc_SetCurrentDirectory(oldDir);
        std::memcpy(g_Lib.dataFolder, oldData, sizeof oldData);
        std::memset(&g_ProgMode, 0, sizeof g_ProgMode);
        g_TextQueue.clear();
        g_VmImageDraw = nullptr;
    }
    std::vector<uint8_t> Read(const char* name)
    {
        std::vector<uint8_t> b;
        QVL::File_ReadAll((dir + "/" + name).c_str(), b);
        return b;
    }
};

TEST_F(ProgMode, StartWritesTheSourceAsItIsAndTheQvsFile)
{
    const std::string src = "Var x\r\nScreenDraw\r\n";
    ASSERT_TRUE(Prog_Run(src.data(), src.size()));
    EXPECT_EQ(1, g_Vm->programRunning);
    const std::vector<uint8_t> saved = Read("main.txt");
    EXPECT_EQ(src, std::string(saved.begin(), saved.end()));   // no CR doubled
    EXPECT_EQ(173u, Read("Program.QVS").size());
    // Starting again writes the same file.
    const std::vector<uint8_t> first = Read("Program.QVS");
    ASSERT_TRUE(Prog_Run(src.data(), src.size()));
    EXPECT_EQ(first, Read("Program.QVS"));
}

TEST_F(ProgMode, ALongSourceIsSavedWhole)
{
    std::string src;
    while (src.size() < 40000) src += "Font 1 1 0123456789012345678901234567890123456789\r\n";
    src += "ScreenDraw";
    ASSERT_TRUE(Prog_Run(src.data(), src.size()));
    EXPECT_EQ(src.size(), Read("main.txt").size());
}

TEST_F(ProgMode, NoSourceFileChosen)
{
    g_ProgMode.sourceFile[0] = 0;
    EXPECT_FALSE(Prog_Run("ScreenDraw", 10));
    EXPECT_EQ((std::vector<std::string>{"実行するソースファイル(*.TXT)を、選択して下さい。"}), Rec().messageBoxes);
    EXPECT_EQ(0, g_Vm->programRunning);
}

TEST_F(ProgMode, CompileErrorsAreLoggedWithTheirLines)
{
    const std::string src = "Var x\ny = 1\nGo *none\n";
    ASSERT_TRUE(Prog_Run(src.data(), src.size()));
    EXPECT_EQ((std::vector<std::string>{"2行目: 変数 y は宣言されていません。", "3行目: ラベル *none がありません。"}),
              Rec().logLines);
}

TEST_F(ProgMode, FramesDrawQueuedImagesAndStopShowsTheStoppedScreen)
{
    g_VmImageDraw = [](int32_t image, int32_t x, int32_t y) {
        g_drawn.push_back(std::to_string(image) + "@" + std::to_string(x) + "," + std::to_string(y));
    };
    const std::string src = "*top\nImgDraw 2 100 50\nScreenDraw\nGo *top\n";
    ASSERT_TRUE(Prog_Run(src.data(), src.size()));
    Prog_Frame();
    Prog_Draw();
    Prog_Frame();
    Prog_Draw();
    EXPECT_EQ((std::vector<std::string>{"2@100,50", "2@100,50"}), g_drawn);
    EXPECT_TRUE(g_TextQueue.empty());

    Prog_OnKey(117);
    EXPECT_EQ(0, g_Vm->programRunning);
    EXPECT_EQ(0, Model3_Count());
    Prog_Frame();
    Prog_Draw();
    EXPECT_EQ(2u, g_drawn.size());
    ASSERT_EQ(3u, g_TextQueue.size());
    EXPECT_STREQ("プログラム停止中", g_TextQueue[0].text);
    EXPECT_EQ("フォルダ : " + dir, std::string(g_TextQueue[1].text));
    EXPECT_STREQ("ファイル : main.txt", g_TextQueue[2].text);
}

TEST_F(ProgMode, AProgramEndsAfterItsLastLine)
{
    ASSERT_TRUE(Prog_Run("Var a\n", 6));
    Prog_Frame();
    EXPECT_EQ(0, g_Vm->programRunning);
}

TEST_F(ProgMode, EntrySetsTheGameScreen)
{
    EXPECT_EQ(640, g_ModeScreenSize[0]);
    EXPECT_EQ(480, g_ModeScreenSize[1]);
    EXPECT_EQ(-160.0f, View_Row()[0].pan[0]);
    EXPECT_EQ(-60.0f, View_Row()[0].pan[1]);
}

std::vector<float> g_ticks;

// The animation tick runs after each slice of a running program and never while it is stopped.
TEST_F(ProgMode, FramesOfARunningProgramTickTheAnimation)
{
    const ANIM_HOOKS saved = g_AnimHooks;
    const float savedStep = g_FrameStep;
    g_AnimHooks = ANIM_HOOKS{};
    g_AnimHooks.effectsTick = [](float s) { g_ticks.push_back(s); };
    g_ticks.clear();
    g_FrameStep = 1.0f;
    const std::string src = "*top\nScreenDraw\nGo *top\n";
    ASSERT_TRUE(Prog_Run(src.data(), src.size()));
    View_Row()[0].redraw = 0;
    Prog_Frame();
    Prog_Frame();
    EXPECT_EQ(2u, g_ticks.size());
    EXPECT_EQ(1, View_Row()[0].redraw);
    Prog_Stop();
    View_Row()[0].redraw = 0;
    Prog_Frame();
    EXPECT_EQ(2u, g_ticks.size());
    EXPECT_EQ(1, View_Row()[0].redraw);   // the stopped screen is redrawn too
    g_AnimHooks = saved;
    g_FrameStep = savedStep;
}

} // namespace
