// The map editor (mode 21), the collision editor (22) and the movie editor (23) as the shell calls them.
#pragma once
#include <cstdint>

#include "scene/movie.h"
#include "shell/mode_hooks.h"

// The mode records the shell application lists under their mode number.
extern const MODE_HOOKS kMap2EditMode;
extern const MODE_HOOKS kColiEditMode;
extern const MODE_HOOKS kMovieEditMode;

// The movie document and its playback state (g_MovieData) are in scene/movie.h.

void Map2Edit_Enter();
void Map2Edit_Exit();
void Map2Edit_Frame();
void Map2Edit_Draw();
void Map2Edit_LButtonDown(int32_t lParam);
void Map2Edit_LButtonUp(int32_t lParam);
void Map2Edit_MouseMove(int32_t lParam);
void Map2Edit_KeyDown(int key);

void ColiEdit_Enter();
void ColiEdit_Exit();
void ColiEdit_Frame();
void ColiEdit_Draw();
void ColiEdit_DrawOverlay();
void ColiEdit_LButtonUp(int32_t lParam);
void ColiEdit_MouseMove(int32_t lParam);
void ColiEdit_KeyDown(int key);
void ColiEdit_MButtonDown(int32_t lParam);
void ColiEdit_RefreshDialogs();

void MovieEdit_Enter();
void MovieEdit_Exit();
void MovieEdit_Frame();
void MovieEdit_Command(int id);
void MovieEdit_Draw();
void MovieEdit_DrawOverlay();
void MovieEdit_LButtonDown(int32_t lParam);
void MovieEdit_RButtonDown(int32_t lParam);
void MovieEdit_MouseMove(int32_t lParam);
void MovieEdit_KeyUp(int key);
void MovieEdit_StopPlayback();
void MovieEdit_RefreshDialogs();
void MovieEdit_FillMessageList();
int32_t MovieEdit_PrevKeyFrame(int32_t frame);
int32_t MovieEdit_NextKeyFrame(int32_t frame);
