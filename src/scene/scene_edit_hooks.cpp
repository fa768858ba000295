// The map, collision and movie editors as far as the shell needs them today: menus, screen groups,
// views and the movie's playback state. The editors fill these in.
#include "scene/scene_edit_hooks.h"

#include "edit3d/model3d_hooks.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "shell/current.h"
#include "shell/mode_hooks.h"
#include "shell/playback.h"
#include "shell/ui_services.h"
#include "shell/views.h"

void Map2Edit_Enter() { g_ModeMenu = Menu_Set("MENU_MAP2"); }
void Map2Edit_Exit() { g_Lib.allocArrays = 1; }
void Map2Edit_Frame() { Lib_SetClearColor(128, 128, 128); }
void Map2Edit_Draw() {}
void Map2Edit_LButtonDown(int32_t) {}
void Map2Edit_LButtonUp(int32_t) {}
void Map2Edit_MouseMove(int32_t) {}
void Map2Edit_KeyDown(int) {}

void ColiEdit_Enter()
{
    g_ModeMenu = Menu_Set("MENU_COLI");
    g_ScreenGroup = 4;
}
void ColiEdit_Exit() {}
void ColiEdit_Frame() {}
void ColiEdit_Draw() {}
void ColiEdit_DrawOverlay() {}
void ColiEdit_LButtonUp(int32_t) {}
void ColiEdit_MouseMove(int32_t) {}
void ColiEdit_KeyDown(int) {}
void ColiEdit_MButtonDown(int32_t) {}
void ColiEdit_RefreshDialogs() { View_RequestRedraw(); }

// The movie editor's functions are in scene/movie_edit.cpp.

// The three mode records: enter, exit, frame, command, key down and up; the mouse buttons and
// move; the two draw passes.
const MODE_HOOKS kMap2EditMode = {
    Map2Edit_Enter, Map2Edit_Exit, Map2Edit_Frame, nullptr, Map2Edit_KeyDown, Mode_IgnoreKey,
    Map2Edit_LButtonDown, Map2Edit_LButtonUp, ColiEdit_MButtonDown, nullptr, Poly3D_StoreDragStart, nullptr,
    Map2Edit_MouseMove, Map2Edit_Draw, nullptr};

const MODE_HOOKS kColiEditMode = {
    ColiEdit_Enter, ColiEdit_Exit, ColiEdit_Frame, nullptr, ColiEdit_KeyDown, Mode_IgnoreKey,
    Mode_StoreDragStart, ColiEdit_LButtonUp, ColiEdit_MButtonDown, nullptr, Poly3D_StoreDragStart, nullptr,
    ColiEdit_MouseMove, ColiEdit_Draw, ColiEdit_DrawOverlay};

const MODE_HOOKS kMovieEditMode = {
    MovieEdit_Enter, MovieEdit_Exit, MovieEdit_Frame, MovieEdit_Command, Mode_IgnoreKey, nullptr,
    MovieEdit_LButtonDown, nullptr, Mode_StoreDragStart, nullptr, MovieEdit_RButtonDown, nullptr,
    MovieEdit_MouseMove, MovieEdit_Draw, MovieEdit_DrawOverlay};
