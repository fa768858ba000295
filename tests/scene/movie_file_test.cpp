// The movie document and the QVV file: a new movie's layout, round trips of every track kind, the
// older versions from hand-made files, and files that break the document's limits.
#include <cstring>
#include <string>
#include <vector>

#include "frame/bytes.h"
#include "frame/paths.h"
#include "frame/services.h"
#include "frame/text.h"
#include "model/model2.h"
#include "model/model_expect.h"
#include "model/scene_object.h"
#include "scene/movie.h"
#include "shell/file_commands.h"
#include "support/ui_recorder.h"

namespace {

class MovieFile : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        Movie_ClearTracks();
        g_MovieData.followNext = 0;
        g_StudioFlag = 1;
    }
    void TearDown() override
    {
        Movie_ClearTracks();
        for (int i = 0; i < kModel2Slots; ++i) Model2_FreeSlot(i);
        ModelTest::TearDown();
    }
};

std::string TempFile(const char* name) { return Rec_TempDir() + "/" + name; }

void Save(const std::string& path, const std::vector<uint8_t>& bytes)
{
    ASSERT_TRUE(File_WriteAll(path.c_str(), bytes.data(), bytes.size()));
}

// The QVV header and the fields before the tracks.
ByteWriter Header(int32_t version, int32_t length, int32_t tracks)
{
    ByteWriter w;
    w.Bytes("QVV", 3);
    w.I32(version);
    w.I32(length);
    w.I32(tracks);
    return w;
}

void TrackHead(ByteWriter& w, const char* name, int32_t keys, int32_t kind)
{
    w.Str(name);
    w.I32(keys);
    w.I32(kind);
    w.I32(1);
    w.I32(0);
    w.I32(1);
}

void Tail(ByteWriter& w)
{
    w.I32(0);   // BGM off
    w.I32(0);   // sounds
    w.I32(0);   // messages
    w.I32(0);   // next off
    w.I32(0);   // empty next file
}

TEST_F(MovieFile, NewMovieHasTheLayoutsSize)
{
    Movie_New();
    // header: magic 3 + version 4 + length 4 + count 4                       = 15
    // scene track: name count 4 + key count, kind and three modes 20 = 24;
    //   its key: frame 4 + visible 1 + resource 4 + colour 16 = 25          = 49
    // camera track: 24; its key: 4 + 1 + 4 + eye 12 + target 12 = 33        = 57
    // no resource entries (kinds 5 and 6); BGM flag 4; sound count 4;
    // message count 4; next flag 4 + next file count 4                      = 20
    //                                                               total = 141
    EXPECT_EQ(Movie_Write().size(), 141u);
}

TEST_F(MovieFile, NewMovieReadsBackAsTheDefaults)
{
    Movie_New();
    const std::string path = TempFile("new.QVV");
    ASSERT_TRUE(Movie_Save(path.c_str()));
    Movie_ClearTracks();
    ASSERT_TRUE(MovieLoad(path.c_str()));
    const MOVIE_PLAY& m = g_MovieData;
    ASSERT_EQ(m.trackCount, 2);
    EXPECT_EQ(m.tracks[0]->kind, MOVIE_SCENE);
    EXPECT_EQ(m.tracks[1]->kind, MOVIE_CAMERA);
    EXPECT_EQ(m.length, 180);
    EXPECT_EQ(m.nextOn, 0);
    EXPECT_STREQ(m.nextFile, "");
    EXPECT_STREQ(m.tracks[0]->name, "");
    EXPECT_FLOAT_EQ(m.tracks[1]->keys[0].position[2], -128.0f);
    EXPECT_FLOAT_EQ(m.tracks[1]->keys[0].target[1], 10.0f);
    EXPECT_EQ(m.loaded, 1);
    EXPECT_TRUE(Rec().messageBoxes.empty());
}

// A key with a distinct value in every field.
MOVIE_KEY FilledKey(int32_t frame, float base)
{
    MOVIE_KEY k{};
    k.frame = frame;
    k.visible = frame % 2 == 0 ? 1 : 0;
    k.resource = frame / 10;
    for (int c = 0; c < 3; ++c) {
        k.position[c] = base + c;
        k.rotation[c] = base + 10 + c;
        k.scale[c] = base + 20 + c;
        k.target[c] = base + 30 + c;
    }
    for (int c = 0; c < 4; ++c) {
        k.quaternion[c] = base + 40 + c;
        k.colour[c] = base + 50 + c;
    }
    return k;
}

