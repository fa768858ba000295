// QVM motion lists: the size of a fresh file from its layout, a round trip of every field, cutting
// the list, files of other versions and other formats made by hand, and damaged files.
#include <cstring>

#include "frame/bytes.h"
#include "frame/text.h"
#include "model/model_expect.h"
#include "model/qvm_file.h"

namespace {

class Qvm : public ModelTest {
protected:
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

ByteWriter Header(const char* magic, int32_t version)
{
    ByteWriter w;
    w.Bytes(magic, 3);
    w.I32(version);
    return w;
}

TEST_F(Qvm, FreshFileIs63Bytes)
{
    const int32_t id = Model3_Create();
    const std::string path = Rec_TempDir() + "/fresh.qvm";
    ASSERT_EQ(1, Motion3_SaveQvm(id, path.c_str()));
    // magic 3 + version 4 + length of motion 0 4 + three values 12 + M 4 = 27; one motion: leading
    // 4 + name (4 + "モーション名", 6 two-byte characters = 12) + length 4 = 24; S 4 + "なし" (4 + 4) = 12.
    EXPECT_EQ(3u + 4 + 4 + 12 + 4 + (4 + (4 + 12) + 4) + 4 + (4 + 4), FileBytes(path).size());
    EXPECT_EQ(63u, FileBytes(path).size());
}

TEST_F(Qvm, EveryFieldRoundTripsOntoAFreshModel)
{
    const int32_t src = Model3_Create();
    MODEL3* a = Model3_GetById(src);
    Motion3_ResizeList(a->motions, 2);
    Str_CopyN(a->motions[0].name, sizeof a->motions[0].name, "立つ");
    a->motions[0].length = 30;
    Str_CopyN(a->motions[1].name, sizeof a->motions[1].name, "jump");
    a->motions[1].length = 20;
    a->motions[1].loop = 0;   // not in the file
    a->motionListValues[0] = -7;
    a->motionListValues[1] = 1 << 30;
    a->motionListValues[2] = 3;
    a->soundCount = 3;
    Str_CopyN(a->soundNames[1], sizeof a->soundNames[1], "step.wav");
    Str_CopyN(a->soundNames[2], sizeof a->soundNames[2], "音.wav");
    const std::string path = Rec_TempDir() + "/two.qvm";
    ASSERT_EQ(1, Motion3_SaveQvm(src, path.c_str()));

    const int32_t dst = Model3_Create();
    MODEL3* b = Model3_GetById(dst);
    ASSERT_EQ(1, Motion3_LoadQvm(dst, path.c_str()));
    ASSERT_EQ(2u, b->motions.size());
    EXPECT_STREQ("立つ", b->motions[0].name);
    EXPECT_EQ(30, b->motions[0].length);
    EXPECT_STREQ("jump", b->motions[1].name);
    EXPECT_EQ(20, b->motions[1].length);
    EXPECT_EQ(1, b->motions[1].loop);   // a new motion loops
    EXPECT_EQ(0, std::memcmp(a->motionListValues, b->motionListValues, sizeof a->motionListValues));
    EXPECT_EQ(3, b->soundCount);
    EXPECT_STREQ("なし", b->soundNames[0]);
    EXPECT_STREQ("音.wav", b->soundNames[2]);
    for (int bone = 0; bone < kModel3Bones; ++bone) ASSERT_EQ(2u, b->bones[bone].keys.size()) << bone;
}

TEST_F(Qvm, CuttingTheListKeepsTheCurrentMotionAndKeyListsInside)
{
    const int32_t small = Model3_Create();
    const std::string path = Rec_TempDir() + "/one.qvm";
    ASSERT_EQ(1, Motion3_SaveQvm(small, path.c_str()));
    const int32_t id = Model3_Create();
    MODEL3* m = Model3_GetById(id);
    Motion3_ResizeList(m->motions, 4);
    for (BONE3& b : m->bones) b.keys.resize(4, std::vector<KEY3>(1));
    m->currentMotion = 3;
    m->currentFrame = 12;
    ASSERT_EQ(1, Motion3_LoadQvm(id, path.c_str()));
    EXPECT_EQ(1u, m->motions.size());
    EXPECT_EQ(0, m->currentMotion);
    EXPECT_EQ(0, m->currentFrame);
    EXPECT_EQ(1u, m->bones[5].keys.size());
}

TEST_F(Qvm, OtherFormatsAndVersionsAreRefused)
{
    struct Case {
        const char* magic;
        int32_t version;
        const char* says;
    } cases[] = {
        {"QVP", 2002040, "QVM形式ではありません"},
        {"QVM", 2002039, "古い"},
        {"QVM", 2001000, "古い"},
        {"QVM", 2002041, "新しい"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        const int32_t id = Model3_Create();
        MODEL3* m = Model3_GetById(id);
        ByteWriter w = Header(c.magic, c.version);
        w.I32(5);
        const std::string path = WriteTempFile("v.qvm", w.Data());
        Rec().Clear();
        EXPECT_EQ(0, Motion3_LoadQvm(id, path.c_str()));
        EXPECT_TRUE(Says(c.says));
        EXPECT_EQ(60, m->motions[0].length);
    }
    Rec().Clear();
    EXPECT_EQ(0, Motion3_LoadQvm(Model3_Create(), ""));
    EXPECT_TRUE(Says("ファイル名"));
    EXPECT_EQ(0, Motion3_SaveQvm(999, (Rec_TempDir() + "/none.qvm").c_str()));
}

TEST_F(Qvm, DamagedFilesLeaveTheModelAlone)
{
    auto body = [](int32_t motions, int32_t nameLength, int32_t sounds) {
        ByteWriter w = Header("QVM", kQvmVersion);
        w.I32(33);
        w.Zeros(12);
        w.I32(motions);
        for (int i = 0; i < motions && i < 3; ++i) {
            w.I32(1);
            w.I32(nameLength);
            w.Bytes("abc", 3);
            w.I32(10);
        }
        w.I32(sounds);
        for (int i = 0; i < sounds && i < 101; ++i) w.Str("s.wav");
        return w.Data();
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"a huge motion count", body(0x7FFFFFFF, 3, 1)},
        {"a negative motion count", body(-1, 3, 1)},
        {"no motions", body(0, 3, 1)},
        {"a name longer than the file", body(1, 1 << 30, 1)},
        {"101 sounds", body(1, 3, 101)},
        {"cut in the header", {'Q', 'V', 'M', 0x68}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t id = Model3_Create();
        MODEL3* m = Model3_GetById(id);
        Motion3_ResizeList(m->motions, 2);
        const std::string path = WriteTempFile("bad.qvm", c.bytes);
        Rec().Clear();
        EXPECT_EQ(0, Motion3_LoadQvm(id, path.c_str()));
        EXPECT_TRUE(Says("壊れ"));
        EXPECT_EQ(2u, m->motions.size());
        EXPECT_EQ(60, m->motions[0].length);
        Motion3_ReadQvmBody(id, path.c_str());   // the body reader alone takes nothing either
        EXPECT_EQ(2u, m->motions.size());
    }
}

} // namespace
