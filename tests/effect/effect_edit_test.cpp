// The effect editor as the shell drives it: entry with the sample effect, the key operations at the
// preview frame and their refusals, the drag on the screen, the timeline's mouse, the frame controls
// and the dialog fields.
#include <string>
#include <vector>

#include "effect/effect.h"
#include "effect/effect_edit_hooks.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "model/obj2.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/panels.h"
#include "shell/playback.h"
#include "shell/views.h"
#include "support/recorder.h"
#include "support/ui_recorder.h"

namespace {

const std::string kKeysFull = "キーフレームは、１パーツに１６個までしか作成できません。";
const std::string kLastKey = "パーツの最後のキーフレームは消去できません。";

// The shell's state the editor reads, without the settings' defaults (which other suites' static
// defaults would then see).
class EffectEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (VIEW_REC* row : g_Views)
            for (int i = 0; i < kViewsPerScreen; ++i) row[i].window = nullptr;
        g_Mode = MODE_EFFECT_EDIT;
        g_Screen = SCREEN_START;
        g_PlayFlag = 0;
        g_Lib.mouse.held[0] = g_Lib.mouse.held[1] = g_Lib.mouse.held[2] = 0;
        EffectEdit_Exit();
        Effect_EraseAllData();
        g_KeyTimeScale = 4;
        g_KeyScrollX = g_KeyScrollY = 0;
        g_CurLayer = 0;
        g_EffectKeyClip = QVL::EFFECT_KEY{};
        g_EffectTimelineMouse = EFFECT_TIMELINE_MOUSE{};
        UiRec().Clear();
        Rec().Clear();
    }
    void TearDown() override
    {
        EffectEdit_Exit();
        g_PlayFlag = 0;
        g_Lib.mouse.held[0] = g_Lib.mouse.held[1] = g_Lib.mouse.held[2] = 0;
        g_MouseDelta = DELTA2{0, 0};
        Effect_EraseAllData();
        g_CurEffectId = g_CurEffectInstIndex = -1;
        Mode_UpdateCurrent();
    }
    // The editor on the sample, stopped, with part `part` current at `frame`.
    void EnterAt(int32_t part, int32_t frame)
    {
        EffectEdit_Enter();
        EffectEdit_Stop();
        g_CurLayer = part;
        Mode_UpdateCurrent();
        EffectEdit_SetFrame(frame);
        Rec().Clear();
    }
    static std::vector<int32_t> KeyFrames(const QVL::EFFECT_PART* p)
    {
        std::vector<int32_t> frames;
        for (int32_t k = 0; k < p->keyCount; ++k) frames.push_back(p->keys[k].frame);
        return frames;
    }
    static int Count(const std::string& line)
    {
        int n = 0;
        for (const std::string& c : UiRec().calls) n += c == line;
        return n;
    }
};

