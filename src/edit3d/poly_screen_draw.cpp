// The polygon screen's two draw passes: the wire frame with the selection and the rectangle in the
// Front, Top and Side views, the selection over the rendered model in the main view.
#include <algorithm>
#include <cmath>

#include "edit3d/model3d_hooks.h"
#include "edit3d/poly_draw.h"
#include "edit3d/poly_screen.h"
#include "frame/lib.h"
#include "frame/math3d.h"
#include "render/camera.h"
#include "render/immediate.h"
#include "render/tex_slots.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/grid.h"
#include "shell/input_state.h"
#include "shell/navigation.h"
#include "shell/picking.h"
#include "shell/views.h"

namespace {

PolyBatcher g_Batcher;

struct RECT_ARGS {
    int32_t x1, y1, x2, y2;
};

void RectCorner(int32_t face, int32_t corner, int32_t x, int32_t y, void* user)
{
    const RECT_ARGS& r = *static_cast<const RECT_ARGS*>(user);
    View_RectSelect3D(face, corner, x, y, r.x1, r.y1, r.x2, r.y2);
}

void FillFace(PolyBatcher& out, const int32_t* x, const int32_t* y, int32_t corners)
{
    // The fill goes between the batches drawn so far and the face's own edges.
    out.Flush();
    // The device culls one winding; a face seen from behind is filled over the same triangles with
    // its corners reversed after corner 0.
    int32_t xs[4], ys[4];
    int64_t area = 0;
    for (int32_t k = 0; k < corners; ++k) {
        const int32_t q = k + 1 < corners ? k + 1 : 0;
        area += (int64_t)x[k] * y[q] - (int64_t)x[q] * y[k];
    }
    for (int32_t k = 0; k < corners; ++k) {
        const int32_t from = area < 0 && k > 0 ? corners - k : k;
        xs[k] = x[from], ys[k] = y[from];
    }
    x = xs, y = ys;
    const uint8_t* c = kPolyFaceFillColour;
    if (corners == 4)
        Draw_Quad2D(x[0], y[0], c[0], c[1], c[2], c[3], 0, 0, x[1], y[1], c[0], c[1], c[2], c[3], 0, 0, x[2], y[2],
                    c[0], c[1], c[2], c[3], 0, 0, x[3], y[3], c[0], c[1], c[2], c[3], 0, 0);
    else if (corners == 3)
        Draw_Triangle2D(x[0], y[0], c[0], c[1], c[2], c[3], 0, 0, x[1], y[1], c[0], c[1], c[2], c[3], 0, 0, x[2],
                        y[2], c[0], c[1], c[2], c[3], 0, 0);
}

bool IsOrtho(int32_t type) { return type >= VIEW_TYPE_FRONT && type <= VIEW_TYPE_SIDE; }

POLY_VIEW ViewOf(const VIEW_REC& v)
{
    return POLY_VIEW{v.type, v.centreX, v.centreY, {v.pan[0], v.pan[1], v.pan[2]}, v.zoom};
}

bool Inside(const RECT_ARGS& r, float x, float y) { return r.x1 < x && x < r.x2 && r.y1 < y && y < r.y2; }

// The main view's part of the rectangle selection, against the projection buffer.
void MainViewRect(const QVL::MODEL3* m, const POLY_SEL& s, const RECT_ARGS& r)
{
    if (!g_ProjVerts || (!g_SelectDrag && !g_DeselectDrag)) return;
    const int32_t positions = std::min(m->positionCount, s.maxVertices);
    const int32_t faces = std::min({m->faceCount, s.maxPolygons, (int32_t)m->faces.size()});
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 0 ? !g_SelectDrag : !g_DeselectDrag) continue;
        const int32_t value = pass == 0 ? 1 : 0;
        if (!s.faceMode) {
            for (int32_t p = 0; p < positions; ++p) {
                if (!Inside(r, g_ProjVerts[p][0], g_ProjVerts[p][1])) continue;
                s.vertexSel[p] = value;
                if (value) g_CurVertex = p;
                else if (g_CurVertex == p) g_CurVertex = -1;
            }
            continue;
        }
        for (int32_t f = 0; f < faces; ++f) {
            const QVL::FACE3& face = m->faces[(size_t)f];
            const int32_t c = std::min<int32_t>(face.cornerCount, 4);
            bool hit = false;
            for (int32_t k = 0; k < c && !hit; ++k) {
                const int32_t p = face.corners[k][QVL::CORNER_POS];
                hit = p >= 0 && p < positions && Inside(r, g_ProjVerts[p][0], g_ProjVerts[p][1]);
            }
            if (!hit) continue;
            s.faceSel[f] = value;
            for (int32_t k = 0; k < c; ++k) {
                const int32_t p = face.corners[k][QVL::CORNER_POS];
                if (p >= 0 && p < s.maxVertices) s.vertexSel[p] = value;
            }
        }
    }
}

} // namespace

