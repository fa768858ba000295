// The polygon screen's drag steps and pans.
#include "edit3d/poly_drag.h"

#include <algorithm>
#include <cmath>

#include "frame/math3d.h"

using QVL::MODEL3;
using QVL::XYZ;

namespace {

// The coordinates of a Front, Top or Side view's horizontal and vertical axes.
float* AxisH(XYZ& p, int32_t type) { return type == VIEW_TYPE_SIDE ? &p.z : &p.x; }
float* AxisV(XYZ& p, int32_t type) { return type == VIEW_TYPE_TOP ? &p.z : &p.y; }

bool IsOrtho(int32_t type) { return type == VIEW_TYPE_FRONT || type == VIEW_TYPE_TOP || type == VIEW_TYPE_SIDE; }

// The model point under the last left press, on the view's (h, v) axes.
void Pivot(const POLY_VIEW& view, const POLY_DRAG& d, float* kh, float* kv)
{
    const float u = (float)(view.cx - d.lx) * 0.025f / view.zoom;
    const float v = (float)(view.cy - d.ly) * 0.025f / view.zoom;
    switch (view.type) {
    case VIEW_TYPE_TOP: *kh = view.pan[0] - u, *kv = v - view.pan[2]; break;
    case VIEW_TYPE_SIDE: *kh = -u - view.pan[2], *kv = view.pan[1] + v; break;
    default: *kh = view.pan[0] - u, *kv = view.pan[1] + v; break;
    }
}

void Turn(float* h, float* v, float kh, float kv, float c, float s)
{
    const float dh = *h - kh, dv = *v - kv;
    *h = kh + dh * c + dv * s;
    *v = kv + dv * c - dh * s;
}

} // namespace

const char* PolyDrag_Caption(int32_t tool)
{
    switch (tool) {
    case POLY_TOOL_MOVE: return "移動 ( モデリング )";
    case POLY_TOOL_ROTATE: return "回転 ( モデリング )";
    case POLY_TOOL_SCALE: return "拡大 ( モデリング )";
    default: return nullptr;
    }
}

float PolyDrag_RotateAngle(float dx, float dy)
{
    // The same angle as -2 pi / (360 / (dy / 2 - dx / 2)), without the division that fails at dx = dy.
    return (0.5f * dx - 0.5f * dy) * (2.0f * 3.14159265358979f / 360.0f);
}

