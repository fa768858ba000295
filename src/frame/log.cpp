#include "frame/log.h"

#include <cstdarg>

#include "frame/services.h"
#include "frame/text.h"

void Log_Printf(const char* fmt, ...)
{
    char line[256];
    va_list args;
    va_start(args, fmt);
    Str_FormatV(line, sizeof line, fmt, args);
    va_end(args);
    Svc_LogLine(line);
}
