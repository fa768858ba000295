// Helpers for Wine tests that start the real studio and drive it as a person would: start and stop
// the process, find its windows, read their texts and pixels, and answer its message boxes from a
// polling thread so that no test can hang on one.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The folder of the test program (the studio's executable lies beside it), ending in '\\'.
std::string Drive_ExeFolder();
// Path of a file under the studio's data folder ("Data\\...").
std::string Drive_DataPath(const std::string& relative);
bool Drive_ReadFile(const std::string& path, std::vector<uint8_t>& out);
bool Drive_WriteFile(const std::string& path, const std::vector<uint8_t>& data);

std::wstring Drive_Text(HWND wnd);
// Visible top-level windows of a process, optionally only those of a window class.
std::vector<HWND> Drive_WindowsOf(DWORD pid, const wchar_t* className = nullptr);
// The first visible top-level window of the process with exactly this title; null when none.
HWND Drive_FindTitled(DWORD pid, const std::wstring& title);
int Drive_CountTitled(DWORD pid, const std::wstring& title);
// Polls until the condition holds or the time runs out.
template <class F> bool Drive_WaitFor(F cond, int ms)
{
    for (int t = 0; t < ms; t += 50) {
        if (cond()) return true;
        Sleep(50);
    }
    return cond();
}
// A pixel of a window's client area, read from the screen.
COLORREF Drive_ClientPixel(HWND wnd, int x, int y);

// Answers the open or save dialog of the process titled `title`, once it shows, by typing the path
// into its name field and confirming; false when no such dialog showed within the time.
bool Drive_AnswerFileDialog(DWORD pid, const std::wstring& title, const std::string& path, int ms);
// Drops one file on a window of the process as the shell does: a DROPFILES block (ANSI names) posted
// with WM_DROPFILES. A global memory handle means nothing in another process, so the block is put
// into the receiving process's own address space through a shared section.
bool Drive_DropFile(HANDLE process, HWND target, const std::string& path);

// Answers the message boxes of one process (dialogs captioned with the product caption).
class BoxAnswerer {
public:
    struct Seen {
        std::wstring text;
        int answer;
    };
    explicit BoxAnswerer(DWORD pid);
    ~BoxAnswerer();
    void Answer(int id);                 // the command id for the boxes that follow
    std::vector<Seen> SeenBoxes();
    bool WaitForBox(const std::wstring& text, int ms);

private:
    static DWORD WINAPI Thread(LPVOID self);
    void Poll();
    DWORD m_pid;
    HANDLE m_thread = nullptr;
    volatile LONG m_stop = 0;
    volatile LONG m_answer = IDNO;
    CRITICAL_SECTION m_lock;
    std::vector<Seen> m_seen;
    std::vector<HWND> m_answered;
};

// One run of the studio. The process is always killed when the object goes.
class StudioProcess {
public:
    ~StudioProcess() { Kill(); }
    // Starts the studio with the command line arguments and waits for its visible main window.
    bool Start(const std::string& args, int ms = 90000);
    DWORD Pid() const { return m_pi.dwProcessId; }
    HANDLE Process() const { return m_pi.hProcess; }
    HWND Main() const { return m_main; }
    bool Running() const;
    bool WaitExit(int ms, DWORD* code = nullptr);
    void Kill();

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_main = nullptr;
};
