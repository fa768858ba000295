// The program entry's command line, the fade, the frame step, the playback clocks and the title.
#include <cstring>
#include <string>

#include "frame/math3d.h"
#include "scene/scene_edit_hooks.h"
#include "shell/frame_update.h"
#include "shell_fixture.h"

namespace {

TEST(CommandLine, QuotesAreDroppedOnlyWhereTheyAre)
{
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"\"C:\\models\\a.qvp\"", "C:\\models\\a.qvp"},
        {"C:\\models\\a.qvp", "C:\\models\\a.qvp"},
        {"\"", ""},
        {"x", "x"},
        {"", ""},
        {"\"\"", ""},
        {"\"half.qvp", "half.qvp"},
        {"  \"b.QVP\"  ", "b.QVP"},
    };
    for (const Case& c : cases) {
        char out[256];
        std::memset(out, 'z', sizeof out);
        Shell_ParseCommandLine(c.in, out, sizeof out);
        EXPECT_STREQ(out, c.out) << c.in;
    }
}

TEST(CommandLine, LongLinesAreCutToTheBuffer)
{
    std::string longPath = "\"" + std::string(600, 'a') + ".qvp\"";
    char out[256];
    Shell_ParseCommandLine(longPath.c_str(), out, sizeof out);
    EXPECT_EQ(std::strlen(out), 255u);
    // A cut never splits a double-byte character.
    std::string sjis = "\"" + std::string(254, 'a') + "\x83\x41" + "b\"";
    Shell_ParseCommandLine(sjis.c_str(), out, sizeof out);
    EXPECT_EQ(std::strlen(out), 254u);
}

TEST(CommandLine, OnlyQvpNamesOpenTheModelEditor)
{
    EXPECT_TRUE(Shell_IsQvpName("a.qvp"));
    EXPECT_TRUE(Shell_IsQvpName("dir.x\\A.QvP"));
    EXPECT_FALSE(Shell_IsQvpName("a.qve"));
    EXPECT_FALSE(Shell_IsQvpName("qvp"));
    EXPECT_FALSE(Shell_IsQvpName("a.qvpx"));
    EXPECT_FALSE(Shell_IsQvpName(""));
}

TEST(IdlePass, FadeStopsAtEitherEnd)
{
    float level = 0.97f, step = 0.03f;
    Loop_Fade(&level, &step);
    EXPECT_FLOAT_EQ(level, 1.0f);
    EXPECT_FLOAT_EQ(step, 0.03f);  // exactly 1 keeps the step
    Loop_Fade(&level, &step);
    EXPECT_FLOAT_EQ(level, 1.0f);
    EXPECT_FLOAT_EQ(step, 0.0f);
    level = 0.01f;
    step = -0.03f;
    Loop_Fade(&level, &step);
    EXPECT_FLOAT_EQ(level, 0.0f);
    EXPECT_FLOAT_EQ(step, 0.0f);
}

TEST(IdlePass, FrameStepCountsSixtiethsAndIgnoresAWrap)
{
    FRAME_CLOCK c = {};
    EXPECT_FLOAT_EQ(Loop_FrameStep(&c, 1000), 0.0f);
    EXPECT_FLOAT_EQ(Loop_FrameStep(&c, 1050), 3.0f);
    EXPECT_FLOAT_EQ(Loop_FrameStep(&c, 20), 0.0f);  // the counter wrapped
    EXPECT_FLOAT_EQ(Loop_FrameStep(&c, 0xFFFFFFFFu), (float)((0xFFFFFFFFu - 20.0) * 0.06));
}

TEST(IdlePass, PanelsEveryFourthPassOrEveryPassWhileRecording)
{
    g_PanelPassCounter = 0;
    g_ScreenGroup = 6;
    int repaints = 0;
    for (int i = 0; i < 12; ++i) repaints += Loop_PanelPass();
    EXPECT_EQ(repaints, 3);
    g_ScreenGroup = 9;
    EXPECT_TRUE(Loop_PanelPass());
    EXPECT_TRUE(Loop_PanelPass());
}

int g_perFrame;
void CountFrame() { ++g_perFrame; }

TEST(Playback, ClocksAdvanceWholeFramesAndWrap)
{
    struct Case { int frame; float fraction, step; int length; int outFrame; float outFraction; int calls; };
    const Case cases[] = {
        {10, 0.0f, 2.5f, 60, 12, 0.5f, 1},
        {59, 0.0f, 1.0f, 60, 0, 0.0f, 1},
        {5, 0.0f, 130.0f, 60, 75, 0.0f, 1},    // subtracted once per pass; one key search after the jump
        {0, 0.75f, 0.25f, 60, 1, 0.0f, 1},
    };
    for (const Case& c : cases) {
        int32_t f = c.frame;
        float fr = c.fraction;
        g_perFrame = 0;
        Play_AdvanceWrap(&f, &fr, c.step, c.length, CountFrame);
        EXPECT_EQ(f, c.outFrame);
        EXPECT_FLOAT_EQ(fr, c.outFraction);
        EXPECT_EQ(g_perFrame, c.calls);
    }
    int32_t f = 58;
    float fr = 0.5f;
    Play_AdvanceReset(&f, &fr, 3.0f, 60);  // 61 >= 60: jumps to 0, not 1
    EXPECT_EQ(f, 0);
}

