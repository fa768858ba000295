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

MOVIE_PLAY g_MovieData;

// The map editor is in map_edit.cpp, the collision editor in coli_edit.cpp.

void MovieEdit_Enter()
{
    g_ModeMenu = Menu_Set("MENU_MOVIE");
    View_CreateAll();
    g_ScreenGroup = 7;
}
void MovieEdit_Exit() { View_CloseAll(); }
void MovieEdit_Frame() {}
void MovieEdit_Command(int) {}
void MovieEdit_Draw() {}
void MovieEdit_DrawOverlay() {}
void MovieEdit_LButtonDown(int32_t) {}
void MovieEdit_RButtonDown(int32_t) {}
void MovieEdit_MouseMove(int32_t) {}
void MovieEdit_KeyUp(int) {}

void MovieEdit_StopPlayback()
{
    g_MoviePlayState = 0;
    g_ScreenGroup = 7;
    g_MovieData.frame = g_MoviePlayStart;
    View_RequestRedraw();
}

void MovieEdit_RefreshDialogs() {}
void MovieEdit_FillMessageList() {}
int32_t MovieEdit_PrevKeyFrame(int32_t) { return 0; }
int32_t MovieEdit_NextKeyFrame(int32_t frame) { return frame; }
int MovieLoad(const char*) { return 0; }
void Movie_ApplyFrame() {}
void Movie_FindKeys() {}
void Movie_BuildMotionFrames() {}

void Movie_GetCamera(float eye[3], float target[3])
{
    for (int i = 0; i < 3; ++i) eye[i] = target[i] = 0.0f;
}

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
