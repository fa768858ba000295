// The 2D motion screen's key arithmetic, its operations on a model and its key commands on slot 0.
#include <cstring>

#include "edit2d/model2d_hooks.h"
#include "edit2d/motion2d.h"
#include "edit2d/motion2d_panel.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/motion_screen.h"
#include "model/model_expect.h"
#include "frame/lib.h"
#include "shell/current.h"
#include "shell/hierarchy.h"
#include "shell/input_state.h"
#include "shell/panels.h"
#include "shell/playback.h"
#include "support/ui_recorder.h"

namespace {

using QVL::KEY2;

std::vector<KEY2> Keys(std::initializer_list<int32_t> frames)
{
    std::vector<KEY2> k;
    for (int32_t f : frames) k.push_back(KEY2{f, (float)f, 0, 0, 1, 1});
    return k;
}

std::vector<int32_t> Frames(const std::vector<KEY2>& keys)
{
    std::vector<int32_t> f;
    for (const KEY2& k : keys) f.push_back(k.frame);
    return f;
}

TEST(Motion2DKeys, InsertIndexKeepsTheListOrderedAndRefusesDuplicatesAndA17thKey)
{
    struct Case { std::vector<KEY2> keys; int32_t frame, index; } cases[] = {
        {{}, 5, 0},
        {Keys({0, 10, 20}), 15, 2},
        {Keys({0, 10, 20}), 25, 3},
        {Keys({10, 20}), 0, 0},
        {Keys({0, 10, 20}), 10, -1},
        {Keys({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}), 40, -1},
        {Keys({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}), 40, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        EXPECT_EQ(c.index, Motion2D_InsertIndex(c.keys, c.frame));
    }
}

TEST(Motion2DKeys, SnapTakesTheNearestToThreeFramesBeforeWithinFour)
{
    struct Case { std::vector<KEY2> keys; int32_t frame, snapped; } cases[] = {
        {Keys({8, 11}), 10, 8},     // d 1 beats d 4
        {Keys({3}), 10, 3},         // d 4, nothing closer
        {Keys({3, 8}), 10, 8},
        {Keys({12}), 10, 10},       // d 5 never
        {Keys({2}), 10, 10},        // d 5 on the other side
        {Keys({5, 9}), 10, 5},      // d 2 twice: the first kept
        {{}, 10, 10},
        {Keys({INT32_MIN, INT32_MAX}), 10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        EXPECT_EQ(c.snapped, Motion2D_SnapFrame(c.keys, c.frame));
    }
}

TEST(Motion2DKeys, TimingStepIsAtLeastOneFrameInTheDragsDirection)
{
    struct Case { int32_t dx, zoom, step; } cases[] = {
        {1, 4, 1}, {-1, 4, -1}, {0, 4, 0}, {3, 4, 1}, {6, 4, 2}, {-6, 4, -2}, {12, 1, 1}, {5, 0, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.step, Motion2D_KeyTimingStep(c.dx, c.zoom)) << c.dx << " " << c.zoom;
}

TEST(Motion2DKeys, StripFrameWrapsIntoTheMotionAndNeverLoopsOnALengthOfZero)
{
    struct Case { int32_t x, scroll, left, zoom, length, frame; } cases[] = {
        {0, 0, 0, 4, 60, 0},        // on the left edge: frame 0
        {25, 0, 0, 4, 60, 10},
        {160, 0, 0, 4, 60, 4},      // 64 wraps to 4
        {25, -100, 0, 4, 60, 50},   // scrolled: 125 * 4 / 10 = 50
        {50, 0, 0, 4, 0, 0},
        {50, 0, 0, 4, -5, 0},
        {INT32_MAX, INT32_MIN, 0, 64, 7, (int32_t)((((int64_t)INT32_MAX - INT32_MIN) * 64 / 10) % 7)},
        {10, 0, 20, 4, 60, 0},      // left of the strip
    };
    for (const Case& c : cases) {
        const int32_t f = Motion2D_StripFrame(c.x, c.scroll, c.left, c.zoom, c.length);
        EXPECT_EQ(c.frame, f) << c.x << " " << c.length;
    }
}

TEST(Motion2DKeys, PanelRowSharedEdgeGoesToTheLaterRow)
{
    struct Case { int32_t y, scroll, rows, row; } cases[] = {
        {27, 0, 3, -1}, {28, 0, 3, 0}, {40, 0, 3, 0}, {53, 0, 3, 1}, {103, 0, 3, 2}, {104, 0, 3, -1},
        {28, 0, 0, -1}, {3, -25, 3, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.row, Motion2D_PanelRowAt(c.y, c.scroll, 25, c.rows)) << c.y;
}

TEST(Motion2DKeys, DragChangesByTool)
{
    KEY2 k{0, 1, 2, 10, 1, 1};
    EXPECT_STREQ("移動 ( モーション )", Motion2D_DragChange(&k, 0, 3, 4));
    EXPECT_FLOAT_EQ(4, k.x);
    EXPECT_FLOAT_EQ(6, k.y);
    Motion2D_DragChange(&k, 1, 10, 20);
    EXPECT_FLOAT_EQ(10 + 3.0f - 6.0f, k.rotation);
    Motion2D_DragChange(&k, 2, 100, 100);
    EXPECT_FLOAT_EQ(1.5f, k.scaleX);
    EXPECT_FLOAT_EQ(0.5f, k.scaleY);
    EXPECT_EQ(nullptr, Motion2D_DragChange(&k, 7, 1, 1));
}

TEST(Motion2DKeys, PrevAndNextKeyFrames)
{
    const std::vector<KEY2> k = Keys({0, 10, 20, 40});
    struct Case { int32_t f, prev, next; } cases[] = {{-5, -5, 0}, {0, 0, 10}, {10, 0, 20}, {25, 20, 40}, {70, 40, 70}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.prev, Motion2D_PrevKeyFrameIn(&k, c.f));
        EXPECT_EQ(c.next, Motion2D_NextKeyFrameIn(&k, c.f));
    }
    EXPECT_EQ(7, Motion2D_PrevKeyFrameIn(nullptr, 7));
    const std::vector<KEY2> none;
    EXPECT_EQ(7, Motion2D_NextKeyFrameIn(&none, 7));
}

class Motion2DModel : public ModelTest {
protected:
    int32_t savedBone = 0;
    void SetUp() override
    {
        ModelTest::SetUp();
        for (int i = 0; i < kModel2Slots; ++i) Model2_FreeSlot(i);
        g_Lib.allocArrays = 1;
        m = Model2_Create(0);
        g_Model2InUse[0] = 1;
        m->boneCount = 3;
        m->bones[1].parent = 0;
        m->bones[2].parent = 1;
        m->motionCount = 1;
        m->motions[0].length = 60;
        m->currentMotion = 0;
        savedBone = g_CurBone;
        g_CurBone = 1;
    }
    void TearDown() override
    {
        g_CurBone = savedBone;
        g_PlayFlag = 0;
        for (int i = 0; i < kModel2Slots; ++i) Model2_FreeSlot(i);
        ModelTest::TearDown();
    }
    std::vector<KEY2>& List(int bone) { return m->bones[bone].keyLists[0].keys; }
    QVL::MODEL2* m = nullptr;
};

TEST_F(Motion2DModel, InsertTakesThePoseBetweenKeysAndRestValuesInAnEmptyList)
{
    List(1).clear();
    m->currentFrame = 7;
    EXPECT_EQ(0, Motion2D_InsertKeyAt(0, 1, 7));
    ASSERT_EQ(1u, List(1).size());
    const KEY2 rest = List(1)[0];
    EXPECT_EQ(7, rest.frame);
    EXPECT_FLOAT_EQ(0, rest.x);
    EXPECT_FLOAT_EQ(1, rest.scaleX);
    EXPECT_FLOAT_EQ(1, rest.scaleY);

    List(1) = {{0, 0, 0, 0, 1, 1}, {20, 10, 0, 0, 1, 1}};
    m->currentFrame = 10;
    Model2_UpdateKeyIndices(0);
    EXPECT_EQ(1, Motion2D_InsertKeyAt(0, 1, 10));
    EXPECT_EQ((std::vector<int32_t>{0, 10, 20}), Frames(List(1)));
    EXPECT_FLOAT_EQ(5, List(1)[1].x);
    EXPECT_EQ(-1, Motion2D_InsertKeyAt(0, 1, 10));   // already there
    const size_t rootKeys = List(0).size();
    EXPECT_EQ(-1, Motion2D_InsertKeyAt(0, 0, 10));   // the root is not keyed
    EXPECT_EQ(rootKeys, List(0).size());
}

TEST_F(Motion2DModel, DeleteAndTimeMoveKeepTheListOrdered)
{
    List(1) = Keys({0, 10, 20});
    EXPECT_FALSE(Motion2D_DeleteKeyAt(m, 1, 5));
    EXPECT_TRUE(Motion2D_DeleteKeyAt(m, 1, 10));
    EXPECT_EQ((std::vector<int32_t>{0, 20}), Frames(List(1)));

    int32_t to = -1;
    EXPECT_FALSE(Motion2D_MoveKeyTime(m, 1, 20, -20, &to));   // onto the key at 0
    EXPECT_TRUE(Motion2D_MoveKeyTime(m, 1, 20, 1, &to));
    EXPECT_EQ(21, to);
    List(1) = Keys({5, 20});
    EXPECT_TRUE(Motion2D_MoveKeyTime(m, 1, 20, -100, &to));    // stops at 0, passes the key at 5
    EXPECT_EQ(0, to);
    EXPECT_EQ((std::vector<int32_t>{0, 5}), Frames(List(1)));
    EXPECT_FLOAT_EQ(20, List(1)[0].x);
    EXPECT_FALSE(Motion2D_MoveKeyTime(m, 1, 0, -1, &to));      // already at 0
}

TEST_F(Motion2DModel, CommandsOnTheCurrentBone)
{
    // Delete the only key, insert again: rest values.
    List(1) = {{4, 3, 3, 3, 2, 2}};
    m->currentFrame = 4;
    Motion2D_DeleteKey();
    EXPECT_TRUE(List(1).empty());
    Motion2D_SyncCurrentKey();
    EXPECT_EQ(0, g_CurKeyIndex);
    Motion2D_CopyKey();   // empty list: nothing read
    Motion2D_InsertKey();
    ASSERT_EQ(1u, List(1).size());
    EXPECT_FLOAT_EQ(1, List(1)[0].scaleX);

    // Copy at 4, paste at 30: the copied values at frame 30.
    List(1)[0] = {4, 9, 8, 7, 6, 5};
    Motion2D_CopyKey();
    m->currentFrame = 30;
    Motion2D_PasteKey();
    ASSERT_EQ(2u, List(1).size());
    EXPECT_EQ(30, List(1)[1].frame);
    EXPECT_FLOAT_EQ(9, List(1)[1].x);
    EXPECT_FLOAT_EQ(5, List(1)[1].scaleY);

    // Cut at 30 removes it.
    Motion2D_CutKey();
    EXPECT_EQ((std::vector<int32_t>{4}), Frames(List(1)));
}

TEST_F(Motion2DModel, CopyWithAnIndexKeptFromALongerListTakesTheLastKey)
{
    List(1) = {{0, 1, 0, 0, 1, 1}, {10, 2, 0, 0, 1, 1}};
    m->bones[1].keyIndex = 9;
    g_KeyClip2D[2] = KEY2{};
    Motion2D_CopyKey();
    EXPECT_FLOAT_EQ(2, g_KeyClip2D[2].x);
    EXPECT_EQ(10, g_KeyClip2D[0].frame);
}

TEST_F(Motion2DModel, PasteIntoAFullListMovesNoOtherKey)
{
    List(1).clear();
    for (int i = 0; i < QVL::kModel2KeysPerList; ++i) List(1).push_back(KEY2{i * 2, 0, 0, 0, 1, 1});
    g_KeyClip2D[0] = g_KeyClip2D[1] = g_KeyClip2D[2] = KEY2{0, 50, 0, 0, 1, 1};
    m->currentFrame = 5;
    Motion2D_PasteKey();
    EXPECT_EQ((size_t)QVL::kModel2KeysPerList, List(1).size());
    for (int i = 0; i < QVL::kModel2KeysPerList; ++i) {
        EXPECT_EQ(i * 2, List(1)[(size_t)i].frame);
        EXPECT_FLOAT_EQ(0, List(1)[(size_t)i].x);
    }
}

TEST_F(Motion2DModel, SnapAndPlayStop)
{
    List(1) = Keys({8, 11});
    m->currentFrame = 10;
    Motion2D_SnapToKey();
    EXPECT_EQ(8, m->currentFrame);

    m->currentFrame = 17;
    Motion2D_Play();
    EXPECT_EQ(1, g_PlayFlag);
    EXPECT_EQ(0, g_LoopPlay);
    EXPECT_EQ(0, m->currentFrame);
    m->currentFrame = 33;
    Motion2D_Stop();
    EXPECT_EQ(0, g_PlayFlag);
    EXPECT_EQ(17, m->currentFrame);
}

TEST_F(Motion2DModel, MiddleDragOfOnePixelMovesTheKeyOneFrame)
{
    const int32_t savedScale = g_KeyTimeScale;
    g_KeyTimeScale = 4;
    List(1) = Keys({0, 10});
    m->currentFrame = 10;
    Model2_UpdateKeyIndices(0);
    g_Motion2DPanel = MOTION2D_PANEL{0, 1, 0, 50, 40, 0};
    Motion2D_PanelMouseMove(51, 40);
    EXPECT_EQ((std::vector<int32_t>{0, 11}), Frames(List(1)));
    EXPECT_EQ(11, m->currentFrame);
    Motion2D_PanelMouseMove(-100, 40);   // far left: stops at 0, where a key is: refused
    EXPECT_EQ((std::vector<int32_t>{0, 11}), Frames(List(1)));
    g_Motion2DPanel = MOTION2D_PANEL{};
    g_KeyTimeScale = savedScale;
}

TEST_F(Motion2DModel, MotionListIgnoresAnEmptyRowAndStopsAt100)
{
    m->currentFrame = 12;
    Motion2D_ListTakeRow(-1);   // LB_ERR
    EXPECT_EQ(0, m->currentMotion);
    EXPECT_EQ(12, m->currentFrame);
    Motion2D_ListApply(std::string(400, 'n').c_str(), "90");
    EXPECT_EQ(255u, strlen(m->motions[0].name));
    EXPECT_EQ(90, m->motions[0].length);
    EXPECT_TRUE(Motion2D_ListAdd("walk", "90"));
    EXPECT_EQ(2, m->motionCount);
    EXPECT_EQ(1, m->currentMotion);
    EXPECT_EQ(1, m->motions[1].used);
    m->motionCount = QVL::kModel2Motions;
    EXPECT_FALSE(Motion2D_ListAdd("walk", "90"));
    EXPECT_EQ(QVL::kModel2Motions, m->motionCount);
}

TEST_F(Motion2DModel, ViewDragChangesOnlyAKeyAtTheCurrentFrameOfABoneOtherThanTheRoot)
{
    const int32_t savedTool = g_DragTool;
    const DELTA2 savedDelta = g_MouseDelta;
    g_Lib.mouse.held[0] = 1;
    g_Lib.mouse.held[1] = g_Lib.mouse.held[2] = 0;
    g_MouseDelta = DELTA2{2, 3};
    g_DragTool = 0;
    List(1) = {{0, 0, 0, 0, 1, 1}, {10, 1, 1, 0, 1, 1}};
    m->currentFrame = 10;
    Model2_UpdateKeyIndices(0);
    g_UndoPending = 0;
    Motion2D_DragKey(0);
    EXPECT_FLOAT_EQ(3, List(1)[1].x);
    EXPECT_FLOAT_EQ(4, List(1)[1].y);
    EXPECT_EQ(1, g_UndoPending);
    EXPECT_STREQ("移動 ( モーション )", g_UndoCaption);

    m->currentFrame = 5;   // no key here
    Model2_UpdateKeyIndices(0);
    Motion2D_DragKey(0);
    EXPECT_FLOAT_EQ(0, List(1)[0].x);
    EXPECT_FLOAT_EQ(3, List(1)[1].x);

    g_CurBone = 0;
    const std::vector<KEY2> root = List(0);
    m->currentFrame = root.empty() ? 0 : root[0].frame;
    Model2_UpdateKeyIndices(0);
    Motion2D_DragKey(0);
    ASSERT_EQ(root.size(), List(0).size());
    for (size_t i = 0; i < root.size(); ++i) EXPECT_FLOAT_EQ(root[i].x, List(0)[i].x);
    g_Lib.mouse.held[0] = 0;
    g_DragTool = savedTool;
    g_MouseDelta = savedDelta;
}

TEST_F(Motion2DModel, EnterMakesTheThreeDialogsAndExitEndsThemAndPlayback)
{
    const int32_t w = g_Lib.monitorWidth, h = g_Lib.monitorHeight;
    g_Lib.monitorWidth = 1280;
    g_Lib.monitorHeight = 1024;
    UiRec().Clear();
    // What entering the screen sets, put back for the tests after this one.
    const int32_t saved[] = {g_ScreenGroup, g_CurLayer, g_DragTool, g_TimelineLabelWidth, g_TimelineTop, g_CurPart,
                             g_HierRowCur, g_KeyHoverRow, g_LoopPlay};
    void* const savedMenu = g_ModeMenu;
    g_Motion2DWindows = MOTION2D_WINDOWS{};
    Motion2D_Enter();
    EXPECT_TRUE(UiRec().Has("Motion2DDlg 0 1007 688 273 307"));
    EXPECT_TRUE(UiRec().Has("Motion2DDlg 1 0 824 678 170"));
    EXPECT_TRUE(UiRec().Has("Motion2DDlg 2 1052 47 228 392"));
    EXPECT_EQ(1, g_DragTool);
    EXPECT_EQ(1, g_LoopPlay);
    ASSERT_NE(nullptr, g_Motion2DWindows.list);
    const size_t made = UiRec().calls.size();
    Motion2D_Enter();   // open already: nothing new
    for (size_t i = made; i < UiRec().calls.size(); ++i)
        EXPECT_EQ(std::string::npos, UiRec().calls[i].find("Motion2DDlg")) << UiRec().calls[i];
    g_PlayFlag = 1;
    Motion2D_Exit();
    EXPECT_EQ(0, g_PlayFlag);
    EXPECT_EQ(nullptr, g_Motion2DWindows.motionDlg);
    EXPECT_EQ(nullptr, g_Motion2DWindows.list);
    int destroyed = 0;
    for (const std::string& c : UiRec().calls) destroyed += c.rfind("Destroy", 0) == 0;
    EXPECT_EQ(4, destroyed);
    g_Lib.monitorWidth = w;
    g_Lib.monitorHeight = h;
    g_ScreenGroup = saved[0];
    g_CurLayer = saved[1];
    g_DragTool = saved[2];
    g_TimelineLabelWidth = saved[3];
    g_TimelineTop = saved[4];
    g_CurPart = saved[5];
    g_HierRowCur = saved[6];
    g_KeyHoverRow = saved[7];
    g_LoopPlay = saved[8];
    g_ModeMenu = savedMenu;
}

} // namespace
