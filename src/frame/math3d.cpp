#include "frame/math3d.h"

#include <cmath>
#include <cstring>

using QVL::MATRIX;
using QVL::QUAT;
using QVL::VEC3;

namespace {

// 2π as the single-precision constant the studio has always used.
constexpr double kTwoPi = 6.2831854820251465;

// Sine and cosine of a single-precision angle, rounded once from double: the two C libraries agree
// on that, where their float functions may not.
float SinF(float a) { return (float)std::sin((double)a); }
float CosF(float a) { return (float)std::cos((double)a); }

// The X and Z turns take radians as 2π / (360 / degrees), the Y turn as degrees / 360 × 2π; both are
// rounded to single precision before the sine and cosine.
float RadiansXZ(float degrees) { return (float)(kTwoPi / (360.0 / (double)degrees)); }
float RadiansY(float degrees) { return (float)((double)degrees / 360.0 * kTwoPi); }

} // namespace

void Math_QuatIdentity(QUAT* out)
{
    *out = QUAT{0.0f, 0.0f, 0.0f, 1.0f};
}

void Math_QuatFromAxisAngle(QUAT* out, float x, float y, float z, float degrees)
{
    float h = (degrees / 57.32f) * 0.5f;
    float s = SinF(h);
    *out = QUAT{x * s, y * s, z * s, CosF(h)};
}

void Math_QuatNormalize(QUAT* q)
{
    float len = std::sqrt(q->x * q->x + q->y * q->y + q->z * q->z + q->w * q->w);
    if (std::fabs(len) < 1e-7f) {
        Math_QuatIdentity(q);
        return;
    }
    q->x /= len;
    q->y /= len;
    q->z /= len;
    q->w /= len;
}

void Math_Vec3Normalize(VEC3* v)
{
    float len = std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z);
    if (std::fabs(len) < 1e-7f) {
        *v = VEC3{0.0f, 0.0f, 0.0f};
        return;
    }
    v->x /= len;
    v->y /= len;
    v->z /= len;
}

void Math_QuatInverse(QUAT* out, const QUAT& q)
{
    float n = q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w;
    if (n > 0.0f)
        *out = QUAT{-q.x / n, -q.y / n, -q.z / n, q.w / n};
    else
        Math_QuatIdentity(out);
}

void Math_QuatMultiply(QUAT* p, const QUAT& q)
{
    QUAT a = *p;
    QUAT r;
    r.x = a.w * q.x + a.x * q.w + a.y * q.z - a.z * q.y;
    r.y = a.w * q.y - a.x * q.z + a.y * q.w + a.z * q.x;
    r.z = a.w * q.z + a.x * q.y - a.y * q.x + a.z * q.w;
    r.w = a.w * q.w - a.x * q.x - a.y * q.y - a.z * q.z;
    Math_QuatNormalize(&r);
    *p = r;
}

void Math_QuatToMatrix(MATRIX* out, const QUAT& q)
{
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    float (*m)[4] = out->m;
    m[0][0] = 1.0f - 2.0f * (z * z + y * y);
    m[0][1] = 2.0f * (x * y - z * w);
    m[0][2] = 2.0f * (y * w + x * z);
    m[0][3] = 0.0f;
    m[1][0] = 2.0f * (x * y + z * w);
    m[1][1] = 1.0f - 2.0f * (z * z + x * x);
    m[1][2] = 2.0f * (y * z - x * w);
    m[1][3] = 0.0f;
    m[2][0] = 2.0f * (x * z - y * w);
    m[2][1] = 2.0f * (y * z + x * w);
    m[2][2] = 1.0f - 2.0f * (y * y + x * x);
    m[2][3] = 0.0f;
    m[3][0] = 0.0f;
    m[3][1] = 0.0f;
    m[3][2] = 0.0f;
    m[3][3] = 1.0f;
}

void Math_MatrixToQuat(QUAT* out, const MATRIX& mat)
{
    const float (*m)[4] = mat.m;
    float s = std::sqrt(m[0][0] + m[1][1] + m[2][2] + m[3][3]);
    float d = 2.0f * s;
    out->x = (m[2][1] - m[1][2]) / d;
    out->y = (m[0][2] - m[2][0]) / d;
    out->z = (m[1][0] - m[0][1]) / d;
    out->w = s * 0.5f;
}

void Math_MatrixIdentity(MATRIX* out)
{
    std::memset(out, 0, sizeof *out);
    out->m[0][0] = out->m[1][1] = out->m[2][2] = out->m[3][3] = 1.0f;
}

void Math_MatrixCopy(MATRIX* out, const MATRIX& m)
{
    std::memmove(out, &m, sizeof *out);
}

