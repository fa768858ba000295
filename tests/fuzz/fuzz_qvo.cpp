// QVO reader: any bytes give an object that writes back to the same bytes when read again, and that
// poses every part at any frame of any motion without leaving its tables; or a refusal.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "model/obj3.h"
#include "support/recorder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Rec().Clear();
    std::unique_ptr<QVL::OBJ3> rec(Obj3_NewRecord());
    int32_t flags[QVL::kObj3Parts] = {};
    if (Qvo_Parse(data, size, *rec, flags) != QVL::RECORD_OK) return 0;

    std::vector<uint8_t> once, twice;
    Qvo_Write(*rec, flags, once);
    std::unique_ptr<QVL::OBJ3> again(Obj3_NewRecord());
    int32_t againFlags[QVL::kObj3Parts] = {};
    if (Qvo_Parse(once.data(), once.size(), *again, againFlags) != QVL::RECORD_OK) std::abort();
    Qvo_Write(*again, againFlags, twice);
    if (once != twice) std::abort();

    // Into row 0, without part models: the names in the bytes are no files to open.
    Obj3_ReleaseAll();
    g_Obj3Table[0] = rec.release();
    g_Obj3Poses[0] = new QVL::OBJ3_POSE();
    std::memcpy(g_Obj3Flags[0], flags, sizeof flags);
    g_Obj3Flags[0][0] = 1;
    QVL::OBJ3* o = g_Obj3Table[0];
    const int32_t frames[] = {-5, 0, 1, 13, 59, 60, 1000};
    for (int32_t m = 0; m < o->motionCount && m < 4; ++m)
        for (int32_t f : frames) {
            o->motion = m;
            o->frame = f;
            Obj3_UpdatePoses();
        }
    Obj3_ReleaseAll();
    return 0;
}
