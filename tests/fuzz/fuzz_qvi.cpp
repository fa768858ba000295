// QVI reader: any bytes give a picture whose pixels match its size, or a refusal.
#include <cstdlib>

#include "frame/image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QVL::BGRA_IMAGE img;
    if (Qvi_Parse(data, size, img)) {
        if (!Image_SizeAllowed(img.width, img.height) || img.pixels.size() != (size_t)img.width * img.height * 4)
            std::abort();
        // The upload's fill, into a texture of the size it would get.
        int32_t tw = Image_TextureSide(img.width), th = Image_TextureSide(img.height);
        if ((int64_t)tw * th <= 1 << 20) {
            std::vector<uint8_t> tex((size_t)tw * th * 4);
            Image_Stretch(img, tex.data(), tw * 4, tw, th);
        }
    }
    return 0;
}
