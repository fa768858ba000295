#include "shell/grid.h"

#include <cstdlib>

#include "frame/math3d.h"

using namespace QVL;

int32_t g_GizmoPts[4][2];
int32_t g_GizmoAxis = 0;

namespace {

void Line(std::vector<GRID_LINE2D>& out, float x1, float y1, float x2, float y2, int32_t r, int32_t g, int32_t b,
          int32_t a)
{
    out.push_back(GRID_LINE2D{(int32_t)x1, (int32_t)y1, (int32_t)x2, (int32_t)y2, r, g, b, a});
}

} // namespace

void Grid_OrthoLines(const GRID_VIEW& v, const float* mainTarget, std::vector<GRID_LINE2D>& out)
{
    if (v.type < 1 || v.type > 3) return;
    const float s = 40.0f * v.zoom;
    const float cx = (float)v.centreX, cy = (float)v.centreY;
    const float w = (float)v.width, h = (float)v.height;
    // The screen point of world 0 under the view's mapping.
    float ox, oy;
    if (v.type == 1) {
        ox = cx - v.pan[0] * s;
        oy = cy + v.pan[1] * s;
    } else if (v.type == 2) {
        ox = cx - v.pan[0] * s;
        oy = cy - v.pan[2] * s;
    } else {
        ox = cx + v.pan[2] * s;
        oy = cy + v.pan[1] * s;
    }
    for (int k = 1; k <= 39; ++k) {
        const float d = (float)k * s;
        Line(out, ox + d, 0, ox + d, h, 112, 112, 112, 255);
        Line(out, ox - d, 0, ox - d, h, 112, 112, 112, 255);
        Line(out, 0, oy + d, w, oy + d, 112, 112, 112, 255);
        Line(out, 0, oy - d, w, oy - d, 112, 112, 112, 255);
    }
    Line(out, 0, oy, w, oy, 80, 80, 80, 255);
    Line(out, ox, 0, ox, h, 80, 80, 80, 255);
    if (!mainTarget) return;
    const float* t = mainTarget;
    if (v.type == 1) {
        const float tx = cx + (t[0] - v.pan[0]) * s, ty = cy - (t[1] - v.pan[1]) * s;
        Line(out, tx, ty, tx + 64, ty, 255, 0, 0, 196);
        Line(out, tx, ty, tx, ty - 64, 0, 255, 0, 196);
    } else if (v.type == 2) {
        const float tx = cx + (t[0] - v.pan[0]) * s, ty = cy - (t[2] + v.pan[2]) * s;
        Line(out, tx, ty, tx + 64, ty, 255, 0, 0, 196);
        Line(out, tx, ty, tx, ty + 64, 0, 0, 255, 196);
    } else {
        const float tx = cx + (t[2] + v.pan[2]) * s, ty = cy - (t[1] - v.pan[1]) * s;
        Line(out, tx, ty, tx - 64, ty, 0, 0, 255, 196);
        Line(out, tx, ty, tx, ty - 64, 0, 255, 0, 196);
    }
}

void Grid_GroundLines(std::vector<GRID_LINE3D>& out)
{
    MATRIX m;
    Math_MatrixWorld(&m, 0, 0, 0, 0, 0, 0, 1, 1, 1);
    auto add = [&](float x1, float z1, float x2, float z2, int32_t grey) {
        VEC3 a, b;
        Math_TransformPoint(&a, x1, 0, z1, m);
        Math_TransformPoint(&b, x2, 0, z2, m);
        out.push_back(GRID_LINE3D{{a.x, a.y, a.z}, {b.x, b.y, b.z}, grey, grey, grey, 255});
    };
    for (int b = -20; b <= 20; ++b) {
        add((float)b, 20, (float)b, -20, 112);
        add(-20, (float)b, 20, (float)b, 112);
    }
    add(-20, 0, 20, 0, 80);
    add(0, 20, 0, -20, 80);
}

int32_t Gizmo_HoverAxis(const int32_t pts[4][2], int32_t cursorX, int32_t cursorY)
{
    int32_t best = 0, bestDist = 0;
    for (int32_t axis = 0; axis < 3; ++axis) {
        const int32_t* p = pts[axis + 1];
        int32_t d = std::abs(p[1] - cursorY) + std::abs(p[0] - cursorX);
        if (axis == 0 || d < bestDist) {
            best = axis;
            bestDist = d;
        }
    }
    return best;
}

int32_t Gizmo_HandleAlpha(bool active, int32_t axis, int32_t hovered) { return active && axis != hovered ? 64 : 255; }
