// The shared header check, the result texts and the two directions of a field list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/record_io.h"
#include "support/recorder.h"

using namespace QVL;

namespace {

const int32_t kThree[] = {2003000, 2004000, 2004050};
const RECORD_FORMAT kCompared = {"QVA", "QVA", 3, 3, kThree, 3, 2004050};
const int32_t kOne[] = {2009000};
// Four bytes of magic, three compared.
const RECORD_FORMAT kSpaced = {"QVE", "QVE ", 4, 3, kOne, 1, 2009000};
// Read by its version alone.
const RECORD_FORMAT kBlind = {"QVO", "QVO", 3, 0, kOne, 1, 2009000};

std::vector<uint8_t> Header(const char* magic, size_t magicBytes, int32_t version, size_t cut = 0)
{
    ByteWriter w;
    w.Bytes(magic, magicBytes);
    w.I32(version);
    std::vector<uint8_t> b = w.Data();
    b.resize(b.size() - cut);
    return b;
}

struct SAMPLE {
    int32_t frame;
    uint8_t shown;
    float position[3];
    char name[8];
};

template <class IO>
bool Sample_Io(IO& io, SAMPLE& s)
{
    io.I32(s.frame);
    io.U8(s.shown);
    io.F32s(s.position, 3);
    return io.Str(s.name, sizeof s.name);
}

} // namespace

TEST(RecordIo, HeaderCheckTable)
{
    struct Case {
        const char* what;
        const RECORD_FORMAT* format;
        std::vector<uint8_t> bytes;
        RECORD_STATUS status;
        int32_t version;
    } cases[] = {
        {"first version", &kCompared, Header("QVA", 3, 2003000), RECORD_OK, 2003000},
        {"last version", &kCompared, Header("QVA", 3, 2004050), RECORD_OK, 2004050},
        {"below the first", &kCompared, Header("QVA", 3, 2002999), RECORD_TOO_OLD, 2002999},
        {"above the last", &kCompared, Header("QVA", 3, 2004051), RECORD_TOO_NEW, 2004051},
        // Never read blind: no layout is known for it.
        {"between two", &kCompared, Header("QVA", 3, 2004020), RECORD_UNKNOWN_VERSION, 2004020},
        {"other magic", &kCompared, Header("QVB", 3, 2004050), RECORD_NOT_FORMAT, 0},
        {"too short for the magic", &kCompared, Header("QV", 2, 0, 4), RECORD_NOT_FORMAT, 0},
        {"version cut short", &kCompared, Header("QVA", 3, 2004050, 1), RECORD_DAMAGED, 0},
        {"fourth magic byte is free", &kSpaced, Header("QVEx", 4, 2009000), RECORD_OK, 2009000},
        {"three compared of four", &kSpaced, Header("QVA ", 4, 2009000), RECORD_NOT_FORMAT, 0},
        {"magic not compared", &kBlind, Header("XYZ", 3, 2009000), RECORD_OK, 2009000},
        {"blind and too short", &kBlind, Header("QV", 2, 0, 4), RECORD_DAMAGED, 0},
        {"empty file", &kCompared, {}, RECORD_NOT_FORMAT, 0},
    };
    for (const Case& c : cases) {
        ByteReader r(c.bytes.data(), c.bytes.size());
        int32_t version = -1;
        EXPECT_EQ(c.status, Record_CheckHeader(r, *c.format, version)) << c.what;
        EXPECT_EQ(c.version, version) << c.what;
        if (c.status == RECORD_OK) {
            EXPECT_EQ(c.format->magicBytes + 4, r.Pos()) << c.what;
        }
    }
}

TEST(RecordIo, WrittenHeaderPassesItsOwnCheck)
{
    const int32_t two[] = {2004000, 2004020};
    // A format may keep saving an older layout than the newest it reads.
    const RECORD_FORMAT older = {"QVB", "QVB", 3, 3, two, 2, 2004000};
    for (const RECORD_FORMAT* f : {&kCompared, &kSpaced, &kBlind, &older}) {
        ByteWriter w;
        Record_WriteHeader(w, *f);
        ASSERT_EQ(f->magicBytes + 4, w.Size()) << f->name;
        EXPECT_EQ(0, std::memcmp(w.Data().data(), f->magic, f->magicBytes)) << f->name;
        ByteReader r(w.Data().data(), w.Size());
        int32_t version = 0;
        EXPECT_EQ(RECORD_OK, Record_CheckHeader(r, *f, version)) << f->name;
        EXPECT_EQ(f->written, version) << f->name;
    }
}

