#include <gtest/gtest.h>

#include <cmath>

#include "frame/math3d.h"
#include "frame/math_digest.h"

using QVL::MATRIX;
using QVL::QUAT;
using QVL::VEC3;

namespace {

MATRIX Rows(std::initializer_list<float> v)
{
    MATRIX m;
    auto it = v.begin();
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) m.m[i][j] = *it++;
    return m;
}

void ExpectNear(const MATRIX& want, const MATRIX& got, float tol, const char* what)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(want.m[i][j], got.m[i][j], tol) << what << " m" << i + 1 << j + 1;
}

void ExpectExact(const MATRIX& want, const MATRIX& got, const char* what)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(want.m[i][j], got.m[i][j]) << what << " m" << i + 1 << j + 1;
}

MATRIX Transpose(const MATRIX& m)
{
    MATRIX t;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) t.m[i][j] = m.m[j][i];
    return t;
}

// The platform's rotation-quaternion matrix, written out from its documented formula, to check that
// the engine's is its transpose.
MATRIX PlatformRotationQuaternion(const QUAT& q)
{
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    return Rows({1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w), 0,
                 2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w), 0,
                 2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y), 0,
                 0, 0, 0, 1});
}

} // namespace

TEST(Math, RotationsAreTheDirect3DLeftHandedOnes)
{
    const float c = std::cos(0.5235987755982988);  // 30 degrees
    const float s = std::sin(0.5235987755982988);
    struct Case {
        void (*fn)(MATRIX*, float);
        MATRIX want;
        const char* name;
    } cases[] = {
        {Math_MatrixRotationX, Rows({1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1}), "X"},
        {Math_MatrixRotationY, Rows({c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1}), "Y"},
        {Math_MatrixRotationZ, Rows({c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}), "Z"},
    };
    for (const Case& k : cases) {
        MATRIX m;
        k.fn(&m, 30.0f);
        ExpectNear(k.want, m, 1e-6f, k.name);
    }
    // 90 degrees about X: the exact sine 1 lands in m23, its negation in m32.
    MATRIX m;
    Math_MatrixRotationX(&m, 90.0f);
    EXPECT_EQ(1.0f, m.m[1][2]);
    EXPECT_EQ(-1.0f, m.m[2][1]);
    EXPECT_NEAR(0.0f, m.m[1][1], 1e-7f);
}

TEST(Math, PointTransformUsesRowVectors)
{
    // Rotating (1, 0, 0) by +90 degrees about Z turns it to +Y in the row-vector convention.
    MATRIX rz, t, m;
    Math_MatrixRotationZ(&rz, 90.0f);
    Math_MatrixTranslation(&t, 10.0f, 20.0f, 30.0f);
    Math_MatrixMultiply(&m, rz, t);  // rotate first, then move
    VEC3 p;
    Math_TransformPoint(&p, 1.0f, 0.0f, 0.0f, m);
    EXPECT_NEAR(10.0f, p.x, 1e-6f);
    EXPECT_NEAR(21.0f, p.y, 1e-6f);
    EXPECT_EQ(30.0f, p.z);
    // The operands are copies: the result may overwrite either.
    Math_MatrixMultiply(&rz, rz, t);
    ExpectExact(m, rz, "in place a");
    Math_MatrixRotationZ(&rz, 90.0f);
    Math_MatrixMultiply(&t, rz, t);
    ExpectExact(m, t, "in place b");
}

TEST(Math, QuatToMatrixIsTransposeOfPlatformMatrix)
{
    const QUAT qs[] = {{0, 0, 0, 1}, {0.5f, 0.5f, 0.5f, 0.5f}, {0.1825742f, 0.3651484f, 0.5477226f, 0.7302967f},
                       {0, 0.7071068f, 0, 0.7071068f}, {-0.3f, 0.1f, 0.9f, -0.2f}};
    for (const QUAT& q : qs) {
        MATRIX m;
        Math_QuatToMatrix(&m, q);
        ExpectNear(Transpose(PlatformRotationQuaternion(q)), m, 1e-6f, "transpose");
    }
    // Turning by q about +Z is the engine's Z rotation by the negated angle.
    const float h = 0.5235987755982988f * 0.5f;
    MATRIX fromQuat, rz;
    Math_QuatToMatrix(&fromQuat, QUAT{0, 0, std::sin(h), std::cos(h)});
    Math_MatrixRotationZ(&rz, -30.0f);
    ExpectNear(rz, fromQuat, 1e-6f, "about Z");
}

