// QVP files: the writer's layout, round trips, the older layouts, and files that do not hold together.
#include <array>
#include <cstring>
#include <random>

#include "frame/bytes.h"
#include "frame/text.h"
#include "model/export_dedup.h"
#include "model/model_expect.h"
#include "model/model_load.h"
#include "model/qvp_file.h"
#include "support/qvp_fixtures.h"

namespace {

class QvpFile : public ModelTest {};

// Bytes of a string field: the int32 count and the CP932 bytes.
size_t StrBytes(const char* s) { return 4 + std::strlen(s); }

TEST_F(QvpFile, FreshModelFileHasItsGoldenSize)
{
    MODEL3* m = NewRecord();
    std::vector<uint8_t> bytes = SaveBytes(m);
    const size_t group = StrBytes("グループ 0") + 103 + 4 + 4;          // no export vertices or triangles
    const size_t motion = 4 + 4 + StrBytes("モーション名") + 4;         // one empty group track
    const size_t key = 44;
    const size_t bones = StrBytes("親ボーン") + 4 + 40 + 4 + key + StrBytes("ボーン_01") + 4 + 40 + 4 + key;
    const size_t expected = 3 + 4 + 16 + 4 + 2 + 4 /* texture 0: used 0 only */ + 2 + 4 + 4 + group + 16 + 2 +
                            4 + motion + 4 + bones + 3 + 3;
    EXPECT_EQ(expected, bytes.size());
    EXPECT_EQ(437u, bytes.size());
    EXPECT_EQ(0, std::memcmp(bytes.data(), "QVP", 3));
    Model3_Free(m);
}

TEST_F(QvpFile, SaveReportsAFileItCannotWriteAndKeepsTheOldOne)
{
    MODEL3* m = NewRecord();
    std::string missing = Rec_TempDir() + "/no/such/folder/m.qvp";
    EXPECT_FALSE(Model3_SaveQvp(m, missing.c_str()));
    EXPECT_FALSE(Model3_SaveQvp(nullptr, "x.qvp"));
    // A save that succeeds replaces the file whole.
    std::string path = WriteTempFile("keep.qvp", {1, 2, 3});
    MakeCube(m);
    EXPECT_TRUE(Model3_SaveQvp(m, path.c_str()));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(File_ReadAll(path.c_str(), bytes));
    EXPECT_EQ(SaveBytes(m), bytes);
    Model3_Free(m);
}

TEST_F(QvpFile, RandomModelsSurviveSaveAndLoad)
{
    std::mt19937 rng(20090901);
    for (int round = 0; round < 200; ++round) {
        MODEL3* a = NewRecord();
        RandomModel(a, rng);
        std::vector<uint8_t> bytes = SaveBytes(a);
        MODEL3* b = NewRecord();
        ASSERT_TRUE(Qvp_ReadBytes(b, bytes.data(), bytes.size(), 2009000, "random.qvp")) << "round " << round;
        ExpectSameFileContent(*a, *b);
        // And the second save writes the same bytes.
        EXPECT_EQ(bytes, SaveBytes(b)) << "round " << round;
        Model3_Free(a);
        Model3_Free(b);
        if (HasFatalFailure()) return;
    }
    EXPECT_TRUE(Rec().messageBoxes.empty());
}

TEST_F(QvpFile, OurWriterMakesTheHandWrittenFile)
{
    std::vector<uint8_t> fixture = QvpFixture(2009000);
    MODEL3* m = NewRecord();
    ASSERT_TRUE(Qvp_ReadBytes(m, fixture.data(), fixture.size(), 2009000, "f.qvp"));
    EXPECT_EQ(fixture, SaveBytes(m));
    Model3_Free(m);
}

TEST_F(QvpFile, QuadExportsFourVerticesAndTwoFanTriangles)
{
    MODEL3* m = NewRecord();
    int32_t v[4];
    for (int i = 0; i < 4; ++i) v[i] = AddVertex(m, (float)(i & 1), (float)(i >> 1), 0, (float)i, 0);
    AddFace(m, {v[0], v[1], v[3], v[2]});
    Model3_BuildExports(m);
    const GROUP3& g = m->groups[0];
    ASSERT_EQ(4, g.exportVertexCount);
    ASSERT_EQ(2, g.exportTriangleCount);
    const int want[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (int t = 0; t < 2; ++t) {
        EXPECT_EQ(3, g.exportTriangles[t].cornerCount);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(want[t][c], g.exportTriangles[t].corners[c][CORNER_POS]);
    }
    EXPECT_EQ(1.0f, g.exportPositions[2].x);   // the face's third corner is position 3
    EXPECT_EQ(1.0f, g.exportPositions[2].y);
    Model3_Free(m);
}

TEST_F(QvpFile, SamePositionWithAnotherUVIsAnotherExportVertex)
{
    MODEL3* m = NewRecord();
    int32_t a = AddVertex(m, 0, 0, 0, 0, 0);
    int32_t b = AddVertex(m, 1, 0, 0, 0, 0);
    int32_t c = AddVertex(m, 0, 1, 0, 0, 0);
    int32_t d = AddVertex(m, 0, 0, 0, 0.5f, 0);   // a's position, another UV
    int32_t e = AddVertex(m, -0.0f, 0, 0, 0, 0);  // a again: -0 equals +0
    AddFace(m, {a, b, c});
    AddFace(m, {d, c, b});
    AddFace(m, {e, b, c});
    Model3_BuildExports(m);
    const GROUP3& g = m->groups[0];
    EXPECT_EQ(4, g.exportVertexCount);
    EXPECT_EQ(0, g.exportTriangles[2].corners[0][CORNER_POS]);
    EXPECT_EQ(3, g.exportTriangles[1].corners[0][CORNER_POS]);
    Model3_Free(m);
}

TEST_F(QvpFile, ExportSizedByItsOwnGroupAndEqualToALinearSearch)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        MODEL3* m = NewRecord();
        // Few distinct values so that corners repeat often.
        for (int i = 0; i < 40; ++i) AddVertex(m, (float)(rng() % 3), (float)(rng() % 2), 0, (float)(rng() % 2), 0);
        m->positions[5].x = NAN;
        m->groupCount = 3;
        for (int f = 0; f < 60; ++f) {
            int32_t k = 3 + (int32_t)(rng() % 2);
            if (k == 3) AddFace(m, {(int32_t)(rng() % 40), (int32_t)(rng() % 40), (int32_t)(rng() % 40)}, (int32_t)(rng() % 3));
            else AddFace(m, {(int32_t)(rng() % 40), (int32_t)(rng() % 40), (int32_t)(rng() % 40), (int32_t)(rng() % 40)}, (int32_t)(rng() % 3));
        }
        Model3_BuildExports(m);
        for (int g = 0; g < 3; ++g) {
            // The reference: first match of a linear search over float equality.
            std::vector<std::array<float, 12>> verts;
            std::vector<int32_t> tris;
            size_t corners = 0;
            for (int32_t f = 0; f < m->faceCount; ++f) {
                const FACE3& face = m->faces[f];
                if (face.group != g) continue;
                corners += 3 * (face.cornerCount - 2);
                for (int t = 0; t + 2 < face.cornerCount; ++t) {
                    for (int c : {0, t + 1, t + 2}) {
                        XYZ p = m->positions[face.corners[c][CORNER_POS]];
                        XYZ n = m->normals[face.corners[c][CORNER_NORMAL]];
                        RGBA col = m->colors[face.corners[c][CORNER_COLOR]];
                        UV2 uv = m->uvs[face.corners[c][CORNER_UV]];
                        std::array<float, 12> v = {p.x, p.y, p.z, n.x, n.y, n.z, col.r, col.g, col.b, col.a, uv.u, uv.v};
                        int32_t at = -1;
                        for (size_t i = 0; i < verts.size() && at < 0; ++i)
                            if (verts[i] == v) at = (int32_t)i;
                        if (at < 0) {
                            at = (int32_t)verts.size();
                            verts.push_back(v);
                        }
                        tris.push_back(at);
                    }
                }
            }
            const GROUP3& gr = m->groups[g];
            ASSERT_EQ((int32_t)verts.size(), gr.exportVertexCount);
            ASSERT_EQ((int32_t)tris.size(), 3 * gr.exportTriangleCount);
            for (size_t i = 0; i < tris.size(); ++i) EXPECT_EQ(tris[i], gr.exportTriangles[i / 3].corners[i % 3][CORNER_POS]);
            EXPECT_LE(gr.exportPositions.capacity(), corners);
        }
        Model3_Free(m);
    }
}