TEST_F(EffectEditTest, EntryBuildsTheSampleStoppedInItsPreviewInstance)
{
    g_MoviePlayEnd = 0;
    g_LoopPlay = 0;
    EffectEdit_Enter();
    EXPECT_TRUE(UiRec().Has("MenuSet MENU_EFFECT"));
    EXPECT_EQ(6, g_ScreenGroup);
    for (const char* dlg : {"DialogOpen 140", "DialogOpen 60", "DialogOpen 59", "DialogOpen 139"})
        EXPECT_EQ(1, Count(dlg)) << dlg;
    EXPECT_EQ(59, g_EffectSliderMax);

    // The new effect 0, and the sample after it.
    ASSERT_EQ(2u, g_EffectData.size());
    EXPECT_EQ(1, g_CurEffectId);
    EXPECT_TRUE(g_EffectData[0].parts.empty());
    const QVL::EFFECT& e = g_EffectData[1];
    EXPECT_EQ(&e, g_CurEffect);
    EXPECT_EQ(60, e.frameCount);
    ASSERT_EQ(4u, e.parts.size());
    const int32_t firstKey[4] = {0, 8, 16, 0};
    for (size_t i = 0; i < 4; ++i) {
        const QVL::EFFECT_PART& p = e.parts[i];
        EXPECT_EQ(1, p.keyCount) << i;
        EXPECT_EQ(firstKey[i], p.keys[0].frame) << i;
        EXPECT_EQ(1, p.keys[0].shown) << i;
        EXPECT_EQ(QVL::BLEND_ADDITIVE, p.keys[0].blend) << i;
        EXPECT_EQ(i < 3 ? QVL::EFFECT_PART_OBJ2 : QVL::EFFECT_PART_EMITTER, p.kind) << i;
        EXPECT_STREQ(i < 3 ? "爆発" : "パーティクル", p.name) << i;
        EXPECT_EQ((size_t)e.frameCount, p.timeTable.size()) << i;
    }
    EXPECT_EQ(30.0f, e.parts[1].origin[0]);
    EXPECT_EQ(30.0f, e.parts[2].origin[1]);
    EXPECT_EQ(3, e.parts[3].keys[0].emitInterval);
    EXPECT_EQ(-2.0f, e.parts[3].keys[0].speed[1]);

    // The image list shows the three pictures, each loaded into a texture slot.
    EXPECT_TRUE(UiRec().Has("ImageList| 0 : box.bmp| 1 : 爆発.png| 2 : pupu.bmp"));
    ASSERT_EQ(3u, e.textures.size());
    for (const QVL::EFFECT_TEX& t : e.textures) EXPECT_GE(t.texture, 0) << t.file;

    // One instance, at the centre of the game screen, with a state per part; not playing, with the
    // play end at the frame count for "再生".
    ASSERT_EQ(2u, g_EffectInstances.size());
    ASSERT_NE(nullptr, g_CurEffectInst);
    EXPECT_EQ(1, g_CurEffectInst->effect);
    EXPECT_EQ(320.0f, g_CurEffectInst->position[0]);
    EXPECT_EQ(240.0f, g_CurEffectInst->position[1]);
    EXPECT_EQ(4u, g_CurEffectInst->parts.size());
    EXPECT_EQ(0, g_PlayFlag);
    EXPECT_EQ(0, g_CurEffectInst->frame);
    EXPECT_EQ(60, g_MoviePlayEnd);
    EXPECT_EQ(0, g_LoopPlay);

    // Entering again starts from nothing: new effect 0, sample 1, and no dialog a second time.
    EffectEdit_Enter();
    EXPECT_EQ(2u, g_EffectData.size());
    EXPECT_EQ(1, g_CurEffectId);
    EXPECT_EQ(4u, g_EffectData[1].parts.size());
    EXPECT_EQ(1, Count("DialogOpen 60"));
}

