// Screen 8 of the 2D editor: placing the bones of the 2D model in slot 0, and the joint centres
// and automatic vertex bindings the polygon and weight screens use too.
#pragma once
#include <cstdint>

#include "model/model2.h"
#include "shell/input_state.h"

constexpr int32_t kCursor2DFold = 10000;  // a packed coordinate above this lies left of or above the window

extern int32_t g_BoneSel2D[QVL::kModel2Bones];  // one flag per row of the 2D bone list box
extern POINT32 g_DragOrigin;                    // the last left-button drag step

// The packed client point (x low 16 bits, y high) less the view's pan, truncated toward zero.
POINT32 Cursor2D_FromPacked(int32_t lParam, float panX, float panY);
// Folds a coordinate of a point left of or above the window back below 0.
int32_t Cursor2D_Fold(int32_t v);
// The cursor of the current screen's view 0 for a packed point (not folded).
POINT32 Cursor2D_Current(int32_t lParam);

// Moves every selected bone but bone 0 by (dx, dy).
void Bone2D_MoveSelected(QVL::MODEL2* m, const int32_t* sel, float dx, float dy);
// The bone whose screen point is nearest the cursor (city-block; a later bone wins a tie), or -1
// when there is none.
int32_t Bone2D_Nearest(const float* sx, const float* sy, int32_t count, POINT32 cursor);
// Centre of each bone: the mean of its joint and the joints of its children (parent above 0).
void Bone2D_Centres(const QVL::MODEL2& m, const QVL::XY2* joints, QVL::XY2* centres);
// Binds every vertex with the automatic flag to its nearest centre among bones 1.. (an earlier
// bone wins a tie; bone 1 when none is nearer than the start distance).
void Bone2D_BindNearest(QVL::MODEL2* m, const QVL::XY2* centres);
// A parent the dialog may give a bone: only a smaller number.
bool Bone2D_ParentAllowed(int32_t bone, int32_t parent);
// Applies a parent choice; false (the old parent kept) when it is refused. sel is the combo's row
// (LB_ERR/-1 or past the count takes 0).
bool Bone2D_ApplyParent(QVL::MODEL2* m, int32_t bone, int32_t sel);
// One more bone with the record's defaults; false at the limit.
bool Bone2D_Append(QVL::MODEL2* m);

void Bone2D_Enter();
void Bone2D_SetCursor(int32_t lParam);
void Bone2D_Drag(int32_t lParam);
void Bone2D_RButtonUp(int32_t lParam);
void Bone2D_Draw();
void Bone2D_Frame();
void Bone2D_UpdateJoints();

// The 2D bone list dialog's actions (its procedure is in edit2d/win32/).
// The list's caret row becomes the current bone; LB_ERR or a row past the bones changes nothing.
bool Bone2D_TakeListRow(int32_t caret);
// "決定": the name and the parent combo's row; false when the parent was refused (message shown).
bool Bone2D_ApplyDialog(const char* name, int32_t comboSel);
// "追加(A)": one more bone, the joints and the lists refreshed; false at 128 bones.
bool Bone2D_AddBone();
// The tree's new selection, by its label; false when no bone has it.
bool Bone2D_TakeTreeLabel(const char* text);
// The chosen colour becomes the model's tint.
void Bone2D_SetTint(uint8_t r, uint8_t g, uint8_t b);
