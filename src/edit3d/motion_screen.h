// The 3D editor's motion screen (screen 18): keys of the bones and of the group tracks at the
// current frame, playback, the motion list and the sounds. The model operations come first, each on
// a model and its current motion, so that they can be checked without the screen; the screen's
// handlers below work on layer 0's model through the shell's current records.
#pragma once
#include <cstdint>
#include <vector>

#include "model/model3.h"

// ---- editor state ------------------------------------------------------------------------------

// The two-joint IK chain the frame hands to the IK step.
struct MOTION3D_IK_CHAIN {
    int32_t grandparent, parent, end;
};
extern MOTION3D_IK_CHAIN g_Motion3DIkChain;
// The index of the last key at or before the current frame in the current bone's list (bone motion)
// or the current group track (group motion); 0 when there is none.
extern int32_t g_CurKeyIndex;
// Refresh flags of 3D_MOTION_DLG, MOTION_KEY_DLG and 3D_MOTION_LIST_DLG.
extern int32_t g_Motion3DDlgDirty, g_MotionKeyPanelDirty, g_MotionListDirty;
// One key per bone, taken by the pose copy; g_PoseClipboardFull says a copy has been taken.
extern QVL::KEY3 g_PoseClipboard[QVL::kModel3Bones];
extern uint8_t g_PoseClipboardFull;

// The screen's windows (null while closed): 3D_MOTION_DLG with its kind (72) and texture (70)
// combos, MOTION_KEY_DLG, 3D_MOTION_LIST_DLG and the sound dialog with its list box.
struct MOTION3D_WINDOWS {
    void* motionDlg;
    void* kindCombo;
    void* textureCombo;
    void* keyDlg;
    void* listDlg;
    void* waveDlg;
    void* soundList;
};
extern MOTION3D_WINDOWS g_Motion3DWindows;

// ---- key arithmetic ----------------------------------------------------------------------------

// Over `count` frames read every `stride` int32s: the last frame below f, or f when there is none.
int32_t Motion3D_PrevFrameIn(const int32_t* frames, int32_t stride, int32_t count, int32_t f);
// The first frame above f, or f when there is none.
int32_t Motion3D_NextFrameIn(const int32_t* frames, int32_t stride, int32_t count, int32_t f);
// The index of the last key whose frame is at or below f; 0 when there is none.
int32_t Motion3D_KeyIndexAt(const int32_t* frames, int32_t stride, int32_t count, int32_t f);
// The frame a click at `frame` lands on: the key frame nearest to 3 frames before it (the first on
// a tie) among those from 7 frames before to 1 after; `frame` itself when none is there.
int32_t Motion3D_SnapFrame(const int32_t* frames, int32_t stride, int32_t count, int32_t frame);
// Frames a middle drag of dx pixels moves a key: trunc(dx * zoom * 0.08), at least one either way.
int32_t Motion3D_KeyTimingStep(int32_t dx, int32_t zoom);
// The frame under panel x (above the label column): (x - scroll - 188) * zoom / 10 brought into
// 0 .. length - 1; 0 for a length of 0 or less.
int32_t Motion3D_PanelFrame(int32_t x, int32_t scrollX, int32_t zoom, int32_t length);

// ---- model operations (current motion of the model) --------------------------------------------

// The bone's key list of the model's current motion; null when the bone or the list is missing.
std::vector<QVL::KEY3>* Motion3D_BoneKeys(QVL::MODEL3* m, int32_t bone);
// The bone's key at its current key index; null for an empty list.
QVL::KEY3* Motion3D_BoneCurrentKey(QVL::MODEL3* m, int32_t bone);
// Calls fn(bone) for the bone and all its descendants (first child, next sibling), each once.
void Motion3D_VisitSubtree(const QVL::MODEL3* m, int32_t bone, void (*fn)(QVL::MODEL3*, int32_t, void*), void* ctx);
// The same for the descendants only: from the first child, its descendants and later siblings.
void Motion3D_VisitDescendants(const QVL::MODEL3* m, int32_t bone, void (*fn)(QVL::MODEL3*, int32_t, void*),
                               void* ctx);

// A key at `frame` for the bone holding its interpolated pose there; false when it had one already.
bool Motion3D_CreateBoneKey(QVL::MODEL3* m, int32_t bone, int32_t frame);
// Removes the bone's first key at `frame`; false when there is none.
bool Motion3D_DeleteBoneKey(QVL::MODEL3* m, int32_t bone, int32_t frame);