void Poly3D_Draw()
{
    VIEW_REC* view = g_CurView;
    if (!view) return;
    const bool ortho = IsOrtho(view->type);
    if (ortho) Grid_Draw2D();
    QVL::MODEL3* m = g_CurModel3;
    const POLY_SEL s = Poly3D_Selection();
    if (!m || !s.vertexSel || !s.faceSel) return;

    RECT_ARGS rect{std::min(g_DragStart.x, g_DragCurrent.x), std::min(g_DragStart.y, g_DragCurrent.y),
                   std::max(g_DragStart.x, g_DragCurrent.x), std::max(g_DragStart.y, g_DragCurrent.y)};
    const bool underMouse = g_CurViewIndex == g_PickedView;
    POLY_WIRE_INPUT in{m, ViewOf(*view), s.vertexSel, s.maxVertices, s.faceSel, s.maxPolygons, s.faceMode};

    if (ortho) {
        PolyDraw_Wire(in, g_Batcher, g_FaceCentres ? g_FaceCentres[0] : nullptr, g_FaceNormals2D ? g_FaceNormals2D[0] : nullptr, underMouse ? RectCorner : nullptr, &rect);
        if (s.faceMode)
            PolyDraw_SelectedEdges(in, g_FaceCentres ? g_FaceCentres[0] : nullptr, g_FaceNormals2D ? g_FaceNormals2D[0] : nullptr, g_App.showNormals, g_Batcher, FillFace);
        g_Batcher.Flush();
    } else if (view->type == VIEW_TYPE_MAIN) {
        View_ProjectVertices3D();
        MainViewRect(m, s, rect);
    }

    // In face mode the vertex flags follow the face flags.
    if (s.faceMode) {
        const int32_t faces = std::min({m->faceCount, s.maxPolygons, (int32_t)m->faces.size()});
        for (int32_t f = 0; f < faces; ++f) {
            if (s.faceSel[f] != 1) continue;
            const QVL::FACE3& face = m->faces[(size_t)f];
            for (int32_t k = 0; k < std::min<int32_t>(face.cornerCount, 4); ++k) {
                const int32_t p = face.corners[k][QVL::CORNER_POS];
                if (p >= 0 && p < s.maxVertices) s.vertexSel[p] = 1;
            }
        }
    }

    const int32_t tool = g_PolyEditState.tool;
    if (underMouse && (tool == POLY_TOOL_SELECT || tool == POLY_TOOL_UV)) {
        if (g_SelectDrag) Draw_Rect2D(rect.x1, rect.y1, rect.x2, rect.y2, 0, 0, 255, 255);
        if (g_DeselectDrag) Draw_Rect2D(rect.x1, rect.y1, rect.x2, rect.y2, 255, 0, 0, 255);
    }

    if (tool == POLY_TOOL_FREE && ortho) {
        int32_t x[5], y[5];
        const int32_t count = std::min(g_FreeCreateCount, 3);
        const float k = 40.0f * view->zoom;
        for (int32_t i = 0; i <= count; ++i) {
            const float* p = g_FreeCreatePoints[i];
            const float h = view->type == VIEW_TYPE_SIDE ? p[2] : p[0];
            const float v = view->type == VIEW_TYPE_TOP ? p[2] : p[1];
            x[i] = view->centreX + Math_TruncInt(k * h);
            y[i] = view->centreY - Math_TruncInt(k * v);
        }
        if (count == 0) Draw_Point2DSimple(x[0], y[0], 255, 255, 255, 255);
        if (count >= 2)
            for (int32_t i = 0; i < count; ++i) Draw_Line2DSimple(x[i], y[i], x[i + 1], y[i + 1], 255, 255, 255, 255);
        if (count >= 1) Draw_Line2DSimple(x[count], y[count], x[0], y[0], 255, 255, 255, 128);
    }

    if (g_Lib.mouse.held[0] || g_Lib.mouse.held[1] || g_Lib.mouse.held[2]) Poly3D_ShowCounts();
}

