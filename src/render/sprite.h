// Sprites: a texture slot's picture drawn as one 2D quad (fan order) at its natural size, tinted,
// rotated and scaled, onto four corners, or with pixel texture coordinates. The corner arithmetic is
// platform-free; the drawing operations are in render/win32/sprites.cpp.
#pragma once
#include <cstdint>

namespace QVL {

struct SPRITE_QUAD {
    int32_t x[4], y[4];
    float u[4], v[4];
    int32_t r, g, b, a;
};

} // namespace QVL

// Tex_Draw: top-left at (x, y), natural size, white, the full texture.
void Sprite_Plain(QVL::SPRITE_QUAD* q, int x, int y, int w, int h);
// Tex_DrawColor: as Tex_Draw, tinted, the texture 0.01 short of each edge.
void Sprite_Colored(QVL::SPRITE_QUAD* q, int x, int y, int w, int h, int r, int g, int b, int a);
// Tex_DrawRotated: about the centre (x, y); a positive angle turns clockwise on screen (y down).
void Sprite_Rotated(QVL::SPRITE_QUAD* q, int x, int y, int w, int h, float angle, float scaleX, float scaleY,
                    int r, int g, int b, int a);
// Tex_DrawCorners: onto four corners in fan order.
void Sprite_Corners(QVL::SPRITE_QUAD* q, const int corners[8], int r, int g, int b, int a);
// Tex_DrawUv: corners truncated to integers, texture coordinates in pixels of the w x h picture.
void Sprite_Uv(QVL::SPRITE_QUAD* q, const double corners[8], const double uv[8], int w, int h, int r, int g, int b,
               int a);

// Drawing operations of a texture handle: each returns false and draws nothing when the handle is -1
// or its slot is not in use.
bool Tex_Draw(int32_t handle, int x, int y);
bool Tex_DrawColor(int32_t handle, int x, int y, int r, int g, int b, int a);
bool Tex_DrawRotated(int32_t handle, int x, int y, float angle, float scaleX, float scaleY, int r, int g, int b,
                     int a);
bool Tex_DrawCorners(int32_t handle, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int r, int g,
                     int b, int a);
bool Tex_DrawUv(int32_t handle, double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                double y4, double u1, double v1, double u2, double v2, double u3, double v3, double u4, double v4,
                int r, int g, int b, int a);
