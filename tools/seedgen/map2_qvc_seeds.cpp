// MAP2 and QVC seeds, written by the studio's own writers: the sample map, a small map, a new
// collision set and one with walls and slots.
#include <cstring>
#include <memory>

#include "scene/coli.h"
#include "scene/map2.h"
#include "seedgen.h"

static void WriteMap2Seeds(SeedSink& sink)
{
    std::unique_ptr<QVL::MAP2> m(new QVL::MAP2());
    m->version = QVL::kMap2Version;
    m->chipCount = 2;
    std::strcpy(m->chipNames[0], "a.psd");
    m->attributes[0] = 1;
    std::strcpy(m->chipNames[1], "b.psd");
    m->width = 3;
    m->height = 2;
    m->cells[0][1] = 1;
    std::vector<uint8_t> bytes;
    Map2_Write(*m, bytes);
    sink.Write("small.MAP2", bytes);
    m->width = m->height = 64;
    for (int r = 0; r < 64; ++r) m->cells[r][0] = m->cells[0][r] = 1;
    Map2_Write(*m, bytes);
    sink.Write("full.MAP2", bytes);
}

static void WriteQvcSeeds(SeedSink& sink)
{
    std::unique_ptr<QVL::COLI> c(new QVL::COLI);
    Coli_Defaults(*c);
    std::vector<uint8_t> bytes;
    Coli_Write(*c, bytes);
    sink.Write("new.QVC", bytes);
    c->boxes[0] = QVL::COLI_BOX{1, 1, 0, 2, 45, 3};
    c->boxCount = 1;
    c->circles[0] = QVL::COLI_CIRCLE{1, -4, 0, 5, 2};
    c->circleCount = 1;
    std::strcpy(c->modelFile, "floor.QVP");
    c->slotFlags[0] = 1;
    std::strcpy(c->slotFiles[0], "back.QVP");
    Coli_Write(*c, bytes);
    sink.Write("walls.QVC", bytes);
}

static SeedKind s_map2("map2", WriteMap2Seeds);
static SeedKind s_qvc("qvc", WriteQvcSeeds);
