// Seeds for fuzz_wav: the chunk layouts the reader meets in practice.
#include "support/wav_fixture.h"
#include "seedgen.h"

namespace {

void WriteWavSeeds(SeedSink& sink)
{
    using namespace wav_fixture;
    const auto fmt = FmtBody(1, 1, 22050, 16);
    const auto tone = ToneBody(64);
    sink.Write("simple.wav", Simple(64));
    sink.Write("list_first.wav", Image({{"LIST", std::vector<uint8_t>(21, 'i')}, {"fmt ", fmt}, {"data", tone}}));
    sink.Write("stereo8.wav", Image({{"fmt ", FmtBody(1, 2, 11025, 8)}, {"data", std::vector<uint8_t>(33, 0x80)}}));
    sink.Write("extensible.wav", Image({{"fmt ", ExtensibleFmtBody(1, 2, 44100, 16)}, {"data", tone}}));
    sink.Write("data_first.wav", Image({{"data", tone}, {"fmt ", fmt}}));
    sink.Write("truncated.wav", Image({{"fmt ", fmt}, {"data", tone, 4096}}));
    sink.Write("float.wav", Image({{"fmt ", FmtBody(3, 1, 22050, 32)}, {"data", tone}}));
}

} // namespace

static SeedKind s_wav("wav", WriteWavSeeds);
