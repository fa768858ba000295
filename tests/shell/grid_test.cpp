// The grid line lists and the gizmo's hover rule.
#include <gtest/gtest.h>

#include "shell/grid.h"

using namespace QVL;

namespace {

GRID_VIEW View(int type, float zoom, float px, float py, float pz)
{
    return GRID_VIEW{type, zoom, 124, 102, 256, 256, {px, py, pz}};
}

TEST(Grid, OrthoLinesAre40TimesZoomApartAroundTheWorldOrigin)
{
    std::vector<GRID_LINE2D> lines;
    Grid_OrthoLines(View(1, 0.25f, 0, 0, 0), nullptr, lines);
    ASSERT_EQ(39u * 4 + 2, lines.size());
    // k = 1: verticals at 124 ± 10, horizontals at 102 ± 10, over the whole outer size.
    const GRID_LINE2D want[4] = {{134, 0, 134, 256, 112, 112, 112, 255},
                                 {114, 0, 114, 256, 112, 112, 112, 255},
                                 {0, 112, 256, 112, 112, 112, 112, 255},
                                 {0, 92, 256, 92, 112, 112, 112, 255}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(want[i].x1, lines[i].x1) << i;
        EXPECT_EQ(want[i].y1, lines[i].y1) << i;
        EXPECT_EQ(want[i].x2, lines[i].x2) << i;
        EXPECT_EQ(want[i].y2, lines[i].y2) << i;
        EXPECT_EQ(112, lines[i].g) << i;
    }
    EXPECT_EQ(124 + 390, lines[4 * 38].x1);   // k = 39
    // The axis lines last, horizontal first, darker.
    const GRID_LINE2D& hAxis = lines[156];
    const GRID_LINE2D& vAxis = lines[157];
    EXPECT_EQ(0, hAxis.x1);
    EXPECT_EQ(102, hAxis.y1);
    EXPECT_EQ(256, hAxis.x2);
    EXPECT_EQ(80, hAxis.r);
    EXPECT_EQ(124, vAxis.x1);
    EXPECT_EQ(256, vAxis.y2);
}

TEST(Grid, OriginFollowsEachViewsMapping)
{
    struct Row {
        int type;
        float pan[3];
        int ox, oy;
    };
    // zoom 1: 40 pixels per unit; Top and Side keep the negated z in pan z.
    const Row rows[] = {{1, {1, 2, 3}, 124 - 40, 102 + 80},
                        {2, {1, 2, 3}, 124 - 40, 102 - 120},
                        {3, {1, 2, 3}, 124 + 120, 102 + 80},
                        {1, {0.5f, 0, 0}, 104, 102}};
    for (const Row& r : rows) {
        std::vector<GRID_LINE2D> lines;
        Grid_OrthoLines(View(r.type, 1.0f, r.pan[0], r.pan[1], r.pan[2]), nullptr, lines);
        ASSERT_EQ(158u, lines.size());
        EXPECT_EQ(r.oy, lines[156].y1) << "type " << r.type;
        EXPECT_EQ(r.ox, lines[157].x1) << "type " << r.type;
    }
    std::vector<GRID_LINE2D> none;
    Grid_OrthoLines(View(0, 1.0f, 0, 0, 0), nullptr, none);
    Grid_OrthoLines(View(4, 1.0f, 0, 0, 0), nullptr, none);
    EXPECT_TRUE(none.empty()) << "the main and perspective views get no pixel grid";
}

TEST(Grid, MainTargetCrossPerViewType)
{
    const float target[3] = {1, 1, 1};
    struct Row {
        int type;
        GRID_LINE2D first, second;
    };
    // Each view's pan is 0: the target lies at (124 + 40 a, 102 - 40 b) for its two axes.
    const Row rows[] = {
        {1, {164, 62, 228, 62, 255, 0, 0, 196}, {164, 62, 164, -2, 0, 255, 0, 196}},
        {2, {164, 62, 228, 62, 255, 0, 0, 196}, {164, 62, 164, 126, 0, 0, 255, 196}},
        {3, {164, 62, 100, 62, 0, 0, 255, 196}, {164, 62, 164, -2, 0, 255, 0, 196}},
    };
    for (const Row& r : rows) {
        std::vector<GRID_LINE2D> lines;
        Grid_OrthoLines(View(r.type, 1.0f, 0, 0, 0), target, lines);
        ASSERT_EQ(160u, lines.size());
        const GRID_LINE2D* got[2] = {&lines[158], &lines[159]};
        const GRID_LINE2D* want[2] = {&r.first, &r.second};
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(want[i]->x1, got[i]->x1) << r.type << " arm " << i;
            EXPECT_EQ(want[i]->y1, got[i]->y1) << r.type << " arm " << i;
            EXPECT_EQ(want[i]->x2, got[i]->x2) << r.type << " arm " << i;
            EXPECT_EQ(want[i]->y2, got[i]->y2) << r.type << " arm " << i;
            EXPECT_EQ(want[i]->r, got[i]->r) << r.type << " arm " << i;
            EXPECT_EQ(want[i]->b, got[i]->b) << r.type << " arm " << i;
            EXPECT_EQ(196, got[i]->a);
        }
    }
}

