// The texture and UV screen (screen 15 of the 3D editor): the texture list of the current model,
// the projections and hand edits of the current group's UVs, and the picture window's drags.
// The dialogs' window procedures (edit3d/win32/tex_dialogs.cpp) pass their events here.
#pragma once
#include <cstdint>

#include "model/model3.h"
#include "shell/input_state.h"

// Tool states (g_UvTool): 0, 1, 2 after a projection, then the hand tools.
enum {
    UV_TOOL_FRONT = 0,
    UV_TOOL_TOP = 1,
    UV_TOOL_SIDE = 2,
    UV_TOOL_EDIT = 10,
    UV_TOOL_SELECT = 11,
    UV_TOOL_MOVE = 12,
    UV_TOOL_ROTATE = 13,
    UV_TOOL_SCALE = 14,
};

constexpr float kTexZoomMin = 0.25f, kTexZoomMax = 128.0f;

// The screen's own state; the zoom, the picture origin and the current texture are g_Tex3DState's
// (shell/panel_states.h), which the picture painter reads; the tool state is g_UvTool.
struct TEX3D_SCREEN {
    int32_t rememberedTool;    // 12, 13 or 14: where point selection goes back to
    int32_t dlgRect[4];        // left, top, width, height of 3D_TEX_DLG
    POINT32 press, current, previous;   // picture drag points in texels
    POINT32 pressPixel, currentPixel;   // the same in picture pixels, for the selection rectangle
    int32_t left, right, middle;        // buttons held in the picture window
    int32_t snap, gridStep;
    int32_t lastListSel;
    int32_t lastCommand;
    int32_t dirty;             // the dialog refreshes its buttons and readouts
    void* dialog;              // 3D_TEX_DLG
    void* list;                // its texture list (control 1)
};
extern TEX3D_SCREEN g_Tex3D;

// ---- the hub's handlers ----
void Tex3D_Enter();
void Tex3D_Exit();
void Tex3D_Frame();
void Tex3D_KeyUp(int key);
void Tex3D_MouseMove(int32_t lParam);
void Tex3D_RButtonUp(int32_t lParam);

void Tex3D_FillTextureList();
void Tex3D_ToolMove();
void Tex3D_ToolRotate();
void Tex3D_ToolScale();
void Tex3D_ToolSelect();
void Tex3D_ZoomIn();
void Tex3D_ZoomOut();
void Tex3D_RotateFaceUvs();

// ---- 3D_TEX_DLG ----
// A WM_COMMAND of the dialog: `caretRow` is the texture list's caret row, negative when the list has
// none (the current texture then stays). `gridText` is the grid-step edit's text, null when the
// edit is disabled.
void Tex3D_DialogCommand(int id, int caretRow, const char* gridText);
void Tex3D_AddTexture();
void Tex3D_ReplaceTexture();
void Tex3D_DeleteTexture();

// ---- 3D_TEX_IMAGE_DLG; x, y are client coordinates ----
enum { TEX_BUTTON_LEFT = 0, TEX_BUTTON_RIGHT = 1, TEX_BUTTON_MIDDLE = 2 };
void Tex3D_ImageButton(int button, bool down, int x, int y);
void Tex3D_ImageMouseMove(int x, int y);

// ---- the model edits the screen makes (platform-free, one model) ----
// Removes texture entry s (1 .. count - 1): the later entries move down, and every group's texture
// and normal-map texture at s or above fall by one. False (nothing changes) for s outside.
bool TexEdit_DeleteEntry(QVL::MODEL3* m, int32_t s);
// "頂点展開": new UVs from the positions of the selected faces' corners; the other faces' corners get
// entries of their own after them with their old values, so every index stays within the list.
void TexEdit_UnfoldPositions(QVL::MODEL3* m, const int32_t* faceSel, int32_t faceCap);
// "法線展開": each selected face's corner UV from its normal.
void TexEdit_UnfoldNormals(QVL::MODEL3* m, const int32_t* faceSel, int32_t faceCap);
// "ＵＶ展開": the group's corner UVs around the y axis, then the cylinder's seam repair.
void TexEdit_UnfoldCylinder(QVL::MODEL3* m, int32_t group);
// Each selected face's corner k takes corner k - 1's UV index (corner 0 the last one's).
void TexEdit_RotateFaceUvs(QVL::MODEL3* m, const int32_t* faceSel, int32_t faceCap);
// A hand drag of the selected UV entries by (dx, dy) texels with tool 12, 13 or 14. texW, texH: the
// current texture's size; dlgW, dlgH: the texture dialog's size. A zero size skips the drag.
void TexEdit_DragUvs(QVL::MODEL3* m, const int32_t* uvSel, int32_t uvCap, int32_t tool, int32_t dx, int32_t dy,
                     float zoom, int32_t texW, int32_t texH, int32_t dlgW, int32_t dlgH);
// Zoom steps: false when the zoom is at its bound (nothing changes).
bool TexEdit_ZoomIn(float* zoom, int32_t* ox, int32_t* oy, int32_t texW, int32_t texH);
bool TexEdit_ZoomOut(float* zoom, int32_t* ox, int32_t* oy, int32_t texW, int32_t texH);
