// Picking and selection in the views: the shared selection and projection buffers, the drag
// classification, the click picks of bones and vertices, the vertex-or-face pick under the cursor,
// the screen-space triangle test and the rectangle test the draw passes apply per corner.
#pragma once
#include <cstdint>
#include <vector>

struct VIEW_REC;

// Allocated once by Sel_AllocBuffers for the library's polygon limit F and vertex limit V = 4 F,
// zero-filled, never freed. Null before.
extern int32_t* g_FaceSel;          // F: 1 = face selected
extern int32_t* g_VertexSel;        // V: 1 = position selected
extern int32_t* g_UvSel;            // V: 1 = texture coordinate selected
extern float (*g_ProjVerts)[3];     // V: last screen projection: x, y pixels, depth
extern float (*g_FaceCentres)[2];   // F: screen centre of each face (the editors' first pass)
extern float (*g_FaceNormals2D)[2]; // F: summed corner-normal pair of the 2D and 3D modelling draws
int32_t Sel_FaceCapacity();
int32_t Sel_VertexCapacity();

extern uint8_t g_SelectDrag, g_DeselectDrag;
extern int32_t g_PickedFace;        // -1 when the last face pick found none
extern int32_t g_WeightVertex;      // the weight editor's current vertex

// What the pick reads of the polygon editor; the shell application points these at the editor's
// own state (shell/wiring.cpp). Null reads as vertex mode, tool 0, no group list.
struct PICK_EDITOR_HOOKS {
    const int32_t* selectionMode;   // 0 vertices, 1 faces
    const int32_t* tool;
    void (*fillGroupList)();
};
extern PICK_EDITOR_HOOKS g_PickEditorHooks;

void Sel_AllocBuffers();
void View_ClassifyDrag();
void View_ProjectVertices3D();
void View_PickBone3D(bool posed);
void View_PickVertex3D(bool posed);
void View_PickVertexOrFace3D();
// 1 when Q lies inside the screen triangle P0 P1 P2 facing the viewer (on an edge counts as
// inside); 0 otherwise, and always 0 for a triangle of no area.
int32_t Sel_PointInTriangle(const float p0[3], const float p1[3], const float p2[3], const float q[3]);
void View_RectSelect3D(int32_t face, int32_t corner, int32_t x, int32_t y, int32_t x1, int32_t y1, int32_t x2,
                       int32_t y2);

// A projected coordinate as the integer pixel it falls in, truncated toward zero; saturates far off
// screen instead of overflowing, and gives INT32_MIN for NaN.
int32_t Sel_TruncPixel(float v);
// The Front, Top and Side mapping into integer pixels: centre plus the truncated scaled offset.
void View_OrthoToScreen(const VIEW_REC& v, const float p[3], int32_t* sx, int32_t* sy);

// Whether the polygon editor selects anything in its mode, and whether a position is selected.
bool Sel_HasSelection();
bool Sel_IsVertexSelected(int32_t position);
// Clears the vertex and face selection flags (after a load: the indices name other elements).
void Sel_ClearAll();

// The nearest projected position to (x, y) by |dx| + |dy| over positions 0..count - 1, the lowest
// index on a tie; positions with a non-finite projection are skipped. -1 when none qualifies.
// Sel_NearestLinear scans; Sel_NearestGrid answers the same through the bucket grid of the current
// projection (built on first use after each projection change).
int32_t Sel_NearestLinear(const float (*proj)[3], int32_t count, float x, float y);
int32_t Sel_NearestGrid(const float (*proj)[3], int32_t count, float x, float y);
// Forgets the last projection, so the next pick projects afresh (tests, model switches).
void Sel_ForgetProjection();
