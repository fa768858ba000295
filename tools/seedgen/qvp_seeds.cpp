// QVP seeds: models our writer makes (a fresh model, a cube, random models) and the small files of
// the older layouts. The fuzzer reads the first byte as the layout (index into its five layouts).
#include <random>

#include "frame/bytes.h"
#include "model/qvp_file.h"
#include "seedgen.h"
#include "support/model_builders.h"
#include "support/qvp_fixtures.h"

using namespace QVL;

static std::vector<uint8_t> WithLayout(uint8_t layoutIndex, const std::vector<uint8_t>& file)
{
    std::vector<uint8_t> seed(1, layoutIndex);
    seed.insert(seed.end(), file.begin(), file.end());
    return seed;
}

static void WriteQvpSeeds(SeedSink& sink)
{
    MODEL3* fresh = NewRecord();
    sink.Write("fresh", WithLayout(4, SaveBytes(fresh)));
    Model3_Free(fresh);

    MODEL3* cube = NewRecord();
    MakeCube(cube);
    cube->textureCount = 2;
    cube->textures[1].used = 1;
    sink.Write("cube", WithLayout(4, SaveBytes(cube)));
    Model3_Free(cube);

    std::mt19937 rng(2009);
    for (int i = 0; i < 4; ++i) {
        MODEL3* m = NewRecord();
        RandomModel(m, rng);
        sink.Write("random" + std::to_string(i), WithLayout(4, SaveBytes(m)));
        Model3_Free(m);
    }

    const int32_t layouts[] = {2004002, 2005000, 2006000, 2008000, 2009000};
    for (uint8_t i = 0; i < 5; ++i)
        sink.Write("layout" + std::to_string(layouts[i]), WithLayout(i, QvpFixture(layouts[i])));
}

static SeedKind g_qvpSeeds("qvp", WriteQvpSeeds);
