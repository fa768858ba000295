// Blend and fill tables, the one-quad blend, colour packing, the 2D mapping and the world transform.
#include <gtest/gtest.h>

#include "frame/math3d.h"
#include "render/immediate.h"

using namespace QVL;

namespace {

TEST(Blend, TableOfModes)
{
    struct Row {
        BLEND mode;
        bool valid;
        BLEND_STATES s;
    };
    const Row rows[] = {
        {0, true, {BLENDOP_ADD, BLEND_INVSRCALPHA, BLEND_SRCALPHA}},
        {1, true, {BLENDOP_ADD, BLEND_ONE, BLEND_SRCALPHA}},
        {2, true, {BLENDOP_REVSUBTRACT, BLEND_ONE, BLEND_SRCALPHA}},
        {3, true, {BLENDOP_ADD, BLEND_ONE, BLEND_ONE}},
        {4, false, {}},
        {-1, false, {}},
    };
    for (const Row& r : rows) {
        BLEND_STATES s{99, 99, 99};
        EXPECT_EQ(r.valid, Draw_BlendStates(r.mode, &s)) << r.mode;
        if (!r.valid) {
            EXPECT_EQ(99u, s.op) << "an unknown mode leaves the states alone";
            continue;
        }
        EXPECT_EQ(r.s.op, s.op) << r.mode;
        EXPECT_EQ(r.s.dest, s.dest) << r.mode;
        EXPECT_EQ(r.s.src, s.src) << r.mode;
    }
}

TEST(Blend, AModeLastsForExactlyOneQuad)
{
    BLEND_STATES alpha, additive;
    Draw_BlendStates(0, &alpha);
    Draw_BlendStates(1, &additive);

    Draw_SetBlendMode(1);
    QUAD_BLEND_PLAN first = Draw_TakeQuadBlendPlan();
    ASSERT_TRUE(first.beforeValid);
    EXPECT_EQ(additive.dest, first.before.dest);
    EXPECT_EQ(alpha.dest, first.after.dest) << "the device is alpha-blended again after the quad";
    EXPECT_EQ(0, g_BlendMode);

    QUAD_BLEND_PLAN second = Draw_TakeQuadBlendPlan();
    ASSERT_TRUE(second.beforeValid);
    EXPECT_EQ(alpha.op, second.before.op);
    EXPECT_EQ(alpha.dest, second.before.dest);
    EXPECT_EQ(alpha.src, second.before.src);

    // An unknown mode sets nothing before its quad, but the reset still happens.
    Draw_SetBlendMode(9);
    QUAD_BLEND_PLAN odd = Draw_TakeQuadBlendPlan();
    EXPECT_FALSE(odd.beforeValid);
    EXPECT_EQ(alpha.src, odd.after.src);
    EXPECT_EQ(0, g_BlendMode);
}

TEST(Fill, TableOfShadingCodes)
{
    struct Row {
        int code;
        bool valid;
        uint32_t fill, shade;
    };
    const Row rows[] = {{0, false, 0, 0},
                        {1, true, FILL_POINT, SHADE_GOURAUD},
                        {2, true, FILL_WIREFRAME, SHADE_GOURAUD},
                        {3, true, FILL_SOLID, SHADE_FLAT},
                        {4, true, FILL_SOLID, SHADE_GOURAUD},
                        {5, true, FILL_SOLID, SHADE_GOURAUD},
                        {6, false, 0, 0}};
    for (const Row& r : rows) {
        FILL_STATES s{0, 0};
        EXPECT_EQ(r.valid, Draw_FillStates(r.code, &s)) << r.code;
        EXPECT_EQ(r.fill, s.fill) << r.code;
        EXPECT_EQ(r.shade, s.shade) << r.code;
    }
}

TEST(Colour, PackingKeepsLowBytes)
{
    struct Row {
        int r, g, b, a;
        uint32_t packed;
    };
    const Row rows[] = {
        {255, 128, 0, 255, 0xFF008000u + 0x00FF0000u},
        {0, 0, 0, 0, 0x00000000u},
        {256, 257, 511, 255, 0xFF0001FFu},   // components above 255 keep their low 8 bits
        {1, 2, 3, 0x1FF, 0xFF010203u},        // alpha's high bits fall off the shift
        {-1, 0, 0, 0, 0x00FF0000u},
    };
    for (const Row& r : rows) EXPECT_EQ(r.packed, Draw_PackColor(r.r, r.g, r.b, r.a)) << std::hex << r.packed;
}

TEST(Map2D, GameScreenModesCentreThe640x480ScreenAndFollowThePan)
{
    struct Row {
        float scaleX, scaleY;
        bool game;
        int monW, monH;
        float panX, panY;
        float x, y, wantX, wantY;
    };
    const Row rows[] = {
        // mode 11 (no game screen): the point stays where it is
        {1, 1, false, 1920, 1080, -160, -120, 0, 0, 0, 0},
        // mode 20: ((1920 - 640) / 2 + pan x, (1080 - 480) / 2 + pan y)
        {1, 1, true, 1920, 1080, -160, -120, 0, 0, 480, 180},
        {1, 1, true, 1920, 1080, 0, 0, 10, 20, 650, 320},
        // the window scale comes first
        {1.5f, 1.5f, false, 1920, 1080, 0, 0, 100, 100, 150, 150},
        {1.5f, 2.0f, true, 1280, 720, 5, 6, 10, 10, 340, 146},
    };
    for (const Row& r : rows) {
        MAP2D map = Draw_MakeMap2D(r.scaleX, r.scaleY, r.game, r.monW, r.monH, r.panX, r.panY);
        float x, y;
        Draw_Map2DPoint(map, r.x, r.y, &x, &y);
        EXPECT_FLOAT_EQ(r.wantX, x);
        EXPECT_FLOAT_EQ(r.wantY, y);
    }
}

TEST(WorldTransform, AnglesGoToTheirOwnAxes)
{
    // A turn about x of 90 degrees takes +y to +z (left-handed rows), one about y takes +z to +x,
    // one about z takes +x to +y; the translation and scale apply around them.
    struct Row {
        float rx, ry, rz;
        VEC3 in, want;
    };
    const Row rows[] = {
        {90, 0, 0, {0, 1, 0}, {0, 0, 1}},
        {0, 90, 0, {0, 0, 1}, {1, 0, 0}},
        {0, 0, 90, {1, 0, 0}, {0, 1, 0}},
        {0, 0, 0, {1, 2, 3}, {1, 2, 3}},
    };
    for (const Row& r : rows) {
        MATRIX m;
        Draw_WorldMatrix(&m, 0, 0, 0, r.rx, r.ry, r.rz, 1, 1, 1);
        VEC3 p;
        Math_TransformPoint(&p, r.in.x, r.in.y, r.in.z, m);
        EXPECT_NEAR(r.want.x, p.x, 1e-6f) << r.rx << " " << r.ry << " " << r.rz;
        EXPECT_NEAR(r.want.y, p.y, 1e-6f) << r.rx << " " << r.ry << " " << r.rz;
        EXPECT_NEAR(r.want.z, p.z, 1e-6f) << r.rx << " " << r.ry << " " << r.rz;
    }
    MATRIX m;
    Draw_WorldMatrix(&m, 10, 20, 30, 0, 0, 0, 2, 3, 4);
    VEC3 p;
    Math_TransformPoint(&p, 1, 1, 1, m);
    EXPECT_FLOAT_EQ(12.0f, p.x);
    EXPECT_FLOAT_EQ(23.0f, p.y);
    EXPECT_FLOAT_EQ(34.0f, p.z);
}

} // namespace
