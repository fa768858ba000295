// The studio shell's own state: the shell object with its options and dialog slots, the mouse and
// drag state, the playback flags and the current indices and records the editors work on.
#pragma once
#include <cstdint>

#include <vector>

#include "effect/effect.h"
#include "model/model3.h"
#include "model/obj2.h"

namespace QVL {
struct OBJECT;
struct OBJ3;
struct MODEL2;
} // namespace QVL

// One modeless tool dialog.
struct DLG_SLOT {
    void* window;      // null while closed
    int32_t dirty;     // 1: refill the controls at the next refresh
    int32_t left, top; // last screen position
    int32_t extra[2];  // saved with the position, not used by the shell
};

constexpr int kScreenCount = 25;
constexpr int kSlotsPerScreen = 8;

struct APP_STATE {
    uint8_t vsyncByScreen[kScreenCount];
    uint8_t cpuByScreen[kScreenCount];
    int32_t shadowMode;   // 0, 20 (2D shadow) or 30 (3D shadow)
    int32_t showNormals;
    int32_t autoSelect;   // g_AutoSelect
    int32_t gridOn;
    uint8_t reverseWheel;
    int32_t toonOption;   // takes effect at the next start
    int32_t maxPolygons;  // takes effect at the next start
    int32_t toonActive;   // toon shading of this run
    uint8_t keyLatch;     // one key event per idle pass
    uint8_t zHeld, prevZHeld, shiftHeld;
};

extern APP_STATE g_App;
#define g_AutoSelect (g_App.autoSelect)
extern DLG_SLOT g_DlgSlots[kScreenCount][kSlotsPerScreen];  // statics.cpp
extern DLG_SLOT g_OptionsSlot;                              // statics.cpp
extern DLG_SLOT g_PreviewSlot;                              // statics.cpp: the preview's tool dialog
extern DLG_SLOT g_SketchSlot;                               // statics.cpp: SKETCH_DLG
void Mode_InitDlgSlot(DLG_SLOT* slot);

// Options kept in their own globals (stored in the settings file). The anti-alias option is the
// library's own flag, g_Lib.antiAlias, which Lib_SetAntiAlias keeps.
extern int32_t g_UpdateEditedViewOnly;
extern uint8_t g_AntiAliasPad[3];     // written back as read
extern int32_t g_WindowRect[4];       // left, top, width, height of the main window
extern int32_t g_SettingsReserved[8]; // kept as read

// Mouse and drag state (client coordinates of the window that got the message).
struct POINT32 { int32_t x, y; };
struct DELTA2 { float x, y; };
extern POINT32 g_PressPoint;    // last button event or move
extern DELTA2 g_MouseDelta;     // last move; zeroed at the end of every pass
extern POINT32 g_DragStart;     // drag origin, also the previous point of a pan
extern POINT32 g_DragCurrent;   // editor drag origins set by the button-down handlers
extern POINT32 g_PrevMousePos;
extern POINT32 g_DragAnchor;
extern POINT32 g_LeftPressPoint;

// Playback shared with the editors.
extern float g_FrameStep;       // 60 Hz frames since the previous idle pass
extern int32_t g_PlayFlag;      // 1: one playback tick in the next per-frame update
extern int32_t g_LoopPlay;
extern int32_t g_SavedFrame;
extern int32_t g_MoviePlayStart, g_MoviePlayEnd;
extern int32_t g_DragTool;      // 0 move, 1 rotate, 2 scale

// Modes and current records.
extern int32_t g_PrevMode;
extern int32_t g_RedrawPending; // 1: a View_RequestRedraw at the next per-frame update
extern void* g_ModeMenu;        // the menu the current mode set; destroyed on leaving
extern int32_t g_CurLayer, g_CurBone, g_CurGroup, g_CurPart, g_CurObj2Id;
extern int32_t g_DefaultObjectId, g_DefaultModelId;
extern int32_t g_PickedVertex;
extern QVL::MODEL3* g_CurModel3;
extern QVL::OBJECT* g_CurObject;
extern QVL::OBJ2* g_CurObj2;
extern QVL::OBJ2_PART* g_CurObj2Part;          // part g_CurPart of g_CurObj2
extern QVL::OBJ2_KEY_LIST* g_CurObjKeyList;    // its key list for the object's current motion
extern QVL::OBJ2_KEY* g_CurObjKey;             // that list's key at the part's key index
extern QVL::OBJ2_MOTION* g_CurObj2Motion;      // the object's current motion
extern QVL::OBJ3* g_CurObj3;
extern QVL::MODEL2* g_CurModel2;
extern QVL::EFFECT* g_CurEffect;
extern QVL::EFFECT_PART* g_EffectEditPart;     // part g_CurLayer of g_CurEffect
extern QVL::EFFECT_INST* g_CurEffectInst;
// Bone g_CurBone of g_CurModel3 with its rest key, the model's current motion, the bone's key list
// for that motion and the key at the bone's key index; null where a record or index is missing.
extern QVL::BONE3* g_CurBone3;
extern QVL::KEY3* g_CurRestKey3;
extern QVL::MOTION3* g_CurMotion3;
extern std::vector<QVL::KEY3>* g_CurKeys3;
extern QVL::KEY3* g_CurKey3;

// Navigation state.
extern float g_OrbitYaw, g_OrbitPitch; // degrees
extern float g_Zoom2D;
extern int32_t g_HalfMonitorW, g_HalfMonitorH;  // for the 2D pan clamp

// Start states of the editors set by the program entry.
extern int32_t g_KeyTool;       // 0 move, 1 rotate, 2 scale

// The texture-picture state of the texture panels.
extern int32_t g_TexPanelDirty;
extern float g_TexZoom;
extern POINT32 g_TexOrigin;
extern int32_t g_UvTool;
