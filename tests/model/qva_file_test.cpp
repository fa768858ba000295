#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/bytes.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/obj2.h"
#include "support/effect_fixtures.h"
#include "support/model_recorder.h"
#include "support/recorder.h"

using QVL::ByteWriter;

namespace {

class QvaFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        Obj2_ReleaseAll();
        Rec().Clear();
        ModelRec().Clear();
        dir = Rec_TempDir();
    }
    std::string dir;

    std::string WriteFile(const char* name, const std::vector<uint8_t>& bytes)
    {
        std::string path = dir + "\\" + name;
        EXPECT_TRUE(QVL::File_WriteAll(path.c_str(), bytes.data(), bytes.size()));
        return path;
    }
};

std::vector<uint8_t> Bytes(const QVL::OBJ2& rec)
{
    std::vector<uint8_t> out;
    Qva_Write(rec, out);
    return out;
}

bool SameKeys(const std::vector<QVL::OBJ2_KEY>& a, const std::vector<QVL::OBJ2_KEY>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0);
}

} // namespace

TEST_F(QvaFile, SaveAndLoadKeepEveryField)
{
    std::unique_ptr<QVL::OBJ2> src = Fixture_Obj2();
    std::string path = dir + "\\a.QVA";
    ASSERT_TRUE(Obj2_Save(src.get(), path.c_str()));
    int32_t id = Obj2_Load(dir.c_str(), "a.QVA");
    ASSERT_EQ(0, id);
    const QVL::OBJ2* got = Obj2_GetById(id);
    EXPECT_TRUE(Rec().messageBoxes.empty());
    EXPECT_EQ(2004050, got->version);
    EXPECT_EQ(path, got->path);
    EXPECT_STREQ(dir.c_str(), got->folder);
    EXPECT_STREQ("a.QVA", got->file);
    ASSERT_EQ(2, got->imageCount);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(dir + "\\" + src->imageNames[i], got->imageNames[i]);   // the joined path
        EXPECT_EQ(src->pivotX[i], got->pivotX[i]);
        EXPECT_EQ(src->pivotY[i], got->pivotY[i]);
        EXPECT_EQ(32, Obj2_GetImageWidth(id, i));
    }
    EXPECT_EQ(dir + "\\fire.bmp", ModelRec().textures[0]);
    ASSERT_EQ(2u, got->motions.size());
    for (size_t m = 0; m < 2; ++m) {
        EXPECT_STREQ(src->motions[m].name, got->motions[m].name);
        EXPECT_EQ(src->motions[m].length, got->motions[m].length);
        EXPECT_EQ(1, got->motions[m].loop);   // not stored: the default
    }
    ASSERT_EQ(3, got->partCount);
    for (int32_t p = 1; p < 3; ++p) {
        EXPECT_STREQ(src->partNames[p], got->partNames[p]);
        EXPECT_EQ(src->parents[p], got->parents[p]);
        for (size_t m = 0; m < 2; ++m)
            EXPECT_TRUE(SameKeys(src->parts[p].keyLists[m].keys, got->parts[p].keyLists[m].keys)) << p << "/" << m;
    }
    // The same file twice gives two objects with consecutive IDs.
    EXPECT_EQ(1, Obj2_Load(dir.c_str(), "a.QVA"));
    EXPECT_EQ(nullptr, Obj2_GetById(-1));
    EXPECT_EQ(nullptr, Obj2_GetById(2));
}

