// The LWO reader under libFuzzer: a form that reads gives a model whose every index fits, and the
// model written again reads again with the same faces.
#include <vector>

#include "convert/lwo_file.h"
#include "convert_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    IMPORT_MODEL im;
    if (Lwo_Read(data, size, im) != IMPORT_OK) return 0;
    const size_t faces = im.faces.size();
    CheckAndApply(im, "fuzz.lwo");
    QVL::MODEL3* m = Model3_GetById(0);
    if (!m || m->faceCount != (int32_t)faces) return 0;
    std::vector<uint8_t> out;
    if (!Lwo_Write(m, out)) return 0;
    IMPORT_MODEL again;
    if (Lwo_Read(out.data(), out.size(), again) != IMPORT_OK || again.faces.size() != faces) std::abort();
    return 0;
}
