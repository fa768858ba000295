// Native stand-in for the playback seam (frame/sound.h, implemented by sound_recorder.cpp).
#pragma once
#include <string>
#include <vector>

struct SoundRecorder {
    std::vector<int> soundsPlayed;       // global sound numbers that played
    std::vector<std::string> media;      // "play <path>" and "stop", in order
    void Clear()
    {
        soundsPlayed.clear();
        media.clear();
    }
};

SoundRecorder& SoundRec();
