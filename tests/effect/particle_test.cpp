#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "effect/effect.h"
#include "effect/particle.h"
#include "model/obj2.h"
#include "support/recorder.h"

namespace {

class Particles : public ::testing::Test {
protected:
    void SetUp() override
    {
        Effect_EraseAllData();
        Effect_EraseAllInstances();
        Particle_ListClear();
        Obj2_ReleaseAll();
        Particle_SeedRandom(12345);
    }
    void TearDown() override { Particle_ListClear(); }
};

// The editor's default emitter: interval 3, speed (0, -2, 0) with x range 1, additive, half alpha.
QVL::EFFECT_KEY DefaultEmitterKey()
{
    QVL::EFFECT_KEY k{};
    k.shown = 1;
    k.blend = 1;
    k.scale[0] = k.scale[1] = 1.0f;
    k.color[0] = k.color[1] = k.color[2] = 255.0f;
    k.color[3] = 128.0f;
    k.emitInterval = 3;
    k.speed[1] = -2.0f;
    k.speedRange[0] = 1.0f;
    return k;
}

// One effect with one emitter part holding key, and one instance of it at (320, 240).
int32_t MakeEmitter(const QVL::EFFECT_KEY& key)
{
    int32_t id = Effect_DataCreate();
    QVL::EFFECT* e = Effect_GetData(id);
    QVL::EFFECT_TEX tex{};
    tex.texture = 7;
    e->textures.push_back(tex);
    QVL::EFFECT_PART& p = e->parts[(size_t)Effect_PartCreate(e)];
    p.kind = QVL::EFFECT_PART_EMITTER;
    p.keys[0] = key;
    int32_t inst = Effect_CreateInstance(0);
    Effect_InitInstance(Effect_GetInstance(inst), id, 320.0f, 240.0f);
    Effect_FindInstanceKeys(Effect_GetInstance(inst));
    return inst;
}

// The removal as the runtime always did it: one shift of the array per removed particle.
void RemoveByShifting(QVL::PARTICLE_LIST& list)
{
    for (int32_t n = 0; n < list.counted;) {
        if (list.particles[(size_t)n].life < 1) {
            list.particles.erase(list.particles.begin() + n);
            list.counted -= 1;
        } else {
            ++n;
        }
    }
}

} // namespace

TEST_F(Particles, RandomSourceHasFifteenBits)
{
    int32_t lo = 1 << 20, hi = -1;
    for (int i = 0; i < 100000; ++i) {
        int32_t r = Particle_Random();
        lo = r < lo ? r : lo;
        hi = r > hi ? r : hi;
    }
    EXPECT_EQ(0, lo);
    EXPECT_EQ(32767, hi);
}

TEST_F(Particles, RndTable)
{
    struct Case { float base, range; bool draws; } cases[] = {
        {5.0f, 0.0f, false}, {5.0f, -1.0f, false}, {5.0f, NAN, false},
        {5.0f, 0.0004f, true},   // m = 0: base - range
        {0.0f, 1.0f, true}, {-2.0f, 16.0f, true},
        {1.0f, 3e9f, true},      // m beyond int: computed without overflow
        {1.0f, 1e30f, true},
    };
    for (const Case& c : cases) {
        Particle_SeedRandom(99);
        int32_t r = Particle_Random();
        Particle_SeedRandom(99);
        float v = Particle_RandomAround(c.base, c.range);
        if (!c.draws) {
            EXPECT_EQ(c.base, v);
            EXPECT_EQ(r, Particle_Random());   // nothing was drawn
            continue;
        }
        double m = std::floor((double)c.range * 2000.0);
        double want = m == 0 ? (double)c.base - c.range : (double)c.base - c.range + std::fmod((double)r, m) * 0.001;
        EXPECT_FLOAT_EQ((float)want, v) << c.range;
    }
    // Ranges up to 16.383 spread over [base - range, base + range) in steps of 0.001.
    for (int i = 0; i < 2000; ++i) {
        float v = Particle_RandomAround(0.0f, 1.0f);
        EXPECT_GE(v, -1.0f);
        EXPECT_LT(v, 1.0f);
    }
}