// The first pass after a long time in the background carries all of it (78 hours is about 1.7e7
// frames); whole frames are taken at once, so no tick spins on a fraction that 1 no longer changes.
TEST(Playback, AHugeStepTakesItsWholeFramesAtOnce)
{
    struct Case { int32_t frame; float fraction, step; int32_t outFrame; float outFraction; bool advanced; };
    const Case cases[] = {
        {0, 0.0f, 1e8f, 100000000, 0.0f, true},
        {7, 0.5f, 16777216.0f, 16777223, 0.0f, true},   // 2^24 + 0.5 rounds to 2^24
        {2147483000, 0.0f, 1e8f, INT32_MAX, 0.0f, true},   // stops at the largest frame
        {3, 0.25f, 0.5f, 3, 0.75f, false},
        {3, 0.5f, 2.75f, 6, 0.25f, true},
    };
    for (const Case& c : cases) {
        int32_t f = c.frame;
        float fr = c.fraction;
        EXPECT_EQ(c.advanced, Anim_AdvanceFrames(&f, &fr, c.step)) << c.frame;
        EXPECT_EQ(c.outFrame, f) << c.frame;
        EXPECT_FLOAT_EQ(c.outFraction, fr) << c.frame;
    }

    int32_t f = 10;
    float fr = 0.0f;
    g_perFrame = 0;
    Play_AdvanceWrap(&f, &fr, 1e8f, 60, CountFrame);
    EXPECT_EQ(100000010 - 60, f);
    EXPECT_EQ(0.0f, fr);
    EXPECT_EQ(1, g_perFrame);

    f = 10;
    fr = 0.0f;
    Play_AdvanceReset(&f, &fr, 1e8f, 60);
    EXPECT_EQ(0, f);
    EXPECT_EQ(0.0f, fr);

    g_ScreenGroup = 7;
    g_MovieData.frame = 0;
    g_MovieData.fraction = 0.0f;
    g_MovieData.endFrame = 200000000;
    g_FrameStep = 1e8f;
    Play_TickMovie();
    EXPECT_EQ(100000000, g_MovieData.frame);
    EXPECT_EQ(0.0f, g_MovieData.fraction);
    g_FrameStep = 0.0f;
    g_MovieData = MOVIE_PLAY{};
}

TEST(Title, FormatsAndStaysBounded)
{
    char t[256];
    Title_Format(t, sizeof t, "a.qvp", 2009000, 1);
    EXPECT_STREQ(t, " QV Viduza Rozar 2009.09   a.qvp ( Ver 2009.000 )");
    Title_Format(t, sizeof t, "a.mqo", 0, 0);
    EXPECT_STREQ(t, " QV Viduza Rozar 2009.09   a.mqo");
    Title_Format(t, sizeof t, nullptr, 0, 0);
    EXPECT_STREQ(t, " QV Viduza Rozar 2009.09");
    std::string path(511, 'p');
    std::memset(t + 200, 0x7f, 56);
    Title_Format(t, 200, path.c_str(), 2009000, 1);
    EXPECT_EQ(std::strlen(t), 199u);
    EXPECT_EQ((unsigned char)t[200], 0x7f);  // nothing written past the buffer
}

using FrameUpdate = ShellTest;

TEST_F(FrameUpdate, TitleEverySixtyFirstPass)
{
    g_Mode = MODE_MAP_EDIT;
    g_TitleCounter = 0;
    int sets = 0;
    for (int i = 0; i < 122; ++i) {
        size_t before = UiRec().calls.size();
        Mode_Frame();
        for (size_t k = before; k < UiRec().calls.size(); ++k) sets += UiRec().calls[k].rfind("Text 1 ", 0) == 0;
    }
    EXPECT_EQ(sets, 2);
    EXPECT_TRUE(UiRec().Has("Text 1  QV Viduza Rozar 2009.09"));
    g_Mode = MODE_EFFECT_EDIT;
}

TEST_F(FrameUpdate, MiddleDragPansThe2DCanvasWithinItsClamp)
{
    g_Mode = MODE_EFFECT_EDIT;
    g_Mode2DScreen[MODE_EFFECT_EDIT] = 1;
    g_HalfMonitorW = 960;
    g_HalfMonitorH = 540;
    VIEW_REC& v = g_Views[0][0];
    v.pan[0] = 0;
    v.pan[1] = 0;
    g_Lib.mouse.held[1] = 1;
    g_MouseDelta = {5000.0f, -5000.0f};
    View_UpdateCurrent();
    View_Navigate();
    EXPECT_FLOAT_EQ(v.pan[0], 960 - 322);
    EXPECT_FLOAT_EQ(v.pan[1], 241 - 540);
    g_Lib.mouse.held[1] = 0;
}

TEST_F(FrameUpdate, OrbitPitchIsHeldBelowTheVertical)
{
    g_Mode2DScreen[MODE_EFFECT_EDIT] = 0;
    g_OrbitPitch = 89.0f;
    g_Lib.mouse.held[2] = 1;
    g_MouseDelta = {0.0f, 10.0f};
    View_UpdateCurrent();
    View_Navigate();
    EXPECT_FLOAT_EQ(g_OrbitPitch, 89.9f);
    g_Lib.keys[0x11] = 1;  // Ctrl: no orbit
    View_Navigate();
    EXPECT_FLOAT_EQ(g_OrbitPitch, 89.9f);
    g_Lib.keys[0x11] = 0;
    g_Lib.mouse.held[2] = 0;
}

} // namespace
