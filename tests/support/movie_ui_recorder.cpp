// Native stand-in for the movie editor's dialogs: records what the editor asked of them and hands
// back the key dialog's fields a test set.
#include "support/movie_ui_recorder.h"

#include "render/text_queue.h"
#include "scene/movie_edit.h"

MOVIE_UI_REC& MovieUiRec()
{
    static MOVIE_UI_REC rec;
    return rec;
}

void MovieEditUi_Create() { ++MovieUiRec().created; }
void MovieEditUi_Destroy() { ++MovieUiRec().destroyed; }
void MovieEditUi_FlagRefresh(bool camera)
{
    ++MovieUiRec().refreshes;
    if (camera) ++MovieUiRec().cameraRefreshes;
}
void MovieEditUi_ShowToolDialog(int32_t kind) { MovieUiRec().toolKind = kind; }
bool MovieEditUi_ReadPlayRange(int32_t* start, int32_t* end)
{
    if (!MovieUiRec().rangeIsNumber) return false;
    *start = MovieUiRec().start;
    *end = MovieUiRec().end;
    return true;
}
bool MovieEditUi_LoopChecked() { return MovieUiRec().loop; }
void MovieEditUi_SetPlaying(bool playing) { MovieUiRec().playing = playing; }
bool MovieEditUi_KeyDialogActive() { return MovieUiRec().keyDialogActive; }
void MovieEditUi_OpenRenderDialog() { ++MovieUiRec().renderOpened; }

// The subtitles the 2D layer would have drawn.
void Draw_SubtitleText(int x, int y, const char* text)
{
    MovieUiRec().subtitles.push_back({x, y, text ? text : ""});
}