TEST_F(EffectEditTest, NewEffectLeavesNothingToEdit)
{
    EffectEdit_Enter();
    EffectEdit_NewEffect();
    ASSERT_EQ(1u, g_EffectData.size());
    EXPECT_EQ(0, g_CurEffectId);
    EXPECT_EQ(nullptr, g_EffectEditPart);
    EXPECT_EQ(nullptr, EffectEdit_CurrentKey());
    // Nothing below may touch a part: the effect has none.
    g_Lib.mouse.held[0] = 1;
    g_MouseDelta = DELTA2{5, 5};
    EffectEdit_MouseMove(0);
    EffectEdit_CreateKey();
    EffectEdit_PasteKey();
    EffectEdit_CutKey();
    const float values[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EffectEdit_KeyInfoApply(values);
    char text[32];
    EXPECT_FALSE(EffectEdit_KeyInfoText(82, text, sizeof text));
    EXPECT_TRUE(g_EffectData[0].parts.empty());
    EXPECT_TRUE(Rec().messageBoxes.empty());

    // Parts added to it get a state in the preview instance at once.
    EffectEdit_Command(57);
    EffectEdit_Command(56);
    ASSERT_EQ(2u, g_EffectData[0].parts.size());
    EXPECT_EQ(2u, g_CurEffectInst->parts.size());
    const QVL::EFFECT_PART& image = g_EffectData[0].parts[1];
    EXPECT_EQ(QVL::EFFECT_PART_IMAGE, image.kind);
    EXPECT_EQ(255.0f, image.keys[0].color[0]);
    EXPECT_EQ(0.0f, image.keys[0].color[1]);
    EXPECT_EQ(30.0f, image.origin[0]);
    EXPECT_EQ(1, g_EffectData[0].parts[0].keys[1].texture);
    EXPECT_EQ(10, g_EffectData[0].parts[0].keys[1].emitInterval);

    // At the part limit both commands are refused with the message, and no 2D object is loaded.
    while (g_EffectData[0].parts.size() < (size_t)QVL::kEffectMaxParts) EffectEdit_Command(57);
    const int32_t objects = Obj2_Count();
    Rec().Clear();
    EffectEdit_Command(56);
    EffectEdit_Command(57);
    EXPECT_EQ((size_t)QVL::kEffectMaxParts, g_EffectData[0].parts.size());
    EXPECT_EQ((size_t)QVL::kEffectMaxParts, g_CurEffectInst->parts.size());
    EXPECT_EQ(objects, Obj2_Count());
    EXPECT_EQ(std::vector<std::string>(2, "これ以上パーツを、追加できません。"), Rec().messageBoxes);
}

TEST_F(EffectEditTest, NewKeyBetweenTwoTakesTheInterpolatedPositionWithoutTheOrigin)
{
    EnterAt(1, 0);
    QVL::EFFECT_PART* p = g_EffectEditPart;
    ASSERT_NE(nullptr, p);
    ASSERT_EQ(30.0f, p->origin[0]);
    p->keys[0].frame = 0;
    p->keys[0].position[0] = 5.0f;
    EffectEdit_SetFrame(20);
    EffectEdit_CreateKey();
    p->keys[1].position[0] = 25.0f;

    EffectEdit_SetFrame(10);
    EffectEdit_CreateKey();
    EXPECT_EQ((std::vector<int32_t>{0, 10, 20}), KeyFrames(p));
    EXPECT_FLOAT_EQ(15.0f, p->keys[1].position[0]);
    EXPECT_EQ(25.0f, p->keys[2].position[0]);
    // Drawn there, the new key puts the part where it was before it existed.
    Effect_FindInstanceKeys(g_CurEffectInst);
    Effect_InterpolatePartKey(g_CurEffectId, 1, g_CurEffectInst->parts[1].key, g_CurEffectInst->parts[1].t);
    EXPECT_FLOAT_EQ(45.0f, p->curPosition[0]);

    // A key on a frame that has one changes nothing; so does deleting where there is none.
    EffectEdit_CreateKey();
    EffectEdit_SetFrame(11);
    EffectEdit_DeleteKey();
    EXPECT_EQ((std::vector<int32_t>{0, 10, 20}), KeyFrames(p));
    EXPECT_TRUE(Rec().messageBoxes.empty());
}

TEST_F(EffectEditTest, FullPartAndOnlyKeyAreRefusedWithAMessage)
{
    EnterAt(0, 0);
    QVL::EFFECT_PART* p = g_EffectEditPart;
    for (int32_t f = 1; f < QVL::kEffectMaxKeys; ++f) {
        EffectEdit_SetFrame(f * 2);
        EffectEdit_CreateKey();
    }
    ASSERT_EQ(QVL::kEffectMaxKeys, p->keyCount);
    const std::vector<int32_t> full = KeyFrames(p);
    EXPECT_TRUE(Rec().messageBoxes.empty());

    EffectEdit_SetFrame(3);
    EffectEdit_CopyKey();
    EffectEdit_CreateKey();
    EffectEdit_PasteKey();
    EXPECT_EQ(full, KeyFrames(p));
    EXPECT_EQ((std::vector<std::string>{kKeysFull, kKeysFull}), Rec().messageBoxes);
    // Pasting onto a key that stands there needs no new slot.
    EffectEdit_SetFrame(4);
    EffectEdit_PasteKey();
    EXPECT_EQ(full, KeyFrames(p));
    EXPECT_EQ(2u, Rec().messageBoxes.size());

    // Part 1 holds one key: deleting or cutting it keeps it and says why.
    Rec().Clear();
    g_CurLayer = 1;
    Mode_UpdateCurrent();
    EffectEdit_SetFrame(8);
    EffectEdit_DeleteKey();
    EffectEdit_CutKey();
    EXPECT_EQ(1, g_EffectEditPart->keyCount);
    EXPECT_EQ(8, g_EffectEditPart->keys[0].frame);
    EXPECT_EQ(8, g_EffectKeyClip.frame);
    EXPECT_EQ((std::vector<std::string>{kLastKey, kLastKey}), Rec().messageBoxes);
    ASSERT_NE(nullptr, EffectEdit_CurrentKey());
}

TEST_F(EffectEditTest, CutAndPasteMoveAKeyWithItsValues)
{
    EnterAt(1, 8);
    QVL::EFFECT_PART* p = g_EffectEditPart;
    EffectEdit_SetFrame(20);
    EffectEdit_CreateKey();
    p->keys[1].color[1] = 77.0f;
    EffectEdit_CutKey();
    EXPECT_EQ((std::vector<int32_t>{8}), KeyFrames(p));
    EffectEdit_SetFrame(30);
    EffectEdit_PasteKey();
    EXPECT_EQ((std::vector<int32_t>{8, 30}), KeyFrames(p));
    EXPECT_EQ(77.0f, p->keys[1].color[1]);
    EXPECT_EQ(p->keys + 1, EffectEdit_CurrentKey());
}

TEST_F(EffectEditTest, DragOnTheScreenEditsOnlyTheKeyOnTheFrame)
{
    struct Case {
        int tool;
        float dx, dy;
        float x, y, rotation, scaleX, scaleY;
    };
    // Part 1's key: position (0, 0), rotation 1, scale (1, 1).
    const Case cases[] = {
        {0, 10, -4, 10, -4, 1, 1, 1},
        {1, 10, -10, 0, 0, 11, 1, 1},
        {2, 20, 40, 0, 0, 1, 1.1f, 0.8f},
    };
    for (const Case& c : cases) {
        EnterAt(1, 8);
        g_DragTool = c.tool;
        g_Lib.mouse.held[0] = 1;
        g_MouseDelta = DELTA2{c.dx, c.dy};
        EffectEdit_MouseMove(0);
        const QVL::EFFECT_KEY& k = g_EffectEditPart->keys[0];
        EXPECT_FLOAT_EQ(c.x, k.position[0]) << c.tool;
        EXPECT_FLOAT_EQ(c.y, k.position[1]) << c.tool;
        EXPECT_FLOAT_EQ(c.rotation, k.rotation[2]) << c.tool;
        EXPECT_FLOAT_EQ(c.scaleX, k.scale[0]) << c.tool;
        EXPECT_FLOAT_EQ(c.scaleY, k.scale[1]) << c.tool;
    }

    // Between keys nothing is edited, yet the dialogs refill; with a second button held nothing runs.
    EnterAt(1, 9);
    g_Lib.mouse.held[0] = 1;
    g_MouseDelta = DELTA2{10, 10};
    g_EffectKeyInfoSlot.dirty = 0;
    EffectEdit_MouseMove(0);
    EXPECT_EQ(0.0f, g_EffectEditPart->keys[0].position[0]);
    EXPECT_EQ(1, g_EffectKeyInfoSlot.dirty);
    EffectEdit_SetFrame(8);
    g_Lib.mouse.held[2] = 1;
    g_EffectKeyInfoSlot.dirty = 0;
    EffectEdit_MouseMove(0);
    EXPECT_EQ(0.0f, g_EffectEditPart->keys[0].position[0]);
    EXPECT_EQ(0, g_EffectKeyInfoSlot.dirty);
}

TEST_F(EffectEditTest, TimelinePickChoosesFrameAndPart)
{
    EnterAt(0, 0);
    struct Case {
        int32_t x, y;
        int32_t frame, part;
    };
    const Case cases[] = {
        {175, 84 + 2 * 25 + 3, 10, 2},   // zoom 4: frame (175 - 150) * 4 / 10
        {175, 84, 10, 2},                // on the ruler: nothing
        {100, 84 + 3 * 25 + 1, 10, 3},   // in the label column: only the part
        {5000, 84 + 1, 59, 0},           // beyond the end: the last frame
        {151, 84 + 9 * 25, 0, 0},        // below the last part: only the frame
    };
    for (const Case& c : cases) {
        EffectEdit_PickTimeline(c.x, c.y);
        EXPECT_EQ(c.frame, EffectEdit_PreviewFrame()) << c.x << "," << c.y;
        EXPECT_EQ(c.part, g_CurLayer) << c.x << "," << c.y;
    }
    EXPECT_EQ(&g_CurEffect->parts[0], g_EffectEditPart);

    // Scrolled by the right-button pan, which never goes right of the start.
    g_EffectTimelineMouse.right = 1;
    EffectEdit_TimelineMouseMove(100, 100);
    EffectEdit_TimelineMouseMove(80, 110);
    EXPECT_EQ(-40, g_KeyScrollX);
    EXPECT_EQ(0, g_KeyScrollY);
    EffectEdit_TimelineMouseMove(200, 110);
    EXPECT_EQ(0, g_KeyScrollX);
    g_KeyScrollX = -100;
    g_EffectTimelineMouse.right = 0;
    EffectEdit_PickTimeline(175, 90);
    EXPECT_EQ(50, EffectEdit_PreviewFrame());

    // Zoom: out doubles up to 64, in halves down to 1.
    std::vector<int32_t> zooms;
    for (int i = 0; i < 6; ++i) {
        EffectEdit_ZoomOut();
        zooms.push_back(g_KeyTimeScale);
    }
    EXPECT_EQ((std::vector<int32_t>{8, 16, 32, 64, 64, 64}), zooms);
    for (int i = 0; i < 8; ++i) EffectEdit_ZoomIn();
    EXPECT_EQ(1, g_KeyTimeScale);
}

TEST_F(EffectEditTest, MiddleDragMovesTheKeyToAFreeFrameOnly)
{
    EnterAt(1, 8);
    QVL::EFFECT_PART* p = g_EffectEditPart;
    EffectEdit_DragKey(12);   // 12 pixels at zoom 4: 4 frames
    EXPECT_EQ((std::vector<int32_t>{12}), KeyFrames(p));
    EXPECT_EQ(12, EffectEdit_PreviewFrame());
    EXPECT_EQ(12, g_EffectKeyClip.frame);
    EffectEdit_DragKey(1);    // less than a frame still moves one
    EXPECT_EQ(13, EffectEdit_PreviewFrame());
    // The part now starts at its moved key.
    EXPECT_EQ(0, p->timeTable[13]);
    EXPECT_LT(p->timeTable[12], 0);

    EffectEdit_SetFrame(14);
    EffectEdit_CreateKey();
    EffectEdit_SetFrame(13);
    EffectEdit_DragKey(1);    // onto the key at 14: both stay
    EXPECT_EQ((std::vector<int32_t>{13, 14}), KeyFrames(p));
    EXPECT_EQ(13, EffectEdit_PreviewFrame());
    EffectEdit_SetFrame(14);
    EffectEdit_DragKey(1000); // past the end: the last frame
    EXPECT_EQ((std::vector<int32_t>{13, 59}), KeyFrames(p));
    EffectEdit_DragKey(-3);
    EXPECT_EQ((std::vector<int32_t>{13, 58}), KeyFrames(p));
    EXPECT_TRUE(Rec().messageBoxes.empty());
}

TEST_F(EffectEditTest, FrameCountIsKeptBetweenOneAndTheLongestTimeline)
{
    struct Case {
        int64_t typed;
        int32_t count;
    };
    const Case cases[] = {{0, 1}, {-5, 1}, {30, 30}, {(int64_t)1 << 40, QVL::kEffectMaxFrames}};
    for (const Case& c : cases) {
        EnterAt(0, 0);
        g_MoviePlayStart = 45;
        UiRec().Clear();
        EffectEdit_ApplyFrameCount(c.typed);
        EXPECT_EQ(c.count, g_CurEffect->frameCount) << c.typed;
        EXPECT_EQ(c.count, g_MoviePlayEnd) << c.typed;
        EXPECT_EQ(c.count - 1 < 45 ? c.count - 1 : 45, g_MoviePlayStart) << c.typed;
        EXPECT_EQ(c.count, g_EffectSliderMax) << c.typed;
        EXPECT_TRUE(UiRec().Has("Slider 0 " + std::to_string(c.count))) << c.typed;
        for (const QVL::EFFECT_PART& p : g_CurEffect->parts) EXPECT_EQ((size_t)c.count, p.timeTable.size());
    }
    // The same count again changes nothing.
    UiRec().Clear();
    EffectEdit_ApplyFrameCount(QVL::kEffectMaxFrames);
    EXPECT_TRUE(UiRec().calls.empty());
}

TEST_F(EffectEditTest, SliderPlayAndFrameButtons)
{
    EnterAt(1, 30);
    struct Case {
        int request;
        int32_t current, thumb, result;
    };
    const Case cases[] = {
        {EFFECT_SLIDE_LINE_LEFT, 0, 0, 0},   {EFFECT_SLIDE_LINE_RIGHT, 58, 0, 59},
        {EFFECT_SLIDE_LINE_RIGHT, 59, 0, 59}, {EFFECT_SLIDE_PAGE_RIGHT, 10, 0, 59},
        {EFFECT_SLIDE_PAGE_LEFT, 59, 0, 0},   {EFFECT_SLIDE_THUMB, 3, 42, 42},
        {EFFECT_SLIDE_OTHER, 17, 42, 17},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.result, EffectEdit_SliderScroll(c.request, c.current, c.thumb)) << c.request;
        EXPECT_EQ(c.result, EffectEdit_PreviewFrame()) << c.request;
    }

    // Part 1 has its key at 8.
    EffectEdit_SetFrame(30);
    const std::vector<std::pair<int, int32_t>> buttons = {{1404, 8}, {1405, 7}, {1407, 8}, {1406, 9}, {1407, 9},
                                                          {1403, 0}, {1405, 0}, {1404, 0}};
    for (const auto& b : buttons) {
        EffectEdit_FrameButton(b.first);
        EXPECT_EQ(b.second, EffectEdit_PreviewFrame()) << b.first;
    }

    // Play: an unreadable start does nothing, an unreadable end only sets the start.
    g_MoviePlayStart = 0;
    g_MoviePlayEnd = 60;
    EffectEdit_SetFrame(5);
    EffectEdit_Play(false, 7, true, 20, false);
    EXPECT_EQ(0, g_PlayFlag);
    EXPECT_EQ(0, g_MoviePlayStart);
    EffectEdit_Play(true, 7, false, 20, false);
    EXPECT_EQ(0, g_PlayFlag);
    EXPECT_EQ(7, g_MoviePlayStart);
    EXPECT_EQ(60, g_MoviePlayEnd);
    EffectEdit_Play(true, 7, true, 1000, false);
    EXPECT_EQ(1, g_PlayFlag);
    EXPECT_EQ(60, g_MoviePlayEnd);
    EXPECT_EQ(0, g_LoopPlay);
    EffectEdit_Play(true, 7, true, 0, true);
    EXPECT_EQ(1, g_MoviePlayEnd);
    EffectEdit_SetFrame(33);
    EffectEdit_Stop();
    EXPECT_EQ(0, g_PlayFlag);
    EXPECT_EQ(5, EffectEdit_PreviewFrame());
}

