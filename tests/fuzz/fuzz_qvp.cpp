// QVP reader under libFuzzer: every layout reads the input into a model that already holds one;
// a file that reads must survive the model operations and write again, and what it writes must
// read back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "model/model3.h"
#include "model/model_load.h"
#include "model/normals.h"
#include "model/qvp_file.h"
#include "support/recorder.h"

using namespace QVL;

// Records are made once; each input starts from a copy of the pristine one (assigning reuses the
// storage, which keeps the fuzzer fast).
static MODEL3* Pristine()
{
    static MODEL3* m = Model3_Alloc();
    return m;
}

static MODEL3* Scratch(int i)
{
    static MODEL3* s[3] = {Model3_Alloc(), Model3_Alloc(), Model3_Alloc()};
    *s[i] = *Pristine();
    return s[i];
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int32_t kLayouts[] = {2004002, 2005000, 2006000, 2008000, 2009000};
    // The first byte picks the layout, as the header's version would.
    if (size < 1) return 0;
    int32_t layout = kLayouts[data[0] % 5];
    ++data;
    --size;
    g_StudioFlag = 1;
    MODEL3* m = Scratch(0);
    if (Qvp_ReadBytes(m, data, size, layout, "fuzz.qvp")) {
        Model3_CalcNormals(m);
        MODEL3* copy = Scratch(1);
        Model3_CopyRecord(m, copy, true);
        Model3_Weld(copy);
        if (copy->faceCount > 0) Model3_DeleteFace(copy, 0);
        ByteWriter w;
        Qvp_Write(m, w);
        MODEL3* again = Scratch(2);
        if (!Qvp_ReadBytes(again, w.Data().data(), w.Size(), 2009000, "again.qvp")) std::abort();
        ByteWriter w2;
        Qvp_Write(again, w2);
        if (w.Data() != w2.Data()) std::abort();
    }
    Rec().Clear();
    return 0;
}
