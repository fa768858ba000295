#include "frame/win32/file_dialog.h"

#include <commdlg.h>
#include <shlobj.h>
#include <cstring>

#include "frame/lib.h"
#include "frame/paths.h"
#include "frame/text.h"

namespace {

// "%s Files (*.%s)" and "*.%s", each terminated, then the empty string that ends the list.
void BuildFilter(char* out, size_t cap, const char* extension)
{
    std::memset(out, 0, cap);
    if (!extension) extension = "";
    // Two terminators of the pair and the final empty string must always fit.
    Str_Format(out, cap - 2, "%s Files (*.%s)", extension, extension);
    size_t used = std::strlen(out) + 1;
    Str_Format(out + used, cap - used - 1, "*.%s", extension);
}

// Leaves the current directory at the folder of the chosen full path: the dialog does so itself
// (no OFN_NOCHANGEDIR), but the loaders must not depend on how a platform version handles it.
void EnterFolderOf(const OPENFILENAMEA& ofn)
{
    if (ofn.nFileOffset == 0) return;
    char folder[MAX_PATH];
    size_t n = ofn.nFileOffset;
    if (n >= sizeof folder) return;
    std::memcpy(folder, ofn.lpstrFile, n);
    folder[n] = 0;
    // Keep the root's separator ("C:\"), drop any other trailing one.
    if (n > 3 && folder[n - 1] == '\\') folder[n - 1] = 0;
    SetCurrentDirectoryA(folder);
}

// The current directory before a dialog: a cancelled dialog leaves it as it was, wherever the user
// browsed (some platform versions move it while browsing).
struct SavedDir {
    char path[MAX_PATH];
    bool ok;
    SavedDir()
    {
        DWORD n = GetCurrentDirectoryA(sizeof path, path);
        ok = n > 0 && n < sizeof path;
    }
    void Restore() const
    {
        if (ok) SetCurrentDirectoryA(path);
    }
};

const char* RunOpen(HWND owner, const char* filter, const char* defExt, const char* title, const char* initialName,
                    char* fileBuf, char* result)
{
    Str_CopyN(fileBuf, 256, initialName);
    if (!g_FileDlg.startDir[0]) File_SetDialogDir(g_Lib.dataFolder);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = owner ? (HINSTANCE)GetWindowLongPtrA(owner, GWLP_HINSTANCE) : nullptr;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = fileBuf;
    ofn.nMaxFile = 256;
    ofn.lpstrFileTitle = result;
    ofn.nMaxFileTitle = 256;
    ofn.lpstrInitialDir = g_FileDlg.startDir[0] ? g_FileDlg.startDir : nullptr;
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_HIDEREADONLY;
    ofn.lpstrDefExt = defExt;
    result[0] = 0;
    SavedDir before;
    BOOL ok = GetOpenFileNameA(&ofn);
    if (ok) {
        EnterFolderOf(ofn);
        char cwd[256];
        DWORD n = GetCurrentDirectoryA(sizeof cwd, cwd);
        if (n > 0 && n < sizeof cwd) File_SetDialogDir(cwd);
    } else {
        result[0] = 0;
        before.Restore();
    }
    Lib_ResetFrameTimer();
    return result;
}

} // namespace

const char* File_OpenDialog(HWND owner, const char* extension, const char* title, const char* initialName)
{
    BuildFilter(g_FileDlg.openFilter, sizeof g_FileDlg.openFilter, extension);
    return RunOpen(owner, g_FileDlg.openFilter, extension, title, initialName, g_FileDlg.openInit, g_FileDlg.openResult);
}

const char* File_OpenDialogFilter(HWND owner, const char* filter, const char* title, const char* initialName)
{
    return RunOpen(owner, filter, nullptr, title, initialName, g_FileDlg.openFilterInit, g_FileDlg.openFilterResult);
}

const char* File_SaveDialog(HWND owner, const char* extension, const char* title, const char* initialName)
{
    BuildFilter(g_FileDlg.saveFilter, sizeof g_FileDlg.saveFilter, extension);
    Str_CopyN(g_FileDlg.saveInit, sizeof g_FileDlg.saveInit, initialName);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = owner ? (HINSTANCE)GetWindowLongPtrA(owner, GWLP_HINSTANCE) : nullptr;
    ofn.lpstrFilter = g_FileDlg.saveFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = g_FileDlg.saveInit;
    ofn.nMaxFile = 256;
    ofn.lpstrFileTitle = g_FileDlg.saveResult;
    ofn.nMaxFileTitle = 256;
    ofn.lpstrInitialDir = g_FileDlg.startDir[0] ? g_FileDlg.startDir : nullptr;
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_OVERWRITEPROMPT;
    ofn.lpstrDefExt = extension;
    g_FileDlg.saveResult[0] = 0;
    SavedDir before;
    if (GetSaveFileNameA(&ofn)) {
        EnterFolderOf(ofn);
    } else {
        g_FileDlg.saveResult[0] = 0;
        before.Restore();
    }
    Lib_ResetFrameTimer();
    return g_FileDlg.saveResult;
}

namespace {

int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM, LPARAM data)
{
    if (msg == BFFM_INITIALIZED) SendMessageA(wnd, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

} // namespace

bool File_ChooseFolder(char* folder)
{
    char start[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof start, start);
    if (n == 0 || n >= sizeof start) start[0] = 0;
    folder[0] = 0;
    char display[MAX_PATH];
    BROWSEINFOA bi = {};
    bi.hwndOwner = nullptr;
    bi.pszDisplayName = display;
    bi.lpszTitle = "フォルダを選択して下さい";
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    bi.lpfn = BrowseCallback;
    bi.lParam = (LPARAM)start;
    LPITEMIDLIST item = SHBrowseForFolderA(&bi);
    bool chosen = false;
    if (item) {
        char path[MAX_PATH];
        // A folder whose path does not fit the caller's 256 bytes is not returned cut short.
        if (SHGetPathFromIDListA(item, path) && std::strlen(path) < 256) {
            Str_CopyN(folder, 256, path);
            chosen = true;
        }
        CoTaskMemFree(item);
    }
    Lib_ResetFrameTimer();
    return chosen;
}

uint32_t Lib_GetFreePhysMemory()
{
    MEMORYSTATUS ms = {};
    ms.dwLength = sizeof ms;
    GlobalMemoryStatus(&ms);
    return (uint32_t)ms.dwAvailPhys;
}
