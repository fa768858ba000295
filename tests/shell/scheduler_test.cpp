// The one-view scheduler of the idle pass.
#include "shell_fixture.h"

namespace {

struct V { int exists, redraw, age; };

struct Case {
    const char* name;
    V views[4];
    int cur, editedOnly, play, buttons, right;
    int pick;
    int ages[4];  // after the pass
};

const Case kCases[] = {
    {"nothing dirty renders nothing, the current view still ages",
     {{1, 0, 0}, {1, 0, 5}, {1, 0, 0}, {1, 0, 0}}, 1, 0, 0, 0, 0, -1, {0, 8, 0, 0}},
    {"greatest age wins", {{1, 1, 2}, {1, 1, 9}, {1, 1, 4}, {1, 0, 0}}, 0, 0, 0, 0, 0, 1, {5, 0, 5, 0}},
    {"a tie goes to the lower index", {{1, 0, 0}, {1, 1, 4}, {1, 1, 4}, {1, 0, 0}}, 0, 0, 0, 0, 0, 1, {3, 0, 5, 0}},
    {"the current view ages by 3", {{1, 1, 0}, {1, 1, 2}, {1, 0, 0}, {1, 0, 0}}, 0, 0, 0, 0, 0, 0, {0, 3, 0, 0}},
    {"a dirty view that does not exist ages but is not picked",
     {{1, 0, 0}, {0, 1, 50}, {1, 1, 1}, {1, 0, 0}}, 0, 0, 0, 0, 0, 2, {3, 51, 0, 0}},
    {"edited view only: a held button forces the current view",
     {{1, 0, 0}, {1, 1, 7}, {1, 0, 0}, {1, 0, 0}}, 3, 1, 0, 1, 0, 3, {0, 0, 0, 3}},
    {"edited view only without a button: no forcing",
     {{1, 0, 0}, {1, 1, 7}, {1, 0, 0}, {1, 0, 0}}, 3, 1, 0, 0, 0, 1, {0, 0, 0, 3}},
    {"playback with the right button forces the current view",
     {{1, 1, 9}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}}, 2, 0, 1, 1, 1, 2, {0, 0, 3, 0}},
    {"playback with the left button only: no forcing",
     {{1, 1, 9}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}}, 2, 0, 1, 1, 0, 0, {0, 0, 3, 0}},
    {"ages saturate instead of overflowing",
     {{1, 0, 0}, {1, 1, kMaxViewAge}, {1, 1, kMaxViewAge - 1}, {1, 0, 0}}, 0, 0, 0, 0, 0, 1,
     {3, 0, kMaxViewAge, 0}},
};

TEST(Scheduler, Rules)
{
    for (const Case& c : kCases) {
        VIEW_REC row[kViewsPerScreen] = {};
        for (int i = 0; i < 4; ++i) {
            row[i].exists = c.views[i].exists;
            row[i].redraw = c.views[i].redraw;
            row[i].age = c.views[i].age;
        }
        int pick = View_Schedule(row, 4, c.cur, c.editedOnly, c.play, c.buttons, c.right);
        EXPECT_EQ(pick, c.pick) << c.name;
        for (int i = 0; i < 4; ++i) EXPECT_EQ(row[i].age, c.ages[i]) << c.name << " view " << i;
    }
}

TEST(Scheduler, TwoDirtyViewsTakeTurns)
{
    VIEW_REC row[kViewsPerScreen] = {};
    row[0].exists = row[1].exists = row[2].exists = 1;
    row[1].redraw = row[2].redraw = 1;
    int first = View_Schedule(row, 3, 0, 0, 0, 0, 0);
    row[first].redraw = 0;
    int second = View_Schedule(row, 3, 0, 0, 0, 0, 0);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
}

TEST(Scheduler, AgesStayBoundedOverManyPasses)
{
    VIEW_REC row[kViewsPerScreen] = {};
    row[0].exists = 1;
    row[1].redraw = 1;  // dirty but never existing: never rendered
    for (int i = 0; i < 1000; ++i) View_Schedule(row, 2, 1, 0, 0, 0, 0);
    row[1].age = kMaxViewAge - 2;
    for (int i = 0; i < 10; ++i) View_Schedule(row, 2, 1, 0, 0, 0, 0);
    EXPECT_EQ(row[1].age, kMaxViewAge);
}

using LoopPick = ShellTest;

TEST_F(LoopPick, PickedViewGetsItsCentreAndIsClean)
{
    VIEW_REC* row = g_Views[0];
    for (int i = 0; i < 4; ++i) row[i].redraw = 0;
    EXPECT_EQ(Loop_PickView(), -1);
    row[2].redraw = 1;
    row[2].width = 257;
    row[2].height = 101;
    EXPECT_EQ(Loop_PickView(), 2);
    EXPECT_EQ(g_PickedView, 2);
    EXPECT_EQ(row[2].centreX, 124);
    EXPECT_EQ(row[2].centreY, 24);
    EXPECT_EQ(row[2].redraw, 0);
    EXPECT_EQ(g_Draw3DScene, 0);  // a Top view: the editors draw the models
}

} // namespace
