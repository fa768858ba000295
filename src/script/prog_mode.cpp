#include <vector>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/paths.h"
#include "frame/services.h"
#include "model/anim_clock.h"
#include "model/model_table.h"
#include "render/camera.h"
#include "render/frame_render.h"
#include "render/text_queue.h"
#include "script/compiler.h"
#include "script/interp.h"
#include "script/prog_hooks.h"
#include "script/qvs_file.h"
#include "shell/app_state.h"
#include "shell/current.h"
#include "shell/mode_hooks.h"
#include "shell/playback.h"
#include "shell/ui_services.h"
#include "shell/views.h"

PROG_MODE g_ProgMode;
const PROG_EDIT_DIALOG* g_ProgEditDialog = nullptr;

namespace {

constexpr int kKeyRun = 116;    // F5
constexpr int kKeyStop = 117;   // F6

// The source file read whole and compiled into block 0; false when it cannot be read.
bool CompileSourceFile()
{
    std::vector<uint8_t> bytes;
    if (!QVL::File_ReadAll(g_ProgMode.sourceFile, bytes)) {
        Lib_MessageBox("ファイルを読み込むことが、できませんでした。");
        return false;
    }
    return Prog_CompileText(g_ProgCompiler, *g_Vm, (const char*)bytes.data(), bytes.size());
}

void DropDraw(int32_t, int32_t, int32_t) {}

} // namespace

void Prog_Enter()
{
    Vm_AllocBlock(Vm_Create(), 0);
    g_ScreenGroup = 8;
    g_ModeMenu = Menu_Set("MENU_PROG");
    // The game screen is 640 x 480, panned so that it sits where the main view shows it.
    g_ModeScreenSize[0] = 640;
    g_ModeScreenSize[1] = 480;
    VIEW_REC& view = View_Row()[0];
    view.pan[0] = -160.0f;
    view.pan[1] = -60.0f;
    if (g_ProgEditDialog) g_ProgEditDialog->open();
    Prog_LoadSource();
    Log_CreateWindow();
    Log_Printf("プログラム編集モード");
}

void Prog_Exit()
{
    if (g_ProgEditDialog) g_ProgEditDialog->close();
    g_Lib.allocArrays = 1;
}

void Prog_LoadSource()
{
    if (!g_ProgEditDialog) return;
    g_ProgEditDialog->setText("", 0);
    File_ChDir(g_ProgMode.sourceFolder);
    if (!g_ProgMode.sourceFile[0]) return;
    std::vector<uint8_t> bytes;
    if (!QVL::File_ReadAll(g_ProgMode.sourceFile, bytes)) {
        Lib_MessageBox("ファイルを読み込むことが、できませんでした。");
        return;
    }
    g_ProgEditDialog->setText((const char*)bytes.data(), bytes.size());
}

bool Prog_WriteQvs()
{
    if (!g_ProgMode.sourceFile[0]) {
        Lib_MessageBox("コンバートするソースファイル(*.TXT)を、選択して下さい。");
        return false;
    }
    if (!g_Vm || !CompileSourceFile()) return false;
    g_Vm->blockCount = 1;
    const bool ok = Qvs_WriteFile(*g_Vm, "Program.QVS");
    Lib_ResetFrameTimer();
    return ok;
}

bool Prog_Run(const char* text, size_t size)
{
    if (!g_Vm || !g_Vm->blocks[0]) return false;
    File_ChDir(g_ProgMode.sourceFolder);
    bool ok = false;
    if (!g_ProgMode.sourceFile[0]) {
        Lib_MessageBox("実行するソースファイル(*.TXT)を、選択して下さい。");
    } else if (text && !QVL::File_WriteAll(g_ProgMode.sourceFile, text, size)) {
        // Written in binary, exactly as the text is: a text-mode write doubles every CR.
        QVL::File_ReportWriteFailed(g_ProgMode.sourceFile);
    } else if (CompileSourceFile()) {
        for (const PROG_ERROR& e : g_ProgCompiler.errors) Log_Printf("%s", e.text);
        g_Vm->programRunning = 1;
        Vm_Reset(g_Vm);
        g_Vm->drawCount = 0;
        Render_SetCameraEye(0.0f, 0.0f, -50.0f);
        Render_SetCameraTarget(0.0f, 0.0f, 0.0f);
        Prog_WriteQvs();
        ok = true;
    }
    File_ChDir(g_Lib.dataFolder);
    Wnd_Activate(Wnd_Main());
    return ok;
}

void Prog_Stop()
{
    if (g_Vm) g_Vm->programRunning = 0;
    Model3_ReleaseAll();
    View_RequestRedraw();
    if (g_ProgEditDialog) g_ProgEditDialog->activate();
}

void Prog_Frame()
{
    Lib_SetClearColor(0, 0, 0);
    if (g_Vm && g_Vm->programRunning) {
        Vm_Run(g_Vm, Vm_EngineHost());
        Anim_Tick(g_FrameStep);
        View_RequestRedraw();
    } else {
        Draw_Text(5, 5, "%s", "プログラム停止中");
        Draw_Text(5, 35, "フォルダ : %s", g_ProgMode.sourceFolder);
        Draw_Text(5, 60, "ファイル : %s", g_ProgMode.sourceFile);
    }
    View_Row()[0].redraw = 1;
}

void Prog_Draw()
{
    if (!g_Vm || !g_Vm->programRunning) return;
    Vm_DrawQueue(g_Vm, g_VmImageDraw ? g_VmImageDraw : DropDraw);
}

void Prog_RunEdited()
{
    std::string text;
    if (g_ProgEditDialog && g_ProgEditDialog->getText(&text)) Prog_Run(text.data(), text.size());
    else Prog_Run(nullptr, 0);
}

void Prog_OnKey(int key)
{
    if (key == kKeyRun) Prog_RunEdited();
    else if (key == kKeyStop) Prog_Stop();
}

// The mode record: enter, exit, frame, command, key down and up; the mouse buttons and move; the
// two draw passes.
const MODE_HOOKS kProgMode = {
    Prog_Enter, Prog_Exit, Prog_Frame, nullptr, Mode_IgnoreKey, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    Prog_Draw, nullptr};