enum { GROUP_KEY_ADDED = 0, GROUP_KEY_EXISTS = 1, GROUP_KEY_FULL = 2 };
// A key at `frame` in `track`, the later keys of every track moved up one place. A track that holds
// 16 keys takes no more (GROUP_KEY_FULL); nothing changes then.
int Motion3D_InsertGroupKey(QVL::MOTION3* mo, int32_t track, int32_t frame);
// Removes the track's key at `frame`, the later keys of that track moving down; false when none.
bool Motion3D_DeleteGroupKey(QVL::MOTION3* mo, int32_t track, int32_t frame);

// Moves the bone's key at frame c to c + v (0 when negative) unless a key is there already.
bool Motion3D_ShiftBoneKey(QVL::MODEL3* m, int32_t bone, int32_t c, int32_t v);
// The same for key `keyIndex` of a group track, which must be at frame c.
bool Motion3D_ShiftGroupKey(QVL::MOTION3* mo, int32_t track, int32_t keyIndex, int32_t c, int32_t v);

// The key's rotation turned by `degrees` about X (axis 0), Y (1) or Z (2).
void Motion3D_TurnKey(QVL::KEY3* k, int axis, float degrees);
// The key's rotation turned about the axis (x, y, z); false (no change) for a zero axis.
bool Motion3D_TurnKeyAbout(QVL::KEY3* k, float x, float y, float z, float degrees);

// ---- motion list and sounds --------------------------------------------------------------------

// Appends a copy of the current motion; every bone gets one default key for it, or a copy of its
// keys with copyKeys. The new motion becomes current. False at the list's limit.
bool Motion3D_AppendMotion(QVL::MODEL3* m, bool copyKeys);
// Removes the current motion and every bone's keys for it, unless it is the last one.
bool Motion3D_RemoveMotion(QVL::MODEL3* m);
// Exchanges the current motion with its neighbour (dir -1 or +1), which becomes current.
bool Motion3D_MoveMotion(QVL::MODEL3* m, int32_t dir);
// The name, cut to 255 bytes.
void Motion3D_SetName(QVL::MOTION3* mo, const char* text);
// A length typed as text: a whole number from 1 on; false (no change) otherwise.
bool Motion3D_ParseLength(const char* text, int32_t* length);
// A next-motion number typed as text: -1 up to 32767; false (no change) otherwise.
bool Motion3D_ParseNext(const char* text, int16_t* next);
// The texture index a texture-combo row stands for: rows 0 to 255, anything else 0; -1 (no change)
// for no selection.
int32_t Motion3D_TextureOfRow(int32_t row);
// Stores a sound name as the next sound; false when the model already holds 100.
bool Motion3D_AddSoundName(QVL::MODEL3* m, const char* name);

// ---- the screen (layer 0's model, the shell's current records) ---------------------------------

void Motion3D_Enter();
void Motion3D_Exit();
void Motion3D_Frame();
void Motion3D_Command(int id);
void Motion3D_KeyUp(int key);
void Motion3D_Refresh();
void Motion3D_SyncCurrentKey();
void Motion3D_CreateKey();
void Motion3D_DeleteKey();
void Motion3D_CopyPose();
void Motion3D_CutKey();
// False when nothing was pasted (no copy taken, playback on, no current bone).
bool Motion3D_PasteKey();
void Motion3D_ResetRotationTree(int bone);
int32_t Motion3D_PrevKeyTime(int32_t frame);
int32_t Motion3D_NextKeyTime(int32_t frame);
void Motion3D_PrevKey();
void Motion3D_NextKey();
void Motion3D_TogglePlay();
void Motion3D_StartPlay();
void Motion3D_StopPlay();
void Motion3D_ToolMove();
void Motion3D_ToolRotate();
void Motion3D_ToolScale();
// The key panel's operations.
void Motion3D_SetFrameFromPanel(int32_t x);
void Motion3D_PanelRowClick(int32_t x, int32_t row);
void Motion3D_SnapToKey();
void Motion3D_ShiftKeyTime(int32_t v);
void Motion3D_ShiftKeyTimeTree(int32_t v);
// The middle drag of the key panel by dx pixels.
void Motion3D_PanelKeyTiming(int32_t dx);
// Combos of 3D_MOTION_DLG and the sound list.
void Motion3D_FillKindCombo();
void Motion3D_FillTextureCombo();
void Motion3D_FillSoundList();
// Records an undo step on the current layer's history with the caption.
void Motion3D_RecordUndo(const char* caption);

// Posing functions of the drag code, called by the frame.
void Motion3D_IkStep();
