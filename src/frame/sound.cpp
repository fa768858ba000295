#include "frame/sound.h"

#include <cstring>

#include "frame/bytes.h"
#include "frame/log.h"

bool g_SoundOk = false;

namespace {

uint16_t Le16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24; }

// The tail of KSDATAFORMAT_SUBTYPE_PCM after its leading format tag.
const uint8_t kPcmSubtypeTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                     0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

const uint16_t kTagPcm = 1;
const uint16_t kTagExtensible = 0xFFFE;

// The fmt chunk's body: PCM or extensible PCM with a usable layout.
bool ReadFormat(const uint8_t* body, uint32_t size, QVL::WAVE_FORMAT* fmt)
{
    if (size < 16) return false;
    uint16_t tag = Le16(body);
    if (tag == kTagExtensible) {
        if (size < 40 || Le16(body + 16) < 22) return false;
        const uint8_t* subtype = body + 24;
        if (Le16(subtype) != kTagPcm || std::memcmp(subtype + 2, kPcmSubtypeTail, sizeof kPcmSubtypeTail) != 0)
            return false;
    } else if (tag != kTagPcm) {
        return false;
    }
    fmt->formatTag = kTagPcm;
    fmt->channels = Le16(body + 2);
    fmt->samplesPerSec = Le32(body + 4);
    fmt->avgBytesPerSec = Le32(body + 8);
    fmt->blockAlign = Le16(body + 12);
    fmt->bitsPerSample = Le16(body + 14);
    fmt->extraSize = 0;
    return fmt->channels > 0 && fmt->blockAlign > 0 && fmt->bitsPerSample > 0;
}

} // namespace

bool Wave_Parse(const uint8_t* bytes, size_t size, QVL::SOUND* out)
{
    if (!bytes || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return false;
    QVL::WAVE_FORMAT fmt = {};
    bool haveFmt = false;
    const uint8_t* data = nullptr;
    size_t dataSize = 0;
    size_t pos = 12;
    while (size - pos >= 8) {
        const uint8_t* id = bytes + pos;
        size_t chunk = Le32(bytes + pos + 4);
        size_t body = pos + 8;
        size_t left = size - body;
        if (std::memcmp(id, "data", 4) == 0 && !data) {
            // A recording cut short keeps what it holds.
            data = bytes + body;
            dataSize = chunk < left ? chunk : left;
            if (chunk > left) chunk = left;
        } else if (chunk > left) {
            return false;
        } else if (std::memcmp(id, "fmt", 3) == 0 && !haveFmt) {
            if (!ReadFormat(bytes + body, (uint32_t)chunk, &fmt)) return false;
            haveFmt = true;
        }
        if (haveFmt && data) break;
        // Chunks start at even offsets: an odd-sized chunk is followed by a pad byte.
        pos = body + chunk;
        if ((chunk & 1) && pos < size) ++pos;
    }
    if (!haveFmt || !data) return false;
    dataSize -= dataSize % fmt.blockAlign;
    if (dataSize > UINT32_MAX) return false;
    out->format = fmt;
    out->dataSize = (uint32_t)dataSize;
    out->data.assign(data, data + dataSize);
    return true;
}

bool WaveLoad(QVL::SOUND* sound, const char* path)
{
    Log_DebugPrintf("WaveLoad %s", path);
    std::vector<uint8_t> bytes;
    if (!path || !QVL::File_ReadAll(path, bytes)) {
        Log_Printf("*** ERROR *** %s Loadできませんでした。", path ? path : "");
        return false;
    }
    return Wave_Parse(bytes.data(), bytes.size(), sound);
}

bool Wave_LoadGlobalSound(int32_t index, const char* path)
{
    if (index < 0 || index >= kSoundSlots) return false;
    if (!g_SoundOk) return true;
    QVL::GLOBAL_SOUND& slot = g_GlobalSounds[index];
    // The slot now names this file: whatever was there goes, loaded or not.
    slot.sound.reset();
    slot.loaded = 0;
    std::unique_ptr<QVL::SOUND> sound(new QVL::SOUND());
    if (!WaveLoad(sound.get(), path)) return false;
    slot.sound = std::move(sound);
    slot.loaded = 1;
    return true;
}

bool Wave_LoadModelSound(int32_t modelId, int32_t index, const char* path)
{
    if (modelId < 0 || index < 0 || index >= kSoundSlots) return false;
    if (!g_SoundOk) return true;
    size_t at = (size_t)modelId * kSoundSlots + (size_t)index;
    if (g_ModelSounds.size() <= at) g_ModelSounds.resize(((size_t)modelId + 1) * kSoundSlots);
    g_ModelSounds[at].reset();
    std::unique_ptr<QVL::SOUND> sound(new QVL::SOUND());
    if (!WaveLoad(sound.get(), path)) return false;
    g_ModelSounds[at] = std::move(sound);
    return true;
}