// Each pivot block holds as many values as the image name has bytes, running on past the pivot
// arrays; the reader keeps what lands in them and the writer writes what always stood there.
TEST_F(QvaFile, PivotBlocksRunOnButOnlyTheArraysAreKept)
{
    std::unique_ptr<QVL::OBJ2> rec = Obj2_NewRecord();
    rec->imageCount = 32;
    for (int i = 0; i < 32; ++i) {
        Str_CopyN(rec->imageNames[i], 256, "a");
        rec->pivotX[i] = 100 + i;
        rec->pivotY[i] = 200 + i;
    }
    Str_CopyN(rec->imageNames[31], 256, "abcde");   // 5 values from entry 31 on
    Str_CopyN(rec->imageNames[29], 256, "ab");      // its second value is pivot 30...
    Str_CopyN(rec->imageNames[30], 256, "");        // ...which this image keeps
    rec->partCount = 4;
    std::vector<uint8_t> b = Bytes(*rec);

    // Image 31's blocks: pivot x 31, then pivot y 0..3; pivot y 31, then the part count and parents 0..2.
    size_t at = 3 + 4 + 4;
    for (int k = 0; k < 31; ++k) {
        int32_t len;
        std::memcpy(&len, b.data() + at, 4);
        at += 4 + (size_t)len * 9;
    }
    int32_t n;
    std::memcpy(&n, b.data() + at, 4);
    ASSERT_EQ(5, n);
    at += 4 + 5;
    const int32_t wantX[] = {131, 200, 201, 202, 203};
    const int32_t wantY[] = {231, 4, 0, 0, 0};
    for (int i = 0; i < 5; ++i) {
        int32_t v;
        std::memcpy(&v, b.data() + at + 4 * i, 4);
        EXPECT_EQ(wantX[i], v) << i;
        std::memcpy(&v, b.data() + at + 20 + 4 * i, 4);
        EXPECT_EQ(wantY[i], v) << i;
    }

    std::unique_ptr<QVL::OBJ2> got = Obj2_NewRecord();
    ASSERT_EQ(QVL::RECORD_OK, Qva_Parse(b.data(), b.size(), *got));
    for (int i = 0; i < 32; ++i) {
        if (i == 30) continue;
        EXPECT_EQ(100 + i, got->pivotX[i]) << i;
        EXPECT_EQ(200 + i, got->pivotY[i]) << i;
    }
    EXPECT_EQ(130, got->pivotX[30]);   // the second value of image 29's block
    EXPECT_EQ(230, got->pivotY[30]);
    EXPECT_EQ(4, got->partCount);
    EXPECT_EQ(0, got->parents[0]);
    EXPECT_EQ(Bytes(*got), b);
}

// A QVA of one image, one motion and one keyed part, written by hand. Each pivot block holds one
// value per name byte: the image's pivot, then the zeros of the pivot entries after it (the name is
// kept below 32 bytes).
std::vector<uint8_t> HandQva(const std::string& imageName)
{
    ByteWriter w;
    w.Bytes("QVA", 3);
    w.I32(2004050);
    w.I32(1);
    w.I32((int32_t)imageName.size());
    w.Bytes(imageName.data(), imageName.size());
    for (size_t k = 0; k < imageName.size(); ++k) w.I32(k == 0 ? 12 : 0);
    for (size_t k = 0; k < imageName.size(); ++k) w.I32(k == 0 ? 34 : 0);
    w.I32(1);   // motions
    w.I32(1);
    w.I32(4);
    w.Bytes("walk", 4);
    w.I32(30);
    w.I32(2);   // parts: part 1 only is stored
    w.I32(1);
    w.I32(3);
    w.Bytes("arm", 3);
    w.I32(0);
    w.I32(1);   // one key in motion 0
    for (int32_t v : {5, 1}) w.I32(v);
    for (float v : {1.5f, -2.0f, 45.0f, 1.0f, 0.5f}) w.F32(v);
    for (int32_t v : {0, 255, 128, 64, 200}) w.I32(v);
    return w.Data();
}

// Loading names each image by its joined path, and a save writes that name (and pivot blocks of its
// length) back.
TEST_F(QvaFile, LoadedImagesAreNamedByTheJoinedPathWhichASaveWrites)
{
    char cwd[1024];
    ASSERT_TRUE(Svc_GetCurrentDirectory(cwd, sizeof cwd));
    ASSERT_TRUE(Svc_SetCurrentDirectory(dir.c_str()));
    // A short folder, relative to the current directory, keeps the joined name below 32 bytes.
    const std::vector<uint8_t> file = HandQva("a.bmp");
    ASSERT_TRUE(QVL::File_WriteAll("q\\h.QVA", file.data(), file.size()));
    int32_t id = Obj2_Load("q", "h.QVA");
    ASSERT_EQ(0, id);
    ASSERT_TRUE(Obj2_Save(Obj2_GetById(id), "q\\saved.QVA"));
    std::vector<uint8_t> saved;
    ASSERT_TRUE(QVL::File_ReadAll("q\\saved.QVA", saved));
    Svc_SetCurrentDirectory(cwd);

    EXPECT_TRUE(Rec().messageBoxes.empty());
    ASSERT_EQ(1u, ModelRec().textures.size());
    EXPECT_EQ("q\\a.bmp", ModelRec().textures[0]);
    EXPECT_STREQ("q\\a.bmp", Obj2_GetById(id)->imageNames[0]);
    EXPECT_EQ(HandQva("q\\a.bmp"), saved);

    // The saved object opens again with its pictures where they are, not under q\q.
    ASSERT_TRUE(Svc_SetCurrentDirectory(dir.c_str()));
    int32_t again = Obj2_Load("q", "saved.QVA");
    Svc_SetCurrentDirectory(cwd);
    ASSERT_EQ(1, again);
    ASSERT_EQ(2u, ModelRec().textures.size());
    EXPECT_EQ("q\\a.bmp", ModelRec().textures[1]);
    EXPECT_STREQ("q\\a.bmp", Obj2_GetById(again)->imageNames[0]);
}

