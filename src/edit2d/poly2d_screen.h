// The 2D polygon screen (screen 6 of the 2D editor) on the 2D model in slot 0: its selection test,
// drag steps, free creation, counts and the modelling dialog's commands.
#pragma once
#include <cstdint>

#include "edit2d/poly2d_ops.h"
#include "model/model2.h"

extern int32_t g_Poly2DRefresh;   // 1: the modelling dialog refills its controls

// What the screen needs of its dialog and the main window; the dialog's side fills it (a null
// entry does nothing).
struct POLY2D_UI {
    void (*setCountText)(const char* text);     // static 1156
    bool (*readColour)(int32_t rgba[4]);        // edits 1161 to 1164; false unless all four are numbers
    bool (*askFile)(char* out, int cap);        // the open dialog for a QVP; false on cancel
    void (*activateMain)();
    void (*openDialog)();
    void (*closeDialog)();
};
extern POLY2D_UI g_Poly2DUi;

// The 2D model the screen edits (slot 0), or null.
QVL::MODEL2* Poly2D_Model();
POLY2D_SEL Poly2D_Selection();

// Strictly inside the rectangle: a point on an edge is out.
bool Poly2D_InRect(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom);
void Poly2D_RectSelect(int32_t face, int32_t corner, int32_t x, int32_t y, int32_t left, int32_t top, int32_t right,
                       int32_t bottom);
// One drag step of a vertex by tool (1 move, 2 rotate, 3 scale) with the mouse delta, pivot p and
// model position mx, my.
void Poly2D_DragPoint(int32_t tool, float dx, float dy, float px, float py, float mx, float my, float* x, float* y);
// The live free-creation point from a cursor and the zoom; false (no point) for a zero zoom or a
// result of exactly (0, 0).
bool Poly2D_LivePoint(int32_t cursorX, int32_t cursorY, float zoom, float out[3]);
// "頂点  %4d / %4d" or "面  %4d / %4d".
void Poly2D_CountText(const QVL::MODEL2* m, const POLY2D_SEL& s, char* out, int cap);

void Poly2D_Enter();
void Poly2D_Exit();
void Poly2D_Frame();
void Poly2D_Drag(int32_t lParam);
void Poly2D_LButtonUp(int32_t lParam);
void Poly2D_RButtonUp(int32_t lParam);
void Poly2D_ShowCounts();
void Poly2D_Draw();

void Poly2D_VertexMode();
void Poly2D_FaceMode();
void Poly2D_SelectAll();
void Poly2D_InvertSelection();
void Poly2D_DeleteLeftHalf();
void Poly2D_FlipFaces();
void Poly2D_RemoveFaces();
void Poly2D_Optimise();
void Poly2D_AddTriangle();
void Poly2D_AddQuad();
void Poly2D_AddCircle();
void Poly2D_DeleteSelected();
void Poly2D_Delete();
void Poly2D_Cut();
void Poly2D_Copy();
void Poly2D_Paste();
void Poly2D_Merge();
void Poly2D_FreeCreate();
void Poly2D_ApplyColour();
void Poly2D_MakeFace();
void Poly2D_SplitFaces();
void Poly2D_AddFile(const char* file);
// A button of the modelling dialog; false for a control with no action.
bool Poly2D_Command(int id);

// The 2D bones' joint refresh after new vertices (the bone screen's).
void Bone2D_UpdateJoints();