// What a kind stores of a key: frame, visible, resource and the kind's floats.
void ExpectStoredKey(int32_t kind, const MOVIE_KEY& a, const MOVIE_KEY& b)
{
    EXPECT_EQ(a.frame, b.frame);
    EXPECT_EQ(a.visible, b.visible);
    EXPECT_EQ(a.resource, b.resource);
    auto same = [](const float* x, const float* y, int n) {
        for (int c = 0; c < n; ++c) EXPECT_TRUE(SameBits(x[c], y[c])) << c;
    };
    if (kind <= MOVIE_QVP) {
        same(a.position, b.position, 3);
        same(a.rotation, b.rotation, 3);
        same(a.quaternion, b.quaternion, 4);
        same(a.scale, b.scale, 3);
        same(a.colour, b.colour, 4);
    } else if (kind == MOVIE_CAMERA) {
        same(a.position, b.position, 3);
        same(a.target, b.target, 3);
    } else if (kind == MOVIE_SCENE) {
        same(a.colour, b.colour, 4);
    }
}

TEST_F(MovieFile, EveryTrackKindSurvivesASaveAndALoad)
{
    Movie_New();
    MOVIE_PLAY& m = g_MovieData;
    m.trackCount = MOVIE_KIND_COUNT;
    std::vector<MOVIE_TRACK> want(MOVIE_KIND_COUNT);
    for (int32_t kind = 0; kind < MOVIE_KIND_COUNT; ++kind) {
        MOVIE_TRACK* t = Movie_CreatePlainTrack(kind);
        ASSERT_NE(t, nullptr);
        t->kind = kind;
        Str_Format(t->name, sizeof t->name, "track %d", kind);
        t->keyCount = 3;
        t->moveMode = kind & 1;
        t->rotateMode = (kind >> 1) & 1;
        t->scaleMode = 1;
        for (int k = 0; k < 3; ++k) t->keys[k] = FilledKey(k * 30, 100.0f * kind + k);
        Str_Format(t->folder, sizeof t->folder, "dir%d", kind);
        // No resource files: the load must not go looking for them.
        Str_Format(t->motionFile, sizeof t->motionFile, "m%d.QVM", kind);
        t->shadowMode = kind <= MOVIE_QVP ? 20 : 0;
        want[kind] = *t;
    }
    m.length = 600;
    m.bgmOn = 1;
    Str_CopyN(m.bgmText, sizeof m.bgmText, "bgm text");
    Str_CopyN(m.bgmFile, sizeof m.bgmFile, "bgm.mid");
    m.soundCount = 3;
    Str_CopyN(m.soundFolders[1], 256, "se");
    Str_CopyN(m.soundFiles[2], 256, "b.wav");
    m.messageCount = 2;
    Str_CopyN(m.messages[1], 256, "こんにちは");
    m.nextOn = 1;
    Str_CopyN(m.nextFile, sizeof m.nextFile, "next.QVV");
    const std::vector<uint8_t> once = Movie_Write();

    MOVIE_FILE f;
    RECORD_RESULT res = Movie_ParseFile(once.data(), once.size(), "x.QVV", f);
    ASSERT_TRUE(res.Ok()) << res.message;
    ASSERT_EQ(f.tracks.size(), (size_t)MOVIE_KIND_COUNT);
    EXPECT_EQ(f.length, 600);
    for (int32_t kind = 0; kind < MOVIE_KIND_COUNT; ++kind) {
        SCOPED_TRACE(kind);
        const MOVIE_TRACK& a = want[kind];
        const MOVIE_TRACK& b = *f.tracks[kind];
        EXPECT_STREQ(a.name, b.name);
        EXPECT_EQ(b.kind, kind);
        EXPECT_EQ(b.keyCount, 3);
        EXPECT_EQ(a.moveMode, b.moveMode);
        EXPECT_EQ(a.rotateMode, b.rotateMode);
        EXPECT_EQ(a.scaleMode, b.scaleMode);
        for (int k = 0; k < 3; ++k) ExpectStoredKey(kind, a.keys[k], b.keys[k]);
        if (kind <= MOVIE_QVP) {
            EXPECT_STREQ(a.folder, b.folder);
            EXPECT_STREQ(a.motionFile, b.motionFile);
            EXPECT_EQ(b.shadowMode, 20);
        } else {
            EXPECT_STREQ(b.folder, "");
        }
    }
    EXPECT_EQ(f.bgmOn, 1);
    EXPECT_STREQ(f.bgmText, "bgm text");
    EXPECT_STREQ(f.bgmFile, "bgm.mid");
    EXPECT_EQ(f.soundCount, 3);
    EXPECT_STREQ(f.soundFolders[1], "se");
    EXPECT_STREQ(f.soundFiles[2], "b.wav");
    EXPECT_EQ(f.messageCount, 2);
    EXPECT_STREQ(f.messages[1], "こんにちは");
    EXPECT_EQ(f.nextOn, 1);
    EXPECT_STREQ(f.nextFile, "next.QVV");

    // Loaded into the document and written again, the bytes are the same.
    const std::string path = TempFile("all.QVV");
    Save(path, once);
    ASSERT_TRUE(MovieLoad(path.c_str()));
    EXPECT_EQ(Movie_Write(), once);
}

