// Picking and the polygon editor's selection as the shell's views see them.
#pragma once
#include <cstdint>

void Sel_AllocBuffers();
void View_PickVertexOrFace3D();
// Whether the polygon editor selects anything in its mode, and whether a position is selected.
bool Sel_HasSelection();
bool Sel_IsVertexSelected(int32_t position);
// Clears the vertex and face selection flags (after a load: the indices name other elements).
void Sel_ClearAll();

// The selection and projection buffers, allocated once by Sel_AllocBuffers for the library's
// limits: F = g_Lib.maxPolygons faces, V = 4 F positions.
extern int32_t* g_FaceSel;       // F flags, 1 = selected
extern int32_t* g_VertexSel;     // V flags, 1 = selected
extern float* g_ProjVerts;       // V x (screen x, screen y, depth) of the main view
extern float* g_FaceCentres;     // F x (screen x, y) of the face centres
extern float* g_FaceNormals2D;   // F x the face's mean normal on the view's two axes
extern uint8_t g_SelectDrag, g_DeselectDrag;
extern int32_t g_PickedFace;     // the last face pick, -1 none
void View_ClassifyDrag();
void View_ProjectVertices3D();
void View_RectSelect3D(int32_t face, int32_t corner, int32_t x, int32_t y, int32_t x1, int32_t y1, int32_t x2,
                       int32_t y2);