TEST_F(EffectEditTest, DialogFieldsReadAndWriteTheCurrentKey)
{
    EnterAt(1, 20);   // the key at 8 is current
    QVL::EFFECT_KEY& k = g_EffectEditPart->keys[0];
    k.color[0] = 127.9f;
    k.color[3] = -0.5f;
    k.position[0] = 1.5f;
    struct Case {
        int id;
        const char* text;
    };
    const Case cases[] = {{82, "1.500"}, {84, "1.000"}, {85, "1.000"}, {1298, "127"}, {1300, "0"}, {1302, "0"}};
    for (const Case& c : cases) {
        char text[64] = "";
        ASSERT_TRUE(EffectEdit_KeyInfoText(c.id, text, sizeof text)) << c.id;
        EXPECT_STREQ(c.text, text) << c.id;
    }

    const float info[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EffectEdit_KeyInfoApply(info);
    EXPECT_EQ(1.0f, k.position[0]);
    EXPECT_EQ(2.0f, k.position[1]);
    EXPECT_EQ(3.0f, k.rotation[2]);
    EXPECT_EQ(5.0f, k.scale[1]);
    EXPECT_EQ(9.0f, k.color[3]);

    // The particle panel's "決定" with empty fields zeroes every value it edits.
    g_CurLayer = 3;
    Mode_UpdateCurrent();
    QVL::EFFECT_KEY& emitter = g_EffectEditPart->keys[0];
    emitter.speed[2] = 6.0f;
    const float zero[18] = {};
    EffectEdit_ParticleApply(0, zero);
    EXPECT_EQ(0, emitter.emitInterval);
    EXPECT_EQ(0.0f, emitter.speed[1]);
    EXPECT_EQ(0.0f, emitter.speedRange[0]);
    EXPECT_EQ(0.0f, emitter.colorSpeed[3]);
    EXPECT_EQ(6.0f, emitter.speed[2]);
    float values[18];
    for (int i = 0; i < 18; ++i) values[i] = (float)(90 + i);
    EffectEdit_ParticleApply(4, values);
    EXPECT_EQ(4, emitter.emitInterval);
    EXPECT_EQ(91.0f, emitter.speed[0]);
    EXPECT_EQ(90.0f, emitter.speedRange[0]);
    EXPECT_EQ(93.0f, emitter.speedRange[1]);
    EXPECT_EQ(95.0f, emitter.rotSpeedRange[2]);
    EXPECT_EQ(106.0f, emitter.colorSpeed[3]);
    EXPECT_EQ(107.0f, emitter.colorSpeedRange[3]);

    // The chosen picture becomes the current key's texture.
    g_EffectChosenImage = 2;
    EffectEdit_AssignImage();
    EXPECT_EQ(2, emitter.texture);
    char line[64];
    ASSERT_TRUE(EffectEdit_ImageListLine(1, line, sizeof line));
    EXPECT_STREQ(" 1 : 爆発.png", line);
    EXPECT_FALSE(EffectEdit_ImageListLine(3, line, sizeof line));
}

// ---- the particle mode ----

TEST(ParticleMode, BurstsAfterTheCycleAndFadesOut)
{
    ParticleEdit_SeedRandom(7);
    ParticleEdit_InitParams();
    PARTICLE_MODE& m = g_ParticleMode;
    for (PARTICLE_SPRITE_COPY& c : m.copies) c.active = 0;
    m.counter = 0;
    for (int f = 0; f < 180; ++f) ParticleEdit_Frame();
    for (const PARTICLE_SPRITE_COPY& c : m.copies) ASSERT_EQ(0, c.active);
    ParticleEdit_Frame();   // frame 181 of the cycle
    EXPECT_EQ(0, m.counter);
    // Copies 0 to 24 show at once and have begun to fade.
    int fading = 0;
    for (const PARTICLE_SPRITE_COPY& c : m.copies) fading += c.active && c.alpha < 255.0f;
    EXPECT_EQ(25, fading);
    EXPECT_EQ(288.0f, m.copies[0].x);
    EXPECT_EQ(208.0f, m.copies[0].y);
    EXPECT_EQ(251.0f, m.copies[0].alpha);
    EXPECT_EQ(10, m.copies[299].delay);   // 11 frames, one already ticked
    for (const PARTICLE_SPRITE_COPY& c : m.copies) {
        const float a = c.x + 32 - 320, b = c.y + 32 - 240;
        EXPECT_LE(a * a + b * b, 72.0f * 72.0f);
    }
    // 64 steps of 4 take 255 below 0.
    for (int f = 0; f < 62; ++f) ParticleEdit_Frame();
    EXPECT_EQ(1, m.copies[0].active);
    ParticleEdit_Frame();
    EXPECT_EQ(0, m.copies[0].active);

    // More copies asked for than there are: all 300, no more.
    m.count = 1000;
    m.counter = m.frames;
    ParticleEdit_Frame();
    int active = 0;
    for (const PARTICLE_SPRITE_COPY& c : m.copies) active += c.active;
    EXPECT_EQ(kParticleModeCopies, active);
}

// ---- the timeline painter ----

TEST_F(EffectEditTest, TimelinePainterDrawsRowsKeysFrameAndEnd)
{
    EnterAt(1, 0);
    std::vector<uint32_t> bits((size_t)kPanelWidth * kPanelHeight, 0xABCDEFu);
    g_PanelDib.bits = bits.data();
    static std::vector<std::string> texts;
    texts.clear();
    g_PanelTextHook = [](int32_t x, int32_t y, const char* t, int32_t r, int32_t g, int32_t b) {
        char line[300];
        Str_Format(line, sizeof line, "%d,%d %s %02x%02x%02x", x, y, t, r, g, b);
        texts.push_back(line);
    };
    g_KeyTimeScale = 4;
    g_KeyScrollX = 0;
    EffectEdit_SetFrame(20);
    Panel_PaintEffectTimeline(1008, 274);
    g_PanelTextHook = nullptr;
    g_PanelDib.bits = nullptr;
    auto px = [&](int x, int y) { return bits[(size_t)x + (size_t)y * kPanelWidth]; };

    EXPECT_EQ(0u, px(0, 0));
    EXPECT_EQ(0u, px(1000, 270));
    EXPECT_EQ(0xFFFFFFu, px(150, 200));          // the label divider
    EXPECT_EQ(0xFFFFFFu, px(500, 84));           // the line under the ruler
    EXPECT_EQ(0x0080FFu, px(173, 109 + 10));     // part 1's key at frame 8: x 170 + 3, row top 109
    EXPECT_EQ(0x0080FFu, px(193, 134 + 10));     // part 2's key at frame 16: x 190 + 3
    EXPECT_NE(0x0080FFu, px(173, 134 + 10));
    EXPECT_EQ(0xFFFF00u, px(202, 109 + 10));     // the preview frame 20 on the current row: x 200 + 2
    EXPECT_NE(0xFFFF00u, px(202, 134 + 10));
    EXPECT_EQ(0x00FF00u, px(303, 200));          // the end: x(60) + 3
    EXPECT_EQ(0xABCDEFu, px(1100, 100));         // nothing right of the panel

    auto has = [&](const std::string& s) {
        for (const std::string& t : texts)
            if (t == s) return true;
        return false;
    };
    EXPECT_TRUE(has("8,113 1 : 爆発 ffff00"));
    EXPECT_TRUE(has("8,88 0 : 爆発 ffffff"));
    EXPECT_TRUE(has("8,163 3 : パーティクル ffffff"));
    EXPECT_TRUE(has("300,63 60 ffffff"));
    EXPECT_TRUE(has("12,6    20 ffffff"));

    // Scrolled so that frame 8 lies left of the divider: no key box there.
    bits.assign(bits.size(), 0xABCDEFu);
    g_PanelDib.bits = bits.data();
    g_KeyScrollX = -40;
    Panel_PaintEffectTimeline(1008, 274);
    g_PanelDib.bits = nullptr;
    for (int y = 84; y < 250; ++y)
        for (int x = 0; x <= 150; ++x) ASSERT_NE(0x0080FFu, px(x, y)) << x << "," << y;
}

} // namespace
