// What every binary format shares above the byte reader and writer: the header check (magic and
// version against the versions a reader knows), one result for every reader with the message the
// user is shown, and the two IO adapters through which one field list reads and writes a record.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "frame/bytes.h"

namespace QVL {

// The header of a format: `magicBytes` bytes of magic, then an int32 version.
struct RECORD_FORMAT {
    const char* name;            // in the messages: "QVE"
    const char* magic;           // compared over `compareBytes`; the rest of the field is not
    size_t magicBytes;           // bytes the magic takes in the file ("QVE " takes 4)
    size_t compareBytes;         // 0: the format was always read by its version alone
    const int32_t* versions;     // the versions read, ascending
    size_t versionCount;
    int32_t written;             // the version a save stamps
};

enum RECORD_STATUS {
    RECORD_OK,
    RECORD_CANNOT_OPEN,
    RECORD_NOT_FORMAT,       // the magic is another format's
    // The three kinds of unsupported version: older than the oldest read, newer than the newest,
    // and between two read ones (no layout is known for it, so it is refused, never read blind).
    RECORD_TOO_OLD,
    RECORD_TOO_NEW,
    RECORD_UNKNOWN_VERSION,
    RECORD_DAMAGED,          // the bytes do not hold together
};

// How the caller shows a failure: a message box, except for a file that did not open, which only
// gets a log line.
enum RECORD_SHOW { RECORD_SHOW_NONE, RECORD_SHOW_BOX, RECORD_SHOW_LOG };

struct RECORD_RESULT {
    RECORD_STATUS status = RECORD_OK;
    int32_t version = 0;       // as the header gave it (0 when it was not reached)
    RECORD_SHOW show = RECORD_SHOW_NONE;
    std::string message;       // empty for RECORD_OK

    bool Ok() const { return status == RECORD_OK; }
};

// Where the version stands among the format's versions (never RECORD_NOT_FORMAT or DAMAGED).
RECORD_STATUS Record_CheckVersion(const RECORD_FORMAT& f, int32_t version);
// Reads magic and version. A header cut short after a good magic is RECORD_DAMAGED; one too short
// for the magic is RECORD_NOT_FORMAT when the magic is compared, RECORD_DAMAGED otherwise.
RECORD_STATUS Record_CheckHeader(ByteReader& r, const RECORD_FORMAT& f, int32_t& version);
// Magic and the version a save stamps.
void Record_WriteHeader(ByteWriter& w, const RECORD_FORMAT& f);

// The result of `status` for the file at `path`, with the texts every reader shows:
//   cannot open     "<path> を開くことができませんでした。"            (log)
//   not this format "<path> は、<name>形式ではありません。"
//   too old, and between two versions
//                   "<name>形式のバージョンが古いので\n読み込むことができません。\n\n<path>"
//   too new         "<name>形式のバージョンが新しいので\n読み込むことができません。\n最新版へバージョンアップして下さい。\n\n<path>"
//   damaged         "<name>形式のファイルが壊れているので\n読み込むことができません。\n\n<path>"
RECORD_RESULT Record_Result(const RECORD_FORMAT& f, RECORD_STATUS status, const char* path, int32_t version = 0);
// Shows the result's message the way it says (nothing for RECORD_OK).
void Record_Report(const RECORD_RESULT& res);
// Both at once; true for RECORD_OK.
bool Record_Report(const RECORD_FORMAT& f, RECORD_STATUS status, const char* path);

// The two directions of a field list. A list is written once,
//     template <class IO> bool EffectKey_Io(IO& io, EFFECT_KEY& k) { io.I32(k.frame); ... return io.Ok(); }
// and run with a RecordReadIO to read or a RecordWriteIO to write, so reader and writer cannot drift.
// The writer only reads the fields it is handed.
class RecordReadIO {
public:
    static constexpr bool kReading = true;
    explicit RecordReadIO(ByteReader& r) : r(r) {}
    bool Ok() const { return r.Ok(); }
    bool Fail() { return r.Fail(); }
    bool U8(uint8_t& v) { return r.U8(v); }
    bool U16(uint16_t& v) { return r.U16(v); }
    bool I16(int16_t& v) { return r.I16(v); }
    bool I32(int32_t& v) { return r.I32(v); }
    bool F32(float& v) { return r.F32(v); }
    bool F32s(float* v, size_t n) { return r.F32s(v, n); }
    bool I32s(int32_t* v, size_t n) { return r.I32s(v, n); }
    bool Bytes(void* v, size_t n) { return r.Bytes(v, n); }
    bool Str(char* s, size_t cap) { return r.Str(s, cap); }
    // A count checked against its limit and the bytes left (see ByteReader::Count).
    bool Count(int32_t& n, int32_t max, size_t minBytesEach) { return r.Count(n, max, minBytesEach); }
    ByteReader& r;
};

class RecordWriteIO {
public:
    static constexpr bool kReading = false;
    explicit RecordWriteIO(ByteWriter& w) : w(w) {}
    bool Ok() const { return true; }
    bool Fail() { return false; }
    bool U8(const uint8_t& v) { w.U8(v); return true; }
    bool U16(const uint16_t& v) { w.U16(v); return true; }
    bool I16(const int16_t& v) { w.I16(v); return true; }
    bool I32(const int32_t& v) { w.I32(v); return true; }
    bool F32(const float& v) { w.F32(v); return true; }
    bool F32s(const float* v, size_t n) { w.F32s(v, n); return true; }
    bool I32s(const int32_t* v, size_t n) { w.I32s(v, n); return true; }
    bool Bytes(const void* v, size_t n) { w.Bytes(v, n); return true; }
    bool Str(const char* s, size_t cap) { w.Str(s, cap); return true; }
    bool Count(const int32_t& n, int32_t, size_t) { w.I32(n); return true; }
    ByteWriter& w;
};

} // namespace QVL
