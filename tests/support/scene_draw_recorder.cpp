// Native stand-ins for the two drawing calls the map and collision editors add to the recorded ones:
// the picture drawn by texture coordinates ("uv") and the 3D quad ("quad3d", corners truncated).
#include "render/immediate.h"
#include "render/sprite.h"
#include "support/draw_recorder.h"

bool Tex_DrawUv(int32_t handle, double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4,
                double, double, double, double, double, double, double, double, int r, int g, int b, int a)
{
    if (handle < 0) return false;
    DrawCall c{};
    c.kind = "uv";
    c.texture = handle;
    c.blend = g_BlendMode;
    const double xs[4] = {x1, x2, x3, x4}, ys[4] = {y1, y2, y3, y4};
    for (int i = 0; i < 4; ++i) {
        c.x[i] = (int32_t)xs[i];
        c.y[i] = (int32_t)ys[i];
    }
    c.r = r, c.g = g, c.b = b, c.a = a;
    DrawRec().calls.push_back(c);
    return true;
}

void Draw_Quad3D(float x1, float, float z1, float, float, float, int r1, int g1, int b1, int a1, float, float, float x2,
                 float, float z2, float, float, float, int, int, int, int, float, float, float x3, float, float z3,
                 float, float, float, int, int, int, int, float, float, float x4, float, float z4, float, float, float,
                 int, int, int, int, float, float)
{
    DrawCall c{};
    c.kind = "quad3d";
    c.texture = DrawRec().boundTexture;
    c.blend = g_BlendMode;
    const float xs[4] = {x1, x2, x3, x4}, zs[4] = {z1, z2, z3, z4};
    for (int i = 0; i < 4; ++i) {
        c.x[i] = (int32_t)xs[i];
        c.y[i] = (int32_t)zs[i];
    }
    c.r = r1, c.g = g1, c.b = b1, c.a = a1;
    DrawRec().calls.push_back(c);
}
