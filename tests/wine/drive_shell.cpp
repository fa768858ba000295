// The studio as shipped: started by hand, driven through its window, menus and keys with real input.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "wine/support/driver.h"
#include "wine/support/input.h"

namespace {

const std::wstring kCaption = L"QV Viduza Rozar 2009.09";
const std::wstring kExitQuestion = L"終了しても、よろしいですか？";

std::string SettingsPath()
{
    return Drive_DataPath("System\\System" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + ".dat");
}

// Offset of the fields of view v of screen s in a file whose earlier screens hold 4 existing views.
size_t ViewFields(int screen, int view) { return 88 + (size_t)screen * 276 + 4 + (size_t)view * 68 + 4; }

void Put32(std::vector<uint8_t>& b, size_t at, int32_t v) { std::memcpy(&b[at], &v, 4); }

RECT WindowRect(HWND w)
{
    RECT r = {};
    GetWindowRect(w, &r);
    return r;
}

// Waits until the window shows the colour at the point. A window uncovered after its frame was
// presented shows its background until the next redraw: a move of the main window asks for one.
bool WaitForPresented(HWND main, HWND wnd, int x, int y, COLORREF colour)
{
    for (int t = 0; t < 20000; t += 500) {
        if (Drive_ClientPixel(wnd, x, y) == colour) return true;
        PostMessageW(main, WM_MOVE, 0, 0);
        Sleep(500);
    }
    return Drive_ClientPixel(wnd, x, y) == colour;
}

TEST(DriveShell, StartsMaximisedInTheEffectEditorAndAsksBeforeExit)
{
    DeleteFileA(SettingsPath().c_str());
    StudioProcess studio;
    ASSERT_TRUE(studio.Start(""));
    BoxAnswerer boxes(studio.Pid());
    HWND main = studio.Main();
    EXPECT_EQ(Drive_Text(main), kCaption);
    EXPECT_TRUE(Drive_WaitFor([&] { return IsZoomed(main) != 0; }, 10000));
    // The main window is the picked view: the frame presents the effect editor's grey into it.
    RECT client = {};
    GetClientRect(main, &client);
    EXPECT_TRUE(WaitForPresented(main, main, client.right / 2, client.bottom / 2, RGB(64, 64, 64)))
        << std::hex << Drive_ClientPixel(main, client.right / 2, client.bottom / 2);
    // The effect editor opens no view windows.
    Sleep(2000);
    EXPECT_EQ(Drive_CountTitled(studio.Pid(), L"Front"), 0);
    EXPECT_EQ(Drive_CountTitled(studio.Pid(), L"Top"), 0);

    // Esc after a click on the main window asks; No keeps the studio running.
    boxes.Answer(IDNO);
    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Key(VK_ESCAPE);
    ASSERT_TRUE(boxes.WaitForBox(kExitQuestion, 20000));
    Sleep(5000);
    EXPECT_TRUE(studio.Running());
    EXPECT_TRUE(IsWindow(main));
    ASSERT_EQ(boxes.SeenBoxes().size(), 1u);
    EXPECT_TRUE(boxes.SeenBoxes()[0].byKey) << "the box did not take the key N";

    // Asked again, Yes ends it and the settings file is written.
    boxes.Answer(IDYES);
    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Key(VK_ESCAPE);
    DWORD code = 1;
    ASSERT_TRUE(studio.WaitExit(30000, &code));
    EXPECT_EQ(code, 0u);
    ASSERT_EQ(boxes.SeenBoxes().size(), 2u);
    EXPECT_EQ(boxes.SeenBoxes()[1].text, kExitQuestion);
    EXPECT_TRUE(boxes.SeenBoxes()[1].byKey) << "the box did not take the key Y";
    std::vector<uint8_t> file;
    ASSERT_TRUE(Drive_ReadFile(SettingsPath(), file));
    EXPECT_EQ(file.size(), 10765u);
    int32_t version = 0;
    std::memcpy(&version, file.data(), 4);
    EXPECT_EQ(version, 2005060);
}

TEST(DriveShell, QvpOnTheCommandLineOpensThePolygonScreenWithItsStoredViews)
{
    std::vector<uint8_t> file;
    ASSERT_TRUE(Drive_ReadFile(SettingsPath(), file)) << "written by the first test";
    Put32(file, ViewFields(14, 1), 300);      // Front of the 3D polygon screen: left
    Put32(file, ViewFields(14, 1) + 4, 310);  // top
    ASSERT_TRUE(Drive_WriteFile(SettingsPath(), file));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start("\"C:\\nowhere\\Model.QVP\""));
    BoxAnswerer boxes(studio.Pid());
    boxes.Answer(IDOK);
    DWORD pid = studio.Pid();
    // The model is not there: the studio says so once and goes on with a new model.
    const std::wstring kCannotOpen = L"を開くことができませんでした。";
    auto onlyCannotOpen = [&] {
        std::vector<BoxAnswerer::Seen> seen = boxes.SeenBoxes();
        for (const BoxAnswerer::Seen& b : seen)
            if (b.text.find(kCannotOpen) == std::wstring::npos) return false;
        return seen.size() <= 1;
    };
    EXPECT_TRUE(Drive_WaitFor([&] { return !boxes.SeenBoxes().empty(); }, 60000));
    ASSERT_TRUE(Drive_WaitFor([&] { return Drive_FindTitled(pid, L"Side") != nullptr; }, 20000));
    HWND front = Drive_FindTitled(pid, L"Front");
    ASSERT_NE(front, nullptr);
    EXPECT_NE(Drive_FindTitled(pid, L"Top"), nullptr);
    EXPECT_EQ(WindowRect(front).left, 300);
    EXPECT_EQ(WindowRect(front).top, 310);
    // Each dirty view is rendered in its turn and presented into its own window.
    POINT inFront = {20, 20};
    ClientToScreen(front, &inFront);
    // On a bare X server Wine sometimes stacks the main window above its own views; a user would
    // click the view to bring it up. The pixel read below must be the view's, not the main window's.
    if (WindowFromPoint(inFront) != front)
        SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(Drive_WaitFor([&] { return WindowFromPoint(inFront) == front; }, 10000));
    EXPECT_TRUE(WaitForPresented(studio.Main(), front, 20, 20, RGB(128, 128, 128)))
        << std::hex << Drive_ClientPixel(front, 20, 20);

