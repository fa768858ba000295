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

// A name in the ANSI code page (932 here) as UTF-16.
std::wstring Drive_Wide(const std::string& s);
std::wstring Drive_Text(HWND wnd);
// Saves the model through command 40024 of the menu (the studio's window must have the focus):
// answers the save dialog with the path and reads the file back once it is whole.
bool Drive_SaveModel(DWORD pid, const wchar_t* menu, const std::string& path, std::vector<uint8_t>& bytes);
// The rows of a list box (at most 256).
std::vector<std::wstring> Drive_ListRows(HWND list);
// Visible top-level windows of a process, optionally only those of a window class.
std::vector<HWND> Drive_WindowsOf(DWORD pid, const wchar_t* className = nullptr);
// The first visible top-level window of the process with exactly this title; null when none.
HWND Drive_FindTitled(DWORD pid, const std::wstring& title);
int Drive_CountTitled(DWORD pid, const std::wstring& title);
// Polls until the condition holds or the time runs out. The times are those of an idle machine;
// a machine busy with other work (builds beside the tests, the emulator) gets three times as long.
template <class F> bool Drive_WaitFor(F cond, int ms)
{
    const DWORD start = GetTickCount();
    const DWORD limit = (DWORD)ms * 3;
    while (GetTickCount() - start < limit) {
        if (cond()) return true;
        Sleep(50);
    }
    return cond();
}
// Clicks a point of the window's client area that no other window covers (the corners first, far
// from what the editors draw in the middle), as a person clicks a window to give it the focus.
// False when every point tried is covered, or when the window did not come to the foreground.
bool Drive_ClickFree(HWND wnd);
// Clicks the middle of the window's caption (a click in the client area would edit in some
// screens) and waits until the window is the foreground. False when that point is covered.
bool Drive_ClickCaption(HWND wnd);
// A pixel of a window's client area, read from the screen.
COLORREF Drive_ClientPixel(HWND wnd, int x, int y);

// Answers the open or save dialog of the process titled `title`, once it shows, as a person does:
// a click into its name field, the path typed over what it holds, Enter, and Yes when it asks
// before replacing a file. False when no such dialog showed within the time, or when it did not
// close on the answer (it is then cancelled, so that no test hangs on it).
bool Drive_AnswerFileDialog(DWORD pid, const std::wstring& title, const std::wstring& path, int ms);
// Runs a command of a window's menu from the keyboard: F10, the arrow keys to the item, Enter. The
// item's place is read from the studio's own menu resource `menuName`. The window must have the
// focus. False when the menu holds no such command.
bool Drive_MenuCommand(const wchar_t* menuName, int id);
// Drops one file on a window of the process as the shell does: a DROPFILES block (ANSI names) posted
// with WM_DROPFILES. A global memory handle means nothing in another process, so the block is put
// into the receiving process's own address space through a shared section.
bool Drive_DropFile(HANDLE process, HWND target, const std::string& path);

// Answers the message boxes of one process (dialogs captioned with the product caption) with the
// key of the answer's button, as a person would. A box that the key does not close within a few
// seconds gets the answer posted, so that no test hangs on it; `byKey` tells which happened.
class BoxAnswerer {
public:
    struct Seen {
        std::wstring text;
        int answer;
        bool byKey;
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
    struct Answered {
        HWND wnd;
        DWORD time;
        size_t seen;  // its entry in m_seen
        bool posted;
    };
    std::vector<Answered> m_answered;
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
