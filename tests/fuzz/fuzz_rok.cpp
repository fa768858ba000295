// The ROK reader under libFuzzer: any bytes either read into a model whose every index fits, or
// are refused.
#include "convert/rok_import.h"
#include "convert_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    IMPORT_MODEL im;
    if (Rok_Read(data, size, im) == IMPORT_OK) CheckAndApply(im, "fuzz.rok");
    return 0;
}
