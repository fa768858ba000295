// The options dialog OPTION_DLG.
#include <windows.h>

#include <cstdlib>

#include "frame/lib.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "shell/app_state.h"
#include "shell/dlg_slot.h"
#include "shell/mode_hooks.h"
#include "shell/mode_input.h"
#include "shell/win32/shell_win32.h"

void Options_Open()
{
    if (!g_OptionsSlot.window) {
        g_OptionsSlot.window = CreateDialogParamA(GetModuleHandleA(nullptr), "OPTION_DLG", g_MainWnd, Options_DlgProc, 0);
        g_OptionsSlot.dirty = 1;
        ShowWindow((HWND)g_OptionsSlot.window, SW_SHOWNORMAL);
    }
    SetActiveWindow((HWND)g_OptionsSlot.window);
}

static void Check(HWND wnd, int id, int on) { CheckDlgButton(wnd, id, on ? BST_CHECKED : BST_UNCHECKED); }

static void Fill(HWND wnd)
{
    int s = g_Screen >= 0 && g_Screen < kScreenCount ? g_Screen : 0;
    View_RequestRedraw();
    Check(wnd, 1346, g_UpdateEditedViewOnly);
    Check(wnd, 1343, g_Lib.antiAlias);
    Check(wnd, 1349, g_App.gridOn);
    Check(wnd, 1345, g_LightOption);
    Check(wnd, 1353, g_App.reverseWheel);
    Check(wnd, 1351, g_App.vsyncByScreen[s]);
    Check(wnd, 1352, g_App.cpuByScreen[s]);
    Check(wnd, 1347, g_App.shadowMode == 20);
    Check(wnd, 1348, g_App.shadowMode == 30);
    Check(wnd, 1350, g_App.toonOption);
    char text[32];
    Str_Format(text, sizeof text, "%d", g_App.maxPolygons);
    SetDlgItemTextA(wnd, 1012, text);
}

INT_PTR CALLBACK Options_DlgProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM)
{
    RECT r;
    if (GetWindowRect(wnd, &r)) {
        g_OptionsSlot.left = r.left;
        g_OptionsSlot.top = r.top;
    }
    if (msg == WM_INITDIALOG) {
        SetTimer(wnd, 1, 50, nullptr);
        return 0;
    }
    if (msg != WM_COMMAND) {
        if (g_OptionsSlot.dirty == 1) {
            g_OptionsSlot.dirty = 0;
            Fill(wnd);
        }
        return 0;
    }
    int s = g_Screen >= 0 && g_Screen < kScreenCount ? g_Screen : 0;
    switch (LOWORD(wParam)) {
    case 1346: g_UpdateEditedViewOnly = 1 - g_UpdateEditedViewOnly; break;
    case 1343: Lib_SetAntiAlias(g_Lib.antiAlias != 1 ? 1 : 0); break;
    case 1349: g_App.gridOn = 1 - g_App.gridOn; break;
    case 1345: g_LightOption = 1 - g_LightOption; break;
    case 1353: g_App.reverseWheel = g_App.reverseWheel == 0 ? 1 : 0; break;
    case 1351:
        g_App.vsyncByScreen[s] = !V_SyncGet();
        V_SyncSet(g_App.vsyncByScreen[s]);
        break;
    case 1352:
        g_App.cpuByScreen[s] = !CPU_PossessionGet();
        CPU_PossessionSet(g_App.cpuByScreen[s]);
        break;
    case 1347: g_App.shadowMode = g_App.shadowMode == 20 ? 0 : 20; break;
    case 1348: g_App.shadowMode = g_App.shadowMode == 30 ? 0 : 30; break;
    case 1350: g_App.toonOption = 1 - g_App.toonOption; break;
    case 1344: {
        char text[256];
        GetDlgItemTextA(wnd, 1012, text, sizeof text);
        int n = std::atoi(text);
        g_App.maxPolygons = n < 10000 ? 10000 : n > 65000 ? 65000 : n;
        DestroyWindow(wnd);
        g_OptionsSlot.window = nullptr;
        return 1;
    }
    default: return 0;
    }
    g_OptionsSlot.dirty = 1;
    return 1;
}
