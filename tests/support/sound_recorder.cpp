// Native side of the playback seam (frame/sound.h): what played is recorded in SoundRec().
#include "support/sound_recorder.h"

#include <mutex>

#include "frame/sound.h"

SoundRecorder& SoundRec()
{
    static SoundRecorder r;
    return r;
}

static std::mutex g_soundRecLock;

bool Wave_PlayGlobalSound(int32_t index)
{
    if (index < 0 || index >= kSoundSlots || !g_GlobalSounds[index].loaded) return false;
    std::lock_guard<std::mutex> g(g_soundRecLock);
    SoundRec().soundsPlayed.push_back(index);
    return true;
}

bool MediaPlay(const char* path, int32_t)
{
    std::lock_guard<std::mutex> g(g_soundRecLock);
    SoundRec().media.push_back(std::string("play ") + (path ? path : ""));
    return true;
}

void Media_Stop()
{
    std::lock_guard<std::mutex> g(g_soundRecLock);
    SoundRec().media.push_back("stop");
}
