// The 3D editor hub (mode 11, screens 12 to 18) as the shell calls it.
#pragma once
#include <cstdint>
#include <vector>

#include "shell/mode_hooks.h"

// The mode record the shell application lists under its mode number.
extern const MODE_HOOKS kModel3DMode;

struct UNDO_HISTORY {
    int32_t position;  // -1 when empty
    int32_t last;
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

// The 3D editor's state object (statics.cpp): the layers' object and model IDs.
extern std::vector<int32_t> g_LayerObjectIds;
extern std::vector<int32_t> g_LayerModelIds;
extern UNDO_HISTORY g_UndoHistories[10];
extern char g_UndoCaption[256];
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
void Motion3D_KeyUp(int key);
void Motion3D_CreateKey();
void Motion3D_Refresh();
void Motion3D_PrevKey();
void Motion3D_NextKey();
void Layer_Create();
void Undo_Record(UNDO_HISTORY* h);
void Undo_StepBack(UNDO_HISTORY* h);
void Undo_StepForward(UNDO_HISTORY* h);
void Undo_FillList();
void Obj3D_RefreshLists();
void Poly3D_Refresh();
void Group3D_FillList();
extern int32_t g_UndoPending;   // 1: the left-button release records the drag as one undo step
void Tex3D_Refresh();
void Model3D_FillBoneList();
void Poly3D_StoreDragStart(int32_t lParam);
