// The bone screen (screen 16): the skeleton's rest pose dragged in the Front, Top and Side views,
// bones added and deleted, and the bone list dialog's behaviour. The dialog itself is in
// edit3d/win32/bone_dialogs.cpp.
#pragma once
#include <cstddef>
#include <cstdint>

#include "model/model3.h"

struct VIEW_REC;

extern uint8_t g_BoneChildrenFollow;  // box 76: 1 means a dragged bone carries its children
extern int32_t g_BoneListShownBone;   // the bone the list dialog last took from its list
extern int32_t g_BoneListDirty;       // 1: the list dialog refills its controls at its next tick

// The screen's handlers the hub dispatches to.
void Bone3D_Enter();
void Bone3D_Draw();
void Bone3D_Frame();
void Bone3D_MouseMove(int32_t lParam);
void Bone3D_LButtonUp(int32_t lParam);
void Bone3D_RButtonUp(int32_t lParam);
void Bone3D_KeyUp(int key);

// Adds a bone under the current bone (key A, button 40030); at 128 bones adds none but still
// refreshes the weights and lists and records the undo step.
void Bone3D_AddBone();
void Model3D_FillParentCombo();

// ---- the pieces, on a model given ------------------------------------------------------------

// The rest-translation offset of a drag of (dx, dy) pixels in a view of that type and zoom; zero in
// the main and perspective views (and for a zoom of 0).
void Bone3D_DragOffset(int32_t viewType, int32_t dx, int32_t dy, float zoom, float out[3]);
// Moves bone `bone` (1 or more) by the offset; unless the children follow, the bone's children
// take the opposite offset so their joints stay. Bone 0 never moves.
void Bone3D_MoveBone(QVL::MODEL3* m, int32_t bone, const float offset[3], bool childrenFollow);
// The bone whose posed joint, mapped into the Front, Top or Side view, lies nearest (x, y) by
// |dx| + |dy|; a later bone wins a tie. -1 in other views or with no model.
int32_t Bone3D_NearestJoint(const QVL::MODEL3* m, const VIEW_REC& view, int32_t x, int32_t y);
// The arrow keys' pan of an orthographic view (virtual keys 0x25..0x28); false when the key or the
// view type does nothing.
bool Bone3D_PanView(VIEW_REC* view, int key);

// The list's row made current: a row outside the bones (no selection is -1) changes nothing. True
// when the current bone changed from the one the list showed last.
bool Bone3D_TakeListRow(int32_t row);
// "決定": the rest translation and name (bounded to 255 bytes) of the current bone, and its parent
// from the combo's row (-1, no selection, keeps it; a row at or past the count means the root). False, with the
// message shown and the old parent kept, when the parent is not smaller than the bone.
bool Bone3D_Apply(float x, float y, float z, const char* name, bool hasCombo, int32_t comboRow);
// "消去": bone 0 is refused with the message; otherwise the bone goes, and the current bone stays
// within the remaining bones. False when nothing was deleted.
bool Bone3D_DeleteCurrent();
// The tree's selection: the first bone whose tree label equals the whole text becomes current.
// False when no bone has that label.
bool Bone3D_SelectByTreeText(const char* text);
// The list dialog's "ボーンNo.%d" caption.
void Bone3D_NumberText(char* out, size_t cap);