bool PolyDrag_Step(MODEL3* m, const int32_t* vertexSel, int32_t maxVertices, const int32_t* faceSel,
                   int32_t maxPolygons, const POLY_VIEW& view, const POLY_DRAG& d, POLY_DRAG_WORK& work)
{
    if (!PolyDrag_Caption(d.tool)) return false;
    const float s = view.zoom;
    const bool ortho = IsOrtho(view.type);
    const int32_t count = std::min({m->positionCount, maxVertices, (int32_t)m->positions.size()});
    const float Dx = (float)(d.mx - d.px), Dy = (float)(d.my - d.py);

    if (d.tool == POLY_TOOL_MOVE && d.moveMode == 2) {
        // Each position moves at most once per step: stamp it instead of searching the moved ones.
        if (work.stamp.size() < (size_t)count) work.stamp.resize((size_t)count, 0);
        if (++work.generation == 0) {
            std::fill(work.stamp.begin(), work.stamp.end(), 0);
            work.generation = 1;
        }
        const float k = (d.dx - d.dy) * s * 0.01f;
        const int32_t faces = std::min({m->faceCount, maxPolygons, (int32_t)m->faces.size()});
        for (int32_t f = 0; f < faces; ++f) {
            if (faceSel[f] != 1) continue;
            const QVL::FACE3& face = m->faces[(size_t)f];
            for (int32_t c = 0; c < std::min<int32_t>(face.cornerCount, 4); ++c) {
                const int32_t p = face.corners[c][QVL::CORNER_POS];
                if (p < 0 || p >= count || work.stamp[(size_t)p] == work.generation) continue;
                work.stamp[(size_t)p] = work.generation;
                const XYZ n = Model3_NormalAt(m, face.corners[c][QVL::CORNER_NORMAL]);
                XYZ& q = m->positions[(size_t)p];
                q.x += n.x * k, q.y += n.y * k, q.z += n.z * k;
            }
        }
        return true;
    }
    // Every other step of the Front, Top and Side views divides by the zoom.
    if (ortho && s == 0.0f) return false;
    if (!ortho && view.type != VIEW_TYPE_MAIN) return false;

    if (d.tool == POLY_TOOL_MOVE) {
        if (ortho) {
            const float h = Dx / s * 0.025f, v = Dy / s * 0.025f;
            for (int32_t p = 0; p < count; ++p) {
                if (vertexSel[p] != 1) continue;
                *AxisH(m->positions[(size_t)p], view.type) += h;
                *AxisV(m->positions[(size_t)p], view.type) -= v;
            }
        } else if (d.moveMode == 0) {
            QVL::MATRIX r;
            Math_MatrixWorld(&r, 0, 0, 0, -d.camYaw, d.camPitch, 0, 1, 1, 1);
            QVL::VEC3 w;
            Math_TransformPoint(&w, Dx, Dy, 0, r);
            const float k = s * 0.013f;
            for (int32_t p = 0; p < count; ++p) {
                if (vertexSel[p] != 1) continue;
                XYZ& q = m->positions[(size_t)p];
                q.x += w.x * k, q.y -= w.y * k, q.z -= w.z * k;
            }
        } else {
            const float k = (Dx - Dy) * s * 0.0125f;
            for (int32_t p = 0; p < count; ++p) {
                if (vertexSel[p] != 1) continue;
                XYZ& q = m->positions[(size_t)p];
                (d.axis == 0 ? q.x : d.axis == 1 ? q.y : q.z) += k;
            }
        }
        return true;
    }

    if (d.tool == POLY_TOOL_ROTATE) {
        const float theta = PolyDrag_RotateAngle(d.dx, d.dy);
        const float c = std::cos(theta), sn = std::sin(theta);
        float kh, kv;
        if (ortho) Pivot(view, d, &kh, &kv);
        for (int32_t p = 0; p < count; ++p) {
            if (vertexSel[p] != 1) continue;
            XYZ& q = m->positions[(size_t)p];
            if (ortho) {
                Turn(AxisH(q, view.type), AxisV(q, view.type), kh, kv, c, sn);
            } else if (d.axis == 2) {
                Turn(&q.x, &q.y, view.pan[0], view.pan[1], c, sn);
            } else if (d.axis == 0) {
                Turn(&q.z, &q.y, view.pan[2], view.pan[1], c, sn);
            } else {
                Turn(&q.x, &q.z, view.pan[0], view.pan[2], c, sn);
            }
        }
        return true;
    }

    // Scale.
    float kh = 0, kv = 0;
    if (ortho) Pivot(view, d, &kh, &kv);
    for (int32_t p = 0; p < count; ++p) {
        if (vertexSel[p] != 1) continue;
        XYZ& q = m->positions[(size_t)p];
        if (ortho) {
            float* h = AxisH(q, view.type);
            float* v = AxisV(q, view.type);
            *h += (*h - kh) * d.dx * 0.0025f;
            *v -= (*v - kv) * d.dy * 0.0025f;
        } else {
            float* c[3] = {&q.x, &q.y, &q.z};
            for (int i = 0; i < 3; ++i) *c[i] += (*c[i] - view.pan[i]) * d.dx * 0.001f;
            for (int i = 0; i < 3; ++i) *c[i] -= (*c[i] - view.pan[i]) * d.dy * 0.001f;
        }
    }
    return true;
}

bool PolyDrag_Pan(float pan[3], int32_t viewType, float zoom, int direction)
{
    if (!IsOrtho(viewType) || zoom == 0.0f) return false;
    const float step = 1.0f / zoom;
    const bool side = viewType == VIEW_TYPE_SIDE, top = viewType == VIEW_TYPE_TOP;
    switch (direction) {
    case PAN_UP: top ? pan[2] -= step : pan[1] += step; break;
    case PAN_DOWN: top ? pan[2] += step : pan[1] -= step; break;
    case PAN_RIGHT: side ? pan[2] -= step : pan[0] += step; break;
    case PAN_LEFT: side ? pan[2] += step : pan[0] -= step; break;
    default: return false;
    }
    return true;
}

void PolyDrag_ScreenToAxes(const POLY_VIEW& view, int32_t x, int32_t y, float* h, float* v)
{
    *h = (float)(x - view.cx) / 40.0f / view.zoom;
    *v = -(float)(y - view.cy) / 40.0f / view.zoom;
}
