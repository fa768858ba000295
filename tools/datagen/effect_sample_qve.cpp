// The sample effect's file "爆発.QVE" in the data folder: the record the effect editor builds when
// the studio starts, written by the QVE writer. Its 2D-object parts name "Effect\爆発\爆発.QVA"
// relative to the data folder.
#include "datagen.h"
#include "effect/effect.h"
#include "effect/effect_edit_hooks.h"

namespace {

std::vector<uint8_t> BuildSampleQve()
{
    QVL::EFFECT e;
    EffectEdit_SampleRecord(e);
    std::vector<uint8_t> out;
    QVE_Write(e, out);
    return out;
}

} // namespace

DATAGEN_FILE(u8"data/爆発.QVE", BuildSampleQve);
