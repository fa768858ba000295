// QVA reader: any bytes give a 2D object that writes back to the same bytes when read again, and
// that animates and builds its quads without leaving its arrays; or a refusal.
#include <cstdlib>

#include "model/obj2.h"
#include "support/recorder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Obj2_ReleaseAll();
    Rec().Clear();
    std::unique_ptr<QVL::OBJ2> rec = Obj2_NewRecord();
    if (Qva_Parse(data, size, *rec) != QVL::RECORD_OK) return 0;

    std::vector<uint8_t> once, twice;
    Qva_Write(*rec, once);
    std::unique_ptr<QVL::OBJ2> again = Obj2_NewRecord();
    if (Qva_Parse(once.data(), once.size(), *again) != QVL::RECORD_OK) std::abort();
    Qva_Write(*again, twice);
    if (once != twice) std::abort();

    int32_t id = Obj2_Create();
    rec->id = id;
    g_Obj2Table[(size_t)id] = std::move(rec);
    QVL::OBJ2* o = Obj2_GetById(id);
    for (int32_t i = 0; i < o->imageCount; ++i) Obj2_LoadImage(id, i, o->imageNames[i]);
    std::vector<QVL::OBJ2_QUAD> quads;
    const int32_t frames[] = {0, 1, 13, 59, 60, 1000};
    for (size_t m = 0; m < o->motions.size() && m < 3; ++m)
        for (int32_t f : frames) {
            o->motion = (int32_t)m;
            o->frame = f;
            Obj2_Animate(o);
            Obj2_BuildQuads(o, quads);
        }
    return 0;
}
