#include "frame/text.h"

#include <cstdio>
#include <cstring>

size_t Str_BoundaryBefore(const char* s, size_t len)
{
    size_t i = 0;
    while (i < len) {
        size_t step = Str_IsLeadByte((unsigned char)s[i]) ? 2 : 1;
        if (i + step > len) break;
        i += step;
    }
    return i;
}

bool Str_FormatV(char* dst, size_t cap, const char* fmt, va_list args)
{
    if (!dst || cap == 0) return false;
    int n = std::vsnprintf(dst, cap, fmt, args);
    if (n < 0) {
        dst[0] = 0;
        return false;
    }
    if ((size_t)n < cap) return true;
    dst[Str_BoundaryBefore(dst, cap - 1)] = 0;
    return false;
}

bool Str_Format(char* dst, size_t cap, const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    bool ok = Str_FormatV(dst, cap, fmt, args);
    va_end(args);
    return ok;
}

bool Str_CopyN(char* dst, size_t cap, const char* src, size_t n)
{
    if (!dst || cap == 0) return false;
    if (!src) src = "", n = 0;
    // Only the bytes before the terminator count, and none past it is read.
    const void* end = std::memchr(src, 0, n < cap ? n : cap);
    if (end) n = (size_t)((const char*)end - src);
    const bool fits = n < cap;
    if (!fits) n = Str_BoundaryBefore(src, cap - 1);
    std::memmove(dst, src, n);
    dst[n] = 0;
    return fits;
}

const char* Str_FindLastChar(const char* s, char c)
{
    const char* last = nullptr;
    if (!s) return nullptr;
    while (*s) {
        if (Str_IsLeadByte((unsigned char)*s) && s[1]) {
            s += 2;
            continue;
        }
        if (*s == c) last = s;
        ++s;
    }
    return last;
}
