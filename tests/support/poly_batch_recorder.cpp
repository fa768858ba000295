// Native stand-in for the polygon screen's batch drawing: every batch is recorded.
#include "support/poly_batch_recorder.h"

std::vector<POLY_BATCH>& PolyBatchRec()
{
    static std::vector<POLY_BATCH> s;
    return s;
}

void Draw_Batch2D(const POLY_BATCH& batch) { PolyBatchRec().push_back(batch); }

// The other immediate primitives the polygon screen draws, recorded with the 2D ones.
#include "render/immediate.h"
#include "support/draw_recorder.h"

static void Record(const char* kind, int x1, int y1, int x2, int y2, int r, int g, int b, int a)
{
    DrawCall c{};
    c.kind = kind;
    c.texture = -1;
    c.x[0] = x1, c.y[0] = y1, c.x[1] = x2, c.y[1] = y2;
    c.r = r, c.g = g, c.b = b, c.a = a;
    DrawRec().calls.push_back(c);
}

void Draw_Point2DSimple(int x, int y, int r, int g, int b, int a) { Record("point", x, y, x, y, r, g, b, a); }
void Draw_Rect2D(int x1, int y1, int x2, int y2, int r, int g, int b, int a)
{
    Record("rect", x1, y1, x2, y2, r, g, b, a);
}
void Draw_Line3D(float, float, float, int r, int g, int b, int a, float, float, float, float, float, int, int, int,
                 int, float, float)
{
    Record("line3d", 0, 0, 0, 0, r, g, b, a);
}
void Draw_Triangle3D(float, float, float, float, float, float, int r, int g, int b, int a, float, float, float, float,
                     float, float, float, float, int, int, int, int, float, float, float, float, float, float, float,
                     float, int, int, int, int, float, float)
{
    Record("triangle3d", 0, 0, 0, 0, r, g, b, a);
}
