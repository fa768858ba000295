// The particle dialog "パーティクル": the shell's field refresh shows the current key's emitter, and
// "決定" without an edit leaves the key exactly as it was.
#include <cstring>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "effect/effect.h"
#include "effect/effect_edit_hooks.h"
#include "frame/lib.h"
#include "shell/current.h"
#include "shell/mode_hooks.h"
#include "shell/playback.h"
#include "shell/views.h"
#include "support/recorder.h"
#include "support/ui_recorder.h"

namespace {

class ParticleDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (VIEW_REC* row : g_Views)
            for (int i = 0; i < kViewsPerScreen; ++i) row[i].window = nullptr;
        g_Mode = MODE_EFFECT_EDIT;
        g_Screen = SCREEN_START;
        g_PlayFlag = 0;
        EffectEdit_Exit();
        Effect_EraseAllData();
        EffectEdit_Enter();
        EffectEdit_Stop();
        g_CurLayer = 3;  // the sample's emitter "パーティクル"
        Mode_UpdateCurrent();
        EffectEdit_SetFrame(0);
        UiRec().Clear();
        Rec().Clear();
    }
    void TearDown() override
    {
        EffectEdit_Exit();
        g_PlayFlag = 0;
        Effect_EraseAllData();
        g_CurEffectId = g_CurEffectInstIndex = -1;
        g_CurLayer = 0;
        Mode_UpdateCurrent();
    }
    // The fields the refresh wrote, by control.
    static std::map<int, std::string> Fields()
    {
        std::map<int, std::string> out;
        for (const std::string& c : UiRec().calls) {
            if (c.compare(0, 14, "ParticleField ") != 0) continue;
            size_t sp = c.find(' ', 14);
            out[std::stoi(c.substr(14, sp - 14))] = c.substr(sp + 1);
        }
        return out;
    }
    static void Apply(const std::map<int, std::string>& fields)
    {
        const char* texts[19];
        for (int i = 0; i < 19; ++i) {
            auto it = fields.find(89 + i);
            texts[i] = it == fields.end() ? "" : it->second.c_str();
        }
        EffectEdit_ParticleApplyTexts(texts);
    }
};

TEST_F(ParticleDialogTest, RefreshShowsTheCurrentKeysEmitter)
{
    QVL::EFFECT_KEY* k = EffectEdit_CurrentKey();
    ASSERT_NE(nullptr, k);
    k->speed[0] = 1.25f;
    k->speedRange[1] = -0.5f;
    k->colorSpeedRange[3] = 2.0f;

    g_EffectParticleSlot.dirty = 0;
    Mode_RefreshDialogFields();
    EXPECT_TRUE(Fields().empty());  // nothing asked for

    g_EffectParticleSlot.dirty = 1;
    Mode_RefreshDialogFields();
    EXPECT_EQ(0, g_EffectParticleSlot.dirty);
    std::map<int, std::string> f = Fields();
    ASSERT_EQ(19u, f.size());
    const std::map<int, std::string> expected = {
        {89, "3"}, {90, "1.000"}, {91, "1.250"}, {92, "-2.000"}, {93, "-0.500"}, {100, "0.000"}, {107, "2.000"}};
    for (const auto& e : expected) EXPECT_EQ(e.second, f[e.first]) << e.first;
}

TEST_F(ParticleDialogTest, DecideWithoutAnEditChangesNothing)
{
    QVL::EFFECT_KEY* k = EffectEdit_CurrentKey();
    ASSERT_NE(nullptr, k);
    // Values three decimals cannot show.
    k->speed[0] = 1.0f / 3.0f;
    k->rotSpeedRange[2] = 0.00049f;
    k->colorSpeed[1] = -123.45678f;
    const QVL::EFFECT_KEY before = *k;
    g_EffectParticleSlot.dirty = 1;
    Mode_RefreshDialogFields();
    std::map<int, std::string> f = Fields();
    Apply(f);
    EXPECT_EQ(0, std::memcmp(&before, k, sizeof before));
    EXPECT_EQ(1, g_EffectParticleSlot.dirty);  // it refills at the next refresh

    // An edited field takes its text; the others stay exact.
    f[91] = "0.5";
    f[89] = "7";
    Apply(f);
    EXPECT_EQ(0.5f, k->speed[0]);
    EXPECT_EQ(7, k->emitInterval);
    EXPECT_EQ(before.rotSpeedRange[2], k->rotSpeedRange[2]);
    EXPECT_EQ(before.colorSpeed[1], k->colorSpeed[1]);

    // Empty fields are still zeros, as typed.
    Apply({});
    EXPECT_EQ(0, k->emitInterval);
    EXPECT_EQ(0.0f, k->colorSpeed[1]);
}

} // namespace
