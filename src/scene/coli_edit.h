// The collision editor (mode 22): the area, box walls and circle walls edited with the mouse and
// three tool dialogs, and five test characters walking through the set with the arrow keys while
// resolution runs every frame.
#pragma once
#include <cstdint>
#include <vector>

enum COLI_TARGET { COLI_TARGET_AREA = 0, COLI_TARGET_BOXES = 1, COLI_TARGET_CIRCLES = 2 };
enum COLI_TOOL { COLI_TOOL_MOVE = 0, COLI_TOOL_ROTATE = 1, COLI_TOOL_SIZE = 2, COLI_TOOL_COPY = 3, COLI_TOOL_DELETE = 4 };

struct COLI_EDIT {
    std::vector<int32_t> objectIds;  // the test characters
    std::vector<int32_t> modelIds;
    int32_t target, shownTarget;
    int32_t selectedBox, selectedCircle;  // -1 none
    int32_t boxTool, circleTool;
    int32_t prevMouseX, prevMouseY;
    // Refresh flags of the select, area, box and circle dialogs.
    uint8_t refreshSelect, refreshArea, refreshBox, refreshCircle;
};
extern COLI_EDIT g_ColiEdit;

// The editor's dialogs, made by the studio's platform side (null natively: no dialogs).
struct COLI_EDIT_UI {
    void (*openSelectDialog)();
    void (*closeSelectDialog)();
    void (*openToolDialog)(int32_t target);
    void (*closeToolDialogs)();
};
extern COLI_EDIT_UI g_ColiEditUi;

void ColiEdit_OpenToolDialog();
void ColiEdit_CloseDialogs();
void ColiEdit_RefreshBoxDlg();
// A press on a target button of the select dialog.
void ColiEdit_SelectTarget(int32_t target);
// "追加" of the box and circle dialogs: false (with its message) when all 100 slots are in use.
bool ColiEdit_AddBox();
bool ColiEdit_AddCircle();
void ColiEdit_CompactBoxes();
void ColiEdit_CompactCircles();
// (a, b) turned by t degrees: (a cos t + b sin t, b cos t - a sin t).
void ColiEdit_RotatePoints(float a, float b, float degrees, float* outA, float* outB);
// The current test character's object, or null.
int32_t ColiEdit_CurrentObject();
