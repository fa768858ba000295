// The program entry: start-up in the studio's order, then the message loop with one idle pass
// whenever no message waits.
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include "effect/effect_edit_hooks.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/services.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/log_window.h"
#include "frame/win32/media.h"
#include "model/anim_clock.h"
#include "model/model_table.h"
#include "render/camera.h"
#include "scene/scene_edit_hooks.h"
#include "script/win32/prog_dialog.h"
#include "shell/app_state.h"
#include "shell/dlg_slot.h"
#include "shell/frame_update.h"
#include "shell/main_loop.h"
#include "shell/modes.h"
#include "shell/panels.h"
#include "shell/playback.h"
#include "shell/views.h"

static void IdlePass()
{
    Loop_Fade(&g_FadeLevel, &g_FadeStep);
    Render_SetFade(g_FadeLevel);
    g_FrameStep = Loop_FrameStep(&g_FrameClock, timeGetTime());
    Lib_SetFrameSkip(0);
    Mode_FrameCallback();
    Model3_ProcessReleases();
    // The frame presents into the picked view's window (View_GetActiveView).
    if (Loop_PickView() >= 0) App_RenderFrame();
    if (Loop_PanelPass()) Panel_RepaintDirty();
    Movie_BuildMotionFrames();
    if (!CPU_PossessionGet()) Sleep(1);
}

// The mouse wheel counts only over the main window and the open views of the current screen.
static bool WheelTarget(HWND active)
{
    if (active == g_MainWnd) return true;
    // The effect editor's key-frame dialog steps the preview frame from key to key.
    if (active && active == (HWND)g_EffectKeyFrameSlot.window) return true;
    VIEW_REC* row = View_Row();
    int n = View_CountOfScreen();
    for (int i = 1; i < n; ++i)
        if (row[i].exists == 1 && row[i].window && (HWND)row[i].window == active) return true;
    return false;
}

static bool TryDialogs(MSG* msg)
{
    int s = g_Screen >= 0 && g_Screen < kScreenCount ? g_Screen : 0;
    HWND dialogs[] = {(HWND)g_DlgSlots[s][1].window, (HWND)g_EffectKeyFrameSlot.window,
                      (HWND)g_EffectKeyInfoSlot.window, (HWND)g_EffectParticleSlot.window, Prog_DialogWindow()};
    for (HWND d : dialogs)
        if (d && IsWindow(d) && IsDialogMessageA(d, msg)) return true;
    return false;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int)
{
    // LibInit moves the current directory to the data folder; a relative command line means here.
    char launchDir[MAX_PATH];
    DWORD launchLen = GetCurrentDirectoryA(sizeof launchDir, launchDir);
    if (launchLen == 0 || launchLen >= sizeof launchDir) launchDir[0] = 0;
    g_App.maxPolygons = 65000;
    g_Lib.maxPolygons = 65000;
    if (!LibInit(instance)) {
        Lib_MessageBox("初期化に失敗しました。");
        return -1;
    }
    Log_Printf("データフォルダ : %s", g_Lib.dataFolder);
    Log_Printf("ビデオチップ識別 : %d", g_Lib.chipClass);
    Shell_StartEarly();
    g_AnimHooks.videoPlaying = Media_IsVideoPlaying;
    ShowWindow(g_MainWnd, SW_SHOWMAXIMIZED);
    HMENU system = GetSystemMenu(g_MainWnd, FALSE);
    RemoveMenu(system, SC_RESTORE, MF_BYCOMMAND);
    RemoveMenu(system, SC_MOVE, MF_BYCOMMAND);
    Lib_SetAntiAlias(g_Lib.antiAlias);
    Shell_StartLate();
    Panel_CreateDib();
    Shell_OpenCommandLine(cmdLine, launchDir);
    DragAcceptFiles(g_MainWnd, TRUE);
    SetActiveWindow(g_MainWnd);
    Log_Printf("起動しました。");

    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    while (msg.message != WM_QUIT) {
        BOOL got = App_IsActive() ? PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) : GetMessageA(&msg, nullptr, 0, 0);
        if (got) {
            if (msg.message == WM_QUIT) break;
            if (msg.message == WM_KEYUP) Main_LoopKeyUp((int)msg.wParam);
            if (msg.message == WM_MOUSEWHEEL && WheelTarget(GetActiveWindow())) {
                if ((short)HIWORD(msg.wParam) < 0) View_WheelBack();
                else View_WheelForward();
            }
            if (TryDialogs(&msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        if (App_IsActive() && Lib_IsReady()) IdlePass();
        g_App.keyLatch = 0;
    }
    Log_DestroyWindow();
    return (int)msg.wParam;
}
