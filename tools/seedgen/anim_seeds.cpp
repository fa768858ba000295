// QVO and QVM seeds: fresh files and fuller ones from the engine's writers. The QVM fuzzer reads the
// body after the 7-byte header, so its seeds are bodies.
#include "frame/text.h"
#include "model/obj3.h"
#include "model/qvm_file.h"
#include "seedgen.h"
#include "support/model_builders.h"

using namespace QVL;

static void WriteQvoSeeds(SeedSink& sink)
{
    OBJ3* o = Obj3_NewRecord();
    int32_t flags[kObj3Parts] = {};
    std::vector<uint8_t> bytes;
    Qvo_Write(*o, flags, bytes);
    sink.Write("fresh", bytes);
    o->motionCount = 3;
    o->motions[1].used = 0;
    o->motions[2] = OBJ3_MOTION{1, 0, "walk", 30, 3, {0, 10, 20}};
    o->partCount = 3;
    for (int32_t p = 1; p < 3; ++p) {
        flags[p] = 1;
        o->parts[p].parent = p - 1;
        o->pivots[p][1] = (float)p;
        Str_CopyN(o->parts[p].file, sizeof o->parts[p].file, "part.qvp");
        Obj3_Key(o, p, 2, 1)->position[0] = 2.0f;
    }
    Qvo_Write(*o, flags, bytes);
    sink.Write("parts", bytes);
    Obj3_FreeRecord(o);
}

static void WriteQvmSeeds(SeedSink& sink)
{
    MODEL3* m = NewRecord();
    std::vector<uint8_t> bytes;
    Qvm_Write(*m, bytes);
    sink.Write("fresh", std::vector<uint8_t>(bytes.begin() + 7, bytes.end()));
    Motion3_ResizeList(m->motions, 3);
    m->motions[2].length = 12;
    m->soundCount = 2;
    Str_CopyN(m->soundNames[1], sizeof m->soundNames[1], "s.wav");
    Qvm_Write(*m, bytes);
    sink.Write("three", std::vector<uint8_t>(bytes.begin() + 7, bytes.end()));
    Model3_Free(m);
}

static SeedKind s_qvo("qvo", WriteQvoSeeds);
static SeedKind s_qvm("qvm", WriteQvmSeeds);
