// Bounded text helpers over CP932 strings (the studio's text is CP932 in both builds).
#pragma once
#include <cstdarg>
#include <cstddef>

// True for a CP932 lead byte (0x81-0x9F, 0xE0-0xFC); the byte after it belongs to the same character
// and may be any value, '\\' (0x5C) included.
inline bool Str_IsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// printf into dst of cap bytes, always terminated. A result that does not fit is cut at a character
// boundary and the function returns false.
bool Str_Format(char* dst, size_t cap, const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
bool Str_FormatV(char* dst, size_t cap, const char* fmt, va_list args);

// Copies src, up to its terminator or its first n bytes, into dst of cap bytes: always terminated,
// cut at a character boundary, false when cut. A null src copies as "".
bool Str_CopyN(char* dst, size_t cap, const char* src, size_t n = (size_t)-1);

// Length of the longest prefix of s (of len bytes) that ends on a CP932 character boundary.
size_t Str_BoundaryBefore(const char* s, size_t len);

// Last occurrence of the single-byte character c in s, skipping the second bytes of double-byte
// characters; null when there is none.
const char* Str_FindLastChar(const char* s, char c);