TEST_F(MovieFile, SoundAndMessageKeysTakeNineBytesAndNoResourceEntry)
{
    Movie_New();
    const size_t before = Movie_Write().size();
    for (int32_t kind : {MOVIE_SOUND, MOVIE_MESSAGE}) {
        SCOPED_TRACE(kind);
        Movie_New();
        MOVIE_TRACK* t = Movie_CreatePlainTrack(2);
        t->kind = kind;
        t->keyCount = 2;
        g_MovieData.trackCount = 3;
        // empty name 4 + five int32s 20 + two keys of 9
        EXPECT_EQ(Movie_Write().size(), before + 24 + 18);
    }
}

TEST_F(MovieFile, ANameOf255BytesSurvives)
{
    Movie_New();
    std::memset(g_MovieData.tracks[0]->name, 'n', 255);
    g_MovieData.tracks[0]->name[255] = 0;
    const std::vector<uint8_t> bytes = Movie_Write();
    MOVIE_FILE f;
    ASSERT_TRUE(Movie_ParseFile(bytes.data(), bytes.size(), "n.QVV", f).Ok());
    EXPECT_EQ(std::strlen(f.tracks[0]->name), 255u);
}

// A 2004050 file: no visible byte, no quaternion, the length clamped to 1..180.
std::vector<uint8_t> File2004050(int32_t length)
{
    ByteWriter w = Header(2004050, length, 1);
    TrackHead(w, "pic", 2, MOVIE_PICTURE);
    for (int k = 0; k < 2; ++k) {
        w.I32(k * 60);   // frame
        w.I32(7);        // resource
        const float pos[3] = {640.0f + k, 360.0f, 0.0f}, rot[3] = {0, 0, 45.0f}, scale[3] = {2, 2, 1};
        const float colour[4] = {255, 128, 0, 200};
        w.F32s(pos, 3);
        w.F32s(rot, 3);
        w.F32s(scale, 3);
        w.F32s(colour, 4);
    }
    w.Str("");
    w.Str("");   // no picture file
    w.Str("");
    w.I32(0);
    Tail(w);
    return w.Data();
}

TEST_F(MovieFile, Version2004050ClampsTheLengthAndReadsKeysWithoutQuaternions)
{
    struct Case { int32_t stored, loaded; };
    for (Case c : {Case{500, 180}, Case{0, 1}, Case{-5, 1}, Case{90, 90}}) {
        SCOPED_TRACE(c.stored);
        const std::string path = TempFile("old.QVV");
        Save(path, File2004050(c.stored));
        ASSERT_TRUE(MovieLoad(path.c_str()));
        const MOVIE_PLAY& m = g_MovieData;
        EXPECT_EQ(m.length, c.loaded);
        ASSERT_EQ(m.trackCount, 1);
        const MOVIE_TRACK* t = m.tracks[0];
        EXPECT_EQ(t->kind, MOVIE_PICTURE);
        ASSERT_EQ(t->keyCount, 2);
        EXPECT_EQ(t->keys[1].frame, 60);
        EXPECT_EQ(t->keys[1].visible, 1);
        EXPECT_EQ(t->keys[1].resource, 7);
        EXPECT_FLOAT_EQ(t->keys[1].position[0], 641.0f);
        EXPECT_FLOAT_EQ(t->keys[1].scale[0], 2.0f);
        EXPECT_FLOAT_EQ(t->keys[1].colour[3], 200.0f);
        EXPECT_FLOAT_EQ(t->keys[0].quaternion[3], 1.0f);
        EXPECT_TRUE(Rec().messageBoxes.empty());
    }
}

