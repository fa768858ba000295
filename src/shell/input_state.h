// Mouse and drag state (client coordinates of the window that got the message) and the tools the
// drags apply.
#pragma once
#include <cstdint>

struct POINT32 { int32_t x, y; };
struct DELTA2 { float x, y; };
extern POINT32 g_PressPoint;    // last button event or move
extern DELTA2 g_MouseDelta;     // last move; zeroed at the end of every pass
extern POINT32 g_DragStart;     // drag origin, also the previous point of a pan
extern POINT32 g_DragCurrent;   // editor drag origins set by the button-down handlers
extern POINT32 g_PrevMousePos;
extern POINT32 g_DragAnchor;
extern POINT32 g_LeftPressPoint;

extern int32_t g_DragTool;      // 0 move, 1 rotate, 2 scale
extern int32_t g_KeyTool;       // 0 move, 1 rotate, 2 scale; the program entry sets its start value

// The texture-picture state of the texture panels.
extern int32_t g_TexPanelDirty;
extern float g_TexZoom;
extern POINT32 g_TexOrigin;
extern int32_t g_UvTool;
