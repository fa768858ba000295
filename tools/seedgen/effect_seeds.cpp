// QVE and QVA seeds, written by the studio's own writers (and the older QVA layouts by hand).
#include "seedgen.h"
#include "support/effect_fixtures.h"

static void WriteQveSeeds(SeedSink& sink)
{
    std::vector<uint8_t> bytes;
    QVL::EFFECT e;
    Effect_InitData(e);
    QVE_Write(e, bytes);
    sink.Write("empty.qve", bytes);
    QVE_Write(Fixture_Effect(), bytes);
    sink.Write("three_parts.qve", bytes);
    QVL::EFFECT full = Fixture_Effect();
    QVL::EFFECT_PART& p = full.parts[0];
    p.keyCount = QVL::kEffectMaxKeys;
    for (int32_t k = 0; k < p.keyCount; ++k) Fixture_FillKey(p.keys[k], k * 4, (float)k);
    QVE_Write(full, bytes);
    sink.Write("sixteen_keys.qve", bytes);
}

static void WriteQvaSeeds(SeedSink& sink)
{
    std::vector<uint8_t> bytes;
    Qva_Write(*Obj2_NewRecord(), bytes);
    sink.Write("default.qva", bytes);
    Qva_Write(*Fixture_Obj2(), bytes);
    sink.Write("three_parts.qva", bytes);
    sink.Write("v2004000.qva", Fixture_Qva2004000());
    sink.Write("v2003000.qva", Fixture_Qva2003000());
}

static SeedKind s_qve("qve", WriteQveSeeds);
static SeedKind s_qva("qva", WriteQvaSeeds);