TEST_F(MovieFile, Version2006000ReadsQuaternionsWithoutAVisibleByte)
{
    ByteWriter w = Header(2006000, 20000 - 19990, 2);
    TrackHead(w, "model", 1, MOVIE_QVP);
    w.I32(0);
    w.I32(3);
    const float f[16] = {1, 2, 3, 0, 90, 0, 0, 0.7071f, 0, 0.7071f, 1, 1, 1, 255, 255, 255};
    w.F32s(f, 16);
    const float alpha = 255;
    w.F32(alpha);
    TrackHead(w, "cam", 1, MOVIE_CAMERA);
    w.I32(0);
    w.I32(0);
    const float cam[6] = {0, 5, -50, 0, 0, 0};
    w.F32s(cam, 6);
    w.Str("models");
    w.Str("");
    w.Str("walk.QVM");
    w.I32(30);
    Tail(w);
    // The closing block: names and shadow modes read over the first ones.
    w.Str("renamed");
    w.I32(20);
    w.Str("cam2");
    w.I32(0);
    const std::string path = TempFile("v2006000.QVV");
    Save(path, w.Data());
    ASSERT_TRUE(MovieLoad(path.c_str()));
    const MOVIE_PLAY& m = g_MovieData;
    EXPECT_EQ(m.length, 10);
    ASSERT_EQ(m.trackCount, 2);
    const MOVIE_TRACK* t = m.tracks[0];
    EXPECT_EQ(t->keys[0].visible, 1);
    EXPECT_EQ(t->keys[0].resource, 3);
    EXPECT_FLOAT_EQ(t->keys[0].quaternion[1], 0.7071f);
    EXPECT_STREQ(t->name, "renamed");
    EXPECT_EQ(t->shadowMode, 20);
    EXPECT_STREQ(t->folder, "models");
    EXPECT_STREQ(t->motionFile, "walk.QVM");
    EXPECT_STREQ(m.tracks[1]->name, "cam2");
    EXPECT_FLOAT_EQ(m.tracks[1]->keys[0].position[2], -50.0f);
}

// The bytes of a one-track file of the newest version with one field replaced by `edit`.
std::vector<uint8_t> ValidFile(int32_t trackCount = 1, int32_t keyCount = 1, int32_t kind = MOVIE_SOUND,
                               int32_t length = 60, int32_t sounds = 0, int32_t messages = 0, int32_t nameBytes = 0)
{
    ByteWriter w = Header(2006060, length, trackCount);
    for (int32_t i = 0; i < trackCount; ++i) {
        w.I32(nameBytes);
        for (int32_t b = 0; b < nameBytes; ++b) w.U8('a');
        w.I32(keyCount);
        w.I32(kind);
        w.I32(1);
        w.I32(1);
        w.I32(1);
        for (int32_t k = 0; k < keyCount && k < 64; ++k) {
            w.I32(k);
            w.U8(1);
            w.I32(0);
            if (kind <= MOVIE_QVP) w.Zeros(12 + 12 + 16 + 12 + 16);
        }
    }
    if (kind <= MOVIE_QVP)
        for (int32_t i = 0; i < trackCount; ++i) {
            w.I32(0);
            w.I32(0);
            w.I32(0);
            w.I32(0);
        }
    w.I32(0);
    w.I32(sounds);
    for (int32_t i = 1; i < sounds && i < 64; ++i) {
        w.Str("");
        w.Str("s.wav");
    }
    w.I32(messages);
    for (int32_t i = 1; i < messages && i < 64; ++i) w.Str("m");
    w.I32(0);
    w.I32(0);
    return w.Data();
}

