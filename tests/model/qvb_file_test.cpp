// The QVB file: the layout's size, round trips, older versions and damaged files.
#include <cstring>

#include "frame/bytes.h"
#include "model/model2.h"
#include "model/model_expect.h"

namespace {

class QvbFile : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        for (int i = 0; i < kModel2Slots; ++i) Model2_FreeSlot(i);
    }
    void TearDown() override
    {
        for (int i = 0; i < kModel2Slots; ++i) Model2_FreeSlot(i);
        ModelTest::TearDown();
    }
};

MODEL2* Fresh()
{
    g_Lib.allocArrays = 1;
    return Model2_NewRecord();
}

void PutI32(std::vector<uint8_t>& b, size_t at, int32_t v)
{
    std::memcpy(&b[at], &v, 4);
}

// A record with something in every stored field.
MODEL2* Filled()
{
    MODEL2* m = Fresh();
    m->vertexCount = 4;
    m->vertices = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    m->deformed.resize(4);
    m->bindings = {{0, 1, 0.25f, 1}, {1, 0, 1.0f, 1}, {1, 1, 0.5f, 0}, {0, 0, 1.0f, 1}};
    m->colorCount = 2;
    m->colors = {{1, 2, 3, 4}, {255, 128, 0, 255}};
    m->uvCount = 3;
    m->uvs = {{0, 0}, {1, 0}, {0.5f, 1}};
    m->polygonCount = 2;
    m->polygons.assign(2, FACE2{});
    m->polygons[0] = FACE2{1, 3, {{0, 0, 0}, {1, 1, 1}, {2, 0, 2}, {0, 0, 0}}, 0};
    m->polygons[1] = FACE2{1, 4, {{0, 1, 0}, {1, 1, 1}, {2, 1, 2}, {3, 1, 2}}, 1};
    m->textureCount = 2;
    m->textures[1].used = 1;
    std::strcpy(m->textures[1].file, "skin.png");
    m->groupCount = 2;
    m->groups[1].shading = 5;
    m->groups[1].uvMapping = 3;
    m->groups[1].uvOffset[1] = 0.25f;
    m->light = 0;
    m->vertexColorFlag = 1;
    m->motionCount = 3;
    m->motions[1].used = 0;
    m->motions[2].used = 1;
    std::strcpy(m->motions[2].name, "walk");
    m->motions[2].length = 31;
    m->boneCount = 3;
    m->bones[2].parent = 1;
    m->bones[2].restX = 7.5f;
    m->bones[2].restScaleY = 2.0f;
    m->bones[2].keyLists[2].keys = {{0, 1, 2, 3, 4, 5}, {30, -1, -2, -3, -4, -5}};
    m->bones[1].keyLists[1].keys.clear();
    return m;
}

TEST_F(QvbFile, AFreshRecordWrites261BytesAndEachPolygonItsOwnSize)
{
    // 13 header and counts, 2 polygon count, 2 + 4 textures (one unused), 4 + 59 for group
    // "グループ 0" (4 + 10 name, 45 fields), 16 flags, 4 + 24 for motion "モーション名" (4 used,
    // 4 + 12 name, 4 length), 4 bone count, 64 for "親ボーン" (4 + 8 name, 4 parent, 20 rest,
    // 4 + 24 one key) and 65 for "ボーン_01" (4 + 9 name, the rest as bone 0).
    EXPECT_EQ(13 + 2 + 6 + 4 + 59 + 16 + 4 + 24 + 4 + 64 + 65, 261);
    MODEL2* m = Fresh();
    EXPECT_EQ(261u, Model2_Write(m).size());
    EXPECT_EQ(2004000, m->version);
    m->polygons.assign(2, FACE2{1, 3, {}, 0});
    m->polygonCount = 1;
    EXPECT_EQ(261u + 57u, Model2_Write(m).size());
    m->polygons[1].cornerCount = 4;
    m->polygonCount = 2;
    EXPECT_EQ(261u + 57u + 73u, Model2_Write(m).size());
    Model2_Free(m);
}

