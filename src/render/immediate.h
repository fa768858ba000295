// Immediate drawing: one primitive at once on the device, 2D in the coordinates of the 1280 x 720
// base size, 3D in world coordinates. The tables and the arithmetic (blend and fill states, colour
// packing, the 2D mapping, the world transform) are platform-free here; the device calls are in
// render/win32/immediate_d3d.cpp.
#pragma once
#include <cstdint>

#include "frame/math3d.h"

namespace QVL {

// The blend of the next Draw_Quad2D.
typedef int32_t BLEND;
enum : int32_t { BLEND_ALPHA = 0, BLEND_ADDITIVE = 1, BLEND_SUBTRACT = 2, BLEND_ADD = 3 };

// Device values of the blend and fill states, as plain numbers (checked against d3d9.h on the
// platform side).
enum : uint32_t {
    RS_FILLMODE = 8, RS_SHADEMODE = 9, RS_SRCBLEND = 19, RS_DESTBLEND = 20, RS_BLENDOP = 171,
    BLEND_ONE = 2, BLEND_SRCALPHA = 5, BLEND_INVSRCALPHA = 6,
    BLENDOP_ADD = 1, BLENDOP_REVSUBTRACT = 3,
    FILL_POINT = 1, FILL_WIREFRAME = 2, FILL_SOLID = 3,
    SHADE_FLAT = 1, SHADE_GOURAUD = 2,
};

// D3DRS_BLENDOP, then D3DRS_DESTBLEND, then D3DRS_SRCBLEND.
struct BLEND_STATES {
    uint32_t op, dest, src;
};

// D3DRS_FILLMODE, then D3DRS_SHADEMODE.
struct FILL_STATES {
    uint32_t fill, shade;
};

// What a 2D quad does to the blend states: apply `before` (when it is valid) ahead of the quad,
// then `after` (always alpha) once it is drawn, so a blend lasts for exactly one quad.
struct QUAD_BLEND_PLAN {
    bool beforeValid;
    BLEND_STATES before;
    BLEND_STATES after;
};

// Where 2D coordinates land: x' = x * scaleX + offsetX (likewise y).
struct MAP2D {
    float scaleX, scaleY;
    float offsetX, offsetY;
};

} // namespace QVL

extern QVL::BLEND g_BlendMode;        // 0 at start
extern float g_WindowScale[2];        // (1, 1) until the text font computes it
extern int32_t g_ScaleToWindow;       // 1 from construction; the studio's entry sets 0

// a << 24 | (r & 255) << 16 | (g & 255) << 8 | (b & 255): components above 255 keep their low
// 8 bits, and alpha's high bits fall off the shift.
uint32_t Draw_PackColor(int r, int g, int b, int a);

void Draw_SetBlendMode(QVL::BLEND mode);
// The states of a blend mode; false (nothing to set) for a value outside the table.
bool Draw_BlendStates(QVL::BLEND mode, QVL::BLEND_STATES* out);
// The plan of the next quad from g_BlendMode, which goes back to 0.
QVL::QUAD_BLEND_PLAN Draw_TakeQuadBlendPlan();
// Fill and shade for a shading code (1 point, 2 wireframe, 3 flat, 4 and 5 Gouraud); false for any
// other code, which changes nothing.
bool Draw_FillStates(int code, QVL::FILL_STATES* out);

// The mapping of 2D coordinates: the window scale, plus, for a studio mode with a 640 x 480 game
// screen, the centring of that screen in the monitor-sized main view and view 0's pan.
QVL::MAP2D Draw_MakeMap2D(float scaleX, float scaleY, bool gameScreen, int monitorWidth, int monitorHeight,
                          float panX, float panY);
// The mapping of this frame from the globals (window scale, studio flag, mode, monitor, view 0).
QVL::MAP2D Draw_Current2DMap();
// True when the studio shows the current mode's 640 x 480 game screen in its main view.
bool Draw_IsGameScreenMode();
// The target (pan x, y) of view 0 of the current screen, which the game screen scrolls with.
void Draw_MainViewPan(float* x, float* y);
void Draw_Map2DPoint(const QVL::MAP2D& map, float x, float y, float* outX, float* outY);

// WORLD of Draw_SetWorldTransform: Math_MatrixWorld with the rotations y, x, -z in its three places.
void Draw_WorldMatrix(QVL::MATRIX* out, float x, float y, float z, float rx, float ry, float rz, float sx,
                      float sy, float sz);

// Device side (render/win32/immediate_d3d.cpp).
void Draw_Point2D(int x, int y, int r, int g, int b, int a, float u, float v);
void Draw_Point2DSimple(int x, int y, int r, int g, int b, int a);
void Draw_Line2D(int x1, int y1, int r1, int g1, int b1, int a1, float u1, float v1, int x2, int y2, int r2, int g2,
                 int b2, int a2, float u2, float v2);
void Draw_Line2DSimple(int x1, int y1, int x2, int y2, int r, int g, int b, int a);
void Draw_Triangle2D(int x1, int y1, int r1, int g1, int b1, int a1, float u1, float v1, int x2, int y2, int r2,
                     int g2, int b2, int a2, float u2, float v2, int x3, int y3, int r3, int g3, int b3, int a3,
                     float u3, float v3);
void Draw_Quad2D(int x1, int y1, int r1, int g1, int b1, int a1, float u1, float v1, int x2, int y2, int r2, int g2,
                 int b2, int a2, float u2, float v2, int x3, int y3, int r3, int g3, int b3, int a3, float u3,
                 float v3, int x4, int y4, int r4, int g4, int b4, int a4, float u4, float v4);
void Draw_Rect2D(int x1, int y1, int x2, int y2, int r, int g, int b, int a);
void Draw_Point3D(float x, float y, float z, int r, int g, int b, int a, float u, float v);
void Draw_Line3D(float x1, float y1, float z1, int r1, int g1, int b1, int a1, float u1, float v1, float x2,
                 float y2, float z2, int r2, int g2, int b2, int a2, float u2, float v2);
void Draw_Triangle3D(float x1, float y1, float z1, float nx1, float ny1, float nz1, int r1, int g1, int b1, int a1,
                     float u1, float v1, float x2, float y2, float z2, float nx2, float ny2, float nz2, int r2,
                     int g2, int b2, int a2, float u2, float v2, float x3, float y3, float z3, float nx3, float ny3,
                     float nz3, int r3, int g3, int b3, int a3, float u3, float v3);
void Draw_Quad3D(float x1, float y1, float z1, float nx1, float ny1, float nz1, int r1, int g1, int b1, int a1,
                 float u1, float v1, float x2, float y2, float z2, float nx2, float ny2, float nz2, int r2, int g2,
                 int b2, int a2, float u2, float v2, float x3, float y3, float z3, float nx3, float ny3, float nz3,
                 int r3, int g3, int b3, int a3, float u3, float v3, float x4, float y4, float z4, float nx4,
                 float ny4, float nz4, int r4, int g4, int b4, int a4, float u4, float v4);
void Draw_ApplyBlendMode();
void Draw_SetFillMode(int code);
void Draw_SetWorldTransform(float x, float y, float z, float rx, float ry, float rz, float sx, float sy, float sz);
void Render_SetDefaultStates();
void Render_Set3DScene(int flag);