TEST_F(MovieFile, FilesBeyondTheLimitsAreRefusedAndTheOpenMovieStays)
{
    struct Case { const char* what; std::vector<uint8_t> bytes; };
    std::vector<uint8_t> cut = ValidFile();
    cut.resize(cut.size() - 3);
    const Case cases[] = {
        {"257 tracks", ValidFile(257)},
        {"negative track count", ValidFile(-1)},
        {"17 keys", ValidFile(1, 17)},
        {"no key", ValidFile(1, 0)},
        {"negative key count", ValidFile(1, -3)},
        {"kind 10", ValidFile(1, 1, 10)},
        {"negative kind", ValidFile(1, 1, -1)},
        {"length 18001", ValidFile(1, 1, MOVIE_SOUND, 18001)},
        {"17 sounds", ValidFile(1, 1, MOVIE_SOUND, 60, 17)},
        {"negative sounds", ValidFile(1, 1, MOVIE_SOUND, 60, -2)},
        {"17 messages", ValidFile(1, 1, MOVIE_SOUND, 60, 0, 17)},
        {"name of 256 bytes", ValidFile(1, 1, MOVIE_SOUND, 60, 0, 0, 256)},
        {"QVB track at index 32", ValidFile(33, 1, MOVIE_QVB)},
        {"cut short", cut},
    };
    const std::string path = TempFile("bad.QVV");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Movie_New();
        Str_CopyN(g_MovieData.tracks[0]->name, 256, "open movie");
        g_MovieData.length = 77;
        Rec().Clear();
        Save(path, c.bytes);
        EXPECT_FALSE(MovieLoad(path.c_str()));
        ASSERT_EQ(Rec().messageBoxes.size(), 1u);
        EXPECT_NE(Rec().messageBoxes[0].find("壊れている"), std::string::npos) << Rec().messageBoxes[0];
        EXPECT_STREQ(g_MovieData.tracks[0]->name, "open movie");
        EXPECT_EQ(g_MovieData.length, 77);
    }
    // The edges inside the limits load.
    for (const std::vector<uint8_t>& ok :
         {ValidFile(256), ValidFile(1, 16), ValidFile(1, 1, MOVIE_SOUND, 18000, 16, 16, 255), ValidFile(32, 1, MOVIE_QVB)}) {
        Save(path, ok);
        Rec().Clear();
        EXPECT_TRUE(MovieLoad(path.c_str()));
        EXPECT_TRUE(Rec().messageBoxes.empty());
    }
}

TEST_F(MovieFile, UnsupportedVersionsAreRefusedWithTheirMessages)
{
    struct Case { int32_t version; const char* text; };
    const Case cases[] = {
        {2004000, "バージョンが古い"},
        {2005000, "バージョンが古い"},
        {2006061, "バージョンが新しい"},
    };
    const std::string path = TempFile("ver.QVV");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        Movie_New();
        g_MovieData.length = 77;
        Rec().Clear();
        std::vector<uint8_t> bytes = ValidFile();
        std::memcpy(&bytes[3], &c.version, 4);
        Save(path, bytes);
        EXPECT_FALSE(MovieLoad(path.c_str()));
        ASSERT_EQ(Rec().messageBoxes.size(), 1u);
        EXPECT_NE(Rec().messageBoxes[0].find(c.text), std::string::npos);
        EXPECT_EQ(g_MovieData.loaded, 0);
        EXPECT_EQ(g_MovieData.length, 77);
    }
}

TEST_F(MovieFile, OtherFilesAndMissingOnesAreReported)
{
    const std::string path = TempFile("other.QVV");
    Save(path, std::vector<uint8_t>{'Q', 'V', 'P', 0, 0, 0, 0, 0});
    EXPECT_FALSE(MovieLoad(path.c_str()));
    ASSERT_EQ(Rec().messageBoxes.size(), 1u);
    EXPECT_NE(Rec().messageBoxes[0].find("QVV形式ではありません"), std::string::npos);

    Rec().Clear();
    EXPECT_FALSE(MovieLoad(""));
    ASSERT_EQ(Rec().messageBoxes.size(), 1u);
    EXPECT_EQ(Rec().messageBoxes[0], "ファイル名が指定されていません。");

    Rec().Clear();
    g_MoviePlayState = 0;
    EXPECT_FALSE(MovieLoad(TempFile("missing.QVV").c_str()));
    EXPECT_TRUE(Rec().messageBoxes.empty());
    EXPECT_EQ(g_MoviePlayState, 2);
}

