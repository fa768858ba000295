// QVB seeds, written by the studio's own writer; the first byte is the fuzzer's choice of reader
// rule (bit 0: 2004020) and of a record with arrays (bit 1).
#include <algorithm>

#include "frame/lib.h"
#include "model/model2.h"
#include "seedgen.h"

static void Put(SeedSink& sink, const char* name, uint8_t choice, const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> seed(bytes.size() + 1);
    seed[0] = choice;
    std::copy(bytes.begin(), bytes.end(), seed.begin() + 1);
    sink.Write(name, seed);
}

static void WriteQvbSeeds(SeedSink& sink)
{
    g_Lib.allocArrays = 1;
    QVL::MODEL2* m = Model2_NewRecord();
    Put(sink, "fresh.qvb", 2, Model2_Write(m));
    m->vertexCount = 4;
    m->vertices = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    m->bindings = {{0, 1, 0.5f, 1}, {1, 0, 1, 1}, {1, 0, 1, 1}, {0, 0, 1, 1}};
    m->colorCount = 1;
    m->colors = {{255, 255, 255, 255}};
    m->uvCount = 4;
    m->uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    m->polygonCount = 2;
    m->polygons = {QVL::FACE2{1, 4, {{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {3, 0, 3}}, 0},
                   QVL::FACE2{1, 3, {{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {0, 0, 0}}, 0}};
    m->textureCount = 2;
    m->textures[1].used = 1;
    m->bones[1].restX = 5;
    m->bones[1].keyLists[0].keys = {{0, 1, 2, 30, 1, 1}, {30, -1, 0, -30, 2, 1}};
    m->bones[1].name[0] = '\0';
    const std::vector<uint8_t> quad = Model2_Write(m);
    Put(sink, "quad.qvb", 2, quad);
    Put(sink, "quad_2004020.qvb", 1, quad);
    Put(sink, "quad_no_arrays.qvb", 0, quad);
    Model2_Free(m);
}

static SeedKind s_qvb("qvb", WriteQvbSeeds);
