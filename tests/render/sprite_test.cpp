// Sprite corners, colours and texture coordinates.
#include <gtest/gtest.h>

#include "render/sprite.h"

using QVL::SPRITE_QUAD;

namespace {

void ExpectCorners(const SPRITE_QUAD& q, std::initializer_list<int> xy)
{
    auto it = xy.begin();
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(*it++, q.x[k]) << "corner " << k;
        EXPECT_EQ(*it++, q.y[k]) << "corner " << k;
    }
}

TEST(Sprite, PlainUsesTheWholeTextureColouredStopsShortOfTheEdges)
{
    SPRITE_QUAD q;
    Sprite_Plain(&q, 10, 20, 64, 32);
    ExpectCorners(q, {10, 20, 74, 20, 74, 52, 10, 52});
    EXPECT_EQ(0.0f, q.u[0]);
    EXPECT_EQ(1.0f, q.u[1]);
    EXPECT_EQ(1.0f, q.v[2]);
    EXPECT_EQ(255, q.r);
    EXPECT_EQ(255, q.a);
    Sprite_Colored(&q, 10, 20, 64, 32, 1, 2, 3, 4);
    ExpectCorners(q, {10, 20, 74, 20, 74, 52, 10, 52});
    EXPECT_EQ(0.01f, q.u[0]);
    EXPECT_EQ(0.99f, q.u[1]);
    EXPECT_EQ(0.99f, q.v[3]);
    EXPECT_EQ(3, q.b);
}

TEST(Sprite, RotationTurnsClockwiseOnScreen)
{
    SPRITE_QUAD q;
    // No turn: the corners around the centre, scaled.
    Sprite_Rotated(&q, 100, 100, 40, 20, 0, 2, 1, 255, 255, 255, 255);
    ExpectCorners(q, {60, 90, 140, 90, 140, 110, 60, 110});
    // 90 degrees: the local corner (x1, y0) = (20, -10) goes to (x - y0, y + x1).
    Sprite_Rotated(&q, 100, 100, 40, 20, 90, 1, 1, 300, 2, 3, 256);
    EXPECT_NEAR(110, q.x[1], 1);
    EXPECT_NEAR(120, q.y[1], 1);
    EXPECT_EQ(44, q.r) << "colours keep their low 8 bits";
    EXPECT_EQ(0, q.a);
    EXPECT_EQ(0.01f, q.u[0]);
}

TEST(Sprite, CornersAndPixelCoordinates)
{
    SPRITE_QUAD q;
    const int corners[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    Sprite_Corners(&q, corners, 9, 8, 7, 6);
    ExpectCorners(q, {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(0.99f, q.u[2]);
    const double c[8] = {1.9, 2.2, -3.7, 4, 5, 6, 7, 8};
    const double uv[8] = {0, 0, 32, 0, 32, 16, 0, 64};
    Sprite_Uv(&q, c, uv, 64, 32, 1, 1, 1, 1);
    ExpectCorners(q, {1, 2, -3, 4, 5, 6, 7, 8});
    EXPECT_FLOAT_EQ(0.5f, q.u[1]);
    EXPECT_FLOAT_EQ(0.5f, q.v[2]);
    EXPECT_FLOAT_EQ(2.0f, q.v[3]);
}

} // namespace
