// The motion screen's key arithmetic and model operations, and its key commands on layer 0's model.
#include <cmath>
#include <cstring>

#include "edit3d/edit3d_fixture.h"
#include "edit3d/motion_screen.h"
#include "model/motion3.h"
#include "shell/hierarchy.h"
#include "shell/input_state.h"
#include "shell/playback.h"
#include "support/motion_ui_recorder.h"
#include "support/recorder.h"

namespace {

using QVL::KEY3;
using QVL::MODEL3;
using QVL::MOTION3;

KEY3 Key(int32_t frame, float tx)
{
    KEY3 k;
    Key3_Default(&k);
    k.frame = frame;
    k.translation[0] = tx;
    return k;
}

// Bones 0 (root), 1 on 0, 2 on 1 and 3 on 0; one motion of 60 frames.
void MakeRig(MODEL3* m)
{
    m->boneCount = 4;
    const int32_t parents[4] = {0, 0, 1, 0};
    for (int b = 0; b < 4; ++b) {
        m->bones[b].parent = parents[b];
        m->bones[b].firstChild = m->bones[b].nextSibling = 0;
        m->bones[b].keys.assign(m->motions.size(), std::vector<KEY3>{Key(0, 0.0f)});
    }
    m->bones[0].firstChild = 1;
    m->bones[1].nextSibling = 3;
    m->bones[1].firstChild = 2;
    m->currentMotion = 0;
    m->motions[0].length = 60;
}

std::vector<int32_t> Frames(const std::vector<KEY3>& keys)
{
    std::vector<int32_t> f;
    for (const KEY3& k : keys) f.push_back(k.frame);
    return f;
}

TEST(MotionKeyTimes, PrevAndNextOverAscendingFrames)
{
    const int32_t frames[4] = {0, 10, 20, 40};
    struct Case { int32_t f, prev, next; } cases[] = {
        {-5, -5, 0}, {0, 0, 10}, {5, 0, 10}, {10, 0, 20}, {25, 20, 40}, {40, 20, 40}, {70, 40, 70},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.prev, Motion3D_PrevFrameIn(frames, 1, 4, c.f)) << c.f;
        EXPECT_EQ(c.next, Motion3D_NextFrameIn(frames, 1, 4, c.f)) << c.f;
    }
    // No keys: the frame itself.
    EXPECT_EQ(7, Motion3D_PrevFrameIn(nullptr, 1, 0, 7));
    EXPECT_EQ(7, Motion3D_NextFrameIn(frames, 1, 0, 7));
}

TEST(MotionKeyTimes, SnapLandsFromSevenFramesBeforeToOneAfter)
{
    const int32_t frames[3] = {0, 10, 20};
    struct Case { int32_t clicked, landed; } cases[] = {
        {13, 10}, {17, 10}, {9, 10}, {8, 8}, {18, 18}, {19, 20}, {27, 20}, {28, 28}, {3, 0}, {-1, 0}, {-2, -2},
    };
    for (const Case& c : cases) EXPECT_EQ(c.landed, Motion3D_SnapFrame(frames, 1, 3, c.clicked)) << c.clicked;
    // Equally near keys: the first in the list wins.
    const int32_t tie[2] = {6, 8};
    EXPECT_EQ(6, Motion3D_SnapFrame(tie, 1, 2, 10));
    EXPECT_EQ(5, Motion3D_SnapFrame(nullptr, 1, 0, 5));
}

TEST(MotionKeyTimes, KeyTimingTruncatesAndMovesAtLeastOneFrame)
{
    struct Case { int32_t dx, zoom, v; } cases[] = {
        {1, 4, 1}, {-1, 4, -1}, {3, 1, 1}, {10, 4, 3}, {-10, 4, -3}, {25, 4, 8}, {-25, 4, -8}, {0, 4, 0}, {7, 64, 35},
    };
    for (const Case& c : cases) EXPECT_EQ(c.v, Motion3D_KeyTimingStep(c.dx, c.zoom)) << c.dx << " " << c.zoom;
}

