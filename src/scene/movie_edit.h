// The movie editor (mode 23): tracks, keys and playback of the movie document in the shell's views.
#pragma once
#include <cstdint>

#include "scene/movie.h"

// Editor state.
extern int32_t g_MovieResumeFrame;       // the frame playback returns to when it stops
extern int32_t g_TimelineZoom, g_TimelineScrollX, g_TimelineScrollY, g_TimelineLeft;

// The current track (g_CurLayer) or null.
QVL::MOVIE_TRACK* MovieEdit_CurrentTrack();
// Index of the key of the track whose frame equals `frame` (the last such key), or -1.
int32_t MovieEdit_KeyAt(const QVL::MOVIE_TRACK* t, int32_t frame);

// Adds a track of the kind (0, 1, 2, 4, 8 or 9) in the next slot and makes it current; false when
// the slots are full or a QVB track would need a 2D model slot beyond the last.
bool MovieEdit_AddTrack(int32_t kind);
void MovieEdit_ClearModelTrack();
void MovieEdit_NewMovie();
// After a movie file loaded: frame 0, track 0, motion frames and every dialog refilled.
void MovieEdit_FileLoaded();

bool MovieEdit_InsertKey();
bool MovieEdit_DeleteKey();
void MovieEdit_CopyKey();
void MovieEdit_CutKey();
void MovieEdit_PasteKey();
void MovieEdit_ResetKeys(QVL::MOVIE_TRACK* t);
void MovieEdit_StartPlayback();
void MovieEdit_TogglePlayback();
void MovieEdit_ShowToolDialog();
// The key dialog's movie length: a value outside 1..18000 is refused (false, nothing changes).
bool MovieEdit_SetLength(int32_t length);
// The render dialog's rendering interval: 1..60 (60 / interval is the AVI frame rate).
bool MovieEdit_IntervalValid(int32_t interval);

// The editor's dialogs, on the platform side (scene/win32/movie_edit_dlg.cpp).
void MovieEditUi_Create();
void MovieEditUi_Destroy();
// Flags every dialog for refresh (the camera dialog too when `camera`).
void MovieEditUi_FlagRefresh(bool camera);
// Shows the tool dialog of the kind without activating it and hides the others (-1: none).
void MovieEditUi_ShowToolDialog(int32_t kind);
// The key dialog's start and end fields; false when either is not a number.
bool MovieEditUi_ReadPlayRange(int32_t* start, int32_t* end);
bool MovieEditUi_LoopChecked();
void MovieEditUi_SetPlaying(bool playing);
// True while the key dialog is the active window.
bool MovieEditUi_KeyDialogActive();
void MovieEditUi_OpenRenderDialog();
// Records the movie from frame 0 into the AVI file, one recorded frame per `interval` movie frames
// (1..60); a file that cannot be opened is reported and playback stops.
void MovieEdit_RecordAvi(const char* name, int32_t interval);
