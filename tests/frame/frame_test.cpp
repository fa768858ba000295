// The frame's platform-free rules: window size, OS class, mouse coordinates, texts, chip class,
// pausing, the per-frame tick and where frames are presented.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/d3d_values.h"
#include "frame/frame.h"
#include "frame/lib.h"
#include "frame/scene.h"
#include "frame/timer.h"
#include "support/recorder.h"
#include "support/tick_recorder.h"

using namespace QVL;

TEST(Frame, AspectRuleByLayoutAndOsClass)
{
    struct Case { int32_t width, layout, os, height; };
    const Case cases[] = {
        {800, 1, 6, 648}, {800, 0, 6, 499},  // trunc(806 x 0.75 + 44), trunc(806 x 0.5625 + 46)
        {800, 1, 4, 640}, {800, 0, 4, 491},  // older systems: 8 less
        {800, 0, 5, 500},                    // XP: one more
        {1926, 0, 6, 1132}, {100, 1, 6, 123},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.height, Frame_AspectHeight(c.width, c.layout, c.os)) << c.width << " " << c.layout << " " << c.os;
}

TEST(Frame, OsClassFromVersion)
{
    EXPECT_EQ(1, Frame_OsClass(0, 3, 10));
    EXPECT_EQ(2, Frame_OsClass(1, 4, 10));
    EXPECT_EQ(3, Frame_OsClass(2, 4, 0));
    EXPECT_EQ(4, Frame_OsClass(2, 5, 0));
    EXPECT_EQ(5, Frame_OsClass(2, 5, 1));
    EXPECT_EQ(6, Frame_OsClass(2, 6, 1));
    EXPECT_EQ(0, Frame_OsClass(3, 6, 0));
}

TEST(Frame, MouseCoordinatesAboveTenThousandAreNegative)
{
    EXPECT_EQ(0, Frame_MouseCoord(65535));
    EXPECT_EQ(-1, Frame_MouseCoord(65534));
    EXPECT_EQ(10001 - 65535, Frame_MouseCoord(10001));
    EXPECT_EQ(10000, Frame_MouseCoord(10000));
    EXPECT_EQ(5, Frame_MouseCoord(0x12340005u));  // only the 16 bits given
}

TEST(Frame, ErrorTexts)
{
    EXPECT_STREQ("Could not reset the Direct3D device.", Frame_ErrorText(APPERR_RESETFAILED));
    EXPECT_STREQ("Could not load required media.", Frame_ErrorText(HR_FILENOTFOUND));
    EXPECT_STREQ("Not enough video memory.", Frame_ErrorText(HR_OUTOFVIDEOMEMORY));
    EXPECT_EQ(0, std::strncmp("ビデオカードが", Frame_ErrorText(APPERR_NOCOMPATIBLEDEVICES), 14));
    EXPECT_EQ(0, std::strncmp("Generic application error.", Frame_ErrorText(0x12345678), 26));
}

TEST(Frame, StatisticsTextsStayWithin89Characters)
{
    char out[90];
    Frame_FormatDeviceStats(out, DEVTYPE_HAL, CREATE_HARDWARE_VP | CREATE_PUREDEVICE, "Wine Adapter");
    EXPECT_STREQ("HAL (pure hw vp): Wine Adapter", out);
    Frame_FormatDeviceStats(out, DEVTYPE_REF, CREATE_MIXED_VP, "ignored");
    EXPECT_STREQ("REF (simulated mixed vp)", out);
    Frame_FormatDeviceStats(out, DEVTYPE_SW, CREATE_SOFTWARE_VP, nullptr);
    EXPECT_STREQ("SW (sw vp)", out);
    std::string longName(300, 'A');
    Frame_FormatDeviceStats(out, DEVTYPE_HAL, CREATE_HARDWARE_VP, longName.c_str());
    EXPECT_EQ(89u, std::strlen(out));
    EXPECT_EQ(0, std::strncmp("HAL (hw vp): AAA", out, 16));

    Frame_FormatFrameStats(out, 59.94f, 1264, 689, FMT_X8R8G8B8, FMT_X8R8G8B8, true, FMT_D24S8, 0);
    EXPECT_STREQ("59.94 fps (1264x689), X8R8G8B8 (D24S8)", out);
    Frame_FormatFrameStats(out, 30.0f, 640, 480, FMT_A8R8G8B8, FMT_X8R8G8B8, false, 0, 4);
    EXPECT_STREQ("30.00 fps (640x480), backbuf A8R8G8B8, adapter X8R8G8B8 (4x Multisample)", out);
    Frame_FormatFrameStats(out, 1234567.0f, 4096, 4096, FMT_A2R10G10B10, FMT_X1R5G5B5, true, FMT_D24X4S4, 1);
    EXPECT_EQ(89u, std::strlen(out));
}

