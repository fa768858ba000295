// PSD reader: any bytes give four full planes and an interleaved picture, or a refusal.
#include <cstdlib>

#include "frame/image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QVL::PSD_IMAGE psd;
    if (PSD_Parse(data, size, psd)) {
        size_t n = (size_t)psd.width * psd.height;
        if (!Image_SizeAllowed(psd.width, psd.height) || psd.channels < 1 || psd.channels > 16) std::abort();
        for (const std::vector<uint8_t>& p : psd.planes)
            if (p.size() != n) std::abort();
        QVL::BGRA_IMAGE img;
        PSD_ToBgra(psd, img);
        if (img.pixels.size() != n * 4) std::abort();
    }
    return 0;
}
