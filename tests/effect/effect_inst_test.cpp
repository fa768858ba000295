#include <gtest/gtest.h>

#include <cmath>

#include "effect/effect.h"
#include "effect/particle.h"
#include "frame/math3d.h"
#include "model/obj2.h"
#include "support/effect_fixtures.h"
#include "support/model_recorder.h"
#include "support/recorder.h"

namespace {

class EffectInst : public ::testing::Test {
protected:
    void SetUp() override
    {
        Effect_EraseAllData();
        Effect_EraseAllInstances();
        Particle_ListClear();
        Obj2_ReleaseAll();
        Rec().Clear();
        ModelRec().Clear();
    }
};

// An effect with one part whose keys stand on the given frames; key k has position x = 10 k.
int32_t MakeEffect(std::initializer_list<int32_t> frames, int32_t frameCount = 60)
{
    int32_t id = Effect_DataCreate();
    QVL::EFFECT* e = Effect_GetData(id);
    e->frameCount = frameCount;
    QVL::EFFECT_PART& p = e->parts[(size_t)Effect_PartCreate(e)];
    p.keyCount = 0;
    for (int32_t f : frames) {
        QVL::EFFECT_KEY& k = p.keys[p.keyCount];
        k.frame = f;
        k.shown = 1;
        k.position[0] = 10.0f * (float)p.keyCount;
        k.scale[0] = 1.0f + (float)p.keyCount;
        k.color[3] = 100.0f * (float)p.keyCount;
        ++p.keyCount;
    }
    return id;
}

int32_t MakeInstance(int32_t effect)
{
    int32_t i = Effect_CreateInstance(0);
    Effect_InitInstance(Effect_GetInstance(i), effect, 320.0f, 240.0f);
    return i;
}

} // namespace

TEST_F(EffectInst, KeySearchTable)
{
    struct Case { std::initializer_list<int32_t> frames; int32_t frame; int32_t key, next; float t; } cases[] = {
        {{0}, 0, 0, 0, 0.0f},            // one key: always key 0
        {{0}, 50, 0, 0, 0.0f},
        {{10, 20}, 5, 1, 1, 0.0f},       // before the first key: the last key
        {{10, 20}, 10, 0, 1, 0.0f},      // on a key
        {{10, 20}, 15, 0, 1, 0.5f},
        {{10, 20}, 19, 0, 1, 0.9f},
        {{10, 20}, 20, 1, 1, 0.0f},      // the last key starts no pair
        {{10, 20}, 45, 1, 1, 0.0f},
        {{0, 8, 16, 40}, 28, 2, 3, 0.5f},
    };
    for (const Case& c : cases) {
        Effect_EraseAllData();
        Effect_EraseAllInstances();
        int32_t inst = MakeInstance(MakeEffect(c.frames));
        QVL::EFFECT_INST* in = Effect_GetInstance(inst);
        in->frame = c.frame;
        in->fraction = 0.9f;   // not part of t
        Effect_FindInstanceKeys(in);
        EXPECT_EQ(c.key, in->parts[0].key) << c.frame;
        EXPECT_EQ(c.next, in->parts[0].next) << c.frame;
        EXPECT_FLOAT_EQ(c.t, in->parts[0].t) << c.frame;
    }
}

