// What the object screen's tool windows do, apart from their windows: the part list dialog
// (OBJ_LIST_DLG), the key dialog (3D_OBJ_DLG), the key panel (OBJ_KEY_DLG) and the sound list
// (OBJ_WAVE_DLG). The window procedures (edit3d/win32/obj_dialogs.cpp) pass their messages here.
#pragma once
#include <cstdint>

// The key panel's button flags, cursor and scroll bar.
struct OBJ3D_KEY_PANEL {
    int32_t left, middle, right;    // 1 while held
    int32_t cursorX, cursorY;       // client coordinates, signed 16-bit
    int32_t prevX, prevY;
    int32_t pressFrame;             // the frame at the left press
    int32_t scrollPos, scrollMax;   // the horizontal scroll bar, 0 .. max
};
extern OBJ3D_KEY_PANEL g_Obj3DKeyPanel;

constexpr int32_t kObj3DMaxSounds = 100;

// ---- OBJ_LIST_DLG ----
// The part list's caret row on a command: a row of the object becomes the current part (a change
// refreshes the lists); anything else (no selection) leaves it.
void Obj3DList_TakeRow(int32_t row);
// "決定": the parent from the combo's row (-1 none). Returns the message shown, null when none.
const char* Obj3DList_ApplyParent(int32_t comboRow);
// False, with a message, when the object already has its 32 parts.
bool Obj3DList_RoomForPart();
// "追加": loads the QVP as a new last part. False when refused or not loaded.
bool Obj3DList_AddPart(const char* path);
// "入れ換え" with a file name already asked for; part 0 is refused with its message.
bool Obj3DList_ReplacePart(const char* path);
// "消去" of the current part; part 0 is refused with its message.
bool Obj3DList_DeletePart();
// "関節": the pivot tool.
void Obj3DList_PivotTool();
// The tree's new selection by its item text: the part with that label becomes current; -1 when
// none has it.
int32_t Obj3DList_SelectByTreeText(const char* text);

// ---- 3D_OBJ_DLG ----
void Obj3DKeys_Command(int id);

// ---- OBJ_KEY_DLG ----
enum { OBJ3D_SCROLL_LINE_LEFT, OBJ3D_SCROLL_LINE_RIGHT, OBJ3D_SCROLL_PAGE_LEFT, OBJ3D_SCROLL_PAGE_RIGHT,
       OBJ3D_SCROLL_THUMB };
void Obj3DPanel_HScroll(int kind, int32_t thumb);
void Obj3DPanel_LButtonDown();
void Obj3DPanel_LButtonUp();
void Obj3DPanel_DoubleClick();
// The cursor moved to (x, y) with the buttons as the panel's flags say.
void Obj3DPanel_MouseMove(int32_t x, int32_t y);
// The frames a middle drag of dx pixels moves a key: dx * 4 / 12, at least one towards dx.
int32_t Obj3DPanel_DragStep(int32_t dx);
// Moves the key frame at the current frame by `step` frames (not below 0), unless the target is
// a key frame already. True when it moved.
bool Obj3DPanel_MoveKey(int32_t step);

// ---- OBJ_WAVE_DLG ----
// "追加" with a file name already asked for: the sound becomes the next sound of the current model.
bool Obj3DWave_AddSound(const char* path);
