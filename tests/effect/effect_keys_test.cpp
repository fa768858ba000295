#include <gtest/gtest.h>

#include <vector>

#include "effect/effect.h"
#include "support/effect_fixtures.h"

namespace {

QVL::EFFECT_PART PartWithKeys(std::initializer_list<int32_t> frames)
{
    QVL::EFFECT_PART p;
    Effect_InitPart(p);
    p.keyCount = 0;
    for (int32_t f : frames) {
        Fixture_FillKey(p.keys[p.keyCount], f, (float)(f + 1));
        ++p.keyCount;
    }
    return p;
}

std::vector<int32_t> Frames(const QVL::EFFECT_PART& p)
{
    std::vector<int32_t> out;
    for (int32_t k = 0; k < p.keyCount; ++k) out.push_back(p.keys[k].frame);
    return out;
}

} // namespace

TEST(EffectKeys, CreateKeepsKeysSortedAndTakesTheCurrentValues)
{
    struct Case {
        std::initializer_list<int32_t> before;
        int32_t frame;
        EFFECT_KEY_RESULT result;
        std::vector<int32_t> after;
        int32_t slot;
    } cases[] = {
        {{0, 20}, 10, EFFECT_KEY_DONE, {0, 10, 20}, 1},
        {{5, 10}, 2, EFFECT_KEY_DONE, {2, 5, 10}, 0},
        {{5, 10}, 30, EFFECT_KEY_DONE, {5, 10, 30}, 2},
        {{5, 10}, 10, EFFECT_KEY_NONE, {5, 10}, -1},   // a key already stands there
    };
    for (const Case& c : cases) {
        QVL::EFFECT_PART p = PartWithKeys(c.before);
        p.curPosition[0] = 70.0f;
        p.curRotation[2] = 45.0f;
        p.curScale[0] = 2.0f;
        p.curColor[1] = 128.0f;
        EXPECT_EQ(c.result, EffectPart_CreateKey(&p, c.frame));
        EXPECT_EQ(c.after, Frames(p));
        if (c.slot < 0) continue;
        const QVL::EFFECT_KEY& k = p.keys[c.slot];
        EXPECT_EQ(1, k.shown);
        EXPECT_EQ(0, k.blend);
        EXPECT_EQ(0, k.reserved);
        EXPECT_EQ(70.0f, k.position[0]);
        EXPECT_EQ(45.0f, k.rotation[2]);
        EXPECT_EQ(2.0f, k.scale[0]);
        EXPECT_EQ(128.0f, k.color[1]);
    }
}

TEST(EffectKeys, NewKeyKeepsTheEmitterValuesOfItsSlot)
{
    // Keys 0 and 20: the new key on 10 takes over the slot of the key that followed it.
    QVL::EFFECT_PART p = PartWithKeys({0, 20});
    const QVL::EFFECT_KEY following = p.keys[1];
    EffectPart_CreateKey(&p, 10);
    EXPECT_EQ(following.texture, p.keys[1].texture);
    EXPECT_EQ(following.emitInterval, p.keys[1].emitInterval);
    EXPECT_EQ(following.speed[1], p.keys[1].speed[1]);
    EXPECT_TRUE(Fixture_SameKey(following, p.keys[2]));
    // The default emitter prepares its second slot with texture 1 and interval 10.
    QVL::EFFECT_PART e = PartWithKeys({0});
    e.keys[1] = QVL::EFFECT_KEY{};
    e.keys[1].texture = 1;
    e.keys[1].emitInterval = 10;
    EffectPart_CreateKey(&e, 30);
    EXPECT_EQ(1, e.keys[1].texture);
    EXPECT_EQ(10, e.keys[1].emitInterval);
}

// A key created where the part stands keeps it there: the key holds the position without the part's
// origin, which the interpolation adds.
TEST(EffectKeys, CreatedKeyDoesNotMoveThePart)
{
    Effect_EraseAllData();
    int32_t id = Effect_DataCreate();
    QVL::EFFECT* e = Effect_GetData(id);
    e->parts.push_back(PartWithKeys({0, 20}));
    QVL::EFFECT_PART& p = e->parts[0];
    p.origin[0] = 30.0f;
    p.origin[1] = 20.0f;
    p.origin[2] = 1.0f;
    Effect_InterpolatePartKey(id, 0, 0, 0.5f);
    const float x = p.curPosition[0], y = p.curPosition[1], z = p.curPosition[2];
    ASSERT_EQ(EFFECT_KEY_DONE, EffectPart_CreateKey(&p, 10));
    EXPECT_FLOAT_EQ(x - 30.0f, p.keys[1].position[0]);
    Effect_InterpolatePartKey(id, 0, 1, 0.0f);
    EXPECT_FLOAT_EQ(x, p.curPosition[0]);
    EXPECT_FLOAT_EQ(y, p.curPosition[1]);
    EXPECT_FLOAT_EQ(z, p.curPosition[2]);
}

