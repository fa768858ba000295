#include <gtest/gtest.h>

#include <string>

#include "frame/bytes.h"
#include "frame/sound.h"
#include "support/recorder.h"
#include "support/wav_fixture.h"

using namespace wav_fixture;

namespace {

std::vector<uint8_t> Bytes(size_t n, uint8_t v = 0x11) { return std::vector<uint8_t>(n, v); }

QVL::SOUND Sentinel()
{
    QVL::SOUND s;
    s.format = QVL::WAVE_FORMAT{7, 7, 7, 7, 7, 7, 7};
    s.dataSize = 3;
    s.data = {1, 2, 3};
    return s;
}

std::string WriteTemp(const std::vector<uint8_t>& bytes, const char* name)
{
    std::string path = Rec_TempDir() + "/" + name;
    EXPECT_TRUE(QVL::File_WriteAll(path.c_str(), bytes.data(), bytes.size()));
    return path;
}

} // namespace

TEST(Wav, ChunkLayouts)
{
    const auto fmt16 = FmtBody(1, 1, 22050, 16);
    const auto fmt8 = FmtBody(1, 1, 11025, 8);
    const auto tone = ToneBody(50);  // 100 bytes
    std::vector<uint8_t> truncatedData = Image({{"fmt ", fmt16}, {"data", Bytes(101), 400, false}});
    std::vector<uint8_t> oddLastData = Image({{"fmt ", fmt8}, {"data", Bytes(7)}});
    oddLastData.pop_back();  // no pad byte after the last chunk: nothing follows anyway

    struct Case {
        const char* name;
        std::vector<uint8_t> image;
        bool ok;
        uint32_t dataSize;
        uint16_t channels;
        uint32_t rate;
        uint16_t bits;
    } cases[] = {
        {"fmt then data", Image({{"fmt ", fmt16}, {"data", tone}}), true, 100, 1, 22050, 16},
        {"LIST before fmt and data", Image({{"LIST", Bytes(26)}, {"fmt ", fmt16}, {"data", tone}}), true, 100, 1, 22050, 16},
        {"odd chunk with its pad byte", Image({{"LIST", Bytes(5)}, {"fmt ", fmt16}, {"data", tone}}), true, 100, 1, 22050, 16},
        {"odd fmt extension with its pad byte", Image({{"fmt ", [&] { auto b = fmt16; b.push_back(0); return b; }()}, {"data", tone}}),
         true, 100, 1, 22050, 16},
        {"data before fmt", Image({{"data", tone}, {"fmt ", fmt16}}), true, 100, 1, 22050, 16},
        {"odd data is the last chunk", oddLastData, true, 7, 1, 11025, 8},
        {"data longer than the file keeps whole blocks", truncatedData, true, 100, 1, 22050, 16},
        {"extensible PCM", Image({{"fmt ", ExtensibleFmtBody(1, 2, 44100, 16)}, {"data", tone}}), true, 100, 2, 44100, 16},
        {"odd chunk without its pad byte", Image({{"LIST", Bytes(5), -1, false}, {"fmt ", fmt16}, {"data", tone}}), false},
        {"no fmt", Image({{"data", tone}}), false},
        {"no data", Image({{"fmt ", fmt16}, {"LIST", Bytes(4)}}), false},
        {"float samples", Image({{"fmt ", FmtBody(3, 1, 22050, 32)}, {"data", tone}}), false},
        {"ADPCM", Image({{"fmt ", FmtBody(2, 1, 22050, 4)}, {"data", tone}}), false},
        {"extensible float", Image({{"fmt ", ExtensibleFmtBody(3, 2, 44100, 32)}, {"data", tone}}), false},
        {"fmt shorter than 16 bytes", Image({{"fmt ", std::vector<uint8_t>(fmt16.begin(), fmt16.begin() + 14)}, {"data", tone}}), false},
        {"no channels", Image({{"fmt ", FmtBody(1, 0, 22050, 16)}, {"data", tone}}), false},
        {"fmt size beyond the file", Image({{"fmt ", fmt16, 4000}}), false},
        {"chunk size near 4 GiB", Image({{"LIST", Bytes(4), 0xFFFFFFFF}, {"fmt ", fmt16}, {"data", tone}}), false},
        {"not RIFF", Image({{"fmt ", fmt16}, {"data", tone}}, "RIFX"), false},
        {"not WAVE", Image({{"fmt ", fmt16}, {"data", tone}}, "RIFF", "AVI "), false},
        {"header only", Image({}), false},
        {"shorter than a header", {'R', 'I', 'F', 'F', 0, 0}, false},
    };
    for (const Case& c : cases) {
        QVL::SOUND s = Sentinel();
        bool ok = Wave_Parse(c.image.data(), c.image.size(), &s);
        EXPECT_EQ(c.ok, ok) << c.name;
        if (!c.ok) {
            // A failed read leaves the sound as it was.
            EXPECT_EQ(7, s.format.formatTag) << c.name;
            EXPECT_EQ(3u, s.dataSize) << c.name;
            continue;
        }
        EXPECT_EQ(1, s.format.formatTag) << c.name;
        EXPECT_EQ(c.channels, s.format.channels) << c.name;
        EXPECT_EQ(c.rate, s.format.samplesPerSec) << c.name;
        EXPECT_EQ(c.bits, s.format.bitsPerSample) << c.name;
        EXPECT_EQ(c.channels * c.bits / 8, s.format.blockAlign) << c.name;
        EXPECT_EQ(0, s.format.extraSize) << c.name;
        EXPECT_EQ(c.dataSize, s.dataSize) << c.name;
        EXPECT_EQ(c.dataSize, s.data.size()) << c.name;
    }
}

