#include <gtest/gtest.h>

#include <vector>

#include "frame/math3d.h"
#include "model/obj2.h"
#include "support/effect_fixtures.h"
#include "support/model_recorder.h"
#include "support/recorder.h"

namespace {

class Obj2Anim : public ::testing::Test {
protected:
    void SetUp() override
    {
        Obj2_ReleaseAll();
        Rec().Clear();
        ModelRec().Clear();
        id = Obj2_Create();
        rec = Obj2_GetById(id);
    }
    int32_t id = -1;
    QVL::OBJ2* rec = nullptr;

    std::vector<QVL::OBJ2_KEY>& Keys(int32_t part) { return rec->parts[part].keyLists[0].keys; }

    void SetKeys(int32_t part, std::initializer_list<int32_t> frames)
    {
        Keys(part).clear();
        float v = 0.0f;
        for (int32_t f : frames) {
            QVL::OBJ2_KEY k = Fixture_Obj2Key(f, v);
            k.x = v;
            Keys(part).push_back(k);
            v += 10.0f;
        }
    }

    // Gives image j a texture of 32 x 32 through the recorder.
    void LoadImage(int32_t j) { Obj2_LoadImage(id, j, "img.bmp"); }
};

} // namespace

TEST_F(Obj2Anim, KeyIndexTable)
{
    struct Case { std::initializer_list<int32_t> frames; int32_t length, frame, key; float fraction; } cases[] = {
        {{0}, 60, 30, 0, 0.0f},
        {{0, 20, 40}, 60, 10, 0, 0.5f},
        {{0, 20, 40}, 60, 20, 1, 0.0f},
        {{0, 20, 40}, 60, 50, 2, 0.5f},           // wrap: (50 - 40) / (60 + 0 - 40)
        {{10, 30}, 60, 5, 1, 35.0f / 40.0f},      // before the first key: (60 + 5 - 30) / (60 + 10 - 30)
        {{10, 10, 30}, 60, 10, 1, 0.0f},          // two keys on one frame
        {{0, 50}, 20, 55, 1, 0.0f},               // a motion shorter than the wrap: no division by 0
    };
    for (const Case& c : cases) {
        SetKeys(1, c.frames);
        rec->motions[0].length = c.length;
        rec->frame = c.frame;
        Obj2_UpdateKeyIndices(id);
        EXPECT_EQ(c.key, rec->parts[1].keyIndex) << c.frame;
        EXPECT_FLOAT_EQ(c.fraction, rec->parts[1].fraction) << c.frame;
    }
}

TEST_F(Obj2Anim, InterpolationWrapsAndClampsOnlyAlpha)
{
    SetKeys(1, {0, 20, 40});
    Keys(1)[0].a = Keys(1)[1].a = Keys(1)[2].a = 300;
    Keys(1)[0].r = Keys(1)[1].r = Keys(1)[2].r = 300;
    Obj2_InterpPartKey(id, 1, 2, 0.5f);
    const QVL::OBJ2_PART& p = rec->parts[1];
    EXPECT_FLOAT_EQ(Anim_CatmullRom(10.0f, 20.0f, 0.0f, 10.0f, 0.5f), p.x);   // keys 1, 2, 0, 1
    EXPECT_EQ(255, p.a);
    EXPECT_EQ(300, p.r);
    EXPECT_EQ(Keys(1)[2].image, p.image);
    // No keys: the defaults; one key: that key.
    Keys(1).clear();
    Obj2_InterpPartKey(id, 1, 0, 0.0f);
    EXPECT_EQ(0, rec->parts[1].shown);
    EXPECT_EQ(1.0f, rec->parts[1].scaleX);
    SetKeys(1, {5});
    Keys(1)[0].y = 7.0f;
    Obj2_InterpPartKey(id, 1, 3, 0.4f);
    EXPECT_EQ(7.0f, rec->parts[1].y);
    // Parts without key lists get the defaults.
    rec->parts[9].shown = 1;
    Obj2_InterpPartKey(id, 9, 0, 0.0f);
    EXPECT_EQ(0, rec->parts[9].shown);
}

TEST_F(Obj2Anim, QuadsFollowThePivotAndTheParentChain)
{
    LoadImage(0);
    rec->pivotX[0] = 16;
    rec->pivotY[0] = 8;
    rec->partCount = 3;
    rec->parents[2] = 1;
    SetKeys(1, {0});
    SetKeys(2, {0});
    Keys(1)[0] = Fixture_Obj2Key(0, 0.0f);
    Keys(1)[0].x = 100.0f;
    Keys(1)[0].y = 50.0f;
    Keys(1)[0].scaleX = Keys(1)[0].scaleY = 1.0f;
    Keys(1)[0].image = 0;
    Keys(2)[0] = Keys(1)[0];
    Keys(2)[0].x = 10.0f;
    Keys(2)[0].y = 0.0f;
    Keys(2)[0].r = 300;
    Keys(2)[0].a = 255;
    Obj2_SetPosition(rec, 5.0f, 6.0f);
    Obj2_Animate(rec);
    std::vector<QVL::OBJ2_QUAD> quads;
    Obj2_BuildQuads(rec, quads);
    ASSERT_EQ(2u, quads.size());
    const int32_t want1[8] = {89, 48, 121, 48, 121, 80, 89, 80};   // 100 - 16 + 5, 50 - 8 + 6, ...
    const int32_t want2[8] = {99, 48, 131, 48, 131, 80, 99, 80};   // child: its own x on top of its parent's
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(want1[c], quads[0].corners[c]) << c;
        EXPECT_EQ(want2[c], quads[1].corners[c]) << c;
    }
    EXPECT_EQ(255, quads[1].r);   // clamped when drawn only
    EXPECT_EQ(300, rec->parts[2].r);
    EXPECT_EQ(110, Obj2_GetRender(id)->origin[2][0]);   // without the object position
    EXPECT_EQ(quads[1].corners[2], Obj2_GetRender(id)->corners[2][2]);

    // A hidden part, an image without a texture, an invisible object: nothing.
    rec->parts[2].image = 5;
    rec->parts[1].shown = 0;
    Obj2_BuildQuads(rec, quads);
    EXPECT_TRUE(quads.empty());
    rec->parts[1].shown = 1;
    rec->visible = 0;
    Obj2_BuildQuads(rec, quads);
    EXPECT_TRUE(quads.empty());
}

TEST_F(Obj2Anim, ParentLoopEndsInsteadOfRecursing)
{
    LoadImage(0);
    rec->partCount = 3;
    rec->parents[1] = 2;
    rec->parents[2] = 1;
    rec->parts[1].shown = rec->parts[2].shown = 1;
    rec->parts[1].scaleX = rec->parts[1].scaleY = rec->parts[2].scaleX = rec->parts[2].scaleY = 1.0f;
    std::vector<QVL::OBJ2_QUAD> quads;
    Obj2_BuildQuads(rec, quads);
    EXPECT_EQ(2u, quads.size());
}

TEST_F(Obj2Anim, WithoutImageZeroEveryPartStaysAtTheOrigin)
{
    rec->partCount = 2;
    rec->parts[1].x = 40.0f;
    Obj2_BuildPartMatrices(id);
    QVL::VEC3 v;
    Math_TransformPoint(&v, 0.0f, 0.0f, 0.0f, Obj2_GetRender(id)->world[1]);
    EXPECT_EQ(0.0f, v.x);
    LoadImage(0);
    Obj2_BuildPartMatrices(id);
    Math_TransformPoint(&v, 0.0f, 0.0f, 0.0f, Obj2_GetRender(id)->world[1]);
    EXPECT_EQ(40.0f, v.x);
}
