#include "wine/support/driver.h"

#include <cstdio>

#ifndef QV_EXE_NAME
#define QV_EXE_NAME "QVViduzaRozar.exe"
#endif

static const wchar_t kCaption[] = L"QV Viduza Rozar 2009.09";

std::string Drive_ExeFolder()
{
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    while (n > 0 && exe[n - 1] != '\\') --n;
    return std::string(exe, n);
}

std::string Drive_DataPath(const std::string& relative) { return Drive_ExeFolder() + "Data\\" + relative; }

bool Drive_ReadFile(const std::string& path, std::vector<uint8_t>& out)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    out.clear();
    uint8_t buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    std::fclose(f);
    return true;
}

bool Drive_WriteFile(const std::string& path, const std::vector<uint8_t>& data)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

std::wstring Drive_Text(HWND wnd)
{
    wchar_t buf[1024];
    int n = GetWindowTextW(wnd, buf, 1024);
    return std::wstring(buf, n > 0 ? n : 0);
}

struct EnumArgs {
    DWORD pid;
    const wchar_t* cls;
    std::vector<HWND>* out;
};

static BOOL CALLBACK EnumTop(HWND wnd, LPARAM p)
{
    EnumArgs* a = (EnumArgs*)p;
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != a->pid || !IsWindowVisible(wnd)) return TRUE;
    if (a->cls) {
        wchar_t cls[128];
        GetClassNameW(wnd, cls, 128);
        if (lstrcmpW(cls, a->cls) != 0) return TRUE;
    }
    a->out->push_back(wnd);
    return TRUE;
}

std::vector<HWND> Drive_WindowsOf(DWORD pid, const wchar_t* className)
{
    std::vector<HWND> out;
    EnumArgs a = {pid, className, &out};
    EnumWindows(EnumTop, (LPARAM)&a);
    return out;
}

HWND Drive_FindTitled(DWORD pid, const std::wstring& title)
{
    for (HWND w : Drive_WindowsOf(pid))
        if (Drive_Text(w) == title) return w;
    return nullptr;
}

int Drive_CountTitled(DWORD pid, const std::wstring& title)
{
    int n = 0;
    for (HWND w : Drive_WindowsOf(pid)) n += Drive_Text(w) == title;
    return n;
}

COLORREF Drive_ClientPixel(HWND wnd, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(wnd, &p);
    // Copied out of the screen first: the screen DC itself answers no pixel reads here.
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 1, 1);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, 1, 1, screen, p.x, p.y, SRCCOPY);
    COLORREF c = GetPixel(mem, 0, 0);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return c;
}

BoxAnswerer::BoxAnswerer(DWORD pid) : m_pid(pid)
{
    InitializeCriticalSection(&m_lock);
    m_thread = CreateThread(nullptr, 0, Thread, this, 0, nullptr);
}

BoxAnswerer::~BoxAnswerer()
{
    InterlockedExchange(&m_stop, 1);
    if (m_thread) {
        WaitForSingleObject(m_thread, 5000);
        CloseHandle(m_thread);
    }
    DeleteCriticalSection(&m_lock);
}

void BoxAnswerer::Answer(int id) { InterlockedExchange(&m_answer, id); }

std::vector<BoxAnswerer::Seen> BoxAnswerer::SeenBoxes()
{
    EnterCriticalSection(&m_lock);
    std::vector<Seen> s = m_seen;
    LeaveCriticalSection(&m_lock);
    return s;
}

bool BoxAnswerer::WaitForBox(const std::wstring& text, int ms)
{
    return Drive_WaitFor([&] {
        for (const Seen& s : SeenBoxes())
            if (s.text == text) return true;
        return false;
    }, ms);
}

static BOOL CALLBACK CollectStatics(HWND child, LPARAM p)
{
    wchar_t cls[64];
    GetClassNameW(child, cls, 64);
    if (lstrcmpiW(cls, L"Static") == 0) {
        std::wstring t = Drive_Text(child);
        if (!t.empty()) {
            std::wstring* all = (std::wstring*)p;
            if (!all->empty()) *all += L"\n";
            *all += t;
        }
    }
    return TRUE;
}

void BoxAnswerer::Poll()
{
    for (HWND w : Drive_WindowsOf(m_pid, L"#32770")) {
        if (Drive_Text(w) != kCaption) continue;
        bool known = false;
        for (HWND a : m_answered) known = known || a == w;
        if (known) {
            if (IsWindow(w)) PostMessageW(w, WM_COMMAND, IDCANCEL, 0);  // a box without that button
            continue;
        }
        std::wstring text;
        EnumChildWindows(w, CollectStatics, (LPARAM)&text);
        int answer = (int)m_answer;
        EnterCriticalSection(&m_lock);
        m_seen.push_back({text, answer});
        LeaveCriticalSection(&m_lock);
        m_answered.push_back(w);
        PostMessageW(w, WM_COMMAND, answer, 0);
    }
}

DWORD WINAPI BoxAnswerer::Thread(LPVOID self)
{
    BoxAnswerer* b = (BoxAnswerer*)self;
    while (!b->m_stop) {
        b->Poll();
        Sleep(100);
    }
    return 0;
}

bool StudioProcess::Start(const std::string& args, int ms)
{
    std::string folder = Drive_ExeFolder();
    std::string exe = folder + QV_EXE_NAME;
    std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back(0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &m_pi))
        return false;
    return Drive_WaitFor([&] {
        std::vector<HWND> w = Drive_WindowsOf(m_pi.dwProcessId, L"D3D Window");
        m_main = w.empty() ? nullptr : w[0];
        return m_main != nullptr;
    }, ms);
}

bool StudioProcess::Running() const
{
    return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool StudioProcess::WaitExit(int ms, DWORD* code)
{
    if (!m_pi.hProcess || WaitForSingleObject(m_pi.hProcess, ms) != WAIT_OBJECT_0) return false;
    if (code) GetExitCodeProcess(m_pi.hProcess, code);
    return true;
}

void StudioProcess::Kill()
{
    if (!m_pi.hProcess) return;
    if (Running()) {
        TerminateProcess(m_pi.hProcess, 9);
        WaitForSingleObject(m_pi.hProcess, 10000);
    }
    CloseHandle(m_pi.hProcess);
    CloseHandle(m_pi.hThread);
    m_pi = {};
    m_main = nullptr;
}
