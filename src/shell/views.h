// View records and view cameras: up to eight views per screen, view 0 the main window and the others
// small windows of their own, each with an orthographic or perspective camera.
#pragma once
#include <cstdint>

#include "frame/frame.h"
#include "frame/mode_ids.h"

enum { VIEW_MAIN = 0, VIEW_FRONT = 1, VIEW_TOP = 2, VIEW_SIDE = 3, VIEW_PERS = 4 };
constexpr int kViewsPerScreen = 8;

struct VIEW_REC {
    int32_t exists;
    int32_t shown;           // View_CreateAll opens a window for it; not stored
    int32_t left, top, width, height;
    int32_t type;
    int32_t reserved[11];    // stored and read back, nothing else reads them
    void* window;
    int32_t redraw;
    int32_t age;             // scheduling age of the main loop
    int32_t clientWidth, clientHeight;
    int32_t centreX, centreY;
    float pan[3];            // target point (Top and Side keep the negated z)
    float zoom;
};

extern VIEW_REC g_Views[kScreenCount][kViewsPerScreen];
extern int32_t g_ViewCount[kScreenCount];
extern int32_t g_CurViewIndex;
extern VIEW_REC* g_CurView;
extern int32_t g_PickedView;
extern float g_LastViewZoom;
extern uint8_t g_SketchShow;
extern char g_SketchPaths[3][256];

// The zoom a view starts with when a slot without defaults is opened.
constexpr float kNewViewZoom = 0.25f;
// Ages stop here instead of overflowing.
constexpr int32_t kMaxViewAge = 1000000000;

VIEW_REC* View_Row();                      // the current screen's row
VIEW_REC& View_Picked();                   // the picked view of that row (view 0 when out of range)
int View_CountOfScreen();                  // its view count, clamped to 0..8
void View_SetDefaults();
void View_UpdateCurrent();
void View_Add(int shown, int left, int top, int width, int height);
void View_CreateAll();
void View_CloseAll();
void View_SetType(VIEW_REC* v, int type);  // type, title and redraw
const char* View_TypeTitle(int type);      // "Front", "Top", "Side", "Pers" or null
void View_Fit();
void View_FitAll();
int32_t Layer_GetObjectId();
int32_t Layer_GetModelId();
// Moves the main window to g_WindowRect and resets the device (the settings reader calls it).
void MainWnd_ApplyRect();
// The view the frame presents the rendered pass into: the picked view of the current screen. False
// when it does not exist.
bool View_GetActiveView(QVL::PRESENT_VIEW* view);

// The view scheduler of one idle pass. Returns the view to render, or -1 when none is dirty.
// buttonsHeld: any mouse button is held; rightHeld: the right one is.
int View_Schedule(VIEW_REC* row, int count, int curIndex, int updateEditedOnly, int playFlag,
                  int buttonsHeld, int rightHeld);

// Orthographic mapping of a world point into the view's pixels.
void View_WorldToScreen(const VIEW_REC& v, const float p[3], float* sx, float* sy);

// The orthographic fit of a (u, v) box into a view of the given size with its margins: the new pan
// (cu, cv) and zoom. False when the box cannot be fitted (the zoom is then unchanged).
bool View_FitOrtho(float minU, float maxU, float minV, float maxV, int width, int height,
                   int marginW, int marginH, float zoom, float* cu, float* cv, float* newZoom);

// The main camera of a screen's view 0: eye = target + R(yaw, pitch) (0, 0, -15 zoom).
void View_MainEye(const float target[3], float zoom, float yaw, float pitch, float eye[3]);