TEST_F(MovieFile, APictureWhoseFileFailedIsNotUsedAsLoaded)
{
    Movie_New();
    MOVIE_TRACK* t = Movie_CreatePlainTrack(2);
    t->kind = MOVIE_PICTURE;
    t->keyCount = 1;
    Str_CopyN(t->file, sizeof t->file, "missing.png");
    g_MovieData.trackCount = 3;
    const std::string path = TempFile("pic.QVV");
    ASSERT_TRUE(Movie_Save(path.c_str()));
    g_TexTable[2] = 5;   // an earlier movie's picture
    ModelRec().textureLoadFails = true;
    ASSERT_TRUE(MovieLoad(path.c_str()));
    ModelRec().textureLoadFails = false;
    EXPECT_EQ(g_TexTable[2], -1);
}

TEST_F(MovieFile, AQvbTrackWhoseModelFailedLeavesItsSlotEmpty)
{
    // An earlier movie's 2D model in the slot.
    Model2_Create(2);
    g_Model2InUse[2] = 1;
    Movie_New();
    MOVIE_TRACK* t = Movie_CreatePlainTrack(2);
    t->kind = MOVIE_QVB;
    t->keyCount = 1;
    Str_CopyN(t->file, sizeof t->file, "missing.QVB");
    g_MovieData.trackCount = 3;
    const std::string path = TempFile("qvb.QVV");
    ASSERT_TRUE(Movie_Save(path.c_str()));
    ASSERT_TRUE(MovieLoad(path.c_str()));
    EXPECT_FALSE(g_Model2InUse[2]);
    EXPECT_EQ(g_Model2Table[2], nullptr);
}

TEST_F(MovieFile, ClearingKeepsWhatTheMovieDidNotMake)
{
    const int32_t otherObject = ObjectCreate();
    const int32_t otherModel = Model3_Create();
    ASSERT_GE(otherObject, 0);
    Movie_New();
    const int32_t movieObject = g_MovieData.tracks[0]->objectId;
    const int32_t movieModel = g_MovieData.tracks[0]->modelId;
    // A track the editor made itself holds object 0 and model 0 without owning them.
    MOVIE_TRACK* plain = Movie_CreatePlainTrack(2);
    plain->kind = MOVIE_PICTURE;
    g_MovieData.trackCount = 3;
    Movie_ClearTracks();
    Model3_ProcessReleases();
    ASSERT_NE(Object_GetById(otherObject), nullptr);
    EXPECT_TRUE(Object_GetById(otherObject)->active);
    EXPECT_NE(Model3_GetById(otherModel), nullptr);
    EXPECT_FALSE(Object_GetById(movieObject)->active);
    EXPECT_EQ(Model3_GetById(movieModel), nullptr);
    EXPECT_EQ(g_MovieData.trackCount, 0);
    for (MOVIE_TRACK* t : g_MovieData.tracks) EXPECT_EQ(t, nullptr);
}

TEST_F(MovieFile, SavingThroughATemporaryFileKeepsTheOldOneOnFailure)
{
    Movie_New();
    const std::string path = Rec_TempDir() + "/no such folder/x.QVV";
    EXPECT_FALSE(Movie_Save(path.c_str()));
    EXPECT_FALSE(Rec().messageBoxes.empty());
}

} // namespace

namespace {

// The shell's open and save commands of mode 23 go through the movie's loader and writer.
TEST_F(MovieFile, TheShellsQvvCommandsSaveAndLoadAndKeepTheMovieOnADamagedFile)
{
    char was[512];
    ASSERT_TRUE(Svc_GetCurrentDirectory(was, sizeof was));
    const std::string dir = Rec_TempDir();
    ASSERT_TRUE(File_ChDir(dir.c_str()));
    Movie_New();
    g_MovieData.length = 99;
    UiRec().Clear();
    UiRec().fileAnswers = {"saved.QVV"};
    FileCmd_SaveQVV();
    g_MovieData.length = 5;
    UiRec().fileAnswers = {"saved.QVV"};
    FileCmd_LoadQVV();
    EXPECT_EQ(g_MovieData.length, 99);
    EXPECT_EQ(g_MovieData.loaded, 1);

    Save(dir + "/broken.QVV", std::vector<uint8_t>{'Q', 'V', 'V', 0x2c, 0xa1, 0x1e, 0, 1, 2});
    g_MovieData.length = 42;
    Rec().Clear();
    UiRec().fileAnswers = {"broken.QVV"};
    FileCmd_LoadQVV();
    EXPECT_EQ(g_MovieData.length, 42);
    EXPECT_EQ(Rec().messageBoxes.size(), 1u);
    File_ChDir(was);
}

} // namespace
