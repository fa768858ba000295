// The object screen (screen 12 of the 3D editor): object row 0 built from QVP parts in a parent
// tree and animated by key frames shared by all parts. Its tool windows are in obj_dialogs.h.
#pragma once
#include <cstdint>

#include "frame/math3d.h"
#include "model/obj3.h"

enum { OBJ3D_TOOL_MOVE = 0, OBJ3D_TOOL_ROTATE = 1, OBJ3D_TOOL_SCALE = 2, OBJ3D_TOOL_PIVOT = 4 };

// The screen's own state.
struct OBJ3D_STATE {
    int32_t tool;                          // OBJ3D_TOOL_*; rotate on entry
    int32_t ring;                          // active rotation ring: -1 none, 0 around Y, 1 X, 2 Z
    QVL::OBJ3_KEY clipboard[QVL::kObj3Parts];
    int32_t listDirty;                     // OBJ_LIST_DLG checks its controls again
    int32_t keyDlgDirty;                   // 3D_OBJ_DLG checks its tool buttons again
    int32_t keyDlgKey;                     // the key dialog's key index, 0 every frame
    int32_t lastListRow;                   // the part list's last selected row
    char treeLabels[QVL::kObj3Parts][256]; // the part tree's item texts, for its selection
};
extern OBJ3D_STATE g_Obj3DState;

// The windows and questions the screen needs of its dialogs' side, which fills the record (a null
// entry does nothing; a null question counts as yes).
struct OBJ3D_UI {
    void (*createWindows)();   // the four tool windows, each when missing
    void (*destroyWindows)();
    void (*openWaveDialog)();  // OBJ_WAVE_DLG with its list box, when not open
    bool (*askYesNo)(const char* text);
    bool (*loopChecked)();     // "ループ再生" of 3D_OBJ_DLG
    // The controls the list fills write to (null while their dialogs are closed).
    void* partTree;
    void* partList;
    void* parentCombo;
    void* soundList;
};
extern OBJ3D_UI g_Obj3DUi;

// Keys that are the object's frames and limits.
constexpr int32_t kObj3DBarStart = 189;         // x of frame 0 on the key panel, unscrolled
constexpr int32_t kObj3DParentWalkLimit = 320;  // steps of the parent walk before it counts as a loop

// The place a key frame at `frame` goes among the sorted key frames: the number below it; -1 when
// `frame` is already one of them.
int32_t Obj3D_KeyInsertIndex(const int32_t* frames, int32_t count, int32_t frame);
// The index of the key frame at `frame`, -1 when none.
int32_t Obj3D_KeyIndexAt(const int32_t* frames, int32_t count, int32_t frame);
// `frame` wrapped into 0 .. frameCount - 1; 0 for a frame count of 0 or less.
int32_t Obj3D_WrapFrame(int64_t frame, int32_t frameCount);
// The frame under key-panel x: (x - scroll - bar start) * 4 / 10, wrapped by the frame count.
int32_t Obj3D_BarFrame(int32_t x, int32_t scrollX, int32_t frameCount);
// True when the parent walk from `part` does not reach part 0 within the step limit.
bool Obj3D_ParentLoops(const QVL::OBJ3& o, int32_t part);

// The current object (row 0) and its current motion; null when there is none.
QVL::OBJ3* Obj3D_Object();
QVL::OBJ3_MOTION* Obj3D_Motion();
bool Obj3D_Playing();

void Obj3D_Enter();
void Obj3D_Exit();
void Obj3D_Frame();
void Obj3D_Draw();
void Obj3D_DrawOverlay();
void Obj3D_LButtonDown(int32_t lParam);
void Obj3D_LButtonUp(int32_t lParam);
void Obj3D_RButtonUp(int32_t lParam);
void Obj3D_MouseMove(int32_t lParam);
void Obj3D_KeyDown(int key);
void Obj3D_Command(int id);

// Key frames of the current motion. InsertKey answers whether the current frame is a key frame
// afterwards (false while playing, and when the motion already holds 16 key frames).
bool Obj3D_InsertKey();
void Obj3D_CopyKeys();
void Obj3D_CutKeys();
void Obj3D_PasteKeys();
void Obj3D_DeleteKey();

void Obj3D_PlayStart();
void Obj3D_PlayStop();
void Obj3D_PlayToggle();
// The current frame from the key panel's cursor x (client, scrolled by g_KeyScrollX).
void Obj3D_SetFrameFromBar(int32_t cursorX);
// Multiplies `rotation` into the current-frame key of `part`, then its first child and next sibling.
void Obj3D_RotateChildren(int32_t part, const QVL::QUAT& rotation);
void Obj3D_DrawJointCross(int32_t part, int32_t ring);

void Obj3D_FillParentCombo();
void Obj3D_FillPartList();
void Obj3D_FillPartTree();
void Obj3D_FillSoundList();
void Obj3D_RefreshLists();
