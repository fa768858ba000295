// The engine's own quaternion, matrix and spline functions.
// Matrices are row-major and used with row vectors as in Direct3D: a point is transformed as p × M,
// the translation sits in the fourth row, and A × B applies A first. The layout matches D3DXMATRIX,
// so platform code may hand a MATRIX to Direct3D as it is. Angles are degrees.
// Every result is computed in single precision in a fixed order, so the native and Windows builds
// agree bit for bit (sine and cosine go through double and are rounded once).
#pragma once

#include <cstdint>

namespace QVL {

struct VEC3 {
    float x, y, z;
};

struct QUAT {
    float x, y, z, w;
};

struct MATRIX {
    float m[4][4];
};

} // namespace QVL

void Math_QuatIdentity(QVL::QUAT* out);
// h = (degrees / 57.32) * 0.5 (the studio's own degree constant); the axis is used as given.
void Math_QuatFromAxisAngle(QVL::QUAT* out, float x, float y, float z, float degrees);
// A length below 1e-7 gives the identity.
void Math_QuatNormalize(QVL::QUAT* q);
// A length below 1e-7 gives (0, 0, 0).
void Math_Vec3Normalize(QVL::VEC3* v);
void Math_QuatInverse(QVL::QUAT* out, const QVL::QUAT& q);
// p := normalise(p ⊗ q).
void Math_QuatMultiply(QVL::QUAT* p, const QVL::QUAT& q);
// The transpose of D3DXMatrixRotationQuaternion.
void Math_QuatToMatrix(QVL::MATRIX* out, const QVL::QUAT& q);
// Trace form only: the inverse of Math_QuatToMatrix for a unit quaternion with w > 0.
void Math_MatrixToQuat(QVL::QUAT* out, const QVL::MATRIX& m);

void Math_MatrixIdentity(QVL::MATRIX* out);
void Math_MatrixCopy(QVL::MATRIX* out, const QVL::MATRIX& m);
// out = a × b; the operands are copies, so out may be either of them.
void Math_MatrixMultiply(QVL::MATRIX* out, QVL::MATRIX a, QVL::MATRIX b);
// (x, y, z, 1) × m without the division by w.
void Math_TransformPoint(QVL::VEC3* out, float x, float y, float z, const QVL::MATRIX& m);
void Math_MatrixTranslation(QVL::MATRIX* out, float x, float y, float z);
void Math_MatrixScaling(QVL::MATRIX* out, float x, float y, float z);
void Math_MatrixRotationX(QVL::MATRIX* out, float degrees);
void Math_MatrixRotationY(QVL::MATRIX* out, float degrees);
void Math_MatrixRotationZ(QVL::MATRIX* out, float degrees);
// Scaling(s) × QuatToMatrix(q) × Translation(t).
void Math_MatrixCompose(QVL::MATRIX* out, float tx, float ty, float tz, float qx, float qy, float qz, float qw,
                        float sx, float sy, float sz);
// Scaling(s) × RotationX(r2) × RotationY(r1) × RotationZ(-r3) × Translation(t).
void Math_MatrixWorld(QVL::MATRIX* out, float tx, float ty, float tz, float r1, float r2, float r3,
                      float sx, float sy, float sz);
// Flattens points onto the plane y = 0 along the direction (a, b, c).
void Math_MatrixShadow(QVL::MATRIX* out, float a, float b, float c);

// Uniform Catmull-Rom between p1 (t = 0) and p2 (t = 1); the caller picks and wraps the four keys.
float Anim_CatmullRom(float p0, float p1, float p2, float p3, float t);

// One playback clock step: fraction += step, and its whole frames move into the frame at once (a
// long pause must not loop once per frame, and at 2^24 subtracting 1 no longer changes a float).
// The frame stops at INT32_MAX. True when at least one whole frame was taken.
bool Anim_AdvanceFrames(int32_t* frame, float* fraction, float step);

// Truncation towards zero that stays defined for values outside int32 (and NaN gives 0).
inline int32_t Math_TruncInt(float v)
{
    if (!(v == v)) return 0;
    if (v >= 2147483647.0f) return 2147483647;
    if (v <= -2147483648.0f) return (-2147483647 - 1);
    return (int32_t)v;
}
