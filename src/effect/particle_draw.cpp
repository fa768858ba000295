// Drawing of the counted particles as rotated, scaled and tinted sprites, each under its emitter
// key's blend.
#include "effect/particle.h"
#include "render/immediate.h"
#include "render/sprite.h"

namespace {

int32_t TruncInt(float v)
{
    if (!(v == v)) return 0;
    if (v >= 2147483647.0f) return 2147483647;
    if (v <= -2147483648.0f) return (-2147483647 - 1);
    return (int32_t)v;
}

} // namespace

void Particle_Draw(QVL::PARTICLE& p)
{
    QVL::PARTICLE_SPRITE s;
    if (!Particle_PrepareDraw(p, s)) return;
    Draw_SetBlendMode(s.blend);
    Draw_ApplyBlendMode();
    Tex_DrawRotated(s.texture, TruncInt(s.x), TruncInt(s.y), s.angle, s.scaleX, s.scaleY, TruncInt(s.r), TruncInt(s.g),
                    TruncInt(s.b), TruncInt(s.a));
    Draw_SetBlendMode(QVL::BLEND_ALPHA);
    Draw_ApplyBlendMode();
}

void Particle_DrawAll()
{
    std::vector<QVL::PARTICLE>& v = g_Particles.particles;
    const size_t counted = g_Particles.counted < 0 ? 0 : (size_t)g_Particles.counted;
    for (size_t n = 0; n < counted && n < v.size(); ++n) Particle_Draw(v[n]);
}
