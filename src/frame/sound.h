// WAV sounds: the record, the reader and the two sound tables, and at the end the playback seam
// (implemented in frame/win32/sound.cpp and frame/win32/media.cpp; recorder
// tests/support/sound_recorder.cpp).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace QVL {

// The fields of the platform's WAVEFORMATEX; a loaded sound is always described as PCM.
struct WAVE_FORMAT {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize;
};

struct SOUND {
    WAVE_FORMAT format;
    uint32_t dataSize;
    std::vector<uint8_t> data;   // a copy of the data chunk
};

struct GLOBAL_SOUND {
    std::unique_ptr<SOUND> sound;
    uint8_t loaded;
};

} // namespace QVL

constexpr int32_t kSoundSlots = 100;

// Sounds numbered 0..99 for the movie player.
extern QVL::GLOBAL_SOUND g_GlobalSounds[kSoundSlots];
// 100 sounds per model ID, at model ID * 100 + sound index; grows with the IDs.
extern std::vector<std::unique_ptr<QVL::SOUND>> g_ModelSounds;
// Set by Sound_Init when DirectSound is usable. Without it every load reports success and loads
// nothing, and nothing plays.
extern bool g_SoundOk;

// Parses a RIFF WAVE image into out. Chunks are walked with their even padding and every size is
// checked against the bytes there are; a data chunk that claims more than the file holds keeps the
// whole blocks that are there. Only PCM is taken (also when described by the extensible format):
// other encodings would play as noise. False leaves out unchanged.
bool Wave_Parse(const uint8_t* bytes, size_t size, QVL::SOUND* out);

// Reads a WAV file into the sound; an unopenable file is logged. False leaves the sound unchanged.
bool WaveLoad(QVL::SOUND* sound, const char* path);

// Loads a WAV file as global sound index. False for an index outside 0..99 and for a file that did
// not load (the slot is then empty and not loaded); true without loading when there is no DirectSound.
bool Wave_LoadGlobalSound(int32_t index, const char* path);
// Loads a WAV file into the sound table of the model with that ID (-1: no model). False for no model,
// an index outside 0..99 and a file that did not load; true without loading when there is no DirectSound.
bool Wave_LoadModelSound(int32_t modelId, int32_t index, const char* path);

// The DirectSound slot for the next play: 0 for a looping sound; one-shot sounds take 1..7 in turn,
// advancing the ring position (which starts at 0).
inline int32_t Sound_NextSlot(int32_t* ring, bool loop)
{
    if (loop) return 0;
    *ring = (*ring >= 1 && *ring < 7) ? *ring + 1 : 1;
    return *ring;
}

// Playback is a platform seam: the studio plays through DirectSound and MCI (frame/win32/sound.cpp,
// frame/win32/media.cpp); native programs link tests/support/sound_recorder.cpp, which records the
// calls.
// Plays global sound 0..99; false when that number holds no loaded sound or it could not play.
bool Wave_PlayGlobalSound(int32_t index);
// Plays a media file from the start; the file already playing is left alone. False when it cannot play.
bool MediaPlay(const char* path, int32_t loop);
void Media_Stop();