TEST_F(QvpFile, TextureEntryNotInUseWritesOnlyItsFlag)
{
    MODEL3* m = NewRecord();
    m->textureCount = 3;
    Str_CopyN(m->textures[1].file, sizeof m->textures[1].file, "skip.bmp");
    m->textures[2].used = 1;
    Str_CopyN(m->textures[2].folder, sizeof m->textures[2].folder, "C:\\models");
    Str_CopyN(m->textures[2].file, sizeof m->textures[2].file, "wood.bmp");
    std::vector<uint8_t> bytes = SaveBytes(m);
    const uint8_t want[] = {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0, 'w', 'o', 'o', 'd', '.', 'b', 'm', 'p'};
    ASSERT_GE(bytes.size(), 27u + sizeof want);
    EXPECT_EQ(0, std::memcmp(bytes.data() + 27, want, sizeof want));
    Model3_Free(m);
}

// ------------------------------------------------------------------------------------------------
// Older layouts, each from a file written by hand.

struct OldCase {
    int32_t version;
    bool motions, bones, groupTail, displacement, trailers;
};

TEST_F(QvpFile, EveryVersionReadsItsHandWrittenFile)
{
    const OldCase cases[] = {
        {2004002, false, false, false, false, false}, {2005000, true, true, false, false, false},
        {2006000, true, true, false, true, false},    {2008000, true, true, true, true, true},
        {2009000, true, true, true, true, true},
    };
    for (const OldCase& c : cases) {
        SCOPED_TRACE(c.version);
        std::string path = WriteTempFile("old.qvp", QvpFixture(c.version));
        int32_t id = Model3_Create();
        MODEL3* m = Model3_GetById(id);
        m->groups[0].normalMap = 0;          // a value the older layouts keep
        ASSERT_EQ(id, Model3_Load(id, path.c_str()));
        EXPECT_TRUE(Model3_IsReadyById(id));
        EXPECT_EQ(c.version, m->version);
        EXPECT_EQ(3, m->positionCount);
        EXPECT_EQ(1.0f, m->positions[1].x);
        EXPECT_EQ(64.0f, m->colors[0].b);
        // Position 0 is automatic: the load binds it wholly to its nearest bone centre.
        EXPECT_EQ(1, m->weights[0].boneA);
        EXPECT_EQ(0, m->weights[0].boneB);
        EXPECT_EQ(1.0f, m->weights[0].weightA);
        EXPECT_EQ(1, m->weights[0].automatic);
        EXPECT_EQ(0, m->weights[1].automatic);
        ASSERT_EQ(1, m->faceCount);
        EXPECT_EQ(2, m->faces[0].corners[2][CORNER_POS]);
        EXPECT_EQ(2, m->faces[0].corners[2][CORNER_UV]);
        ASSERT_EQ(2, m->textureCount);
        EXPECT_STREQ("tex.bmp", m->textures[1].file);
        EXPECT_EQ(1, m->groupCount);
        EXPECT_STREQ("素材", m->groups[0].name);
        EXPECT_EQ(1, m->groups[0].texture);
        EXPECT_EQ(200.0f, m->groups[0].alpha);
        EXPECT_EQ(3, m->groups[0].specularColor[2]);
        EXPECT_EQ(c.groupTail ? 1 : 0, m->groups[0].normalMap);
        EXPECT_EQ(c.groupTail ? 0 : 1, m->groups[0].textureSwitch);
        EXPECT_EQ(c.displacement ? 2.5f : 1.0f, m->displacementHeight);
        EXPECT_EQ(c.displacement ? 3 : 4, m->subdivision);
        EXPECT_EQ(0, m->light);
        EXPECT_EQ(2.0f, m->edgeWidth);
        EXPECT_EQ(c.trailers ? 1 : 0, m->groups[0].alphaTest);
        EXPECT_EQ(c.trailers ? 128 : 1, m->groups[0].alphaRef);
        ASSERT_EQ(c.motions ? 2u : 1u, m->motions.size());
        if (c.motions) {
            EXPECT_STREQ("走る", m->motions[1].name);
            EXPECT_EQ(20, m->motions[1].length);
            EXPECT_EQ(c.displacement ? 1 : 0, m->motions[0].tracks[0].keyCount);
            EXPECT_EQ(c.trailers ? 0 : 1, m->motions[0].loop);
            EXPECT_EQ(c.trailers ? 1 : -1, m->motions[0].next);
        }
        if (c.bones) {
            ASSERT_EQ(3, m->boneCount);
            EXPECT_STREQ("手", m->bones[2].name);
            EXPECT_EQ(1, m->bones[2].parent);
            EXPECT_EQ(2.0f, m->bones[2].rest.translation[1]);
            ASSERT_EQ(2u, m->bones[2].keys.size());
            ASSERT_EQ(2u, m->bones[2].keys[1].size());
            EXPECT_EQ(10, m->bones[2].keys[1][1].frame);
            EXPECT_EQ(1.0f, m->bones[2].keys[1][1].translation[1]);
        } else {
            // 2004002: key counts only; names and rest keys stay.
            ASSERT_EQ(2, m->boneCount);
            EXPECT_STREQ("ボーン_01", m->bones[1].name);
            EXPECT_EQ(3u, m->bones[0].keys[0].size());
            EXPECT_EQ(0u, m->bones[1].keys[0].size());
            EXPECT_EQ(1.0f, m->bones[0].keys[0][2].rotation[3]);
        }
        EXPECT_TRUE(Rec().messageBoxes.empty());
        Model3_Release(id);
        Model3_ProcessReleases();
    }
}

