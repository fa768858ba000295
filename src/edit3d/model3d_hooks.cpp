// The 3D editor hub as far as the shell needs it today: the screen's menu and views, the screen
// group, layers and the undo positions. The editors fill these in.
#include "edit3d/model3d_hooks.h"

#include "frame/lib.h"
#include "model/model_table.h"
#include "model/scene_object.h"
#include "shell/current.h"
#include "shell/input_state.h"
#include "shell/mode_hooks.h"
#include "shell/ui_services.h"
#include "shell/views.h"

UNDO_HISTORY g_UndoHistories[10] = {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1},
                                    {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}};
char g_UndoCaption[256];
POLY_EDIT_STATE g_PolyEditState = {0, 1, 1, 0};
MOTION3D_STATE g_Motion3DState = {0, 0, 1, 0};
int16_t g_LayerCount = 0;

static const char* ScreenMenu(int screen)
{
    switch (screen) {
    case SCREEN_3D_OBJECT: return "MENU_3D_OBJ";
    case SCREEN_3D_POLYGON: return "MENU_3D_POLY";
    case SCREEN_3D_TEXTURE: return "MENU_3D_TEX";
    case SCREEN_3D_BONE: return "MENU_3D_BONE";
    case SCREEN_3D_WEIGHT: return "MENU_3D_WEIGHT";
    case SCREEN_3D_MOTION: return "MENU_3D_MOTION";
    default: return nullptr;
    }
}

void Model3D_Enter()
{
    if (const char* menu = ScreenMenu(g_Screen)) g_ModeMenu = Menu_Set(menu);
    View_CreateAll();
    g_ScreenGroup = g_Screen == SCREEN_3D_OBJECT ? 3 : 4;
}

void Model3D_Exit() { View_CloseAll(); }
void Model3D_Frame() { Lib_SetClearColor(128, 128, 128); }
void Model3D_Command(int) {}
void Model3D_KeyDown(int) {}
void Model3D_KeyUp(int) {}
void Model3D_LButtonDown(int32_t) {}
void Model3D_LButtonUp(int32_t) {}
void Model3D_MButtonDown(int32_t) {}
void Model3D_MButtonUp(int32_t) {}
void Model3D_RButtonDown(int32_t) {}
void Model3D_RButtonUp(int32_t) {}
void Model3D_MouseMove(int32_t) {}
void Model3D_Draw() {}
void Model3D_DrawOverlay() {}
void Motion3D_KeyUp(int) {}
void Motion3D_CreateKey() {}
void Motion3D_Refresh() { View_RequestRedraw(); }
void Motion3D_PrevKey() {}
void Motion3D_NextKey() {}

void Layer_Create()
{
    if (g_Mode != MODE_3D_EDIT) return;
    g_LayerObjectIds.push_back(ObjectCreate());
    int32_t id = Model3_Create();
    g_LayerModelIds.push_back(id);
    // Nothing loads into a layer's own model: it is ready as made.
    if (QVL::MODEL3* m = Model3_GetById(id)) Model3_SetLoaded(m);
    ++g_LayerCount;
    Mode_UpdateCurrent();
}

void Undo_Record(UNDO_HISTORY* h)
{
    if (g_Mode != MODE_3D_EDIT) return;
    h->position = h->position + 1 >= 10 ? 9 : h->position + 1;
    h->last = h->position;
}

void Undo_StepBack(UNDO_HISTORY* h)
{
    if (h->position > 0) --h->position;
    Mode_RefreshAll();
}

void Undo_StepForward(UNDO_HISTORY* h)
{
    if (h->position < h->last && h->position < 9) ++h->position;
    Mode_RefreshAll();
}

void Undo_FillList() {}
void Obj3D_RefreshLists() {}
void Tex3D_Refresh() {}
void Model3D_FillBoneList() {}

void Poly3D_StoreDragStart(int32_t)
{
    g_DragStart = g_PressPoint;
    g_DragCurrent = g_PressPoint;
    g_DragAnchor = g_PressPoint;
}

// The mode record: enter, exit, frame, command, key down and up; the mouse buttons and move; the
// two draw passes.
const MODE_HOOKS kModel3DMode = {
    Model3D_Enter, Model3D_Exit, Model3D_Frame, Model3D_Command, Model3D_KeyDown, Model3D_KeyUp,
    Model3D_LButtonDown, Model3D_LButtonUp, Model3D_MButtonDown, Model3D_MButtonUp,
    Model3D_RButtonDown, Model3D_RButtonUp, Model3D_MouseMove,
    Model3D_Draw, Model3D_DrawOverlay};
