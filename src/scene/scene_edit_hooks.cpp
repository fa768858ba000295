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

// The map editor is in map_edit.cpp, the collision editor in coli_edit.cpp, the movie editor in
// movie_edit.cpp.

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
