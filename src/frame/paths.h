// Small path functions and the file-dialog buffers. Every loader joins the current directory with
// the bare file name a dialog returned, so the current directory is part of the interface.
// Paths are CP932: separators are searched double-byte aware (a second byte may be 0x5C).
#pragma once
#include <cstdint>

namespace QVL {

// The library's file-dialog object: fixed buffers, each valid until the next call that writes it.
struct FILE_DLG {
    char startDir[256];          // where the next open or save dialog starts; empty at start
    char openResult[256];        // the chosen name without its folder
    char openFilterResult[256];
    char saveResult[256];
    char openInit[256];          // the caller's initial name (the dialog's file buffer)
    char openFilterInit[256];
    char saveInit[256];
    char openFilter[256];        // "%s Files (*.%s)" "*.%s" pairs built from the extension
    char saveFilter[256];
};

} // namespace QVL

extern QVL::FILE_DLG g_FileDlg;

// The text after the last '.' of the name (the part after the last '\\'); "" when there is none or
// when the name starts with its only dot. The result lives until the next call on this thread.
const char* File_GetExtension(const char* name);
// The name cut at its last '.'; "" when the name has no '.'.
const char* File_StripExtension(const char* name);
// The path cut at its last '\\'; "" when it has none.
const char* File_GetDirPart(const char* path);
// True when the file opens for reading.
bool File_Exists(const char* name);
// The file's size in bytes; -1 when it cannot be read (or does not fit an int32).
int32_t File_GetSize(const char* path);
void File_SetDialogDir(const char* folder);
bool File_ChDir(const char* folder);
