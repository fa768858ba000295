#include "render/obj2_draw.h"

#include "render/immediate.h"
#include "render/tex_slots.h"

void Obj2_Draw(QVL::OBJ2* rec)
{
    if (!rec || !rec->visible) return;
    std::vector<QVL::OBJ2_QUAD> quads;
    Obj2_BuildQuads(rec, quads);
    // A stored blend lasts for one quad; the whole object draws with the blend in force when it
    // began (an effect part's key blend), not only its first part.
    const QVL::BLEND blend = g_BlendMode;
    for (const QVL::OBJ2_QUAD& q : quads) {
        Draw_SetBlendMode(blend);
        Tex_Set(q.texture);
        const int32_t* c = q.corners;
        Draw_Quad2D(c[0], c[1], q.r, q.g, q.b, q.a, 0.01f, 0.01f, c[2], c[3], q.r, q.g, q.b, q.a, 0.99f, 0.01f, c[4],
                    c[5], q.r, q.g, q.b, q.a, 0.99f, 0.99f, c[6], c[7], q.r, q.g, q.b, q.a, 0.01f, 0.99f);
    }
}

void Obj2_DrawAll()
{
    for (size_t id = 0; id < g_Obj2Table.size(); ++id) Obj2_Draw(g_Obj2Table[id].get());
}
