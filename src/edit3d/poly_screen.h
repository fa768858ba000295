// The polygon screen (screen 14 of the 3D editor): its selection commands, tools, mouse and key
// handlers, mesh commands and drawing passes, on the current layer's model.
#pragma once
#include <cstdint>

#include "edit3d/poly_mesh.h"
#include "model/model3.h"

extern int32_t g_Poly3DDirty;            // 1: the modelling dialog refills its controls
extern int32_t g_FreeCreateCount;        // 0..4 points fixed by the free-creation tool
extern float g_FreeCreatePoints[4][3];   // the slot at the count holds the live point
extern int32_t g_PolyColour[4];          // the vertex colour command's R, G, B, A
extern QVL::MODEL3* g_PolyClipboard;     // null until the first copy

// What the screen needs of the modelling dialog; the dialog's side fills it (a null entry does
// nothing).
struct POLY3D_UI {
    void (*setCountText)(const char* text);   // control 1156
    void (*activateMain)();
};
extern POLY3D_UI g_Poly3DUi;

// The selection of the current model as the mesh operations take it.
POLY_SEL Poly3D_Selection();

void Poly3D_Frame();
void Poly3D_MouseMove(int32_t lParam);
void Poly3D_LButtonUp(int32_t lParam);
void Poly3D_MButtonDown(int32_t lParam);
void Poly3D_MButtonUp(int32_t lParam);
void Poly3D_RButtonUp(int32_t lParam);
void Poly3D_KeyUp(int key);

void Poly3D_SetVertexMode();
void Poly3D_SetFaceMode();
void Poly3D_ToggleSelectMode();
void Poly3D_ToolMove();
void Poly3D_ToolRotate();
void Poly3D_ToolScale();
void Poly3D_SelectAll();
void Poly3D_InvertSelection();
void Poly3D_ToggleAutoSelect();
void Poly3D_PanUp();
void Poly3D_PanDown();
void Poly3D_PanLeft();
void Poly3D_PanRight();
void Poly3D_Optimize();
// The vertex colour command with the texts of the red, green, blue and alpha edits: nothing happens
// unless each is an unsigned integer.
void Poly3D_ApplyVertexColorText(const char* const fields[4]);
void Poly3D_ShowCounts();
// The picked face made valid for the current face count (-1 past the end).
void Poly3D_CheckPickedFace();

void Poly3D_FlipFaces();
void Poly3D_RotateColorNumbers();
void Poly3D_DeleteSelection();
void Poly3D_DeleteKey();
void Poly3D_DeleteLeftHalf();
void Poly3D_Merge();
void Poly3D_MergeKey();
void Poly3D_FacesToPoints();
void Poly3D_CopySelection();
void Poly3D_CutSelection();
void Poly3D_Paste();
void Poly3D_RemoveFace(int32_t face);
// Turns the free-creation points into a face (polygon creation).
void Poly3D_FinishFreePolygon();

// A button of the modelling dialog through its command table (edit3d/poly_dialogs.h), then the
// selection counter; false for another control.
bool Poly3D_DialogCommand(int id);

void Poly3D_Draw();
void Poly3D_DrawSelection();