TEST(Wav, DataIsTheDataChunksBytes)
{
    const auto tone = ToneBody(8);
    auto image = Image({{"LIST", Bytes(3, 0xEE)}, {"fmt ", FmtBody(1, 1, 8000, 16)}, {"data", tone}});
    QVL::SOUND s;
    ASSERT_TRUE(Wave_Parse(image.data(), image.size(), &s));
    EXPECT_EQ(tone, s.data);
}

TEST(Wav, LoadLogsAnUnopenableFile)
{
    Rec().Clear();
    QVL::SOUND s = Sentinel();
    std::string path = Rec_TempDir() + "/missing.wav";
    EXPECT_FALSE(WaveLoad(&s, path.c_str()));
    EXPECT_EQ(3u, s.dataSize);
    ASSERT_EQ(1u, Rec().logLines.size());
    EXPECT_EQ("*** ERROR *** " + path + " Loadできませんでした。", Rec().logLines[0]);
    Rec().Clear();
}

TEST(Wav, GlobalSoundIsLoadedOnlyWhenItLoaded)
{
    std::string good = WriteTemp(Simple(100), "good.wav");
    std::string bad = WriteTemp(Image({{"data", ToneBody(10)}}), "bad.wav");

    // Without DirectSound nothing loads, and the callers are told all is well.
    g_SoundOk = false;
    EXPECT_TRUE(Wave_LoadGlobalSound(5, good.c_str()));
    EXPECT_FALSE(g_GlobalSounds[5].loaded);

    g_SoundOk = true;
    EXPECT_FALSE(Wave_LoadGlobalSound(100, good.c_str()));
    EXPECT_FALSE(Wave_LoadGlobalSound(-1, good.c_str()));
    EXPECT_TRUE(Wave_LoadGlobalSound(5, good.c_str()));
    EXPECT_TRUE(g_GlobalSounds[5].loaded);
    ASSERT_TRUE(g_GlobalSounds[5].sound);
    EXPECT_EQ(200u, g_GlobalSounds[5].sound->dataSize);
    // A file that does not load empties the slot instead of leaving it "loaded".
    EXPECT_FALSE(Wave_LoadGlobalSound(5, bad.c_str()));
    EXPECT_FALSE(g_GlobalSounds[5].loaded);
    EXPECT_FALSE(g_GlobalSounds[5].sound);
    EXPECT_FALSE(Wave_LoadGlobalSound(6, (good + ".none").c_str()));
    EXPECT_FALSE(g_GlobalSounds[6].loaded);
    g_SoundOk = false;
    Rec().Clear();
}

TEST(Wav, ModelSoundsAreKeptPerModelId)
{
    std::string good = WriteTemp(Simple(30), "m.wav");
    g_SoundOk = true;
    EXPECT_FALSE(Wave_LoadModelSound(-1, 1, good.c_str()));
    EXPECT_FALSE(Wave_LoadModelSound(2, 100, good.c_str()));
    EXPECT_TRUE(Wave_LoadModelSound(2, 5, good.c_str()));
    ASSERT_GE(g_ModelSounds.size(), 300u);
    ASSERT_TRUE(g_ModelSounds[205]);
    EXPECT_EQ(60u, g_ModelSounds[205]->dataSize);
    EXPECT_FALSE(Wave_LoadModelSound(2, 5, (good + ".none").c_str()));
    EXPECT_FALSE(g_ModelSounds[205]);
    g_SoundOk = false;
    EXPECT_TRUE(Wave_LoadModelSound(3, 1, good.c_str()));
    EXPECT_LT(g_ModelSounds.size(), 302u);
    g_ModelSounds.clear();
    Rec().Clear();
}

TEST(Wav, OneShotSlotsRingThroughOneToSeven)
{
    int32_t ring = 0;
    std::vector<int32_t> slots;
    for (int i = 0; i < 8; ++i) slots.push_back(Sound_NextSlot(&ring, false));
    EXPECT_EQ((std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 1}), slots);
    EXPECT_EQ(0, Sound_NextSlot(&ring, true));
    EXPECT_EQ(2, Sound_NextSlot(&ring, false));  // a looping sound leaves the ring alone
}