TEST(Grid, CoordinatesAreTruncatedTowardZero)
{
    std::vector<GRID_LINE2D> lines;
    GRID_VIEW v{1, 0.3f, 10, 10, 100, 100, {0.5f, 0, 0}};   // s = 12, origin x = 4
    Grid_OrthoLines(v, nullptr, lines);
    EXPECT_EQ(16, lines[0].x1);
    EXPECT_EQ(-8, lines[1].x1);   // 4 - 12 = -8 exactly
    EXPECT_EQ(4 - 24, lines[5].x1);
    v.pan[0] = 0.6f;              // origin x = 2.8: -9.2 becomes -9, not -10
    lines.clear();
    Grid_OrthoLines(v, nullptr, lines);
    EXPECT_EQ(-9, lines[1].x1);
}

TEST(Grid, GroundGridLinesAndAxes)
{
    std::vector<GRID_LINE3D> lines;
    Grid_GroundLines(lines);
    ASSERT_EQ(41u * 2 + 2, lines.size());
    EXPECT_EQ(-20.0f, lines[0].from[0]);
    EXPECT_EQ(20.0f, lines[0].from[2]);
    EXPECT_EQ(-20.0f, lines[0].to[2]);
    EXPECT_EQ(-20.0f, lines[1].from[0]);
    EXPECT_EQ(-20.0f, lines[1].from[2]);
    EXPECT_EQ(20.0f, lines[1].to[0]);
    EXPECT_EQ(20.0f, lines[81].from[2]);   // b = 20
    for (const GRID_LINE3D& l : lines) {
        EXPECT_EQ(0.0f, l.from[1]);
        EXPECT_EQ(0.0f, l.to[1]);
    }
    EXPECT_EQ(112, lines[0].r);
    EXPECT_EQ(80, lines[82].r);
    EXPECT_EQ(0.0f, lines[82].from[2]);
    EXPECT_EQ(80, lines[83].g);
    EXPECT_EQ(0.0f, lines[83].from[0]);
}

TEST(Gizmo, HoverTakesTheNearestHandleAndTiesKeepTheLowerAxis)
{
    const int32_t pts[4][2] = {{100, 100}, {140, 100}, {100, 60}, {80, 120}};
    struct Row {
        int x, y, axis;
    };
    const Row rows[] = {
        {140, 100, 0}, {100, 60, 1}, {80, 120, 2},
        {120, 80, 0},   // X and Y both 40 away: X
        {90, 90, 1},    // X 60, Y 40, Z 40: Y stays over Z
        {85, 115, 2},
    };
    for (const Row& r : rows) EXPECT_EQ(r.axis, Gizmo_HoverAxis(pts, r.x, r.y)) << r.x << "," << r.y;
}

TEST(Gizmo, InactiveHandlesAreOpaqueActiveOnesDimAllButTheHovered)
{
    for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(255, Gizmo_HandleAlpha(false, axis, 1));
    EXPECT_EQ(64, Gizmo_HandleAlpha(true, 0, 1));
    EXPECT_EQ(255, Gizmo_HandleAlpha(true, 1, 1));
    EXPECT_EQ(64, Gizmo_HandleAlpha(true, 2, 1));
}

} // namespace
