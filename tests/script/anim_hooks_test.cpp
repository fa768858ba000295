// The library tick reaches the layers above it through the hooks the shell registers at start-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/lib.h"
#include "frame/scene.h"
#include "model/anim_clock.h"
#include "scene/scene_edit_hooks.h"
#include "shell/anim_hooks.h"

namespace {

std::vector<std::string> g_calls;
bool g_video;

struct AnimHooks : testing::Test {
    ANIM_HOOKS saved = g_AnimHooks;
    uint8_t savedVSync = g_Scene.vSync;
    void SetUp() override
    {
        g_calls.clear();
        g_video = false;
        g_AnimHooks.videoPlaying = [] { return g_video; };
        g_AnimHooks.movieTick = [] { g_calls.push_back("movie"); };
        g_AnimHooks.model2Tick = [](float s) { g_calls.push_back("model2 " + std::to_string(s)); };
        g_AnimHooks.effectsTick = [](float s) { g_calls.push_back("effects " + std::to_string(s)); };
        g_AnimHooks.model2Skin = [] { g_calls.push_back("skin"); };
    }
    void TearDown() override
    {
        g_AnimHooks = saved;
        g_Scene.vSync = savedVSync;
    }
};

TEST_F(AnimHooks, TickCallsEveryHookInOrderWithTheStep)
{
    struct CASE {
        uint8_t vSync;
        float frameStep;
        std::string step;
    };
    for (const CASE& c : {CASE{1, 2.5f, std::to_string(2.5f)}, CASE{0, 2.5f, std::to_string(1.0f)}}) {
        g_calls.clear();
        g_Scene.vSync = c.vSync;
        Anim_Tick(c.frameStep);
        EXPECT_EQ((std::vector<std::string>{"movie", "model2 " + c.step, "effects " + c.step, "skin"}), g_calls)
            << int(c.vSync);
    }
}

TEST_F(AnimHooks, NothingAdvancesWhileAVideoPlays)
{
    g_video = true;
    Anim_Tick(1.0f);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(AnimHooks, MissingHooksAreSkipped)
{
    g_AnimHooks = ANIM_HOOKS{};
    Anim_Tick(1.0f);   // must not call through a null entry
    SUCCEED();
}

TEST_F(AnimHooks, ShellStartUpRegistersTheLayersAbove)
{
    g_AnimHooks = ANIM_HOOKS{};
    Shell_RegisterAnimHooks();
    EXPECT_NE(nullptr, g_AnimHooks.movieTick);
    EXPECT_NE(nullptr, g_AnimHooks.model2Tick);
    EXPECT_NE(nullptr, g_AnimHooks.effectsTick);
    EXPECT_NE(nullptr, g_AnimHooks.model2Skin);
    EXPECT_EQ(nullptr, g_AnimHooks.videoPlaying);   // the platform's, set by the program entry

    // A movie does not advance while the frames are laid out in the studio's views.
    const int32_t savedState = g_MoviePlayState, savedLayout = g_Lib.layoutFlag;
    const MOVIE_PLAY savedMovie = g_MovieData;
    g_MoviePlayState = 1;
    g_Lib.layoutFlag = 1;
    g_MovieData.frame = 3;
    g_MovieData.endFrame = 100;
    g_AnimHooks.movieTick();
    EXPECT_EQ(3, g_MovieData.frame);
    g_MoviePlayState = savedState;
    g_Lib.layoutFlag = savedLayout;
    g_MovieData = savedMovie;
}

} // namespace
