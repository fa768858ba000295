// A fresh shell state for every test: defaults, mode 20 and an empty call record.
#pragma once
#include <gtest/gtest.h>

#include "convert/preview_hooks.h"
#include "edit2d/model2d_hooks.h"
#include "edit3d/model3d_hooks.h"
#include "effect/effect_edit_hooks.h"
#include "frame/lib.h"
#include "scene/scene_edit_hooks.h"
#include "script/prog_hooks.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/input_state.h"
#include "shell/main_loop.h"
#include "shell/modes.h"
#include "shell/navigation.h"
#include "shell/playback.h"
#include "shell/settings.h"
#include "shell/views.h"
#include "support/recorder.h"
#include "support/ui_recorder.h"

class ShellTest : public ::testing::Test {
protected:
    MODE_HOOKS saved[kModeCount];
    void SetUp() override
    {
        for (int i = 0; i < kModeCount; ++i) saved[i] = g_ModeHooks[i];
        for (VIEW_REC* row : g_Views)
            for (int i = 0; i < kViewsPerScreen; ++i) row[i].window = nullptr;
        for (int32_t& v : g_WindowRect) v = 0;
        Settings_SetDefaults();
        g_Mode = MODE_EFFECT_EDIT;
        g_Screen = SCREEN_START;
        g_ModeMenu = nullptr;
        g_App.keyLatch = 0;
        g_CurViewIndex = 0;
        g_PlayFlag = 0;
        g_Lib.mouse.held[0] = g_Lib.mouse.held[1] = g_Lib.mouse.held[2] = 0;
        UiRec().Clear();
        Rec().Clear();
    }
    void TearDown() override
    {
        for (int i = 0; i < kModeCount; ++i) g_ModeHooks[i] = saved[i];
    }
};
