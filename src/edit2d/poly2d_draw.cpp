// The 2D polygon screen's draw pass (also the texture screen's): the wire frame with the selection,
// the selection rectangle and the free-creation points.
#include <algorithm>

#include "edit2d/poly2d_screen.h"
#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_screen.h"
#include "frame/lib.h"
#include "render/immediate.h"
#include "shell/grid.h"
#include "shell/input_state.h"
#include "shell/navigation.h"
#include "shell/picking.h"
#include "shell/views.h"

namespace {

void Edge(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int r, int g, int b, int a)
{
    if (x1 == x2 && y1 == y2) Draw_Point2DSimple(x1, y1, 196, 196, 196, 255);
    else Draw_Line2DSimple(x1, y1, x2, y2, r, g, b, a);
}

} // namespace

void Poly2D_Draw()
{
    Grid_Draw2D();
    QVL::MODEL2* m = Poly2D_Model();
    if (!m) return;
    const float zoom = g_CurView ? g_CurView->zoom : 1.0f;
    const int32_t shiftX = g_HalfMonitorW - 320, shiftY = g_HalfMonitorH - 240;
    int32_t left = g_DragStart.x - shiftX, right = g_DragCurrent.x - shiftX;
    int32_t top = g_DragStart.y - shiftY, bottom = g_DragCurrent.y - shiftY;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const int32_t n = std::min<int32_t>(m->polygonCount, (int32_t)m->polygons.size());
    const int32_t faceCap = Sel_FaceCapacity(), vertexCap = Sel_VertexCapacity();
    const bool faceMode = g_PolyEditState.selectionMode != 0;
    auto vertex = [&](uint16_t i) {
        return i < m->vertexCount && i < m->vertices.size() ? m->vertices[i] : QVL::XY2{0, 0};
    };
    for (int32_t f = 0; f < n && f < faceCap; ++f) {
        const QVL::FACE2& face = m->polygons[(size_t)f];
        const int32_t c = std::min<int32_t>(face.cornerCount, 4);
        if (!face.used || !c || !g_FaceCentres) continue;
        float sx = 0, sy = 0;
        for (int32_t k = 0; k < c; ++k) sx += 32 * zoom * vertex(face.corners[k][0]).x, sy += 32 * zoom * vertex(face.corners[k][0]).y;
        g_FaceCentres[f][0] = sx / (float)c;
        g_FaceCentres[f][1] = sy / (float)c;
    }
    for (int32_t f = 0; f < n && f < faceCap; ++f) {
        const QVL::FACE2& face = m->polygons[(size_t)f];
        const int32_t c = std::min<int32_t>(face.cornerCount, 4);
        if (!face.used || !c) continue;
        const bool selectedFace = faceMode && g_FaceSel[f];
        for (int32_t k = 0; k < c; ++k) {
            const QVL::XY2 p = vertex(face.corners[k][0]), q = vertex(face.corners[(k + 1) % c][0]);
            const int32_t ex = (int32_t)(m->x + p.x), ey = (int32_t)(m->y + p.y);
            Poly2D_RectSelect(f, k, ex, ey, left, top, right, bottom);
            if (!selectedFace) Edge(ex, ey, (int32_t)(m->x + q.x), (int32_t)(m->y + q.y), 0, 0, 0, 128);
            if (!faceMode && face.corners[k][0] < vertexCap && g_VertexSel[face.corners[k][0]])
                Draw_Rect2D(ex - 2, ey - 2, ex + 2, ey + 2, 255, 255, 0, 255);
        }
    }
    if (faceMode) {
        for (int32_t f = 0; f < n && f < faceCap; ++f) {
            const QVL::FACE2& face = m->polygons[(size_t)f];
            const int32_t c = std::min<int32_t>(face.cornerCount, 4);
            if (!face.used || !g_FaceSel[f]) continue;
            for (int32_t k = 0; k < c; ++k) {
                const QVL::XY2 p = vertex(face.corners[k][0]), q = vertex(face.corners[(k + 1) % c][0]);
                Edge((int32_t)(m->x + p.x), (int32_t)(m->y + p.y), (int32_t)(m->x + q.x), (int32_t)(m->y + q.y), 128,
                     255, 255, 255);
                if (face.corners[k][0] < vertexCap) g_VertexSel[face.corners[k][0]] = 1;
            }
        }
    }
    const int32_t tool = g_PolyEditState.tool;
    const bool leftHeld = g_Lib.mouse.held[0] != 0, rightHeld = g_Lib.mouse.held[2] != 0;
    if (g_CurViewIndex == g_PickedView && (tool == 0 || tool == 5)) {
        if (leftHeld) Draw_Rect2D(left, top, right, bottom, 0, 0, 255, 255);
        else if (rightHeld) Draw_Rect2D(left, top, right, bottom, 255, 0, 0, 255);
    }
    if (tool == 6) {
        const int32_t count = std::max(0, std::min(g_FreeCreateCount, 3));
        auto at = [&](int32_t j, int32_t* x, int32_t* y) {
            *x = (int32_t)(32 * zoom * g_FreeCreatePoints[j][0]);
            *y = (int32_t)(-32 * zoom * g_FreeCreatePoints[j][1]);
        };
        int32_t x0, y0, x1, y1;
        at(0, &x0, &y0);
        if (count == 0) Draw_Point2DSimple(x0, y0, 255, 255, 255, 255);
        for (int32_t j = 0; count > 1 && j < count; ++j) {
            at(j, &x0, &y0);
            at(j + 1, &x1, &y1);
            Draw_Line2DSimple(x0, y0, x1, y1, 255, 255, 255, 255);
        }
        if (count >= 1) {
            at(count, &x1, &y1);
            at(0, &x0, &y0);
            Draw_Line2DSimple(x1, y1, x0, y0, 255, 255, 255, 128);
        }
    }
    if (g_Lib.mouse.held[0] || g_Lib.mouse.held[1] || g_Lib.mouse.held[2]) Poly2D_ShowCounts();
}