TEST_F(EffectInst, InterpolationTakesTheEndKeysAgainAndAddsTheOrigin)
{
    int32_t id = MakeEffect({0, 10, 20, 30});
    QVL::EFFECT_PART& p = Effect_GetData(id)->parts[0];
    p.origin[0] = 5.0f;
    p.origin[1] = -3.0f;
    struct Case { int32_t key; float t; float x0, x1, x2, x3; } cases[] = {
        {0, 0.5f, 0, 0, 10, 20},     // p = c at the first key
        {1, 0.5f, 0, 10, 20, 30},
        {2, 0.5f, 10, 20, 30, 30},   // f = g at the second-to-last key
        {3, 0.5f, 20, 30, 30, 30},
        {2, 0.0f, 10, 20, 30, 30},
        {2, 1.0f, 10, 20, 30, 30},
    };
    for (const Case& c : cases) {
        Effect_InterpolatePartKey(id, 0, c.key, c.t);
        float want = Anim_CatmullRom(c.x0 + 5, c.x1 + 5, c.x2 + 5, c.x3 + 5, c.t);
        EXPECT_FLOAT_EQ(want, p.curPosition[0]) << c.key << " " << c.t;
        EXPECT_FLOAT_EQ(-3.0f, p.curPosition[1]);
        // Scale and colour without origin: key k has scale 1 + k, alpha 100 k.
        float sk[4] = {1 + c.x0 / 10, 1 + c.x1 / 10, 1 + c.x2 / 10, 1 + c.x3 / 10};
        EXPECT_FLOAT_EQ(Anim_CatmullRom(sk[0], sk[1], sk[2], sk[3], c.t), p.curScale[0]);
        EXPECT_FLOAT_EQ(Anim_CatmullRom(sk[0] * 100 - 100, sk[1] * 100 - 100, sk[2] * 100 - 100, sk[3] * 100 - 100, c.t),
                        p.curColor[3]);
    }
    // A single key gives its values plus the origin at every t; the reserved vector stays 0.
    int32_t single = MakeEffect({7});
    QVL::EFFECT_PART& s = Effect_GetData(single)->parts[0];
    s.origin[0] = 30.0f;
    s.keys[0].reservedVec[0] = 9.0f;
    Effect_InterpolatePartKey(single, 0, 0, 0.7f);
    EXPECT_FLOAT_EQ(30.0f, s.curPosition[0]);
    EXPECT_EQ(0.0f, s.curReserved[0]);
    // Out-of-range part or key indices change nothing.
    Effect_InterpolatePartKey(single, 1, 0, 0.0f);
    Effect_InterpolatePartKey(single, 0, 1, 0.0f);
    Effect_InterpolatePartKey(99, 0, 0, 0.0f);
}

TEST_F(EffectInst, TimeTableGivesLocalTimeFromTheFirstKey)
{
    int32_t id = MakeEffect({10, 20}, 60);
    QVL::EFFECT* e = Effect_GetData(id);
    Effect_BuildPartTimeTables(e);
    const std::vector<int32_t>& t = e->parts[0].timeTable;
    ASSERT_EQ(60u, t.size());
    EXPECT_EQ(-1, t[0]);
    EXPECT_EQ(-1, t[9]);
    EXPECT_EQ(0, t[10]);
    EXPECT_EQ(49, t[59]);
    // A first key far beyond the length, or an empty timeline, builds without overflow.
    e->parts[0].keys[0].frame = 2147483000;
    Effect_BuildPartTimeTables(e);
    EXPECT_EQ(-1, e->parts[0].timeTable[59]);
    e->frameCount = 0;
    Effect_BuildPartTimeTables(e);
    EXPECT_TRUE(e->parts[0].timeTable.empty());
}

TEST_F(EffectInst, AdvanceCarriesWholeFrames)
{
    int32_t inst = MakeInstance(MakeEffect({0}, 60));
    QVL::EFFECT_INST* in = Effect_GetInstance(inst);
    in->frame = 4;
    in->fraction = 0.75f;
    Effect_AdvanceInstances(2.5f);
    in = Effect_GetInstance(inst);
    EXPECT_EQ(7, in->frame);
    EXPECT_FLOAT_EQ(0.25f, in->fraction);
    // A huge step does not loop per frame and does not overflow.
    Effect_AdvanceInstances(0.5f);
    ASSERT_EQ(1u, g_EffectInstances.size());
    in->frame = 2000000000;
    in->fraction = 0.0f;
    Effect_AdvanceInstances(1e12f);
    EXPECT_TRUE(g_EffectInstances.empty());
}

TEST_F(EffectInst, FinishedInstanceWaitsForEveryParticleNamingIt)
{
    int32_t effect = MakeEffect({0}, 10);
    MakeInstance(effect);
    MakeInstance(effect);
    g_EffectInstances[0].frame = 10;   // finished
    QVL::PARTICLE p;
    Particle_Init(p);
    p.instance = 0;
    p.life = 5;
    // Spawned in the last update: not counted yet, but it names the instance all the same.
    g_Particles.particles.push_back(p);
    g_Particles.counted = 0;
    Effect_AdvanceInstances(1.0f);
    ASSERT_EQ(2u, g_EffectInstances.size());
    EXPECT_EQ(11, g_EffectInstances[0].frame);   // keeps counting beyond the length
    g_Particles.particles[0].instance = 1;
    Effect_AdvanceInstances(0.0f);
    ASSERT_EQ(1u, g_EffectInstances.size());
    EXPECT_EQ(0, g_Particles.particles[0].instance);   // renumbered with its instance
}