TEST(EffectKeys, FullPartRefusesNewKeys)
{
    QVL::EFFECT_PART p = PartWithKeys({0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30});
    ASSERT_EQ(16, p.keyCount);
    const QVL::EFFECT_PART before = p;
    QVL::EFFECT_KEY clip{};
    clip.texture = 9;
    EXPECT_EQ(EFFECT_KEY_FULL, EffectPart_CreateKey(&p, 5));
    EXPECT_EQ(EFFECT_KEY_FULL, EffectPart_PasteKey(&p, 5, clip));
    EXPECT_EQ(16, p.keyCount);
    for (int32_t k = 0; k < 16; ++k) EXPECT_TRUE(Fixture_SameKey(before.keys[k], p.keys[k])) << k;
    // Pasting onto a key that stands there still works in a full part.
    EXPECT_EQ(EFFECT_KEY_DONE, EffectPart_PasteKey(&p, 6, clip));
    EXPECT_EQ(9, p.keys[3].texture);
    EXPECT_EQ(6, p.keys[3].frame);
}

TEST(EffectKeys, DeleteMovesLaterKeysDownAndKeepsTheLastKey)
{
    QVL::EFFECT_PART p = PartWithKeys({0, 10, 20});
    const QVL::EFFECT_KEY last = p.keys[2];
    EXPECT_EQ(EFFECT_KEY_NONE, EffectPart_DeleteKey(&p, 5));
    EXPECT_EQ(EFFECT_KEY_DONE, EffectPart_DeleteKey(&p, 10));
    EXPECT_EQ((std::vector<int32_t>{0, 20}), Frames(p));
    EXPECT_TRUE(Fixture_SameKey(last, p.keys[2]));   // the slot after the last keeps its copy
    EXPECT_EQ(EFFECT_KEY_DONE, EffectPart_DeleteKey(&p, 0));
    EXPECT_EQ(EFFECT_KEY_LAST, EffectPart_DeleteKey(&p, 20));
    EXPECT_EQ(1, p.keyCount);
    EXPECT_EQ(20, p.keys[0].frame);
}

TEST(EffectKeys, PasteCopiesTheClipOntoTheFrame)
{
    QVL::EFFECT_PART p = PartWithKeys({0, 20});
    QVL::EFFECT_KEY clip;
    Fixture_FillKey(clip, 99, 50.0f);
    EXPECT_EQ(EFFECT_KEY_DONE, EffectPart_PasteKey(&p, 10, clip));
    EXPECT_EQ((std::vector<int32_t>{0, 10, 20}), Frames(p));
    QVL::EFFECT_KEY want = clip;
    want.frame = 10;
    EXPECT_TRUE(Fixture_SameKey(want, p.keys[1]));
}

TEST(EffectKeys, NeighbouringKeyFrames)
{
    QVL::EFFECT_PART p = PartWithKeys({5, 10, 30});
    struct Case { int32_t frame, prev, next; } cases[] = {
        {0, 0, 5}, {5, 5, 10}, {7, 5, 10}, {10, 5, 30}, {30, 10, 30}, {40, 30, 40},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.prev, EffectPart_PrevKeyFrame(&p, c.frame)) << c.frame;
        EXPECT_EQ(c.next, EffectPart_NextKeyFrame(&p, c.frame)) << c.frame;
    }
    EXPECT_EQ(1, EffectPart_FindKey(&p, 10));
    EXPECT_EQ(-1, EffectPart_FindKey(&p, 11));
}

TEST(EffectKeys, FrameCountIsClamped)
{
    struct Case { int64_t typed; int32_t count; } cases[] = {
        {60, 60}, {1, 1}, {0, 1}, {-5, 1}, {(int64_t)QVL::kEffectMaxFrames + 1, QVL::kEffectMaxFrames},
    };
    for (const Case& c : cases) EXPECT_EQ(c.count, Effect_ClampFrameCount(c.typed)) << c.typed;
}
