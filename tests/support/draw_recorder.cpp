#include "support/draw_recorder.h"

#include "render/immediate.h"
#include "render/sprite.h"

DrawRecorder& DrawRec()
{
    static DrawRecorder r;
    return r;
}

std::vector<DrawCall> DrawRecorder::Of(const std::string& kind) const
{
    std::vector<DrawCall> out;
    for (const DrawCall& c : calls)
        if (c.kind == kind) out.push_back(c);
    return out;
}

static DrawCall Call(const char* kind, int32_t texture)
{
    DrawCall c{};
    c.kind = kind;
    c.texture = texture;
    c.blend = g_BlendMode;
    return c;
}

void Tex_Set(int32_t index)
{
    DrawRec().boundTexture = index;
    DrawRec().calls.push_back(Call("set", index));
}

void Draw_ApplyBlendMode() { DrawRec().calls.push_back(Call("apply", -1)); }

void Draw_Quad2D(int x1, int y1, int r1, int g1, int b1, int a1, float, float, int x2, int y2, int, int, int, int,
                 float, float, int x3, int y3, int, int, int, int, float, float, int x4, int y4, int, int, int, int,
                 float, float)
{
    // The stored blend lasts for this quad only, as on the device.
    DrawCall c = Call("quad", DrawRec().boundTexture);
    Draw_TakeQuadBlendPlan();
    const int xs[4] = {x1, x2, x3, x4}, ys[4] = {y1, y2, y3, y4};
    for (int i = 0; i < 4; ++i) {
        c.x[i] = xs[i];
        c.y[i] = ys[i];
    }
    c.r = r1;
    c.g = g1;
    c.b = b1;
    c.a = a1;
    DrawRec().calls.push_back(c);
}

void Draw_Triangle2D(int x1, int y1, int r1, int g1, int b1, int a1, float, float, int x2, int y2, int, int, int, int,
                     float, float, int x3, int y3, int, int, int, int, float, float)
{
    DrawCall c = Call("triangle", DrawRec().boundTexture);
    const int xs[3] = {x1, x2, x3}, ys[3] = {y1, y2, y3};
    for (int i = 0; i < 3; ++i) {
        c.x[i] = xs[i];
        c.y[i] = ys[i];
    }
    c.r = r1;
    c.g = g1;
    c.b = b1;
    c.a = a1;
    DrawRec().calls.push_back(c);
}

void Draw_Line2DSimple(int x1, int y1, int x2, int y2, int r, int g, int b, int a)
{
    DrawCall c = Call("line", -1);
    c.x[0] = x1;
    c.y[0] = y1;
    c.x[1] = x2;
    c.y[1] = y2;
    c.r = r;
    c.g = g;
    c.b = b;
    c.a = a;
    DrawRec().calls.push_back(c);
}

static bool Sprite(const char* kind, int32_t handle, int x, int y, float angle, float sx, float sy, int r, int g,
                   int b, int a)
{
    if (handle < 0) return false;
    // A sprite is one quad: it takes the stored blend as the quad would.
    DrawCall c = Call(kind, handle);
    Draw_TakeQuadBlendPlan();
    c.x[0] = x;
    c.y[0] = y;
    c.angle = angle;
    c.scaleX = sx;
    c.scaleY = sy;
    c.r = r;
    c.g = g;
    c.b = b;
    c.a = a;
    DrawRec().calls.push_back(c);
    return true;
}

bool Tex_DrawRotated(int32_t handle, int x, int y, float angle, float scaleX, float scaleY, int r, int g, int b, int a)
{
    return Sprite("rotated", handle, x, y, angle, scaleX, scaleY, r, g, b, a);
}

bool Tex_DrawColor(int32_t handle, int x, int y, int r, int g, int b, int a)
{
    return Sprite("color", handle, x, y, 0.0f, 1.0f, 1.0f, r, g, b, a);
}