TEST_F(EffectInst, DeletingAnInstanceRenumbersEveryParticle)
{
    int32_t effect = MakeEffect({0});
    for (int i = 0; i < 3; ++i) MakeInstance(effect);
    g_EffectInstances[2].position[0] = 77.0f;
    const int32_t owners[] = {0, 1, 2, 2, 1};
    for (int32_t o : owners) {
        QVL::PARTICLE p;
        Particle_Init(p);
        p.instance = o;
        g_Particles.particles.push_back(p);
    }
    g_Particles.counted = 2;   // the rest were spawned in the last update
    Effect_DeleteInstance(1);
    ASSERT_EQ(2u, g_EffectInstances.size());
    EXPECT_EQ(77.0f, g_EffectInstances[1].position[0]);
    const int32_t want[] = {0, -1, 1, 1, -1};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(want[i], g_Particles.particles[i].instance) << i;
    Effect_DeleteInstance(5);   // outside the table: nothing
    EXPECT_EQ(2u, g_EffectInstances.size());
}

// After a new effect and a QVE open, the open command's first instance has no part states: every
// operation skips its parts, and the preview instance made for the loaded effect has them all.
TEST_F(EffectInst, PartsWithoutStateAreSkipped)
{
    int32_t first = Effect_CreateInstance(0);   // effect 0, no part states
    int32_t id = Effect_DataCreate();
    ASSERT_EQ(0, id);
    QVL::EFFECT loaded = Fixture_Effect();
    g_EffectData[0] = loaded;
    for (QVL::EFFECT_PART& p : g_EffectData[0].parts)
        for (QVL::EFFECT_KEY& k : p.keys) {
            k.shown = 1;
            k.emitInterval = 1;
            k.texture = 0;
        }
    g_EffectData[0].textures[0].texture = 3;
    Effect_BuildPartTimeTables(&g_EffectData[0]);
    QVL::PARTICLE stray;
    Particle_Init(stray);
    stray.instance = first;
    stray.effect = 0;
    stray.part = 1;
    stray.life = 10;
    g_Particles.particles.push_back(stray);

    Effect_FindInstanceKeys(Effect_GetInstance(first));
    EXPECT_TRUE(g_EffectInstances[0].parts.empty());
    Particle_StepAll(1.0f);
    EXPECT_EQ(1u, g_Particles.particles.size());   // nothing spawned for the stateless instance
    QVL::PARTICLE_SPRITE sprite;
    EXPECT_FALSE(Particle_PrepareDraw(g_Particles.particles[0], sprite));

    // The open command reuses that instance for the loaded effect instead of adding a second one.
    Effect_InitInstance(Effect_GetInstance(first), id, 320.0f, 240.0f);
    ASSERT_EQ(1u, g_EffectInstances.size());
    EXPECT_EQ(3u, g_EffectInstances[0].parts.size());
    EXPECT_EQ(320.0f, g_EffectInstances[0].position[0]);
    Effect_FindInstanceKeys(Effect_GetInstance(first));
    Particle_StepAll(1.0f);
    EXPECT_EQ(2u, g_Particles.particles.size());   // the emitter part spawned
    EXPECT_TRUE(Particle_PrepareDraw(g_Particles.particles[0], sprite));
}

TEST_F(EffectInst, InstanceWithFewerStatesThanPartsKeepsTheRest)
{
    int32_t id = MakeEffect({0, 10});
    int32_t inst = MakeInstance(id);
    QVL::EFFECT* e = Effect_GetData(id);
    Effect_PartCreate(e);   // added after the instance was sized
    e->parts[1].kind = QVL::EFFECT_PART_EMITTER;
    e->parts[1].keys[0].shown = 1;
    QVL::EFFECT_INST* in = Effect_GetInstance(inst);
    in->frame = 5;
    Effect_FindInstanceKeys(in);
    ASSERT_EQ(1u, in->parts.size());
    EXPECT_FLOAT_EQ(0.5f, in->parts[0].t);
    Particle_StepAll(1.0f);
    EXPECT_TRUE(g_Particles.particles.empty());
    Effect_SizeInstanceStates(in);
    EXPECT_EQ(2u, in->parts.size());
    EXPECT_FLOAT_EQ(0.5f, in->parts[0].t);   // existing states kept
}
