// The 3D editor hub (mode 11, screens 12 to 18) as the shell calls it, its layers and their undo
// histories.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "model/model3.h"
#include "shell/dlg_slot.h"
#include "shell/mode_hooks.h"

// The mode record the shell application lists under its mode number.
extern const MODE_HOOKS kModel3DMode;

// The history owns its snapshots; they live until the program ends.
struct MODEL3_FREE {
    void operator()(QVL::MODEL3* m) const { Model3_Free(m); }
};

// One undo step: the layer's model as it was after an edit, and the edit's caption.
struct UNDO_ENTRY {
    std::unique_ptr<QVL::MODEL3, MODEL3_FREE> snapshot;  // null until the entry is first written
    char caption[256] = {};
};

constexpr int kUndoSteps = 10;
constexpr int kLayerCount = 10;

// The history of one layer. After a record 0 <= position = last <= 9; undo and redo move position
// within 0..last.
struct UNDO_HISTORY {
    UNDO_ENTRY entries[kUndoSteps];
    int32_t position = -1;  // the entry shown now; -1 when empty
    int32_t last = -1;      // the newest valid entry; -1 when empty
};

struct POLY_EDIT_STATE {
    int32_t dragBasis;     // 0 "見た目", 1 "XYZ軸", 2 "法線"
    int32_t selectionMode; // 0 vertices, 1 faces
    int32_t tool;
    int32_t toolState;
};

struct MOTION3D_STATE {
    int16_t motionType;    // 0 bone motion, 1 group motion
    int16_t frame;
    int32_t switch57;
    uint8_t boneSwitch;
};

// The hub's own windows. The layers' IDs, their count and histories are the globals below.
struct MODEL3D_EDITOR {
    void* boneTree;        // control 1439 of BONE_LIST_DLG
    void* boneList;        // the list box made inside BONE_LIST_DLG
    void* groupList;       // control 1373 of 3D_GROUP_DLG
    DLG_SLOT layerSlot;    // LAYER_DLG; View_RequestRedraw sets its dirty flag
    void* undoList;        // control 1373 of UNDO_DLG
};
extern MODEL3D_EDITOR g_Model3DEditor;

// The 3D editor's state object (statics.cpp): the layers' object and model IDs.
extern std::vector<int32_t> g_LayerObjectIds;
extern std::vector<int32_t> g_LayerModelIds;
extern UNDO_HISTORY g_UndoHistories[kLayerCount];
extern char g_UndoCaption[256];
extern uint8_t g_UndoPending;  // a drag waits for the left-button release to record
extern POLY_EDIT_STATE g_PolyEditState;
extern MOTION3D_STATE g_Motion3DState;
extern int16_t g_LayerCount;

void Model3D_Enter();
void Model3D_Exit();
void Model3D_Frame();
void Model3D_Command(int id);
void Model3D_KeyDown(int key);
void Model3D_KeyUp(int key);
void Model3D_LButtonDown(int32_t lParam);
void Model3D_LButtonUp(int32_t lParam);
void Model3D_MButtonDown(int32_t lParam);
void Model3D_MButtonUp(int32_t lParam);
void Model3D_RButtonDown(int32_t lParam);
void Model3D_RButtonUp(int32_t lParam);
void Model3D_MouseMove(int32_t lParam);
void Model3D_Draw();
void Model3D_DrawOverlay();
// The joint cross of a bone: unit segments along Y, X and Z through its posed (screen 18) or rest
// joint; the segment named by axis (0 Y, 1 X, 2 Z) is yellow when bone is the current bone.
void Model3D_DrawJointCross(int bone, int axis);
// A click on a button of MODEL_3D_DLG: leaves the old screen unless it is `screen`, then enters
// `screen`.
void Model3D_SwitchScreen(int screen);
// The screen of a MODEL_3D_DLG button; -1 for the separator and other ids.
int Model3D_ScreenOfButton(int id);
void Motion3D_KeyUp(int key);
void Motion3D_CreateKey();
void Motion3D_Refresh();
void Motion3D_PrevKey();
void Motion3D_NextKey();

// Layers: one scene object and model each, created on demand, never deleted.
void Layer_Create();
void Layer_Select(int layer);

// Undo: whole copies of the current layer's model, taken after each edit.
void Undo_Record(UNDO_HISTORY* h);
void Undo_Restore(UNDO_HISTORY* h);
void Undo_StepBack(UNDO_HISTORY* h);
void Undo_StepForward(UNDO_HISTORY* h);
// Moves the history to `row` of the undo list by single steps; a row outside 0..last does nothing.
void Undo_SelectRow(UNDO_HISTORY* h, int row);
void Undo_FillList();

void Obj3D_RefreshLists();
void Poly3D_Refresh();
void Group3D_FillList();
void Tex3D_Refresh();
void Model3D_FillBoneList();
void Poly3D_StoreDragStart(int32_t lParam);

// The polygon screen's handlers the hub dispatches to.
void Poly3D_Enter();
void Poly3D_Exit();
void Poly3D_Frame();
void Poly3D_Draw();
void Poly3D_DrawSelection();
void Poly3D_LButtonUp(int32_t lParam);
void Poly3D_MButtonDown(int32_t lParam);
void Poly3D_RButtonUp(int32_t lParam);
void Poly3D_MouseMove(int32_t lParam);
void Poly3D_KeyUp(int key);
