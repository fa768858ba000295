#include "effect/effect_draw.h"

#include "effect/effect.h"
#include "frame/math3d.h"
#include "model/obj2.h"
#include "render/camera.h"
#include "render/immediate.h"
#include "render/obj2_draw.h"
#include "render/sprite.h"

using QVL::EFFECT;
using QVL::EFFECT_INST;
using QVL::EFFECT_KEY;
using QVL::EFFECT_PART;

namespace {

// Catmull-Rom overshoots between keys; a colour beyond 0..255 would wrap in the packed vertex.
int32_t ColorByte(float v)
{
    int32_t c = Math_TruncInt(v);
    return c < 0 ? 0 : (c > 255 ? 255 : c);
}

void DrawPart(EFFECT_INST& inst, int32_t j)
{
    EFFECT* e = Effect_GetData(inst.effect);
    EFFECT_PART& part = e->parts[(size_t)j];
    if (part.kind == QVL::EFFECT_PART_EMITTER) return;
    // An instance made before the part was added has no state for it.
    if ((size_t)j >= inst.parts.size()) return;
    const int32_t k = inst.parts[(size_t)j].key;
    if (k < 0 || k >= part.keyCount || k >= QVL::kEffectMaxKeys) return;
    const EFFECT_KEY& key = part.keys[k];
    if (!key.shown) return;
    QVL::OBJ2* obj = Obj2_GetById(part.object);
    if (part.kind == QVL::EFFECT_PART_OBJ2 && obj) obj->visible = 0;
    if (inst.frame < 0 || (size_t)inst.frame >= part.timeTable.size()) return;
    const int32_t localTime = part.timeTable[(size_t)inst.frame];
    if (localTime < 0) return;
    Effect_InterpolatePartKey(inst.effect, j, k, inst.parts[(size_t)j].t);

    if (part.kind == QVL::EFFECT_PART_IMAGE) {
        if (key.texture < 0 || (size_t)key.texture >= e->textures.size()) return;
        const int32_t handle = e->textures[(size_t)key.texture].texture;
        if (handle < 0) return;
        // Drawn with the stored blend of the quads (alpha here); the key's blend is for 2D objects.
        Tex_DrawRotated(handle, Math_TruncInt(part.curPosition[0] + inst.position[0]),
                        Math_TruncInt(part.curPosition[1] + inst.position[1]), part.curRotation[2], part.curScale[0],
                        part.curScale[1], ColorByte(part.curColor[0]), ColorByte(part.curColor[1]),
                        ColorByte(part.curColor[2]), ColorByte(part.curColor[3]));
        return;
    }
    if (part.kind != QVL::EFFECT_PART_OBJ2 || !obj) return;
    obj->frame = localTime;
    Obj2_UpdateKeyIndices(obj->id);
    int32_t x, y;
    if (inst.projected) {
        QVL::VEC3 s;
        Render_ProjectToScreen(&s, inst.position[0], inst.position[1], inst.position[2]);
        x = Math_TruncInt(part.origin[0] + s.x) - 32;
        y = Math_TruncInt(part.origin[1] + s.y) - 32;
    } else {
        x = Math_TruncInt(part.curPosition[0] + inst.position[0]);
        y = Math_TruncInt(part.curPosition[1] + inst.position[1]);
    }
    Obj2_SetPositionInt(obj, x, y);
    Obj2_Animate(obj);
    obj->visible = 1;
    Draw_SetBlendMode(key.blend);
    Draw_ApplyBlendMode();
    Obj2_Draw(obj);
    Draw_SetBlendMode(QVL::BLEND_ALPHA);
    Draw_ApplyBlendMode();
    obj->visible = 0;
}

} // namespace

void Render_DrawEffects()
{
    for (int32_t i = 0; (size_t)i < g_EffectInstances.size(); ++i) {
        EFFECT_INST* inst = Effect_GetInstance(i);
        if (!inst) continue;
        Effect_FindInstanceKeys(inst);
        const EFFECT* e = Effect_GetData(inst->effect);
        if (!e || e->parts.empty()) continue;
        for (int32_t j = 0; (size_t)j < e->parts.size(); ++j) DrawPart(*inst, j);
    }
}

void Render_VisitEffects3D()
{
    for (int32_t i = 0; (size_t)i < g_EffectInstances.size(); ++i)
        if (EFFECT_INST* inst = Effect_GetInstance(i)) (void)Effect_GetData(inst->effect);
}
