// QVO 3D objects: the size of a fresh file from its layout, round trips of every field, files of
// other versions made by hand, damaged files that must leave the open object alone, saving, and the
// object's key search, part deletion and poses.
#include <cstring>

#include "frame/bytes.h"
#include "frame/text.h"
#include "model/model_expect.h"
#include "model/obj3.h"
#include "model/qvp_file.h"
#include "support/qvp_fixtures.h"

namespace {

class Qvo : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        Obj3_ReleaseAll();
    }
    void TearDown() override
    {
        Obj3_ReleaseAll();
        ModelTest::TearDown();
    }
    static void Fresh(int32_t row)
    {
        for (int32_t p = 0; p < kObj3Parts; ++p) Obj3_InitPart(row, p);
    }
    static bool Says(const char* part)
    {
        for (const std::string& s : Rec().messageBoxes)
            if (s.find(part) != std::string::npos) return true;
        return false;
    }
};

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::vector<uint8_t> b;
    File_ReadAll(path.c_str(), b);
    return b;
}

// The header of a QVO file by hand: magic, version, then what the caller appends.
ByteWriter Header(int32_t version)
{
    ByteWriter w;
    w.Bytes("QVO", 3);
    w.I32(version);
    return w;
}

TEST_F(Qvo, FreshFileIs47Bytes)
{
    Fresh(0);
    const std::string path = Rec_TempDir() + "/fresh.qvo";
    ASSERT_TRUE(Obj3_Save(0, path.c_str()));
    // magic 3 + version 4 + M 4 = 11; motion 0: used 4 + name (4 + "モーション名", 6 two-byte
    // characters = 12) + length 4 + K 4 + one key frame 4 = 32; P 4 (no part stored): 11 + 32 + 4.
    EXPECT_EQ(3u + 4 + 4 + (4 + (4 + 12) + 4 + 4 + 4) + 4, FileBytes(path).size());
    EXPECT_EQ(47u, FileBytes(path).size());
}

TEST_F(Qvo, EveryFieldRoundTrips)
{
    std::unique_ptr<OBJ3> a(Obj3_NewRecord());
    int32_t flags[kObj3Parts] = {};
    a->motionCount = 3;
    a->motions[0] = OBJ3_MOTION{1, 0, "歩く", 40, 3, {0, 10, 25}};
    a->motions[1].used = 0;   // not stored: its key count stays the reader's own (1)
    a->motions[2] = OBJ3_MOTION{1, 0, "run", 12, 16, {}};
    for (int k = 0; k < 16; ++k) a->motions[2].keyFrames[k] = k * 3 - 1;
    a->partCount = 4;
    flags[1] = 1;
    flags[2] = 0;   // a part slot left empty
    flags[3] = 1;
    for (int32_t p : {1, 3}) {
        for (int k = 0; k < 3; ++k) a->pivots[p][k] = 0.5f * p + k;
        Str_Format(a->parts[p].file, sizeof a->parts[p].file, "部品%d.QVP", p);
        a->parts[p].parent = p - 1;
        a->parts[p].reserved = 77 + p;
        for (int32_t m = 0; m < 3; ++m)
            for (int32_t k = 0; k < 16; ++k) {
                OBJ3_KEY* key = Obj3_Key(a.get(), p, m, k);
                for (int c = 0; c < 3; ++c) key->position[c] = (float)(p * 1000 + m * 100 + k * 10 + c);
                key->rotation[0] = -0.0f;
                key->rotation[3] = (float)k;
                key->scale[2] = 1.0f / (float)(k + 1);
            }
    }
    std::vector<uint8_t> bytes;
    Qvo_Write(*a, flags, bytes);
    std::unique_ptr<OBJ3> b(Obj3_NewRecord());
    int32_t readFlags[kObj3Parts] = {};
    ASSERT_EQ(QVL::RECORD_OK, Qvo_Parse(bytes.data(), bytes.size(), *b, readFlags));
    EXPECT_EQ(kObj3Version, b->version);
    EXPECT_EQ(3, b->motionCount);
    EXPECT_EQ(4, b->partCount);
    for (int32_t m : {0, 2}) {
        EXPECT_STREQ(a->motions[m].name, b->motions[m].name);
        EXPECT_EQ(a->motions[m].length, b->motions[m].length);
        EXPECT_EQ(a->motions[m].keyCount, b->motions[m].keyCount);
        EXPECT_EQ(0, std::memcmp(a->motions[m].keyFrames, b->motions[m].keyFrames, sizeof(int32_t) * a->motions[m].keyCount));
    }
    EXPECT_EQ(0, b->motions[1].used);
    for (int32_t p = 1; p < 4; ++p) EXPECT_EQ(flags[p], readFlags[p]) << p;
    for (int32_t p : {1, 3}) {
        ExpectFloats(a->pivots[p], b->pivots[p], 3, "pivot");
        EXPECT_STREQ(a->parts[p].file, b->parts[p].file);
        EXPECT_EQ(a->parts[p].parent, b->parts[p].parent);
        EXPECT_EQ(a->parts[p].reserved, b->parts[p].reserved);
        for (int32_t m = 0; m < 3; ++m)
            for (int32_t k = 0; k < b->motions[m].keyCount; ++k)
                ExpectFloats(reinterpret_cast<const float*>(Obj3_Key(a.get(), p, m, k)),
                             reinterpret_cast<const float*>(Obj3_Key(b.get(), p, m, k)), 10, "key");
    }
    // And the writer gives the same bytes again.
    std::vector<uint8_t> again;
    Qvo_Write(*b, readFlags, again);
    EXPECT_EQ(bytes, again);
}

