// A digest of the maths' exact results over a fixed set of inputs. The native unit tests and the
// Wine tests both compare it with the same constant: the two builds must give the same bits.
#pragma once
#include <cstdint>
#include <cstring>

#include "frame/math3d.h"

// What Compute() returns in both builds.
constexpr uint64_t kMathDigest = 0xcde7a81b260d59d2ull;

namespace math_digest {

struct Fnv {
    uint64_t h = 1469598103934665603ull;
    void Float(float f)
    {
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        for (int i = 0; i < 4; ++i) {
            h ^= (bits >> (8 * i)) & 0xFF;
            h *= 1099511628211ull;
        }
    }
    void Matrix(const QVL::MATRIX& m)
    {
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) Float(m.m[i][j]);
    }
    void Quat(const QVL::QUAT& q)
    {
        Float(q.x);
        Float(q.y);
        Float(q.z);
        Float(q.w);
    }
};

// Angles and values spread over the ranges the editors use, with a few awkward ones.
inline uint64_t Compute()
{
    static const float kAngles[] = {0.0f, -0.0f, 0.3f, 1.0f, 8.0f, 15.0f, 30.0f, 45.0f, 60.0f, 89.9f, 90.0f,
                                    -90.0f, 123.456f, 180.0f, -270.5f, 359.0f, 720.25f};
    Fnv f;
    for (float a : kAngles) {
        QVL::MATRIX m;
        Math_MatrixRotationX(&m, a);
        f.Matrix(m);
        Math_MatrixRotationY(&m, a);
        f.Matrix(m);
        Math_MatrixRotationZ(&m, a);
        f.Matrix(m);
        Math_MatrixWorld(&m, 1.5f, -2.25f, 3.0f, a, a * 0.5f, -a, 1.0f, 2.0f, 0.5f);
        f.Matrix(m);
        QVL::QUAT q;
        Math_QuatFromAxisAngle(&q, 0.267f, 0.534f, 0.801f, a);
        f.Quat(q);
        QVL::QUAT p = {0.1f, 0.2f, 0.3f, 0.9f};
        Math_QuatMultiply(&p, q);
        f.Quat(p);
        Math_QuatToMatrix(&m, p);
        f.Matrix(m);
        Math_MatrixCompose(&m, -4.0f, 0.125f, 7.0f, p.x, p.y, p.z, p.w, 1.25f, 1.0f, 0.75f);
        f.Matrix(m);
        QVL::QUAT back;
        Math_MatrixToQuat(&back, m);
        f.Quat(back);
        QVL::VEC3 v;
        Math_TransformPoint(&v, 0.3f, -1.7f, a, m);
        f.Float(v.x);
        f.Float(v.y);
        f.Float(v.z);
        Math_Vec3Normalize(&v);
        f.Float(v.x);
        f.Float(v.y);
        f.Float(v.z);
        Math_QuatInverse(&back, p);
        f.Quat(back);
        f.Float(Anim_CatmullRom(a, a * 0.5f, -a, 3.0f, 0.37f));
    }
    return f.h;
}

} // namespace math_digest