TEST_F(Particles, EmissionTable)
{
    struct Case { int32_t interval; uint8_t shown; std::vector<int> spawnsIn; } cases[] = {
        {3, 1, {3, 6, 9}},
        {1, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {0, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {4, 1, {4, 8}},
        {3, 0, {}},
    };
    for (const Case& c : cases) {
        SetUp();
        QVL::EFFECT_KEY k = DefaultEmitterKey();
        k.emitInterval = c.interval;
        k.shown = c.shown;
        MakeEmitter(k);
        std::vector<int> got;
        size_t before = 0;
        for (int update = 1; update <= 9; ++update) {
            Particle_StepAll(1.0f);
            if (g_Particles.particles.size() > before) got.push_back(update);
            before = g_Particles.particles.size();
        }
        EXPECT_EQ(c.spawnsIn, got) << c.interval;
    }
}

TEST_F(Particles, HiddenKeyFreezesTheCounter)
{
    QVL::EFFECT_KEY k = DefaultEmitterKey();
    int32_t inst = MakeEmitter(k);
    Particle_StepAll(1.0f);
    Particle_StepAll(1.0f);   // counter 2
    Effect_GetData(0)->parts[0].keys[0].shown = 0;
    for (int i = 0; i < 5; ++i) Particle_StepAll(1.0f);
    EXPECT_EQ(2, Effect_GetInstance(inst)->parts[0].emitCounter);
    Effect_GetData(0)->parts[0].keys[0].shown = 1;
    Particle_StepAll(1.0f);
    EXPECT_EQ(1u, g_Particles.particles.size());
}

TEST_F(Particles, SpawnTakesThePartValuesAndTheInstance)
{
    QVL::EFFECT_KEY k = DefaultEmitterKey();
    k.position[0] = 10.0f;
    k.rotation[2] = 30.0f;
    k.speed[2] = 0.5f;
    k.scaleSpeed[2] = 0.25f;
    int32_t inst = MakeEmitter(k);
    Effect_GetData(0)->parts[0].origin[1] = 4.0f;
    Effect_GetInstance(inst)->rotation[2] = 15.0f;
    Particle_Spawn(inst, 0, 0);
    ASSERT_EQ(1u, g_Particles.particles.size());
    const QVL::PARTICLE& p = g_Particles.particles[0];
    EXPECT_EQ(90, p.life);
    EXPECT_EQ(inst, p.instance);
    EXPECT_EQ(0, p.effect);
    EXPECT_EQ(0, p.part);
    EXPECT_FLOAT_EQ(330.0f, p.position[0]);
    EXPECT_FLOAT_EQ(244.0f, p.position[1]);
    EXPECT_GE(p.positionSpeed[0], -1.0f);
    EXPECT_LT(p.positionSpeed[0], 1.0f);
    EXPECT_EQ(-2.0f, p.positionSpeed[1]);
    EXPECT_EQ(0.5f, p.positionSpeed[2]);
    EXPECT_FLOAT_EQ(45.0f, p.rotation[2]);
    EXPECT_EQ(0.25f, p.scaleSpeed[2]);
    EXPECT_EQ(1.0f, p.scale[0]);
    EXPECT_EQ(128.0f, p.color[3]);
    EXPECT_EQ(0.0f, p.colorSpeed[3]);
    // A part without a state or a missing instance spawns nothing.
    Particle_Spawn(inst, 0, 1);
    Particle_Spawn(inst + 1, 0, 0);
    EXPECT_EQ(1u, g_Particles.particles.size());
}

// The default emitter's particle rises 2 pixels in its first update and 0.02 faster every update.
TEST_F(Particles, StepTable)
{
    MakeEmitter(DefaultEmitterKey());
    Particle_Spawn(0, 0, 0);
    QVL::PARTICLE& p = g_Particles.particles[0];
    p.positionSpeed[0] = 0.5f;
    p.colorSpeed[3] = -50.0f;
    p.scaleSpeed[0] = -0.6f;
    g_Particles.counted = 1;
    struct Row { float y, speedY, x, alpha; int32_t life; } rows[] = {
        {238.0f, -2.02f, 320.5f, 78.0f, 89},
        {235.98f, -2.04f, 321.0f, 28.0f, 88},
        {233.94f, -2.06f, 321.5f, -22.0f, 87},
    };
    for (const Row& r : rows) {
        Particle_Step(g_Particles.particles[0]);
        const QVL::PARTICLE& q = g_Particles.particles[0];
        EXPECT_FLOAT_EQ(r.y, q.position[1]);
        EXPECT_FLOAT_EQ(r.speedY, q.positionSpeed[1]);
        EXPECT_FLOAT_EQ(r.x, q.position[0]);
        EXPECT_FLOAT_EQ(r.alpha, q.color[3]);
        EXPECT_EQ(r.life, q.life);
    }
    // Drawing clamps the record: the faded alpha stays 0, the scale that went negative is 0.
    QVL::PARTICLE_SPRITE s;
    ASSERT_TRUE(Particle_PrepareDraw(g_Particles.particles[0], s));
    EXPECT_EQ(0.0f, g_Particles.particles[0].color[3]);
    EXPECT_EQ(0.0f, g_Particles.particles[0].scale[0]);
    EXPECT_EQ(7, s.texture);
    EXPECT_EQ(1, s.blend);
    EXPECT_EQ(255.0f, s.r);
    // Without its instance a particle still moves but no longer accelerates.
    Effect_EraseAllInstances();
    Particle_Step(g_Particles.particles[0]);
    EXPECT_FLOAT_EQ(233.94f - 2.06f, g_Particles.particles[0].position[1]);
    EXPECT_FLOAT_EQ(-2.06f, g_Particles.particles[0].positionSpeed[1]);
}

TEST_F(Particles, DrawNeedsAValidTexture)
{
    struct Case { int32_t keyTexture; int32_t handle; bool draws; float alphaIn, alphaOut; } cases[] = {
        {0, 7, true, 300.0f, 255.0f}, {1, 7, false, 300.0f, 300.0f}, {-1, 7, false, 10.0f, 10.0f},
        {0, -1, false, 10.0f, 10.0f},
    };
    for (const Case& c : cases) {
        SetUp();
        QVL::EFFECT_KEY k = DefaultEmitterKey();
        k.texture = c.keyTexture;
        MakeEmitter(k);
        Effect_GetData(0)->textures[0].texture = c.handle;
        Particle_Spawn(0, 0, 0);
        QVL::PARTICLE& p = g_Particles.particles[0];
        p.color[3] = c.alphaIn;
        QVL::PARTICLE_SPRITE s;
        EXPECT_EQ(c.draws, Particle_PrepareDraw(p, s)) << c.keyTexture << " " << c.handle;
        EXPECT_EQ(c.alphaOut, p.color[3]);
    }
}

TEST_F(Particles, LifeIsNinetyUpdatesAndSpawnsWaitForTheNextUpdate)
{
    QVL::EFFECT_KEY k = DefaultEmitterKey();
    k.emitInterval = 1;
    MakeEmitter(k);
    Particle_StepAll(1.0f);
    ASSERT_EQ(1u, g_Particles.particles.size());
    EXPECT_EQ(0, g_Particles.counted);        // not counted until the next update
    EXPECT_EQ(90, g_Particles.particles[0].life);
    Effect_GetData(0)->parts[0].keys[0].shown = 0;   // no more spawns
    for (int i = 0; i < 89; ++i) Particle_StepAll(1.0f);
    ASSERT_EQ(1u, g_Particles.particles.size());
    EXPECT_EQ(1, g_Particles.particles[0].life);
    Particle_StepAll(1.0f);
    EXPECT_TRUE(g_Particles.particles.empty());
    EXPECT_EQ(0, g_Particles.counted);
}

TEST_F(Particles, FinishedInstanceStopsEmitting)
{
    QVL::EFFECT_KEY k = DefaultEmitterKey();
    k.emitInterval = 1;
    int32_t inst = MakeEmitter(k);
    Effect_GetInstance(inst)->frame = 60;
    Particle_StepAll(1.0f);
    EXPECT_TRUE(g_Particles.particles.empty());
}

// Removal in one pass gives what one shift per removal gave: the survivors in order, the particle
// spawned during the update behind them, and the count.
TEST_F(Particles, RemovalMatchesShiftingOneByOne)
{
    QVL::EFFECT_KEY k = DefaultEmitterKey();
    k.emitInterval = 1;
    MakeEmitter(k);
    Particle_SeedRandom(7);
    for (int round = 0; round < 50; ++round) {
        QVL::PARTICLE_LIST start;
        size_t n = (size_t)(Particle_Random() % 40);
        for (size_t i = 0; i < n; ++i) {
            QVL::PARTICLE p;
            Particle_Init(p);
            p.life = Particle_Random() % 4 - 1;   // -1..2: some die in this update
            p.position[0] = (float)i;
            start.particles.push_back(p);
        }
        start.counted = 0;
        QVL::PARTICLE_LIST ref = start;
        ref.counted = (int32_t)n;
        for (QVL::PARTICLE& p : ref.particles) Particle_Step(p);
        g_Particles = start;
        Particle_Update(g_Particles);
        QVL::PARTICLE spawned = g_Particles.particles.back();
        ref.particles.push_back(spawned);
        RemoveByShifting(ref);
        ASSERT_EQ(ref.particles.size(), g_Particles.particles.size()) << round;
        EXPECT_EQ(ref.counted, g_Particles.counted) << round;
        for (size_t i = 0; i < ref.particles.size(); ++i) {
            EXPECT_EQ(ref.particles[i].position[0], g_Particles.particles[i].position[0]) << round << " " << i;
            EXPECT_EQ(ref.particles[i].life, g_Particles.particles[i].life) << round << " " << i;
        }
        EXPECT_EQ(90, g_Particles.particles.back().life);
    }
}

TEST_F(Particles, RemovalKeepsTheSpawnedParticlesBehindTheSurvivors)
{
    QVL::EFFECT_KEY k = DefaultEmitterKey();
    k.emitInterval = 1;
    MakeEmitter(k);
    const int32_t lives[] = {1, 5, 1, 3, 1};
    for (int32_t life : lives) {
        QVL::PARTICLE p;
        Particle_Init(p);
        p.life = life;
        p.instance = -1;
        g_Particles.particles.push_back(p);
    }
    Particle_StepAll(1.0f);
    ASSERT_EQ(3u, g_Particles.particles.size());
    EXPECT_EQ(2, g_Particles.counted);
    EXPECT_EQ(4, g_Particles.particles[0].life);
    EXPECT_EQ(2, g_Particles.particles[1].life);
    EXPECT_EQ(90, g_Particles.particles[2].life);   // spawned in this update
    EXPECT_EQ(0, g_Particles.particles[2].instance);
}