TEST_F(Qvo, FileEndingWithAnEmptyPartSlotReads)
{
    // P counts part 0, which is not stored: two parts are one flag, the file's last four bytes.
    std::unique_ptr<OBJ3> a(Obj3_NewRecord());
    a->partCount = 2;
    int32_t flags[kObj3Parts] = {0, 65536};
    std::vector<uint8_t> bytes;
    Qvo_Write(*a, flags, bytes);
    EXPECT_EQ(47u + 4, bytes.size());
    std::unique_ptr<OBJ3> b(Obj3_NewRecord());
    int32_t readFlags[kObj3Parts] = {};
    ASSERT_EQ(QVL::RECORD_OK, Qvo_Parse(bytes.data(), bytes.size(), *b, readFlags));
    EXPECT_EQ(65536, readFlags[1]);
    EXPECT_EQ(QVL::RECORD_DAMAGED, Qvo_Parse(bytes.data(), bytes.size() - 1, *b, readFlags));
}

TEST_F(Qvo, LoadReadsPartsFromTheirQvpFiles)
{
    const std::string dir = Rec_TempDir();
    // Part 1 from the studio's own writer, part 2 from a hand-made file of an older layout, part 3
    // of a development version that is not read.
    MODEL3* part = NewRecord();
    MakeCube(part);
    const std::string p1 = dir + "/cube.qvp";
    ASSERT_TRUE(Model3_SaveQvp(part, p1.c_str()));
    Model3_Free(part);
    const std::string p2 = WriteTempFile("old.qvp", QvpFixture(2004002));
    QvpFixtureOptions dev;
    dev.version = 2004001;
    const std::string p3 = WriteTempFile("dev.qvp", QvpFixture(2004002, dev));

    Fresh(0);
    OBJ3* o = g_Obj3Table[0];
    o->partCount = 4;
    const std::string names[3] = {p1, p2, p3};
    for (int32_t p = 1; p < 4; ++p) {
        g_Obj3Flags[0][p] = 1;
        Str_CopyN(o->parts[p].file, sizeof o->parts[p].file, names[p - 1].c_str());
    }
    const std::string path = dir + "/three.qvo";
    ASSERT_TRUE(Obj3_Save(0, path.c_str()));
    Obj3_ReleaseAll();
    Rec().Clear();

    ASSERT_TRUE(Obj3_Load(0, path.c_str()));
    o = g_Obj3Table[0];
    EXPECT_EQ(1, g_Obj3Flags[0][0]);
    EXPECT_STREQ(path.c_str(), o->parts[0].file);
    EXPECT_EQ(1, g_Obj3Flags[0][1]);
    EXPECT_EQ(24, g_Obj3PartModels[0][1]->positionCount);
    EXPECT_EQ(1, g_Obj3Flags[0][2]);
    EXPECT_EQ(3, g_Obj3PartModels[0][2]->positionCount);
    EXPECT_EQ(0, g_Obj3Flags[0][3]);
    EXPECT_EQ(0, g_Obj3PartModels[0][3]->positionCount);
    EXPECT_TRUE(Says("2004.001"));
    EXPECT_EQ(4, o->partCount);
}

