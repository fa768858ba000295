#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "effect/effect.h"
#include "effect/particle.h"
#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/obj2.h"
#include "support/effect_fixtures.h"
#include "support/model_recorder.h"
#include "support/recorder.h"

namespace {

class QveFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        Effect_EraseAllData();
        Effect_EraseAllInstances();
        Particle_ListClear();
        Obj2_ReleaseAll();
        Rec().Clear();
        ModelRec().Clear();
        Str_CopyN(g_Lib.dataFolder, sizeof g_Lib.dataFolder, "DATA");
        dir = Rec_TempDir();
    }
    std::string dir;

    // Saves e as dir\name (the studio's own join) and returns the joined path.
    std::string Save(QVL::EFFECT& e, const char* name)
    {
        EXPECT_TRUE(Effect_Save(&e, dir.c_str(), name));
        return dir + "\\" + name;
    }
};

std::vector<uint8_t> Bytes(const QVL::EFFECT& e)
{
    std::vector<uint8_t> out;
    QVE_Write(e, out);
    return out;
}

int32_t ReadI32(const std::vector<uint8_t>& b, size_t at)
{
    int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

float ReadF32(const std::vector<uint8_t>& b, size_t at)
{
    float v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

} // namespace

TEST_F(QveFile, EmptyEffectIsTwentyBytes)
{
    QVL::EFFECT e;
    Effect_InitData(e);
    std::vector<uint8_t> b = Bytes(e);
    ASSERT_EQ(20u, b.size());
    EXPECT_EQ(0, std::memcmp(b.data(), "QVE ", 4));
    EXPECT_EQ(2009000, ReadI32(b, 4));
    EXPECT_EQ(60, ReadI32(b, 8));
    EXPECT_EQ(0, ReadI32(b, 12));
    EXPECT_EQ(0, ReadI32(b, 16));
}

TEST_F(QveFile, KeyIsOneHundredEightyNineBytesInFileOrder)
{
    QVL::EFFECT e;
    Effect_InitData(e);
    int32_t i = Effect_PartCreate(&e);
    QVL::EFFECT_PART& p = e.parts[(size_t)i];
    Fixture_FillKey(p.keys[0], 7, 1.0f);
    p.origin[0] = 5.5f;
    // Part entry: three empty strings, kind, key count, one key and the origin.
    std::vector<uint8_t> one = Bytes(e);
    ASSERT_EQ(20u + 4 + 4 + 4 + 4 + 4 + 189 + 12, one.size());
    p.keyCount = 2;
    Fixture_FillKey(p.keys[1], 9, 2.0f);
    EXPECT_EQ(one.size() + 189, Bytes(e).size());

    const size_t key = 20 + 4 + 4 + 4 + 4 + 4;   // the first key of the first part
    const QVL::EFFECT_KEY& k = p.keys[0];
    EXPECT_EQ(7, ReadI32(one, key + 0));
    EXPECT_EQ(k.reserved, ReadI32(one, key + 4));
    EXPECT_EQ(1, one[key + 8]);
    EXPECT_EQ(k.blend, ReadI32(one, key + 9));
    EXPECT_EQ(k.position[0], ReadF32(one, key + 13));
    EXPECT_EQ(k.reservedVec[0], ReadF32(one, key + 25));   // before the rotation
    EXPECT_EQ(k.rotation[0], ReadF32(one, key + 37));
    EXPECT_EQ(k.scale[2], ReadF32(one, key + 57));
    EXPECT_EQ(k.color[3], ReadF32(one, key + 73));
    EXPECT_EQ(k.texture, ReadI32(one, key + 77));
    EXPECT_EQ(k.emitInterval, ReadI32(one, key + 81));
    EXPECT_EQ(k.speed[0], ReadF32(one, key + 85));
    EXPECT_EQ(k.speedRange[0], ReadF32(one, key + 97));
    EXPECT_EQ(k.rotSpeed[0], ReadF32(one, key + 109));
    EXPECT_EQ(k.rotSpeedRange[0], ReadF32(one, key + 121));
    EXPECT_EQ(k.scaleSpeed[0], ReadF32(one, key + 133));
    EXPECT_EQ(k.scaleSpeedRange[0], ReadF32(one, key + 145));
    EXPECT_EQ(k.colorSpeed[0], ReadF32(one, key + 157));
    EXPECT_EQ(k.colorSpeedRange[3], ReadF32(one, key + 185));
    EXPECT_EQ(5.5f, ReadF32(one, key + 189));   // each part ends with its origin
}

TEST_F(QveFile, EmptyStringIsACountOfZero)
{
    QVL::EFFECT e;
    Effect_InitData(e);
    QVL::EFFECT_TEX t{};
    Str_CopyN(t.file, sizeof t.file, "ab");
    e.textures.push_back(t);
    std::vector<uint8_t> b = Bytes(e);
    ASSERT_EQ(20u + 4 + 4 + 2, b.size());
    EXPECT_EQ(0, ReadI32(b, 16));    // folder: count 0, no bytes
    EXPECT_EQ(2, ReadI32(b, 20));
    EXPECT_EQ(0, std::memcmp(b.data() + 24, "ab", 2));
}

TEST_F(QveFile, SaveAndLoadKeepEveryField)
{
    QVL::EFFECT src = Fixture_Effect();
    g_EffectData.push_back(src);
    // The 2D-object part's file, beside the effect file in its own folder.
    std::unique_ptr<QVL::OBJ2> obj = Fixture_Obj2();
    std::string objPath = dir + "\\obj\\爆発.QVA";
    ASSERT_TRUE(Obj2_Save(obj.get(), objPath.c_str()));
    std::string path = Save(g_EffectData[0], "a.qve");
    EXPECT_STREQ(path.c_str(), g_EffectData[0].path);

    int32_t id = Effect_DataCreate();
    ASSERT_EQ(id, QVE_Load(id, dir.c_str(), "a.qve"));
    const QVL::EFFECT& got = g_EffectData[(size_t)id];
    EXPECT_TRUE(Rec().messageBoxes.empty());
    EXPECT_EQ(2009000, got.version);
    EXPECT_EQ(src.frameCount, got.frameCount);
    EXPECT_STREQ(dir.c_str(), got.folder);
    EXPECT_STREQ("a.qve", got.file);
    EXPECT_STREQ(path.c_str(), got.path);
    ASSERT_EQ(src.textures.size(), got.textures.size());
    for (size_t i = 0; i < src.textures.size(); ++i) {
        EXPECT_STREQ(src.textures[i].folder, got.textures[i].folder);
        EXPECT_STREQ(src.textures[i].file, got.textures[i].file);
        EXPECT_STREQ("", got.textures[i].path);
        EXPECT_EQ((int32_t)i, got.textures[i].texture);   // the recorder's slot numbers
    }
    ASSERT_EQ(src.parts.size(), got.parts.size());
    for (size_t i = 0; i < src.parts.size(); ++i) {
        const QVL::EFFECT_PART &a = src.parts[i], &b = got.parts[i];
        EXPECT_STREQ(a.name, b.name);
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_STREQ(a.folder, b.folder);
        EXPECT_STREQ(a.file, b.file);
        ASSERT_EQ(a.keyCount, b.keyCount);
        for (int32_t k = 0; k < a.keyCount; ++k) EXPECT_TRUE(Fixture_SameKey(a.keys[k], b.keys[k])) << i << "/" << k;
        EXPECT_EQ(0, std::memcmp(a.origin, b.origin, sizeof a.origin));
    }
    // Pictures against the data folder, the 2D object against the folder the effect came from.
    ASSERT_EQ(2u, ModelRec().textures.size() - 2);   // two pictures, then the object's two images
    EXPECT_EQ("DATA\\\\box.bmp", ModelRec().textures[0]);
    EXPECT_EQ("DATA\\Effect\\爆発\\fire.bmp", ModelRec().textures[1]);
    EXPECT_EQ(-1, got.parts[0].object);
    QVL::OBJ2* o = Obj2_GetById(got.parts[2].object);
    ASSERT_NE(nullptr, o);
    EXPECT_EQ(objPath, o->path);
    EXPECT_EQ(0, o->visible);   // the effect draws it itself
    // Saving the loaded effect again gives the same bytes.
    EXPECT_EQ(Bytes(src), Bytes(got));
}

TEST_F(QveFile, OnlyTheFirstThreeMagicBytesCount)
{
    std::vector<uint8_t> b = Bytes(Fixture_Effect());
    b[3] = 'x';
    QVL::EFFECT e;
    Effect_InitData(e);
    EXPECT_EQ(QVL::RECORD_OK, QVE_Parse(b.data(), b.size(), e));
    b[2] = 'X';
    EXPECT_EQ(QVL::RECORD_NOT_FORMAT, QVE_Parse(b.data(), b.size(), e));
}

TEST_F(QveFile, WrongMagicAndVersionsAreRefusedWithTheirMessages)
{
    struct Case { int32_t version; const char* magic; const char* message; } cases[] = {
        {2009000, "QVA ", " は、QVE形式ではありません。"},
        {2008999, "QVE ", "QVE形式のバージョンが古いので\n読み込むことができません。\n\n"},
        {2009001, "QVE ", "QVE形式のバージョンが新しいので\n読み込むことができません。\n最新版へバージョンアップして下さい。\n\n"},
    };
    for (const Case& c : cases) {
        Rec().Clear();
        ModelRec().Clear();
        std::vector<uint8_t> b = Bytes(Fixture_Effect());
        std::memcpy(b.data(), c.magic, 4);
        std::memcpy(b.data() + 4, &c.version, 4);
        std::string path = dir + "\\v.qve";
        ASSERT_TRUE(QVL::File_WriteAll(path.c_str(), b.data(), b.size()));
        Effect_EraseAllData();
        int32_t id = Effect_DataCreate();
        g_EffectData[0].frameCount = 33;
        EXPECT_EQ(-1, QVE_Load(id, dir.c_str(), "v.qve"));
        ASSERT_EQ(1u, Rec().messageBoxes.size()) << c.version;
        EXPECT_NE(std::string::npos, Rec().messageBoxes[0].find(c.message)) << Rec().messageBoxes[0];
        EXPECT_NE(std::string::npos, Rec().messageBoxes[0].find(path)) << Rec().messageBoxes[0];
        // Nothing of the effect changes except its names.
        EXPECT_EQ(33, g_EffectData[0].frameCount);
        EXPECT_TRUE(g_EffectData[0].parts.empty());
        EXPECT_STREQ("v.qve", g_EffectData[0].file);
        EXPECT_TRUE(ModelRec().textures.empty());
    }
}

TEST_F(QveFile, UnopenableFileIsLoggedOnly)
{
    int32_t id = Effect_DataCreate();
    EXPECT_EQ(-1, QVE_Load(id, dir.c_str(), "missing.qve"));
    EXPECT_TRUE(Rec().messageBoxes.empty());
    EXPECT_EQ(-1, QVE_Load(id + 1, dir.c_str(), "missing.qve"));   // no such record
}

// Every shortened file and every count or length out of its range is refused with the damaged-file
// message, and the effect that was open keeps its parts and textures.
TEST_F(QveFile, DamagedFilesLeaveTheEffectUntouched)
{
    const std::vector<uint8_t> good = Bytes(Fixture_Effect());
    std::vector<std::vector<uint8_t>> bad;
    for (size_t n = 8; n < good.size(); ++n) bad.emplace_back(good.begin(), good.begin() + (ptrdiff_t)n);
    auto patched = [&](size_t at, int32_t v) {
        std::vector<uint8_t> b = good;
        std::memcpy(b.data() + at, &v, 4);
        return b;
    };
    bad.push_back(patched(12, -1));            // texture count
    bad.push_back(patched(12, 0x7FFFFFFF));
    bad.push_back(patched(16, 256));           // folder length beyond the field
    bad.push_back(patched(16, -5));
    // First part: after the textures (count + "" + "box.bmp" + "Effect\爆発" + "fire.bmp").
    size_t parts = 16 + 4 + 0 + 4 + 7 + 4 + 11 + 4 + 8;
    ASSERT_EQ(3, ReadI32(good, parts));
    bad.push_back(patched(parts, 100000));
    size_t keyCount = parts + 4 + 4 + 8 + 4 + 4 + 4;   // name "イメージ", kind, two empty strings
    ASSERT_EQ(1, ReadI32(good, keyCount));
    bad.push_back(patched(keyCount, 0));
    bad.push_back(patched(keyCount, 17));
    bad.push_back(patched(keyCount, 16));   // more keys than the bytes hold

    for (size_t i = 0; i < bad.size(); ++i) {
        Rec().Clear();
        ModelRec().Clear();
        Effect_EraseAllData();
        QVL::EFFECT open = Fixture_Effect();
        open.frameCount = 77;
        g_EffectData.push_back(open);
        std::string path = dir + "\\d.qve";
        ASSERT_TRUE(QVL::File_WriteAll(path.c_str(), bad[i].data(), bad[i].size()));
        EXPECT_EQ(-1, QVE_Load(0, dir.c_str(), "d.qve")) << i;
        ASSERT_EQ(1u, Rec().messageBoxes.size()) << i;
        EXPECT_NE(std::string::npos, Rec().messageBoxes[0].find("QVE形式のファイルが壊れているので")) << i;
        EXPECT_EQ(77, g_EffectData[0].frameCount);
        EXPECT_EQ(3u, g_EffectData[0].parts.size());
        EXPECT_EQ(Bytes(open), Bytes(g_EffectData[0]));
        EXPECT_TRUE(ModelRec().textures.empty());
    }
}

TEST_F(QveFile, FrameCountFromAFileIsAtLeastOne)
{
    struct Case { int32_t stored, loaded; } cases[] = {{0, 1}, {-20, 1}, {1, 1}, {600, 600}, {2000000000, QVL::kEffectMaxFrames}};
    for (const Case& c : cases) {
        QVL::EFFECT e = Fixture_Effect();
        e.frameCount = c.stored;
        std::vector<uint8_t> b = Bytes(e);
        QVL::EFFECT got;
        Effect_InitData(got);
        ASSERT_EQ(QVL::RECORD_OK, QVE_Parse(b.data(), b.size(), got));
        EXPECT_EQ(c.loaded, got.frameCount) << c.stored;
    }
}

TEST_F(QveFile, ASaveThatCannotBeWrittenSaysSoAndKeepsTheOldFile)
{
    QVL::EFFECT e = Fixture_Effect();
    std::string missing = dir + "/no/such/folder";
    EXPECT_FALSE(Effect_Save(&e, missing.c_str(), "x.qve"));
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_NE(std::string::npos, Rec().messageBoxes[0].find("に書き込むことができませんでした。"));

    // The file is replaced in one step: a save over an existing file leaves no temporary behind.
    std::string path = Save(e, "keep.qve");
    e.frameCount = 5;
    Save(e, "keep.qve");
    std::vector<uint8_t> have;
    ASSERT_TRUE(QVL::File_ReadAll(path.c_str(), have));
    EXPECT_EQ(Bytes(e), have);
    EXPECT_FALSE(Svc_FileExists((path + ".tmp").c_str()));
}

TEST_F(QveFile, LoadedPartsFollowThoseAlreadyThere)
{
    QVL::EFFECT e = Fixture_Effect();
    std::vector<uint8_t> b = Bytes(e);
    QVL::EFFECT got;
    Effect_InitData(got);
    Effect_PartCreate(&got);
    ASSERT_EQ(QVL::RECORD_OK, QVE_Parse(b.data(), b.size(), got));
    ASSERT_EQ(4u, got.parts.size());
    EXPECT_STREQ("", got.parts[0].name);
    EXPECT_STREQ("イメージ", got.parts[1].name);
}

TEST_F(QveFile, NamesTooLongForTheirFieldsAreNotCut)
{
    // Cut to its 255 bytes, this folder would name another place where the file could be written.
    std::string cut = dir + "/" + std::string(255 - dir.size() - 1, 'a');
    ASSERT_EQ(255u, cut.size());
    std::string longFolder = cut + "/more";
    QVL::EFFECT e = Fixture_Effect();
    EXPECT_FALSE(Effect_Save(&e, longFolder.c_str(), "x.qve"));
    EXPECT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_FALSE(Svc_FileExists((cut + "\\x.qve").c_str()));
    // Loading the same name reads nothing, even when the cut path names a file.
    ASSERT_TRUE(Effect_Save(&e, cut.c_str(), "x.qve"));
    int32_t id = Effect_DataCreate();
    EXPECT_EQ(-1, QVE_Load(id, longFolder.c_str(), "x.qve"));
    EXPECT_TRUE(g_EffectData[(size_t)id].parts.empty());
    EXPECT_EQ(-1, Obj2_Load(longFolder.c_str(), "x.qve"));
    EXPECT_EQ(1u, Rec().messageBoxes.size());   // neither read the file the cut path names
}

// The reader takes at most 256 parts and 1024 pictures, so no more can be added: an effect built up
// to the limits saves and opens again, and one more of either is refused where it is added.
TEST_F(QveFile, AnEffectAtThePartAndTextureLimitsOpensAgain)
{
    QVL::EFFECT e;
    Effect_InitData(e);
    for (int32_t i = 0; i < QVL::kEffectMaxParts; ++i) {
        ASSERT_EQ(i, Effect_PartCreate(&e));
        e.parts.back().kind = QVL::EFFECT_PART_EMITTER;
        Str_Format(e.parts.back().name, sizeof e.parts.back().name, "p%d", i);
    }
    for (int32_t i = 0; i < QVL::kEffectMaxTextures; ++i) {
        char name[32];
        Str_Format(name, sizeof name, "t%d.bmp", i);
        ASSERT_EQ(i, Effect_AddTexture(&e, "img", name));
    }
    EXPECT_TRUE(Rec().messageBoxes.empty());

    EXPECT_EQ(-1, Effect_PartCreate(&e));
    EXPECT_EQ(-1, Effect_AddTexture(&e, "img", "more.bmp"));
    EXPECT_EQ((size_t)QVL::kEffectMaxParts, e.parts.size());
    EXPECT_EQ((size_t)QVL::kEffectMaxTextures, e.textures.size());
    const std::vector<std::string> refused = {"これ以上パーツを、追加できません。", "これ以上テクスチャを、追加できません。"};
    EXPECT_EQ(refused, Rec().messageBoxes);

    Save(e, "full.qve");
    Rec().Clear();
    ModelRec().Clear();
    int32_t id = Effect_DataCreate();
    ASSERT_EQ(id, QVE_Load(id, dir.c_str(), "full.qve"));
    EXPECT_TRUE(Rec().messageBoxes.empty());
    const QVL::EFFECT* got = Effect_GetData(id);
    ASSERT_EQ((size_t)QVL::kEffectMaxParts, got->parts.size());
    ASSERT_EQ((size_t)QVL::kEffectMaxTextures, got->textures.size());
    EXPECT_STREQ("p255", got->parts[255].name);
    EXPECT_STREQ("img", got->textures[1023].folder);
    EXPECT_STREQ("t1023.bmp", got->textures[1023].file);
    EXPECT_EQ("DATA\\img\\t1023.bmp", ModelRec().textures.back());
}
