// Grids and the axis gizmo that the editors draw into their views: the pixel grid of the orthographic
// views, the ground grid of the main view and the three axis handles around the view's target. The
// line lists and the hover rule are platform-free; shell/win32/grid_draw.cpp draws them.
#pragma once
#include <cstdint>
#include <vector>

namespace QVL {

struct GRID_LINE2D {
    int32_t x1, y1, x2, y2;
    int32_t r, g, b, a;
};

struct GRID_LINE3D {
    float from[3], to[3];
    int32_t r, g, b, a;
};

// What the orthographic grid needs of a view: its type (1 Front, 2 Top, 3 Side), zoom, centre,
// outer size and target (Top and Side keep the negated z).
struct GRID_VIEW {
    int32_t type;
    float zoom;
    int32_t centreX, centreY;
    int32_t width, height;
    float pan[3];
};

} // namespace QVL

// The gizmo's last screen geometry (centre, X end, Y end, Z end) and the hovered axis (0 X, 1 Y, 2 Z).
extern int32_t g_GizmoPts[4][2];
extern int32_t g_GizmoAxis;

// The orthographic grid of a Front, Top or Side view: 39 lines each way of the origin, 40 x zoom
// pixels apart, then the two axis lines; with mainTarget (the main view's target) also its axis
// cross. Nothing for other view types.
void Grid_OrthoLines(const QVL::GRID_VIEW& v, const float* mainTarget, std::vector<QVL::GRID_LINE2D>& out);
// The ground grid of the main view: 41 lines each way over -20..20 at y = 0, then the two axes.
void Grid_GroundLines(std::vector<QVL::GRID_LINE3D>& out);
// The axis whose handle end is nearest the cursor (integer Manhattan distance); a tie keeps the
// lower axis.
int32_t Gizmo_HoverAxis(const int32_t pts[4][2], int32_t cursorX, int32_t cursorY);
// Alpha of a handle: 64 for the handles not hovered while the gizmo is active, else 255.
int32_t Gizmo_HandleAlpha(bool active, int32_t axis, int32_t hovered);

// Drawing into the view being rendered (shell/win32/grid_draw.cpp).
void Grid_Draw2D();
void Grid_DrawGround3D();
void View_DrawAxisGizmo();
