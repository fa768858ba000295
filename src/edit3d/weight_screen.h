// The weight screen (screen 17 of the 3D editor): vertices bound to bones, picked and selected in
// the views and given numbers through 3D_WEIGHT_DLG.
#pragma once
#include <cstdint>

#include "model/model3.h"

extern void* g_Weight3DDlg;      // 3D_WEIGHT_DLG while it exists
extern int32_t g_Weight3DDirty;  // the dialog's refresh flag
extern int32_t g_PrevBone;       // the bone current before the last pick in a Front, Top or Side view

void Weight3D_Enter();
void Weight3D_Exit();
void Weight3D_Frame();
void Weight3D_Draw();
void Weight3D_MouseMove(int32_t lParam);
void Weight3D_RButtonUp(int32_t lParam);
void Weight3D_KeyDown(int key);

// The weight of bone A as the numeric assignment stores it: 0..1, 0 for a text that is no number.
float Weight3D_ClampWeight(double w);
// A bone number as stored: 0..kModel3Bones - 1.
uint8_t Weight3D_ClampBone(long bone);
// The "決定" button with the texts of 1126, 1127 and 1128: every selected vertex gets the binding.
void Weight3D_Assign(const char* boneA, const char* boneB, const char* weight);
// Writes the current vertex's binding into the dialog; nothing without a picked vertex.
bool Weight3D_ShowVertex();
// The bone nearest (x, y) in a Front, Top or Side view by |dx| + |dy|, the later bone on a tie; -1
// without bones.
int32_t Weight3D_NearestBone(const QVL::MODEL3* m, int32_t viewType, int32_t centreX, int32_t centreY,
                             const float pan[3], float zoom, int32_t x, int32_t y);