TEST(Math, MatrixToQuatInvertsQuatToMatrix)
{
    const QUAT qs[] = {{0, 0, 0, 1}, {0.5f, 0.5f, 0.5f, 0.5f}, {0.1825742f, -0.3651484f, 0.5477226f, 0.7302967f}};
    for (const QUAT& q : qs) {
        MATRIX m;
        QUAT back;
        Math_QuatToMatrix(&m, q);
        Math_MatrixToQuat(&back, m);
        EXPECT_NEAR(q.x, back.x, 1e-6f);
        EXPECT_NEAR(q.y, back.y, 1e-6f);
        EXPECT_NEAR(q.z, back.z, 1e-6f);
        EXPECT_NEAR(q.w, back.w, 1e-6f);
    }
}

TEST(Math, QuaternionTable)
{
    QUAT q;
    // The studio's degree constant: h = 90 / 57.32 / 2, not π/4.
    Math_QuatFromAxisAngle(&q, 0.0f, 2.0f, 0.0f, 90.0f);
    const float h = (90.0f / 57.32f) * 0.5f;
    EXPECT_NEAR(0.7850663f, h, 1e-6f);
    EXPECT_EQ((float)std::sin((double)h) * 2.0f, q.y);  // the axis is not normalised
    EXPECT_EQ((float)std::cos((double)h), q.w);
    EXPECT_EQ(0.0f, q.x);

    struct Case {
        QUAT in, want;
    } norm[] = {
        {{0, 0, 0, 0}, {0, 0, 0, 1}},
        {{0, 0, 0, 2}, {0, 0, 0, 1}},
        {{3, 0, 4, 0}, {0.6f, 0, 0.8f, 0}},
        {{1e-8f, 0, 0, 0}, {0, 0, 0, 1}},
    };
    for (const Case& c : norm) {
        q = c.in;
        Math_QuatNormalize(&q);
        EXPECT_FLOAT_EQ(c.want.x, q.x);
        EXPECT_FLOAT_EQ(c.want.z, q.z);
        EXPECT_FLOAT_EQ(c.want.w, q.w);
    }

    struct InvCase {
        QUAT in, want;
    } inv[] = {
        {{0, 0, 0, 0}, {0, 0, 0, 1}},
        {{1, 2, 3, 4}, {-1 / 30.0f, -2 / 30.0f, -3 / 30.0f, 4 / 30.0f}},
        {{0, 0.7071068f, 0, 0.7071068f}, {0, -0.7071068f, 0, 0.7071068f}},
    };
    for (const InvCase& c : inv) {
        Math_QuatInverse(&q, c.in);
        EXPECT_FLOAT_EQ(c.want.x, q.x);
        EXPECT_FLOAT_EQ(c.want.y, q.y);
        EXPECT_FLOAT_EQ(c.want.z, q.z);
        EXPECT_FLOAT_EQ(c.want.w, q.w);
    }

    VEC3 v = {0, 0, 0};
    Math_Vec3Normalize(&v);
    EXPECT_EQ(0.0f, v.x);
    EXPECT_EQ(0.0f, v.y);
    EXPECT_EQ(0.0f, v.z);
    v = {0, 3, 4};
    Math_Vec3Normalize(&v);
    EXPECT_FLOAT_EQ(0.6f, v.y);
    EXPECT_FLOAT_EQ(0.8f, v.z);
}

TEST(Math, QuatMultiplyMatchesMatrixProductAndNormalises)
{
    // The engine's matrix of a product is the product of the matrices in the same order.
    const float s = 0.70710678f;
    QUAT a = {s, 0, 0, s}, b = {0, s, 0, s};
    MATRIX ma, mb, mab, prod;
    Math_QuatToMatrix(&ma, a);
    Math_QuatToMatrix(&mb, b);
    QUAT p = a;
    Math_QuatMultiply(&p, b);
    Math_QuatToMatrix(&prod, p);
    Math_MatrixMultiply(&mab, ma, mb);
    ExpectNear(mab, prod, 1e-6f, "product");
    EXPECT_NEAR(1.0f, p.x * p.x + p.y * p.y + p.z * p.z + p.w * p.w, 1e-6f);
    // An unnormalised operand still yields a unit result.
    QUAT big = {0, 0, 0, 3};
    Math_QuatMultiply(&big, QUAT{0, 0, 0, 2});
    EXPECT_EQ(1.0f, big.w);
}

