// The program editor's edit dialog "編集": the source text with the start and stop buttons.
#include <windows.h>

#include <string>

#include "frame/lib.h"
#include "frame/win32/app_frame.h"
#include "script/prog_hooks.h"
#include "script/win32/prog_dialog.h"

namespace {

constexpr int kDialogId = 53;
constexpr int kEditId = 1012;
constexpr int kRunId = 56;
constexpr int kStopId = 57;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 50;

HWND g_dialog;
HWND g_edit;
RECT g_dialogRect;
bool g_dirty;

INT_PTR CALLBACK Prog_DialogProc(HWND wnd, UINT msg, WPARAM wp, LPARAM)
{
    GetWindowRect(wnd, &g_dialogRect);
    // The dialog has no fields to refill: the flag only lasts until the next such message.
    if (msg != WM_COMMAND && msg != WM_INITDIALOG) g_dirty = false;
    switch (msg) {
        case WM_INITDIALOG:
            SetTimer(wnd, kTimerId, kTimerMs, nullptr);
            g_dirty = true;
            return TRUE;
        case WM_TIMER:
            return TRUE;
        case WM_SIZE: {
            RECT r;
            GetWindowRect(wnd, &r);
            HWND edit = GetDlgItem(wnd, kEditId);
            if (edit) MoveWindow(edit, 0, 23, (r.right - r.left) - 8, (r.bottom - r.top) - 56, TRUE);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wp) == kRunId) Prog_RunEdited();
            else if (LOWORD(wp) == kStopId) Prog_Stop();
            return TRUE;
    }
    return FALSE;
}

void Open()
{
    if (g_dialog) return;
    g_dialog = CreateDialogParamA((HINSTANCE)g_Lib.instance, MAKEINTRESOURCEA(kDialogId), g_MainWnd, Prog_DialogProc, 0);
    if (!g_dialog) return;
    g_edit = GetDlgItem(g_dialog, kEditId);
    // Without this the box holds about 32K characters and cuts a longer source when it loads;
    // the next start would then write the shortened text over the file.
    SendMessageA(g_edit, EM_SETLIMITTEXT, 0, 0);
    MoveWindow(g_dialog, g_Lib.monitorWidth - 400, 47, 400, g_Lib.monitorHeight - 77, TRUE);
    ShowWindow(g_dialog, SW_SHOW);
}

void Close()
{
    if (g_dialog) {
        KillTimer(g_dialog, kTimerId);
        DestroyWindow(g_dialog);
    }
    g_dialog = nullptr;
    g_edit = nullptr;
}

void SetText(const char* text, size_t size)
{
    if (!g_edit) return;
    SendMessageA(g_edit, EM_SETLIMITTEXT, 0, 0);
    std::string s(text, size);
    SetWindowTextA(g_edit, s.c_str());
}

// The text sized from its length, however long it is.
bool GetText(std::string* out)
{
    if (!g_edit) return false;
    const int len = GetWindowTextLengthA(g_edit);
    out->assign((size_t)(len > 0 ? len : 0) + 1, '\0');
    const int got = GetWindowTextA(g_edit, &(*out)[0], len + 1);
    out->resize((size_t)(got > 0 ? got : 0));
    return true;
}

void Activate()
{
    if (g_dialog) SetActiveWindow(g_dialog);
}

const PROG_EDIT_DIALOG kDialog = {Open, Close, SetText, GetText, Activate};

struct REGISTER {
    REGISTER() { g_ProgEditDialog = &kDialog; }
} s_register;

} // namespace

HWND Prog_DialogWindow() { return g_dialog; }

bool Prog_DialogDirty() { return g_dirty; }
