// The checked byte reader and writer behind every binary format of the studio.
// Little-endian by default; the big-endian flavour serves IFF files. A read that does not fit the
// bytes left fails, leaves the reader failed, and every later read fails too, so a parser can read
// a whole block and test once. Counts and string lengths are checked before anything is allocated.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace QVL {

class ByteReader {
public:
    ByteReader(const void* data, size_t size, bool bigEndian = false);

    bool Ok() const { return !m_failed; }
    size_t Pos() const { return m_pos; }
    size_t Size() const { return m_size; }
    size_t Left() const { return m_failed ? 0 : m_size - m_pos; }
    bool AtEnd() const { return Left() == 0; }
    // Marks the reader failed (a value read fine but is out of range for the record).
    bool Fail() { m_failed = true; return false; }

    bool Skip(size_t n);
    bool Seek(size_t pos);
    bool Bytes(void* dst, size_t n);
    bool U8(uint8_t& v);
    bool I8(int8_t& v);
    bool U16(uint16_t& v);
    bool I16(int16_t& v);
    bool U32(uint32_t& v);
    bool I32(int32_t& v);
    bool F32(float& v);
    bool F64(double& v);
    // Reads n floats or int32s.
    bool F32s(float* v, size_t n);
    bool I32s(int32_t* v, size_t n);

    // An int32 count that must lie in 0..max and whose elements, at least minBytesEach bytes each,
    // must fit in the bytes left.
    bool Count(int32_t& n, int32_t max, size_t minBytesEach);

    // A string stored as an int32 byte count and the bytes without terminator, into a field of cap
    // bytes (terminated). A length that is negative, beyond the bytes left or not below cap fails.
    bool Str(char* dst, size_t cap);
    // The same, but a string longer than the field is cut to cap - 1 bytes (the rest is skipped).
    bool StrCut(char* dst, size_t cap);
    // cap bytes of a fixed-size text field, terminated at cap - 1.
    bool FixedStr(char* dst, size_t cap);

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_big;
    bool m_failed = false;
    bool Take(void* dst, size_t n, bool swap);
};

class ByteWriter {
public:
    explicit ByteWriter(bool bigEndian = false) : m_big(bigEndian) {}

    const std::vector<uint8_t>& Data() const { return m_buf; }
    std::vector<uint8_t>& Data() { return m_buf; }
    size_t Size() const { return m_buf.size(); }

    void Bytes(const void* src, size_t n);
    void Zeros(size_t n);
    void U8(uint8_t v);
    void I8(int8_t v) { U8((uint8_t)v); }
    void U16(uint16_t v);
    void I16(int16_t v) { U16((uint16_t)v); }
    void U32(uint32_t v);
    void I32(int32_t v) { U32((uint32_t)v); }
    void F32(float v);
    void F64(double v);
    void F32s(const float* v, size_t n);
    void I32s(const int32_t* v, size_t n);
    // int32 byte count and the bytes of a terminated string (at most cap - 1 of them).
    void Str(const char* s, size_t cap = 256);
    // A fixed-size text field of cap bytes, zero-padded.
    void FixedStr(const char* s, size_t cap);
    // Patches a value written earlier (chunk sizes).
    void PatchU32(size_t pos, uint32_t v);

private:
    std::vector<uint8_t> m_buf;
    bool m_big;
    void Put(const void* src, size_t n, bool swap);
};

// Largest file the readers take whole into memory (the studio is a 32-bit program).
constexpr size_t kMaxFileBytes = 256u * 1024u * 1024u;

// Reads a whole file. False when it cannot be opened, is larger than kMaxFileBytes or fails to read.
bool File_ReadAll(const char* path, std::vector<uint8_t>& out);

// Writes a whole file through a temporary file beside it that then replaces the old one, so a
// failed save never leaves a truncated file in the old one's place. False on any failure.
bool File_WriteAll(const char* path, const void* data, size_t size);
inline bool File_WriteAll(const char* path, const ByteWriter& w)
{
    return File_WriteAll(path, w.Data().data(), w.Size());
}

// The message every reader shows for a file whose contents do not hold together:
// "<format>形式のファイルが壊れているので\n読み込むことができません。\n\n<path>".
void File_ReportDamaged(const char* formatName, const char* path);
// Its text, into out (cut to cap).
bool File_FormatDamaged(char* out, size_t cap, const char* formatName, const char* path);
// "<path> に書き込むことができませんでした。"
void File_ReportWriteFailed(const char* path);

} // namespace QVL
