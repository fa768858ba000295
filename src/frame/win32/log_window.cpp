#include "frame/win32/log_window.h"

#include <cstdlib>
#include <cstring>

#include "frame/lib.h"
#include "frame/services.h"

LOG_WND g_LogWnd;

namespace {

// A line from another thread, posted as a heap copy: sending would block that thread on the main
// thread, which may itself be waiting for it (the loader at shut-down).
const UINT kPostedLine = WM_APP + 0x10;

void AddLine(const char* line)
{
    SendMessageA(g_LogWnd.list, LB_ADDSTRING, 0, (LPARAM)line);
    SendMessageA(g_LogWnd.list, LB_SETCURSEL, (WPARAM)g_LogWnd.lines, 0);
    ++g_LogWnd.lines;
}

LRESULT CALLBACK LogWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SIZE:
        if (g_LogWnd.list) {
            RECT r;
            GetWindowRect(wnd, &r);
            MoveWindow(g_LogWnd.list, 0, 0, (r.right - r.left) - 8, (r.bottom - r.top) - 32, TRUE);
        }
        break;
    case WM_KEYUP:
        if (wp == VK_ESCAPE) {
            SendMessageA(wnd, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case kPostedLine: {
        char* line = reinterpret_cast<char*>(lp);
        if (g_LogWnd.list) AddLine(line);
        std::free(line);
        return 0;
    }
    case WM_DESTROY:
        if (wnd == g_LogWnd.wnd) {
            g_LogWnd.wnd = nullptr;
            g_LogWnd.list = nullptr;
        }
        break;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

} // namespace

void Log_CreateWindow()
{
    if (g_LogWnd.created) return;
    HINSTANCE inst = g_Lib.instance ? (HINSTANCE)g_Lib.instance : GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = LogWndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = "LogWin";
    RegisterClassA(&wc);

    int screenH = GetSystemMetrics(SM_CYSCREEN);
    RECT r = {0, 0, 292, screenH - 90};
    AdjustWindowRect(&r, 0x10CF0000, TRUE);
    HWND wnd = CreateWindowA("LogWin", "Log", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, inst, nullptr);
    if (!wnd) return;
    HWND list = CreateWindowA("LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 292,
                              screenH - 58, wnd, nullptr, inst, nullptr);
    if (!list) {
        DestroyWindow(wnd);
        return;
    }
    g_LogWnd.wnd = wnd;
    g_LogWnd.list = list;
    g_LogWnd.lines = 0;
    g_LogWnd.thread = GetCurrentThreadId();
    g_LogWnd.created = true;
}

void Log_DestroyWindow()
{
    if (g_LogWnd.wnd) DestroyWindow(g_LogWnd.wnd);
}

void Svc_LogLine(const char* line)
{
    HWND wnd = g_LogWnd.wnd;
    if (!wnd || !g_LogWnd.list || !line) return;
    if (GetCurrentThreadId() == g_LogWnd.thread) {
        AddLine(line);
        return;
    }
    size_t n = std::strlen(line) + 1;
    char* copy = static_cast<char*>(std::malloc(n));
    if (!copy) return;
    std::memcpy(copy, line, n);
    if (!PostMessageA(wnd, kPostedLine, 0, (LPARAM)copy)) std::free(copy);
}
