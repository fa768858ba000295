// Effects in the 2D layer: an image part as a rotated sprite, a 2D-object part posed at its local
// time and hidden again, and the cases that draw nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "effect/effect.h"
#include "model/obj2.h"
#include "effect/effect_draw.h"
#include "render/immediate.h"
#include "support/draw_recorder.h"

namespace {

// One effect of one part with its key at `keyFrame`, and one instance of it at (320, 240).
QVL::EFFECT_PART& OnePartEffect(int32_t kind, int32_t keyFrame, int32_t instFrame)
{
    Effect_EraseAllInstances();
    Effect_EraseAllData();
    const int32_t id = Effect_DataCreate();
    QVL::EFFECT* e = Effect_GetData(id);
    e->frameCount = 30;
    for (int32_t handle : {4, 7}) {
        QVL::EFFECT_TEX t{};
        t.texture = handle;
        e->textures.push_back(t);
    }
    QVL::EFFECT_PART& p = e->parts[(size_t)Effect_PartCreate(e)];
    p.kind = kind;
    p.origin[0] = 5.0f;
    QVL::EFFECT_KEY& k = p.keys[0];
    k.frame = keyFrame;
    k.shown = 1;
    k.blend = QVL::BLEND_ADDITIVE;
    k.position[0] = 10.0f;
    k.position[1] = 20.0f;
    k.rotation[2] = 45.0f;
    k.scale[0] = 2.0f;
    k.scale[1] = 0.5f;
    k.color[0] = 300.0f;
    k.color[1] = 128.7f;
    k.color[2] = -4.0f;
    k.color[3] = 200.0f;
    k.texture = 1;
    Effect_BuildPartTimeTables(e);
    QVL::EFFECT_INST* inst = Effect_GetInstance(Effect_CreateInstance(0));
    Effect_InitInstance(inst, id, 320.0f, 240.0f);
    inst->frame = instFrame;
    DrawRec().Clear();
    g_BlendMode = QVL::BLEND_ALPHA;
    return p;
}

TEST(EffectDraw, ImagePartIsARotatedSpriteInTheQuadsBlend)
{
    OnePartEffect(QVL::EFFECT_PART_IMAGE, 0, 3);
    Render_DrawEffects();
    ASSERT_EQ(1u, DrawRec().calls.size());
    const DrawCall& c = DrawRec().calls[0];
    EXPECT_EQ("rotated", c.kind);
    EXPECT_EQ(7, c.texture);
    EXPECT_EQ(QVL::BLEND_ALPHA, c.blend);   // the key's additive blend is for 2D objects only
    EXPECT_EQ(335, c.x[0]);                 // key 10 + origin 5 + instance 320
    EXPECT_EQ(260, c.y[0]);
    EXPECT_EQ(45.0f, c.angle);
    EXPECT_EQ(2.0f, c.scaleX);
    EXPECT_EQ(0.5f, c.scaleY);
    // Colours are bytes: truncated, and kept within 0..255 where interpolation overshoots.
    EXPECT_EQ(255, c.r);
    EXPECT_EQ(128, c.g);
    EXPECT_EQ(0, c.b);
    EXPECT_EQ(200, c.a);
}

TEST(EffectDraw, PartsThatDrawNothing)
{
    struct Case {
        const char* what;
        int32_t kind, keyFrame, instFrame;
        std::function<void(QVL::EFFECT_PART&)> change;
    };
    const Case cases[] = {
        {"hidden key", 0, 0, 3, [](QVL::EFFECT_PART& p) { p.keys[0].shown = 0; }},
        {"texture past the table", 0, 0, 3, [](QVL::EFFECT_PART& p) { p.keys[0].texture = 2; }},
        {"negative texture", 0, 0, 3, [](QVL::EFFECT_PART& p) { p.keys[0].texture = -1; }},
        {"texture entry without a texture", 0, 0, 3,
         [](QVL::EFFECT_PART&) { Effect_GetData(0)->textures[1].texture = -1; }},
        {"before the part starts", 0, 10, 3, [](QVL::EFFECT_PART&) {}},
        {"past the time table", 0, 0, 40, [](QVL::EFFECT_PART&) {}},
        {"emitter", 1, 0, 3, [](QVL::EFFECT_PART&) {}},
        {"instance without part states", 0, 0, 3,
         [](QVL::EFFECT_PART&) { Effect_GetInstance(0)->parts.clear(); }},
        {"image part added after the instance", 1, 0, 3,
         [](QVL::EFFECT_PART& p) {
             QVL::EFFECT_PART image = p;
             image.kind = QVL::EFFECT_PART_IMAGE;
             Effect_GetData(0)->parts.push_back(image);
         }},
    };
    for (const Case& c : cases) {
        QVL::EFFECT_PART& p = OnePartEffect(c.kind, c.keyFrame, c.instFrame);
        c.change(p);
        Render_DrawEffects();
        EXPECT_TRUE(DrawRec().Of("rotated").empty()) << c.what;
        EXPECT_TRUE(DrawRec().Of("apply").empty()) << c.what;
    }
}

TEST(EffectDraw, ObjectPartIsPosedAtItsLocalTimeAndHiddenAgain)
{
    Obj2_ReleaseAll();
    const int32_t obj = Obj2_Create();
    ASSERT_GE(obj, 0);

    // Before its start the part draws nothing, and its object is hidden all the same.
    QVL::EFFECT_PART* p = &OnePartEffect(QVL::EFFECT_PART_OBJ2, 10, 5);
    p->object = obj;
    Obj2_GetById(obj)->visible = 1;
    Render_DrawEffects();
    EXPECT_EQ(0, Obj2_GetById(obj)->visible);
    EXPECT_TRUE(DrawRec().calls.empty());

    // Running: posed at frame 15 - 10, drawn with the key's blend, then the blend and the object
    // go back.
    p = &OnePartEffect(QVL::EFFECT_PART_OBJ2, 10, 15);
    p->object = obj;
    Obj2_GetById(obj)->visible = 1;
    Render_DrawEffects();
    const QVL::OBJ2* o = Obj2_GetById(obj);
    EXPECT_EQ(5, o->frame);
    EXPECT_EQ(0, o->visible);
    const std::vector<DrawCall> applies = DrawRec().Of("apply");
    ASSERT_EQ(2u, applies.size());
    EXPECT_EQ(QVL::BLEND_ADDITIVE, applies[0].blend);
    EXPECT_EQ(QVL::BLEND_ALPHA, applies[1].blend);

    // A hidden key leaves the object's visibility as it was.
    p = &OnePartEffect(QVL::EFFECT_PART_OBJ2, 10, 15);
    p->object = obj;
    p->keys[0].shown = 0;
    Obj2_GetById(obj)->visible = 1;
    Render_DrawEffects();
    EXPECT_EQ(1, Obj2_GetById(obj)->visible);
    Obj2_ReleaseAll();
}

} // namespace
