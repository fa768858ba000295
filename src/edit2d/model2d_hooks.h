// The 2D editor hub (mode 3, screens 4 to 10) as the shell calls it.
#pragma once
#include <cstdint>

#include "shell/mode_hooks.h"

// The mode record the shell application lists under its mode number.
extern const MODE_HOOKS kModel2DMode;

extern int32_t g_CurModel2Id;  // always 0
extern int32_t g_PlaybackOn;   // 1 while a motion or object animation plays
extern int32_t g_Canvas2DWidth, g_Canvas2DHeight;

// The hub's tool windows (null while closed).
struct MODEL2D_EDITOR {
    void* screensDlg;    // MODEL_2D_DLG
    void* boneListDlg;   // BONE_LIST_DLG
    void* groupDlg;      // 2D_GROUP_DLG
    void* groupList;     // its group list box
    void* textureCombo;  // its control 1394
    void* shadingCombo;  // its control 1388
    int32_t groupLeft, groupTop;  // the group dialog's remembered position
};
extern MODEL2D_EDITOR g_Model2DEditor;

void Model2D_Enter();
void Model2D_Exit();
void Model2D_Frame();
void Model2D_Command(int id);
void Model2D_Draw();
void Model2D_DrawOverlay();
void Model2D_LButtonDown(int32_t lParam);
void Model2D_LButtonUp(int32_t lParam);
void Model2D_MButtonDown(int32_t lParam);
void Model2D_MButtonUp(int32_t lParam);
void Model2D_RButtonDown(int32_t lParam);
void Model2D_RButtonUp(int32_t lParam);
void Model2D_MouseMove(int32_t lParam);
void Obj2D_RefreshLists();
void Poly2D_Refresh();
void Motion2D_Refresh();
int32_t Model2D_PrevKeyFrame(int32_t frame);
int32_t Model2D_NextKeyFrame(int32_t frame);

// The screen of a MODEL_2D_DLG button; -1 for a button that switches nothing.
int Model2D_ScreenOfButton(int id);
// A switcher button: leaves the shown screen unless it is the target, then enters the target.
void Model2D_SwitchScreen(int screen);
// The end of every screen's frame: the renderer's 3D scene drawing on.
void Model2D_SceneSwitch();
