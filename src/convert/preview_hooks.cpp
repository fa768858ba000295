// The preview mode (mode 0): one model on the ground grid, with the load and save commands of every
// format in its menu.
#include "convert/preview_hooks.h"

#include "frame/lib.h"
#include "model/scene_object.h"
#include "render/immediate.h"
#include "shell/current.h"
#include "shell/grid.h"
#include "shell/mode_hooks.h"
#include "shell/ui_services.h"
#include "shell/views.h"

void Preview_Enter()
{
    g_ScreenGroup = 0;
    g_PrevMode = MODE_PREVIEW;
    g_CurLayer = 0;
    Mode_UpdateCurrent();
    g_ModeMenu = Menu_Set("MENU_PREVIEW");
    Object_SetVisible(Object_GetById(g_DefaultObjectId), 1);
}

void Preview_Exit()
{
    Object_SetVisible(Object_GetById(g_DefaultObjectId), 0);
    Preview_CloseSlotDialog();
    View_RequestRedraw();
}

void Preview_Frame()
{
    Lib_SetClearColor(128, 128, 128);
    // The renderer draws the 3D scene with the preview object.
    Render_Set3DScene(1);
    View_Row()[0].redraw = 1;
}

void (*g_PreviewRenderDlgOpen)() = nullptr;

void Preview_OnCommand(int id)
{
    if (id == 40061 && g_PreviewRenderDlgOpen) g_PreviewRenderDlgOpen();
}

void Preview_ButtonDown(int32_t) { Mode_StoreDragStart(0); }

void Preview_RButtonDown(int32_t)
{
    Mode_StoreDragStart(0);
    View_RequestRedraw();
}

void Preview_DrawOverlay()
{
    Grid_DrawGround3D();
    View_DrawAxisGizmo();
}

// The mode record: enter, exit, frame, command, key down and up; the mouse buttons and move; the
// two draw passes.
const MODE_HOOKS kPreviewMode = {
    Preview_Enter, Preview_Exit, Preview_Frame, Preview_OnCommand, nullptr, nullptr,
    Preview_ButtonDown, nullptr, Preview_ButtonDown, nullptr, Preview_RButtonDown, nullptr, nullptr,
    nullptr, Preview_DrawOverlay};