// The image's pixel copy: every texel lands on the pixel its position scales to in the image's own
// size, as 0xAABBGGRR.
TEST_F(QvaFile, ImagePixelCopyStretchesTheTextureToTheImageSize)
{
    int32_t id = Obj2_Create();
    Obj2_LoadImage(id, 0, "a.bmp");   // the native slots answer 32 x 32
    Obj2_LoadImage(id, 1, "b.bmp");
    ModelRec().texels = {0x10, 0x20, 0x30, 0x40, 0x11, 0x21, 0x31, 0x41,    // B, G, R, A
                    0x12, 0x22, 0x32, 0x42, 0x13, 0x23, 0x33, 0x43};
    ModelRec().texelWidth = ModelRec().texelHeight = 2;
    Obj2_CopyImagePixels(id, 0);
    ASSERT_NE(nullptr, g_Obj2Pixels.pixels);
    EXPECT_EQ(32, g_Obj2Pixels.width);
    struct Case { int32_t index; uint32_t pixel; };
    const Case cases[] = {
        {0, 0x40102030u}, {16, 0x41112131u}, {16 * 32, 0x42122232u}, {16 * 32 + 16, 0x43132333u},
        {1, 0u}, {31 * 32 + 31, 0u}, {-1, 0u}, {32 * 32, 0u},
    };
    for (const Case& c : cases) EXPECT_EQ(c.pixel, Obj2_GetLockedPixel(c.index)) << c.index;

    Obj2_CopyImagePixels(id, 32);   // beyond the images: the copy stays
    EXPECT_EQ(0x40102030u, Obj2_GetLockedPixel(0));
    Obj2_CopyImagePixels(id, 2);    // no such image: no copy
    EXPECT_EQ(nullptr, g_Obj2Pixels.pixels);
    EXPECT_EQ(0u, Obj2_GetLockedPixel(0));
    ModelRec().texels.clear();           // a texture that cannot be read
    Obj2_CopyImagePixels(id, 1);
    EXPECT_EQ(0u, Obj2_GetLockedPixel(0));
}

TEST_F(QvaFile, Version2004000HasNoPartNamesAndCentresPivots)
{
    WriteFile("old.QVA", Fixture_Qva2004000());
    int32_t id = Obj2_Load(dir.c_str(), "old.QVA");
    ASSERT_EQ(0, id);
    const QVL::OBJ2* rec = Obj2_GetById(id);
    EXPECT_EQ(2004000, rec->version);
    EXPECT_EQ(dir + "\\a.b", rec->imageNames[0]);
    EXPECT_EQ(16, rec->pivotX[0]);   // half the image size replaces the stored pivot
    EXPECT_EQ(16, rec->pivotY[0]);
    EXPECT_STREQ("走る", rec->motions[0].name);
    EXPECT_EQ(45, rec->motions[0].length);
    EXPECT_EQ(3, rec->partCount);
    EXPECT_EQ(1, rec->parents[2]);
    EXPECT_STREQ("", rec->partNames[1]);
    ASSERT_EQ(2u, rec->parts[2].keyLists[0].keys.size());
    EXPECT_EQ(20, rec->parts[2].keyLists[0].keys[1].frame);
    EXPECT_EQ(4.0f, rec->parts[2].keyLists[0].keys[1].x);
}