    // Keys typed on the main window reach the shell's key handlers through the message loop.
    HWND main = studio.Main();
    ASSERT_TRUE(Drive_ClickFree(main));
    Sleep(3000);  // the redraws the click asked for

    // F5 refreshes: a view painted over (nothing asks for its redraw) shows its frame again.
    HDC dc = GetDC(front);
    RECT all = {0, 0, 60, 60};
    FillRect(dc, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
    GdiFlush();
    ReleaseDC(front, dc);
    ASSERT_TRUE(Drive_WaitFor([&] { return Drive_ClientPixel(front, 20, 20) == RGB(0, 0, 0); }, 3000))
        << "could not paint over the view";
    // The views also mark themselves dirty once a second (a picture lost to the window manager
    // comes back), so the pixels cannot tell F5's redraw from that one: this checks that F5 passes
    // through the message loop and the view comes back; the native dispatch test covers F5 itself.
    Input_Key(VK_F5);
    EXPECT_TRUE(Drive_WaitFor([&] { return Drive_ClientPixel(front, 20, 20) == RGB(128, 128, 128); }, 20000))
        << std::hex << Drive_ClientPixel(front, 20, 20);

    // O opens the options dialog on its release, however it is pressed: held for a second with
    // auto-repeat (the release comes in the same turn as a repeat), pressed as a person presses a
    // key, and tapped too quickly for an idle pass to run between its key-down and key-up.
    const std::wstring kOptions = L"オプション";
    struct Press {
        const char* how;
        void (*press)();
    };
    const Press presses[] = {
        {"held 1 s", [] { Input_KeyHeldWithRepeat('O', 1000); }},
        {"pressed", [] { Input_Key('O'); }},
        {"tapped", [] { Input_QuickTap('O'); }},
    };
    for (const Press& p : presses) {
        ASSERT_TRUE(Drive_ClickFree(main));
        Sleep(1000);
        p.press();
        EXPECT_TRUE(Drive_WaitFor([&] { return Drive_FindTitled(pid, kOptions) != nullptr; }, 20000)) << p.how;
        Sleep(2000);
        EXPECT_EQ(Drive_CountTitled(pid, kOptions), 1) << p.how;
        // Its close button.
        if (HWND options = Drive_FindTitled(pid, kOptions)) {
            EXPECT_TRUE(Input_ClickItem(options, 1344));
            EXPECT_TRUE(Drive_WaitFor([&] { return Drive_FindTitled(pid, kOptions) == nullptr; }, 20000)) << p.how;
            if (IsWindow(options)) PostMessageW(options, WM_COMMAND, 1344, 0);  // never left open
        }
    }

    // A menu command from the keyboard: a new view.
    ASSERT_TRUE(Drive_ClickFree(main));
    ASSERT_TRUE(Drive_MenuCommand(L"MENU_3D_POLY", 40076));
    EXPECT_TRUE(Drive_WaitFor([&] { return Drive_CountTitled(pid, L"Front") == 2; }, 20000));

    // Closing the window (Alt+F4) asks nothing.
    ASSERT_TRUE(Drive_ClickFree(main));
    Input_Chord(VK_MENU, VK_F4);
    EXPECT_TRUE(studio.WaitExit(30000));
    EXPECT_TRUE(onlyCannotOpen());
}

TEST(DriveShell, DamagedSettingsFallBackToTheDefaults)
{
    std::vector<uint8_t> file;
    ASSERT_TRUE(Drive_ReadFile(SettingsPath(), file));
    ASSERT_GT(file.size(), ViewFields(14, 1));
    Put32(file, 88 + 14 * 276, 99);  // screen 14's view count
    ASSERT_TRUE(Drive_WriteFile(SettingsPath(), file));

    StudioProcess studio;
    ASSERT_TRUE(studio.Start("\"a.qvp\""));
    BoxAnswerer boxes(studio.Pid());
    boxes.Answer(IDOK);
    DWORD pid = studio.Pid();
    // There is no a.qvp: the studio says so and goes on in the polygon screen with a new model.
    EXPECT_TRUE(boxes.WaitForBox(L"a.qvp を開くことができませんでした。", 60000));
    ASSERT_TRUE(Drive_WaitFor([&] { return Drive_FindTitled(pid, L"Front") != nullptr; }, 20000));
    RECT r = WindowRect(Drive_FindTitled(pid, L"Front"));
    EXPECT_EQ(r.left, 96);
    EXPECT_EQ(r.top, 256);
    Sleep(3000);  // the views come up and take the focus in turn
    ASSERT_TRUE(Drive_ClickFree(studio.Main()));
    Input_Chord(VK_MENU, VK_F4);
    EXPECT_TRUE(studio.WaitExit(30000));
    ASSERT_TRUE(Drive_ReadFile(SettingsPath(), file));
    EXPECT_EQ(file.size(), 10765u);
}

} // namespace
