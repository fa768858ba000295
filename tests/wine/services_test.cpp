// The frame's services inside Wine: the maths' bits against the native build and D3DX, the file
// dialogs and the current directory, the sound slots through DirectSound, media playback through
// MCI, and the log window.
#include <windows.h>
#include <d3dx9math.h>
#include <dsound.h>
#include <vfw.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/bytes.h"
#include "frame/lib.h"
#include "frame/log.h"
#include "frame/math_digest.h"
#include "frame/paths.h"
#include "frame/sound.h"
#include "frame/text.h"
#include "frame/win32/app_frame.h"
#include "frame/win32/file_dialog.h"
#include "frame/win32/log_window.h"
#include "frame/win32/media.h"
#include "frame/win32/sound.h"
#include "support/wav_fixture.h"
#include "wine/support/modal_guard.h"

namespace {

std::string CurrentDir()
{
    char buf[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    return std::string(buf, n);
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Pumps messages until done() or the time is up.
template <class F>
bool PumpUntil(F done, DWORD ms)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Pump();
        Sleep(10);
    }
    return true;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    ASSERT_TRUE(QVL::File_WriteAll(path.c_str(), bytes.data(), bytes.size())) << path;
}

LRESULT CALLBACK MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    // As the frame's window procedure does.
    if (msg == MCIWNDM_NOTIFYMODE && (HWND)wp == Media_GetWindow() && lp == MCI_MODE_STOP) Media_OnStopped();
    return DefWindowProcA(w, msg, wp, lp);
}

// A stand-in main window for the services that need one.
HWND MainWindow()
{
    static HWND wnd = nullptr;
    if (!wnd) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = MainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QvServicesTestMain";
        RegisterClassA(&wc);
        wnd = CreateWindowA("QvServicesTestMain", "services", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    g_MainWnd = wnd;
    return wnd;
}

} // namespace

TEST(ServicesMath, SameBitsAsTheNativeBuild)
{
    EXPECT_EQ(kMathDigest, math_digest::Compute());
}

TEST(ServicesMath, AgreesWithD3DX)
{
    const QVL::QUAT q = {0.1825742f, -0.3651484f, 0.5477226f, 0.7302967f};
    QVL::MATRIX mine;
    D3DXMATRIX theirs;
    Math_QuatToMatrix(&mine, q);
    D3DXQUATERNION dq(q.x, q.y, q.z, q.w);
    D3DXMatrixRotationQuaternion(&theirs, &dq);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(theirs.m[j][i], mine.m[i][j], 1e-6f) << "transpose " << i << j;

    struct Case {
        void (*ours)(QVL::MATRIX*, float);
        D3DXMATRIX* (WINAPI* platform)(D3DXMATRIX*, FLOAT);
    } cases[] = {{Math_MatrixRotationX, D3DXMatrixRotationX},
                 {Math_MatrixRotationY, D3DXMatrixRotationY},
                 {Math_MatrixRotationZ, D3DXMatrixRotationZ}};
    for (const Case& c : cases) {
        for (float deg : {-135.0f, 30.0f, 90.0f, 271.5f}) {
            c.ours(&mine, deg);
            c.platform(&theirs, deg * 3.14159265f / 180.0f);
            for (int i = 0; i < 4; ++i)
                for (int j = 0; j < 4; ++j) EXPECT_NEAR(theirs.m[i][j], mine.m[i][j], 2e-6f) << deg;
        }
    }
    QVL::MATRIX a, b, prod;
    Math_MatrixRotationX(&a, 20.0f);
    Math_MatrixTranslation(&b, 1.0f, 2.0f, 3.0f);
    Math_MatrixMultiply(&prod, a, b);
    D3DXMatrixMultiply(&theirs, reinterpret_cast<const D3DXMATRIX*>(&a), reinterpret_cast<const D3DXMATRIX*>(&b));
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(theirs.m[i][j], prod.m[i][j], 1e-6f);
}

