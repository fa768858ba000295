#include "wine/support/driver.h"

#include <cstdio>
#include <cstring>

#include <shlobj.h>

#include "wine/support/input.h"

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

std::wstring Drive_Wide(const std::string& s)
{
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w((size_t)(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
    return w;
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

bool Drive_ClickFree(HWND wnd)
{
    RECT c;
    if (!GetClientRect(wnd, &c)) return false;
    const int fractions[][2] = {{95, 95}, {5, 95}, {95, 50}, {50, 95}, {5, 50}, {50, 50}, {95, 5}, {5, 5}};
    for (const auto& f : fractions) {
        POINT p = {c.right * f[0] / 100, c.bottom * f[1] / 100};
        ClientToScreen(wnd, &p);
        if (WindowFromPoint(p) != wnd) continue;
        Input_ClickScreen(p.x, p.y);
        // The keys that follow go to the window only once it is the foreground.
        HWND top = GetAncestor(wnd, GA_ROOT);
        return Drive_WaitFor([&] { return GetForegroundWindow() == top; }, 15000);  // slow under a loaded emulator
    }
    return false;
}

bool Drive_SaveModel(DWORD pid, const wchar_t* menu, const std::string& path, std::vector<uint8_t>& bytes)
{
    DeleteFileA(path.c_str());
    if (!Drive_MenuCommand(menu, 40024)) return false;
    if (!Drive_AnswerFileDialog(pid, L"名前を付けてファイルに保存", Drive_Wide(path), 60000)) return false;
    if (!Drive_WaitFor([&] { return Drive_ReadFile(path, bytes) && !bytes.empty(); }, 60000)) return false;
    Sleep(500);
    return Drive_ReadFile(path, bytes);
}

std::vector<std::wstring> Drive_ListRows(HWND list)
{
    std::vector<std::wstring> rows;
    const int n = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n && i < 256; ++i) {
        const int len = (int)SendMessageW(list, LB_GETTEXTLEN, (WPARAM)i, 0);
        if (len < 0 || len > 1000) break;
        std::wstring text((size_t)len + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, (WPARAM)i, (LPARAM)&text[0]);
        text.resize((size_t)len);
        rows.push_back(text);
    }
    return rows;
}

bool Drive_ClickCaption(HWND wnd)
{
    RECT w;
    if (!GetWindowRect(wnd, &w)) return false;
    POINT client = {0, 0};
    ClientToScreen(wnd, &client);
    const int captionBottom = client.y - GetSystemMetrics(SM_CYMENU);
    POINT p = {(w.left + w.right) / 2, (w.top > 0 ? w.top : 0) + GetSystemMetrics(SM_CYCAPTION) / 2};
    if (p.y >= captionBottom) p.y = (w.top + captionBottom) / 2;
    if (GetAncestor(WindowFromPoint(p), GA_ROOT) != wnd) return false;
    Input_ClickScreen(p.x, p.y);
    return Drive_WaitFor([&] { return GetForegroundWindow() == wnd; }, 15000);
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

// The file-name field of the open and save dialogs (edt1, or the combo box cmb13 of newer ones,
// which Wine builds as a ComboBoxEx32 holding a ComboBox holding the Edit).
static HWND FileNameField(HWND dlg)
{
    HWND edit = GetDlgItem(dlg, 0x480);
    if (edit) return edit;
    HWND combo = GetDlgItem(dlg, 0x47C);
    if (!combo) return nullptr;
    edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    if (edit) return edit;
    HWND inner = FindWindowExW(combo, nullptr, L"ComboBox", nullptr);
    return inner ? FindWindowExW(inner, nullptr, L"Edit", nullptr) : nullptr;
}

bool Drive_AnswerFileDialog(DWORD pid, const std::wstring& title, const std::wstring& path, int ms)
{
    HWND field = nullptr;
    HWND dlg = nullptr;
    // The dialog may still be building its controls (slowly, under emulation): wait for the field.
    bool found = Drive_WaitFor([&] {
        dlg = Drive_FindTitled(pid, title);
        field = dlg ? FileNameField(dlg) : nullptr;
        return field != nullptr && IsWindowVisible(field);
    }, ms);
    if (!found) return false;
    Sleep(1000);
    RECT r;
    GetWindowRect(field, &r);
    Input_ClickScreen(r.left + 8, (r.top + r.bottom) / 2);
    Input_Key(VK_HOME);
    Input_Chord(VK_SHIFT, VK_END);
    Input_Type(path);
    Input_Key(VK_RETURN);
    // A save over an existing file asks first, in a box with the dialog's own title.
    bool closed = Drive_WaitFor([&] {
        for (HWND w : Drive_WindowsOf(pid, L"#32770"))
            if (w != dlg && Drive_Text(w) == title && GetDlgItem(w, IDYES)) {
                Input_Key('Y');
                Sleep(1000);
                if (IsWindow(w) && IsWindowVisible(w)) PostMessageW(w, WM_COMMAND, IDYES, 0);
            }
        return !IsWindow(dlg) || !IsWindowVisible(dlg);
    }, 30000);
    if (!closed) {
        std::fprintf(stderr, "the file dialog did not take the answer; cancelled\n");
        PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    }
    return closed;
}

// Where a command sits in a menu: the index of its top-level item, and of the item in that popup
// among those the arrow keys stop at (separators are skipped). -1 when it is a top-level item.
static bool FindMenuItem(HMENU menu, int id, int* top, int* item)
{
    int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (!sub) {
            if ((int)GetMenuItemID(menu, i) == id) {
                *top = i;
                *item = -1;
                return true;
            }
            continue;
        }
        int stop = 0;
        for (int j = 0, m = GetMenuItemCount(sub); j < m; ++j) {
            MENUITEMINFOW info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID;
            GetMenuItemInfoW(sub, (UINT)j, TRUE, &info);
            if (info.fType & MFT_SEPARATOR) continue;
            if ((int)info.wID == id) {
                *top = i;
                *item = stop;
                return true;
            }
            ++stop;
        }
    }
    return false;
}

bool Drive_MenuCommand(const wchar_t* menuName, int id)
{
    std::string exe = Drive_ExeFolder() + QV_EXE_NAME;
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMENU menu = module ? LoadMenuW(module, menuName) : nullptr;
    int top = -1, item = -1;
    bool found = menu && FindMenuItem(menu, id, &top, &item);
    if (menu) DestroyMenu(menu);
    if (module) FreeLibrary(module);
    if (!found) return false;
    // F10 selects the first item of the bar; Down opens a popup with its first item selected.
    Input_Key(VK_F10);
    Sleep(300);
    for (int i = 0; i < top; ++i) Input_Key(VK_RIGHT);
    if (item >= 0) {
        Input_Key(VK_DOWN);
        Sleep(300);
        for (int i = 0; i < item; ++i) Input_Key(VK_DOWN);
    }
    Input_Key(VK_RETURN);
    return true;
}

bool Drive_DropFile(HANDLE process, HWND target, const std::string& path)
{
    // The block as DragQueryFile reads it: the header, then the names, each terminated, then an
    // empty one.
    std::vector<char> block(sizeof(DROPFILES) + path.size() + 2, 0);
    DROPFILES header = {};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = FALSE;
    std::memcpy(block.data(), &header, sizeof header);
    std::memcpy(block.data() + sizeof header, path.data(), path.size());
    // A GlobalAlloc handle is valid only in the process that made it, and another process's memory
    // cannot be written directly under the emulator; a shared section mapped into the receiver gives
    // it the block in its own address space, where DragQueryFile reads it like its own.
    typedef LONG(NTAPI * MAP_VIEW)(HANDLE, HANDLE, PVOID*, ULONG_PTR, SIZE_T, PLARGE_INTEGER, PSIZE_T, DWORD,
                                   ULONG, ULONG);
    MAP_VIEW mapView = (MAP_VIEW)(void*)GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtMapViewOfSection");
    HANDLE section = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, (DWORD)block.size(), nullptr);
    if (!mapView || !section) return false;
    bool ok = false;
    if (void* local = MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, block.size())) {
        std::memcpy(local, block.data(), block.size());
        UnmapViewOfFile(local);
        PVOID remote = nullptr;
        SIZE_T size = 0;
        LONG status = mapView(section, process, &remote, 0, 0, nullptr, &size, 1 /* ViewShare */, 0, PAGE_READWRITE);
        if (status != 0) std::fprintf(stderr, "NtMapViewOfSection: %lx\n", (unsigned long)status);
        ok = status == 0 && remote && PostMessageW(target, WM_DROPFILES, (WPARAM)remote, 0) != 0;
    }
    CloseHandle(section);
    return ok;
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

// The key that presses a box's button: its mnemonic, or Enter for OK. Cancel has none that is
// safe: an Esc released after the box has gone would reach the main window as a new Esc.
static WORD AnswerKey(int id)
{
    switch (id) {
    case IDYES: return 'Y';
    case IDNO: return 'N';
    case IDOK: return VK_RETURN;
    default: return 0;
    }
}

void BoxAnswerer::Poll()
{
    for (Answered& a : m_answered) {
        if (!IsWindow(a.wnd) || !IsWindowVisible(a.wnd)) continue;
        // A box without the answer's button.
        if (a.posted && GetTickCount() - a.time > 8000) PostMessageW(a.wnd, WM_COMMAND, IDCANCEL, 0);
        if (!a.posted && GetTickCount() - a.time > 4000) {
            EnterCriticalSection(&m_lock);
            m_seen[a.seen].byKey = false;
            int answer = m_seen[a.seen].answer;
            LeaveCriticalSection(&m_lock);
            PostMessageW(a.wnd, WM_COMMAND, answer, 0);
            a.posted = true;
        }
    }
    for (HWND w : Drive_WindowsOf(m_pid, L"#32770")) {
        if (Drive_Text(w) != kCaption) continue;
        bool known = false;
        for (const Answered& a : m_answered) known = known || a.wnd == w;
        if (known) continue;
        std::wstring text;
        EnumChildWindows(w, CollectStatics, (LPARAM)&text);
        int answer = (int)m_answer;
        WORD key = AnswerKey(answer);
        EnterCriticalSection(&m_lock);
        m_seen.push_back({text, answer, key != 0});
        size_t index = m_seen.size() - 1;
        LeaveCriticalSection(&m_lock);
        m_answered.push_back({w, GetTickCount(), index, key == 0});
        if (key) {
            // Let the box take the focus before its key comes.
            Sleep(500);
            Input_Key(key);
        } else {
            PostMessageW(w, WM_COMMAND, answer, 0);
        }
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
