#include "frame/bytes.h"

#include <cstdio>
#include <cstring>

#include "frame/services.h"
#include "frame/text.h"

namespace QVL {

ByteReader::ByteReader(const void* data, size_t size, bool bigEndian)
    : m_data(static_cast<const uint8_t*>(data)), m_size(data ? size : 0), m_big(bigEndian)
{
}

bool ByteReader::Take(void* dst, size_t n, bool swap)
{
    if (m_failed || n > m_size - m_pos) {
        m_failed = true;
        return false;
    }
    if (swap) {
        uint8_t* d = static_cast<uint8_t*>(dst);
        for (size_t i = 0; i < n; ++i) d[i] = m_data[m_pos + n - 1 - i];
    } else if (n) {
        std::memcpy(dst, m_data + m_pos, n);
    }
    m_pos += n;
    return true;
}

bool ByteReader::Skip(size_t n)
{
    if (m_failed || n > m_size - m_pos) return Fail();
    m_pos += n;
    return true;
}

bool ByteReader::Seek(size_t pos)
{
    if (m_failed || pos > m_size) return Fail();
    m_pos = pos;
    return true;
}

bool ByteReader::Bytes(void* dst, size_t n) { return Take(dst, n, false); }
bool ByteReader::U8(uint8_t& v) { return Take(&v, 1, false); }
bool ByteReader::I8(int8_t& v) { return Take(&v, 1, false); }
bool ByteReader::U16(uint16_t& v) { return Take(&v, 2, m_big); }
bool ByteReader::I16(int16_t& v) { return Take(&v, 2, m_big); }
bool ByteReader::U32(uint32_t& v) { return Take(&v, 4, m_big); }
bool ByteReader::I32(int32_t& v) { return Take(&v, 4, m_big); }
bool ByteReader::F32(float& v) { return Take(&v, 4, m_big); }
bool ByteReader::F64(double& v) { return Take(&v, 8, m_big); }

bool ByteReader::F32s(float* v, size_t n)
{
    if (m_failed || n > (m_size - m_pos) / 4) return Fail();
    for (size_t i = 0; i < n; ++i) F32(v[i]);
    return true;
}

bool ByteReader::I32s(int32_t* v, size_t n)
{
    if (m_failed || n > (m_size - m_pos) / 4) return Fail();
    for (size_t i = 0; i < n; ++i) I32(v[i]);
    return true;
}

bool ByteReader::Count(int32_t& n, int32_t max, size_t minBytesEach)
{
    if (!I32(n)) return false;
    if (n < 0 || n > max) return Fail();
    if (minBytesEach && (size_t)n > Left() / minBytesEach) return Fail();
    return true;
}

bool ByteReader::Str(char* dst, size_t cap)
{
    int32_t len = 0;
    if (!I32(len)) return false;
    if (len < 0 || (size_t)len >= cap || (size_t)len > Left()) return Fail();
    Take(dst, (size_t)len, false);
    dst[len] = 0;
    return true;
}

bool ByteReader::StrCut(char* dst, size_t cap)
{
    int32_t len = 0;
    if (!I32(len)) return false;
    if (len < 0 || (size_t)len > Left() || cap == 0) return Fail();
    size_t keep = (size_t)len < cap ? (size_t)len : cap - 1;
    Take(dst, keep, false);
    Skip((size_t)len - keep);
    dst[keep] = 0;
    return true;
}

bool ByteReader::FixedStr(char* dst, size_t cap)
{
    if (cap == 0 || !Take(dst, cap, false)) return false;
    dst[cap - 1] = 0;
    return true;
}

void ByteWriter::Put(const void* src, size_t n, bool swap)
{
    const uint8_t* s = static_cast<const uint8_t*>(src);
    size_t at = m_buf.size();
    m_buf.resize(at + n);
    for (size_t i = 0; i < n; ++i) m_buf[at + i] = swap ? s[n - 1 - i] : s[i];
}

void ByteWriter::Bytes(const void* src, size_t n) { Put(src, n, false); }
void ByteWriter::Zeros(size_t n) { m_buf.resize(m_buf.size() + n, 0); }
void ByteWriter::U8(uint8_t v) { m_buf.push_back(v); }
void ByteWriter::U16(uint16_t v) { Put(&v, 2, m_big); }
void ByteWriter::U32(uint32_t v) { Put(&v, 4, m_big); }
void ByteWriter::F32(float v) { Put(&v, 4, m_big); }
void ByteWriter::F64(double v) { Put(&v, 8, m_big); }

void ByteWriter::F32s(const float* v, size_t n)
{
    for (size_t i = 0; i < n; ++i) F32(v[i]);
}

void ByteWriter::I32s(const int32_t* v, size_t n)
{
    for (size_t i = 0; i < n; ++i) I32(v[i]);
}

void ByteWriter::Str(const char* s, size_t cap)
{
    size_t len = 0;
    if (s) while (len + 1 < cap && s[len]) ++len;
    I32((int32_t)len);
    Put(s, len, false);
}

void ByteWriter::FixedStr(const char* s, size_t cap)
{
    size_t len = 0;
    if (s) while (len + 1 < cap && s[len]) ++len;
    Put(s, len, false);
    Zeros(cap - len);
}

void ByteWriter::PatchU32(size_t pos, uint32_t v)
{
    if (pos + 4 > m_buf.size()) return;
    for (int i = 0; i < 4; ++i) {
        uint8_t b = (uint8_t)(v >> (8 * i));
        m_buf[pos + (m_big ? 3 - i : i)] = b;
    }
}

bool File_ReadAll(const char* path, std::vector<uint8_t>& out)
{
    out.clear();
    if (!path || !*path) return false;
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && (size_t)size <= kMaxFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        out.resize((size_t)size);
        ok = size == 0 || std::fread(out.data(), 1, (size_t)size, f) == (size_t)size;
    }
    std::fclose(f);
    if (!ok) out.clear();
    return ok;
}

bool File_WriteAll(const char* path, const void* data, size_t size)
{
    if (!path || !*path) return false;
    char tmp[600];
    if (!Str_Format(tmp, sizeof tmp, "%s.tmp", path)) return false;
    FILE* f = std::fopen(tmp, "wb");
    if (!f) return false;
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) ok = Svc_ReplaceFile(tmp, path);
    if (!ok) std::remove(tmp);
    return ok;
}

bool File_FormatDamaged(char* out, size_t cap, const char* formatName, const char* path)
{
    return Str_Format(out, cap, "%s形式のファイルが壊れているので\n読み込むことができません。\n\n%s",
                      formatName ? formatName : "", path ? path : "");
}

void File_ReportDamaged(const char* formatName, const char* path)
{
    char text[1024];
    File_FormatDamaged(text, sizeof text, formatName, path);
    Lib_MessageBox(text);
}

void File_ReportWriteFailed(const char* path)
{
    char text[800];
    Str_Format(text, sizeof text, "%s に書き込むことができませんでした。", path ? path : "");
    Lib_MessageBox(text);
}

} // namespace QVL
