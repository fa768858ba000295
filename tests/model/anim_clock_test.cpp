// The animation clock: steps, follow-up motions, looping and holding, and large steps that must end
// where frame-by-frame stepping ends.
#include "frame/scene.h"
#include "model/anim_clock.h"
#include "model/gpu_data.h"
#include "model/model_expect.h"
#include "model/motion3.h"

namespace {

class AnimClock : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        Gpu_FreeRenderTable();
        savedVSync = g_Scene.vSync;
    }
    void TearDown() override
    {
        g_Scene.vSync = savedVSync;
        Gpu_FreeRenderTable();
        ModelTest::TearDown();
    }
    uint8_t savedVSync = 1;
};

// The clock's rules one frame at a time, as the engine states them.
void StepFrameByFrame(MODEL3* m, float step)
{
    m->frameFraction += step;
    while (m->frameFraction >= 1.0f) {
        m->currentFrame += 1;
        m->frameFraction -= 1.0f;
        const MOTION3& mo = m->motions[(size_t)m->currentMotion];
        if (m->currentFrame >= mo.length) {
            if (mo.next >= 0 && (size_t)mo.next < m->motions.size() && mo.next != m->currentMotion) {
                Motion3_Select(m, mo.next);
            } else if (mo.loop || mo.next == m->currentMotion) {
                m->currentFrame = 0;
                m->wrapped = 1;
            } else {
                m->currentFrame = mo.length;
            }
        }
    }
}

MODEL3* ThreeMotions()
{
    MODEL3* m = NewRecord();
    Motion3_ResizeList(m->motions, 3);
    m->motions[0].length = 7;
    m->motions[1].length = 5;
    m->motions[2].length = 3;
    m->animated = 1;
    return m;
}

TEST_F(AnimClock, StepsAdvanceWholeFramesAndKeepTheFraction)
{
    MODEL3* m = ThreeMotions();
    m->motions[0].length = 60;
    Anim_AdvanceModel3(m, 2.5f);
    EXPECT_EQ(2, m->currentFrame);
    EXPECT_FLOAT_EQ(0.5f, m->frameFraction);
    Anim_AdvanceModel3(m, 0.75f);
    EXPECT_EQ(3, m->currentFrame);
    EXPECT_FLOAT_EQ(0.25f, m->frameFraction);
    // Time that is not a number does not move the clock or poison it.
    Anim_AdvanceModel3(m, NAN);
    EXPECT_EQ(3, m->currentFrame);
    EXPECT_FLOAT_EQ(0.25f, m->frameFraction);
    Model3_Free(m);
}

TEST_F(AnimClock, EndOfMotionFollowsLoopsOrHolds)
{
    struct Case {
        const char* name;
        uint8_t loop;
        int16_t next;
        float step;
        int32_t motion, frame;
        uint8_t wrapped;
    } cases[] = {
        {"follow-up", 1, 2, 8.0f, 2, 1, 0},
        {"loop", 1, -1, 8.0f, 0, 1, 1},
        {"hold", 0, -1, 100.0f, 0, 7, 0},
        {"follow-up of itself restarts", 0, 0, 9.0f, 0, 2, 1},
        {"follow-up past the list falls back to holding", 0, 40, 9.0f, 0, 7, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MODEL3* m = ThreeMotions();
        m->motions[0].loop = c.loop;
        m->motions[0].next = c.next;
        m->motions[2].loop = 1;
        Anim_AdvanceModel3(m, c.step);
        EXPECT_EQ(c.motion, m->currentMotion);
        EXPECT_EQ(c.frame, m->currentFrame);
        EXPECT_EQ(c.wrapped, m->wrapped);
        Model3_Free(m);
    }
}

TEST_F(AnimClock, LargeStepEndsWhereFrameByFrameEnds)
{
    struct Chain {
        int16_t next[3];
        uint8_t loop[3];
    } chains[] = {
        {{-1, -1, -1}, {1, 1, 1}},   // a loop
        {{1, 2, -1}, {0, 0, 0}},     // a chain ending held
        {{1, 2, 0}, {0, 0, 0}},      // a cycle of follow-ups
        {{1, 1, 0}, {0, 0, 0}},      // a motion following itself
    };
    for (const Chain& ch : chains) {
        for (float step : {1.0f, 13.0f, 100.0f, 1234.5f, 99999.0f}) {
            MODEL3* a = ThreeMotions();
            MODEL3* b = ThreeMotions();
            for (int i = 0; i < 3; ++i) {
                a->motions[i].next = b->motions[i].next = ch.next[i];
                a->motions[i].loop = b->motions[i].loop = ch.loop[i];
            }
            a->currentFrame = b->currentFrame = 4;
            Anim_AdvanceModel3(a, step);
            StepFrameByFrame(b, step);
            EXPECT_EQ(b->currentMotion, a->currentMotion) << step << " " << ch.next[2];
            EXPECT_EQ(b->currentFrame, a->currentFrame) << step << " " << ch.next[2];
            EXPECT_FLOAT_EQ(b->frameFraction, a->frameFraction);
            Model3_Free(a);
            Model3_Free(b);
        }
    }
}

TEST_F(AnimClock, WrappingClockMatchesFrameByFrame)
{
    for (int32_t length : {0, 1, 7, 60})
        for (int32_t start : {-3, 0, 5, 60, 70})
            for (float step : {0.5f, 1.0f, 2.5f, 61.0f, 1e6f}) {
                int32_t frame = start, ref = start;
                float fraction = 0, refFraction = step;
                while (refFraction >= 1.0f) {
                    ref += 1;
                    refFraction -= 1.0f;
                    if (ref >= length) ref = 0;
                }
                if (ref < 0) ref = 0;
                if (ref >= length) ref = 0;
                Anim_AdvanceWrap(&frame, &fraction, step, length, nullptr, 0);
                EXPECT_EQ(ref, frame) << length << " " << start << " " << step;
            }
}

TEST_F(AnimClock, TickTakesOneFrameWithoutVSyncAndSkipsModelsNotReady)
{
    int32_t ready = Model3_Create(), loading = Model3_Create();
    for (int32_t id : {ready, loading}) {
        MODEL3* m = Model3_GetById(id);
        m->motions[0].length = 60;
        m->motions[0].loop = 0;
        m->animated = 1;
    }
    Model3_SetLoaded(Model3_GetById(ready));
    g_Scene.vSync = 0;
    Anim_Tick(5.0f);
    EXPECT_EQ(1, Model3_GetById(ready)->currentFrame);
    EXPECT_EQ(0, Model3_GetById(loading)->currentFrame);
    g_Scene.vSync = 1;
    Anim_Tick(100.0f);
    EXPECT_EQ(60, Model3_GetById(ready)->currentFrame);   // a motion that does not loop stops at its length
    EXPECT_EQ(0, Model3_GetById(loading)->currentFrame);
}

} // namespace
