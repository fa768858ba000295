// data/System/プリミティブ/*.QVP: the six shapes of the modelling dialog's primitive buttons, as
// ordinary model files. Each spans -2..2 about its origin (the polygon screen adds them at
// zoom * 0.25, one unit across at zoom 1), one group, no texture, white, flat normals, every face
// turned outward.
#include <cmath>
#include <vector>

#include "datagen.h"
#include "frame/bytes.h"
#include "model/model3.h"
#include "model/qvp_file.h"

namespace {

using QVL::FACE3;
using QVL::MODEL3;
using QVL::XYZ;

constexpr int kSegments = 12;
constexpr float kPi = 3.14159265358979f;

struct Shape {
    std::vector<XYZ> positions;
    std::vector<std::vector<int32_t>> faces;
    int32_t Add(float x, float y, float z)
    {
        positions.push_back(XYZ{x, y, z});
        return (int32_t)positions.size() - 1;
    }
};

XYZ FaceNormal(const Shape& s, const std::vector<int32_t>& f)
{
    const XYZ p0 = s.positions[(size_t)f[0]], p1 = s.positions[(size_t)f[1]], p2 = s.positions[(size_t)f[2]];
    const XYZ a{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z}, b{p2.x - p1.x, p2.y - p1.y, p2.z - p1.z};
    return XYZ{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The record of a shape: each corner with its face's normal, the one white colour and a UV from x, y.
std::vector<uint8_t> Write(Shape s)
{
    MODEL3* m = Model3_Alloc();
    m->positions = s.positions;
    m->positionCount = (int32_t)s.positions.size();
    m->colors.push_back(QVL::RGBA{255, 255, 255, 255});
    m->colorCount = 1;
    for (std::vector<int32_t>& f : s.faces) {
        XYZ n = FaceNormal(s, f);
        // Outward: away from the origin, which every shape surrounds (flat shapes face -z).
        XYZ c{0, 0, 0};
        for (int32_t v : f) c.x += s.positions[(size_t)v].x, c.y += s.positions[(size_t)v].y, c.z += s.positions[(size_t)v].z;
        const bool flat = s.faces.size() == 1;
        if ((flat && n.z > 0) || (!flat && n.x * c.x + n.y * c.y + n.z * c.z < 0)) {
            f.assign(f.rbegin(), f.rend());
            n = XYZ{-n.x, -n.y, -n.z};
        }
        const float len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        m->normals.push_back(XYZ{n.x / len, n.y / len, n.z / len});
        FACE3 face{};
        face.cornerCount = (uint8_t)f.size();
        for (size_t k = 0; k < f.size(); ++k) {
            const XYZ p = s.positions[(size_t)f[k]];
            face.corners[k][QVL::CORNER_POS] = f[k];
            face.corners[k][QVL::CORNER_NORMAL] = (int32_t)m->normals.size() - 1;
            face.corners[k][QVL::CORNER_COLOR] = 0;
            face.corners[k][QVL::CORNER_UV] = (int32_t)m->uvs.size();
            m->uvs.push_back(QVL::UV2{(p.x + 2) * 0.25f, (2 - p.y) * 0.25f});
        }
        m->faces.push_back(face);
    }
    m->normalCount = (int32_t)m->normals.size();
    m->uvCount = (int32_t)m->uvs.size();
    m->faceCount = (int32_t)m->faces.size();
    m->weights.assign(m->positions.size(), QVL::WEIGHT3{1, 0, 1.0f, 1});
    Model3_FitArrays(m);
    QVL::ByteWriter w;
    Qvp_Write(m, w);
    Model3_Free(m);
    return w.Data();
}

std::vector<uint8_t> Triangle()
{
    Shape s;
    s.Add(-2, -2, 0), s.Add(0, 2, 0), s.Add(2, -2, 0);
    s.faces = {{0, 1, 2}};
    return Write(s);
}

std::vector<uint8_t> Quad()
{
    Shape s;
    s.Add(-2, -2, 0), s.Add(-2, 2, 0), s.Add(2, 2, 0), s.Add(2, -2, 0);
    s.faces = {{0, 1, 2, 3}};
    return Write(s);
}

std::vector<uint8_t> Cube()
{
    Shape s;
    for (int i = 0; i < 8; ++i) s.Add(i & 1 ? 2.0f : -2.0f, i & 2 ? 2.0f : -2.0f, i & 4 ? 2.0f : -2.0f);
    s.faces = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    return Write(s);
}

float Cos(int i) { return std::cos(2 * kPi * (float)i / kSegments); }
float Sin(int i) { return std::sin(2 * kPi * (float)i / kSegments); }

std::vector<uint8_t> Sphere()
{
    const int rings = 8;
    Shape s;
    const int32_t top = s.Add(0, 2, 0);
    for (int r = 1; r < rings; ++r) {
        const float a = kPi * (float)r / rings;
        for (int i = 0; i < kSegments; ++i) s.Add(2 * std::sin(a) * Cos(i), 2 * std::cos(a), 2 * std::sin(a) * Sin(i));
    }
    const int32_t bottom = s.Add(0, -2, 0);
    auto at = [](int r, int i) { return 1 + (r - 1) * kSegments + i % kSegments; };
    for (int i = 0; i < kSegments; ++i) {
        s.faces.push_back({top, at(1, i), at(1, i + 1)});
        for (int r = 1; r + 1 < rings; ++r) s.faces.push_back({at(r, i), at(r + 1, i), at(r + 1, i + 1), at(r, i + 1)});
        s.faces.push_back({at(rings - 1, i), bottom, at(rings - 1, i + 1)});
    }
    return Write(s);
}

std::vector<uint8_t> Cylinder()
{
    Shape s;
    for (int i = 0; i < kSegments; ++i) s.Add(2 * Cos(i), 2, 2 * Sin(i)), s.Add(2 * Cos(i), -2, 2 * Sin(i));
    const int32_t top = s.Add(0, 2, 0), bottom = s.Add(0, -2, 0);
    for (int i = 0; i < kSegments; ++i) {
        const int j = (i + 1) % kSegments;
        s.faces.push_back({2 * i, 2 * i + 1, 2 * j + 1, 2 * j});
        s.faces.push_back({top, 2 * i, 2 * j});
        s.faces.push_back({bottom, 2 * j + 1, 2 * i + 1});
    }
    return Write(s);
}

std::vector<uint8_t> Cone()
{
    Shape s;
    for (int i = 0; i < kSegments; ++i) s.Add(2 * Cos(i), -2, 2 * Sin(i));
    const int32_t apex = s.Add(0, 2, 0), bottom = s.Add(0, -2, 0);
    for (int i = 0; i < kSegments; ++i) {
        const int j = (i + 1) % kSegments;
        s.faces.push_back({apex, i, j});
        s.faces.push_back({bottom, j, i});
    }
    return Write(s);
}

} // namespace

// The names are the buttons' labels; the paths are UTF-8 on disk, as every file name of data/.
DATAGEN_FILE(u8"data/System/プリミティブ/３角形.QVP", Triangle);
DATAGEN_FILE(u8"data/System/プリミティブ/４角形.QVP", Quad);
DATAGEN_FILE(u8"data/System/プリミティブ/立方体.QVP", Cube);
DATAGEN_FILE(u8"data/System/プリミティブ/球.QVP", Sphere);
DATAGEN_FILE(u8"data/System/プリミティブ/円柱.QVP", Cylinder);
DATAGEN_FILE(u8"data/System/プリミティブ/円錐.QVP", Cone);
