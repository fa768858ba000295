// The MAP2 editor (mode 21): painting chips into the map's cells with the left button, scrolling
// with the arrow keys, and the image dialog's chip list.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct MAP2_EDIT {
    int32_t cursorX, cursorY;  // the cell under the mouse
    int32_t scrollX, scrollY;  // in cells
    void* imageDialog;         // the image dialog and its chip list (platform windows)
    void* chipList;
    int32_t currentChip;       // the chip painted
    uint8_t painting;          // set while the left button is held
};
extern MAP2_EDIT g_Map2Edit;
extern int32_t g_Map2Sprite;       // texture handle of the walking cat
extern float g_Map2SpriteSteps;    // frame steps since the pose last changed
extern int32_t g_Map2SpritePose;   // 0..3

// The image dialog, made by the studio's platform side (null natively: no dialog).
struct MAP2_EDIT_UI {
    void (*openImageDialog)();
    void (*closeImageDialog)();
    void (*fillChipList)();
};
extern MAP2_EDIT_UI g_Map2EditUi;

// The cell under a mouse point: the 640 x 480 game screen is centred in the monitor and follows
// view 0's pan; clamped to the map. False (nothing to paint) while the map has no cell.
bool Map2Edit_CellAt(int mouseX, int mouseY, float panX, float panY, int monitorW, int monitorH, int32_t* cellX,
                     int32_t* cellY);
// The chip list's lines: "%2d : ", "○" or "×", " : name".
std::vector<std::string> Map2Edit_ChipLines();
// The image dialog's buttons. Adding a 17th chip says so and changes nothing.
bool Map2Edit_AddChip(const char* file);
void Map2Edit_ToggleAttribute();
void Map2Edit_SampleSet();
void Map2Edit_SelectChip(int32_t chip);
void Map2Edit_FillChipList();