TEST_F(QvbFile, SaveThenLoadKeepsWhatTheFileCarries)
{
    const std::string path = Rec_TempDir() + "/round.qvb";
    MODEL2* m = Filled();
    m->id = 3;
    g_Model2Table[3] = m;
    ASSERT_TRUE(Model2_Save(3, path.c_str()));
    g_Lib.allocArrays = 1;
    ASSERT_TRUE(Model2_Load(5, path.c_str()));
    const MODEL2* r = g_Model2Table[5];
    EXPECT_EQ(1, g_Model2InUse[5]);
    EXPECT_EQ(1, r->loaded);
    EXPECT_EQ(2004000, r->version);
    EXPECT_EQ(path, r->path);
    ASSERT_EQ(4, r->vertexCount);
    EXPECT_EQ(10.0f, r->vertices[2].y);
    EXPECT_EQ(0.25f, r->bindings[0].weightA);
    EXPECT_EQ(1, r->bindings[2].boneB);
    EXPECT_EQ(0, r->bindings[2].flag);
    EXPECT_EQ(128.0f, r->colors[1].g);
    EXPECT_EQ(0.5f, r->uvs[2].u);
    ASSERT_EQ(2, r->polygonCount);
    EXPECT_EQ(4, r->polygons[1].cornerCount);
    EXPECT_EQ(3, r->polygons[1].corners[3][0]);
    EXPECT_EQ(2, r->polygons[1].corners[3][2]);
    EXPECT_EQ(1, r->polygons[1].group);
    EXPECT_EQ(0, r->polygons[0].corners[3][0]);   // the filler bytes are not corners
    EXPECT_EQ(2, r->textureCount);
    EXPECT_STREQ("skin.png", r->textures[1].file);
    ASSERT_EQ(1u, ModelRec().textures.size());
    EXPECT_EQ("skin.png", ModelRec().textures[0]);
    EXPECT_EQ(2, r->groupCount);
    EXPECT_EQ(5, r->groups[1].shading);
    EXPECT_EQ(3, r->groups[1].uvMapping);
    EXPECT_EQ(0.25f, r->groups[1].uvOffset[1]);
    EXPECT_EQ(0, r->light);
    EXPECT_EQ(1, r->vertexColorFlag);
    EXPECT_EQ(3, r->motionCount);
    EXPECT_STREQ("walk", r->motions[2].name);
    EXPECT_EQ(31, r->motions[2].length);
    EXPECT_EQ(3, r->boneCount);
    EXPECT_EQ(1, r->bones[2].parent);
    EXPECT_EQ(7.5f, r->bones[2].restX);
    EXPECT_EQ(2.0f, r->bones[2].restScaleY);
    ASSERT_EQ(2u, r->bones[2].keyLists[2].keys.size());
    EXPECT_EQ(-4.0f, r->bones[2].keyLists[2].keys[1].scaleX);
    EXPECT_TRUE(r->bones[1].keyLists[1].keys.empty());
    // Written again, the bytes are the same.
    EXPECT_EQ(Model2_Write(g_Model2Table[3]), Model2_Write(g_Model2Table[5]));
}

TEST_F(QvbFile, ARecordWithoutArraysSavesAsAnEmptyModel)
{
    g_Model2Table[0] = Model2_NewRecord();
    g_Model2Table[0]->vertexCount = 12;   // counts without arrays must not be followed
    g_Model2Table[0]->polygonCount = 40;
    const std::string path = Rec_TempDir() + "/bare.qvb";
    ASSERT_TRUE(Model2_Save(0, path.c_str()));
    MODEL2* r = Model2_ReadV2004000(path.c_str());
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(0, r->vertexCount);
    EXPECT_EQ(0, r->polygonCount);
    EXPECT_EQ(0, r->textureCount);
    EXPECT_EQ(2, r->boneCount);
    Model2_Free(r);
    g_Model2Table[0]->polygonCount = 70000;
    g_Model2Table[0]->polygons.resize(70000);
    EXPECT_FALSE(Model2_Save(0, path.c_str()));
}