TEST_F(QvaFile, Version2003000HasOnePartAndImageNumbersFromOne)
{
    const int32_t keys[][2] = {{0, 0}, {10, 1}, {20, 2}};
    WriteFile("v3.QVA", Fixture_Qva2003000());
    int32_t id = Obj2_Load(dir.c_str(), "v3.QVA");
    ASSERT_EQ(0, id);
    const QVL::OBJ2* rec = Obj2_GetById(id);
    EXPECT_EQ(2, rec->imageCount);
    EXPECT_EQ(dir + "\\p.bmp", rec->imageNames[0]);
    EXPECT_EQ(dir + "\\q.bmp", rec->imageNames[1]);
    EXPECT_EQ(16, rec->pivotX[1]);
    ASSERT_EQ(1u, rec->motions.size());
    EXPECT_STREQ("モーション名", rec->motions[0].name);
    EXPECT_EQ(40, rec->motions[0].length);
    EXPECT_EQ(2, rec->partCount);
    EXPECT_EQ(0, rec->parents[1]);
    const std::vector<QVL::OBJ2_KEY>& k = rec->parts[1].keyLists[0].keys;
    ASSERT_EQ(3u, k.size());
    const int32_t images[] = {0, 0, 1};   // numbers above 0 are reduced by one
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(keys[i][0], k[(size_t)i].frame);
        EXPECT_EQ(images[i], k[(size_t)i].image);
        EXPECT_EQ(1, k[(size_t)i].shown);
        EXPECT_EQ(1.0f, k[(size_t)i].scaleX);
        EXPECT_EQ(255, k[(size_t)i].a);
    }
}

TEST_F(QvaFile, MagicAndVersionsAreCheckedWithTheirMessages)
{
    struct Case { const char* magic; int32_t version; const char* message; } cases[] = {
        {"QVB", 2004050, " は、QVA形式ではありません。"},
        {"QVA", 2002999, "QVA形式のバージョンが古いので"},
        {"QVA", 2004051, "QVA形式のバージョンが新しいので"},
        {"QVA", 2003500, "QVA形式のバージョンが古いので"},   // between two readable versions
        {"QVA", 2004001, "QVA形式のバージョンが古いので"},
    };
    for (const Case& c : cases) {
        Rec().Clear();
        ModelRec().Clear();
        std::vector<uint8_t> b = Bytes(*Fixture_Obj2());
        std::memcpy(b.data(), c.magic, 3);
        std::memcpy(b.data() + 3, &c.version, 4);
        WriteFile("m.QVA", b);
        int32_t before = Obj2_Count();
        EXPECT_EQ(-1, Obj2_Load(dir.c_str(), "m.QVA")) << c.version;
        ASSERT_EQ(1u, Rec().messageBoxes.size());
        EXPECT_NE(std::string::npos, Rec().messageBoxes[0].find(c.message)) << c.version;
        // The object made for the attempt stays, with its defaults.
        ASSERT_EQ(before + 1, Obj2_Count());
        EXPECT_EQ(2, Obj2_GetById(before)->partCount);
        EXPECT_EQ(0, Obj2_GetById(before)->imageCount);
    }
    Rec().Clear();
    ModelRec().Clear();
    EXPECT_EQ(-1, Obj2_Load(dir.c_str(), "none.QVA"));
    EXPECT_TRUE(Rec().messageBoxes.empty());
}

