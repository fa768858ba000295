// Drawing of the counted particles as rotated, scaled and tinted sprites, each under its emitter
// key's blend.
#include "effect/particle.h"
#include "frame/math3d.h"
#include "render/immediate.h"
#include "render/sprite.h"

void Particle_Draw(QVL::PARTICLE& p)
{
    QVL::PARTICLE_SPRITE s;
    if (!Particle_PrepareDraw(p, s)) return;
    Draw_SetBlendMode(s.blend);
    Draw_ApplyBlendMode();
    Tex_DrawRotated(s.texture, Math_TruncInt(s.x), Math_TruncInt(s.y), s.angle, s.scaleX, s.scaleY,
                    Math_TruncInt(s.r), Math_TruncInt(s.g), Math_TruncInt(s.b), Math_TruncInt(s.a));
    Draw_SetBlendMode(QVL::BLEND_ALPHA);
    Draw_ApplyBlendMode();
}

void Particle_DrawAll()
{
    std::vector<QVL::PARTICLE>& v = g_Particles.particles;
    const size_t counted = g_Particles.counted < 0 ? 0 : (size_t)g_Particles.counted;
    for (size_t n = 0; n < counted && n < v.size(); ++n) Particle_Draw(v[n]);
}
