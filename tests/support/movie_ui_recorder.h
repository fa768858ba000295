// What the movie editor asked of its dialogs in a native test (movie_ui_recorder.cpp).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct SUBTITLE_CALL {
    int x, y;
    std::string text;
};

struct MOVIE_UI_REC {
    int created = 0, destroyed = 0, refreshes = 0, cameraRefreshes = 0, renderOpened = 0;
    int32_t toolKind = -1;
    bool rangeIsNumber = true;
    int32_t start = 0, end = 180;
    bool loop = false, playing = false, keyDialogActive = false;
    std::vector<SUBTITLE_CALL> subtitles;
    void Clear() { *this = MOVIE_UI_REC(); }
};
MOVIE_UI_REC& MovieUiRec();