// Every kind of part file version: read, refused with one of three messages, or (a version between
// the supported ones) an empty part that still counts as loaded.
TEST_F(Qvo, PartModelVersionsTable)
{
    struct Case {
        int32_t version;
        bool loaded;
        int32_t positions;
        const char* says;   // nullptr: no message
    } cases[] = {
        {2004002, true, 3, nullptr},
        {2009000, true, 3, nullptr},
        {2003029, false, 0, "QVP形式のバージョンが古いので\n読み込むことができません。\n\n"},
        {0, false, 0, "QVP形式のバージョンが古いので"},   // a file that does not open reads as version 0
        {2004000, false, 0, "( Ver 2004.000 )\nこのバージョンは、開発中のバージョンのため\n対応していません。"},
        {2004001, false, 0, "( Ver 2004.001 )"},
        {2009001, false, 0, "QVP形式のバージョンが新しいので\n読み込むことができません。\n最新版へバージョンアップして下さい。"},
        {2003030, true, 0, nullptr},
        {2007000, true, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        QvpFixtureOptions opt;
        opt.version = c.version;
        const int32_t layout = c.version == 2009000 ? 2009000 : 2004002;
        const std::string path =
            c.version == 0 ? Rec_TempDir() + "/none.qvp" : WriteTempFile("part.qvp", QvpFixture(layout, opt));
        Fresh(0);
        Rec().Clear();
        EXPECT_EQ(c.loaded, Obj3_LoadPartModel(0, 1, path.c_str()));
        EXPECT_EQ(c.loaded ? 1 : 0, g_Obj3Flags[0][1]);
        ASSERT_NE(nullptr, g_Obj3PartModels[0][1]);
        EXPECT_EQ(c.positions, g_Obj3PartModels[0][1]->positionCount);
        if (c.says) {
            ASSERT_EQ(1u, Rec().messageBoxes.size());
            EXPECT_TRUE(Says(c.says)) << Rec().messageBoxes[0];
        } else {
            EXPECT_TRUE(Rec().messageBoxes.empty());
        }
    }
}

TEST_F(Qvo, OtherVersionsAreRefusedWithTheirMessage)
{
    struct Case {
        int32_t version;
        const char* says;
    } cases[] = {{2004999, "古い"}, {2003000, "古い"}, {2005001, "新しい"}, {2009000, "新しい"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        Fresh(0);
        g_Obj3Flags[0][0] = 1;
        g_Obj3Table[0]->motions[0].length = 33;   // the open object
        ByteWriter w = Header(c.version);
        w.I32(0);
        w.I32(0);
        const std::string path = WriteTempFile("v.qvo", w.Data());
        Rec().Clear();
        EXPECT_FALSE(Obj3_Load(0, path.c_str()));
        EXPECT_TRUE(Says(c.says));
        EXPECT_EQ(33, g_Obj3Table[0]->motions[0].length);
        EXPECT_EQ(1, g_Obj3Flags[0][0]);
    }
}

TEST_F(Qvo, DamagedFilesLeaveTheObjectAlone)
{
    // Each case: a file that is whole except for one field.
    auto motion = [](ByteWriter& w, int32_t keys) {
        w.I32(1);
        w.Str("m");
        w.I32(60);
        w.I32(keys);
        for (int k = 0; k < keys && k < 20; ++k) w.I32(k);
    };
    auto part = [](ByteWriter& w, int32_t parent, int32_t nameLength) {
        w.I32(1);
        w.Zeros(12);
        w.I32(nameLength);
        w.Bytes("a.qvp", 5);
        w.I32(parent);
        w.I32(0);
        w.Zeros(40);
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    {
        ByteWriter w = Header(kObj3Version);
        w.I32(101);
        for (int i = 0; i < 101; ++i) motion(w, 1);
        w.I32(1);
        cases.push_back({"101 motions", w.Data()});
    }
    {
        ByteWriter w = Header(kObj3Version);
        w.I32(1);
        motion(w, 17);
        w.I32(1);
        cases.push_back({"17 keys", w.Data()});
    }
    {
        ByteWriter w = Header(kObj3Version);
        w.I32(1);
        motion(w, 1);
        w.I32(33);
        for (int i = 1; i < 33; ++i) w.I32(0);
        cases.push_back({"33 parts", w.Data()});
    }
    {
        ByteWriter w = Header(kObj3Version);
        w.I32(1);
        motion(w, 1);
        w.I32(2);
        part(w, 40, 5);
        cases.push_back({"parent 40", w.Data()});
    }
    {
        ByteWriter w = Header(kObj3Version);
        w.I32(1);
        motion(w, 1);
        w.I32(2);
        part(w, 0, 0x7FFFFFF0);
        cases.push_back({"name longer than the file", w.Data()});
    }
    {
        ByteWriter w = Header(kObj3Version);
        w.I32(-5);
        cases.push_back({"negative motion count", w.Data()});
    }
    {
        ByteWriter w = Header(kObj3Version);
        w.I32(1);
        motion(w, 1);
        w.I32(2);
        part(w, 0, 5);
        std::vector<uint8_t> b = w.Data();
        b.resize(b.size() - 1);
        cases.push_back({"one byte short", b});
    }
    cases.push_back({"header only in part", {'Q', 'V', 'O', 1}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh(0);
        g_Obj3Flags[0][0] = 1;
        g_Obj3Table[0]->motions[0].length = 33;
        const std::string path = WriteTempFile("bad.qvo", c.bytes);
        Rec().Clear();
        EXPECT_FALSE(Obj3_Load(0, path.c_str()));
        EXPECT_TRUE(Says("壊れ"));
        EXPECT_EQ(33, g_Obj3Table[0]->motions[0].length);
        EXPECT_EQ(1, g_Obj3Flags[0][0]);
    }
}

TEST_F(Qvo, SavingWithoutAnObjectOrAPlaceFails)
{
    EXPECT_FALSE(Obj3_Save(0, (Rec_TempDir() + "/none.qvo").c_str()));
    EXPECT_FALSE(Obj3_Save(-1, "x.qvo"));
    EXPECT_FALSE(Obj3_Save(16, "x.qvo"));
    Fresh(2);
    Rec().Clear();
    EXPECT_FALSE(Obj3_Save(2, (Rec_TempDir() + "/no/such/folder/x.qvo").c_str()));
    EXPECT_FALSE(Rec().messageBoxes.empty());
    Rec().Clear();
    EXPECT_FALSE(Obj3_Load(0, ""));
    EXPECT_FALSE(Rec().messageBoxes.empty());
}

TEST_F(Qvo, KeySearchAndPartsMovingBetweenKeys)
{
    Fresh(0);
    g_Obj3Flags[0][0] = 1;
    OBJ3* o = g_Obj3Table[0];
    o->partCount = 2;
    g_Obj3Flags[0][1] = 1;
    o->motions[0].keyCount = 2;
    o->motions[0].keyFrames[1] = 30;
    Obj3_Key(o, 1, 0, 1)->position[0] = 8.0f;
    o->frame = 45;
    Obj3_UpdatePoses();
    EXPECT_EQ(1, o->keyIndex);
    EXPECT_FLOAT_EQ(0.5f, o->keyFraction);
    // From key 1 back towards key 0 (the keys wrap): (0, 8, 0, 8) at 0.5 is 4.
    VEC3 v;
    Obj3_GetPartPosition(&v, 0, 1);
    EXPECT_FLOAT_EQ(4.0f, v.x);
    o->motions[0].keyCount = 1;
    Obj3_UpdateKeyIndex(0);
    EXPECT_EQ(0, o->keyIndex);
    EXPECT_EQ(0.0f, o->keyFraction);
}

TEST_F(Qvo, DeletingAPartMovesTheNextOneDown)
{
    MODEL3* part = NewRecord();
    MakeCube(part);
    const std::string p2 = Rec_TempDir() + "/two.qvp";
    ASSERT_TRUE(Model3_SaveQvp(part, p2.c_str()));
    Model3_Free(part);
    Fresh(0);
    OBJ3* o = g_Obj3Table[0];
    o->partCount = 3;
    Str_CopyN(o->parts[2].file, sizeof o->parts[2].file, p2.c_str());
    o->pivots[2][1] = 6.0f;
    Obj3_Key(o, 2, 0, 0)->scale[0] = 3.0f;
    ASSERT_TRUE(Obj3_DeletePart(o, 1));
    EXPECT_EQ(2, o->partCount);
    EXPECT_STREQ(p2.c_str(), o->parts[1].file);
    EXPECT_EQ(24, g_Obj3PartModels[0][1]->positionCount);
    EXPECT_EQ(6.0f, o->pivots[1][1]);
    EXPECT_EQ(3.0f, Obj3_Key(o, 1, 0, 0)->scale[0]);
    EXPECT_FALSE(Obj3_DeletePart(o, 7));
    EXPECT_FALSE(Obj3_DeletePart(nullptr, 0));
}

} // namespace
