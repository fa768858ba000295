// The 2D motion screen's windows, its key panel's mouse state and the handlers its dialogs call.
#pragma once
#include <cstdint>

struct MOTION2D_WINDOWS {
    void* motionDlg;
    void* keyDlg;
    void* listDlg;
    void* list;
};
extern MOTION2D_WINDOWS g_Motion2DWindows;

// The key panel's own button flags, the last cursor point and the frame at the left press.
struct MOTION2D_PANEL {
    int32_t left, middle, right;
    int32_t x, y;
    int32_t pressFrame;
};
extern MOTION2D_PANEL g_Motion2DPanel;

void Motion2D_Enter();
void Motion2D_Exit();
void Motion2D_Frame();
void Motion2D_Draw();
void Motion2D_LButtonDown(int32_t lParam);
void Motion2D_DragKey(int32_t lParam);

void Motion2D_PanelMouseMove(int32_t x, int32_t y);
void Motion2D_PanelLButtonDown(int32_t x);
void Motion2D_PanelLButtonUp();
void Motion2D_PanelDoubleClick();

// The list box's caret row as the current motion (ignored when -1 or 100 and above).
void Motion2D_ListTakeRow(int32_t row);
// "決定": the motion's name (at most 255 characters) and length from the edits.
void Motion2D_ListApply(const char* name, const char* length);
// "追加": applies, then one motion more; false at 100 motions.
bool Motion2D_ListAdd(const char* name, const char* length);
