// Curved triangles: each triangle of a group as a cubic triangular patch built from its corner
// positions and normals, sampled on a regular grid whose weights are computed once per density.
#pragma once
#include <cstdint>

#include "model/model3.h"

namespace QVL {

constexpr int32_t kCurveMinLevel = 1;
constexpr int32_t kCurveMaxLevel = 8;
// Points of the densest patch used: N = 10 per edge, N (N + 1) / 2.
constexpr int32_t kCurveMaxPoints = 55;

struct CURVE_POINT {
    float position[3];
    float normal[3];
    float u, v;
};

// One sampled patch: its points in row order (point 0 is corner 1, the last row runs from corner 0
// to corner 2), their colours, and the small triangles as point numbers.
struct CURVE_PATCH {
    CURVE_POINT points[kCurveMaxPoints];
    float colors[kCurveMaxPoints][4];
    int32_t pointCount;
    const uint16_t* triangles;   // 3 per small triangle, in the tables
    int32_t triangleCount;
};

} // namespace QVL

extern QVL::MODEL3* g_CurveBaker;

// Builds the weight tables and triangle lists once; 0, or E_FAIL when memory runs out (a later call
// tries again).
int32_t Curve_InitTables();
// w³, u³, v³, 3w²u, 3wu², 3u²v, 3uv², 3wv², 3w²v, 6wuv, u, v with w = 1 - u - v.
void Curve_BernsteinWeights(float out[12], float u, float v);
// Control points b210, b120, b021, b012, b102, b201, b111 of the triangle.
void Curve_ControlNet(float net[7][3], const QVL::CURVE_POINT& c0, const QVL::CURVE_POINT& c1,
                      const QVL::CURVE_POINT& c2);
void Curve_EvalPoint(QVL::CURVE_POINT* out, float colorOut[4], const QVL::CURVE_POINT& c0, const QVL::CURVE_POINT& c1,
                     const QVL::CURVE_POINT& c2, const float k0[4], const float k1[4], const float k2[4],
                     const float net[7][3], const float weights[12]);
// Samples the patch at the level (clamped to 1..8); builds the tables first if they are missing.
// False only when they cannot be built.
bool Curve_FillPatch(QVL::CURVE_PATCH* out, const QVL::CURVE_POINT corners[3], const float colors[3][4], int32_t level);

void Curve_ResetTempModel();
// Tessellates every face of model 0 into g_CurveBaker. A result past the polygon or vertex limit is
// refused with a message before anything changes (false).
bool Curve_BakeModel();
void Curve_ApplyTempModel();
// The same bake from any model into any record (the benchmark and the tests use it).
bool Curve_BakeInto(const QVL::MODEL3* src, QVL::MODEL3* dst);
