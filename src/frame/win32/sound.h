// DirectSound playback of loaded WAV sounds in eight buffer slots, and the DirectMusic performance
// set up at start. The sound records and tables are platform-free (frame/sound.h).
#pragma once
#include <windows.h>
#include <dsound.h>

#include "frame/sound.h"

struct IDirectMusicLoader8;
struct IDirectMusicPerformance8;

struct SOUND_MANAGER {
    HWND owner;
    IDirectSound* dsound;
    IDirectSoundBuffer* primary;
    IDirectSoundBuffer* slots[8];  // 0: the looping sound; 1..7: a ring for one-shot sounds
    int32_t ring;                  // the last one-shot slot used (0 at start)
    // How Wave_PlayGlobalSound plays: nothing in the studio changes these.
    bool loop;
    LONG pan;
    LONG volume;
};

struct MUSIC_MANAGER {
    bool comInitialized;
    IDirectMusicLoader8* loader;
    IDirectMusicPerformance8* performance;
    IDirectSound3DListener* listener;   // of the default audio path
    DS3DLISTENER listenerParams;
    HANDLE notifyEvent;                  // segment notifications (auto-reset)
};

extern SOUND_MANAGER g_SoundManager;
extern MUSIC_MANAGER g_MusicManager;

// Creates DirectSound for the main window; without a device g_SoundOk stays false.
void Sound_Init();
// Stops every slot and releases DirectSound (the frame's shut-down).
void Sound_Release();
// Plays the sound in slot 0 (looping) or the next ring slot, replacing what played there.
HRESULT Sound_Play(const QVL::SOUND* sound, LONG pan, LONG volume, bool loop);
// Sets up the DirectMusic performance; any failure leaves music unavailable without a word.
void Music_Init();
void Music_Release();
