// Stand-ins for the maths and frame-timer functions the effect and 2D-object code call, until the
// library's own versions are in the tree. Remove this file when they are.
#include <cmath>

#include "frame/lib.h"
#include "frame/math3d.h"

using QVL::MATRIX;
using QVL::VEC3;

float Anim_CatmullRom(float p0, float p1, float p2, float p3, float t)
{
    float t2 = t * t;
    float t3 = t * t2;
    float m1 = ((p1 - p0) + (p2 - p1)) * 0.5f;
    float m2 = ((p2 - p1) + (p3 - p2)) * 0.5f;
    return (t + (t3 - 2.0f * t2)) * m1 + p1 * (2.0f * t3 - 3.0f * t2 + 1.0f) + m2 * (t3 - t2) +
           p2 * (3.0f * t2 - 2.0f * t3);
}

void Math_MatrixIdentity(MATRIX* out)
{
    *out = MATRIX{};
    for (int i = 0; i < 4; ++i) out->m[i][i] = 1.0f;
}

void Math_MatrixMultiply(MATRIX* out, MATRIX a, MATRIX b)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out->m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
}

void Math_TransformPoint(VEC3* out, float x, float y, float z, const MATRIX& m)
{
    VEC3 r;
    r.x = x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0];
    r.y = x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1];
    r.z = x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + m.m[3][2];
    *out = r;
}

static float Radians(float degrees) { return (float)(6.2831854820251465 / (360.0 / (double)degrees)); }

void Math_MatrixWorld(MATRIX* out, float tx, float ty, float tz, float r1, float r2, float r3,
                      float sx, float sy, float sz)
{
    float ax = Radians(r2), ay = (float)((double)r1 / 360.0 * 6.2831854820251465), az = Radians(-r3);
    MATRIX s, rx, ry, rz, t;
    Math_MatrixIdentity(&s);
    s.m[0][0] = sx;
    s.m[1][1] = sy;
    s.m[2][2] = sz;
    Math_MatrixIdentity(&rx);
    rx.m[1][1] = (float)std::cos((double)ax);
    rx.m[1][2] = (float)std::sin((double)ax);
    rx.m[2][1] = -rx.m[1][2];
    rx.m[2][2] = rx.m[1][1];
    Math_MatrixIdentity(&ry);
    ry.m[0][0] = (float)std::cos((double)ay);
    ry.m[0][2] = -(float)std::sin((double)ay);
    ry.m[2][0] = -ry.m[0][2];
    ry.m[2][2] = ry.m[0][0];
    Math_MatrixIdentity(&rz);
    rz.m[0][0] = (float)std::cos((double)az);
    rz.m[0][1] = (float)std::sin((double)az);
    rz.m[1][0] = -rz.m[0][1];
    rz.m[1][1] = rz.m[0][0];
    Math_MatrixIdentity(&t);
    t.m[3][0] = tx;
    t.m[3][1] = ty;
    t.m[3][2] = tz;
    Math_MatrixMultiply(out, s, rx);
    Math_MatrixMultiply(out, *out, ry);
    Math_MatrixMultiply(out, *out, rz);
    Math_MatrixMultiply(out, *out, t);
}
