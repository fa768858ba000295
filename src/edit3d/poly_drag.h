// The move, rotate and scale steps of a left drag on the polygon screen, and the arrow-key pans:
// the arithmetic, free of the editor's globals.
#pragma once
#include <cstdint>
#include <vector>

#include "model/model3.h"

enum { VIEW_TYPE_MAIN = 0, VIEW_TYPE_FRONT = 1, VIEW_TYPE_TOP = 2, VIEW_TYPE_SIDE = 3 };
enum { POLY_TOOL_SELECT = 0, POLY_TOOL_MOVE = 1, POLY_TOOL_ROTATE = 2, POLY_TOOL_SCALE = 3,
       POLY_TOOL_UV = 5, POLY_TOOL_FREE = 6, POLY_TOOL_2D = 10 };

// The view a step runs in: its type, client centre, pan and zoom.
struct POLY_VIEW {
    int32_t type;
    int32_t cx, cy;
    float pan[3];
    float zoom;
};

// One mouse move of a drag.
struct POLY_DRAG {
    int32_t tool;
    int32_t moveMode;          // 0 screen, 1 axis, 2 normals
    int32_t axis;              // 0 X, 1 Y, 2 Z
    int32_t mx, my, px, py;    // this and the previous mouse position
    float dx, dy;              // the shell's mouse delta
    int32_t lx, ly;            // the last left press
    float camYaw, camPitch;    // degrees
};

// Work state kept between steps: the stamps of move mode 2 (one per position).
struct POLY_DRAG_WORK {
    std::vector<uint32_t> stamp;
    uint32_t generation = 0;
};

// The undo caption of a tool's drag, or null for a tool whose drag changes no position.
const char* PolyDrag_Caption(int32_t tool);
// Applies one step to the selected positions (the selected faces' corners in move mode 2). False
// when the step changed nothing it should (a zero zoom, or a tool without a step).
bool PolyDrag_Step(QVL::MODEL3* m, const int32_t* vertexSel, int32_t maxVertices, const int32_t* faceSel,
                   int32_t maxPolygons, const POLY_VIEW& view, const POLY_DRAG& d, POLY_DRAG_WORK& work);
// The rotate angle in radians: (dx - dy) / 2 degrees.
float PolyDrag_RotateAngle(float dx, float dy);

enum { PAN_UP = 0, PAN_DOWN = 1, PAN_LEFT = 2, PAN_RIGHT = 3 };
// Moves the pan of a Front, Top or Side view one model unit on screen (1 / zoom). False for the main
// view or a zero zoom.
bool PolyDrag_Pan(float pan[3], int32_t viewType, float zoom, int direction);

// The model point on a Front, Top or Side view's axes (h, v) under a screen point.
void PolyDrag_ScreenToAxes(const POLY_VIEW& view, int32_t x, int32_t y, float* h, float* v);
