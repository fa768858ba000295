#include "frame/paths.h"

#include <sys/stat.h>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "frame/services.h"
#include "frame/text.h"

QVL::FILE_DLG g_FileDlg;

namespace {

// One result buffer per function and thread: the loader thread asks for extensions too.
thread_local char t_extension[256];
thread_local char t_stem[256];
thread_local char t_dirPart[256];

// The file-name part of a path: what follows its last real separator.
const char* NamePart(const char* path)
{
    const char* sep = Str_FindLastChar(path, '\\');
    return sep ? sep + 1 : path;
}

} // namespace

const char* File_GetExtension(const char* name)
{
    t_extension[0] = 0;
    if (!name) return t_extension;
    // A dot in a folder name is not an extension.
    const char* base = NamePart(name);
    const char* dot = Str_FindLastChar(base, '.');
    if (dot && dot != base) Str_CopyN(t_extension, sizeof t_extension, dot + 1);
    return t_extension;
}

const char* File_StripExtension(const char* name)
{
    t_stem[0] = 0;
    if (!name) return t_stem;
    const char* dot = Str_FindLastChar(NamePart(name), '.');
    if (!dot) return t_stem;
    Str_CopyN(t_stem, sizeof t_stem, name, (size_t)(dot - name));
    return t_stem;
}

const char* File_GetDirPart(const char* path)
{
    t_dirPart[0] = 0;
    if (!path) return t_dirPart;
    const char* sep = Str_FindLastChar(path, '\\');
    if (!sep) return t_dirPart;
    Str_CopyN(t_dirPart, sizeof t_dirPart, path, (size_t)(sep - path));
    return t_dirPart;
}

bool File_Exists(const char* name)
{
    if (!name || !name[0]) return false;
    FILE* f = std::fopen(name, "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

int32_t File_GetSize(const char* path)
{
    if (!path) return -1;
    struct stat st;
    if (stat(path, &st) != 0) return -1;
    if (st.st_size < 0 || (uint64_t)st.st_size > (uint64_t)INT32_MAX) return -1;
    return (int32_t)st.st_size;
}

void File_SetDialogDir(const char* folder)
{
    Str_CopyN(g_FileDlg.startDir, sizeof g_FileDlg.startDir, folder);
}

bool File_ChDir(const char* folder)
{
    return folder && Svc_SetCurrentDirectory(folder);
}
