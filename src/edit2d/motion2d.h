// The 2D editor's motion screen (screen 10): keys of the 2D model's bones at the current frame,
// playback and the motion list. The key arithmetic and the operations on a model come first, each
// usable without the screen; the handlers below work on model slot 0 through the shell's state.
#pragma once
#include <cstdint>
#include <vector>

#include "model/model2.h"

// ---- editor state ------------------------------------------------------------------------------

// The key list of g_CurBone for the current motion (null when the bone has none); the key index
// itself is the shared g_CurKeyIndex.
extern std::vector<QVL::KEY2>* g_CurKeyList2D;
// The key clipboard: 128 entries of frame, x, y, rotation, scale x, scale y.
extern QVL::KEY2 g_KeyClip2D[QVL::kModel2Bones];
// Refresh flags of 2D_MOTION_DLG, MOTION_KEY_DLG and 2D_MOTION_LIST_DLG.
extern int32_t g_Motion2DDlgDirty, g_Motion2DKeyDlgDirty, g_Motion2DListDirty;

// ---- key arithmetic ----------------------------------------------------------------------------

// Where a key at `frame` goes in an ordered list: after every earlier key. -1 when a key has that
// frame already or the list holds its capacity of keys.
int32_t Motion2D_InsertIndex(const std::vector<QVL::KEY2>& keys, int32_t frame);
// The index of the key at `frame`; -1 when there is none.
int32_t Motion2D_FindKey(const std::vector<QVL::KEY2>& keys, int32_t frame);
// The frame a click at `frame` snaps to: d = |key - frame + 3|, the first key with the smallest d
// below 5; `frame` itself when none.
int32_t Motion2D_SnapFrame(const std::vector<QVL::KEY2>& keys, int32_t frame);
// Frames a middle drag of dx pixels moves a key: dx * zoom / 12, at least one in dx's direction.
int32_t Motion2D_KeyTimingStep(int32_t dx, int32_t zoom);
// The frame under panel x: (x - scroll - left) * zoom / 10 brought into 0 .. length - 1, 0 left of
// the strip and for a length of 0 or less.
int32_t Motion2D_StripFrame(int32_t x, int32_t scrollX, int32_t left, int32_t zoom, int32_t length);
// The panel row under y: row k covers 28 + scrollY + k * rowHeight to one row height further, both
// ends included, the later row winning a shared edge; -1 when none.
int32_t Motion2D_PanelRowAt(int32_t y, int32_t scrollY, int32_t rowHeight, int32_t rowCount);
// The change of a view drag on a key by tool (0 move, 1 rotate, 2 scale); the undo caption.
const char* Motion2D_DragChange(QVL::KEY2* key, int32_t tool, float dx, float dy);

// ---- model operations (current motion of the model) --------------------------------------------

// The bone's key list for the model's current motion; null when the bone or list is missing.
std::vector<QVL::KEY2>* Motion2D_BoneKeys(QVL::MODEL2* m, int32_t bone);
// A key at `frame` for the bone of slot `id`: the interpolated pose there, or the rest values
// (0, 0, 0, 1, 1) for an empty list. Its index; -1 for bone 0, a key already there or a full list.
int32_t Motion2D_InsertKeyAt(int32_t id, int32_t bone, int32_t frame);
// Removes the key at `frame`, the later keys moving down; false when there is none.
bool Motion2D_DeleteKeyAt(QVL::MODEL2* m, int32_t bone, int32_t frame);
// Moves the bone's key at `from` by `step` frames, not below 0; false when none is at `from`, the
// target holds a key or the step is 0. The list stays ordered.
bool Motion2D_MoveKeyTime(QVL::MODEL2* m, int32_t bone, int32_t from, int32_t step, int32_t* to);
// The last key frame of the list earlier than `frame` / the first later one; `frame` when none.
int32_t Motion2D_PrevKeyFrameIn(const std::vector<QVL::KEY2>* keys, int32_t frame);
int32_t Motion2D_NextKeyFrameIn(const std::vector<QVL::KEY2>* keys, int32_t frame);

// ---- the screen --------------------------------------------------------------------------------

void Motion2D_SyncCurrentKey();
void Motion2D_InsertKey();
void Motion2D_CopyKey();
void Motion2D_CutKey();
void Motion2D_PasteKey();
void Motion2D_DeleteKey();
void Motion2D_SnapToKey();
void Motion2D_Play();
void Motion2D_Stop();