TEST(Math, WorldAndCompose)
{
    MATRIX m, t;
    Math_MatrixWorld(&m, 1.0f, -2.0f, 3.5f, 0, 0, 0, 1, 1, 1);
    Math_MatrixTranslation(&t, 1.0f, -2.0f, 3.5f);
    ExpectExact(t, m, "zero angles");

    // S · Rx(r2) · Ry(r1) · Rz(-r3) · T: scale, then X by the second angle, Y by the first, Z by the
    // negated third, then move.
    MATRIX s, rx, ry, rz, want;
    Math_MatrixScaling(&s, 2, 3, 4);
    Math_MatrixRotationX(&rx, 20);
    Math_MatrixRotationY(&ry, 10);
    Math_MatrixRotationZ(&rz, -30);
    Math_MatrixTranslation(&t, 5, 6, 7);
    Math_MatrixMultiply(&want, s, rx);
    Math_MatrixMultiply(&want, want, ry);
    Math_MatrixMultiply(&want, want, rz);
    Math_MatrixMultiply(&want, want, t);
    Math_MatrixWorld(&m, 5, 6, 7, 10, 20, 30, 2, 3, 4);
    ExpectExact(want, m, "world");

    // Compose: a point at (1, 0, 0) scaled by 2, turned by q (the engine's matrix), moved.
    QUAT q = {0, 0, 0.38268343f, 0.92387953f};  // 45 degrees about Z
    Math_MatrixCompose(&m, 10, 0, 0, q.x, q.y, q.z, q.w, 2, 2, 2);
    VEC3 p;
    Math_TransformPoint(&p, 1, 0, 0, m);
    EXPECT_NEAR(10.0f + 2.0f * 0.70710678f, p.x, 1e-5f);
    EXPECT_NEAR(-2.0f * 0.70710678f, p.y, 1e-5f);
}

TEST(Math, ShadowFlattensAlongDirection)
{
    MATRIX m;
    Math_MatrixShadow(&m, 1.0f, 2.0f, -1.0f);
    ExpectExact(Rows({1, 0, 0, 0, -0.5f, 0, 0.5f, 0, 0, 0, 1, 0, 0, 0, 0, 1}), m, "shadow");
    VEC3 p;
    Math_TransformPoint(&p, 3.0f, 4.0f, 5.0f, m);
    // (3, 4, 5) moved along -(1, 2, -1) by 2 lands on y = 0 at (1, 0, 7).
    EXPECT_EQ(1.0f, p.x);
    EXPECT_EQ(0.0f, p.y);
    EXPECT_EQ(7.0f, p.z);
}

TEST(Math, CatmullRom)
{
    struct Case {
        float p0, p1, p2, p3, t, want;
    } cases[] = {
        {0, 1, 2, 3, 0.5f, 1.5f},
        {0, 1, 2, 3, 0.0f, 1.0f},
        {0, 1, 2, 3, 1.0f, 2.0f},
        {5, -2, 7, 1, 0.0f, -2.0f},
        {5, -2, 7, 1, 1.0f, 7.0f},
        // Symmetric neighbours, and a dip between two equal keys.
        {0, 0, 1, 1, 0.5f, 0.5f},
        {1, 0, 0, 1, 0.5f, -0.125f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(c.want, Anim_CatmullRom(c.p0, c.p1, c.p2, c.p3, c.t))
            << c.p0 << " " << c.p1 << " " << c.p2 << " " << c.p3 << " @" << c.t;
}

// The Windows build checks the same constant (tests/wine/services_test.cpp).
TEST(Math, ResultsAreTheSameInBothBuilds)
{
    EXPECT_EQ(kMathDigest, math_digest::Compute());
}