// Hand-made older files: the version decides what an empty bone name means and what is refused.
TEST_F(QvbFile, VersionsOfTheFile)
{
    struct VersionCase {
        int32_t version;
        bool loads;
        const char* message;   // start of the message box, or null
        const char* bone1;     // name of bone 1 after a load
    };
    const VersionCase cases[] = {
        {2004000, true, nullptr, "ボーン_01"},
        {2004020, true, nullptr, ""},
        {2003999, false, "QVB形式のバージョンが古い", nullptr},
        {2004021, false, "QVB形式のバージョンが新しい", nullptr},
        {2004001, false, "QVB形式のファイルが壊れている", nullptr},
        {2004019, false, "QVB形式のファイルが壊れている", nullptr},
    };
    MODEL2* m = Fresh();
    m->bones[1].name[0] = '\0';
    std::vector<uint8_t> bytes = Model2_Write(m);
    Model2_Free(m);
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.version);
        Rec().Clear();
        ModelRec().Clear();
        PutI32(bytes, 3, c.version);
        const std::string path = WriteTempFile("v.qvb", bytes);
        MODEL2* old = Model2_Create(1);
        g_Lib.allocArrays = 1;
        EXPECT_EQ(c.loads, Model2_Load(1, path.c_str()));
        if (c.loads) {
            EXPECT_STREQ(c.bone1, g_Model2Table[1]->bones[1].name);
            EXPECT_EQ(c.version, g_Model2Table[1]->version);
            EXPECT_TRUE(Rec().messageBoxes.empty());
        } else {
            EXPECT_EQ(old, g_Model2Table[1]);
            EXPECT_EQ(0, g_Model2InUse[1]);
            ASSERT_EQ(1u, Rec().messageBoxes.size());
            EXPECT_EQ(0u, Rec().messageBoxes[0].find(c.message));
        }
    }
    Rec().Clear();
    ModelRec().Clear();
    bytes[2] = 'A';
    EXPECT_FALSE(Model2_Load(1, WriteTempFile("a.qvb", bytes).c_str()));
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_NE(std::string::npos, Rec().messageBoxes[0].find("は、QVB形式ではありません。"));
    EXPECT_FALSE(Model2_Load(1, ""));
    EXPECT_EQ("ファイル名が指定されていません。", Rec().messageBoxes.back());
}

// Counts and lengths past the record's limits are refused and the open model stays as it was.
TEST_F(QvbFile, CountsAndNamesPastTheLimitsAreRefused)
{
    MODEL2* m = Fresh();
    const std::vector<uint8_t> good = Model2_Write(m);
    Model2_Free(m);
    struct Patch {
        const char* name;
        size_t at;
        int32_t value;
        int bytes;   // 1, 2 or 4
    };
    // Offsets in the fresh file (see the size test): polygon count 13, texture count 15, group count
    // 21, group 0 name length 25, motion count 100, motion 0 name length 108, bone count 128,
    // bone 0 name length 132, bone 0 key count 168.
    const Patch patches[] = {
        {"vertex count past the bytes", 7, 30000, 2},
        {"polygons past the bytes", 13, 30000, 2},
        {"textures above 256", 15, 257, 2},
        {"groups above 256", 21, 257, 4},
        {"negative groups", 21, -1, 4},
        {"group name of 256 bytes", 25, 256, 4},
        {"negative name length", 25, -5, 4},
        {"motions above 100", 100, 101, 4},
        {"motion name past the end", 108, 100000, 4},
        {"bones above 128", 128, 129, 4},
        {"negative bones", 128, -2, 4},
        {"bone name of 300 bytes", 132, 300, 4},
        {"keys above 16", 168, 17, 4},
        {"negative keys", 168, -1, 4},
    };
    for (const Patch& p : patches) {
        SCOPED_TRACE(p.name);
        std::vector<uint8_t> bytes = good;
        if (p.bytes == 4) PutI32(bytes, p.at, p.value);
        else std::memcpy(&bytes[p.at], &p.value, 2);
        g_Lib.allocArrays = 1;
        EXPECT_EQ(nullptr, Model2_Parse(bytes.data(), bytes.size(), 2004000));
    }
    // A corner count above 4 in a polygon.
    MODEL2* q = Fresh();
    q->polygons.assign(1, FACE2{1, 4, {}, 0});
    q->polygonCount = 1;
    std::vector<uint8_t> bytes = Model2_Write(q);
    Model2_Free(q);
    bytes[15 + 4] = 5;
    EXPECT_EQ(nullptr, Model2_Parse(bytes.data(), bytes.size(), 2004000));
    // Every cut of a good file is refused, and through the load the open model is kept.
    for (size_t cut = 0; cut < good.size(); cut += 7) {
        SCOPED_TRACE(cut);
        EXPECT_EQ(nullptr, Model2_Parse(good.data(), cut, 2004000));
    }
    g_Lib.allocArrays = 1;
    ASSERT_TRUE(Model2_Load(2, WriteTempFile("ok.qvb", good).c_str()));
    MODEL2* open = g_Model2Table[2];
    std::vector<uint8_t> bad = good;
    PutI32(bad, 128, 129);
    Rec().Clear();
    ModelRec().Clear();
    EXPECT_FALSE(Model2_Load(2, WriteTempFile("bad.qvb", bad).c_str()));
    EXPECT_EQ(open, g_Model2Table[2]);
    EXPECT_EQ(1, g_Model2InUse[2]);
    ASSERT_EQ(1u, Rec().messageBoxes.size());
}

} // namespace
