// Sprite drawing: a texture slot's picture as one 2D quad with the stored blend.
#include "model/gpu_services.h"
#include "render/immediate.h"
#include "render/sprite.h"
#include "render/tex_slots.h"

namespace {

// The slot's size when the handle names a slot in use.
bool SlotSize(int32_t handle, int* w, int* h)
{
    float fw, fh;
    if (!Tex_GetSize(handle, &fw, &fh)) return false;
    *w = (int)fw;
    *h = (int)fh;
    return true;
}

void DrawQuad(int32_t handle, const QVL::SPRITE_QUAD& q)
{
    Tex_Set(handle);
    Draw_Quad2D(q.x[0], q.y[0], q.r, q.g, q.b, q.a, q.u[0], q.v[0], q.x[1], q.y[1], q.r, q.g, q.b, q.a, q.u[1], q.v[1],
                q.x[2], q.y[2], q.r, q.g, q.b, q.a, q.u[2], q.v[2], q.x[3], q.y[3], q.r, q.g, q.b, q.a, q.u[3], q.v[3]);
}

} // namespace

bool Tex_Draw(int32_t handle, int x, int y)
{
    int w, h;
    if (!SlotSize(handle, &w, &h)) return false;
    QVL::SPRITE_QUAD q;
    Sprite_Plain(&q, x, y, w, h);
    DrawQuad(handle, q);
    return true;
}

bool Tex_DrawColor(int32_t handle, int x, int y, int r, int g, int b, int a)
{
    int w, h;
    if (!SlotSize(handle, &w, &h)) return false;
    QVL::SPRITE_QUAD q;
    Sprite_Colored(&q, x, y, w, h, r, g, b, a);
    DrawQuad(handle, q);
    return true;
}

bool Tex_DrawRotated(int32_t handle, int x, int y, float angle, float scaleX, float scaleY, int r, int g, int b, int a)
{
    int w, h;
    if (!SlotSize(handle, &w, &h)) return false;
    QVL::SPRITE_QUAD q;
    Sprite_Rotated(&q, x, y, w, h, angle, scaleX, scaleY, r, g, b, a);
    DrawQuad(handle, q);
    return true;
}

bool Tex_DrawCorners(int32_t handle, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int r, int g,
                     int b, int a)
{
    int w, h;
    if (!SlotSize(handle, &w, &h)) return false;
    const int corners[8] = {x1, y1, x2, y2, x3, y3, x4, y4};
    QVL::SPRITE_QUAD q;
    Sprite_Corners(&q, corners, r, g, b, a);
    DrawQuad(handle, q);
    return true;
}

bool Tex_DrawUv(int32_t handle, double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                double y4, double u1, double v1, double u2, double v2, double u3, double v3, double u4, double v4,
                int r, int g, int b, int a)
{
    int w, h;
    if (!SlotSize(handle, &w, &h)) return false;
    const double corners[8] = {x1, y1, x2, y2, x3, y3, x4, y4};
    const double uv[8] = {u1, v1, u2, v2, u3, v3, u4, v4};
    QVL::SPRITE_QUAD q;
    Sprite_Uv(&q, corners, uv, w, h, r, g, b, a);
    DrawQuad(handle, q);
    return true;
}
