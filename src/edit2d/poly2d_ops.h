// The 2D polygon screen's mesh operations on one 2D model and its selection flags, free of the
// editor's globals (the screen's commands in poly2d_screen.cpp pass them in). Every append checks
// the 16-bit vertex, colour and UV counts, the selection capacity and the polygon limit first and
// refuses with nothing changed.
#pragma once
#include <cstdint>

#include "model/model2.h"
#include "model/model3.h"

struct POLY2D_SEL {
    int32_t* vertexSel;     // one flag per vertex, room for maxVertices
    int32_t* faceSel;       // one flag per polygon, room for maxPolygons
    int32_t maxVertices;
    int32_t maxPolygons;
    int32_t faceMode;       // 0 vertices, 1 faces
};

enum POLY2D_RESULT {
    POLY2D_DONE = 0,
    POLY2D_NOTHING,         // nothing to do; no caption
    POLY2D_LIMIT,           // an array would pass its limit; nothing changed
    POLY2D_NEED_FACE_MODE,
    POLY2D_TOO_FEW,         // make a face with fewer than two corners
    POLY2D_ONLY_QUADS,      // split: a selected triangle was left as it was
};

constexpr int32_t kPoly2DCountLimit = 65535;   // the model's counts are 16-bit

// The room left for n more vertices, colours, UVs and polygons.
bool Poly2DOps_HasRoom(const QVL::MODEL2* m, const POLY2D_SEL& s, int64_t vertices, int64_t colours,
                       int64_t uvs, int64_t polygons);

// Vertex (0) or face (1) mode; a change clears both selections over their whole capacity.
void Poly2DOps_SetMode(POLY2D_SEL& s, int32_t faceMode);
void Poly2DOps_ClearSelection(const POLY2D_SEL& s);
void Poly2DOps_SelectAll(const POLY2D_SEL& s);
void Poly2DOps_InvertSelection(const POLY2D_SEL& s);

void Poly2DOps_DeleteLeftHalf(QVL::MODEL2* m, const POLY2D_SEL& s);
POLY2D_RESULT Poly2DOps_Flip(QVL::MODEL2* m, const POLY2D_SEL& s);
POLY2D_RESULT Poly2DOps_RemoveFaces(QVL::MODEL2* m, const POLY2D_SEL& s);
// Vertex mode drops the corners on selected vertices (a polygon left bare is unused); face mode
// marks the selected polygons unused. Then the flags are cleared.
void Poly2DOps_DeleteSelected(QVL::MODEL2* m, const POLY2D_SEL& s);

// The clipboard gets the whole vertex, colour and UV arrays and the selected polygons.
POLY2D_RESULT Poly2DOps_Copy(const QVL::MODEL2* m, const POLY2D_SEL& s, QVL::MODEL2* clip);
// Appends the clipboard's arrays and polygons (indices raised), then optimises.
POLY2D_RESULT Poly2DOps_Paste(QVL::MODEL2* m, const POLY2D_SEL& s, const QVL::MODEL2* clip);
// Keeps one vertex, colour and UV per exact value among the used polygons' corners and packs the
// used polygons from slot 0. Linear: exact values are looked up by hash.
void Poly2DOps_Optimise(QVL::MODEL2* m, const POLY2D_SEL& s);

// Triangle (3) or quad (4) of side 64 about the origin; the circle is 16 triangles.
POLY2D_RESULT Poly2DOps_AddPrimitive(QVL::MODEL2* m, const POLY2D_SEL& s, int32_t corners, int32_t group);
POLY2D_RESULT Poly2DOps_AddCircle(QVL::MODEL2* m, const POLY2D_SEL& s, int32_t group);
// A polygon of n (1..4) new vertices at the points, white colour, new vertices' bindings automatic.
POLY2D_RESULT Poly2DOps_FreeCreate(QVL::MODEL2* m, const POLY2D_SEL& s, const float (*points)[3], int32_t n,
                                   int32_t group);
POLY2D_RESULT Poly2DOps_MakeFace(QVL::MODEL2* m, const POLY2D_SEL& s);
// The colour (0..255 each) found or appended, then given to the corners on selected vertices (of
// selected polygons in face mode).
POLY2D_RESULT Poly2DOps_ApplyColour(QVL::MODEL2* m, const POLY2D_SEL& s, const int32_t rgba[4]);
// Vertex mode: the selected corners take the last one's vertex. Face mode: selected polygons
// sharing exactly two corner positions become one, pass after pass. POLY2D_NOTHING when nothing
// changed.
POLY2D_RESULT Poly2DOps_Merge(QVL::MODEL2* m, const POLY2D_SEL& s);
// Face mode: every selected quad becomes four quads about its centre.
POLY2D_RESULT Poly2DOps_Split(QVL::MODEL2* m, const POLY2D_SEL& s);
// The 3D model's positions (x, y) and faces appended, each corner with a new colour and UV.
POLY2D_RESULT Poly2DOps_AddModel3(QVL::MODEL2* m, const POLY2D_SEL& s, const QVL::MODEL3* src, int32_t group);
