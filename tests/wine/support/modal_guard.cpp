#include "wine/support/modal_guard.h"

#include <windows.h>

namespace {

HHOOK g_hook = nullptr;
int g_answer = IDOK;
std::string g_file;
bool g_fileSet = false;
std::vector<ModalSeen> g_seen;

std::string TextOf(HWND w)
{
    char buf[2048];
    int n = GetWindowTextA(w, buf, sizeof buf);
    return std::string(buf, n > 0 ? (size_t)n : 0);
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM lp)
{
    char cls[64];
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) {
        std::string t = TextOf(child);
        if (!t.empty()) {
            std::string* out = reinterpret_cast<std::string*>(lp);
            if (!out->empty()) *out += '\n';
            *out += t;
        }
    }
    return TRUE;
}

// The file-name field of the open and save dialogs (edt1, or the combo box cmb13 of newer ones,
// which Wine builds as a ComboBoxEx32 holding a ComboBox holding the Edit).
HWND FileNameField(HWND dlg)
{
    HWND edit = GetDlgItem(dlg, 0x480);
    if (edit) return edit;
    HWND combo = GetDlgItem(dlg, 0x47C);
    if (!combo) return nullptr;
    edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    if (edit) return edit;
    HWND inner = FindWindowExA(combo, nullptr, "ComboBox", nullptr);
    return inner ? FindWindowExA(inner, nullptr, "Edit", nullptr) : nullptr;
}

void CALLBACK AnswerLater(HWND dlg, UINT, UINT_PTR id, DWORD)
{
    HWND field = FileNameField(dlg);
    // A file dialog may still be building its controls (slowly, under emulation): wait for the
    // name field rather than pressing a button it would ignore.
    if (!field && g_fileSet) {
        UINT_PTR tries = (UINT_PTR)GetPropA(dlg, "qv.tries") + 1;
        SetPropA(dlg, "qv.tries", (HANDLE)tries);
        if (tries < 200) return;
    }
    KillTimer(dlg, id);
    if (field && g_fileSet) {
        if (g_file.empty()) {
            PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        } else {
            SetWindowTextA(field, g_file.c_str());
            PostMessageA(dlg, WM_COMMAND, IDOK, 0);
        }
        return;
    }
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(g_answer, BN_CLICKED), 0);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_ACTIVATE) {
        HWND w = (HWND)wp;
        char cls[64];
        GetClassNameA(w, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") == 0 && !GetPropA(w, "qv.answered")) {
            SetPropA(w, "qv.answered", (HANDLE)1);
            ModalSeen s;
            s.caption = TextOf(w);
            EnumChildWindows(w, CollectStatic, (LPARAM)&s.text);
            s.answer = g_answer;
            g_seen.push_back(s);
            // Answer once the dialog has finished initialising and runs its own loop.
            SetTimer(w, 0x51A0, 50, AnswerLater);
        }
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

} // namespace

namespace ModalGuard {

void Install()
{
    if (!g_hook) g_hook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

void Answer(int id) { g_answer = id; }

void AnswerFile(const std::string& path)
{
    g_file = path;
    g_fileSet = true;
}

const std::vector<ModalSeen>& Seen() { return g_seen; }

void Clear()
{
    g_seen.clear();
    g_answer = IDOK;
    g_file.clear();
    g_fileSet = false;
}

} // namespace ModalGuard
