#include "frame/win32/media.h"

#include <vfw.h>
#include <cstring>

#include "frame/lib.h"
#include "frame/log.h"
#include "frame/paths.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"

MEDIA g_Media;

namespace {

bool StoppedLooping()
{
    return g_Media.wnd && g_Media.loop &&
           SendMessageA(g_Media.wnd, MCIWNDM_GETMODEA, 0, 0) == MCI_MODE_STOP;
}

} // namespace

bool MediaPlay(const char* path, int32_t loop)
{
    if (!path) return false;
    // The caller may hand in g_Media.path itself, which Media_Stop clears.
    char file[256];
    if (!Str_CopyN(file, sizeof file, path)) return false;
    if (g_Media.path[0] && std::strcmp(file, g_Media.path) == 0 && !StoppedLooping()) return true;

    Log_Printf("MediaPlay %s", file);
    Media_Stop();
    HINSTANCE inst = g_Lib.instance ? (HINSTANCE)g_Lib.instance : GetModuleHandleA(nullptr);
    HWND wnd = MCIWndCreateA(g_MainWnd, inst,
                             WS_CHILD | MCIWNDF_NOPLAYBAR | MCIWNDF_NOMENU | MCIWNDF_NOTIFYMODE | MCIWNDF_NOERRORDLG,
                             nullptr);
    if (!wnd) return false;
    g_Media.wnd = wnd;
    SendMessageA(wnd, MCI_STOP, 0, 0);
    // The open's own error counts too: some MCI window versions keep a device ID from a failed
    // open when no error box is allowed.
    LRESULT error = SendMessageA(wnd, MCIWNDM_OPENA, 0, (LPARAM)file);
    if (error != 0 || SendMessageA(wnd, MCIWNDM_GETDEVICEID, 0, 0) == 0) {
        Media_Stop();
        return false;
    }
    // Remembered only once it opened: a file that failed must be tried again next time.
    Str_CopyN(g_Media.path, sizeof g_Media.path, file);
    SendMessageA(wnd, MCI_PLAY, 0, 0);
    MoveWindow(wnd, 0, 0, Lib_GetWindowWidth(), Lib_GetWindowHeight(), TRUE);
    const char* ext = File_GetExtension(file);
    g_Media.video = std::strcmp(ext, "ASX") == 0 || std::strcmp(ext, "AVI") == 0 || std::strcmp(ext, "MPG") == 0 ||
                    std::strcmp(ext, "WMV") == 0;
    g_Media.loop = loop != 0;
    g_Media.playing = true;
    Lib_ResetFrameTimer();
    return true;
}

void Media_Stop()
{
    if (g_Media.wnd) {
        HWND wnd = g_Media.wnd;
        g_Media.wnd = nullptr;
        SendMessageA(wnd, MCI_STOP, 0, 0);
        SendMessageA(wnd, WM_CLOSE, 0, 0);
    }
    // Forgotten, so that playing the same file again starts it.
    g_Media.path[0] = 0;
    g_Media.playing = false;
    g_Media.video = false;
    Lib_ResetFrameTimer();
}

namespace {

UINT_PTR g_stoppedTimer = 0;
HWND g_stoppedWnd = nullptr;

void CALLBACK OnStopped(HWND, UINT, UINT_PTR, DWORD)
{
    KillTimer(nullptr, g_stoppedTimer);
    g_stoppedTimer = 0;
    // Something else may have stopped or replaced the medium meanwhile.
    if (!g_Media.playing || g_Media.wnd != g_stoppedWnd) return;
    if (g_Media.loop) {
        char file[256];
        Str_CopyN(file, sizeof file, g_Media.path);
        g_Media.path[0] = 0;
        MediaPlay(file, 1);
    } else {
        Media_Stop();
    }
}

} // namespace

void Media_OnStopped()
{
    if (!g_Media.wnd || !g_Media.playing) return;
    // Closing the window inside its own notification would pull it from under its caller.
    g_stoppedWnd = g_Media.wnd;
    if (!g_stoppedTimer) g_stoppedTimer = SetTimer(nullptr, 0, 0, OnStopped);
}

HWND Media_GetWindow()
{
    return g_Media.wnd;
}

bool Media_IsVideoPlaying()
{
    return g_Media.playing && g_Media.video;
}
