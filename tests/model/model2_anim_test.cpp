// QVB animation: the key search, the wrap interval and the one- and two-bone skinning.
#include <cmath>

#include "model/model2.h"
#include "model/model_expect.h"

namespace {

class Model2Anim : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        for (int i = 0; i < kModel2Slots; ++i) Model2_FreeSlot(i);
    }
    void TearDown() override
    {
        for (int i = 0; i < kModel2Slots; ++i) Model2_FreeSlot(i);
        ModelTest::TearDown();
    }
    // A model in use in slot 0 made with its arrays.
    MODEL2* InUse()
    {
        g_Lib.allocArrays = 1;
        MODEL2* m = Model2_Create(0);
        g_Model2InUse[0] = 1;
        return m;
    }
};

TEST_F(Model2Anim, KeySearchAndWrapInterval)
{
    struct KeyCase {
        int32_t first, last, length, frame;
        int32_t index;
        float fraction;
    };
    const KeyCase cases[] = {
        {0, 30, 60, 15, 0, 0.5f},
        {0, 30, 60, 45, 1, 0.5f},
        {0, 30, 60, 30, 1, 0.0f},
        {10, 40, 60, 5, 1, 25.0f / 30.0f},    // before the first key: (60 - 40 + 5) / (10 + 60 - 40)
        {10, 70, 60, 5, 1, 0.0f},             // first + L - last = 0: no wrap interval, no division
        {10, 70, 60, 75, 1, 0.0f},
    };
    MODEL2* m = InUse();
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.frame);
        m->motions[0].length = c.length;
        m->bones[1].keyLists[0].keys = {{c.first, 0, 0, 0, 1, 1}, {c.last, 0, 0, 0, 1, 1}};
        m->currentFrame = c.frame;
        Model2_UpdateKeyIndices(0);
        EXPECT_EQ(c.index, m->bones[1].keyIndex);
        EXPECT_FLOAT_EQ(c.fraction, m->bones[1].fraction);
        EXPECT_TRUE(std::isfinite(m->bones[1].fraction));
    }
}

TEST_F(Model2Anim, SkinningByOneAndTwoBones)
{
    MODEL2* m = InUse();
    m->boneCount = 3;
    // Bone 1 rests at (10, 0) and is keyed 5 to the right and turned; bone 2 rests at (0, 20), unkeyed
    // movement but scaled by 2.
    m->bones[1].restX = 10.0f;
    m->bones[1].keyLists[0].keys = {{0, 5, 0, 90, 1, 1}};
    m->bones[2].restY = 20.0f;
    m->bones[2].keyLists[0].keys = {{0, 0, 0, 0, 2, 2}};
    m->vertexCount = 6;
    m->vertices = {{3, 4}, {10, 0}, {10, 0}, {0, 21}, {1, 1}, {7, 7}};
    m->bindings = {
        {0, 0, 1.0f, 1},     // bone 0 never moves
        {1, 0, 1.0f, 1},     // on the pivot of bone 1: lands at its keyed place
        {1, 2, 0.5f, 1},     // halfway between bone 1 and bone 2's results
        {2, 0, 0.0f, 1},     // weight 0: bone A alone; one below the pivot, scaled by 2
        {200, 0, 1.0f, 1},   // bone A past the bone count: stays
        {1, 130, 0.5f, 1},   // bone B past the table: bone A alone
    };
    m->deformed.assign(6, XY2{});
    Model2_SkinModels();
    const XY2 expect[6] = {{3, 4}, {15, 0}, {(15.0f + 20.0f) * 0.5f, (0.0f + -20.0f) * 0.5f}, {0, 22}, {1, 1}, {0, 0}};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(expect[i].x, m->deformed[i].x, 1e-4f);
        EXPECT_NEAR(expect[i].y, m->deformed[i].y, 1e-4f);
    }
    // Vertex 5 follows bone 1 alone: (7 - 10, 7) turned by 90 degrees about bone 1's place.
    VEC3 alone;
    Model2_PoseTransform(&alone, 0, 1, -3.0f, 7.0f, 0.0f);
    EXPECT_EQ(alone.x, m->deformed[5].x);
    EXPECT_EQ(alone.y, m->deformed[5].y);
}

TEST_F(Model2Anim, ModelsWithoutKeyListsAndModelsNotInUse)
{
    // A record made without arrays has no key lists: its bones take the neutral pose.
    MODEL2* bare = Model2_Create(1);
    g_Model2InUse[1] = 1;
    bare->boneCount = 2;
    bare->bones[1].restX = 4.0f;
    bare->vertexCount = 1;
    bare->vertices = {{4, 1}};
    bare->bindings = {{1, 0, 1.0f, 1}};
    MODEL2* idle = Model2_Create(2);
    idle->deformed = {{9, 9}};
    idle->vertices = {{1, 1}};
    idle->bindings = {{0, 0, 1.0f, 1}};
    idle->vertexCount = 1;
    Model2_SkinModels();
    ASSERT_EQ(1u, bare->deformed.size());
    EXPECT_EQ(4.0f, bare->deformed[0].x);
    EXPECT_EQ(1.0f, bare->deformed[0].y);
    EXPECT_EQ(9.0f, idle->deformed[0].x);   // not in use: kept from the last pass
}

TEST_F(Model2Anim, FramesAdvanceAndLoop)
{
    MODEL2* m = InUse();
    m->motions[0].length = 3;
    Model2_AdvanceFrame(m, 2.5f);
    EXPECT_EQ(2, m->currentFrame);
    EXPECT_FLOAT_EQ(0.5f, m->frameFraction);
    Model2_AdvanceFrame(m, 0.5f);
    EXPECT_EQ(0, m->currentFrame);
    Model2_AdvanceFrame(m, NAN);
    Model2_AdvanceFrame(m, 1e30f);
    EXPECT_EQ(0, m->currentFrame);
}

} // namespace
