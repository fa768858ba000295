// Particles: sprites spawned by the emitter parts of playing effect instances, each flying, turning,
// growing and fading on its own for 90 updates. Screen pixels on the 2D layer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace QVL {

constexpr int32_t kParticleLife = 90;

struct PARTICLE {
    int32_t life;
    int32_t instance;     // index into g_EffectInstances, -1 none
    int32_t effect;       // effect ID, -1 none
    int32_t part;         // emitter part, -1 none
    float position[4], positionSpeed[4];
    float rotation[4], rotationSpeed[4];   // degrees; z is drawn
    float scale[4], scaleSpeed[4];
    float color[4], colorSpeed[4];         // 0..255 when drawn
};

struct PARTICLE_LIST {
    std::vector<PARTICLE> particles;
    // Particles from the front of the array that are stepped, drawn and looked at by the instance
    // bookkeeping; those spawned during an update lie behind it until the next one.
    int32_t counted;
};

// One particle ready to be drawn: the values Particle_Draw hands to the sprite drawing.
struct PARTICLE_SPRITE {
    int32_t texture;      // texture handle
    int32_t blend;        // QVL::BLEND
    float x, y, angle, scaleX, scaleY;
    float r, g, b, a;
};

} // namespace QVL

extern QVL::PARTICLE_LIST g_Particles;

void Particle_ListInit();
void Particle_ListFree();
void Particle_ListClear();
void Particle_Init(QVL::PARTICLE& p);
void Particle_Spawn(int32_t instance, int32_t effect, int32_t part);
void Particle_Step(QVL::PARTICLE& p);
void Particle_Update(QVL::PARTICLE_LIST& list);
// One update of g_Particles; the step is not used (one update per call).
void Particle_StepAll(float step);
// What Particle_Draw would draw, clamping the particle's scale and colour in place as drawing does;
// false when it draws nothing (instance, effect, part or texture missing).
bool Particle_PrepareDraw(QVL::PARTICLE& p, QVL::PARTICLE_SPRITE& out);

// The particles' own pseudo-random source: 0..32767 in every build.
void Particle_SeedRandom(uint32_t seed);
int32_t Particle_Random();
// base when range is 0 or less; else base - range + (r mod m) * 0.001 with m = trunc(range * 2000).
float Particle_RandomAround(float base, float range);
// Draws one particle through the sprites (render/sprite.h) under its key's blend, or nothing.
void Particle_Draw(QVL::PARTICLE& p);
// The counted particles in array order.
void Particle_DrawAll();