TEST(ServicesFiles, DialogsReturnTheNameAndLeaveTheFolder)
{
    const std::string home = CurrentDir();
    const std::string root = home + "\\dlgtest";
    // "表" ends in 0x5C: the folder must survive the search for the last separator.
    const std::string pickDir = root + "\\\x95\x5C";
    const std::string saveDir = root + "\\save";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(pickDir.c_str(), nullptr);
    CreateDirectoryA(saveDir.c_str(), nullptr);
    WriteFile(pickDir + "\\pick.qvp", {1, 2, 3});
    DeleteFileA((saveDir + "\\new.qvp").c_str());
    Str_CopyN(g_Lib.dataFolder, sizeof g_Lib.dataFolder, (home + "\\Data").c_str());
    g_FileDlg.startDir[0] = 0;

    // The first dialog starts in the data folder; cancelling changes nothing.
    ModalGuard::Clear();
    ModalGuard::AnswerFile("");
    EXPECT_STREQ("", File_OpenDialog(nullptr, "QVP", "読み込む QVP ファイルを選択して下さい", ""));
    EXPECT_EQ(home + "\\Data", g_FileDlg.startDir);
    EXPECT_EQ(home, CurrentDir());
    ASSERT_EQ(1u, ModalGuard::Seen().size());
    EXPECT_EQ("読み込む QVP ファイルを選択して下さい", ModalGuard::Seen()[0].caption);

    ModalGuard::AnswerFile(pickDir + "\\pick.qvp");
    EXPECT_STREQ("pick.qvp", File_OpenDialog(nullptr, "QVP", "open", ""));
    EXPECT_EQ(pickDir, CurrentDir());
    EXPECT_EQ(pickDir, g_FileDlg.startDir);
    EXPECT_STREQ("QVP Files (*.QVP)", g_FileDlg.openFilter);
    EXPECT_STREQ("*.QVP", g_FileDlg.openFilter + std::strlen(g_FileDlg.openFilter) + 1);

    // Saving elsewhere moves the current directory but not the start folder.
    ModalGuard::AnswerFile(saveDir + "\\new.qvp");
    EXPECT_STREQ("new.qvp", File_SaveDialog(nullptr, "QVP", "save", "新規.QVP"));
    EXPECT_EQ(saveDir, CurrentDir());
    EXPECT_EQ(pickDir, g_FileDlg.startDir);

    ModalGuard::AnswerFile("");
    EXPECT_STREQ("", File_SaveDialog(nullptr, "QVP", "save", ""));
    EXPECT_EQ(saveDir, CurrentDir());

    ModalGuard::Clear();
    SetCurrentDirectoryA(home.c_str());
}

TEST(ServicesFiles, FolderChooserStartsAtTheCurrentDirectory)
{
    const std::string home = CurrentDir();
    // A folder of the Wine prefix's own drive: the browser's tree does not reach into the Unix root.
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string dir = std::string(windows) + "\\temp";
    CreateDirectoryA(dir.c_str(), nullptr);
    SetCurrentDirectoryA(dir.c_str());
    ModalGuard::Clear();  // OK at once: the folder selected at the start is the answer
    char folder[256] = "stale";
    EXPECT_TRUE(File_ChooseFolder(folder));
    EXPECT_EQ(dir, folder);
    ASSERT_EQ(1u, ModalGuard::Seen().size());
    EXPECT_NE(std::string::npos, ModalGuard::Seen()[0].text.find("フォルダを選択して下さい"));
    ModalGuard::Clear();
    SetCurrentDirectoryA(home.c_str());
}

TEST(ServicesSound, EightSlotsPlayThroughDirectSound)
{
    MainWindow();
    Sound_Init();
    ASSERT_TRUE(g_SoundOk) << "DirectSound with the null ALSA device";
    const std::string dir = CurrentDir();
    WriteFile(dir + "\\tone.wav", wav_fixture::Simple(22050 * 2));  // two seconds
    WriteFile(dir + "\\broken.wav", wav_fixture::Image({{"data", wav_fixture::ToneBody(100)}}));

    EXPECT_TRUE(Wave_LoadGlobalSound(1, "tone.wav"));
    EXPECT_FALSE(Wave_LoadGlobalSound(2, "broken.wav"));
    EXPECT_FALSE(Wave_PlayGlobalSound(2));
    EXPECT_FALSE(Wave_PlayGlobalSound(100));

    for (int i = 1; i <= 7; ++i) ASSERT_TRUE(Wave_PlayGlobalSound(1)) << i;
    EXPECT_EQ(nullptr, g_SoundManager.slots[0]);
    for (int slot = 1; slot <= 7; ++slot) {
        ASSERT_NE(nullptr, g_SoundManager.slots[slot]) << slot;
        DWORD status = 0;
        g_SoundManager.slots[slot]->GetStatus(&status);
        EXPECT_TRUE(status & DSBSTATUS_PLAYING) << slot;
    }
    // The eighth play takes slot 1 again and stops what played there.
    IDirectSoundBuffer* first = g_SoundManager.slots[1];
    first->AddRef();
    ASSERT_TRUE(Wave_PlayGlobalSound(1));
    EXPECT_NE(first, g_SoundManager.slots[1]);
    DWORD status = 0;
    first->GetStatus(&status);
    EXPECT_FALSE(status & DSBSTATUS_PLAYING);
    first->Release();

    // A looping sound has slot 0 to itself.
    ASSERT_EQ(DS_OK, Sound_Play(g_GlobalSounds[1].sound.get(), 0, 0, true));
    ASSERT_NE(nullptr, g_SoundManager.slots[0]);
    g_SoundManager.slots[0]->GetStatus(&status);
    EXPECT_TRUE(status & DSBSTATUS_LOOPING);
    EXPECT_EQ(1, g_SoundManager.ring);

    Music_Init();  // may or may not find DirectMusic; it must not disturb the sound
    Music_Release();
    EXPECT_TRUE(g_SoundOk);
    Sound_Release();
    EXPECT_FALSE(g_SoundOk);
    EXPECT_FALSE(Wave_PlayGlobalSound(1));
    g_GlobalSounds[1] = QVL::GLOBAL_SOUND{};
}