TEST(Frame, ChipClassByVertexShaderAndReferenceOverride)
{
    struct Case { uint32_t blend, vs; bool ref; int16_t chip; bool aa; };
    const Case cases[] = {
        {0, VS_VERSION(3, 0), false, 0, false},  // no vertex-blend matrices: class 0
        {4, 0, false, 1, false},
        {4, VS_VERSION(1, 1), false, 3, true},
        {4, VS_VERSION(2, 0), false, 5, true},
        {4, VS_VERSION(3, 0), false, 6, true},
        {4, VS_VERSION(4, 0), false, 8, true},
        // A reference device stays class 0 without anti-aliasing, whatever it reports.
        {4, VS_VERSION(3, 0), true, 0, false},
    };
    for (const Case& c : cases) {
        bool aa = !c.aa;
        EXPECT_EQ(c.chip, Lib_ChipClass(c.blend, c.vs, c.ref, &aa));
        EXPECT_EQ(c.aa, aa);
    }
    EXPECT_EQ(0, Lib_ShaderMajor(0));
    EXPECT_EQ(1, Lib_ShaderMajor(VS_VERSION(1, 1)));
    EXPECT_EQ(3, Lib_ShaderMajor(PS_VERSION(3, 0)));
    EXPECT_EQ(4, Lib_ShaderMajor(VS_VERSION(5, 0)));
}

TEST(Frame, PauseCountsAndDrivesTheTimer)
{
    FRAME_STATE f = {};
    Frame_ResetState(f);
    EXPECT_EQ(TIMER_STOP, Frame_Pause(f, true));
    EXPECT_FALSE(f.active);
    EXPECT_EQ(-1, Frame_Pause(f, true));   // nested
    EXPECT_EQ(-1, Frame_Pause(f, false));
    EXPECT_FALSE(f.active);
    EXPECT_EQ(TIMER_START, Frame_Pause(f, false));
    EXPECT_TRUE(f.active);
    f.frameMoving = false;
    EXPECT_EQ(-1, Frame_Pause(f, true));
}

TEST(Frame, ResetStateKeepsTheFatalMark)
{
    FRAME_STATE f = {};
    f.fatalShown = true;
    f.deviceLost = true;
    Frame_ResetState(f);
    EXPECT_TRUE(f.fatalShown);
    EXPECT_FALSE(f.deviceLost);
    EXPECT_TRUE(f.windowed && f.frameMoving && f.clipCursorWhenFullscreen);
    EXPECT_STREQ("D3D9 Application", f.title);
}

namespace {
FRAME_STATE Running()
{
    FRAME_STATE f = {};
    Frame_ResetState(f);
    return f;
}
} // namespace

TEST(Frame, TickRecordsBeforePresent)
{
    FRAME_STATE f = Running();
    TickRecorder& host = TickRec();
    host.Clear();
    host.recording = true;
    Frame_Tick(f);
    // The discard swap chain's back buffer is only defined before Present.
    EXPECT_EQ("RCP", host.calls);
    EXPECT_FLOAT_EQ(1.0f, f.appTime);
    EXPECT_FLOAT_EQ(0.016f, f.elapsedTime);
}

TEST(Frame, TickSkipsWhileLostAndInTheFrameOfTheReset)
{
    FRAME_STATE f = Running();
    TickRecorder& host = TickRec();
    host.Clear();
    host.presentResult = HR_DEVICELOST;
    Frame_Tick(f);
    EXPECT_TRUE(f.deviceLost);

    host.calls.clear();
    host.presentResult = HR_OK;
    host.cooperative = HR_DEVICELOST;
    Frame_Tick(f);
    EXPECT_EQ("T", host.calls);

    host.calls.clear();
    host.cooperative = HR_DEVICENOTRESET;
    Frame_Tick(f);
    EXPECT_EQ("TDX", host.calls);  // windowed: the desktop mode is taken, then the reset; nothing drawn

    host.calls.clear();
    host.cooperative = HR_OK;
    Frame_Tick(f);
    EXPECT_EQ("TRP", host.calls);
    EXPECT_FALSE(f.deviceLost);
}

TEST(Frame, TickSkipsWithoutTimeOrWhileAVideoPlays)
{
    FRAME_STATE f = Running();
    TickRecorder& host = TickRec();
    host.Clear();
    host.elapsed = 0.0f;
    Frame_Tick(f);
    EXPECT_EQ("", host.calls);
    // Not moving: a zero step still renders, and the single step takes the times once.
    f.frameMoving = false;
    f.singleStep = true;
    Frame_Tick(f);
    EXPECT_EQ("RP", host.calls);
    EXPECT_FALSE(f.singleStep);
    host.calls.clear();
    host.video = true;
    host.elapsed = 0.5f;
    Frame_Tick(f);
    EXPECT_EQ("", host.calls);
}