TEST(RecordIo, EachFailureHasItsTextAndItsPlace)
{
    struct Case {
        RECORD_STATUS status;
        RECORD_SHOW show;
        const char* text;
    } cases[] = {
        {RECORD_OK, RECORD_SHOW_NONE, ""},
        {RECORD_CANNOT_OPEN, RECORD_SHOW_LOG, "C:\\a\\b.qva を開くことができませんでした。"},
        {RECORD_NOT_FORMAT, RECORD_SHOW_BOX, "C:\\a\\b.qva は、QVA形式ではありません。"},
        {RECORD_TOO_OLD, RECORD_SHOW_BOX, "QVA形式のバージョンが古いので\n読み込むことができません。\n\nC:\\a\\b.qva"},
        {RECORD_UNKNOWN_VERSION, RECORD_SHOW_BOX, "QVA形式のバージョンが古いので\n読み込むことができません。\n\nC:\\a\\b.qva"},
        {RECORD_TOO_NEW, RECORD_SHOW_BOX,
         "QVA形式のバージョンが新しいので\n読み込むことができません。\n最新版へバージョンアップして下さい。\n\nC:\\a\\b.qva"},
        {RECORD_DAMAGED, RECORD_SHOW_BOX, "QVA形式のファイルが壊れているので\n読み込むことができません。\n\nC:\\a\\b.qva"},
    };
    for (const Case& c : cases) {
        Rec().Clear();
        RECORD_RESULT res = Record_Result(kCompared, c.status, "C:\\a\\b.qva", 7);
        EXPECT_EQ(c.status, res.status);
        EXPECT_EQ(7, res.version);
        EXPECT_EQ(c.show, res.show) << c.status;
        EXPECT_EQ(c.text, res.message) << c.status;
        EXPECT_EQ(c.status == RECORD_OK, Record_Report(kCompared, c.status, "C:\\a\\b.qva"));
        const std::vector<std::string> none;
        const std::vector<std::string> one = {c.text};
        EXPECT_EQ(c.show == RECORD_SHOW_BOX ? one : none, Rec().messageBoxes) << c.status;
        EXPECT_EQ(c.show == RECORD_SHOW_LOG ? one : none, Rec().logLines) << c.status;
    }
}

TEST(RecordIo, DamagedMessageIsTheOneEveryReaderShows)
{
    Rec().Clear();
    File_ReportDamaged("LWO", "x.lwo");
    Record_Report(kCompared, RECORD_DAMAGED, "x.lwo");
    ASSERT_EQ(2u, Rec().messageBoxes.size());
    EXPECT_EQ("LWO形式のファイルが壊れているので\n読み込むことができません。\n\nx.lwo", Rec().messageBoxes[0]);
    EXPECT_EQ("QVA形式のファイルが壊れているので\n読み込むことができません。\n\nx.lwo", Rec().messageBoxes[1]);
}

TEST(RecordIo, OneFieldListWritesTheBytesAndReadsThemBack)
{
    SAMPLE s = {-5, 3, {1.5f, -0.0f, 7.25f}, "abc"};
    ByteWriter w;
    RecordWriteIO out(w);
    EXPECT_TRUE(Sample_Io(out, s));

    // The same bytes as the calls written out by hand.
    ByteWriter hand;
    hand.I32(-5);
    hand.U8(3);
    hand.F32s(s.position, 3);
    hand.Str("abc", 8);
    EXPECT_EQ(hand.Data(), w.Data());

    SAMPLE back = {};
    ByteReader r(w.Data().data(), w.Size());
    RecordReadIO in(r);
    EXPECT_TRUE(Sample_Io(in, back));
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(0, std::memcmp(&s.position, &back.position, sizeof s.position));   // -0 stays -0
    EXPECT_EQ(s.frame, back.frame);
    EXPECT_EQ(s.shown, back.shown);
    EXPECT_STREQ(s.name, back.name);

    // Every cut of the bytes fails the read.
    for (size_t n = 0; n < w.Size(); ++n) {
        SAMPLE cut = {};
        ByteReader rc(w.Data().data(), n);
        RecordReadIO ic(rc);
        EXPECT_FALSE(Sample_Io(ic, cut)) << n;
    }
}
