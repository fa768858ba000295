// The WAV reader on arbitrary bytes: it must never read outside the image, and what it accepts must
// describe a buffer DirectSound can be given (whole blocks of PCM, all inside the file).
#include <cstddef>
#include <cstdint>

#include "frame/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QVL::SOUND s;
    s.format = QVL::WAVE_FORMAT{};
    s.dataSize = 0;
    if (!Wave_Parse(data, size, &s)) {
        if (s.dataSize != 0 || !s.data.empty()) __builtin_trap();
        return 0;
    }
    if (s.format.formatTag != 1 || s.format.blockAlign == 0 || s.format.channels == 0) __builtin_trap();
    if (s.data.size() != s.dataSize || s.dataSize > size || s.dataSize % s.format.blockAlign != 0) __builtin_trap();
    return 0;
}