TEST(Frame, PresentTargets)
{
    int viewWindow = 0;
    PRESENT_VIEW front = {&viewWindow, 1, 256, 256, 240, 220};
    PRESENT_VIEW pers = {&viewWindow, 4, 256, 256, 240, 220};
    PRESENT_VIEW mainView = {&viewWindow, 0, 10, 10, 10, 10};
    PRESENT_VIEW closed = {nullptr, 1, 256, 256, 0, 0};

    EXPECT_EQ(1, Frame_PlanPresent(0, MODE_EFFECT_EDIT, &front, 1280, 720).target);
    EXPECT_EQ(0, Frame_PlanPresent(1, MODE_EFFECT_EDIT, nullptr, 1280, 720).target);
    EXPECT_EQ(0, Frame_PlanPresent(1, MODE_EFFECT_EDIT, &closed, 1280, 720).target);

    PRESENT_PLAN p = Frame_PlanPresent(1, MODE_EFFECT_EDIT, &mainView, 1280, 720);
    EXPECT_EQ(2, p.target);
    EXPECT_EQ(1280, p.source.right);
    EXPECT_EQ(720, p.dest.bottom);
    p = Frame_PlanPresent(1, MODE_EFFECT_EDIT, &front, 1280, 720);
    EXPECT_EQ(256, p.source.right);
    EXPECT_EQ(&viewWindow, p.window);

    // The movie editor: the main view whole, the others centred.
    EXPECT_EQ(1, Frame_PlanPresent(1, MODE_MOVIE, &mainView, 1280, 720).target);
    p = Frame_PlanPresent(1, MODE_MOVIE, &front, 1280, 720);
    EXPECT_EQ(512, p.source.left);
    EXPECT_EQ(232, p.source.top);
    EXPECT_EQ(768, p.source.right);
    EXPECT_EQ(488, p.source.bottom);
    EXPECT_EQ(256, p.dest.right);
    p = Frame_PlanPresent(1, MODE_MOVIE, &pers, 1280, 720);
    EXPECT_EQ(520, p.source.left);
    EXPECT_EQ(250, p.source.top);
    EXPECT_EQ(760, p.source.right);
    EXPECT_EQ(470, p.source.bottom);
    EXPECT_EQ(220, p.dest.bottom);
}

TEST(Lib, ExeFolderCutsAtTheLastSeparator)
{
    char out[256];
    Lib_ExeFolderOf("C:\\Games\\QV\\QV.exe", out, sizeof out);
    EXPECT_STREQ("C:\\Games\\QV", out);
    // No separator: the whole path.
    Lib_ExeFolderOf("QV.exe", out, sizeof out);
    EXPECT_STREQ("QV.exe", out);
    // "表" (95 5C) ends in a backslash byte that is no separator.
    Lib_ExeFolderOf("C:\\\x95\x5C\\a.exe", out, sizeof out);
    EXPECT_STREQ("C:\\\x95\x5C", out);
    Lib_ExeFolderOf("C:\\\x95\x5C.exe", out, sizeof out);
    EXPECT_STREQ("C:", out);
}

// What static construction left, read before any test runs (later tests change these globals).
struct LIB_DEFAULTS {
    int texFirst, texLast, maxPolygons, effectReserved, vSync, possession;
    float colourAlpha, shadowAlpha;
};
LIB_DEFAULTS g_Defaults;

class DefaultsSnapshot : public ::testing::Environment {
public:
    void SetUp() override
    {
        g_Defaults = {g_TexTable[0], g_TexTable[1023], g_Lib.maxPolygons, (int)g_Lib.Effect.reserved,
                      V_SyncGet(), CPU_PossessionGet(), g_Lib.colors[127].a, g_Scene.shadowColor[3]};
    }
};
::testing::Environment* const g_DefaultsEnv = ::testing::AddGlobalTestEnvironment(new DefaultsSnapshot);

TEST(Lib, DefaultsAndSwitches)
{
    EXPECT_EQ(-1, g_Defaults.texFirst);
    EXPECT_EQ(-1, g_Defaults.texLast);
    EXPECT_EQ(65000, g_Defaults.maxPolygons);
    EXPECT_FLOAT_EQ(1.0f, g_Defaults.colourAlpha);
    EXPECT_EQ(0, g_Defaults.effectReserved);
    EXPECT_EQ(1, g_Defaults.vSync);
    EXPECT_EQ(0, g_Defaults.possession);
    EXPECT_FLOAT_EQ(0.2f, g_Defaults.shadowAlpha);
    EXPECT_STREQ("2009.09", Lib_GetVersion());

    Rec().Clear();
    CPU_PossessionSet(1);
    EXPECT_EQ(1, CPU_PossessionGet());
    CPU_PossessionSet(0);
    ASSERT_EQ(2u, Rec().logLines.size());
    EXPECT_EQ("CPU占有する QV.CPU_PossessionSet()", Rec().logLines[0]);
    EXPECT_EQ("CPU占有しない QV.CPU_PossessionSet()", Rec().logLines[1]);

    Lib_SetFadeStep(0.5f);
    Lib_SetFadeLevel(0.25f);
    EXPECT_FLOAT_EQ(0.25f, g_FadeLevel);
    EXPECT_FLOAT_EQ(0.0f, g_FadeStep);
    g_Lib.frameTime = 3.0f;
    Lib_ResetFrameTimer();
    EXPECT_FLOAT_EQ(0.0f, g_Lib.frameTime);
}
