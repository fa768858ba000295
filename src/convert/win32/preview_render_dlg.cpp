// The preview's rendering dialog: saves the back buffer as "<name>.BMP" in the program's folder.
#include <windows.h>

#include "convert/preview_hooks.h"
#include "frame/lib.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/avi_writer.h"

namespace {

constexpr int kNameId = 1320;
constexpr int kRenderId = 1318;
constexpr int kCloseId = 1319;
constexpr UINT_PTR kTimerId = 1;

HWND g_RenderDlg;
int g_RenderDlgRefresh;

void SaveRendering(HWND wnd)
{
    char name[256] = {};
    GetDlgItemTextA(wnd, kNameId, name, sizeof name);
    char file[272];
    Str_Format(file, sizeof file, "%s.BMP", name);
    App_SaveScreenshot(file);
}

INT_PTR CALLBACK Preview_RenderDlgProc(HWND wnd, UINT msg, WPARAM wp, LPARAM)
{
    if (msg == WM_COMMAND) {
        switch (LOWORD(wp)) {
            case kRenderId:
                SaveRendering(wnd);
                return TRUE;
            case kCloseId:
                DestroyWindow(wnd);
                g_RenderDlg = nullptr;
                return TRUE;
        }
        return FALSE;
    }
    // The name is filled once the dialog exists, at the first message after creation (the
    // timer makes sure one comes).
    if (g_RenderDlgRefresh && msg != WM_INITDIALOG) {
        g_RenderDlgRefresh = 0;
        SetDlgItemTextA(wnd, kNameId, g_MovieRenderSettings.outputName);
    }
    if (msg == WM_DESTROY) KillTimer(wnd, kTimerId);
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

void Open()
{
    if (g_RenderDlg) return;
    g_RenderDlg = CreateDialogParamA(GetModuleHandleA(nullptr), "PREVIEW_RENDER_DLG", g_MainWnd, Preview_RenderDlgProc, 0);
    if (!g_RenderDlg) return;
    SetTimer(g_RenderDlg, kTimerId, 50, nullptr);
    g_RenderDlgRefresh = 1;
    ShowWindow(g_RenderDlg, SW_SHOW);
}

struct REGISTER {
    REGISTER() { g_PreviewRenderDlgOpen = Open; }
} s_register;

} // namespace