TEST(MotionKeyTimes, PanelFrameWrapsInsideTheLengthAndNeverLoopsOnABadOne)
{
    struct Case { int32_t x, scroll, zoom, length, frame; } cases[] = {
        {213, 0, 4, 60, 10}, {388, 0, 4, 60, 20}, {213, -50, 4, 60, 30}, {189, 30, 4, 60, 49},
        {2000000000, -2000000000, 64, 7, (int32_t)(((4000000000LL - 188) * 64 / 10) % 7)},
        {213, 0, 4, 0, 0}, {213, 0, 4, -5, 0}, {213, 0, 4, 1, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.frame, Motion3D_PanelFrame(c.x, c.scroll, c.zoom, c.length)) << c.x;
}

TEST(MotionGroupKeys, InsertionShiftsEveryTrackAndCountsOnlyTheCurrentOne)
{
    MOTION3* mo = new MOTION3;
    Motion3_Default(mo);
    // An empty track: only its key 0 is reset.
    mo->tracks[4].keys[0].texture = 9;
    mo->tracks[3].keys[0].texture = 7;
    mo->tracks[3].keys[0].reservedF[0] = 5.0f;
    EXPECT_EQ(GROUP_KEY_ADDED, Motion3D_InsertGroupKey(mo, 3, 12));
    EXPECT_EQ(1, mo->tracks[3].keyCount);
    EXPECT_EQ(12, mo->tracks[3].keys[0].frame);
    EXPECT_EQ(0, mo->tracks[3].keys[0].texture);
    EXPECT_EQ(1.0f, mo->tracks[3].keys[0].reservedF[0]);
    EXPECT_EQ(9, mo->tracks[4].keys[0].texture);
    EXPECT_EQ(GROUP_KEY_EXISTS, Motion3D_InsertGroupKey(mo, 3, 12));
    EXPECT_EQ(1, mo->tracks[3].keyCount);

    // Keys at 0 and 20 in track 3; a key at 10 goes between, moving key 1 of every track.
    EXPECT_EQ(GROUP_KEY_ADDED, Motion3D_InsertGroupKey(mo, 3, 0));
    EXPECT_EQ((std::vector<int32_t>{0, 12}), (std::vector<int32_t>{mo->tracks[3].keys[0].frame, mo->tracks[3].keys[1].frame}));
    mo->tracks[4].keys[1].texture = 6;
    mo->tracks[4].keys[1].frame = 99;
    EXPECT_EQ(GROUP_KEY_ADDED, Motion3D_InsertGroupKey(mo, 3, 5));
    EXPECT_EQ(3, mo->tracks[3].keyCount);
    EXPECT_EQ(0, mo->tracks[3].keys[0].frame);
    EXPECT_EQ(5, mo->tracks[3].keys[1].frame);
    EXPECT_EQ(12, mo->tracks[3].keys[2].frame);
    EXPECT_EQ(6, mo->tracks[4].keys[2].texture);
    EXPECT_EQ(99, mo->tracks[4].keys[2].frame);
    EXPECT_EQ(0, mo->tracks[4].keys[1].texture);  // reset in every track
    EXPECT_EQ(0, mo->tracks[4].keyCount);
    delete mo;
}

TEST(MotionGroupKeys, AFullTrackIsRefusedWithoutWritingPastIt)
{
    MOTION3* mo = new MOTION3;
    Motion3_Default(mo);
    for (int i = 0; i < 16; ++i) ASSERT_EQ(GROUP_KEY_ADDED, Motion3D_InsertGroupKey(mo, 0, 2 * i + 2));
    const int32_t nextReserved = mo->tracks[0].reserved[0] = 1234;
    EXPECT_EQ(GROUP_KEY_FULL, Motion3D_InsertGroupKey(mo, 0, 1));
    EXPECT_EQ(16, mo->tracks[0].keyCount);
    EXPECT_EQ(2, mo->tracks[0].keys[0].frame);
    EXPECT_EQ(nextReserved, mo->tracks[0].reserved[0]);
    // A count read from a file past 16 is refused too.
    mo->tracks[1].keyCount = 40;
    EXPECT_EQ(GROUP_KEY_FULL, Motion3D_InsertGroupKey(mo, 1, 1));
    delete mo;
}

TEST(MotionGroupKeys, DeletionAndTimingActOnTheTrackOnly)
{
    MOTION3* mo = new MOTION3;
    Motion3_Default(mo);
    for (int f : {0, 10, 20}) Motion3D_InsertGroupKey(mo, 2, f);
    EXPECT_FALSE(Motion3D_DeleteGroupKey(mo, 2, 5));
    EXPECT_TRUE(Motion3D_DeleteGroupKey(mo, 2, 10));
    EXPECT_EQ(2, mo->tracks[2].keyCount);
    EXPECT_EQ(20, mo->tracks[2].keys[1].frame);
    // Timing: the key at the current frame moves unless a key is at the target.
    EXPECT_TRUE(Motion3D_ShiftGroupKey(mo, 2, 1, 20, 5));
    EXPECT_EQ(25, mo->tracks[2].keys[1].frame);
    EXPECT_FALSE(Motion3D_ShiftGroupKey(mo, 2, 1, 25, -25));
    EXPECT_FALSE(Motion3D_ShiftGroupKey(mo, 2, 1, 20, 1));   // not at the current frame
    EXPECT_FALSE(Motion3D_ShiftGroupKey(mo, 5, 0, 0, 1));    // empty track
    delete mo;
}

class MotionModelTest : public ::testing::Test {
protected:
    MODEL3* m = nullptr;
    void SetUp() override
    {
        m = Model3_Alloc();
        m->animated = 1;
        MakeRig(m);
    }
    void TearDown() override { Model3_Free(m); }
};

TEST_F(MotionModelTest, SubtreeVisitsTheBoneAndItsDescendantsButNotItsSiblings)
{
    std::vector<int32_t> seen;
    auto note = [](MODEL3*, int32_t b, void* ctx) { ((std::vector<int32_t>*)ctx)->push_back(b); };
    Motion3D_VisitSubtree(m, 1, note, &seen);
    EXPECT_EQ((std::vector<int32_t>{1, 2}), seen);
    seen.clear();
    Motion3D_VisitDescendants(m, 0, note, &seen);
    EXPECT_EQ((std::vector<int32_t>{1, 2, 3}), seen);
    // Links that loop visit each bone once.
    m->bones[2].firstChild = 1;
    seen.clear();
    Motion3D_VisitSubtree(m, 1, note, &seen);
    EXPECT_EQ((std::vector<int32_t>{1, 2}), seen);
}

TEST_F(MotionModelTest, ANewKeyHoldsThePoseAlreadyThereAndKeepsTheOrder)
{
    std::vector<KEY3>& keys = m->bones[1].keys[0];
    keys = {Key(0, 0.0f), Key(20, 10.0f), Key(40, 10.0f)};
    m->motions[0].loop = 0;
    m->currentFrame = 10;
    ASSERT_TRUE(Motion3D_CreateBoneKey(m, 1, 10));
    EXPECT_EQ((std::vector<int32_t>{0, 10, 20, 40}), Frames(keys));
    // Catmull-Rom through 0, 0, 10, 10 at the middle.
    EXPECT_NEAR(5.0f, keys[1].translation[0], 1e-4f);
    EXPECT_NEAR(1.0f, keys[1].rotation[3], 1e-6f);
    EXPECT_NEAR(1.0f, keys[1].scale[1], 1e-6f);
    EXPECT_FALSE(Motion3D_CreateBoneKey(m, 1, 10));
    ASSERT_TRUE(Motion3D_CreateBoneKey(m, 1, 50));
    EXPECT_EQ(50, keys.back().frame);
}

TEST_F(MotionModelTest, AnEmptiedKeyListIsGuarded)
{
    EXPECT_TRUE(Motion3D_DeleteBoneKey(m, 2, 0));
    EXPECT_TRUE(m->bones[2].keys[0].empty());
    EXPECT_EQ(nullptr, Motion3D_BoneCurrentKey(m, 2));
    EXPECT_FALSE(Motion3D_DeleteBoneKey(m, 2, 0));
    EXPECT_FALSE(Motion3D_ShiftBoneKey(m, 2, 0, 3));
    // A key made on the empty list is the rest pose.
    ASSERT_TRUE(Motion3D_CreateBoneKey(m, 2, 7));
    ASSERT_EQ(1u, m->bones[2].keys[0].size());
    EXPECT_EQ(7, m->bones[2].keys[0][0].frame);
    EXPECT_EQ(1.0f, m->bones[2].keys[0][0].scale[0]);
    EXPECT_EQ(1.0f, m->bones[2].keys[0][0].rotation[3]);
    // No list for the motion at all.
    m->bones[3].keys.clear();
    EXPECT_EQ(nullptr, Motion3D_BoneKeys(m, 3));
    EXPECT_FALSE(Motion3D_CreateBoneKey(m, 3, 1));
}

TEST_F(MotionModelTest, KeyTimingRefusesAnOccupiedFrameAndStopsAtZero)
{
    m->bones[1].keys[0] = {Key(0, 0.0f), Key(10, 1.0f), Key(20, 2.0f)};
    EXPECT_FALSE(Motion3D_ShiftBoneKey(m, 1, 10, 10));
    EXPECT_TRUE(Motion3D_ShiftBoneKey(m, 1, 10, 15));
    EXPECT_EQ((std::vector<int32_t>{0, 25, 20}), Frames(m->bones[1].keys[0]));
    // Below 0 means 0, where a key is already.
    EXPECT_FALSE(Motion3D_ShiftBoneKey(m, 1, 20, -100));
    EXPECT_EQ(20, m->bones[1].keys[0][2].frame);
    m->bones[1].keys[0][0].frame = 3;
    EXPECT_TRUE(Motion3D_ShiftBoneKey(m, 1, 20, -100));
    EXPECT_EQ(0, m->bones[1].keys[0][2].frame);
}

TEST_F(MotionModelTest, MotionListAddsCopiesRemovesAndMoves)
{
    m->bones[1].keys[0] = {Key(0, 0.0f), Key(30, 3.0f)};
    Motion3D_SetName(&m->motions[0], "walk");
    ASSERT_TRUE(Motion3D_AppendMotion(m, false));
    ASSERT_EQ(2u, m->motions.size());
    EXPECT_EQ(1, m->currentMotion);
    EXPECT_STREQ("walk", m->motions[1].name);
    ASSERT_EQ(2u, m->bones[1].keys.size());
    ASSERT_EQ(1u, m->bones[1].keys[1].size());
    EXPECT_EQ(1.0f, m->bones[1].keys[1][0].rotation[3]);
    m->currentMotion = 0;
    ASSERT_TRUE(Motion3D_AppendMotion(m, true));
    EXPECT_EQ((std::vector<int32_t>{0, 30}), Frames(m->bones[1].keys[2]));
    // Up from 2: motions 1 and 2 change places with their keys.
    ASSERT_TRUE(Motion3D_MoveMotion(m, -1));
    EXPECT_EQ(1, m->currentMotion);
    EXPECT_EQ(2u, m->bones[1].keys[1].size());
    EXPECT_FALSE(Motion3D_MoveMotion(m, 5));
    m->currentMotion = 2;
    EXPECT_FALSE(Motion3D_MoveMotion(m, 1));
    ASSERT_TRUE(Motion3D_RemoveMotion(m));
    EXPECT_EQ(1, m->currentMotion);
    ASSERT_TRUE(Motion3D_RemoveMotion(m));
    EXPECT_FALSE(Motion3D_RemoveMotion(m));  // the last one stays
    EXPECT_EQ(1u, m->motions.size());
    EXPECT_EQ(1u, m->bones[1].keys.size());
}

TEST(MotionList, TypedNumbersOutsideTheirRangeChangeNothing)
{
    struct Case { const char* text; bool ok; int32_t value; } lengths[] = {
        {"60", true, 60}, {"1", true, 1}, {"0", false, 0}, {"-5", false, 0}, {"abc", false, 0},
        {"99999999999", false, 0}, {"2147483647", true, 2147483647}, {"", false, 0},
    };
    for (const Case& c : lengths) {
        int32_t v = -77;
        EXPECT_EQ(c.ok, Motion3D_ParseLength(c.text, &v)) << c.text;
        EXPECT_EQ(c.ok ? c.value : -77, v) << c.text;
    }
    struct NextCase { const char* text; bool ok; int16_t value; } nexts[] = {
        {"-1", true, -1}, {"3", true, 3}, {"32767", true, 32767}, {"32768", false, 0}, {"-2", false, 0}, {"x", false, 0},
    };
    for (const NextCase& c : nexts) {
        int16_t v = 5;
        EXPECT_EQ(c.ok, Motion3D_ParseNext(c.text, &v)) << c.text;
        EXPECT_EQ(c.ok ? c.value : 5, v) << c.text;
    }
    MOTION3* mo = new MOTION3;
    std::string longName(400, 'n');
    Motion3D_SetName(mo, longName.c_str());
    EXPECT_EQ(255u, std::strlen(mo->name));
    delete mo;
}

TEST(MotionList, TextureRowsAboveTheTableCountAsNoTextureAndNoSelectionChangesNothing)
{
    struct Case { int32_t row, texture; } cases[] = {{-1, -1}, {0, 0}, {1, 1}, {255, 255}, {256, 0}, {65535, 0}};
    for (const Case& c : cases) EXPECT_EQ(c.texture, Motion3D_TextureOfRow(c.row)) << c.row;
}

TEST(MotionList, TheHundredthSoundIsTheLast)
{
    MODEL3* m = Model3_Alloc();
    m->soundCount = 99;
    EXPECT_TRUE(Motion3D_AddSoundName(m, "a.wav"));
    EXPECT_EQ(100, m->soundCount);
    EXPECT_STREQ("a.wav", m->soundNames[99]);
    EXPECT_FALSE(Motion3D_AddSoundName(m, "b.wav"));
    EXPECT_EQ(100, m->soundCount);
    Model3_Free(m);
}

TEST(MotionTurns, AZeroAxisIsRefusedInsteadOfGivingNaN)
{
    KEY3 k = Key(0, 0.0f);
    EXPECT_FALSE(Motion3D_TurnKeyAbout(&k, 0.0f, 0.0f, 0.0f, 8.0f));
    EXPECT_EQ(1.0f, k.rotation[3]);
    ASSERT_TRUE(Motion3D_TurnKeyAbout(&k, 0.0f, 0.0f, 3.0f, 8.0f));
    for (float c : k.rotation) EXPECT_TRUE(std::isfinite(c));
    EXPECT_NEAR(1.0f, std::sqrt(k.rotation[2] * k.rotation[2] + k.rotation[3] * k.rotation[3]), 1e-5f);
    EXPECT_GT(std::fabs(k.rotation[2]), 0.05f);
    // The "<" and ">" beside Z turn opposite ways: +8 then -8 is no turn.
    KEY3 t = Key(0, 0.0f);
    Motion3D_TurnKey(&t, 2, 8.0f);
    EXPECT_GT(std::fabs(t.rotation[2]), 0.05f);
    Motion3D_TurnKey(&t, 2, -8.0f);
    EXPECT_NEAR(0.0f, t.rotation[2], 1e-5f);
}

// ---- the screen on layer 0's model --------------------------------------------------------------

class MotionScreenTest : public Edit3DTest {
protected:
    void SetUp() override
    {
        Edit3DTest::SetUp();
        g_Screen = SCREEN_3D_MOTION;
        MakeRig(Live());
        Live()->animated = 1;
        g_Motion3DState.motionType = 0;
        g_PlayFlag = 0;
        g_PoseClipboardFull = 0;
        g_CurBone = 1;
        g_CurViewIndex = 1;
        Mode_UpdateCurrent();
    }
    void TearDown() override
    {
        g_PlayFlag = 0;
        g_Motion3DWindows = MOTION3D_WINDOWS{};
        Edit3DTest::TearDown();
    }
};

TEST_F(MotionScreenTest, KeyCreationCoversTheSubtreeAndNothingWhilePlaying)
{
    Live()->currentFrame = 10;
    Motion3D_CreateKey();
    EXPECT_EQ(2u, Live()->bones[1].keys[0].size());
    EXPECT_EQ(2u, Live()->bones[2].keys[0].size());
    EXPECT_EQ(1u, Live()->bones[3].keys[0].size());
    EXPECT_EQ(1, g_CurBone);
    Live()->currentFrame = 20;
    g_PlayFlag = 1;
    Motion3D_CreateKey();
    Motion3D_DeleteKey();
    EXPECT_EQ(2u, Live()->bones[1].keys[0].size());
    g_PlayFlag = 0;
    g_CurBone = 0;
    Motion3D_CreateKey();
    EXPECT_EQ(1u, Live()->bones[0].keys[0].size());
}

TEST_F(MotionScreenTest, PasteBeforeAnyCopyIsRefusedAndCutThenPasteCarriesThePose)
{
    Live()->currentFrame = 30;
    EXPECT_FALSE(Motion3D_PasteKey());
    EXPECT_EQ(1u, Live()->bones[1].keys[0].size());

    Live()->bones[1].keys[0] = {Key(0, 0.0f), Key(10, 4.0f)};
    Live()->bones[2].keys[0] = {Key(0, 0.0f), Key(10, 2.0f)};
    Live()->currentFrame = 10;
    Mode_UpdateCurrent();
    for (int b = 0; b < 4; ++b) Motion3_InterpolateBone(Live(), b, Live()->bones[b].keyIndex, Live()->bones[b].fraction);
    Motion3D_CutKey();
    EXPECT_EQ(1u, Live()->bones[1].keys[0].size());
    Live()->currentFrame = 30;
    ASSERT_TRUE(Motion3D_PasteKey());
    const std::vector<KEY3>& k1 = Live()->bones[1].keys[0];
    ASSERT_EQ(2u, k1.size());
    EXPECT_EQ(30, k1[1].frame);
    EXPECT_NEAR(4.0f, k1[1].translation[0], 1e-5f);
    EXPECT_NEAR(2.0f, Live()->bones[2].keys[0][1].translation[0], 1e-5f);
    EXPECT_EQ(1.0f, k1[1].scale[0]);
}

TEST_F(MotionScreenTest, GroupKeyOnAFullTrackIsRefusedWithAMessage)
{
    g_Motion3DState.motionType = 1;
    g_CurGroup = 0;
    for (int i = 0; i < 16; ++i) {
        Live()->currentFrame = i + 1;
        Motion3D_CreateKey();
    }
    EXPECT_EQ(16, Live()->motions[0].tracks[0].keyCount);
    Rec().messageBoxes.clear();
    Live()->currentFrame = 40;
    Motion3D_CreateKey();
    EXPECT_EQ(16, Live()->motions[0].tracks[0].keyCount);
    EXPECT_EQ(1u, Rec().messageBoxes.size());
    g_Motion3DState.motionType = 0;
}

TEST_F(MotionScreenTest, PlaybackStartsAtZeroAndStopRestoresTheFrame)
{
    Live()->currentFrame = 40;
    Motion3D_TogglePlay();
    EXPECT_EQ(1, g_PlayFlag);
    EXPECT_EQ(0, Live()->currentFrame);
    Live()->currentFrame = 17;
    Motion3D_TogglePlay();
    EXPECT_EQ(0, g_PlayFlag);
    EXPECT_EQ(40, Live()->currentFrame);
}

TEST_F(MotionScreenTest, ArrowsStepBetweenTheCurrentRowsKeysAndRPicksIk)
{
    Live()->bones[1].keys[0] = {Key(0, 0.0f), Key(10, 1.0f), Key(25, 2.0f)};
    List_RebuildBones3D();
    Live()->currentFrame = 12;
    Motion3D_KeyUp(0x27);
    EXPECT_EQ(25, Live()->currentFrame);
    Motion3D_KeyUp(0x25);
    Motion3D_KeyUp(0x25);
    EXPECT_EQ(0, Live()->currentFrame);
    g_DragTool = 1;
    Motion3D_KeyUp('R');
    EXPECT_EQ(3, g_DragTool);
    Motion3D_KeyUp('R');
    EXPECT_EQ(1, g_DragTool);
    Motion3D_KeyUp('T');
    EXPECT_EQ(0, g_DragTool);
}

TEST_F(MotionScreenTest, FreezeAsksAndKeepsTheRestPositionsOnNo)
{
    MODEL3* m = Live();
    m->positions = {{1, 2, 3}};
    m->deformedPositions = {{4, 5, 6}};
    QVL::FACE3 f = {};
    f.cornerCount = 3;
    m->faces = {f};
    m->faceCount = 1;
    MotionRec().questions.clear();
    MotionRec().answerYes = false;
    Motion3D_Command(40089);
    ASSERT_EQ(1u, MotionRec().questions.size());
    EXPECT_EQ(1.0f, m->positions[0].x);
    MotionRec().answerYes = true;
    m->currentFrame = 9;
    Motion3D_Command(40089);
    EXPECT_EQ(4.0f, m->positions[0].x);
    EXPECT_EQ(0, m->currentFrame);
}

} // namespace