void Poly3D_DrawSelection()
{
    if (g_CurViewIndex != 0) return;
    Grid_DrawGround3D();
    if (g_Screen != SCREEN_3D_POLYGON && g_Screen != SCREEN_3D_TEXTURE) return;
    QVL::MODEL3* m = g_CurModel3;
    const POLY_SEL s = Poly3D_Selection();
    if (!m || !s.vertexSel || !s.faceSel) return;
    Tex_Set(-1);
    if (!s.faceMode) {
        const int32_t n = std::min({m->positionCount, s.maxVertices, (int32_t)m->positions.size()});
        for (int32_t p = 0; p < n; ++p) {
            if (s.vertexSel[p] != 1) continue;
            const QVL::XYZ& q = m->positions[(size_t)p];
            QVL::VEC3 o;
            Render_ProjectToScreen(&o, q.x, q.y, q.z);
            const int32_t x = Math_TruncInt(o.x), y = Math_TruncInt(o.y);
            Draw_Rect2D(x - 2, y - 2, x + 2, y + 2, 255, 255, 0, 255);
        }
        return;
    }
    // The edges are lifted off the face along its normal, then turned with the camera.
    QVL::MATRIX turnY, turnX;
    Math_MatrixRotationY(&turnY, g_OrbitYaw);
    Math_MatrixRotationX(&turnX, g_OrbitPitch);
    const int32_t faces = std::min({m->faceCount, s.maxPolygons, (int32_t)m->faces.size()});
    for (int32_t f = 0; f < faces; ++f) {
        if (s.faceSel[f] != 1) continue;
        const QVL::FACE3& face = m->faces[(size_t)f];
        const int32_t c = std::min<int32_t>(face.cornerCount, 4);
        QVL::XYZ p[4];
        for (int32_t k = 0; k < c; ++k) p[k] = Model3_PositionAt(m, face.corners[k][QVL::CORNER_POS]);
        const float* n = face.normal;
        for (int32_t k = 1; k + 1 < c; ++k)
            Draw_Triangle3D(p[0].x, p[0].y, p[0].z, n[0], n[1], n[2], 0, 255, 255, 64, 0, 0, p[k].x, p[k].y, p[k].z,
                            n[0], n[1], n[2], 0, 255, 255, 64, 0, 0, p[k + 1].x, p[k + 1].y, p[k + 1].z, n[0], n[1],
                            n[2], 0, 255, 255, 64, 0, 0);
        for (int32_t k = 0; k < c; ++k) {
            const QVL::XYZ& a = p[k];
            const QVL::XYZ& b = p[k + 1 < c ? k + 1 : 0];
            QVL::VEC3 ea, eb;
            Math_TransformPoint(&ea, a.x + n[0] * 0.005f, a.y + n[1] * 0.005f, a.z + n[2] * 0.005f, turnY);
            Math_TransformPoint(&ea, ea.x, ea.y, ea.z, turnX);
            Math_TransformPoint(&eb, b.x + n[0] * 0.005f, b.y + n[1] * 0.005f, b.z + n[2] * 0.005f, turnY);
            Math_TransformPoint(&eb, eb.x, eb.y, eb.z, turnX);
            Draw_Line3D(ea.x, ea.y, ea.z, 0, 255, 255, 200, 0, 0, eb.x, eb.y, eb.z, 0, 255, 255, 200, 0, 0);
        }
    }
}
