// The shell's globals (the dialog slots, which have constructors' order to keep, are in statics.cpp).
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/dlg_slot.h"
#include "shell/input_state.h"
#include "shell/navigation.h"
#include "shell/playback.h"

APP_STATE g_App;
int32_t g_AutoSelect = 0;
int32_t g_UpdateEditedViewOnly = 0;
uint8_t g_AntiAliasPad[3];
int32_t g_WindowRect[4];
int32_t g_SettingsReserved[8];

POINT32 g_PressPoint, g_DragStart, g_DragCurrent, g_PrevMousePos, g_DragAnchor, g_LeftPressPoint;
DELTA2 g_MouseDelta;

float g_FrameStep = 0.0f;
int32_t g_PlayFlag = 0;
int32_t g_LoopPlay = 0;
int32_t g_SavedFrame = 0;
int32_t g_MoviePlayStart = 0, g_MoviePlayEnd = 0;
int32_t g_DragTool = 0;

int32_t g_PrevMode = MODE_PREVIEW;
int32_t g_RedrawPending = 0;
void* g_ModeMenu = nullptr;
int32_t g_CurLayer = 0, g_CurBone = 0, g_CurGroup = 0, g_CurPart = 0, g_CurObj2Id = -1;
int32_t g_DefaultObjectId = -1, g_DefaultModelId = -1;
int32_t g_CurVertex = -1;
QVL::MODEL3* g_CurModel3 = nullptr;
QVL::OBJECT* g_CurObject = nullptr;
QVL::OBJ2* g_CurObj2 = nullptr;
QVL::OBJ2_PART* g_CurObj2Part = nullptr;
QVL::OBJ2_KEY_LIST* g_CurObjKeyList = nullptr;
QVL::OBJ2_KEY* g_CurObjKey = nullptr;
QVL::OBJ2_MOTION* g_CurObj2Motion = nullptr;
QVL::OBJ3* g_CurObj3 = nullptr;
QVL::MODEL2* g_CurModel2 = nullptr;
QVL::EFFECT* g_CurEffect = nullptr;
QVL::EFFECT_PART* g_EffectEditPart = nullptr;
QVL::EFFECT_INST* g_CurEffectInst = nullptr;
QVL::BONE3* g_CurBone3 = nullptr;
QVL::KEY3* g_CurRestKey3 = nullptr;
QVL::MOTION3* g_CurMotion3 = nullptr;
std::vector<QVL::KEY3>* g_CurKeys3 = nullptr;
QVL::KEY3* g_CurKey3 = nullptr;

float g_OrbitYaw = -20.0f, g_OrbitPitch = 20.0f;
float g_Zoom2D = 3.2f;
int32_t g_HalfMonitorW = 0, g_HalfMonitorH = 0;
int32_t g_KeyTool = 1;

int32_t g_TexPanelDirty = 0;
float g_TexZoom = 1.0f;
POINT32 g_TexOrigin;
int32_t g_UvTool = 0;

void Mode_InitDlgSlot(DLG_SLOT* slot)
{
    slot->window = nullptr;
    slot->left = slot->top = 0;
    slot->extra[0] = slot->extra[1] = 0;
}