TEST(ServicesMedia, PathIsRememberedOnlyWhilePlaying)
{
    MainWindow();
    const std::string dir = CurrentDir();
    const std::string path = dir + "\\media_late.wav";
    WriteFile(path, std::vector<uint8_t>(64, 'x'));
    EXPECT_FALSE(MediaPlay(path.c_str(), 0));
    EXPECT_EQ(nullptr, g_Media.wnd);
    EXPECT_STREQ("", g_Media.path);

    // Once the file is a sound, the same path plays: the failure was not remembered.
    WriteFile(path, wav_fixture::Simple(22050 * 3));
    ASSERT_TRUE(MediaPlay(path.c_str(), 0));
    HWND first = g_Media.wnd;
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(g_Media.playing);
    EXPECT_FALSE(g_Media.video);
    EXPECT_TRUE(MediaPlay(path.c_str(), 0));
    EXPECT_EQ(first, g_Media.wnd) << "the file already playing is not restarted";

    Media_Stop();
    EXPECT_EQ(nullptr, g_Media.wnd);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_STREQ("", g_Media.path);
    ASSERT_TRUE(MediaPlay(path.c_str(), 0));
    EXPECT_NE(nullptr, g_Media.wnd);
    Media_Stop();
}

TEST(ServicesMedia, LoopingMediumStartsOverAndOtherEnds)
{
    MainWindow();
    const std::string path = CurrentDir() + "\\media_short.wav";
    WriteFile(path, wav_fixture::Simple(22050 / 2));  // 0.5 s

    ASSERT_TRUE(MediaPlay(path.c_str(), 1));
    HWND first = g_Media.wnd;
    EXPECT_FALSE(Media_IsVideoPlaying());
    EXPECT_TRUE(PumpUntil([&] { return g_Media.wnd != first; }, 15000)) << "restarted after the end";
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(g_Media.playing);
    EXPECT_STREQ(path.c_str(), g_Media.path);
    Media_Stop();

    ASSERT_TRUE(MediaPlay(path.c_str(), 0));
    EXPECT_TRUE(PumpUntil([] { return !g_Media.playing; }, 15000)) << "closed after the end";
    EXPECT_EQ(nullptr, g_Media.wnd);
    EXPECT_STREQ("", g_Media.path);
}

namespace {

DWORD WINAPI LogFromThread(LPVOID)
{
    Log_Printf("from %s", "another thread");
    return 0;
}

std::string ItemText(HWND list, int i)
{
    char buf[512];
    LRESULT n = SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)buf);
    return n > 0 ? std::string(buf, (size_t)n) : std::string();
}

} // namespace

TEST(ServicesLog, WindowReceivesLinesOnceCreated)
{
    Log_Printf("dropped %d", 0);
    EXPECT_EQ(nullptr, FindWindowA("LogWin", nullptr));

    Log_CreateWindow();
    HWND wnd = FindWindowA("LogWin", "Log");
    ASSERT_NE(nullptr, wnd);
    HWND list = g_LogWnd.list;
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0, SendMessageA(list, LB_GETCOUNT, 0, 0));

    Log_Printf("プログラム編集モード");
    Log_Printf("line %d", 2);
    Log_Printf("%s", std::string(400, 'x').c_str());
    ASSERT_EQ(3, SendMessageA(list, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(2, SendMessageA(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ("プログラム編集モード", ItemText(list, 0));
    EXPECT_EQ("line 2", ItemText(list, 1));
    EXPECT_EQ(255u, ItemText(list, 2).size());

    HANDLE t = CreateThread(nullptr, 0, LogFromThread, nullptr, 0, nullptr);
    WaitForSingleObject(t, 10000);
    CloseHandle(t);
    EXPECT_TRUE(PumpUntil([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == 4; }, 5000));
    EXPECT_EQ("from another thread", ItemText(list, 3));
    EXPECT_EQ(3, SendMessageA(list, LB_GETCURSEL, 0, 0));

    // Esc closes it; it is not created again and later lines are dropped.
    SendMessageA(wnd, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(wnd));
    Log_Printf("after %d", 5);
    Log_CreateWindow();
    EXPECT_EQ(nullptr, FindWindowA("LogWin", nullptr));
}
