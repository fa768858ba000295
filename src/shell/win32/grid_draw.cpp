// The grids and the axis gizmo drawn into the view being rendered, through the immediate drawing.
#include <vector>

#include "frame/lib.h"
#include "render/camera.h"
#include "render/immediate.h"
#include "shell/app_state.h"
#include "shell/grid.h"
#include "shell/input_state.h"
#include "shell/playback.h"
#include "shell/views.h"

using namespace QVL;

void Grid_Draw2D()
{
    if (!g_App.gridOn || !g_CurView) return;
    // (The 2D editors' canvas cross through the 2D model's position comes with the 2D models.)
    if (g_Mode != MODE_3D_EDIT) return;
    const VIEW_REC& v = *g_CurView;
    GRID_VIEW gv{v.type, v.zoom, v.centreX, v.centreY, v.width, v.height, {v.pan[0], v.pan[1], v.pan[2]}};
    const float* mainTarget = nullptr;
    if (g_Screen == SCREEN_3D_POLYGON || g_Screen == SCREEN_3D_TEXTURE)
        mainTarget = g_Views[g_Screen][0].pan;
    std::vector<GRID_LINE2D> lines;
    Grid_OrthoLines(gv, mainTarget, lines);
    for (const GRID_LINE2D& l : lines) Draw_Line2DSimple(l.x1, l.y1, l.x2, l.y2, l.r, l.g, l.b, l.a);
}

void Grid_DrawGround3D()
{
    if (!g_App.gridOn || g_PickedView != 0) return;
    std::vector<GRID_LINE3D> lines;
    Grid_GroundLines(lines);
    for (const GRID_LINE3D& l : lines)
        Draw_Line3D(l.from[0], l.from[1], l.from[2], l.r, l.g, l.b, l.a, 0, 0, l.to[0], l.to[1], l.to[2], l.r, l.g, l.b,
                    l.a, 0, 0);
}

void View_DrawAxisGizmo()
{
    if (g_PlayFlag == 1 || !g_CurView || g_CurView->type != VIEW_MAIN) return;
    const bool anyHeld = g_Lib.mouse.held[0] || g_Lib.mouse.held[1] || g_Lib.mouse.held[2];
    if (g_Mode == MODE_PREVIEW && !anyHeld) return;
    const float* t = g_CurView->pan;
    if (!g_Lib.mouse.held[0]) {
        // While the left button is held the geometry and hover stay, so a drag keeps its axis.
        const float L = 2.0f * 1.75f * g_CurView->zoom;
        const float ends[4][3] = {{t[0], t[1], t[2]}, {t[0] + L, t[1], t[2]}, {t[0], t[1] + L, t[2]}, {t[0], t[1], t[2] - L}};
        for (int i = 0; i < 4; ++i) {
            VEC3 s;
            Render_ProjectToScreen(&s, ends[i][0], ends[i][1], ends[i][2]);
            g_GizmoPts[i][0] = (int32_t)s.x;
            g_GizmoPts[i][1] = (int32_t)s.y;
        }
        g_GizmoAxis = Gizmo_HoverAxis(g_GizmoPts, g_PressPoint.x, g_PressPoint.y);
    }
    // (The handles dim while a move or rotate tool is armed, which comes with the 3D editors.)
    const bool active = false;
    static const int32_t kColours[3][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    for (int32_t axis = 0; axis < 3; ++axis) {
        const int32_t* c = kColours[axis];
        Draw_Line2D(g_GizmoPts[0][0], g_GizmoPts[0][1], c[0], c[1], c[2], 0, 0, 0, g_GizmoPts[axis + 1][0],
                    g_GizmoPts[axis + 1][1], c[0], c[1], c[2], Gizmo_HandleAlpha(active, axis, g_GizmoAxis), 0, 0);
    }
}
