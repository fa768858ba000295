// The collision editor's test character: a 2 x 4 x 2 box standing on its base (the editor loads it
// five times from the System folder).
#include <cstdint>
#include <vector>

#include "datagen.h"
#include "model/model3.h"
#include "support/model_builders.h"

namespace {

std::vector<uint8_t> BuildColiChara()
{
    QVL::MODEL3* m = NewRecord();
    MakeCube(m);
    for (QVL::XYZ& p : m->positions) {
        p.x = (p.x - 0.5f) * 2.0f;
        p.y = p.y * 4.0f;
        p.z = (p.z - 0.5f) * 2.0f;
    }
    std::vector<uint8_t> bytes = SaveBytes(m);
    Model3_Free(m);
    return bytes;
}

} // namespace

DATAGEN_FILE(u8"data/System/コリジョンキャラ.QVP", BuildColiChara);
