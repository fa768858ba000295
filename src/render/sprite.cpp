#include "render/sprite.h"

#include <cmath>

using QVL::SPRITE_QUAD;

namespace {

void SetInset(SPRITE_QUAD* q)
{
    static const float u[4] = {0.01f, 0.99f, 0.99f, 0.01f};
    static const float v[4] = {0.01f, 0.01f, 0.99f, 0.99f};
    for (int k = 0; k < 4; ++k) {
        q->u[k] = u[k];
        q->v[k] = v[k];
    }
}

void SetColor(SPRITE_QUAD* q, int r, int g, int b, int a)
{
    q->r = r;
    q->g = g;
    q->b = b;
    q->a = a;
}

void SetBox(SPRITE_QUAD* q, int x, int y, int w, int h)
{
    const int xs[4] = {x, x + w, x + w, x};
    const int ys[4] = {y, y, y + h, y + h};
    for (int k = 0; k < 4; ++k) {
        q->x[k] = xs[k];
        q->y[k] = ys[k];
    }
}

} // namespace

void Sprite_Plain(SPRITE_QUAD* q, int x, int y, int w, int h)
{
    SetBox(q, x, y, w, h);
    static const float u[4] = {0.0f, 1.0f, 1.0f, 0.0f};
    static const float v[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    for (int k = 0; k < 4; ++k) {
        q->u[k] = u[k];
        q->v[k] = v[k];
    }
    SetColor(q, 255, 255, 255, 255);
}

void Sprite_Colored(SPRITE_QUAD* q, int x, int y, int w, int h, int r, int g, int b, int a)
{
    SetBox(q, x, y, w, h);
    SetInset(q);
    SetColor(q, r, g, b, a);
}

void Sprite_Rotated(SPRITE_QUAD* q, int x, int y, int w, int h, float angle, float scaleX, float scaleY, int r,
                    int g, int b, int a)
{
    const float x0 = -(float)w / 2.0f * scaleX, x1 = (float)w / 2.0f * scaleX;
    const float y0 = -(float)h / 2.0f * scaleY, y1 = (float)h / 2.0f * scaleY;
    const float alpha = angle * 6.2831855f / 360.0f;
    const float c = (float)std::cos((double)alpha), s = (float)std::sin((double)alpha);
    const float cx[4] = {x0, x1, x1, x0};
    const float cy[4] = {y0, y0, y1, y1};
    for (int k = 0; k < 4; ++k) {
        q->x[k] = x + (int)(cx[k] * c - cy[k] * s);
        q->y[k] = y + (int)(cx[k] * s + cy[k] * c);
    }
    SetInset(q);
    SetColor(q, r & 255, g & 255, b & 255, a & 255);
}

void Sprite_Corners(SPRITE_QUAD* q, const int corners[8], int r, int g, int b, int a)
{
    for (int k = 0; k < 4; ++k) {
        q->x[k] = corners[2 * k];
        q->y[k] = corners[2 * k + 1];
    }
    SetInset(q);
    SetColor(q, r, g, b, a);
}

void Sprite_Uv(SPRITE_QUAD* q, const double corners[8], const double uv[8], int w, int h, int r, int g, int b, int a)
{
    for (int k = 0; k < 4; ++k) {
        q->x[k] = (int)corners[2 * k];
        q->y[k] = (int)corners[2 * k + 1];
        q->u[k] = (float)(uv[2 * k] / (double)w);
        q->v[k] = (float)(uv[2 * k + 1] / (double)h);
    }
    SetColor(q, r, g, b, a);
}
