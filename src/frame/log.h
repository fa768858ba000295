// The log: one formatted line per call into the log window ("LogWin"), dropped while it does not exist.
#pragma once

// Formats into 256 bytes (longer lines are cut) and hands the line to the log window.
void Log_Printf(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// The trace function: empty in this build.
inline void Log_DebugPrintf(const char*, ...) {}