TEST_F(QvaFile, DamagedFilesGiveAMessageAndADefaultObject)
{
    const std::vector<uint8_t> good = Bytes(*Fixture_Obj2());
    std::vector<std::vector<uint8_t>> bad;
    for (size_t n = 7; n < good.size(); ++n) bad.emplace_back(good.begin(), good.begin() + (ptrdiff_t)n);
    auto patched = [&](size_t at, int32_t v) {
        std::vector<uint8_t> b = good;
        std::memcpy(b.data() + at, &v, 4);
        return b;
    };
    bad.push_back(patched(7, 33));     // image count over 32
    bad.push_back(patched(7, -1));
    bad.push_back(patched(11, 256));   // name length beyond the field
    bad.push_back(patched(11, 5000));
    const size_t motions = 7 + 4 + (4 + 8 + 64) + (4 + 8 + 64);   // two images named with 8 bytes
    int32_t m = 0;
    std::memcpy(&m, good.data() + motions, 4);
    ASSERT_EQ(2, m);
    bad.push_back(patched(motions, 101));   // more motions than key lists
    const size_t parts = motions + 4 + (4 + 4 + 12 + 4) + (4 + 4 + 4 + 4);   // "モーション名" is 12 bytes, "二番" 4
    int32_t pc = 0;
    std::memcpy(&pc, good.data() + parts, 4);
    ASSERT_EQ(3, pc);
    bad.push_back(patched(parts, 33));
    bad.push_back(patched(parts, -2));
    bad.push_back(patched(parts + 4 + 4 + 4 + 2, 32));   // parent of part 1 outside the parts
    for (size_t i = 0; i < bad.size(); ++i) {
        Rec().Clear();
        ModelRec().Clear();
        WriteFile("d.QVA", bad[i]);
        int32_t id = Obj2_Count();
        EXPECT_EQ(-1, Obj2_Load(dir.c_str(), "d.QVA")) << i;
        ASSERT_EQ(1u, Rec().messageBoxes.size()) << i;
        EXPECT_NE(std::string::npos, Rec().messageBoxes[0].find("QVA形式のファイルが壊れているので")) << i;
        const QVL::OBJ2* rec = Obj2_GetById(id);
        EXPECT_EQ(0, rec->imageCount);
        EXPECT_EQ(1u, rec->motions.size());
        EXPECT_TRUE(ModelRec().textures.empty());
    }
}

// Key lists exist for parts 0..7 only: keys of higher parts are read past and written as none.
TEST_F(QvaFile, PartsBeyondTheKeyedOnesDropTheirKeys)
{
    std::unique_ptr<QVL::OBJ2> rec = Obj2_NewRecord();
    rec->partCount = 12;
    for (int32_t p = 1; p < 12; ++p) Str_CopyN(rec->partNames[p], 256, std::to_string(p).c_str());
    std::vector<uint8_t> b = Bytes(*rec);
    std::unique_ptr<QVL::OBJ2> got = Obj2_NewRecord();
    ASSERT_EQ(QVL::RECORD_OK, Qva_Parse(b.data(), b.size(), *got));
    EXPECT_EQ(12, got->partCount);
    EXPECT_TRUE(got->parts[9].keyLists.empty());
    EXPECT_STREQ("11", got->partNames[11]);

    // By hand: part 9 of ten carries two keys.
    ByteWriter w;
    w.Bytes("QVA", 3);
    w.I32(2004050);
    w.I32(0);
    w.I32(1);
    w.I32(1);
    w.Str("m");
    w.I32(60);
    w.I32(10);
    for (int32_t p = 1; p < 10; ++p) {
        w.I32(1);
        w.Str("x");
        w.I32(0);
        w.I32(p == 9 ? 2 : 1);
        Fixture_Obj2Key48(w, Fixture_Obj2Key(0, (float)p));
        if (p == 9) Fixture_Obj2Key48(w, Fixture_Obj2Key(5, 3.0f));
    }
    std::unique_ptr<QVL::OBJ2> hand = Obj2_NewRecord();
    ASSERT_EQ(QVL::RECORD_OK, Qva_Parse(w.Data().data(), w.Size(), *hand));
    EXPECT_EQ(7.0f, hand->parts[7].keyLists[0].keys[0].x);
    EXPECT_TRUE(hand->parts[9].keyLists.empty());
    std::vector<uint8_t> again = Bytes(*hand);
    std::unique_ptr<QVL::OBJ2> back = Obj2_NewRecord();
    ASSERT_EQ(QVL::RECORD_OK, Qva_Parse(again.data(), again.size(), *back));
    EXPECT_EQ(10, back->partCount);
}

TEST_F(QvaFile, SaveThatCannotBeWrittenSaysSo)
{
    std::unique_ptr<QVL::OBJ2> rec = Fixture_Obj2();
    std::string path = dir + "/no/such/x.QVA";
    EXPECT_FALSE(Obj2_Save(rec.get(), path.c_str()));
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_NE(std::string::npos, Rec().messageBoxes[0].find("に書き込むことができませんでした。"));
}
