// Media files (movies and audio) played in an MCI window laid over the main window.
#pragma once
#include <windows.h>
#include <cstdint>

#include "frame/sound.h"

struct MEDIA {
    HWND wnd;          // the MCI window (a child of the main window); null when none
    char path[256];    // the file playing; empty when nothing plays
    bool playing;
    bool video;        // a picture-producing medium: the frame renders nothing meanwhile
    bool loop;
};

extern MEDIA g_Media;

// MediaPlay and Media_Stop are declared with the playback seam (frame/sound.h). MediaPlay does
// not restart the file already playing (true), except a looping one whose window reports that it
// stopped; false when MCI cannot open the file. Media_Stop closes the media window.
// The media window, null when none.
HWND Media_GetWindow();
// A picture-producing medium plays: the frame renders nothing meanwhile.
bool Media_IsVideoPlaying();
// The media window reported MCI_MODE_STOP (the main window's MCIWNDM_NOTIFYMODE): a looping medium
// starts over, any other is closed. The action waits for the message loop, outside the media
// window's own notification.
void Media_OnStopped();