TEST_F(QvpFile, SixteenBitBoneNumbersKeepTheirLowByte)
{
    for (int32_t version : {2005000, 2006000}) {
        QvpFixtureOptions o;
        o.boneA = 300;
        std::vector<uint8_t> bytes = QvpFixture(version, o);
        MODEL3* m = NewRecord();
        ASSERT_TRUE(Qvp_ReadBytes(m, bytes.data(), bytes.size(), version, "bones.qvp"));
        EXPECT_EQ(300 & 0xFF, m->weights[0].boneA);
        Model3_Free(m);
    }
}

TEST_F(QvpFile, UnsupportedVersionsAreRefusedWithTheirMessage)
{
    struct Case { int32_t version; const char* start; };
    const Case cases[] = {
        {2004001, "QVP 2004 以上に対応しています。"},
        {2009001, "QVP形式のバージョンが新しいので\n読み込むことができません。\n最新版へバージョンアップして下さい。"},
        {2007000, "QVP形式のバージョンが古いので\n読み込むことができません。"},
        {2004500, "QVP形式のバージョンが古いので\n読み込むことができません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        Rec().Clear();
        QvpFixtureOptions o;
        o.version = c.version;
        std::string path = WriteTempFile("v.qvp", QvpFixture(2009000, o));
        // Into a model of the caller's: refused, the model as it was and not released.
        int32_t id = Model3_Create();
        MODEL3* m = Model3_GetById(id);
        MakeCube(m);
        EXPECT_EQ(-1, Model3_Load(id, path.c_str()));
        ASSERT_EQ(1u, Rec().messageBoxes.size());
        EXPECT_EQ(0u, Rec().messageBoxes[0].find(c.start));
        EXPECT_NE(std::string::npos, Rec().messageBoxes[0].find(path));
        EXPECT_EQ(24, m->positionCount);
        EXPECT_EQ(0, m->releaseRequest);
        EXPECT_FALSE(Model3_IsReady(m));
        // Into a slot of its own: the slot goes back.
        EXPECT_EQ(-1, Model3_Load(-1, path.c_str()));
        EXPECT_EQ(1, Model3_GetById(id + 1)->releaseRequest);
    }
}

// Every shorter piece of a good file is refused, and the model keeps what it had.
TEST_F(QvpFile, TruncatedFilesLeaveTheModelUntouched)
{
    for (int32_t version : {2004002, 2005000, 2006000, 2008000, 2009000}) {
        std::vector<uint8_t> whole = QvpFixture(version);
        MODEL3* m = NewRecord();
        MakeCube(m);
        for (size_t n = 0; n < whole.size(); ++n) {
            Rec().Clear();
            EXPECT_FALSE(Qvp_ReadBytes(m, whole.data(), n, version, "cut.qvp")) << version << " at " << n;
            ASSERT_EQ(1u, Rec().messageBoxes.size());
            EXPECT_EQ("QVP形式のファイルが壊れているので\n読み込むことができません。\n\ncut.qvp", Rec().messageBoxes[0]);
            ASSERT_EQ(24, m->positionCount);
            ASSERT_EQ(6, m->faceCount);
            ASSERT_EQ(2, m->boneCount);
            ASSERT_EQ(1u, m->motions.size());
            ASSERT_STREQ("新規.QVP", m->file);
        }
        EXPECT_EQ(1.0f, m->positions[m->faces[5].corners[2][CORNER_POS]].x);
        Model3_Free(m);
    }
}

// A field of the hand-written 2009000 file overwritten with a value beyond the record's limits.
struct Damage {
    const char* what;
    size_t at;          // byte offset in the fixture
    int32_t value;
    int width;          // 1, 2 or 4 bytes
};

TEST_F(QvpFile, CountsAndIndicesBeyondTheLimitsAreRefused)
{
    std::vector<uint8_t> good = QvpFixture(2009000);
    // Offsets in the fixture: header 7, counts 16, positions 36, normals 12, colours 16, UVs 24,
    // weights 21 -> face count at 132; the face: 1 + 3 * 16 + 4 -> texture count at 189.
    const size_t faceCount = 132, face = 136, textures = 189;
    const size_t texName = textures + 2 + 4 + 4;   // length of "tex.bmp"
    const size_t groups = texName + 4 + 7 + 2 + 4;  // after displacement switch and height
    const size_t groupTexture = groups + 4 + 4 + std::strlen("素材");
    const Damage cases[] = {
        {"position count above the limit", 7, 260001, 4},
        {"position count negative", 7, -1, 4},
        {"normal count past the file", 11, 200000, 4},
        {"face count past the file", faceCount, 100000, 4},
        {"face count negative", faceCount, -5, 4},
        {"corner count above 4", face, 5, 1},
        {"position index negative", face + 1, -1, 4},
        {"position index beyond the vertex limit", face + 1, 260000, 4},
        {"group index beyond the groups", face + 1 + 48, 256, 4},
        {"texture count above 256", textures, 257, 2},
        {"texture count negative", textures, -1, 2},
        {"texture name past the file", texName, 1 << 30, 4},
        {"texture name longer than its field", texName, 300, 4},
        {"group count above 256", groups, 257, 4},
        {"group texture index beyond the textures", groupTexture, 256, 4},
        {"group name negative", groups + 4, -2, 4},
    };
    for (const Damage& d : cases) {
        SCOPED_TRACE(d.what);
        std::vector<uint8_t> bad = good;
        ASSERT_LE(d.at + d.width, bad.size());
        std::memcpy(&bad[d.at], &d.value, (size_t)d.width);
        MODEL3* m = NewRecord();
        MakeCube(m);
        Rec().Clear();
        EXPECT_FALSE(Qvp_ReadBytes(m, bad.data(), bad.size(), 2009000, "bad.qvp"));
        EXPECT_EQ(1u, Rec().messageBoxes.size());
        EXPECT_EQ(24, m->positionCount);
        Model3_Free(m);
    }
    // The offsets above point where they say: the good file reads.
    MODEL3* m = NewRecord();
    EXPECT_TRUE(Qvp_ReadBytes(m, good.data(), good.size(), 2009000, "good.qvp"));
    int16_t t;
    std::memcpy(&t, &good[textures], 2);
    EXPECT_EQ(2, t);
    Model3_Free(m);
}

// Limits that sit later in the file, set on a model and written by our writer.
TEST_F(QvpFile, LaterLimitsAreRefusedToo)
{
    struct Case {
        const char* what;
        void (*spoil)(MODEL3*);
    };
    const Case cases[] = {
        {"bone parent beyond the bones", [](MODEL3* m) { m->bones[1].parent = 128; }},
        {"bone parent negative", [](MODEL3* m) { m->bones[1].parent = -1; }},
        {"next motion beyond the motions", [](MODEL3* m) { m->motions[0].next = 1; }},
        {"next motion below -1", [](MODEL3* m) { m->motions[0].next = -2; }},
        {"normal-map texture beyond the textures", [](MODEL3* m) { m->groups[0].normalMapTexture = 256; }},
        {"group key texture above 256", [](MODEL3* m) {
             m->motions[0].tracks[0].keyCount = 1;
             m->motions[0].tracks[0].keys[0].texture = 257;
         }},
        {"bone name longer than its field", [](MODEL3* m) { std::memset(m->bones[0].name, 'a', 255); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MODEL3* src = NewRecord();
        MakeCube(src);
        c.spoil(src);
        std::vector<uint8_t> bytes = SaveBytes(src);
        if (std::strcmp(c.what, "bone name longer than its field") == 0) {
            // 255 bytes fit; make the stored length 256 over a file grown by one byte.
            const size_t at = bytes.size() - 6 - (4 + 255 + 4 + 40 + 48) - (4 + 9 + 4 + 40 + 48);
            int32_t len;
            std::memcpy(&len, &bytes[at], 4);
            ASSERT_EQ(255, len);
            len = 256;
            std::memcpy(&bytes[at], &len, 4);
            bytes.insert(bytes.begin() + (ptrdiff_t)(at + 4), 'a');
        }
        MODEL3* m = NewRecord();
        Rec().Clear();
        EXPECT_FALSE(Qvp_ReadBytes(m, bytes.data(), bytes.size(), 2009000, "bad.qvp"));
        EXPECT_EQ(1u, Rec().messageBoxes.size());
        EXPECT_EQ(0, m->positionCount);
        Model3_Free(src);
        Model3_Free(m);
    }
}

TEST_F(QvpFile, MotionCountsOfNoneOrBeyondTheLimitAreRefused)
{
    for (size_t motions : {0u, 257u}) {
        MODEL3* src = NewRecord();
        src->groupCount = 0;
        Motion3_ResizeList(src->motions, (int32_t)(motions ? motions : 1));
        std::vector<uint8_t> bytes = SaveBytes(src);
        if (motions == 0) {
            // The motion count of a model without groups sits right after the subdivision level.
            const size_t at = 7 + 16 + 4 + 2 + 4 + 2 + 4 + 4 + 16 + 2;
            int32_t one;
            std::memcpy(&one, &bytes[at], 4);
            ASSERT_EQ(1, one);
            int32_t zero = 0;
            std::memcpy(&bytes[at], &zero, 4);
        }
        MODEL3* m = NewRecord();
        Rec().Clear();
        EXPECT_FALSE(Qvp_ReadBytes(m, bytes.data(), bytes.size(), 2009000, "motions.qvp")) << motions;
        EXPECT_EQ(1u, m->motions.size());
        Model3_Free(src);
        Model3_Free(m);
    }
}

TEST_F(QvpFile, ReadingOverAModelKeepsWhatTheFileDoesNotCarry)
{
    std::vector<uint8_t> bytes = QvpFixture(2006000);
    MODEL3* m = NewRecord();
    m->groups[0].selfIllumination = 1;
    m->groups[0].alphaRef = 99;
    m->soundCount = 3;
    m->motions[0].next = 0;
    ASSERT_TRUE(Qvp_ReadBytes(m, bytes.data(), bytes.size(), 2006000, "keep.qvp"));
    EXPECT_EQ(1, m->groups[0].selfIllumination);
    EXPECT_EQ(99, m->groups[0].alphaRef);
    EXPECT_EQ(3, m->soundCount);
    EXPECT_EQ(0, m->motions[0].next);
    EXPECT_EQ(-1, m->motions[1].next);
    // Every bone, used or not, has a key list per motion.
    EXPECT_EQ(2u, m->bones[100].keys.size());
    Model3_Free(m);
}

} // namespace