void Math_MatrixMultiply(MATRIX* out, MATRIX a, MATRIX b)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out->m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
}

void Math_TransformPoint(VEC3* out, float x, float y, float z, const MATRIX& mat)
{
    const float (*m)[4] = mat.m;
    VEC3 r;
    r.x = x * m[0][0] + y * m[1][0] + z * m[2][0] + m[3][0];
    r.y = x * m[0][1] + y * m[1][1] + z * m[2][1] + m[3][1];
    r.z = x * m[0][2] + y * m[1][2] + z * m[2][2] + m[3][2];
    *out = r;
}

void Math_MatrixTranslation(MATRIX* out, float x, float y, float z)
{
    Math_MatrixIdentity(out);
    out->m[3][0] = x;
    out->m[3][1] = y;
    out->m[3][2] = z;
}

void Math_MatrixScaling(MATRIX* out, float x, float y, float z)
{
    std::memset(out, 0, sizeof *out);
    out->m[0][0] = x;
    out->m[1][1] = y;
    out->m[2][2] = z;
    out->m[3][3] = 1.0f;
}

void Math_MatrixRotationX(MATRIX* out, float degrees)
{
    float a = RadiansXZ(degrees);
    float c = CosF(a), s = SinF(a);
    Math_MatrixIdentity(out);
    out->m[1][1] = c;
    out->m[1][2] = s;
    out->m[2][1] = -s;
    out->m[2][2] = c;
}

void Math_MatrixRotationY(MATRIX* out, float degrees)
{
    float a = RadiansY(degrees);
    float c = CosF(a), s = SinF(a);
    Math_MatrixIdentity(out);
    out->m[0][0] = c;
    out->m[0][2] = -s;
    out->m[2][0] = s;
    out->m[2][2] = c;
}

void Math_MatrixRotationZ(MATRIX* out, float degrees)
{
    float a = RadiansXZ(degrees);
    float c = CosF(a), s = SinF(a);
    Math_MatrixIdentity(out);
    out->m[0][0] = c;
    out->m[0][1] = s;
    out->m[1][0] = -s;
    out->m[1][1] = c;
}

void Math_MatrixCompose(MATRIX* out, float tx, float ty, float tz, float qx, float qy, float qz, float qw,
                        float sx, float sy, float sz)
{
    MATRIX s, r, t;
    Math_MatrixScaling(&s, sx, sy, sz);
    Math_QuatToMatrix(&r, QUAT{qx, qy, qz, qw});
    Math_MatrixTranslation(&t, tx, ty, tz);
    Math_MatrixMultiply(out, s, r);
    Math_MatrixMultiply(out, *out, t);
}

void Math_MatrixWorld(MATRIX* out, float tx, float ty, float tz, float r1, float r2, float r3,
                      float sx, float sy, float sz)
{
    MATRIX s, rx, ry, rz, t;
    Math_MatrixScaling(&s, sx, sy, sz);
    Math_MatrixRotationX(&rx, r2);
    Math_MatrixRotationY(&ry, r1);
    Math_MatrixRotationZ(&rz, -r3);
    Math_MatrixTranslation(&t, tx, ty, tz);
    Math_MatrixMultiply(out, s, rx);
    Math_MatrixMultiply(out, *out, ry);
    Math_MatrixMultiply(out, *out, rz);
    Math_MatrixMultiply(out, *out, t);
}

void Math_MatrixShadow(MATRIX* out, float a, float b, float c)
{
    Math_MatrixIdentity(out);
    out->m[1][0] = -a / b;
    out->m[1][1] = 0.0f;
    out->m[1][2] = -c / b;
}

float Anim_CatmullRom(float p0, float p1, float p2, float p3, float t)
{
    float t2 = t * t;
    float t3 = t * t2;
    float m1 = ((p1 - p0) + (p2 - p1)) * 0.5f;
    float m2 = ((p2 - p1) + (p3 - p2)) * 0.5f;
    return (t + (t3 - 2.0f * t2)) * m1 + p1 * (2.0f * t3 - 3.0f * t2 + 1.0f) + m2 * (t3 - t2) +
           p2 * (3.0f * t2 - 2.0f * t3);
}

bool Anim_AdvanceFrames(int32_t* frame, float* fraction, float step)
{
    *fraction += step;
    if (!(*fraction >= 1.0f)) return false;
    const double whole = std::floor((double)*fraction);
    const double next = (double)*frame + whole;
    *frame = next >= 2147483647.0 ? 2147483647 : (int32_t)next;
    // An infinite sum leaves no fraction to keep.
    *fraction = std::isfinite(whole) ? (float)((double)*fraction - whole) : 0.0f;
    return true;
}
