#include "scene/collision.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/model3.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "scene/coli.h"

using namespace QVL;

float Coli_VecLength(float x, float y, float z) { return std::sqrt(x * x + y * y + z * z); }

VEC3 Coli_VecNormalize(float x, float y, float z)
{
    const float len = Coli_VecLength(x, y, z);
    if (!(len >= 1e-7f) || !std::isfinite(len)) return VEC3{0.0f, 0.0f, 0.0f};
    return VEC3{x / len, y / len, z / len};
}

namespace {

VEC3 Sub(const VEC3& a, const VEC3& b) { return VEC3{a.x - b.x, a.y - b.y, a.z - b.z}; }
VEC3 Cross(const VEC3& a, const VEC3& b)
{
    return VEC3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(const VEC3& a, const VEC3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
VEC3 ToVec(const XYZ& p) { return VEC3{p.x, p.y, p.z}; }

bool Finite3(const float* v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

// Sine and cosine through double, rounded once, so both builds agree.
float Sin(float a) { return (float)std::sin((double)a); }
float Cos(float a) { return (float)std::cos((double)a); }
const float kDegToRad = 3.14159265f / 180.0f;

// Faces near a point: within 50 of their first corner in x and in z.
const float kNear = 50.0f;

int32_t Triangles(const FACE3& f) { return f.cornerCount > 4 ? 2 : (f.cornerCount < 3 ? 0 : f.cornerCount - 2); }

// Triangle k of a face: corners 0, k + 1, k + 2.
void Triangle(const MODEL3* m, const FACE3& f, int32_t k, VEC3* p)
{
    p[0] = ToVec(Model3_PositionAt(m, f.corners[0][CORNER_POS]));
    p[1] = ToVec(Model3_PositionAt(m, f.corners[k + 1][CORNER_POS]));
    p[2] = ToVec(Model3_PositionAt(m, f.corners[k + 2][CORNER_POS]));
}



// A grid over the faces' XZ extents: a segment can only cross faces whose extent meets its own, so
// each object looks at the few faces under it rather than at every face near it.
struct BOX_GRID {
    float minX = 0, minZ = 0, cell = 1;
    int32_t nx = 0, nz = 0;
    std::vector<int32_t> start, ids;  // per cell, faces in ascending order
    std::vector<int32_t> big;         // faces over too many cells: looked at from everywhere
    std::vector<float> bounds;        // per face x min, z min, x max, z max; NaN for a face never met
};

const int32_t kBigCells = 64;

void BoxGrid_Build(BOX_GRID& g, const MODEL3* m)
{
    const size_t faces = m->faces.size();
    g.bounds.assign(faces * 4, NAN);
    g.big.clear();
    float x0 = INFINITY, z0 = INFINITY, x1 = -INFINITY, z1 = -INFINITY;
    double sides = 0;
    size_t counted = 0;
    for (size_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[f];
        if (Triangles(face) == 0) continue;
        const int32_t corners = Triangles(face) + 2;
        float bx0 = INFINITY, bz0 = INFINITY, bx1 = -INFINITY, bz1 = -INFINITY;
        for (int32_t k = 0; k < corners; ++k) {
            const XYZ p = Model3_PositionAt(m, face.corners[k][CORNER_POS]);
            bx0 = std::min(bx0, p.x);
            bx1 = std::max(bx1, p.x);
            bz0 = std::min(bz0, p.z);
            bz1 = std::max(bz1, p.z);
        }
        if (!std::isfinite(bx0) || !std::isfinite(bx1) || !std::isfinite(bz0) || !std::isfinite(bz1)) continue;
        float* b = &g.bounds[f * 4];
        b[0] = bx0, b[1] = bz0, b[2] = bx1, b[3] = bz1;
        x0 = std::min(x0, bx0), z0 = std::min(z0, bz0), x1 = std::max(x1, bx1), z1 = std::max(z1, bz1);
        sides += (double)std::max(bx1 - bx0, bz1 - bz0);
        ++counted;
    }
    g.ids.clear();
    if (!counted) {
        g.nx = g.nz = 0;
        g.start.assign(1, 0);
        return;
    }
    // Cells about twice a face's usual size, at most 256 a side.
    const float extent = std::max(x1 - x0, z1 - z0);
    g.cell = std::max(std::max((float)(2.0 * sides / (double)counted), extent / 255.0f), 1e-3f);
    g.minX = x0;
    g.minZ = z0;
    g.nx = std::min(256, (int32_t)((x1 - x0) / g.cell) + 1);
    g.nz = std::min(256, (int32_t)((z1 - z0) / g.cell) + 1);
    g.start.assign((size_t)g.nx * g.nz + 1, 0);
    auto cellRange = [&](const float* b, int32_t* r) {
        r[0] = std::min(g.nx - 1, (int32_t)((b[0] - g.minX) / g.cell));
        r[1] = std::min(g.nz - 1, (int32_t)((b[1] - g.minZ) / g.cell));
        r[2] = std::min(g.nx - 1, (int32_t)((b[2] - g.minX) / g.cell));
        r[3] = std::min(g.nz - 1, (int32_t)((b[3] - g.minZ) / g.cell));
        return (r[2] - r[0] + 1) * (r[3] - r[1] + 1);
    };
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<int32_t> fill;
        if (pass == 1) {
            for (size_t c = 1; c < g.start.size(); ++c) g.start[c] += g.start[c - 1];
            g.ids.resize((size_t)g.start.back());
            fill.assign(g.start.begin(), g.start.end() - 1);
        }
        for (size_t f = 0; f < faces; ++f) {
            const float* b = &g.bounds[f * 4];
            if (std::isnan(b[0])) continue;
            int32_t r[4];
            if (cellRange(b, r) > kBigCells) {
                if (pass == 0) g.big.push_back((int32_t)f);
                continue;
            }
            for (int32_t cz = r[1]; cz <= r[3]; ++cz)
                for (int32_t cx = r[0]; cx <= r[2]; ++cx) {
                    const size_t c = (size_t)(cz * g.nx + cx);
                    if (pass == 0) ++g.start[c + 1];
                    else g.ids[(size_t)fill[c]++] = (int32_t)f;
                }
        }
    }
}

// The faces whose extent meets the box (x0, z0)..(x1, z1) and whose first corner lies within 50 of
// (px, pz) in x and in z, in face order.
void BoxGrid_Query(const BOX_GRID& g, const MODEL3* m, float x0, float z0, float x1, float z1, float px, float pz,
                   std::vector<int32_t>& out)
{
    out.clear();
    if (g.nx == 0) return;
    const float e = 0.01f;
    x0 -= e, z0 -= e, x1 += e, z1 += e;
    auto take = [&](int32_t f) {
        const float* b = &g.bounds[(size_t)f * 4];
        if (b[0] > x1 || b[2] < x0 || b[1] > z1 || b[3] < z0) return;
        const XYZ p = Model3_PositionAt(m, m->faces[(size_t)f].corners[0][CORNER_POS]);
        if (std::fabs(p.x - px) < kNear && std::fabs(p.z - pz) < kNear) out.push_back(f);
    };
    for (int32_t f : g.big) take(f);
    const float fx0 = std::floor((x0 - g.minX) / g.cell), fx1 = std::floor((x1 - g.minX) / g.cell);
    const float fz0 = std::floor((z0 - g.minZ) / g.cell), fz1 = std::floor((z1 - g.minZ) / g.cell);
    if (!(fx1 >= 0 && fz1 >= 0 && fx0 < (float)g.nx && fz0 < (float)g.nz)) return;
    const int32_t cx0 = std::max(0, (int32_t)fx0), cx1 = std::min(g.nx - 1, (int32_t)fx1);
    const int32_t cz0 = std::max(0, (int32_t)fz0), cz1 = std::min(g.nz - 1, (int32_t)fz1);
    const bool several = cx0 != cx1 || cz0 != cz1 || !g.big.empty();
    for (int32_t cz = cz0; cz <= cz1; ++cz)
        for (int32_t cx = cx0; cx <= cx1; ++cx) {
            const size_t c = (size_t)(cz * g.nx + cx);
            for (int32_t k = g.start[c]; k < g.start[c + 1]; ++k) take(g.ids[(size_t)k]);
        }
    if (several) {
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
    }
}

BOX_GRID s_boxes;
std::vector<int32_t> s_near;

std::vector<float> s_radius;  // per object ID: its model's radius, or -1 when it takes no part

// 3 above the highest corner of the triangles near (x, z), in face order up to the triangle that
// stopped the object (all of them when none did).
float WallHeight(const MODEL3* m, float x, float z, int32_t lastFace, int32_t lastTriangle)
{
    float h = -99999.9f;
    const int32_t faces = lastFace >= 0 ? lastFace + 1 : (int32_t)m->faces.size();
    for (int32_t f = 0; f < faces; ++f) {
        const FACE3& face = m->faces[(size_t)f];
        const XYZ first = Model3_PositionAt(m, face.corners[0][CORNER_POS]);
        if (!(std::fabs(first.x - x) < kNear && std::fabs(first.z - z) < kNear)) continue;
        const int32_t n = f == lastFace ? std::min(Triangles(face), lastTriangle + 1) : Triangles(face);
        for (int32_t k = 0; k < n; ++k) {
            VEC3 p[3];
            Triangle(m, face, k, p);
            h = std::max(h, std::max(p[0].y, std::max(p[1].y, p[2].y)) + 3.0f);
        }
    }
    return h;
}

bool Usable(const OBJECT* o) { return o && o->active && o->collisionEnabled && Model3_GetById(o->modelId); }

} // namespace

bool Coli_SegmentTriangle(const VEC3& s, const VEC3& e, const VEC3& p0, const VEC3& p1, const VEC3& p2, VEC3* hit)
{
    const VEC3 raw = Cross(Sub(p1, p0), Sub(p2, p1));
    const VEC3 n = Coli_VecNormalize(raw.x, raw.y, raw.z);
    // A degenerate triangle has no surface: without this its zero normal passes every inside test.
    if (n.x == 0.0f && n.y == 0.0f && n.z == 0.0f) return false;
    const float d = -Dot(n, p0);
    const VEC3 dir = Sub(e, s);
    const float den = Dot(n, dir);
    float t = -(Dot(n, s) + d);
    if (std::fabs(den) >= 0.0001f) t /= den;
    if (!(t >= 0.0f && t <= 1.0f)) return false;
    const VEC3 q{s.x + t * dir.x, s.y + t * dir.y, s.z + t * dir.z};
    const VEC3* corners[3] = {&p0, &p1, &p2};
    for (int k = 0; k < 3; ++k) {
        const VEC3& a = *corners[k];
        const VEC3& b = *corners[(k + 1) % 3];
        const VEC3 c = Cross(Sub(b, a), Sub(q, a));
        if (n.x * c.x < -0.0001f || n.y * c.y < -0.0001f || n.z * c.z < -0.0001f) return false;
    }
    if (hit) *hit = q;
    return true;
}

void Coli_ResolveObjects()
{
    COLI* c = g_Coli;
    if (!c || !c->active) return;
    const MODEL3* cm = Model3_GetById(c->modelId);
    bool gridBuilt = false;
    const int32_t count = (int32_t)g_ObjectTable.size();

    // A position or push that is not a number would spread to every object it is compared with:
    // such an object starts again at the origin, at rest.
    s_radius.assign((size_t)count, -1.0f);
    for (int32_t i = 0; i < count; ++i) {
        OBJECT* o = g_ObjectTable[(size_t)i];
        if (!Usable(o)) continue;
        const float r = Model3_GetById(o->modelId)->radius;
        s_radius[(size_t)i] = std::isfinite(r) && r > 0.0f ? r : 0.0f;
        if (!Finite3(o->position)) o->position[0] = o->position[1] = o->position[2] = 0.0f;
        if (!Finite3(o->collisionVelocity)) o->collisionVelocity[0] = o->collisionVelocity[1] = o->collisionVelocity[2] = 0.0f;
        if (!std::isfinite(o->collisionFactor)) o->collisionFactor = 0.0f;
    }
    float boxCos[kColiWalls], boxSin[kColiWalls];
    for (int32_t b = 0; b < kColiWalls; ++b) {
        boxCos[b] = Cos(c->boxes[b].angle * kDegToRad);
        boxSin[b] = Sin(c->boxes[b].angle * kDegToRad);
    }

    // The last object to try the model's walls sets the height the editor draws walls to.
    int32_t wallObject = -1, wallFace = -1, wallTriangle = 0;
    float wallFrom[2] = {0, 0};
    for (int32_t i = 0; i < count; ++i) {
        OBJECT* o = g_ObjectTable[(size_t)i];
        if (s_radius[(size_t)i] < 0.0f) continue;
        const float R = s_radius[(size_t)i];
        float x = o->position[0], y = o->position[1], z = o->position[2];
        float* push = o->collisionVelocity;

        // 1, 2: the floor and the area.
        if (y <= c->area[1]) {
            y = c->area[1];
            push[1] = 0.0f;
        }
        if (std::isfinite(c->area[0]) && x < c->area[0] + R) x = c->area[0] + R;
        if (std::isfinite(c->area[3]) && x > c->area[3] - R) x = c->area[3] - R;
        if (std::isfinite(c->area[2]) && z < c->area[2] + R) z = c->area[2] + R;
        if (std::isfinite(c->area[5]) && z > c->area[5] - R) z = c->area[5] - R;
        if (!std::isfinite(y)) y = 0.0f;

        // 3: pushing apart.
        for (int32_t j = 0; j < count; ++j) {
            if (j == i) continue;
            const float Rj = s_radius[(size_t)j];
            if (Rj < 0.0f) continue;
            OBJECT* oj = g_ObjectTable[(size_t)j];
            const float dx = x - oj->position[0], dz = z - oj->position[2];
            const float L = Coli_VecLength(dx, 0.0f, dz);
            if (!(L < R + Rj)) continue;
            VEC3 u = Coli_VecNormalize(dx, 0.0f, dz);
            // Two objects on one point have no direction between them: the later one goes +x.
            if (u.x == 0.0f && u.z == 0.0f) u.x = i > j ? 1.0f : -1.0f;
            const float amount = (R + Rj - L) * 0.1f;
            push[0] += u.x * amount;
            push[2] += u.z * amount;
            oj->collisionState = 1;
            oj->collisionVelocity[0] -= u.x * amount;
            oj->collisionVelocity[2] -= u.z * amount;
        }

        // 4: box walls.
        for (int32_t b = 0; b < kColiWalls; ++b) {
            const COLI_BOX& w = c->boxes[b];
            if (w.used != 1) continue;
            const float s = w.size;
            if (!std::isfinite(w.x) || !std::isfinite(w.z) || !std::isfinite(s) || !std::isfinite(boxCos[b])) continue;
            // theta = atan2(ax, az): its sine and cosine straight from the two parts.
            const float ax = x - 0.25f * w.x, az = z + 0.25f * w.z;
            const float r = Coli_VecLength(ax, 0.0f, az);
            const float sinT = r > 0.0f ? ax / r : 0.0f, cosT = r > 0.0f ? az / r : 1.0f;
            const float ox = -sinT / 3.0f, oz = -cosT / 3.0f;
            const float lx0 = x - w.x + ox, lz0 = z - w.z + oz;
            const float ca = boxCos[b], sa = boxSin[b];
            float lx = lx0 * ca - lz0 * sa, lz = lz0 * ca + lx0 * sa;
            const float reach = s + R;
            if (!(-reach < lx && lx < reach && -reach < lz && lz < reach)) continue;
            if (std::fabs(lz) < std::fabs(lx)) lx = lx < 0.0f ? -reach : reach;
            else lz = lz < 0.0f ? -reach : reach;
            x = lx * ca + lz * sa + w.x - ox;
            z = lz * ca - lx * sa + w.z - oz;
        }

        // 5: circle walls.
        for (int32_t k = 0; k < kColiWalls; ++k) {
            const COLI_CIRCLE& w = c->circles[k];
            if (w.used != 1 || !std::isfinite(w.x) || !std::isfinite(w.z) || !std::isfinite(w.size)) continue;
            const float dx = x - w.x, dz = z - w.z;
            const float e = (dx == 0.0f && dz == 0.0f) ? 0.01f : 0.0f;
            const float L = Coli_VecLength(dx, e, dz);
            if (!(L < R + w.size)) continue;
            const VEC3 u = Coli_VecNormalize(dx, e, dz);
            x += u.x * (R + w.size - L) * 0.5f;
            z += u.z * (R + w.size - L) * 0.5f;
        }

        // 6: the collision model's walls and slopes, for an object another one pushed.
        int hit = 0;  // 1 wall, 2 floor
        if (cm && !gridBuilt) {
            BoxGrid_Build(s_boxes, cm);
            gridBuilt = true;
        }
        if (cm && o->collisionState && (push[0] != 0.0f || push[2] != 0.0f)) {
            const VEC3 end{x + push[0], y, z + push[2]};
            const VEC3 start{x - 0.01f * push[0], y, z - 0.01f * push[2]};
            BoxGrid_Query(s_boxes, cm, std::min(start.x, end.x), std::min(start.z, end.z), std::max(start.x, end.x),
                          std::max(start.z, end.z), o->position[0], o->position[2], s_near);
            wallObject = i;
            wallFrom[0] = o->position[0];
            wallFrom[1] = o->position[2];
            wallFace = -1;
            for (int32_t f : s_near) {
                const FACE3& face = cm->faces[(size_t)f];
                const XYZ N = Model3_NormalAt(cm, face.corners[0][CORNER_NORMAL]);
                for (int32_t k = 0; k < Triangles(face) && !hit; ++k) {
                    VEC3 p[3];
                    Triangle(cm, face, k, p);
                    VEC3 H, H2;
                    if (!Coli_SegmentTriangle(start, end, p[0], p[1], p[2], &H)) continue;
                    if (N.x * N.x + N.z * N.z > N.y * N.y) {
                        const VEC3 s2{end.x + 10.0f * N.x, y, end.z + 10.0f * N.z};
                        if (Coli_SegmentTriangle(s2, end, p[0], p[1], p[2], &H2)) {
                            x = H2.x + 0.1f * N.x;
                            z = H2.z + 0.1f * N.z;
                        } else {
                            x = H.x + 0.25f * N.x;
                            z = H.z + 0.25f * N.z;
                        }
                        hit = 1;
                    } else {
                        const VEC3 s2{end.x + 5.0f * N.x, y + 5.0f * N.y, end.z + 5.0f * N.z};
                        if (Coli_SegmentTriangle(s2, end, p[0], p[1], p[2], &H2)) {
                            x = H2.x;
                            y = H2.y;
                            z = H2.z;
                        } else {
                            x = H.x;
                            y = H.y + 0.2f;
                            z = H.z;
                        }
                        hit = 2;
                    }
                    wallFace = f;
                    wallTriangle = k;
                    // The table has one entry per object ID below 256.
                    if (i < kColiObjects) c->lastFace[i] = f;
                }
                if (hit) break;
            }
        }

        // 7: gravity and the push.
        push[1] -= 0.1f;
        if (hit == 1) push[0] = push[2] = 0.0f;
        else if (hit == 2) push[1] = 0.0f;
        else if (o->collisionState) {
            x += push[0];
            z += push[2];
        }

        // 8: sliding.
        if (o->collisionFlags[1] && o->collisionState) o->collisionFactor = 1.0f;
        if (o->collisionFlags[0]) o->collisionFactor = std::max(0.0f, o->collisionFactor - 0.025f);

        // 9: standing on the model's faces; every face under the object is tried, the last hit holds.
        o->collisionLinks[0] = -1;
        if (cm && push[1] != 0.0f) {
            BoxGrid_Query(s_boxes, cm, x, z, x, z, o->position[0], o->position[2], s_near);
            const VEC3 s{x, y - 0.05f * push[1], z};
            const VEC3 e{x, y + push[1] - 0.05f, z};
            for (int32_t f : s_near) {
                const FACE3& face = cm->faces[(size_t)f];
                const XYZ N = Model3_NormalAt(cm, face.corners[0][CORNER_NORMAL]);
                for (int32_t k = 0; k < Triangles(face); ++k) {
                    VEC3 p[3];
                    Triangle(cm, face, k, p);
                    VEC3 H;
                    if (!Coli_SegmentTriangle(s, e, p[0], p[1], p[2], &H)) continue;
                    o->collisionLinks[0] = f;
                    y = H.y + 0.1f * N.y;
                    x = H.x + 0.15f * N.x * o->collisionFactor;
                    z = H.z + 0.15f * N.z * o->collisionFactor;
                    push[1] = 0.0f;
                    if (i < kColiObjects) c->lastFace[i] = f;
                }
            }
        }

        // 10: the new position; one that is not a number is not taken.
        const float nx = x, ny = y + push[1], nz = z;
        if (std::isfinite(nx) && std::isfinite(ny) && std::isfinite(nz)) {
            o->position[0] = nx;
            o->position[1] = ny;
            o->position[2] = nz;
        } else {
            push[0] = push[1] = push[2] = 0.0f;
        }
    }
    if (wallObject >= 0) c->wallHeight = WallHeight(cm, wallFrom[0], wallFrom[1], wallFace, wallTriangle);
    if (c->area[1] > c->wallHeight) c->wallHeight = c->area[1] + 5.0f;
}
